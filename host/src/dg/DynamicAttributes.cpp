#include "host/src/dg/DynamicAttributes.h"

#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

void markDynamic(Attribute& a) {
    a.dynamic = true;
    for (auto& c : a.children) markDynamic(*c);
}

bool within(const Attribute* a, const Attribute* root) {
    return a && a->root() == root;
}

}  // namespace

MStatus addDynamicAttribute(Node& node, const AttrPtr& attr) {
    if (!attr) return MStatus(MStatus::kInvalidParameter, "no attribute to add");
    if (attr->parent)
        return MStatus(MStatus::kInvalidParameter, "attribute " + attr->name + " is a child of " +
                                                       attr->parent->name + ": add its parent");
    for (const std::string* n : {&attr->name, &attr->shortName})
        if (!n->empty() && node.cls->find(*n))
            return MStatus(MStatus::kInvalidParameter,
                           "node " + node.name + " already has an attribute named " + *n);
    NodeClass& own = node.ownClass();
    const int slot = static_cast<int>(own.roots.size());
    MStatus st = own.addAttribute(attr, slot);
    if (!st)
        return MStatus(st.statusCode(), "cannot add attribute " + attr->name + " to " + node.name +
                                            ": " + st.errorString().str());
    markDynamic(*attr);
    node.insertSlot(slot, *attr);
    theScene().watch.notify({GraphChange::Kind::AttributeAdded, &node, PlugAddr{attr.get(), -1}});
    return MStatus::kSuccess;
}

MStatus removeDynamicAttribute(Node& node, const Attribute* attr, RemovedAttribute* removed) {
    const int slot = attr ? node.cls->slotOf(attr) : -1;
    if (slot < 0)
        return MStatus(MStatus::kInvalidParameter,
                       "node " + node.name + " has no attribute " + (attr ? attr->name : ""));
    if (attr->parent)
        return MStatus(MStatus::kInvalidParameter, attr->name + " is a child of " +
                                                       attr->parent->name +
                                                       ": only a whole attribute can be removed");
    if (!attr->dynamic)
        return MStatus(MStatus::kInvalidParameter, attr->name + " belongs to the node type " +
                                                       node.cls->typeName +
                                                       ": only dynamic attributes can be removed");
    RemovedAttribute record;
    record.attr = node.cls->attrAt(node.cls->indexOf(attr));
    record.slot = slot;
    theScene().watch.notify({GraphChange::Kind::AttributeRemoved, &node, PlugAddr{attr, -1}});
    // Every connection of the attribute, its children and its elements goes first.
    std::vector<std::pair<PlugRef, PlugRef>> links;
    for (const auto& [addr, src] : node.inputs)
        if (within(addr.attr, attr)) links.push_back({src, PlugRef{&node, addr}});
    for (const auto& [addr, dst] : node.outputs)
        if (within(addr.attr, attr)) links.push_back({PlugRef{&node, addr}, dst});
    for (const auto& [src, dst] : links) {
        record.links.push_back({{src.node->self(), src.addr}, {dst.node->self(), dst.addr}});
        disconnect(src, dst);
    }
    NodeClass& own = node.ownClass();
    MStatus st = own.removeAttribute(attr);
    if (!st) return st;
    record.value = node.removeSlot(slot);
    for (auto it = node.plugStates.begin(); it != node.plugStates.end();)
        if (within(it->first.attr, attr)) {
            record.states.insert(*it);
            it = node.plugStates.erase(it);
        } else {
            ++it;
        }
    theScene().noteDirty(&node);
    ++node.changeStamp;
    if (removed) *removed = std::move(record);
    return MStatus::kSuccess;
}

MStatus restoreDynamicAttribute(Node& node, RemovedAttribute& removed) {
    if (!removed.attr) return MStatus(MStatus::kInvalidParameter, "nothing was removed");
    NodeClass& own = node.ownClass();
    MStatus st = own.addAttribute(removed.attr, removed.slot);
    if (!st) return st;
    node.insertSlot(removed.slot, std::move(removed.value));
    node.plugStates.insert(removed.states.begin(), removed.states.end());
    removed.states.clear();
    theScene().watch.notify(
        {GraphChange::Kind::AttributeAdded, &node, PlugAddr{removed.attr.get(), -1}});
    // Only between nodes that are still in the scene: the far end may have
    // been deleted since.
    for (const auto& [src, dst] : removed.links)
        if (src.first->alive && dst.first->alive)
            connect(PlugRef{src.first.get(), src.second}, PlugRef{dst.first.get(), dst.second});
    removed.links.clear();
    ++node.changeStamp;
    return MStatus::kSuccess;
}

std::vector<AttrPtr> dynamicAttributes(const Node& node) {
    std::vector<AttrPtr> out;
    for (int r : node.cls->roots)
        if (node.cls->attrAt(r)->dynamic) out.push_back(node.cls->attrAt(r));
    return out;
}

}  // namespace ehost

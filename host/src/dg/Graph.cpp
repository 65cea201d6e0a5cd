#include "host/src/dg/Graph.h"

#include <maya/MDataBlock.h>
#include <maya/MEvaluationNode.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MPxNode.h>

#include <algorithm>
#include <set>

#include "host/src/core/Guard.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Scene.h"

namespace ehost {

// ---------------------------------------------------------------- Attribute

MFn::Type Attribute::apiType() const {
    switch (kind) {
        case AttrKind::Numeric:
            return isAngle ? MFn::kUnitAttribute : MFn::kNumericAttribute;
        case AttrKind::Typed:
            return MFn::kTypedAttribute;
        case AttrKind::Generic:
            return MFn::kGenericAttribute;
        case AttrKind::Message:
            return MFn::kMessageAttribute;
        case AttrKind::Matrix:
            return MFn::kMatrixAttribute;
        case AttrKind::Enum:
            return MFn::kEnumAttribute;
        case AttrKind::Compound:
            return MFn::kCompoundAttribute;
    }
    return MFn::kAttribute;
}

int Attribute::components() const {
    if (kind != AttrKind::Numeric && kind != AttrKind::Enum) return 0;
    if (isCompound()) return static_cast<int>(children.size());
    return 1;
}

bool Attribute::accepts(MFnData::Type t) const {
    if (kind == AttrKind::Typed) return dataType == t || dataType == MFnData::kAny;
    if (kind == AttrKind::Generic)
        return std::find(acceptedData.begin(), acceptedData.end(), t) != acceptedData.end() ||
               std::find(acceptedData.begin(), acceptedData.end(), MFnData::kAny) !=
                   acceptedData.end();
    if (kind == AttrKind::Matrix) return t == MFnData::kMatrix;
    return false;
}

// ---------------------------------------------------------------- NodeClass

MStatus NodeClass::addAttribute(const AttrPtr& attr, int rootPosition) {
    if (!attr) return MStatus(MStatus::kInvalidParameter, "null attribute");
    if (attr->parent) {
        // A child comes with its parent; adding it again after the parent is harmless.
        if (index_.count(attr.get())) return MStatus::kSuccess;
        return MStatus(MStatus::kInvalidParameter,
                       "attribute \"" + attr->name + "\" is a child: add its parent instead");
    }
    if (index_.count(attr.get()))
        return MStatus(MStatus::kInvalidParameter,
                       "attribute \"" + attr->name + "\" is already on " + typeName);
    std::vector<const Attribute*> all{attr.get()};
    for (size_t i = 0; i < all.size(); ++i)
        for (auto& c : all[i]->children) all.push_back(c.get());
    for (const Attribute* a : all) {
        if (a->kind == AttrKind::Compound && a->children.empty())
            return MStatus(MStatus::kInvalidParameter,
                           "compound attribute \"" + a->name + "\" has no children");
        // An element's storage has one index: arrays are at the top only.
        if (a->parent && a->array)
            return MStatus(MStatus::kNotImplemented,
                           "attribute \"" + a->name + "\" is an array inside " + a->parent->name +
                               ": only the top of an attribute can be an array here");
    }
    std::set<std::string> names;
    for (auto* a : all)
        for (const std::string* n : {&a->name, &a->shortName}) {
            if (n->empty() || (n == &a->shortName && a->shortName == a->name)) continue;
            if (byName_.count(*n) || !names.insert(*n).second)
                return MStatus(
                    MStatus::kInvalidParameter,
                    "node type " + typeName + " already has an attribute named \"" + *n + "\"");
        }

    for (size_t i = 0; i < all.size(); ++i) const_cast<Attribute*>(all[i])->inUse = true;
    const int count = static_cast<int>(roots.size());
    if (rootPosition < 0 || rootPosition > count) rootPosition = count;
    if (rootPosition == count) {
        roots.push_back(static_cast<int>(attrs.size()));
        std::vector<const AttrPtr*> order{&attr};
        for (size_t i = 0; i < order.size(); ++i) {
            attrs.push_back(*order[i]);
            index(*order[i], rootPosition);
            for (auto& c : (*order[i])->children) order.push_back(&c);
        }
        return MStatus::kSuccess;
    }
    // Into the middle (an undone removal): the attribute goes back before the
    // top-level attribute that now holds its position.
    const int at = roots[rootPosition];
    std::vector<AttrPtr> tree{attr};
    for (size_t i = 0; i < tree.size(); ++i)
        for (auto& c : tree[i]->children) tree.push_back(c);
    attrs.insert(attrs.begin() + at, tree.begin(), tree.end());
    rebuildIndex();
    return MStatus::kSuccess;
}

MStatus NodeClass::removeAttribute(const Attribute* attr) {
    auto it = slot_.find(attr);
    if (it == slot_.end() || attr->parent)
        return MStatus(MStatus::kInvalidParameter,
                       "attribute \"" + (attr ? attr->name : std::string()) +
                           "\" is not a top-level attribute of " + typeName);
    const int slot = it->second;
    attrs.erase(std::remove_if(attrs.begin(), attrs.end(),
                               [&](const AttrPtr& a) {
                                   auto s = slot_.find(a.get());
                                   return s != slot_.end() && s->second == slot;
                               }),
                attrs.end());
    affects_.erase(attr);
    affected_.erase(attr);
    for (auto& [when, list] : affects_)
        list.erase(std::remove(list.begin(), list.end(), attr), list.end());
    rebuildIndex();
    return MStatus::kSuccess;
}

void NodeClass::index(const AttrPtr& a, int slot) {
    const int i = static_cast<int>(attrs.size()) - 1;
    index_[a.get()] = i;
    slot_[a.get()] = slot;
    byName_[a->name] = i;
    if (!a->shortName.empty()) byName_[a->shortName] = i;
}

void NodeClass::rebuildIndex() {
    index_.clear();
    slot_.clear();
    byName_.clear();
    roots.clear();
    for (int i = 0; i < static_cast<int>(attrs.size()); ++i) {
        const AttrPtr& a = attrs[i];
        if (!a->parent) roots.push_back(i);
        index_[a.get()] = i;
        slot_[a.get()] = static_cast<int>(roots.size()) - 1;
        byName_[a->name] = i;
        if (!a->shortName.empty()) byName_[a->shortName] = i;
    }
}

MStatus NodeClass::addAffects(const Attribute* when, const Attribute* affected) {
    if (!index_.count(when) || !index_.count(affected))
        return MStatus(MStatus::kInvalidParameter,
                       "attributeAffects: both attributes must be added to " + typeName + " first");
    // Dependencies are kept between top-level attributes: a change anywhere in
    // a compound or array dirties the whole of each affected attribute.
    const Attribute* w = when->root();
    const Attribute* a = affected->root();
    auto& list = affects_[w];
    if (std::find(list.begin(), list.end(), a) == list.end()) list.push_back(a);
    affected_[a] = true;
    return MStatus::kSuccess;
}

int NodeClass::indexOf(const Attribute* attr) const {
    auto it = index_.find(attr);
    return it == index_.end() ? -1 : it->second;
}

const Attribute* NodeClass::find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : attrs[it->second].get();
}

int NodeClass::slotOf(const Attribute* attr) const {
    auto it = slot_.find(attr);
    return it == slot_.end() ? -1 : it->second;
}

bool NodeClass::isAffected(const Attribute* attr) const {
    return affected_.count(attr->root()) > 0;
}

const std::vector<const Attribute*>& NodeClass::affectedBy(const Attribute* when) const {
    static const std::vector<const Attribute*> none;
    auto it = affects_.find(when->root());
    return it == affects_.end() ? none : it->second;
}

bool NodeClass::isA(const std::string& type) const {
    for (const NodeClass* c = this; c; c = c->base)
        if (c->typeName == type) return true;
    // The abstract types every node, every DAG node and every shape also is.
    if (type == "dependNode") return true;
    if (type == "dagNode") return role != NodeRole::Depend;
    if (type == "shape") return role == NodeRole::Shape || role == NodeRole::Locator;
    return false;
}

NodePtr NodeClass::makeNode(MStatus* status) {
    NodePtr node = make ? make(this) : std::make_shared<Node>(this);
    if (status)
        *status = node ? MStatus(MStatus::kSuccess)
                       : MStatus(MStatus::kFailure, "node type " + typeName + " made no node");
    return node;
}

// ---------------------------------------------------------------- Node

Cell freshCell(const Attribute& a) {
    Cell cell;
    if (a.isTuple())
        for (size_t k = 0; k < a.children.size() && k < 4; ++k)
            cell.num[k] = a.children[k]->defaults[0];
    else
        std::copy(std::begin(a.defaults), std::end(a.defaults), cell.num);
    cell.data = a.defaultData;
    if (a.kind == AttrKind::Compound) {
        cell.kids.reserve(a.children.size());
        for (const auto& c : a.children) cell.kids.push_back(freshCell(*c));
    }
    return cell;
}

void setDirtyDeep(Cell& cell, bool dirty) {
    cell.dirty = dirty;
    for (Cell& k : cell.kids) setDirtyDeep(k, dirty);
}

namespace {

//! A top-level attribute's storage as a new node has it: its defaults.
Slot freshSlot(const NodeClass& cls, const Attribute& a) {
    Slot slot;
    slot.cell = freshCell(a);
    setDirtyDeep(slot.cell, cls.isAffected(&a));
    return slot;
}

}  // namespace

Node::Node(NodeClass* c) : cls(c) {
    slots_.reserve(cls->roots.size());
    for (int r : cls->roots) slots_.push_back(freshSlot(*cls, *cls->attrs[r]));
}

NodeClass& Node::ownClass() {
    if (!ownClass_) {
        ownClass_ = std::make_shared<NodeClass>(*cls);
        ownClass_->origin = &cls->registered();
        cls = ownClass_.get();
    }
    return *ownClass_;
}

void Node::insertSlot(int slotIndex, const Attribute& root) {
    insertSlot(slotIndex, freshSlot(*cls, root));
}

void Node::insertSlot(int slotIndex, Slot value) {
    slots_.insert(slots_.begin() + slotIndex, std::move(value));
}

Slot Node::removeSlot(int slotIndex) {
    Slot out = std::move(slots_[slotIndex]);
    slots_.erase(slots_.begin() + slotIndex);
    return out;
}

Node::~Node() {
    delete user;
}

namespace {

//! Names a call into the plug-in object of a node, for the message when it throws.
auto pluginCall(const Node& node, const char* method) {
    return [&node, method] { return node.cls->typeName + "." + method + " of node " + node.name; };
}

}  // namespace

void Node::construct() {
    if (!user || constructed) return;
    constructed = true;
    guarded(pluginCall(*this, "postConstructor"), [&] { user->postConstructor(); });
}

MStatus Node::compute(const PlugAddr& plug, MDataBlock& block) {
    if (!user) return MStatus::kUnknownParameter;
    return guarded(pluginCall(*this, "compute"),
                   [&] { return user->compute(api::makePlug(self(), plug), block); });
}

MStatus Node::dependentsDirty(const PlugAddr& plug, std::vector<PlugAddr>& affected) {
    if (!user) return MStatus::kSuccess;
    MPlugArray extra;
    MStatus st = guarded(pluginCall(*this, "setDependentsDirty"), [&] {
        return user->setDependentsDirty(api::makePlug(self(), plug), extra);
    });
    for (unsigned i = 0; i < extra.length(); ++i) {
        PlugRef r = api::plugRef(extra[i]);
        if (r.node == this) affected.push_back(r.addr);
    }
    return st;
}

void Node::preEvaluate(const std::vector<PlugAddr>& dirtyPlugs) {
    if (!user) return;
    MEvaluationNode evalNode = api::makeEvaluationNode(self(), dirtyPlugs);
    guarded(pluginCall(*this, "preEvaluation"),
            [&] { return user->preEvaluation(MDGContext::current(), evalNode); });
}

void Node::connectionChanged(const PlugAddr& local, const PlugRef& other, bool made, bool asSrc) {
    if (!user || !other.node) return;
    MPlug mine = api::makePlug(self(), local);
    MPlug theirs = api::makePlug(other.node->self(), other.addr);
    if (made)
        guarded(pluginCall(*this, "connectionMade"),
                [&] { return user->connectionMade(mine, theirs, asSrc); });
    else
        guarded(pluginCall(*this, "connectionBroken"),
                [&] { return user->connectionBroken(mine, theirs, asSrc); });
}

void Node::dropLinks() {
    inputs.clear();
    outputs.clear();
}

namespace {

//! The cell of a child of a compound, inside its parent's cell.
Cell* descend(Cell* top, const Attribute* root, const Attribute* attr) {
    // The attribute whose cell holds the value: a tuple's component lives in the tuple's.
    const Attribute* held = attr->inTuple() ? attr->parent : attr;
    if (held == root) return top;
    std::vector<const Attribute*> path;
    for (const Attribute* a = held; a != root; a = a->parent) path.push_back(a);
    Cell* c = top;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        const Attribute* parent = (*it)->parent;
        if (c->kids.size() != parent->children.size()) {
            c->kids.clear();
            for (const auto& k : parent->children) c->kids.push_back(freshCell(*k));
        }
        c = &c->kids[static_cast<size_t>((*it)->childIndex)];
    }
    return c;
}

}  // namespace

Cell* Node::cell(const PlugAddr& plug, bool create) {
    const Attribute* root = plug.attr->root();
    int s = cls->slotOf(root);
    if (s < 0) return nullptr;
    Slot& slot = slots_[s];
    if (!root->array || plug.index < 0) return descend(&slot.cell, root, plug.attr);
    auto it = slot.elements.find(plug.index);
    if (it != slot.elements.end()) return descend(&it->second, root, plug.attr);
    if (!create) return nullptr;
    // Elements start from the attribute's defaults.
    Cell* fresh = &slot.elements.emplace(plug.index, freshCell(*root)).first->second;
    return descend(fresh, root, plug.attr);
}

bool Node::isLocked(const PlugAddr& plug) const {
    if (plugStates.empty()) return false;
    for (const Attribute* a = plug.attr; a; a = a->parent)
        for (int index : {plug.index, -1}) {
            auto it = plugStates.find(PlugAddr{a, index});
            if (it != plugStates.end() && it->second.locked) return true;
            if (index < 0) break;
        }
    return false;
}

bool Node::isKeyable(const PlugAddr& plug) const {
    auto it = plugStates.find(plug);
    if (it != plugStates.end() && it->second.keyable >= 0) return it->second.keyable != 0;
    return plug.attr->keyable;
}

bool Node::isInChannelBox(const PlugAddr& plug) const {
    auto it = plugStates.find(plug);
    if (it != plugStates.end() && it->second.channelBox >= 0) return it->second.channelBox != 0;
    return plug.attr->channelBox;
}

std::vector<int> Node::elementIndices(const Attribute* arrayAttr) const {
    std::vector<int> out;
    int s = cls->slotOf(arrayAttr->root());
    if (s < 0) return out;
    out.reserve(slots_[s].elements.size());
    for (auto& [i, c] : slots_[s].elements) out.push_back(i);
    return out;
}

bool Node::removeElement(const Attribute* arrayAttr, int index) {
    int s = cls->slotOf(arrayAttr->root());
    return s >= 0 && slots_[s].elements.erase(index) > 0;
}

// ---------------------------------------------------------------- evaluation

namespace {

bool related(const PlugAddr& a, const PlugAddr& b) {
    if (a.attr->root() != b.attr->root()) return false;
    if (a.index >= 0 && b.index >= 0 && a.index != b.index) return false;
    if (a.attr == b.attr) return true;
    // A compound and a plug inside it, or two plugs of one array.
    return a.attr->isAncestorOf(b.attr) || b.attr->isAncestorOf(a.attr) || a.index < 0 ||
           b.index < 0;
}

//! The connection a plug takes its value from: its own, or the one of the
//! compound it is part of (the nearest); at says which plug has it.
const PlugRef* inputOf(Node& node, const PlugAddr& plug, const Attribute** at = nullptr) {
    for (const Attribute* a = plug.attr; a; a = a->parent) {
        auto it = node.inputs.find(PlugAddr{a, plug.index});
        if (it != node.inputs.end()) {
            if (at) *at = a;
            return &it->second;
        }
    }
    return nullptr;
}

double scalarOf(const Cell& c, const Attribute* a) {
    return a->inTuple() ? c.num[a->childIndex] : c.num[0];
}

//! A source's value into a destination of the same make (canConnect checked
//! that): numbers rounded to the destination's types, data shared.
void copyValue(Cell& to, const Attribute* da, const Cell& from, const Attribute* sa) {
    if (da->kind == AttrKind::Compound) {
        for (size_t k = 0; k < da->children.size() && k < to.kids.size() && k < from.kids.size();
             ++k)
            copyValue(to.kids[k], da->children[k].get(), from.kids[k], sa->children[k].get());
        return;
    }
    if (da->kind == AttrKind::Numeric || da->kind == AttrKind::Enum) {
        if (da->isTuple()) {
            const int n = std::min<int>(4, static_cast<int>(da->children.size()));
            const bool whole = sa->isTuple();
            for (int k = 0; k < n; ++k)
                to.num[k] = storeAsNumeric(da->children[k]->numericType,
                                           whole ? from.num[k] : scalarOf(from, sa));
        } else {
            to.num[0] =
                storeAsNumeric(da->numericType, sa->isTuple() ? from.num[0] : scalarOf(from, sa));
        }
        return;
    }
    to.data = from.data;
}

struct EvalGuard {
    EvalGuard(Node* n, const PlugAddr& p) : active(theScene().evaluating), key(n, p) {
        entered = active.insert(key).second;
    }
    ~EvalGuard() {
        if (entered) active.erase(key);
    }
    std::set<std::pair<Node*, PlugAddr>>& active;
    std::pair<Node*, PlugAddr> key;
    bool entered;
};

//! Copies the value of a source plug into the destination's storage. The
//! connection may be at a compound above the destination plug (at): the
//! value is then the source's part that corresponds.
void receive(const PlugAddr& dplug, Cell& dcell, const PlugRef& src, const Attribute* at) {
    const Cell* s = &evaluate(*src.node, src.addr);
    const Attribute* sa = src.addr.attr;
    std::vector<const Attribute*> down;
    for (const Attribute* a = dplug.attr; a != at; a = a->parent) down.push_back(a);
    for (auto it = down.rbegin(); it != down.rend(); ++it) {
        const size_t k = static_cast<size_t>((*it)->childIndex);
        if (k >= sa->children.size()) return;  // canConnect keeps this from happening
        if (sa->kind == AttrKind::Compound) {
            if (k >= s->kids.size()) return;
            s = &s->kids[k];
        }
        sa = sa->children[k].get();
    }
    const Attribute* da = dplug.attr;
    if (da->inTuple()) {
        // One component of the destination tuple's cell.
        dcell.num[da->childIndex] = storeAsNumeric(da->numericType, scalarOf(*s, sa));
        return;
    }
    copyValue(dcell, da, *s, sa);
}

}  // namespace

const Cell& evaluate(Node& node, const PlugAddr& plug, MStatus* status) {
    if (status) *status = MStatus::kSuccess;
    Cell* c = node.cell(plug, true);
    EvalGuard guard(&node, plug);
    if (!guard.entered) return *c;  // a cycle: the stored value stands

    const Attribute* at = nullptr;
    if (const PlugRef* src = inputOf(node, plug, &at)) {
        receive(plug, *c, *src, at);
        setDirtyDeep(*c, false);
        return *c;
    }
    if (plug.attr->kind == AttrKind::Compound) {
        // Computed as a whole when dirty; then the children that have
        // connections of their own take their values from them.
        if (c->dirty) {
            MDataBlock block = api::makeDataBlock(node);
            MStatus st = node.compute(plug, block);
            if (!st && st != MStatus::kUnknownParameter && status) *status = st;
            c = node.cell(plug, true);
            setDirtyDeep(*c, false);
        }
        std::vector<PlugAddr> fed;
        for (const auto& [addr, src] : node.inputs)
            if (plug.attr->isAncestorOf(addr.attr) && (plug.index < 0 || addr.index == plug.index))
                fed.push_back(addr);
        for (const PlugAddr& addr : fed) evaluate(node, addr);
        return *node.cell(plug, true);
    }
    if (plug.attr->isTuple()) {
        bool any = false;
        for (auto& child : plug.attr->children)
            if (auto it = node.inputs.find(PlugAddr{child.get(), plug.index});
                it != node.inputs.end()) {
                receive(PlugAddr{child.get(), plug.index}, *c, it->second, child.get());
                any = true;
            }
        if (any && !c->dirty) return *c;
    }
    // An element of a dirty array is due too, even one the array does not
    // have yet: the node computes the array's elements.
    Cell* whole = nullptr;
    if (plug.index >= 0 && plug.attr->root()->array) {
        int s = node.cls->slotOf(plug.attr->root());
        if (s >= 0 && node.slot(s).cell.dirty) whole = &node.slot(s).cell;
    }
    if (c->dirty || whole) {
        c->dirty = false;
        MDataBlock block = api::makeDataBlock(node);
        MStatus st = node.compute(plug, block);
        if (!st && st != MStatus::kUnknownParameter && status) *status = st;
        c = node.cell(plug, true);
        setDirtyDeep(*c, false);
        if (whole) whole->dirty = false;
    }
    return *c;
}

namespace {

void spread(Node& node, const PlugAddr& plug, std::set<std::pair<Node*, PlugAddr>>& seen);

void dirtyOne(Node& node, const PlugAddr& plug, std::set<std::pair<Node*, PlugAddr>>& seen) {
    if (!seen.insert({&node, plug}).second) return;
    const Attribute* root = plug.attr->root();
    int s = node.cls->slotOf(root);
    if (s < 0) return;
    Slot& slot = node.slot(s);
    if (root->array && plug.index < 0) {
        setDirtyDeep(slot.cell, true);
        for (auto& [i, c] : slot.elements) setDirtyDeep(c, true);
    } else if (Cell* c = node.cell(plug, true)) {
        setDirtyDeep(*c, true);
    }
    ++node.changeStamp;
    theScene().noteDirty(&node);
    theScene().watch.notify({GraphChange::Kind::PlugDirty, &node, plug});
    spread(node, plug, seen);
}

void spread(Node& node, const PlugAddr& plug, std::set<std::pair<Node*, PlugAddr>>& seen) {
    std::vector<PlugAddr> affected;
    for (const Attribute* a : node.cls->affectedBy(plug.attr)) affected.push_back({a, -1});
    // The node state changes what every output is, like an input of all of them.
    if (plug.attr == baseAttributes().state.get())
        for (int r : node.cls->roots)
            if (node.cls->isAffected(node.cls->attrs[r].get()))
                affected.push_back({node.cls->attrs[r].get(), -1});
    node.dependentsDirty(plug, affected);
    for (const auto& a : affected) dirtyOne(node, a, seen);
    std::vector<PlugRef> downstream;
    for (auto& [from, to] : node.outputs)
        if (related(from, plug)) downstream.push_back(to);
    for (const auto& d : downstream) dirtyOne(*d.node, d.addr, seen);
}

}  // namespace

void markDirty(Node& node, const PlugAddr& plug) {
    std::set<std::pair<Node*, PlugAddr>> seen;
    dirtyOne(node, plug, seen);
}

void propagateDirty(Node& node, const PlugAddr& plug) {
    std::set<std::pair<Node*, PlugAddr>> seen{{&node, plug}};
    spread(node, plug, seen);
}

void writeNumeric(Node& node, const PlugAddr& plug, const double* values, int count) {
    Cell* c = node.cell(plug, true);
    const Attribute* a = plug.attr;
    if (a->inTuple()) {
        c->num[a->childIndex] = storeAsNumeric(a->numericType, values[0]);
    } else if (a->isTuple()) {
        for (int k = 0; k < count && k < static_cast<int>(a->children.size()); ++k)
            c->num[k] = storeAsNumeric(a->children[k]->numericType, values[k]);
    } else {
        c->num[0] = storeAsNumeric(a->numericType, values[0]);
    }
    c->dirty = false;
    ++node.changeStamp;
    propagateDirty(node, plug);
    theScene().watch.notify({GraphChange::Kind::AttributeSet, &node, plug});
}

void writeData(Node& node, const PlugAddr& written, DataPtr data) {
    const PlugAddr plug = node.storedAt(written);
    Cell* c = node.cell(plug, true);
    c->data = std::move(data);
    c->dirty = false;
    ++node.changeStamp;
    propagateDirty(node, plug);
    theScene().watch.notify({GraphChange::Kind::AttributeSet, &node, written});
}

// ---------------------------------------------------------------- connections

namespace {

//! Both ends hear of a connection made or broken: the source first.
void notifyConnection(GraphChange::Kind kind, const PlugRef& src, const PlugRef& dst) {
    GraphWatch& watch = theScene().watch;
    if (!watch.watched()) return;
    GraphChange atSource{kind, src.node, src.addr, dst, false};
    watch.notify(atSource);
    GraphChange atDestination{kind, dst.node, dst.addr, src, true};
    watch.notify(atDestination);
}

}  // namespace

namespace {

//! Whether values flow from one attribute into another: the same kinds of
//! value, compounds child by child.
bool compatible(const Attribute* sa, const Attribute* da) {
    if (sa->kind == AttrKind::Compound || da->kind == AttrKind::Compound) {
        if (sa->kind != da->kind || sa->children.size() != da->children.size()) return false;
        for (size_t k = 0; k < sa->children.size(); ++k)
            if (!compatible(sa->children[k].get(), da->children[k].get())) return false;
        return true;
    }
    bool sNum = sa->kind == AttrKind::Numeric || sa->kind == AttrKind::Enum;
    bool dNum = da->kind == AttrKind::Numeric || da->kind == AttrKind::Enum;
    if (sa->kind == AttrKind::Message || da->kind == AttrKind::Message) return sa->kind == da->kind;
    if (sNum && dNum) return std::max(1, sa->components()) == std::max(1, da->components());
    if (sNum && da->kind == AttrKind::Generic) return true;
    if (!sNum && !dNum) {
        MFnData::Type t = sa->kind == AttrKind::Matrix ? MFnData::kMatrix : sa->dataType;
        if (sa->kind == AttrKind::Generic) return da->kind == AttrKind::Generic;
        return da->accepts(t);
    }
    return false;
}

}  // namespace

MStatus canConnect(const PlugRef& src, const PlugRef& dst) {
    if (!src.node || !dst.node || !src.addr.attr || !dst.addr.attr)
        return MStatus(MStatus::kInvalidParameter, "connection needs two valid plugs");
    const Attribute* sa = src.addr.attr;
    const Attribute* da = dst.addr.attr;
    std::string names = src.node->name + "." + plugName(src.addr) + " -> " + dst.node->name + "." +
                        plugName(dst.addr);
    if (src.node == dst.node && src.addr == dst.addr)
        return MStatus(MStatus::kInvalidParameter, "cannot connect a plug to itself: " + names);
    if (!sa->readable || !sa->connectable)
        return MStatus(MStatus::kInvalidParameter, "source is not readable: " + names);
    if (!da->writable || !da->connectable)
        return MStatus(MStatus::kInvalidParameter, "destination is not writable: " + names);
    if ((sa->root()->array && src.addr.index < 0) || (da->root()->array && dst.addr.index < 0))
        return MStatus(MStatus::kInvalidParameter,
                       "array attributes connect element by element: " + names);
    if (inputOf(*dst.node, dst.addr))
        return MStatus(MStatus::kInvalidParameter, "destination already has an input: " + names);
    if (dst.node->isLocked(dst.addr))
        return MStatus(MStatus::kInvalidParameter, "destination is locked: " + names);

    if (!compatible(sa, da))
        return MStatus(MStatus::kInvalidParameter, "the attributes' types do not match: " + names);
    return MStatus::kSuccess;
}

MStatus connect(PlugRef src, PlugRef dst) {
    MStatus st = canConnect(src, dst);
    if (!st) return st;
    dst.node->inputs[dst.addr] = src;
    src.node->outputs.emplace(src.addr, dst);
    markDirty(*dst.node, dst.addr);
    src.node->connectionChanged(src.addr, dst, true, true);
    dst.node->connectionChanged(dst.addr, src, true, false);
    notifyConnection(GraphChange::Kind::Connected, src, dst);
    return MStatus::kSuccess;
}

MStatus disconnect(PlugRef src, PlugRef dst) {
    auto it = dst.node ? dst.node->inputs.find(dst.addr) : decltype(dst.node->inputs.end()){};
    if (!dst.node || it == dst.node->inputs.end() || !(it->second == src))
        return MStatus(MStatus::kInvalidParameter,
                       "no such connection: " + (src.node ? src.node->name : std::string("?")) +
                           "." + (src.addr.attr ? plugName(src.addr) : "?") + " -> " +
                           (dst.node ? dst.node->name : std::string("?")) + "." +
                           (dst.addr.attr ? plugName(dst.addr) : "?"));
    // The destination keeps the value it last received.
    evaluate(*dst.node, dst.addr);
    dst.node->inputs.erase(it);
    auto range = src.node->outputs.equal_range(src.addr);
    for (auto o = range.first; o != range.second; ++o)
        if (o->second == dst) {
            src.node->outputs.erase(o);
            break;
        }
    markDirty(*dst.node, dst.addr);
    src.node->connectionChanged(src.addr, dst, false, true);
    dst.node->connectionChanged(dst.addr, src, false, false);
    notifyConnection(GraphChange::Kind::Disconnected, src, dst);
    return MStatus::kSuccess;
}

std::vector<std::pair<PlugRef, PlugRef>> connectionsOf(Node& node) {
    std::vector<std::pair<PlugRef, PlugRef>> out;
    for (auto& [addr, src] : node.inputs) out.push_back({src, PlugRef{&node, addr}});
    for (auto& [addr, dst] : node.outputs) out.push_back({PlugRef{&node, addr}, dst});
    return out;
}

// ---------------------------------------------------------------- names

std::string plugName(const PlugAddr& plug, bool useLongNames) {
    auto nm = [&](const Attribute* a) {
        return useLongNames || a->shortName.empty() ? a->name : a->shortName;
    };
    const Attribute* a = plug.attr;
    if (!a) return "";
    if (a->parent) {
        // Children of a plain compound have names of their own on the node;
        // inside an array they are named from the element down.
        const Attribute* root = a->root();
        if (!root->array) return nm(a);
        std::string s = nm(root);
        if (plug.index >= 0) s += "[" + std::to_string(plug.index) + "]";
        std::vector<const Attribute*> down;
        for (const Attribute* x = a; x != root; x = x->parent) down.push_back(x);
        for (auto it = down.rbegin(); it != down.rend(); ++it) s += "." + nm(*it);
        return s;
    }
    std::string s = nm(a);
    if (a->array && plug.index >= 0) s += "[" + std::to_string(plug.index) + "]";
    return s;
}

bool parsePlugName(const NodeClass& cls, const std::string& text, PlugAddr& out,
                   std::string& error) {
    auto parseOne = [&](const std::string& piece, const Attribute*& attr, int& index) {
        std::string name = piece;
        index = -1;
        auto lb = piece.find('[');
        if (lb != std::string::npos) {
            if (piece.back() != ']') {
                error = "malformed index in \"" + piece + "\"";
                return false;
            }
            std::string num = piece.substr(lb + 1, piece.size() - lb - 2);
            if (num.empty() || num.find_first_not_of("0123456789") != std::string::npos ||
                num.size() > 9) {
                error = "bad index \"" + num + "\" in \"" + piece + "\"";
                return false;
            }
            index = std::stoi(num);
            name = piece.substr(0, lb);
        }
        attr = cls.find(name);
        if (!attr) {
            error = "no attribute \"" + name + "\" on node type " + cls.typeName;
            return false;
        }
        if (index >= 0 && !attr->array) {
            error = "attribute \"" + name + "\" is not an array";
            return false;
        }
        return true;
    };
    auto dot = text.find('.');
    const Attribute* first = nullptr;
    int index = -1;
    if (!parseOne(text.substr(0, dot), first, index)) return false;
    if (dot == std::string::npos) {
        out = PlugAddr{first, index};
        return true;
    }
    // "parent[3].child", and deeper: "parent[3].middle.leaf".
    const Attribute* above = first;
    for (size_t from = dot + 1;;) {
        const size_t next = text.find('.', from);
        const Attribute* child = nullptr;
        int childIndex = -1;
        if (!parseOne(
                text.substr(from, next == std::string::npos ? std::string::npos : next - from),
                child, childIndex))
            return false;
        if (child->parent != above || childIndex >= 0) {
            error = "\"" + text + "\" does not name a child of \"" + above->name + "\"";
            return false;
        }
        above = child;
        if (next == std::string::npos) break;
        from = next + 1;
    }
    out = PlugAddr{above, index};
    return true;
}

void evaluateDirtyNodes() {
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<Node*> nodes = theScene().takeDirty();
        if (nodes.empty()) return;
        for (Node* n : nodes) {
            if (!n->alive) continue;
            NodePtr keep = n->self();
            std::vector<PlugAddr> dirtyPlugs;
            for (int s = 0; s < n->slotCount(); ++s) {
                const Slot& slot = n->slot(s);
                const Attribute* a = n->cls->attrs[n->cls->roots[s]].get();
                if (slot.cell.dirty) dirtyPlugs.push_back({a, -1});
                for (auto& [i, c] : slot.elements)
                    if (c.dirty) dirtyPlugs.push_back({a, i});
            }
            if (dirtyPlugs.empty()) continue;
            n->preEvaluate(dirtyPlugs);
            for (const auto& p : dirtyPlugs) {
                if (p.attr->array && p.index < 0) {
                    n->slot(n->cls->slotOf(p.attr)).cell.dirty = false;
                    continue;
                }
                evaluate(*n, p);
            }
        }
    }
}

}  // namespace ehost

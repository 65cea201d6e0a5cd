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

MStatus NodeClass::addAttribute(const AttrPtr& attr) {
    if (!attr) return MStatus(MStatus::kInvalidParameter, "null attribute");
    if (attr->parent)
        return MStatus(MStatus::kInvalidParameter,
                       "attribute \"" + attr->name + "\" is a child: add its parent instead");
    if (index_.count(attr.get()))
        return MStatus(MStatus::kInvalidParameter,
                       "attribute \"" + attr->name + "\" is already on " + typeName);
    std::vector<const Attribute*> all{attr.get()};
    for (auto& c : attr->children) all.push_back(c.get());
    for (auto* a : all)
        for (const std::string* n : {&a->name, &a->shortName})
            if (!n->empty() && byName_.count(*n))
                return MStatus(
                    MStatus::kInvalidParameter,
                    "node type " + typeName + " already has an attribute named \"" + *n + "\"");

    int slot = static_cast<int>(roots.size());
    roots.push_back(static_cast<int>(attrs.size()));
    auto add = [&](const AttrPtr& a) {
        int i = static_cast<int>(attrs.size());
        attrs.push_back(a);
        index_[a.get()] = i;
        slot_[a.get()] = slot;
        byName_[a->name] = i;
        if (!a->shortName.empty()) byName_[a->shortName] = i;
    };
    add(attr);
    for (auto& c : attr->children) add(c);
    return MStatus::kSuccess;
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

Node::Node(NodeClass* c) : cls(c), slots_(c->roots.size()) {
    for (size_t s = 0; s < slots_.size(); ++s) {
        const Attribute* a = cls->attrs[cls->roots[s]].get();
        Cell& cell = slots_[s].cell;
        if (a->isCompound())
            for (size_t k = 0; k < a->children.size() && k < 4; ++k)
                cell.num[k] = a->children[k]->defaults[0];
        else
            std::copy(std::begin(a->defaults), std::end(a->defaults), cell.num);
        cell.data = a->defaultData;
        cell.dirty = cls->isAffected(a);
    }
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

Cell* Node::cell(const PlugAddr& plug, bool create) {
    const Attribute* root = plug.attr->root();
    int s = cls->slotOf(root);
    if (s < 0) return nullptr;
    Slot& slot = slots_[s];
    if (!root->array || plug.index < 0) return &slot.cell;
    auto it = slot.elements.find(plug.index);
    if (it != slot.elements.end()) return &it->second;
    if (!create) return nullptr;
    Cell fresh = slot.cell;  // elements start from the attribute's defaults
    if (root->isCompound())
        for (size_t k = 0; k < root->children.size() && k < 4; ++k)
            fresh.num[k] = root->children[k]->defaults[0];
    else
        std::copy(std::begin(root->defaults), std::end(root->defaults), fresh.num);
    fresh.data = root->defaultData;
    fresh.dirty = false;
    return &slot.elements.emplace(plug.index, fresh).first->second;
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
    // A compound and one of its children, or two plugs of one array.
    return a.attr->parent == b.attr || b.attr->parent == a.attr || a.index < 0 || b.index < 0;
}

const PlugRef* inputOf(Node& node, const PlugAddr& plug) {
    auto it = node.inputs.find(plug);
    if (it != node.inputs.end()) return &it->second;
    if (plug.attr->parent) {  // a child follows its parent's connection
        it = node.inputs.find(PlugAddr{plug.attr->parent, plug.index});
        if (it != node.inputs.end()) return &it->second;
    }
    return nullptr;
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

//! Copies the value of a source plug into the destination's storage.
void receive(Node& dst, const PlugAddr& dplug, Cell& dcell, const PlugRef& src) {
    const Cell& s = evaluate(*src.node, src.addr);
    const Attribute* sa = src.addr.attr;
    const Attribute* da = dplug.attr;
    if (da->kind == AttrKind::Numeric || da->kind == AttrKind::Enum) {
        double vals[4] = {0, 0, 0, 0};
        int n = 1;
        if (sa->parent && sa->parent->isCompound() && !sa->isCompound())
            vals[0] = s.num[sa->childIndex];
        else {
            n = std::max(1, sa->components());
            std::copy(s.num, s.num + 4, vals);
        }
        if (da->parent && !da->isCompound()) {
            dcell.num[da->childIndex] = storeAsNumeric(da->numericType, vals[0]);
        } else if (da->isCompound()) {
            for (int k = 0; k < static_cast<int>(da->children.size()) && k < n; ++k)
                dcell.num[k] = storeAsNumeric(da->children[k]->numericType, vals[k]);
        } else {
            dcell.num[0] = storeAsNumeric(da->numericType, vals[0]);
        }
    } else {
        dcell.data = s.data;
    }
    (void)dst;
}

}  // namespace

const Cell& evaluate(Node& node, const PlugAddr& plug, MStatus* status) {
    if (status) *status = MStatus::kSuccess;
    Cell* c = node.cell(plug, true);
    EvalGuard guard(&node, plug);
    if (!guard.entered) return *c;  // a cycle: the stored value stands

    if (const PlugRef* src = inputOf(node, plug)) {
        receive(node, plug, *c, *src);
        c->dirty = false;
        return *c;
    }
    if (plug.attr->isCompound()) {
        bool any = false;
        for (auto& child : plug.attr->children)
            if (auto it = node.inputs.find(PlugAddr{child.get(), plug.index});
                it != node.inputs.end()) {
                receive(node, PlugAddr{child.get(), plug.index}, *c, it->second);
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
        c->dirty = false;
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
        slot.cell.dirty = true;
        for (auto& [i, c] : slot.elements) c.dirty = true;
    } else if (Cell* c = node.cell(plug, true)) {
        c->dirty = true;
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
    if (a->parent && !a->isCompound()) {
        c->num[a->childIndex] = storeAsNumeric(a->numericType, values[0]);
    } else if (a->isCompound()) {
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

    bool sNum = sa->kind == AttrKind::Numeric || sa->kind == AttrKind::Enum;
    bool dNum = da->kind == AttrKind::Numeric || da->kind == AttrKind::Enum;
    bool ok = false;
    if (sa->kind == AttrKind::Message || da->kind == AttrKind::Message)
        ok = sa->kind == da->kind;
    else if (sNum && dNum)
        ok = std::max(1, sa->components() - (sa->parent ? 0 : 0)) == std::max(1, da->components());
    else if (sNum && da->kind == AttrKind::Generic)
        ok = true;
    else if (!sNum && !dNum) {
        MFnData::Type t = sa->kind == AttrKind::Matrix ? MFnData::kMatrix : sa->dataType;
        if (sa->kind == AttrKind::Generic)
            ok = da->kind == AttrKind::Generic;
        else
            ok = da->accepts(t);
    }
    if (!ok)
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
        // Children of a plain compound have names of their own on the node.
        if (!a->parent->array) return nm(a);
        std::string s = nm(a->parent);
        if (plug.index >= 0) s += "[" + std::to_string(plug.index) + "]";
        return s + "." + nm(a);
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
    const Attribute* child = nullptr;
    int childIndex = -1;
    if (!parseOne(text.substr(dot + 1), child, childIndex)) return false;
    if (child->parent != first || childIndex >= 0) {
        error = "\"" + text + "\" does not name a child of \"" + first->name + "\"";
        return false;
    }
    out = PlugAddr{child, index};
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

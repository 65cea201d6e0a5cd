#include <maya/MFnDependencyNode.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MPlugArray.h>
#include <maya/MPxNode.h>

#include "host/src/dg/Api.h"
#include "host/src/dg/DynamicAttributes.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"

using ehost::api::fail;
using ehost::api::setStatus;

namespace {

ehost::Node* nodeIn(const MObject& o, MStatus& st) {
    auto n = ehost::ApiAccess::as<ehost::Node>(o);
    if (!n) {
        st = fail(MStatus::kInvalidParameter, "function set has no node");
        return nullptr;
    }
    if (!n->alive) {
        st = fail(MStatus::kInvalidParameter, "node " + n->name + " is no longer in the scene");
        return n.get();  // still readable, e.g. for its name
    }
    st = MStatus::kSuccess;
    return n.get();
}

}  // namespace

MFnDependencyNode::MFnDependencyNode(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MObject MFnDependencyNode::create(const MTypeId& typeId, MStatus* status) {
    return create(typeId, MString(), status);
}

MObject MFnDependencyNode::create(const MTypeId& typeId, const MString& name, MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(typeId);
    if (!cls) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "no node type with id " + std::to_string(typeId.id())));
        return MObject();
    }
    return create(MString(cls->typeName), name, status);
}

MObject MFnDependencyNode::create(const MString& type, MStatus* status) {
    return create(type, MString(), status);
}

MObject MFnDependencyNode::create(const MString& type, const MString& name, MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(type.str());
    if (!cls) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "unknown node type \"" + type.str() + "\""));
        return MObject();
    }
    if (cls->role != ehost::NodeRole::Depend) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter,
                       "\"" + type.str() + "\" is a DAG node type: create it with MFnDagNode"));
        return MObject();
    }
    MStatus st;
    ehost::NodePtr n = ehost::theScene().create(*cls, name.str(), &st);
    setStatus(status, st);
    if (!n) return MObject();
    obj_ = ehost::api::wrap(n);
    return obj_;
}

MTypeId MFnDependencyNode::typeId(MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(status, n ? MStatus(MStatus::kSuccess) : st);
    return n ? n->cls->typeId : MTypeId();
}

MString MFnDependencyNode::typeName(MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(status, n ? MStatus(MStatus::kSuccess) : st);
    return n ? MString(n->cls->typeName) : MString();
}

MString MFnDependencyNode::name(MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(status, n ? MStatus(MStatus::kSuccess) : st);
    return n ? MString(n->name) : MString();
}

MString MFnDependencyNode::absoluteName(MStatus* status) const {
    return ":" + name(status);
}

MString MFnDependencyNode::setName(const MString& name, bool, MStatus* status) {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    if (!n || !st) {
        setStatus(status, st);
        return MString();
    }
    std::string finalName;
    st = ehost::theScene().rename(*n, name.str(), &finalName);
    setStatus(status, st);
    return st ? MString(finalName) : MString(n->name);
}

MString MFnDependencyNode::pluginName(MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(status, n ? MStatus(MStatus::kSuccess) : st);
    return n ? MString(n->cls->pluginName) : MString();
}

MStatus MFnDependencyNode::getConnections(MPlugArray& plugs) const {
    plugs.clear();
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    if (!n || !st) return st;
    std::vector<ehost::PlugAddr> seen;
    auto add = [&](const ehost::PlugAddr& a) {
        if (std::find(seen.begin(), seen.end(), a) != seen.end()) return;
        seen.push_back(a);
        plugs.append(ehost::api::makePlug(n->self(), a));
    };
    for (auto& [a, src] : n->inputs) add(a);
    for (auto& [a, dst] : n->outputs) add(a);
    return MStatus::kSuccess;
}

unsigned int MFnDependencyNode::attributeCount(MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(status, n ? MStatus(MStatus::kSuccess) : st);
    return n ? static_cast<unsigned>(n->cls->attrs.size()) : 0;
}

MObject MFnDependencyNode::attribute(unsigned int index, MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    if (!n || index >= n->cls->attrs.size()) {
        setStatus(status,
                  n ? fail(MStatus::kInvalidParameter, "attribute index out of range") : st);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(n->cls->attrs[index]);
}

MObject MFnDependencyNode::attribute(const MString& attrName, MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    const ehost::Attribute* a = n ? n->cls->find(attrName.str()) : nullptr;
    if (!a) {
        setStatus(status, n ? fail(MStatus::kInvalidParameter,
                                   "no attribute \"" + attrName.str() + "\" on " + n->name)
                            : st);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(ehost::api::share(a));
}

bool MFnDependencyNode::hasAttribute(const MString& attrName, MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(status, n ? MStatus(MStatus::kSuccess) : st);
    return n && n->cls->find(attrName.str());
}

MStatus MFnDependencyNode::addAttribute(const MObject& attr) {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    if (!n) return st;
    auto a = ehost::api::attrOf(attr);
    if (!a) return fail(MStatus::kInvalidParameter, "the object to add is not an attribute");
    return ehost::addDynamicAttribute(*n, a);
}

MStatus MFnDependencyNode::removeAttribute(const MObject& attr) {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    if (!n) return st;
    auto a = ehost::api::attrOf(attr);
    if (!a) return fail(MStatus::kInvalidParameter, "the object to remove is not an attribute");
    return ehost::removeDynamicAttribute(*n, a.get(), nullptr);
}

MFnDependencyNode::MAttrClass MFnDependencyNode::attributeClass(const MObject& attribute,
                                                                MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    auto a = ehost::api::attrOf(attribute);
    if (!n || !a || n->cls->indexOf(a.get()) < 0) {
        setStatus(status,
                  n ? fail(MStatus::kInvalidParameter, "the attribute is not on the node") : st);
        return kInvalidAttr;
    }
    setStatus(status, MStatus::kSuccess);
    return a->dynamic ? kLocalDynamicAttr : kNormalAttr;
}

MPlug MFnDependencyNode::findPlug(const MObject& attribute, bool, MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    auto a = ehost::api::attrOf(attribute);
    if (!n || !a || n->cls->indexOf(a.get()) < 0) {
        setStatus(status,
                  n ? fail(MStatus::kInvalidParameter, "attribute is not on node " + n->name) : st);
        return MPlug();
    }
    setStatus(status, st);
    return ehost::api::makePlug(n->self(), {a.get(), -1});
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, bool, MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    if (!n) {
        setStatus(status, st);
        return MPlug();
    }
    ehost::PlugAddr addr;
    std::string why;
    if (!ehost::parsePlugName(*n->cls, attrName.str(), addr, why)) {
        setStatus(status, fail(MStatus::kInvalidParameter, "findPlug on " + n->name + ": " + why));
        return MPlug();
    }
    setStatus(status, st);
    return ehost::api::makePlug(n->self(), addr);
}

MPlug MFnDependencyNode::findPlug(const MObject& attribute, MStatus* status) const {
    return findPlug(attribute, false, status);
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, MStatus* status) const {
    return findPlug(attrName, false, status);
}

MPxNode* MFnDependencyNode::userNode(MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(
        status,
        n && n->user
            ? MStatus(MStatus::kSuccess)
            : (n ? fail(MStatus::kInvalidParameter, n->name + " is not a plug-in node") : st));
    return n ? n->user : nullptr;
}

bool MFnDependencyNode::isFromReferencedFile(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return false;
}
bool MFnDependencyNode::isShared(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return false;
}
bool MFnDependencyNode::isDefaultNode(MStatus* status) const {
    MStatus st;
    ehost::Node* n = nodeIn(obj_, st);
    setStatus(status, n ? MStatus(MStatus::kSuccess) : st);
    return n && n->name == "initialShadingGroup";
}
bool MFnDependencyNode::isLocked(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return false;
}
MStatus MFnDependencyNode::setLocked(bool) {
    return MStatus::kSuccess;
}

MString MFnDependencyNode::classification(const MString& nodeTypeName) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(nodeTypeName.str());
    return cls ? MString(cls->classification) : MString();
}

// ---------------------------------------------------------------- MItDependencyNodes

MItDependencyNodes::MItDependencyNodes(MFn::Type filter, MStatus* status) {
    setStatus(status, reset(filter));
}

MStatus MItDependencyNodes::reset(MFn::Type filter) {
    // A snapshot: nodes created or deleted during the walk do not disturb it.
    nodes_.clear();
    position_ = 0;
    for (const auto& n : ehost::theScene().nodes())
        if (filter == MFn::kInvalid || n->hasFn(filter)) nodes_.push_back(ehost::api::wrap(n));
    return MStatus::kSuccess;
}

bool MItDependencyNodes::isDone(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return position_ >= nodes_.size();
}

MStatus MItDependencyNodes::next() {
    if (position_ < nodes_.size()) ++position_;
    return MStatus::kSuccess;
}

MObject MItDependencyNodes::thisNode(MStatus* status) const {
    bool ok = position_ < nodes_.size();
    setStatus(status,
              ok ? MStatus(MStatus::kSuccess) : fail(MStatus::kFailure, "iterator is done"));
    return ok ? nodes_[position_] : MObject();
}

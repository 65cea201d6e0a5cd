#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnTransform.h>

#include "host/src/dag/Dag.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/Duplicate.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/nodes/Transform.h"

using ehost::DagNode;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

std::shared_ptr<DagNode> dagOf(const MObject& o) {
    return ehost::ApiAccess::as<DagNode>(o);
}

MStatus invalidPath() {
    return fail(MStatus::kInvalidParameter, "the DAG path is empty or no longer valid");
}

bool validEnd(const std::shared_ptr<DagNode>& n) {
    return n && n->alive && n->inWorld();
}

std::vector<DagNode*> shapesBelow(DagNode& n) {
    std::vector<DagNode*> out;
    for (auto& c : n.children) {
        auto* d = static_cast<DagNode*>(c.get());
        if (d->cls->role == ehost::NodeRole::Shape || d->cls->role == ehost::NodeRole::Locator)
            out.push_back(d);
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------- MDagPath

MStatus MDagPath::getAllPathsTo(const MObject& node, MDagPathArray& paths) {
    paths.clear();
    MDagPath p;
    MStatus st = getAPathTo(node, p);
    if (st) paths.append(p);
    return st;
}

MStatus MDagPath::getAPathTo(const MObject& node, MDagPath& path) {
    auto d = dagOf(node);
    if (!d)
        return fail(MStatus::kInvalidParameter,
                    std::string("a ") + node.apiTypeStr() + " object has no DAG path");
    if (!validEnd(d))
        return fail(MStatus::kInvalidParameter, d->name + " is not in the scene's DAG");
    path.impl_.node = d;
    return MStatus::kSuccess;
}

MDagPath MDagPath::getAPathTo(const MObject& node, MStatus* status) {
    MDagPath p;
    setStatus(status, getAPathTo(node, p));
    return p;
}

bool MDagPath::hasFn(MFn::Type type, MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    if (!impl_.node) return false;
    if (impl_.node->hasFn(type)) return true;
    // Like the host, a transform answers for the one shape below it.
    if (impl_.node->cls->role != ehost::NodeRole::Transform) return false;
    MDagPath shape(*this);
    return shape.extendToShape() && shape.impl_.node->hasFn(type);
}

MFn::Type MDagPath::apiType(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    return impl_.node ? impl_.node->apiType() : MFn::kInvalid;
}

bool MDagPath::isValid(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return validEnd(impl_.node);
}

MObject MDagPath::node(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    return impl_.node ? ehost::api::wrap(impl_.node) : MObject();
}

MObject MDagPath::transform(MStatus* status) const {
    for (DagNode* n = impl_.node.get(); n && !n->isWorld(); n = n->parent)
        if (n->cls->role == ehost::NodeRole::Transform) {
            setStatus(status, MStatus::kSuccess);
            return ehost::api::wrap(n->self());
        }
    setStatus(status, fail(MStatus::kInvalidParameter, "no transform on the path"));
    return MObject();
}

unsigned int MDagPath::length(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    unsigned n = 0;
    for (DagNode* d = impl_.node.get(); d && !d->isWorld(); d = d->parent) ++n;
    return n;
}

MStatus MDagPath::extendToShape() {
    if (!validEnd(impl_.node)) return invalidPath();
    if (impl_.node->cls->role != ehost::NodeRole::Transform) {
        // Already a shape: nothing to extend.
        if (impl_.node->cls->role == ehost::NodeRole::Shape ||
            impl_.node->cls->role == ehost::NodeRole::Locator)
            return MStatus::kSuccess;
        return fail(MStatus::kInvalidParameter,
                    impl_.node->name + " is neither a transform nor a shape");
    }
    auto shapes = shapesBelow(*impl_.node);
    if (shapes.empty())
        return fail(MStatus::kInvalidParameter, impl_.node->name + " has no shape below it");
    // With several shapes, the one that is not an intermediate object.
    DagNode* pick = nullptr;
    for (DagNode* s : shapes) {
        bool intermediate =
            ehost::evaluate(*s, {ehost::dagAttributes().intermediateObject.get(), -1}).num[0] != 0;
        if (!intermediate) {
            if (pick)
                return fail(MStatus::kInvalidParameter,
                            impl_.node->name + " has more than one shape below it");
            pick = s;
        }
    }
    if (!pick)
        return fail(MStatus::kInvalidParameter,
                    impl_.node->name + " has only intermediate shapes below it");
    impl_.node = std::static_pointer_cast<DagNode>(pick->self());
    return MStatus::kSuccess;
}

MStatus MDagPath::extendToShapeDirectlyBelow(unsigned int index) {
    if (!validEnd(impl_.node)) return invalidPath();
    auto shapes = shapesBelow(*impl_.node);
    if (index >= shapes.size())
        return fail(MStatus::kInvalidParameter,
                    "no shape " + std::to_string(index) + " below " + impl_.node->name);
    impl_.node = std::static_pointer_cast<DagNode>(shapes[index]->self());
    return MStatus::kSuccess;
}

MStatus MDagPath::numberOfShapesDirectlyBelow(unsigned int& count) const {
    count = 0;
    if (!validEnd(impl_.node)) return invalidPath();
    count = static_cast<unsigned>(shapesBelow(*impl_.node).size());
    return MStatus::kSuccess;
}

unsigned int MDagPath::childCount(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    return impl_.node ? static_cast<unsigned>(impl_.node->children.size()) : 0;
}

MObject MDagPath::child(unsigned int index, MStatus* status) const {
    if (!impl_.node || index >= impl_.node->children.size()) {
        setStatus(status, fail(MStatus::kInvalidParameter, "child index out of range"));
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(impl_.node->children[index]);
}

MStatus MDagPath::push(const MObject& child) {
    auto d = dagOf(child);
    if (!d) return fail(MStatus::kInvalidParameter, "not a DAG node");
    DagNode* expected = impl_.node ? impl_.node.get() : &ehost::theWorld();
    if (d->parent != expected)
        return fail(MStatus::kInvalidParameter, d->name + " is not a child of the path's end");
    impl_.node = d;
    return MStatus::kSuccess;
}

MStatus MDagPath::pop(unsigned int count) {
    for (unsigned i = 0; i < count; ++i) {
        if (!impl_.node) return fail(MStatus::kInvalidParameter, "the path is already empty");
        DagNode* p = impl_.node->parent;
        impl_.node = p && !p->isWorld() ? std::static_pointer_cast<DagNode>(p->self()) : nullptr;
    }
    return MStatus::kSuccess;
}

unsigned int MDagPath::pathCount(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_.node ? 1 : 0;
}

MStatus MDagPath::getPath(MDagPath& path, unsigned int index) const {
    if (index != 0 || !impl_.node) return fail(MStatus::kInvalidParameter, "no such path");
    path = *this;
    return MStatus::kSuccess;
}

MStatus MDagPath::set(const MDagPath& source) {
    *this = source;
    return MStatus::kSuccess;
}

MMatrix MDagPath::inclusiveMatrix(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    return impl_.node ? impl_.node->worldMatrix() : MMatrix();
}

MMatrix MDagPath::exclusiveMatrix(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    return impl_.node && impl_.node->parent ? impl_.node->parent->worldMatrix() : MMatrix();
}

MMatrix MDagPath::inclusiveMatrixInverse(MStatus* status) const {
    return inclusiveMatrix(status).inverse();
}
MMatrix MDagPath::exclusiveMatrixInverse(MStatus* status) const {
    return exclusiveMatrix(status).inverse();
}

MString MDagPath::fullPathName(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    return impl_.node ? MString(impl_.node->fullPath()) : MString();
}

MString MDagPath::partialPathName(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    return impl_.node ? MString(impl_.node->name) : MString();
}

bool MDagPath::isInstanced(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return false;
}

unsigned int MDagPath::instanceNumber(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return 0;
}

bool MDagPath::isVisible(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus(MStatus::kSuccess) : invalidPath());
    for (DagNode* d = impl_.node.get(); d && !d->isWorld(); d = d->parent) {
        if (ehost::evaluate(*d, {ehost::dagAttributes().visibility.get(), -1}).num[0] == 0)
            return false;
        if (ehost::evaluate(*d, {ehost::dagAttributes().intermediateObject.get(), -1}).num[0] != 0)
            return false;
    }
    return impl_.node != nullptr;
}

bool MDagPath::operator==(const MDagPath& other) const {
    return impl_.node == other.impl_.node;
}

// ---------------------------------------------------------------- MFnDagNode

MFnDagNode::MFnDagNode(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MFnDagNode::MFnDagNode(const MDagPath& path, MStatus* status) {
    setStatus(status, setObject(path));
}

MStatus MFnDagNode::setObject(const MDagPath& path) {
    if (!path.isValid()) {
        obj_ = MObject();
        return invalidPath();
    }
    return attach(path.node());
}

MStatus MFnDagNode::setObject(const MObject& object) {
    return attach(object);
}

MObject MFnDagNode::create(const MTypeId& typeId, const MObject& parent, MStatus* status) {
    return create(typeId, MString(), parent, status);
}

MObject MFnDagNode::create(const MTypeId& typeId, const MString& name, const MObject& parent,
                           MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(typeId);
    if (!cls) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "no node type with id " + std::to_string(typeId.id())));
        return MObject();
    }
    return create(MString(cls->typeName), name, parent, status);
}

MObject MFnDagNode::create(const MString& type, const MObject& parent, MStatus* status) {
    return create(type, MString(), parent, status);
}

MObject MFnDagNode::create(const MString& type, const MString& name, const MObject& parent,
                           MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(type.str());
    if (!cls) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "unknown node type \"" + type.str() + "\""));
        return MObject();
    }
    if (cls->role == ehost::NodeRole::Depend) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "\"" + type.str() + "\" is not a DAG node type"));
        return MObject();
    }
    DagNode* under = nullptr;
    if (!parent.isNull()) {
        auto p = dagOf(parent);
        if (!validEnd(p)) {
            setStatus(status, fail(MStatus::kInvalidParameter,
                                   "the parent is not a DAG node in the scene"));
            return MObject();
        }
        under = p.get();
    }
    MStatus st;
    ehost::Created made = ehost::createNode(*cls, name.str(), under, &st);
    setStatus(status, st);
    if (!made.top) return MObject();
    obj_ = ehost::api::wrap(made.node);
    return ehost::api::wrap(made.top);
}

unsigned int MFnDagNode::parentCount(MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    return d && d->parent ? 1 : 0;
}

MObject MFnDagNode::parent(unsigned int index, MStatus* status) const {
    auto d = dagOf(obj_);
    if (!d || !d->parent || index != 0) {
        setStatus(status, fail(MStatus::kInvalidParameter, "no parent " + std::to_string(index)));
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(d->parent->self());
}

MStatus MFnDagNode::addChild(MObject& child, unsigned int index, bool keepExistingParents) {
    auto d = dagOf(obj_);
    auto c = dagOf(child);
    if (!d || !c || !d->alive || !c->alive)
        return fail(MStatus::kInvalidParameter, "addChild needs two DAG nodes in the scene");
    if (keepExistingParents) return fail(MStatus::kNotImplemented, "instancing is not supported");
    for (DagNode* p = d.get(); p; p = p->parent)
        if (p == c.get())
            return fail(MStatus::kInvalidParameter, c->name + " is above " + d->name + ": a cycle");
    if (d->cls->role != ehost::NodeRole::Transform)
        return fail(MStatus::kInvalidParameter, d->name + " is not a transform");
    ehost::reparent(*c, d.get(), index == kNextPos ? -1 : static_cast<int>(index));
    return MStatus::kSuccess;
}

MStatus MFnDagNode::removeChild(MObject& child) {
    auto d = dagOf(obj_);
    auto c = dagOf(child);
    if (!d || !c || c->parent != d.get())
        return fail(MStatus::kInvalidParameter, "not a child of this node");
    ehost::reparent(*c, &ehost::theWorld());
    return MStatus::kSuccess;
}

MStatus MFnDagNode::removeChildAt(unsigned int index) {
    MObject c = child(index);
    if (c.isNull()) return fail(MStatus::kInvalidParameter, "child index out of range");
    return removeChild(c);
}

unsigned int MFnDagNode::childCount(MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    return d ? static_cast<unsigned>(d->children.size()) : 0;
}

MObject MFnDagNode::child(unsigned int index, MStatus* status) const {
    auto d = dagOf(obj_);
    if (!d || index >= d->children.size()) {
        setStatus(status, fail(MStatus::kInvalidParameter, "child index out of range"));
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(d->children[index]);
}

MObject MFnDagNode::dagRoot(MStatus* status) {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    DagNode* n = d.get();
    while (n && n->parent && !n->parent->isWorld()) n = n->parent;
    return n ? ehost::api::wrap(n->self()) : MObject();
}

bool MFnDagNode::hasParent(const MObject& node, MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    return d && d->parent && dagOf(node).get() == d->parent;
}

bool MFnDagNode::hasChild(const MObject& node, MStatus* status) const {
    auto c = dagOf(node);
    setStatus(status, MStatus::kSuccess);
    return c && c->parent == dagOf(obj_).get();
}

bool MFnDagNode::isChildOf(const MObject& node, MStatus* status) const {
    return hasParent(node, status);
}
bool MFnDagNode::isParentOf(const MObject& node, MStatus* status) const {
    return hasChild(node, status);
}

MObject MFnDagNode::duplicate(bool instance, bool, MStatus* status) const {
    auto d = dagOf(obj_);
    if (!d) {
        setStatus(status, invalidPath());
        return MObject();
    }
    if (instance) {
        setStatus(status, fail(MStatus::kNotImplemented, "instancing is not supported"));
        return MObject();
    }
    MStatus st;
    ehost::NodePtr top = ehost::duplicateDag(*d, &st);
    setStatus(status, st);
    return top ? ehost::api::wrap(top) : MObject();
}

MStatus MFnDagNode::getPath(MDagPath& path) const {
    return MDagPath::getAPathTo(obj_, path);
}

MStatus MFnDagNode::getAllPaths(MDagPathArray& paths) const {
    return MDagPath::getAllPathsTo(obj_, paths);
}

MDagPath MFnDagNode::dagPath(MStatus* status) const {
    return MDagPath::getAPathTo(obj_, status);
}

MString MFnDagNode::fullPathName(MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    return d ? MString(d->fullPath()) : MString();
}

MString MFnDagNode::partialPathName(MStatus* status) const {
    return name(status);
}

MMatrix MFnDagNode::transformationMatrix(MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    return d ? d->localMatrix() : MMatrix();
}

bool MFnDagNode::isIntermediateObject(MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    return d &&
           ehost::evaluate(*d, {ehost::dagAttributes().intermediateObject.get(), -1}).num[0] != 0;
}

MStatus MFnDagNode::setIntermediateObject(bool isIntermediate) {
    auto d = dagOf(obj_);
    if (!d) return invalidPath();
    double v = isIntermediate ? 1 : 0;
    ehost::writeNumeric(*d, {ehost::dagAttributes().intermediateObject.get(), -1}, &v, 1);
    return MStatus::kSuccess;
}

bool MFnDagNode::inUnderWorld(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return false;
}

bool MFnDagNode::inModel(MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, MStatus::kSuccess);
    return d && d->alive && d->inWorld();
}

MBoundingBox MFnDagNode::boundingBox(MStatus* status) const {
    auto d = dagOf(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : invalidPath());
    return d ? ehost::boundsInParent(*d) : MBoundingBox();
}

// ---------------------------------------------------------------- MFnTransform

MFnTransform::MFnTransform(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MFnTransform::MFnTransform(const MDagPath& path, MStatus* status) {
    setStatus(status, path.isValid() ? attach(path.node()) : invalidPath());
}

MObject MFnTransform::create(const MObject& parent, MStatus* status) {
    MObject made = MFnDagNode::create("transform", parent, status);
    obj_ = made;
    return made;
}

namespace {

ehost::TransformNode* transformOf(const MObject& o) {
    return ehost::ApiAccess::as<ehost::TransformNode>(o).get();
}

MStatus writeCompound(ehost::Node& n, const ehost::Attribute* a, const double v[3]) {
    ehost::writeNumeric(n, {a, -1}, v, 3);
    return MStatus::kSuccess;
}

}  // namespace

MTransformationMatrix MFnTransform::transformation(MStatus* status) const {
    auto* t = transformOf(obj_);
    setStatus(status,
              t ? MStatus(MStatus::kSuccess) : fail(MStatus::kInvalidParameter, "not a transform"));
    return t ? MTransformationMatrix(t->localMatrix()) : MTransformationMatrix();
}

MStatus MFnTransform::set(const MTransformationMatrix& transform) {
    auto* t = transformOf(obj_);
    if (!t) return fail(MStatus::kInvalidParameter, "not a transform");
    MVector tr = transform.getTranslation(MSpace::kTransform);
    MEulerRotation r = transform.eulerRotation();
    double s[3];
    transform.getScale(s, MSpace::kTransform);
    const auto& a = ehost::transformAttributes();
    double tv[3] = {tr.x, tr.y, tr.z}, rv[3] = {r.x, r.y, r.z};
    writeCompound(*t, a.translate.get(), tv);
    writeCompound(*t, a.rotate.get(), rv);
    return writeCompound(*t, a.scale.get(), s);
}

MVector MFnTransform::getTranslation(MSpace::Space space, MStatus* status) const {
    auto* t = transformOf(obj_);
    setStatus(status,
              t ? MStatus(MStatus::kSuccess) : fail(MStatus::kInvalidParameter, "not a transform"));
    if (!t) return MVector();
    if (space == MSpace::kWorld) {
        MMatrix w = t->worldMatrix();
        return MVector(w[3][0], w[3][1], w[3][2]);
    }
    const ehost::Cell& c = ehost::evaluate(*t, {ehost::transformAttributes().translate.get(), -1});
    return MVector(c.num[0], c.num[1], c.num[2]);
}

MStatus MFnTransform::setTranslation(const MVector& vector, MSpace::Space space) {
    auto* t = transformOf(obj_);
    if (!t) return fail(MStatus::kInvalidParameter, "not a transform");
    MVector v = vector;
    if (space == MSpace::kWorld && t->parent) {
        MPoint local = MPoint(vector) * t->parent->worldMatrix().inverse();
        v = MVector(local.x, local.y, local.z);
    }
    double tv[3] = {v.x, v.y, v.z};
    return writeCompound(*t, ehost::transformAttributes().translate.get(), tv);
}

MStatus MFnTransform::getRotation(MEulerRotation& rotation) const {
    auto* t = transformOf(obj_);
    if (!t) return fail(MStatus::kInvalidParameter, "not a transform");
    const ehost::Cell& c = ehost::evaluate(*t, {ehost::transformAttributes().rotate.get(), -1});
    int order = static_cast<int>(
        ehost::evaluate(*t, {ehost::transformAttributes().rotateOrder.get(), -1}).num[0]);
    rotation = MEulerRotation(c.num[0], c.num[1], c.num[2],
                              static_cast<MEulerRotation::RotationOrder>(order));
    return MStatus::kSuccess;
}

MStatus MFnTransform::setRotation(const MEulerRotation& rotation) {
    auto* t = transformOf(obj_);
    if (!t) return fail(MStatus::kInvalidParameter, "not a transform");
    double rv[3] = {rotation.x, rotation.y, rotation.z};
    double order = static_cast<double>(rotation.order);
    ehost::writeNumeric(*t, {ehost::transformAttributes().rotateOrder.get(), -1}, &order, 1);
    return writeCompound(*t, ehost::transformAttributes().rotate.get(), rv);
}

MStatus MFnTransform::getScale(double scale[3]) const {
    auto* t = transformOf(obj_);
    if (!t) return fail(MStatus::kInvalidParameter, "not a transform");
    const ehost::Cell& c = ehost::evaluate(*t, {ehost::transformAttributes().scale.get(), -1});
    for (int k = 0; k < 3; ++k) scale[k] = c.num[k];
    return MStatus::kSuccess;
}

MStatus MFnTransform::setScale(const double scale[3]) {
    auto* t = transformOf(obj_);
    if (!t) return fail(MStatus::kInvalidParameter, "not a transform");
    return writeCompound(*t, ehost::transformAttributes().scale.get(), scale);
}

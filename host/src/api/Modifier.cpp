#include <maya/MAngle.h>
#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MDistance.h>
#include <maya/MFnDependencyNode.h>

#include "host/src/command/Commands.h"
#include "host/src/command/Modifier.h"
#include "host/src/core/Guard.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/DynamicAttributes.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"

using ehost::NodePtr;
using ehost::api::fail;
using ehost::api::setStatus;

namespace ehost {

MStatus ModifierOps::doIt() {
    for (auto& op : ops) {
        if (op->done) continue;
        MStatus st = op->apply();
        if (!st) return st;
        op->done = true;
    }
    return MStatus::kSuccess;
}

MStatus ModifierOps::undoIt() {
    for (auto it = ops.rbegin(); it != ops.rend(); ++it)
        if ((*it)->done) {
            (*it)->revert();
            (*it)->done = false;
        }
    return MStatus::kSuccess;
}

namespace {

MStatus dead(const Node& n) {
    return MStatus(MStatus::kInvalidParameter, n.name + " is not in the scene");
}

class CreateOp : public ModifierOp {
public:
    CreateOp(NodePtr n, std::string name, NodePtr t, std::string tname, DagNode* p)
        : node(std::move(n)),
          wanted(std::move(name)),
          transform(std::move(t)),
          transformName(std::move(tname)),
          parent(p) {}
    MStatus apply() override {
        Scene& scene = theScene();
        if (parent && !parent->alive) return dead(*parent);
        if (transform) {
            MStatus st =
                scene.adopt(transform, transform->name.empty() ? transformName : transform->name);
            if (!st) return st;
            reparent(static_cast<DagNode&>(*transform), &theWorld());
        }
        std::string name = node->name.empty() ? wanted : node->name;
        if (transform && nameAfterTransform) {
            // polySurface1 -> polySurfaceShape1, as for shapes created by name.
            const std::string& t = transform->name;
            size_t end = t.size();
            while (end > 0 && std::isdigit(static_cast<unsigned char>(t[end - 1]))) --end;
            name = t.substr(0, end) + "Shape" + t.substr(end);
            nameAfterTransform = false;
        }
        MStatus st = scene.adopt(node, name);
        if (!st) {
            if (transform) {
                reparent(static_cast<DagNode&>(*transform), nullptr);
                scene.detach(*transform);
            }
            return st;
        }
        if (auto* d = dynamic_cast<DagNode*>(node.get()))
            reparent(*d, transform ? static_cast<DagNode*>(transform.get())
                         : parent  ? parent
                                   : &theWorld());
        return MStatus::kSuccess;
    }
    void revert() override {
        Removal r = removeNodes({node.get()});
        if (transform) removeNodes({transform.get()});
    }
    NodePtr node;
    std::string wanted;
    NodePtr transform;
    std::string transformName;
    DagNode* parent;
    bool nameAfterTransform = true;
};

class DeleteOp : public ModifierOp {
public:
    explicit DeleteOp(NodePtr n) : node(std::move(n)) {}
    MStatus apply() override {
        if (!node->alive) return dead(*node);
        removal = removeNodes({node.get()});
        return MStatus::kSuccess;
    }
    void revert() override { restore(removal); }
    NodePtr node;
    Removal removal;
};

class RenameOp : public ModifierOp {
public:
    RenameOp(NodePtr n, std::string name) : node(std::move(n)), wanted(std::move(name)) {}
    MStatus apply() override {
        if (!node->alive) return dead(*node);
        old = node->name;
        return theScene().rename(*node, wanted);
    }
    void revert() override {
        if (node->alive && !theScene().find(old)) theScene().rename(*node, old);
    }
    NodePtr node;
    std::string wanted, old;
};

class AddAttributeOp : public ModifierOp {
public:
    AddAttributeOp(NodePtr n, AttrPtr a) : node(std::move(n)), attr(std::move(a)) {}
    MStatus apply() override {
        if (!node->alive) return dead(*node);
        return addDynamicAttribute(*node, attr);
    }
    void revert() override { removeDynamicAttribute(*node, attr.get(), nullptr); }
    NodePtr node;
    AttrPtr attr;
};

class RemoveAttributeOp : public ModifierOp {
public:
    RemoveAttributeOp(NodePtr n, AttrPtr a) : node(std::move(n)), attr(std::move(a)) {}
    MStatus apply() override {
        if (!node->alive) return dead(*node);
        return removeDynamicAttribute(*node, attr.get(), &removed);
    }
    void revert() override { restoreDynamicAttribute(*node, removed); }
    NodePtr node;
    AttrPtr attr;
    RemovedAttribute removed;
};

class ReparentOp : public ModifierOp {
public:
    ReparentOp(NodePtr n, NodePtr p) : node(std::move(n)), parent(std::move(p)) {}
    MStatus apply() override {
        auto* d = dynamic_cast<DagNode*>(node.get());
        if (!node->alive) return dead(*node);
        DagNode* to = parent ? static_cast<DagNode*>(parent.get()) : &theWorld();
        if (!to->alive) return dead(*to);
        for (DagNode* p = to; p; p = p->parent)
            if (p == d)
                return MStatus(MStatus::kInvalidParameter,
                               "cannot put " + node->name + " under itself");
        auto [oldParent, oldPosition] = reparent(*d, to);
        from = oldParent;
        position = oldPosition;
        return MStatus::kSuccess;
    }
    void revert() override {
        auto* d = static_cast<DagNode*>(node.get());
        if (from && from->alive) reparent(*d, from, position);
    }
    NodePtr node, parent;
    DagNode* from = nullptr;
    int position = -1;
};

class ConnectOp : public ModifierOp {
public:
    ConnectOp(PlugRef s, PlugRef d, bool c, NodePtr keepS, NodePtr keepD)
        : src(s), dst(d), connecting(c), holdSrc(std::move(keepS)), holdDst(std::move(keepD)) {}
    MStatus apply() override {
        if (!src.node->alive) return dead(*src.node);
        if (!dst.node->alive) return dead(*dst.node);
        return connecting ? connect(src, dst) : disconnect(src, dst);
    }
    void revert() override {
        if (!src.node->alive || !dst.node->alive) return;
        if (connecting)
            disconnect(src, dst);
        else
            connect(src, dst);
    }
    PlugRef src, dst;
    bool connecting;
    NodePtr holdSrc, holdDst;  // keep the nodes while the op exists
};

class CommandOp : public ModifierOp {
public:
    explicit CommandOp(std::string t) : text(std::move(t)) {}
    MStatus apply() override {
        if (ran) {
            capture.redoAll();
            return MStatus::kSuccess;
        }
        SinkScope scope(&capture);
        MStatus st = runCommands(text, {false, true});
        ran = st;
        if (!st) {
            capture.undoAll();
            capture.items.clear();
        }
        return st;
    }
    void revert() override { capture.undoAll(); }
    std::string text;
    UndoCapture capture;
    bool ran = false;
};

class PlugValueOp : public ModifierOp {
public:
    PlugValueOp(MPlug p, std::function<MStatus(const MPlug&)> w)
        : plug(std::move(p)), write(std::move(w)) {}
    MStatus apply() override {
        PlugRef r = api::plugRef(plug);
        if (!r.node || !r.node->alive)
            return MStatus(MStatus::kInvalidParameter, "the plug's node is not in the scene");
        old = evaluate(*r.node, r.addr);
        return write(plug);
    }
    void revert() override {
        PlugRef r = api::plugRef(plug);
        if (!r.node->alive) return;
        Cell* c = r.node->cell(r.addr, true);
        *c = old;
        propagateDirty(*r.node, r.addr);
    }
    MPlug plug;
    std::function<MStatus(const MPlug&)> write;
    Cell old;
};

//! A node object of the class, not yet in the scene; null when the class made none.
NodePtr makeDetached(NodeClass& cls, MStatus* status) {
    NodePtr n = cls.makeNode(status);
    if (!n) return nullptr;
    std::string base = cls.typeName;
    if (!base.empty() && !std::isdigit(static_cast<unsigned char>(base.back()))) base += "1";
    n->name = theScene().uniqueName(base);
    return n;
}

}  // namespace
}  // namespace ehost

// ---------------------------------------------------------------- MDGModifier

MDGModifier::MDGModifier() : impl_(std::make_unique<ehost::ModifierOps>()) {}
MDGModifier::~MDGModifier() = default;

MObject MDGModifier::createNode(const MTypeId& typeId, MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(typeId);
    if (!cls) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "no node type with id " + std::to_string(typeId.id())));
        return MObject();
    }
    return createNode(MString(cls->typeName), status);
}

MObject MDGModifier::createNode(const MString& type, MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(type.str());
    if (!cls) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "unknown node type \"" + type.str() + "\""));
        return MObject();
    }
    if (cls->role != ehost::NodeRole::Depend) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "\"" + type.str() + "\" is a DAG node type: use MDagModifier"));
        return MObject();
    }
    MStatus st;
    NodePtr n = ehost::makeDetached(*cls, &st);
    if (!n) {
        setStatus(status, st);
        return MObject();
    }
    impl_->ops.push_back(std::make_unique<ehost::CreateOp>(n, n->name, nullptr, "", nullptr));
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(n);
}

MStatus MDGModifier::deleteNode(const MObject& node) {
    NodePtr n = ehost::api::nodeOf(node);
    if (!n) return fail(MStatus::kInvalidParameter, "deleteNode: not a node");
    impl_->ops.push_back(std::make_unique<ehost::DeleteOp>(n));
    return MStatus::kSuccess;
}

MStatus MDGModifier::renameNode(const MObject& node, const MString& newName) {
    NodePtr n = ehost::api::nodeOf(node);
    if (!n) return fail(MStatus::kInvalidParameter, "renameNode: not a node");
    std::string why;
    if (!ehost::Scene::validName(newName.str(), &why)) return fail(MStatus::kInvalidParameter, why);
    impl_->ops.push_back(std::make_unique<ehost::RenameOp>(n, newName.str()));
    return MStatus::kSuccess;
}

MStatus MDGModifier::addAttribute(const MObject& node, const MObject& attribute) {
    NodePtr n = ehost::api::nodeOf(node);
    if (!n) return fail(MStatus::kInvalidParameter, "addAttribute: not a node");
    auto a = ehost::api::attrOf(attribute);
    if (!a) return fail(MStatus::kInvalidParameter, "addAttribute: not an attribute");
    if (a->parent)
        return fail(MStatus::kInvalidParameter,
                    "addAttribute: " + a->name + " is a child: add its parent");
    impl_->ops.push_back(std::make_unique<ehost::AddAttributeOp>(n, a));
    return MStatus::kSuccess;
}

MStatus MDGModifier::removeAttribute(const MObject& node, const MObject& attribute) {
    NodePtr n = ehost::api::nodeOf(node);
    if (!n) return fail(MStatus::kInvalidParameter, "removeAttribute: not a node");
    auto a = ehost::api::attrOf(attribute);
    if (!a) return fail(MStatus::kInvalidParameter, "removeAttribute: not an attribute");
    impl_->ops.push_back(std::make_unique<ehost::RemoveAttributeOp>(n, a));
    return MStatus::kSuccess;
}

MStatus MDGModifier::connect(const MObject& sourceNode, const MObject& sourceAttr,
                             const MObject& destNode, const MObject& destAttr) {
    return connect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::connect(const MPlug& source, const MPlug& dest) {
    auto s = ehost::api::plugRef(source), d = ehost::api::plugRef(dest);
    if (!s.node || !d.node || !s.addr.attr || !d.addr.attr)
        return fail(MStatus::kInvalidParameter, "connect: null plug");
    impl_->ops.push_back(
        std::make_unique<ehost::ConnectOp>(s, d, true, s.node->self(), d.node->self()));
    return MStatus::kSuccess;
}

MStatus MDGModifier::disconnect(const MObject& sourceNode, const MObject& sourceAttr,
                                const MObject& destNode, const MObject& destAttr) {
    return disconnect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::disconnect(const MPlug& source, const MPlug& dest) {
    auto s = ehost::api::plugRef(source), d = ehost::api::plugRef(dest);
    if (!s.node || !d.node || !s.addr.attr || !d.addr.attr)
        return fail(MStatus::kInvalidParameter, "disconnect: null plug");
    impl_->ops.push_back(
        std::make_unique<ehost::ConnectOp>(s, d, false, s.node->self(), d.node->self()));
    return MStatus::kSuccess;
}

MStatus MDGModifier::commandToExecute(const MString& command) {
    if (command.length() == 0)
        return fail(MStatus::kInvalidParameter, "commandToExecute: empty command");
    impl_->ops.push_back(std::make_unique<ehost::CommandOp>(command.str()));
    return MStatus::kSuccess;
}

MStatus MDGModifier::pythonCommandToExecute(const MString&) {
    return fail(MStatus::kNotImplemented, "this host has no Python interpreter");
}

namespace {

template <class T>
MStatus queueValue(ehost::ModifierOps& ops, const MPlug& plug, T value) {
    if (plug.isNull()) return fail(MStatus::kInvalidParameter, "newPlugValue: null plug");
    ops.ops.push_back(std::make_unique<ehost::PlugValueOp>(
        plug, [value](const MPlug& p) { return p.setValue(value); }));
    return MStatus::kSuccess;
}

}  // namespace

MStatus MDGModifier::newPlugValue(const MPlug& plug, const MObject& value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueBool(const MPlug& plug, bool value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueChar(const MPlug& plug, char value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueDouble(const MPlug& plug, double value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueFloat(const MPlug& plug, float value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueInt(const MPlug& plug, int value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueShort(const MPlug& plug, short value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueString(const MPlug& plug, const MString& value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueMAngle(const MPlug& plug, const MAngle& value) {
    return queueValue(*impl_, plug, value);
}
MStatus MDGModifier::newPlugValueMDistance(const MPlug& plug, const MDistance& value) {
    return queueValue(*impl_, plug, value);
}

MStatus MDGModifier::doIt() {
    return ehost::guardEntry("MDGModifier::doIt", [&] { return impl_->doIt(); });
}
MStatus MDGModifier::undoIt() {
    return ehost::guardEntry("MDGModifier::undoIt", [&] { return impl_->undoIt(); });
}

// ---------------------------------------------------------------- MDagModifier

MObject MDagModifier::createNode(const MTypeId& typeId, const MObject& parent, MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(typeId);
    if (!cls) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "no node type with id " + std::to_string(typeId.id())));
        return MObject();
    }
    return createNode(MString(cls->typeName), parent, status);
}

MObject MDagModifier::createNode(const MString& type, const MObject& parent, MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass(type.str());
    if (!cls) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "unknown node type \"" + type.str() + "\""));
        return MObject();
    }
    if (cls->role == ehost::NodeRole::Depend) {
        if (!parent.isNull()) {
            setStatus(status, fail(MStatus::kInvalidParameter,
                                   "\"" + type.str() +
                                       "\" is not a DAG node type: it cannot have a parent"));
            return MObject();
        }
        return MDGModifier::createNode(type, status);
    }
    ehost::DagNode* under = nullptr;
    if (!parent.isNull()) {
        auto p = ehost::ApiAccess::as<ehost::DagNode>(parent);
        if (!p || p->cls->role != ehost::NodeRole::Transform) {
            setStatus(status, fail(MStatus::kInvalidParameter, "the parent must be a transform"));
            return MObject();
        }
        under = p.get();
    }
    MStatus st;
    NodePtr node = ehost::makeDetached(*cls, &st);
    NodePtr transform;
    bool shape = cls->role == ehost::NodeRole::Shape || cls->role == ehost::NodeRole::Locator;
    if (node && shape && !under) {
        transform = ehost::makeDetached(*ehost::theRegistry().findClass("transform"), &st);
        if (transform) transform->name.clear();  // named when it enters the scene
    }
    if (!node || (shape && !under && !transform)) {
        setStatus(status, st);
        return MObject();
    }
    impl_->ops.push_back(std::make_unique<ehost::CreateOp>(
        node, node->name, transform, cls->typeName == "mesh" ? "polySurface1" : "transform1",
        under));
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(transform ? transform : node);
}

MStatus MDagModifier::reparentNode(const MObject& node, const MObject& newParent) {
    auto n = ehost::ApiAccess::as<ehost::DagNode>(node);
    if (!n) return fail(MStatus::kInvalidParameter, "reparentNode: not a DAG node");
    NodePtr p;
    if (!newParent.isNull()) {
        auto dp = ehost::ApiAccess::as<ehost::DagNode>(newParent);
        if (!dp || dp->cls->role != ehost::NodeRole::Transform)
            return fail(MStatus::kInvalidParameter,
                        "reparentNode: the new parent must be a transform");
        p = dp;
    }
    impl_->ops.push_back(std::make_unique<ehost::ReparentOp>(n, p));
    return MStatus::kSuccess;
}

#include "host/src/nodes/Duplicate.h"

#include "host/src/dag/DagOps.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/DynamicAttributes.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/nodes/ObjectSet.h"

namespace ehost {

namespace {

NodePtr copyNode(Node& src, const std::string& wanted, MStatus* status) {
    Scene& scene = theScene();
    NodePtr copy = scene.create(src.cls->registered(), wanted, status);
    if (!copy) return nullptr;
    // The copy has the original's dynamic attributes too, in the same places.
    for (const AttrPtr& a : dynamicAttributes(src)) addDynamicAttribute(*copy, a);
    for (int s = 0; s < src.slotCount(); ++s) {
        const Attribute* a = src.cls->attrs[src.cls->roots[s]].get();
        if (a->kind == AttrKind::Message) continue;
        copy->slot(s) = src.slot(s);
    }
    copy->plugStates = src.plugStates;
    if (auto* mesh = dynamic_cast<MeshShape*>(&src)) {
        const auto& m = meshAttributes();
        copy->cell({m.cachedInMesh.get(), -1}, true)->data =
            std::make_shared<MeshData>(mesh->output());
        copy->slot(copy->cls->slotOf(m.pnts.get())).elements.clear();
        copy->cell({m.inMesh.get(), -1}, true)->data = nullptr;
    }
    // Computed values are recomputed for the copy.
    for (int s = 0; s < copy->slotCount(); ++s)
        if (copy->cls->isAffected(copy->cls->attrs[copy->cls->roots[s]].get())) {
            copy->slot(s).cell.dirty = true;
            for (auto& [i, c] : copy->slot(s).elements) c.dirty = true;
        }
    return copy;
}

//! A copy of the node alone under parent, shading like its original.
NodePtr copyOne(DagNode& src, DagNode* parent, MStatus* status) {
    NodePtr copy = copyNode(src, src.name, status);
    if (!copy) return nullptr;
    reparent(static_cast<DagNode&>(*copy), parent);
    const Attribute* iog = dagAttributes().instObjGroups.get();
    if (src.cls->role == NodeRole::Shape)
        for (auto& [addr, dst] : src.outputs)
            if (addr.attr == iog && dst.node->cls->kind == MFn::kShadingEngine)
                addSetMember(*dst.node, *copy);
    return copy;
}

//! Copies the subtree depth first, parents before children, with an explicit
//! stack: a hierarchy may be deeper than the call stack. A failure takes back
//! what was copied.
NodePtr copyTree(DagNode& src, DagNode* parent, MStatus* status) {
    NodePtr top = copyOne(src, parent, status);
    if (!top) return nullptr;
    struct Level {
        std::vector<NodePtr> children;  // of the original
        DagNode* copy;
        size_t next = 0;
    };
    std::vector<Level> stack{{src.children, static_cast<DagNode*>(top.get())}};
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.children.size()) {
            stack.pop_back();
            continue;
        }
        auto* child = dynamic_cast<DagNode*>(level.children[level.next++].get());
        NodePtr copy = child ? copyOne(*child, level.copy, status) : nullptr;
        if (!copy) {
            removeNodes({top.get()});
            return nullptr;
        }
        stack.push_back({child->children, static_cast<DagNode*>(copy.get())});
    }
    return top;
}

}  // namespace

NodePtr duplicateDag(DagNode& node, MStatus* status, bool parentOnly) {
    if (!node.alive || node.isWorld()) {
        if (status)
            *status = MStatus(MStatus::kInvalidParameter,
                              "only a DAG node in the scene can be duplicated");
        return nullptr;
    }
    DagNode* under = node.parent ? node.parent : &theWorld();
    if (parentOnly && node.cls->role == NodeRole::Transform) return copyOne(node, under, status);
    if (node.cls->role == NodeRole::Transform || !node.parent || node.parent->isWorld())
        return copyTree(node, under, status);
    // A shape: copy its parent transform alone, then the shape under it.
    DagNode* parent = node.parent;
    NodePtr top = copyNode(*parent, parent->name, status);
    if (!top) return nullptr;
    reparent(static_cast<DagNode&>(*top), parent->parent ? parent->parent : &theWorld());
    if (!copyTree(node, static_cast<DagNode*>(top.get()), status)) {
        removeNodes({top.get()});
        return nullptr;
    }
    return top;
}

}  // namespace ehost

#include "host/src/dag/DagOps.h"

#include <maya/MPxNode.h>

#include <algorithm>
#include <optional>
#include <set>

#include "host/src/dag/Selection.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

std::string stripShapeSuffix(const std::string& name) {
    // "kvMeshShape" -> "kvMesh", "pSphereShape1" -> "pSphere1"
    auto pos = name.rfind("Shape");
    if (pos == std::string::npos || pos == 0) return name;
    std::string tail = name.substr(pos + 5);
    if (!std::all_of(tail.begin(), tail.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return name;
    return name.substr(0, pos) + tail;
}

std::string transformNameFor(const NodeClass& cls, const std::string& shapeName) {
    if (cls.typeName == "mesh") return "polySurface1";
    if (!shapeName.empty()) {
        std::string t = stripShapeSuffix(shapeName);
        if (t != shapeName) return t;
    }
    return "transform1";
}

}  // namespace

Created createNode(NodeClass& cls, const std::string& name, DagNode* parent, MStatus* status) {
    Scene& scene = theScene();
    Created out;
    MStatus st;
    if (cls.role == NodeRole::Depend) {
        if (parent) {
            if (status)
                *status =
                    MStatus(MStatus::kInvalidParameter,
                            cls.typeName + " is not a DAG node type: it cannot have a parent");
            return out;
        }
        out.node = out.top = scene.create(cls, name, &st);
        if (status) *status = st;
        return out;
    }
    bool isShape = cls.role == NodeRole::Shape || cls.role == NodeRole::Locator;
    if (!name.empty()) {
        std::string why;
        if (!Scene::validName(name, &why)) {
            if (status) *status = MStatus(MStatus::kInvalidParameter, why);
            return out;
        }
    }
    if (isShape && parent && parent->cls->role != NodeRole::Transform && !parent->isWorld()) {
        if (status)
            *status = MStatus(MStatus::kInvalidParameter,
                              "a shape's parent must be a transform, not " + parent->name);
        return out;
    }
    DagNode* under = parent ? parent : &theWorld();
    NodePtr transform;
    if (isShape && under->isWorld()) {
        NodeClass* tcls = theRegistry().findClass("transform");
        transform = scene.create(*tcls, transformNameFor(cls, name), &st);
        if (!transform) {
            if (status) *status = st;
            return out;
        }
        reparent(static_cast<DagNode&>(*transform), &theWorld());
        under = static_cast<DagNode*>(transform.get());
    }
    NodePtr node = scene.create(cls, name, &st);
    if (!node) {
        if (transform) {
            reparent(static_cast<DagNode&>(*transform), nullptr);
            scene.detach(*transform);
        }
        if (status) *status = st;
        return out;
    }
    if (name.empty() && isShape && transform) {
        // Default shape names follow the transform: polySurface1 -> polySurfaceShape1.
        std::string base = transform->name;
        size_t end = base.size();
        while (end > 0 && std::isdigit(static_cast<unsigned char>(base[end - 1]))) --end;
        scene.rename(*node, base.substr(0, end) + "Shape" + base.substr(end));
    }
    reparent(static_cast<DagNode&>(*node), under);
    out.node = node;
    out.top = transform ? transform : node;
    if (status) *status = MStatus::kSuccess;
    return out;
}

// ---------------------------------------------------------------- removal

namespace {

//! The nodes and their DAG descendants, children before their parent. An
//! explicit stack: a hierarchy may be deeper than the call stack.
void collect(Node* root, std::vector<Node*>& out, std::set<Node*>& seen) {
    struct Visit {
        Node* node;
        std::vector<NodePtr> children;  // a copy: removal reparents them
        size_t next = 0;
    };
    auto visit = [&seen](Node* n) -> std::optional<Visit> {
        if (!n || !n->alive || !seen.insert(n).second) return std::nullopt;
        Visit v{n, {}};
        if (auto* d = dynamic_cast<DagNode*>(n)) v.children = d->children;
        return v;
    };
    std::vector<Visit> stack;
    if (auto v = visit(root)) stack.push_back(std::move(*v));
    while (!stack.empty()) {
        Visit& top = stack.back();
        if (top.next < top.children.size()) {
            Node* child = top.children[top.next++].get();
            if (auto v = visit(child)) stack.push_back(std::move(*v));
            continue;
        }
        out.push_back(top.node);
        stack.pop_back();
    }
}

}  // namespace

Removal removeNodes(const std::vector<Node*>& roots) {
    std::vector<Node*> order;
    std::set<Node*> seen;
    for (Node* n : roots) collect(n, order, seen);
    Removal r;
    std::set<std::pair<std::pair<Node*, PlugAddr>, std::pair<Node*, PlugAddr>>> known;
    for (Node* n : order)
        for (auto& [src, dst] : connectionsOf(*n))
            if (known.insert({{src.node, src.addr}, {dst.node, dst.addr}}).second)
                r.connections.push_back({src, dst});
    for (auto& [src, dst] : r.connections) disconnect(src, dst);
    auto& sel = theSelection().items;
    const std::set<Node*> leaving(order.begin(), order.end());
    sel.erase(std::remove_if(sel.begin(), sel.end(),
                             [&](const SelItem& s) { return leaving.count(s.node.get()) != 0; }),
              sel.end());
    for (Node* n : order) {
        Removal::Entry e;
        e.node = n->self();
        if (auto* d = dynamic_cast<DagNode*>(n)) {
            e.parent = d->parent;
            e.position = childPosition(*d);
            reparent(*d, nullptr);
        }
        r.nodes.push_back(std::move(e));
    }
    theScene().detach(order);
    return r;
}

void restore(const Removal& removal) {
    Scene& scene = theScene();
    // All at once, but for nodes whose names were taken meanwhile: each of
    // those is renamed as it comes back, so that no two take the same name.
    std::vector<NodePtr> back, renamed;
    back.reserve(removal.nodes.size());
    for (auto it = removal.nodes.rbegin(); it != removal.nodes.rend(); ++it)
        (scene.find(it->node->name) ? renamed : back).push_back(it->node);
    scene.attach(back);
    for (const NodePtr& n : renamed) {
        scene.rename(*n, scene.uniqueName(n->name));
        scene.attach(n);
    }
    for (auto it = removal.nodes.rbegin(); it != removal.nodes.rend(); ++it)
        if (auto* d = dynamic_cast<DagNode*>(it->node.get()))
            reparent(*d, it->parent, it->position);
    for (auto& [src, dst] : removal.connections)
        if (src.node->alive && dst.node->alive) connect(src, dst);
}

void removeAgain(const Removal& removal) {
    for (auto& [src, dst] : removal.connections)
        if (dst.node->inputs.count(dst.addr)) disconnect(src, dst);
    std::vector<Node*> nodes;
    nodes.reserve(removal.nodes.size());
    for (const auto& e : removal.nodes) {
        if (auto* d = dynamic_cast<DagNode*>(e.node.get())) reparent(*d, nullptr);
        nodes.push_back(e.node.get());
    }
    theScene().detach(nodes);
}

}  // namespace ehost

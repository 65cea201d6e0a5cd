#include "host/src/nodes/History.h"

#include <algorithm>
#include <set>

#include "host/src/dg/Scene.h"

namespace ehost {

bool historyRecording() {
    return theScene().recordsHistory;
}
void setHistoryRecording(bool on) {
    theScene().recordsHistory = on;
}

namespace {

//! Nodes upstream of the shape's inMesh whose every output stays inside the
//! history (so deleting them disturbs nothing else).
std::vector<Node*> exclusiveHistory(MeshShape& shape) {
    std::set<Node*> upstream;
    std::vector<Node*> stack;
    auto in = shape.inputs.find(PlugAddr{meshAttributes().inMesh.get(), -1});
    if (in != shape.inputs.end()) stack.push_back(in->second.node);
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        if (n == &shape || n->cls->role == NodeRole::Transform || !upstream.insert(n).second)
            continue;
        for (auto& [addr, src] : n->inputs) stack.push_back(src.node);
    }
    std::vector<Node*> out;
    for (Node* n : upstream) {
        bool onlyInside = std::all_of(n->outputs.begin(), n->outputs.end(), [&](const auto& o) {
            return o.second.node == &shape || upstream.count(o.second.node);
        });
        if (onlyInside) out.push_back(n);
    }
    std::sort(out.begin(), out.end(), [](Node* a, Node* b) { return a->order < b->order; });
    return out;
}

}  // namespace

HistoryRemoval deleteHistory(MeshShape& shape) {
    HistoryRemoval r;
    r.shape = shape.self();
    const auto& a = meshAttributes();
    PlugAddr inMesh{a.inMesh.get(), -1};
    auto in = shape.inputs.find(inMesh);
    if (in == shape.inputs.end()) return r;
    r.ownBefore = shape.cell({a.cachedInMesh.get(), -1}, true)->data;
    auto geometry = shape.base();
    std::vector<Node*> doomed = exclusiveHistory(shape);
    // A copy: the disconnect erases the entry that `in` points at.
    const PlugRef source = in->second;
    r.cut.push_back({source, PlugRef{&shape, inMesh}});
    disconnect(source, PlugRef{&shape, inMesh});
    shape.cell({a.cachedInMesh.get(), -1}, true)->data = std::make_shared<MeshData>(geometry);
    propagateDirty(shape, {a.cachedInMesh.get(), -1});
    r.removal = removeNodes(doomed);
    return r;
}

void restoreHistory(HistoryRemoval& r) {
    if (!r.shape) return;
    restore(r.removal);
    for (auto& [src, dst] : r.cut)
        if (src.node->alive && dst.node->alive) connect(src, dst);
    const auto& a = meshAttributes();
    r.shape->cell({a.cachedInMesh.get(), -1}, true)->data = r.ownBefore;
    propagateDirty(*r.shape, {a.cachedInMesh.get(), -1});
}

}  // namespace ehost

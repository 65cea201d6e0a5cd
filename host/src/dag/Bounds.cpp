#include <functional>

#include "host/src/dag/Dag.h"
#include "host/src/dg/AttrBuild.h"

namespace ehost {

namespace {

bool counts(DagNode& n, bool includeHidden) {
    const auto& a = dagAttributes();
    if (evaluate(n, {a.intermediateObject.get(), -1}).num[0] != 0) return false;
    return includeHidden || evaluate(n, {a.visibility.get(), -1}).num[0] != 0;
}

}  // namespace

MBoundingBox boundsInOwnSpace(DagNode& node, bool includeHidden) {
    MBoundingBox box;
    MBoundingBox own;
    if (node.geometryBox(own, MMatrix::identity)) box.expand(own);
    for (auto& c : node.children) {
        auto& child = static_cast<DagNode&>(*c);
        if (!counts(child, includeHidden)) continue;
        box.expand(boundsInParent(child, includeHidden));
    }
    return box;
}

MBoundingBox boundsInParent(DagNode& node, bool includeHidden) {
    MBoundingBox box = boundsInOwnSpace(node, includeHidden);
    box.transformUsing(node.localMatrix());
    return box;
}

MBoundingBox worldBounds(DagNode& node, bool includeHidden) {
    MBoundingBox box;
    std::function<void(DagNode&)> walk = [&](DagNode& n) {
        MBoundingBox own;
        if (n.geometryBox(own, n.worldMatrix())) box.expand(own);
        for (auto& c : n.children) {
            auto& child = static_cast<DagNode&>(*c);
            if (counts(child, includeHidden)) walk(child);
        }
    };
    walk(node);
    return box;
}

}  // namespace ehost

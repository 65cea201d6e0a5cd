#include <numeric>

#include "host/src/mesh/ops/MeshOps.h"

namespace ehost {

namespace {

//! The UV id of every old face-vertex in one set (-1 where none is assigned).
std::vector<int> faceVertexUVs(const MeshGeometry& mesh, const std::string& set) {
    std::vector<int> out(mesh.numFaceVertices(), -1);
    std::vector<int> counts, ids;
    mesh.getAssignedUVs(counts, ids, set);
    size_t next = 0;
    for (int f = 0; f < mesh.numFaces() && f < static_cast<int>(counts.size()); ++f) {
        if (counts[f] == 0) continue;
        const int first = mesh.faceOffsets()[f];
        for (int k = 0; k < counts[f]; ++k) out[first + k] = ids[next++];
    }
    return out;
}

MeshStatus copyUVSet(const MeshGeometry& old, const MeshPlan& plan, const std::string& set,
                     MeshGeometry& mesh) {
    if (!mesh.hasUVSet(set))
        if (MeshStatus st = mesh.createUVSet(set); !st) return st;
    std::vector<float> u, v;
    old.getUVs(u, v, set);
    if (MeshStatus st = mesh.setUVs(u, v, set); !st) return st;
    const std::vector<int> oldIds = faceVertexUVs(old, set);
    std::vector<int> counts, ids;
    counts.reserve(plan.counts.size());
    size_t corner = 0;
    for (int count : plan.counts) {
        bool assigned = true;
        for (int k = 0; k < count; ++k) {
            const int source = plan.sources[corner + k];
            if (source < 0 || oldIds[source] < 0) assigned = false;
        }
        counts.push_back(assigned ? count : 0);
        if (assigned)
            for (int k = 0; k < count; ++k) ids.push_back(oldIds[plan.sources[corner + k]]);
        corner += count;
    }
    return mesh.assignUVs(counts, ids, set);
}

void carryHardEdges(const MeshGeometry& old, const std::vector<int>& vertexMap,
                    MeshGeometry& mesh) {
    if (old.numHardEdges() == 0) return;
    for (int e = 0; e < old.numEdges(); ++e) {
        if (old.isEdgeSmooth(e)) continue;
        EdgeVertices ends = old.edgeVertices(e);
        const int a = vertexMap[ends.first], b = vertexMap[ends.second];
        if (a < 0 || b < 0 || a == b) continue;
        if (int edge = mesh.findEdge(a, b); edge >= 0) mesh.setEdgeSmoothing(edge, false);
    }
}

}  // namespace

MeshStatus buildFromPlan(const MeshGeometry& old, const MeshPlan& plan, MeshGeometry& out) {
    MeshGeometry mesh;
    if (MeshStatus st = mesh.create(plan.points, plan.counts, plan.vertices); !st) return st;
    for (const std::string& set : old.uvSetNames())
        if (MeshStatus st = copyUVSet(old, plan, set, mesh); !st) return st;
    if (MeshStatus st = mesh.setCurrentUVSet(old.currentUVSetName()); !st) return st;
    carryHardEdges(old, plan.vertexMap, mesh);
    out = std::move(mesh);
    return {};
}

MeshPlan planOf(const MeshGeometry& mesh) {
    MeshPlan plan;
    plan.points = mesh.points();
    plan.counts = mesh.polygonCounts();
    plan.vertices = mesh.polygonConnects();
    plan.sources.resize(plan.vertices.size());
    std::iota(plan.sources.begin(), plan.sources.end(), 0);
    plan.vertexMap.resize(mesh.numVertices());
    std::iota(plan.vertexMap.begin(), plan.vertexMap.end(), 0);
    return plan;
}

}  // namespace ehost

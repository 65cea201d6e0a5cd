#include "host/src/mesh/ops/MeshOps.h"

namespace ehost {

namespace {

//! The vertices a vertex is averaged with (empty: it stays), after the rule
//! described at averageVertices.
std::vector<int> averagingNeighbours(const MeshGeometry& mesh, int vertex) {
    if (!mesh.isVertexOnBoundary(vertex)) return mesh.connectedVertices(vertex);
    std::vector<int> along;
    for (int edge : mesh.vertexEdges(vertex)) {
        if (!mesh.isEdgeOnBoundary(edge)) continue;
        EdgeVertices ends = mesh.edgeVertices(edge);
        along.push_back(ends.first == vertex ? ends.second : ends.first);
    }
    if (along.size() != 2 || mesh.vertexFaces(vertex).size() < 2) return {};
    return along;
}

}  // namespace

MeshStatus averageVertices(const MeshGeometry& in, const std::vector<int>& vertices, int iterations,
                           MeshGeometry& out) {
    if (iterations < 0) return MeshStatus::failure("the number of iterations cannot be negative");
    for (int v : vertices)
        if (v < 0 || v >= in.numVertices())
            return MeshStatus::failure("vertex " + std::to_string(v) + " does not exist");
    std::vector<std::vector<int>> neighbours;
    neighbours.reserve(vertices.size());
    for (int v : vertices) neighbours.push_back(averagingNeighbours(in, v));
    std::vector<Vec3> points = in.points();
    std::vector<Vec3> next;
    for (int pass = 0; pass < iterations; ++pass) {
        next = points;
        for (size_t k = 0; k < vertices.size(); ++k) {
            if (neighbours[k].empty()) continue;
            Vec3 sum;
            for (int n : neighbours[k]) sum += points[n];
            next[vertices[k]] = sum / static_cast<double>(neighbours[k].size());
        }
        points.swap(next);
    }
    MeshGeometry result = in;
    if (MeshStatus st = result.setPoints(points); !st) return st;
    out = std::move(result);
    return {};
}

}  // namespace ehost

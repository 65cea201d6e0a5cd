#pragma once

#include <array>
#include <span>
#include <vector>

#include "geometry/point.h"
#include "geometry/polygon_mesh.h"

namespace geo {

inline constexpr int kNoIndex = -1;

// The part of a mesh the border walks read. A host adapter fills it from the mesh; the lists of
// edges must keep the mesh's own order, because several walks take the first border edge met.
// Accessors answer unknown indices with "nothing" rather than reading out of bounds.
struct BorderMeshView {
    std::vector<Point> positions;                  // by vertex id
    std::vector<std::array<int, 2>> edgeVertices;  // by edge id, in stored order
    std::vector<bool> boundary;                    // by edge id: used by exactly one face
    std::vector<std::vector<int>> vertexEdges;     // by vertex id: the edges around it
    std::vector<std::vector<int>> edgeNeighbours;  // by edge id: edges sharing a vertex with it

    bool hasVertex(int v) const { return v >= 0 && static_cast<std::size_t>(v) < positions.size(); }
    bool hasEdge(int e) const {
        return e >= 0 && static_cast<std::size_t>(e) < edgeVertices.size();
    }

    // The origin for an unknown vertex, as the host's position lookup gives.
    Point position(int v) const { return hasVertex(v) ? positions[v] : Point{}; }
    // {kNoIndex, kNoIndex} for an unknown edge.
    std::array<int, 2> ends(int e) const;
    std::span<const int> edgesAround(int v) const;
    std::span<const int> edgesTouching(int e) const;
};

// Builds the view of a polygon list with the host's numbering: edges are numbered in order of
// first appearance, walking the faces in order and each face's vertices in order (edge v[i],
// v[i+1], the last closing on the first), and keep the vertex order in which they were first met.
// Edges around a vertex, and edges sharing a vertex with an edge, are listed by increasing id.
BorderMeshView makeBorderMeshView(std::vector<Point> positions,
                                  std::span<const std::vector<int>> polygons);
BorderMeshView makeBorderMeshView(const PolygonMesh& mesh);

}  // namespace geo

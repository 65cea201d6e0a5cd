#pragma once
// Edge numbering and adjacency of a polygon mesh, derived from its polygon
// vertex lists. Immutable once built; MeshGeometry builds it on first use and
// shares it between copies until the polygons change.

#include <span>
#include <vector>

namespace ehost {

struct EdgeVertices {
    int first = -1;
    int second = -1;
};

class MeshTopology {
public:
    //! Edges are numbered by walking the faces in order and each face's
    //! vertices in order: edge (v[i], v[(i+1)%n]) gets the next id the first
    //! time its undirected vertex pair is met, and keeps that vertex order.
    //! faceOffsets has numFaces + 1 entries; connects holds valid vertex ids.
    static MeshTopology build(int numVertices, const std::vector<int>& faceOffsets,
                              const std::vector<int>& connects);

    int numEdges() const { return static_cast<int>(edgeVertices_.size() / 2); }
    EdgeVertices edgeVertices(int edge) const {
        return {edgeVertices_[2 * edge], edgeVertices_[2 * edge + 1]};
    }
    //! Faces using the edge, ascending.
    std::span<const int> edgeFaces(int edge) const {
        return range(edgeFaceOffsets_, edgeFaces_, edge);
    }
    //! Exactly one face uses the edge.
    bool isBoundaryEdge(int edge) const {
        return edgeFaceOffsets_[edge + 1] - edgeFaceOffsets_[edge] == 1;
    }
    //! Edge of each face-vertex: the edge from that corner to the next one, so
    //! a face's edges, in face order, start at its face offset.
    const std::vector<int>& faceVertexEdges() const { return faceVertexEdges_; }
    //! Edges touching the vertex, ascending.
    std::span<const int> vertexEdges(int vertex) const {
        return range(vertexEdgeOffsets_, vertexEdges_, vertex);
    }
    //! Faces using the vertex, ascending.
    std::span<const int> vertexFaces(int vertex) const {
        return range(vertexFaceOffsets_, vertexFaces_, vertex);
    }
    //! The edge joining a and b, or -1.
    int findEdge(int a, int b) const;

    std::size_t memoryBytes() const;

private:
    static std::span<const int> range(const std::vector<int>& offsets,
                                      const std::vector<int>& items, int index) {
        return {items.data() + offsets[index],
                static_cast<std::size_t>(offsets[index + 1] - offsets[index])};
    }

    std::vector<int> edgeVertices_;  // two per edge
    std::vector<int> faceVertexEdges_;
    std::vector<int> edgeFaceOffsets_, edgeFaces_;
    std::vector<int> vertexEdgeOffsets_, vertexEdges_;
    std::vector<int> vertexFaceOffsets_, vertexFaces_;
};

}  // namespace ehost

// MeshGeometry: deterministic edge numbering and adjacency.

#include "host/src/mesh/MeshGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "tests/host/test_mesh_kernel_helpers.h"

using ehost::MeshGeometry;
using ehost::Vec3;
using meshkernel::cube;
using meshkernel::grid;
using meshkernel::list;
using meshkernel::strip;

namespace {

// A fan of many triangles around vertex 0, large enough that the edge
// numbering takes its sorted path for that vertex.
MeshGeometry fan(int n) {
    std::vector<Vec3> points = {{0, 0, 0}};
    std::vector<int> counts, ids;
    for (int i = 0; i < n; ++i) points.push_back({std::cos(i * 0.01), std::sin(i * 0.01), 0});
    for (int i = 1; i < n; ++i) {
        counts.push_back(3);
        ids.insert(ids.end(), {0, i, i + 1});
    }
    return meshkernel::made(points, counts, ids);
}

// Invariants that hold for every mesh, checked against a plain map-based
// reference numbering.
void expectConsistentTopology(const MeshGeometry& m) {
    std::map<std::pair<int, int>, int> reference;
    std::vector<std::pair<int, int>> order;
    for (int f = 0; f < m.numFaces(); ++f) {
        auto v = m.faceVertices(f);
        for (std::size_t i = 0; i < v.size(); ++i) {
            int a = v[i], b = v[(i + 1) % v.size()];
            auto key = std::minmax(a, b);
            if (reference.emplace(key, int(order.size())).second) order.emplace_back(a, b);
            EXPECT_EQ(m.faceEdges(f)[i], reference[key]) << "face " << f << " corner " << i;
        }
    }
    ASSERT_EQ(m.numEdges(), int(order.size()));
    std::size_t faceUses = 0;
    for (int e = 0; e < m.numEdges(); ++e) {
        EXPECT_EQ(m.edgeVertices(e).first, order[e].first);
        EXPECT_EQ(m.edgeVertices(e).second, order[e].second);
        EXPECT_EQ(m.findEdge(order[e].second, order[e].first), e);
        auto faces = m.edgeFaces(e);
        EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end()));
        EXPECT_EQ(m.isEdgeOnBoundary(e), faces.size() == 1);
        faceUses += faces.size();
    }
    EXPECT_EQ(faceUses, std::size_t(m.numFaceVertices()));
    for (int v = 0; v < m.numVertices(); ++v) {
        auto edges = m.vertexEdges(v);
        EXPECT_TRUE(std::is_sorted(edges.begin(), edges.end()));
        for (int e : edges)
            EXPECT_TRUE(m.edgeVertices(e).first == v || m.edgeVertices(e).second == v);
        auto faces = m.vertexFaces(v);
        EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end()));
        for (int f : faces) {
            auto corners = m.faceVertices(f);
            EXPECT_NE(std::find(corners.begin(), corners.end(), v), corners.end());
        }
        EXPECT_EQ(m.connectedVertices(v).size(), edges.size());
    }
}

}  // namespace

TEST(MeshEdgeNumbering, FollowsFacesAndCornersInOrder) {
    MeshGeometry m = strip();
    ASSERT_EQ(m.numEdges(), 7);
    const std::vector<std::pair<int, int>> expected = {{0, 1}, {1, 4}, {4, 3}, {3, 0},
                                                       {1, 2}, {2, 5}, {5, 4}};
    for (int e = 0; e < 7; ++e) {
        EXPECT_EQ(m.edgeVertices(e).first, expected[e].first) << e;
        EXPECT_EQ(m.edgeVertices(e).second, expected[e].second) << e;
    }
    EXPECT_EQ(list(m.faceEdges(0)), (std::vector<int>{0, 1, 2, 3}));
    // The shared edge was met as (1, 4) in face 0 and keeps that order.
    EXPECT_EQ(list(m.faceEdges(1)), (std::vector<int>{4, 5, 6, 1}));
}

TEST(MeshEdgeNumbering, ClosedCube) {
    MeshGeometry m = cube();
    ASSERT_EQ(m.numEdges(), 12);
    EXPECT_EQ(m.numVertices() - m.numEdges() + m.numFaces(), 2);
    EXPECT_EQ(m.edgeVertices(2).first, 3);
    EXPECT_EQ(m.edgeVertices(2).second, 2);
    EXPECT_EQ(m.edgeVertices(8).first, 7);
    EXPECT_EQ(m.edgeVertices(8).second, 6);
    EXPECT_EQ(list(m.faceEdges(4)), (std::vector<int>{10, 7, 4, 1}));
    EXPECT_EQ(list(m.faceEdges(5)), (std::vector<int>{11, 3, 6, 9}));
    EXPECT_EQ(list(m.edgeFaces(0)), (std::vector<int>{0, 3}));
    EXPECT_EQ(list(m.edgeFaces(10)), (std::vector<int>{3, 4}));
    for (int e = 0; e < 12; ++e) EXPECT_FALSE(m.isEdgeOnBoundary(e)) << e;
    for (int v = 0; v < 8; ++v) EXPECT_FALSE(m.isVertexOnBoundary(v)) << v;
    expectConsistentTopology(m);
}

TEST(MeshAdjacency, VertexEdgeAndFaceNeighbourhoods) {
    MeshGeometry m = strip();
    EXPECT_EQ(list(m.vertexEdges(1)), (std::vector<int>{0, 1, 4}));
    EXPECT_EQ(list(m.vertexEdges(4)), (std::vector<int>{1, 2, 6}));
    EXPECT_EQ(m.connectedVertices(4), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(list(m.vertexFaces(4)), (std::vector<int>{0, 1}));
    EXPECT_EQ(list(m.vertexFaces(2)), (std::vector<int>{1}));
    EXPECT_EQ(list(m.edgeFaces(1)), (std::vector<int>{0, 1}));
    EXPECT_EQ(m.edgesSharingVertex(1), (std::vector<int>{0, 4, 2, 6}));
    EXPECT_EQ(m.edgesSharingVertex(5), (std::vector<int>{4, 6}));
    EXPECT_EQ(m.findEdge(4, 1), 1);
    EXPECT_EQ(m.findEdge(0, 4), -1);
    EXPECT_EQ(m.findEdge(0, 17), -1);
}

TEST(MeshAdjacency, BoundaryFlags) {
    MeshGeometry m = strip();
    for (int e = 0; e < 7; ++e) EXPECT_EQ(m.isEdgeOnBoundary(e), e != 1) << e;
    for (int v = 0; v < 6; ++v) EXPECT_TRUE(m.isVertexOnBoundary(v));

    // In a 3x3 grid only the centre quad's corners are interior.
    MeshGeometry g = grid(3, 3);
    int boundaryEdges = 0;
    for (int e = 0; e < g.numEdges(); ++e) boundaryEdges += g.isEdgeOnBoundary(e);
    EXPECT_EQ(boundaryEdges, 12);
    EXPECT_EQ(g.numEdges(), 24);
    for (int v : {5, 6, 9, 10}) EXPECT_FALSE(g.isVertexOnBoundary(v)) << v;
    for (int v : {0, 1, 4, 7, 15}) EXPECT_TRUE(g.isVertexOnBoundary(v)) << v;
}

TEST(MeshAdjacency, NonManifoldEdgeHasThreeFaces) {
    MeshGeometry m;
    ASSERT_TRUE(m.create({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}}, {3, 3, 3},
                         {0, 1, 2, 1, 0, 3, 0, 1, 4})
                    .ok());
    EXPECT_EQ(list(m.edgeFaces(0)), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(m.isEdgeOnBoundary(0));
    expectConsistentTopology(m);
}

TEST(MeshAdjacency, OutOfRangeReadsAreNeutral) {
    MeshGeometry m = strip();
    EXPECT_EQ(m.edgeVertices(7).first, -1);
    EXPECT_TRUE(m.edgeFaces(-1).empty());
    EXPECT_TRUE(m.faceEdges(2).empty());
    EXPECT_TRUE(m.vertexEdges(6).empty());
    EXPECT_TRUE(m.vertexFaces(-1).empty());
    EXPECT_TRUE(m.edgesSharingVertex(70).empty());
    EXPECT_FALSE(m.isEdgeOnBoundary(7));
    EXPECT_FALSE(m.isVertexOnBoundary(6));
}

TEST(MeshAdjacency, InvariantsOverSeveralMeshes) {
    expectConsistentTopology(strip());
    expectConsistentTopology(grid(7, 5));
    MeshGeometry f = fan(200);
    expectConsistentTopology(f);
    EXPECT_EQ(f.numEdges(), 200 + 199);
    EXPECT_EQ(f.vertexEdges(0).size(), 200u);
    EXPECT_TRUE(f.isEdgeOnBoundary(0));
    EXPECT_FALSE(f.isEdgeOnBoundary(2));
}

TEST(MeshAdjacency, TopologyFollowsPolygonEdits) {
    MeshGeometry m = strip();
    EXPECT_EQ(m.numEdges(), 7);
    ASSERT_TRUE(m.addPolygon({{2, 0, 0}, {3, 0, 0}, {3, 1, 0}, {2, 1, 0}}, true, 1e-6).ok());
    EXPECT_EQ(m.numEdges(), 10);
    EXPECT_FALSE(m.isEdgeOnBoundary(5));
    EXPECT_EQ(list(m.faceEdges(2)), (std::vector<int>{7, 8, 9, 5}));
    expectConsistentTopology(m);
    ASSERT_TRUE(m.deleteFace(1).ok());
    EXPECT_EQ(m.numEdges(), 8);
    expectConsistentTopology(m);
}

// MeshGeometry: face, vertex and face-vertex normals and edge smoothing.

#include "host/src/mesh/MeshGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/host/test_mesh_kernel_helpers.h"

using ehost::MeshGeometry;
using ehost::Vec3;
using meshkernel::cube;

namespace {

void expectNear(const Vec3& a, const Vec3& b, double eps = 1e-12) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

const double kInvSqrt3 = 1 / std::sqrt(3.0);
const double kInvSqrt2 = 1 / std::sqrt(2.0);

// Cube corner of face f at vertex v.
Vec3 cornerNormal(const MeshGeometry& m, int f, int v) {
    auto corners = m.faceVertices(f);
    for (std::size_t i = 0; i < corners.size(); ++i)
        if (corners[i] == v) return m.faceVertexNormal(f, int(i));
    ADD_FAILURE() << "vertex " << v << " not on face " << f;
    return {};
}

}  // namespace

TEST(MeshNormals, FaceNormalsByNewell) {
    MeshGeometry m = cube();
    const Vec3 expected[] = {{0, 0, 1}, {0, 1, 0}, {0, 0, -1}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}};
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(m.faceNormal(f), expected[f]) << f;
        EXPECT_EQ(m.faceNormals()[f], expected[f]) << f;
    }
    // A non-planar quad gets the average plane: the twist cancels out in x and y.
    MeshGeometry twisted;
    ASSERT_TRUE(
        twisted.create({{0, 0, 0}, {1, 0, 0.25}, {1, 1, 0}, {0, 1, 0.25}}, {4}, {0, 1, 2, 3}).ok());
    EXPECT_EQ(twisted.faceNormal(0), Vec3(0, 0, 1));
    // A tilted triangle, far from the origin.
    MeshGeometry tilted;
    ASSERT_TRUE(
        tilted
            .create({{1e7, 1e7, 1e7}, {1e7 + 1, 1e7, 1e7 + 1}, {1e7, 1e7 + 1, 1e7}}, {3}, {0, 1, 2})
            .ok());
    expectNear(tilted.faceNormal(0), {-kInvSqrt2, 0, kInvSqrt2});
    // Degenerate polygons have no direction.
    MeshGeometry flat;
    ASSERT_TRUE(flat.create({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {3}, {0, 1, 2}).ok());
    EXPECT_EQ(flat.faceNormal(0), Vec3(0, 0, 0));
    EXPECT_EQ(m.faceNormal(6), Vec3(0, 0, 0));
}

TEST(MeshNormals, VertexNormalsSumUnitFaceNormals) {
    MeshGeometry m = cube();
    expectNear(m.vertexNormal(3), {kInvSqrt3, kInvSqrt3, kInvSqrt3});
    expectNear(m.vertexNormal(6), {-kInvSqrt3, -kInvSqrt3, -kInvSqrt3});
    // Unit normals, not area weights: a big and a small face count the same.
    MeshGeometry hinge;
    ASSERT_TRUE(
        hinge.create({{0, 0, 0}, {0, 1, 0}, {10, 0, 0}, {0, 0, 1}}, {3, 3}, {0, 2, 1, 0, 1, 3})
            .ok());
    expectNear(hinge.faceNormal(0), {0, 0, 1});
    expectNear(hinge.faceNormal(1), {1, 0, 0});
    expectNear(hinge.vertexNormal(0), {kInvSqrt2, 0, kInvSqrt2});
    EXPECT_EQ(hinge.vertexNormal(9), Vec3(0, 0, 0));
}

// A vertex's normal asked right after a point moved is worked out from its
// own faces (a brush asks one per moved vertex); it must be the very value
// the whole-mesh normals give.
TEST(MeshNormals, OneVertexNormalAfterAMoveIsTheWholeMeshValueBitForBit) {
    MeshGeometry m = cube();
    ASSERT_TRUE(m.setPoint(0, {0.1, -0.3, 0.7}));
    ASSERT_TRUE(m.setPoint(6, {1.3, 0.9, 1.1}));
    std::vector<Vec3> alone;
    for (int v = 0; v < m.numVertices(); ++v) alone.push_back(m.vertexNormal(v));
    const std::vector<Vec3>& all = m.vertexNormals();
    for (int v = 0; v < m.numVertices(); ++v) {
        EXPECT_EQ(alone[v].x, all[v].x) << v;
        EXPECT_EQ(alone[v].y, all[v].y) << v;
        EXPECT_EQ(alone[v].z, all[v].z) << v;
    }
    EXPECT_EQ(m.vertexNormal(-1).x, 0);
    EXPECT_EQ(m.vertexNormal(m.numVertices()).x, 0);
}

TEST(MeshNormals, AllSmoothCornersUseTheVertexNormal) {
    MeshGeometry m = cube();
    for (int fv = 0; fv < m.numFaceVertices(); ++fv) {
        const auto loc = m.faceVertexLocation(fv);
        EXPECT_EQ(m.faceVertexNormal(loc.face, loc.local), m.vertexNormal(m.polygonConnects()[fv]));
        EXPECT_EQ(m.faceVertexNormals()[fv], m.vertexNormal(m.polygonConnects()[fv]));
    }
    EXPECT_EQ(m.faceVertexNormal(0, 4), Vec3(0, 0, 0));
}

TEST(MeshSmoothing, HardEdgesSplitSmoothingGroups) {
    MeshGeometry m = cube();
    // Edge 1 is (1,3) between front and right; edge 2 is (3,2) between front and top.
    ASSERT_TRUE(m.setEdgeSmoothing(1, false).ok());
    // One hard edge alone does not split: the faces still meet around the corner.
    expectNear(cornerNormal(m, 0, 3), {kInvSqrt3, kInvSqrt3, kInvSqrt3});

    ASSERT_TRUE(m.setEdgeSmoothing(2, false).ok());
    EXPECT_FALSE(m.isEdgeSmooth(1));
    EXPECT_FALSE(m.isEdgeSmooth(2));
    EXPECT_TRUE(m.isEdgeSmooth(0));
    // At vertex 3 the front face is cut off; top and right stay together.
    expectNear(cornerNormal(m, 0, 3), {0, 0, 1});
    expectNear(cornerNormal(m, 1, 3), {kInvSqrt2, kInvSqrt2, 0});
    expectNear(cornerNormal(m, 4, 3), {kInvSqrt2, kInvSqrt2, 0});
    // Vertices 1 and 2 touch one hard edge each and stay one group.
    expectNear(cornerNormal(m, 0, 1), {kInvSqrt3, -kInvSqrt3, kInvSqrt3});
    expectNear(cornerNormal(m, 4, 1), {kInvSqrt3, -kInvSqrt3, kInvSqrt3});
    expectNear(cornerNormal(m, 1, 2), {-kInvSqrt3, kInvSqrt3, kInvSqrt3});
    // Vertex normals ignore smoothing.
    expectNear(m.vertexNormal(3), {kInvSqrt3, kInvSqrt3, kInvSqrt3});
    EXPECT_EQ(m.numHardEdges(), 2);
    EXPECT_EQ(m.edgeSmoothings(), (std::vector<int>{1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));

    ASSERT_TRUE(m.setEdgeSmoothing(2, true).ok());
    m.cleanupEdgeSmoothing();
    expectNear(cornerNormal(m, 0, 3), {kInvSqrt3, kInvSqrt3, kInvSqrt3});
}

TEST(MeshSmoothing, AllHardGivesFaceNormals) {
    MeshGeometry m = cube();
    std::vector<int> edges(12), flags(12, 0);
    for (int e = 0; e < 12; ++e) edges[e] = e;
    ASSERT_TRUE(m.setEdgeSmoothings(edges, flags).ok());
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < 4; ++i) EXPECT_EQ(m.faceVertexNormal(f, i), m.faceNormal(f)) << f << i;
}

TEST(MeshSmoothing, RefusedUpdatesChangeNothing) {
    MeshGeometry m = cube();
    EXPECT_FALSE(m.setEdgeSmoothing(12, false).ok());
    EXPECT_FALSE(m.setEdgeSmoothing(-1, false).ok());
    // The whole batch is checked first.
    const auto s = m.setEdgeSmoothings({0, 1, 40}, {0, 0, 0});
    EXPECT_NE(s.error.find("edge id 40"), std::string::npos) << s.error;
    EXPECT_FALSE(m.setEdgeSmoothings({0, 1}, {0}).ok());
    EXPECT_EQ(m.numHardEdges(), 0);
    EXPECT_TRUE(m.isEdgeSmooth(0));
}

TEST(MeshSmoothing, FlagsSurvivePointEdits) {
    MeshGeometry m = cube();
    ASSERT_TRUE(m.setEdgeSmoothings({1, 2}, {0, 0}).ok());
    std::vector<Vec3> scaled = m.points();
    for (Vec3& p : scaled) p = p * 2;
    ASSERT_TRUE(m.setPoints(scaled).ok());
    EXPECT_FALSE(m.isEdgeSmooth(1));
    EXPECT_FALSE(m.isEdgeSmooth(2));
    expectNear(cornerNormal(m, 0, 3), {0, 0, 1});
    // Normals follow the new points too.
    ASSERT_TRUE(m.setPoint(3, {1, 1, 3}).ok());
    EXPECT_NE(m.faceNormal(0), Vec3(0, 0, 1));
    expectNear(cornerNormal(m, 0, 3), m.faceNormal(0));
}

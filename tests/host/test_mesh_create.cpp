// MeshGeometry: creation and its validation, points, bounds, versions and
// value semantics.

#include "host/src/mesh/MeshGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/host/test_mesh_kernel_helpers.h"

using ehost::MeshGeometry;
using ehost::MeshStatus;
using ehost::Vec3;
using meshkernel::square;
using meshkernel::strip;

namespace {

const std::vector<Vec3> kSquarePoints = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

}  // namespace

TEST(MeshCreate, StoresTheHostCreationFormat) {
    MeshGeometry m = strip();
    EXPECT_EQ(m.numVertices(), 6);
    EXPECT_EQ(m.numFaces(), 2);
    EXPECT_EQ(m.numFaceVertices(), 8);
    EXPECT_EQ(m.polygonCounts(), (std::vector<int>{4, 4}));
    EXPECT_EQ(m.polygonConnects(), (std::vector<int>{0, 1, 4, 3, 1, 2, 5, 4}));
    EXPECT_EQ(m.faceOffsets(), (std::vector<int>{0, 4, 8}));
    EXPECT_EQ(m.polygonVertexCount(1), 4);
    auto f1 = m.faceVertices(1);
    EXPECT_EQ(std::vector<int>(f1.begin(), f1.end()), (std::vector<int>{1, 2, 5, 4}));
    EXPECT_EQ(m.point(5), Vec3(2, 1, 0));
    EXPECT_EQ(m.currentUVSetName(), "map1");
    EXPECT_EQ(m.uvSetNames(), (std::vector<std::string>{"map1"}));
}

TEST(MeshCreate, FaceVertexAndTriangleAddressing) {
    MeshGeometry m;
    ASSERT_TRUE(m.create({{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0}, {5, 5, 5}}, {3, 5},
                         {0, 1, 4, 0, 1, 2, 3, 4})
                    .ok());
    EXPECT_EQ(m.faceVertexIndex(1, 0), 3);
    EXPECT_EQ(m.faceVertexIndex(1, 4), 7);
    EXPECT_EQ(m.faceVertexIndex(1, 5), -1);
    EXPECT_EQ(m.faceVertexIndex(2, 0), -1);
    EXPECT_EQ(m.faceVertexLocation(2).face, 0);
    EXPECT_EQ(m.faceVertexLocation(2).local, 2);
    EXPECT_EQ(m.faceVertexLocation(3).face, 1);
    EXPECT_EQ(m.faceVertexLocation(3).local, 0);
    EXPECT_EQ(m.faceVertexLocation(7).local, 4);
    EXPECT_EQ(m.faceVertexLocation(8).face, -1);
    EXPECT_EQ(m.numFaceTriangles(1), 3);
    EXPECT_EQ(m.faceTriangleVertices(1, 2), (std::array<int, 3>{0, 3, 4}));
    EXPECT_EQ(m.faceTriangleVertices(1, 3), (std::array<int, 3>{-1, -1, -1}));
    // An unused point is allowed and kept.
    EXPECT_EQ(m.numVertices(), 6);
}

TEST(MeshCreate, EmptyMeshIsValid) {
    MeshGeometry m;
    EXPECT_EQ(m.numVertices(), 0);
    EXPECT_EQ(m.numFaces(), 0);
    EXPECT_EQ(m.numEdges(), 0);
    EXPECT_TRUE(m.boundingBox().empty);
    EXPECT_FALSE(m.closestIntersection({0, 0, 1}, {0, 0, -1}, 10).hit);
    EXPECT_FALSE(m.closestPoint({0, 0, 0}).found);
    EXPECT_TRUE(m.create({}, {}, {}).ok());
}

struct BadInput {
    const char* what;
    std::vector<Vec3> points;
    std::vector<int> counts, connects;
    const char* expectedText;
};

TEST(MeshCreate, RefusesBadInputWithAClearMessageAndKeepsTheMesh) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<BadInput> cases = {
        {"counts short of the ids", kSquarePoints, {3}, {0, 1, 2, 3}, "add up to 3"},
        {"counts beyond the ids", kSquarePoints, {4, 3}, {0, 1, 2, 3}, "add up to 7"},
        {"id past the points", kSquarePoints, {4}, {0, 1, 2, 4}, "vertex id 4"},
        {"negative id", kSquarePoints, {3}, {0, -1, 2}, "vertex id -1"},
        {"two-corner polygon", kSquarePoints, {2, 3}, {0, 1, 1, 2, 3}, "polygon 0 has 2"},
        {"negative count", kSquarePoints, {4, -3}, {0, 1, 2, 3}, "negative vertex count (-3)"},
        {"repeated vertex", kSquarePoints, {4}, {0, 1, 2, 1}, "vertex 1 more than once"},
        {"NaN coordinate", {{0, 0, 0}, {1, nan, 0}, {1, 1, 0}}, {3}, {0, 1, 2}, "point 1"},
        {"infinite coordinate", {{0, 0, 0}, {1, 0, 0}, {1, 1, -inf}}, {3}, {0, 1, 2}, "point 2"},
    };
    for (const BadInput& c : cases) {
        MeshGeometry m = square();
        const MeshGeometry before = m;
        const auto version = m.version();
        const MeshStatus s = m.create(c.points, c.counts, c.connects);
        EXPECT_FALSE(s.ok()) << c.what;
        EXPECT_NE(s.error.find(c.expectedText), std::string::npos) << c.what << ": " << s.error;
        EXPECT_TRUE(m == before) << c.what;
        EXPECT_EQ(m.version(), version) << c.what;
    }
}

TEST(MeshCreate, LongPolygonWithARepeatedVertexIsRefused) {
    std::vector<Vec3> points;
    std::vector<int> ids;
    for (int i = 0; i < 40; ++i) {
        points.push_back({std::cos(i * 0.15), std::sin(i * 0.15), 0});
        ids.push_back(i);
    }
    MeshGeometry m;
    EXPECT_TRUE(m.create(points, {40}, ids).ok());
    ids[37] = 3;
    const MeshStatus s = m.create(points, {40}, ids);
    EXPECT_NE(s.error.find("vertex 3 more than once"), std::string::npos) << s.error;
    EXPECT_EQ(m.polygonConnects()[37], 37);
}

TEST(MeshPoints, SetPointsValidatesAndKeepsTopology) {
    MeshGeometry m = strip();
    const int edges = m.numEdges();
    std::vector<Vec3> moved = m.points();
    for (Vec3& p : moved) p.z = 2;
    EXPECT_FALSE(m.setPoints({{0, 0, 0}}).ok());
    moved[3].y = std::numeric_limits<double>::infinity();
    MeshStatus s = m.setPoints(moved);
    EXPECT_NE(s.error.find("point 3"), std::string::npos) << s.error;
    EXPECT_EQ(m.point(3).z, 0);
    moved[3].y = 1;
    EXPECT_TRUE(m.setPoints(moved).ok());
    EXPECT_EQ(m.points(), moved);
    EXPECT_EQ(m.numEdges(), edges);

    EXPECT_TRUE(m.setPoint(5, {7, 8, 9}).ok());
    EXPECT_EQ(m.point(5), Vec3(7, 8, 9));
    EXPECT_FALSE(m.setPoint(6, {0, 0, 0}).ok());
    EXPECT_FALSE(m.setPoint(0, {0, std::nan(""), 0}).ok());
    EXPECT_EQ(m.point(0), Vec3(0, 0, 2));
}

TEST(MeshPoints, BoundingBoxFollowsThePoints) {
    MeshGeometry m = strip();
    ehost::BoundingBox box = m.boundingBox();
    EXPECT_FALSE(box.empty);
    EXPECT_EQ(box.min, Vec3(0, 0, 0));
    EXPECT_EQ(box.max, Vec3(2, 1, 0));
    EXPECT_EQ(box.center(), Vec3(1, 0.5, 0));
    ASSERT_TRUE(m.setPoint(0, {-3, 0, 4}).ok());
    box = m.boundingBox();
    EXPECT_EQ(box.min, Vec3(-3, 0, 0));
    EXPECT_EQ(box.max, Vec3(2, 1, 4));
}

TEST(MeshVersions, EveryEditBumpsTheRightCounters) {
    MeshGeometry m = strip();
    auto v = m.version(), g = m.geometryVersion(), t = m.topologyVersion();

    ASSERT_TRUE(m.setPoint(0, {0, 0, 1}).ok());
    EXPECT_NE(m.version(), v);
    EXPECT_NE(m.geometryVersion(), g);
    EXPECT_EQ(m.topologyVersion(), t);

    v = m.version(), g = m.geometryVersion();
    ASSERT_TRUE(m.setEdgeSmoothing(1, false).ok());
    EXPECT_NE(m.version(), v);
    EXPECT_EQ(m.geometryVersion(), g);

    v = m.version();
    ASSERT_TRUE(m.setUVs({0, 1}, {0, 1}).ok());
    EXPECT_NE(m.version(), v);
    EXPECT_EQ(m.geometryVersion(), g);
    EXPECT_EQ(m.topologyVersion(), t);

    v = m.version();
    ASSERT_TRUE(m.addPolygon({{2, 0, 0}, {3, 0, 0}, {3, 1, 0}}, true, 1e-6).ok());
    EXPECT_NE(m.version(), v);
    EXPECT_NE(m.geometryVersion(), g);
    EXPECT_NE(m.topologyVersion(), t);

    // Refused edits and reads change nothing.
    v = m.version();
    EXPECT_FALSE(m.deleteFace(9).ok());
    EXPECT_FALSE(m.setEdgeSmoothing(99, true).ok());
    m.faceVertexNormals();
    m.closestPoint({0, 0, 0});
    EXPECT_EQ(m.version(), v);
}

TEST(MeshValueSemantics, CopiesAreIndependent) {
    MeshGeometry original = strip();
    original.topology();
    original.faceVertexNormals();
    MeshGeometry copy = original;
    EXPECT_TRUE(copy == original);
    EXPECT_EQ(copy.version(), original.version());

    ASSERT_TRUE(copy.setPoint(0, {0, 0, 5}).ok());
    ASSERT_TRUE(copy.setEdgeSmoothing(0, false).ok());
    ASSERT_TRUE(copy.addPolygon({{5, 5, 5}, {6, 5, 5}, {6, 6, 5}}, false, 0).ok());
    EXPECT_FALSE(copy == original);
    EXPECT_EQ(original.point(0), Vec3(0, 0, 0));
    EXPECT_TRUE(original.isEdgeSmooth(0));
    EXPECT_EQ(original.numFaces(), 2);
    EXPECT_EQ(original.numEdges(), 7);
    EXPECT_EQ(copy.numEdges(), 10);
    EXPECT_EQ(original.faceVertexNormal(0, 0), Vec3(0, 0, 1));

    MeshGeometry assigned;
    assigned = copy;
    EXPECT_TRUE(assigned == copy);
    MeshGeometry moved = std::move(assigned);
    EXPECT_TRUE(moved == copy);
}

TEST(MeshValueSemantics, EqualityIsBitExact) {
    MeshGeometry a = square(), b = square();
    EXPECT_TRUE(a == b);
    ASSERT_TRUE(b.setPoint(0, {-0.0, 0, 0}).ok());
    EXPECT_FALSE(a == b);
    b = square();
    ASSERT_TRUE(b.createUVSet("other").ok());
    EXPECT_FALSE(a == b);
}

TEST(MeshMemory, ReportsTheDataAndTheBuiltCaches) {
    MeshGeometry m = strip();
    const std::size_t bare = m.memoryBytes();
    EXPECT_GE(bare, 6 * sizeof(Vec3) + 8 * sizeof(int));
    m.topology();
    const std::size_t withTopology = m.memoryBytes();
    EXPECT_GT(withTopology, bare);
    m.prepareQueries();
    EXPECT_GT(m.memoryBytes(), withTopology);
}

// MeshGeometry: addPolygon with vertex merging, deleteFace with renumbering.

#include "host/src/mesh/MeshGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/host/test_mesh_kernel_helpers.h"

using ehost::MeshGeometry;
using ehost::Vec3;
using meshkernel::cube;
using meshkernel::grid;
using meshkernel::list;
using meshkernel::made;
using meshkernel::strip;

namespace {

std::vector<Vec3> unitQuadAt(double x, double y) {
    return {{x, y, 0}, {x + 1, y, 0}, {x + 1, y + 1, 0}, {x, y + 1, 0}};
}

}  // namespace

TEST(MeshAddPolygon, NumbersNewVerticesAfterTheExistingOnes) {
    MeshGeometry m;
    auto r = m.addPolygon(unitQuadAt(0, 0), true, 1e-3);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.face, 0);
    EXPECT_EQ(list(m.faceVertices(0)), (std::vector<int>{0, 1, 2, 3}));

    r = m.addPolygon(unitQuadAt(1, 0), true, 1e-3);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.face, 1);
    EXPECT_EQ(list(m.faceVertices(1)), (std::vector<int>{1, 4, 5, 2}));
    EXPECT_EQ(m.point(4), Vec3(2, 0, 0));
    EXPECT_EQ(m.point(5), Vec3(2, 1, 0));

    // A quad above both touches three existing vertices.
    r = m.addPolygon({{0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {1, 2, 0}}, true, 1e-3);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(list(m.faceVertices(2)), (std::vector<int>{3, 2, 5, 6}));
    EXPECT_EQ(m.numVertices(), 7);
    // The merged vertex keeps its own position.
    EXPECT_EQ(m.point(3), Vec3(0, 1, 0));
}

TEST(MeshAddPolygon, MergeToleranceJustInsideAndJustOutside) {
    const double tol = 1e-3;
    for (double offset : {0.0, 0.9999e-3}) {
        MeshGeometry m;
        ASSERT_TRUE(m.addPolygon(unitQuadAt(0, 0), true, tol).ok());
        auto quad = unitQuadAt(1, 0);
        quad[0].x += offset;  // near vertex 1
        auto r = m.addPolygon(quad, true, tol);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(m.faceVertices(1)[0], 1) << offset;
        EXPECT_EQ(m.numVertices(), 6) << offset;
    }
    for (double offset : {1.0001e-3, 2e-3}) {
        MeshGeometry m;
        ASSERT_TRUE(m.addPolygon(unitQuadAt(0, 0), true, tol).ok());
        auto quad = unitQuadAt(1, 0);
        quad[0].y -= offset;
        ASSERT_TRUE(m.addPolygon(quad, true, tol).ok());
        EXPECT_EQ(m.faceVertices(1)[0], 4) << offset;
        EXPECT_EQ(m.numVertices(), 7) << offset;
    }
    // Distance, not a per-axis box: 0.8e-3 on two axes is 1.13e-3 away.
    MeshGeometry m;
    ASSERT_TRUE(m.addPolygon(unitQuadAt(0, 0), true, tol).ok());
    auto quad = unitQuadAt(1, 0);
    quad[0] = quad[0] + Vec3(0.8e-3, 0.8e-3, 0);
    ASSERT_TRUE(m.addPolygon(quad, true, tol).ok());
    EXPECT_EQ(m.faceVertices(1)[0], 4);
}

TEST(MeshAddPolygon, DistanceEqualToTheToleranceMerges) {
    for (double x : {1.25, std::nextafter(1.25, 2.0)}) {
        MeshGeometry m;
        ASSERT_TRUE(m.addPolygon(unitQuadAt(0, 0), true, 0.25).ok());
        auto quad = unitQuadAt(1, 0);
        quad[0].x = x;  // 0.25 from vertex 1, then one step further
        ASSERT_TRUE(m.addPolygon(quad, true, 0.25).ok());
        EXPECT_EQ(m.faceVertices(1)[0], x == 1.25 ? 1 : 4) << x;
    }
}

TEST(MeshAddPolygon, MergesIntoTheLowestVertexWithinTolerance) {
    MeshGeometry m;
    ASSERT_TRUE(m.create({{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {1.0004, 0, 0}, {3, 0, 0}, {1, 2, 0}},
                         {3, 3}, {0, 1, 2, 3, 4, 5})
                    .ok());
    // Nearer to vertex 3, but vertex 0 is also within the tolerance.
    auto r = m.addPolygon({{1.0003, 0, 0}, {1, -1, 0}, {0, -1, 0}}, true, 1e-3);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(m.faceVertices(2)[0], 0);
    // Without merging every corner is new.
    r = m.addPolygon({{1, 0, 0}, {2, 0, 0}, {1, 1, 0}}, false, 1e-3);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(list(m.faceVertices(3)), (std::vector<int>{8, 9, 10}));
}

TEST(MeshAddPolygon, ZeroToleranceMergesExactlyEqualPointsOnly) {
    MeshGeometry m;
    ASSERT_TRUE(m.addPolygon(unitQuadAt(0, 0), true, 0).ok());
    auto quad = unitQuadAt(1, 0);
    quad[3].y = std::nextafter(1.0, 2.0);
    quad[0].x = -0.0 + 1.0;
    ASSERT_TRUE(m.addPolygon(quad, true, 0).ok());
    EXPECT_EQ(list(m.faceVertices(1)), (std::vector<int>{1, 4, 5, 6}));
    // -0 and +0 are the same point.
    ASSERT_TRUE(m.addPolygon({{-0.0, 0, 0}, {0, -1, 0}, {-1, 0, 0}}, true, 0).ok());
    EXPECT_EQ(m.faceVertices(2)[0], 0);
}

TEST(MeshAddPolygon, RefusalsLeaveTheMeshUnchanged) {
    MeshGeometry m = strip();
    ASSERT_TRUE(m.addPolygon(unitQuadAt(5, 5), true, 1e-3).ok());
    const MeshGeometry before = m;
    const auto version = m.version();
    struct Case {
        std::vector<Vec3> corners;
        double tol;
        const char* text;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Case> cases = {
        {{{0, 0, 0}, {1, 0, 0}}, 1e-3, "at least 3 corners"},
        {{}, 1e-3, "at least 3 corners"},
        {{{0, 0, 9}, {1, nan, 9}, {1, 1, 9}}, 1e-3, "corner 1"},
        {{{0, 0, 9}, {1, 0, 9}, {1, 1, 9}}, -1, "tolerance"},
        {{{0, 0, 9}, {1, 0, 9}, {1, 1, 9}}, nan, "tolerance"},
        // Both near existing vertex 0.
        {{{0, 0, 0}, {0.0005, 0, 0}, {0, -1, 0}}, 1e-3, "corner 0 and corner 1"},
        // Two new corners closer than the tolerance.
        {{{9, 9, 9}, {10, 9, 9}, {9.0001, 9, 9}}, 1e-3, "corner 0 and corner 2"},
    };
    for (const Case& c : cases) {
        const auto r = m.addPolygon(c.corners, true, c.tol);
        EXPECT_FALSE(r.ok()) << c.text;
        EXPECT_EQ(r.face, -1);
        EXPECT_NE(r.error.find(c.text), std::string::npos) << r.error;
        EXPECT_TRUE(m == before) << c.text;
        EXPECT_EQ(m.version(), version) << c.text;
    }
    // The same corners are fine without merging.
    EXPECT_TRUE(m.addPolygon({{9, 9, 9}, {10, 9, 9}, {9.0001, 9, 9}}, false, 1e-3).ok());
}

TEST(MeshAddPolygon, MergeSearchFollowsOtherPointEdits) {
    MeshGeometry m;
    ASSERT_TRUE(m.addPolygon(unitQuadAt(0, 0), true, 1e-3).ok());
    ASSERT_TRUE(m.setPoint(0, {-5, -5, 0}).ok());
    ASSERT_TRUE(m.addPolygon({{-5, -5, 0}, {0, 0, 0}, {-5, 0, 0}}, true, 1e-3).ok());
    EXPECT_EQ(list(m.faceVertices(1)), (std::vector<int>{0, 4, 5}));

    // A larger tolerance rebuilds the search.
    ASSERT_TRUE(m.addPolygon({{1.3, 0, 0}, {3, 0, 0}, {3, 1, 0}}, true, 0.5).ok());
    EXPECT_EQ(m.faceVertices(2)[0], 1);

    // Vertices added without merging are found by later merging calls.
    ASSERT_TRUE(m.addPolygon({{7, 7, 7}, {8, 7, 7}, {8, 8, 7}}, false, 0).ok());
    ASSERT_TRUE(m.addPolygon({{7, 7, 7.1}, {6, 7, 7}, {6, 6, 7}}, true, 0.5).ok());
    EXPECT_EQ(m.faceVertices(4)[0], 8);

    // A copy merges against its own points.
    MeshGeometry copy = m;
    ASSERT_TRUE(copy.setPoint(8, {70, 70, 70}).ok());
    ASSERT_TRUE(copy.addPolygon({{70, 70, 70}, {71, 70, 70}, {71, 71, 70}}, true, 0.5).ok());
    EXPECT_EQ(copy.faceVertices(5)[0], 8);
    ASSERT_TRUE(m.addPolygon({{70, 70, 70}, {71, 70, 70}, {71, 71, 70}}, true, 0.5).ok());
    EXPECT_EQ(m.faceVertices(5)[0], m.numVertices() - 3);
}

TEST(MeshAddPolygon, ManyQuadsBuildAWeldedGrid) {
    MeshGeometry m;
    const int n = 40;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            std::vector<Vec3> quad = {{i * 0.1, j * 0.1, 0},
                                      {(i + 1) * 0.1, j * 0.1, 0},
                                      {(i + 1) * 0.1, (j + 1) * 0.1, 0},
                                      {i * 0.1, (j + 1) * 0.1, 0}};
            // Each quad sees its shared corners with its own rounding noise.
            for (Vec3& c : quad) c.x += 1e-9 * ((i + 2 * j) % 3);
            ASSERT_TRUE(m.addPolygon(quad, true, 1e-6).ok());
        }
    }
    EXPECT_EQ(m.numFaces(), n * n);
    EXPECT_EQ(m.numVertices(), (n + 1) * (n + 1));
    EXPECT_EQ(m.numEdges(), 2 * n * (n + 1));
    int boundary = 0;
    for (int e = 0; e < m.numEdges(); ++e) boundary += m.isEdgeOnBoundary(e);
    EXPECT_EQ(boundary, 4 * n);
}

TEST(MeshAddPolygon, NewEdgesAreSmoothAndOldFlagsStay) {
    MeshGeometry m = strip();
    ASSERT_TRUE(m.setEdgeSmoothing(5, false).ok());  // (2,5), the right border
    ASSERT_TRUE(m.addPolygon({{2, 0, 0}, {3, 0, 0}, {3, 1, 0}, {2, 1, 0}}, true, 1e-6).ok());
    EXPECT_FALSE(m.isEdgeSmooth(5));
    for (int e = 7; e < m.numEdges(); ++e) EXPECT_TRUE(m.isEdgeSmooth(e)) << e;
    EXPECT_EQ(m.numHardEdges(), 1);
}

TEST(MeshDeleteFace, RemovesOrphansAndRenumbersCompactly) {
    MeshGeometry m = strip();
    ASSERT_TRUE(m.setUVs({0, 1, 2, 3, 4, 5, 6, 7}, {0, 0, 0, 0, 1, 1, 1, 1}).ok());
    ASSERT_TRUE(m.assignUVs({4, 4}, {0, 1, 5, 4, 1, 2, 7, 6}).ok());
    ASSERT_TRUE(m.setEdgeSmoothings({0, 1, 5}, {0, 0, 0}).ok());  // (0,1), (1,4), (2,5)

    ASSERT_TRUE(m.deleteFace(0).ok());
    // Vertices 0 and 3 were only used by face 0; 1,2,4,5 become 0,1,2,3.
    EXPECT_EQ(m.numVertices(), 4);
    EXPECT_EQ(m.points(), (std::vector<Vec3>{{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {2, 1, 0}}));
    EXPECT_EQ(m.numFaces(), 1);
    EXPECT_EQ(list(m.faceVertices(0)), (std::vector<int>{0, 1, 3, 2}));
    std::vector<int> counts, ids;
    ASSERT_TRUE(m.getAssignedUVs(counts, ids).ok());
    EXPECT_EQ(counts, (std::vector<int>{4}));
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 7, 6}));
    EXPECT_EQ(m.numUVs(), 8);
    // (1,4) is now (0,2) and (2,5) is (1,3); (0,1) went with its face.
    EXPECT_EQ(m.numHardEdges(), 2);
    EXPECT_FALSE(m.isEdgeSmooth(m.findEdge(0, 2)));
    EXPECT_FALSE(m.isEdgeSmooth(m.findEdge(1, 3)));
    EXPECT_TRUE(m.isEdgeSmooth(m.findEdge(0, 1)));
    EXPECT_TRUE(m.isEdgeOnBoundary(m.findEdge(0, 2)));
}

TEST(MeshDeleteFace, LaterFacesMoveDownAndSharedVerticesStay) {
    MeshGeometry m = cube();
    ASSERT_TRUE(m.setUVs({0, 1, 2, 3}, {0, 1, 2, 3}).ok());
    std::vector<int> counts(6, 4), ids;
    for (int f = 0; f < 6; ++f)
        ids.insert(ids.end(), {f % 4, (f + 1) % 4, (f + 2) % 4, (f + 3) % 4});
    ASSERT_TRUE(m.assignUVs(counts, ids).ok());
    ASSERT_TRUE(m.setEdgeSmoothing(1, false).ok());  // (1,3): front | right

    ASSERT_TRUE(m.deleteFace(2).ok());
    EXPECT_EQ(m.numVertices(), 8);
    EXPECT_EQ(m.numFaces(), 5);
    EXPECT_EQ(list(m.faceVertices(2)), (std::vector<int>{6, 7, 1, 0}));
    EXPECT_EQ(list(m.faceVertices(4)), (std::vector<int>{6, 0, 2, 4}));
    std::vector<int> gotCounts, gotIds;
    ASSERT_TRUE(m.getAssignedUVs(gotCounts, gotIds).ok());
    std::vector<int> expected(ids.begin(), ids.begin() + 8);
    expected.insert(expected.end(), ids.begin() + 12, ids.end());
    EXPECT_EQ(gotIds, expected);
    EXPECT_FALSE(m.isEdgeSmooth(m.findEdge(1, 3)));
    EXPECT_EQ(m.numHardEdges(), 1);
    for (int v : {4, 5, 6, 7}) EXPECT_TRUE(m.isVertexOnBoundary(v));
}

TEST(MeshDeleteFace, EdgesLosingAllFacesForgetTheirFlag) {
    MeshGeometry m = cube();
    ASSERT_TRUE(m.setEdgeSmoothings({1, 2}, {0, 0}).ok());  // (1,3) and (3,2)
    ASSERT_TRUE(m.deleteFaces({1, 0, 1}).ok());             // front and top
    EXPECT_EQ(m.numVertices(), 8);
    EXPECT_EQ(m.numHardEdges(), 1);
    EXPECT_EQ(m.findEdge(2, 3), -1);
    // Putting the front back makes (3,2) again, smooth this time.
    const auto r =
        m.addPolygon({{-.5, -.5, .5}, {.5, -.5, .5}, {.5, .5, .5}, {-.5, .5, .5}}, true, 1e-6);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(list(m.faceVertices(r.face)), (std::vector<int>{0, 1, 3, 2}));
    EXPECT_TRUE(m.isEdgeSmooth(m.findEdge(2, 3)));
    EXPECT_FALSE(m.isEdgeSmooth(m.findEdge(1, 3)));
}

TEST(MeshDeleteFace, PointsUnusedBeforeAreKept) {
    MeshGeometry m;
    ASSERT_TRUE(m.create({{9, 9, 9}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 0, 0}}, {3, 3},
                         {1, 2, 3, 2, 4, 3})
                    .ok());
    ASSERT_TRUE(m.deleteFace(1).ok());
    EXPECT_EQ(m.points(), (std::vector<Vec3>{{9, 9, 9}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
    EXPECT_EQ(list(m.faceVertices(0)), (std::vector<int>{1, 2, 3}));
}

TEST(MeshDeleteFace, RefusesBadIdsAndMergesAgainAfterwards) {
    MeshGeometry m = strip();
    const MeshGeometry before = m;
    EXPECT_NE(m.deleteFace(2).error.find("face id 2"), std::string::npos);
    EXPECT_FALSE(m.deleteFace(-1).ok());
    EXPECT_FALSE(m.deleteFaces({0, 7}).ok());
    EXPECT_TRUE(m == before);

    // The merge search must see the renumbered points.
    ASSERT_TRUE(m.addPolygon(unitQuadAt(2, 0), true, 1e-3).ok());
    ASSERT_TRUE(m.deleteFace(0).ok());
    const auto r = m.addPolygon({{3, 1, 0}, {3, 2, 0}, {2, 2, 0}}, true, 1e-3);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(m.point(m.faceVertices(r.face)[0]), Vec3(3, 1, 0));
    EXPECT_LT(m.faceVertices(r.face)[0], 6);
    // Deleting everything leaves the unused-before points only (none here).
    ASSERT_TRUE(m.deleteFaces({0, 1, 2}).ok());
    EXPECT_EQ(m.numVertices(), 0);
    EXPECT_EQ(m.numEdges(), 0);
}

namespace {

//! The same mesh, built from its own arrays: what a deletion must give back.
void expectSameMesh(const MeshGeometry& got, const MeshGeometry& want) {
    EXPECT_EQ(got.points(), want.points());
    EXPECT_EQ(got.numFaces(), want.numFaces());
    for (int f = 0; f < std::min(got.numFaces(), want.numFaces()); ++f)
        EXPECT_EQ(list(got.faceVertices(f)), list(want.faceVertices(f))) << "face " << f;
    std::vector<int> gotCounts, gotIds, wantCounts, wantIds;
    ASSERT_TRUE(got.getAssignedUVs(gotCounts, gotIds).ok());
    ASSERT_TRUE(want.getAssignedUVs(wantCounts, wantIds).ok());
    EXPECT_EQ(gotCounts, wantCounts);
    EXPECT_EQ(gotIds, wantIds);
    EXPECT_EQ(got.numEdges(), want.numEdges());
}

}  // namespace

// The tool deletes its last patch face by face from the end: each deletion
// trims the mesh without a walk over it, and the result is exactly the mesh
// the patch was added to, ready for the next patch.
TEST(MeshDeleteFace, TrailingFacesGoBackToTheMeshTheyWereAddedTo) {
    MeshGeometry before = grid(6, 6);
    ASSERT_TRUE(before.setUVs({0, 1}, {0, 1}).ok());
    std::vector<int> counts(36, 4), ids(144, 0);
    ASSERT_TRUE(before.assignUVs(counts, ids).ok());
    MeshGeometry m = before;
    std::vector<int> added;
    for (int i = 0; i < 6; ++i) {
        auto r = m.addPolygon(
            {{double(i), 6, 0}, {i + 1.0, 6, 0}, {i + 1.0, 7, 0}, {double(i), 7, 0}}, true, 1e-6);
        ASSERT_TRUE(r.ok());
        added.push_back(r.face);
    }
    EXPECT_EQ(m.numVertices(), before.numVertices() + 7) << "the new row shares the old border";
    for (auto it = added.rbegin(); it != added.rend(); ++it) ASSERT_TRUE(m.deleteFace(*it).ok());
    expectSameMesh(m, before);
    // The mesh takes patches again as before: a face on the border merges.
    auto again = m.addPolygon({{0, 6, 0}, {1, 6, 0}, {1, 7, 0}, {0, 7, 0}}, true, 1e-6);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(m.numVertices(), before.numVertices() + 2);
}

TEST(MeshDeleteFace, ATrailingFaceWhoseLoneVertexIsNotLastStillRenumbers) {
    // The last face uses vertex 0 alone: deleting it removes vertex 0 and
    // every other vertex moves down by one.
    MeshGeometry m = made({{5, 5, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {4, 3},
                          {1, 2, 3, 4, 0, 2, 3});
    ASSERT_TRUE(m.deleteFace(1).ok());
    EXPECT_EQ(m.numVertices(), 4);
    EXPECT_EQ(list(m.faceVertices(0)), (std::vector<int>{0, 1, 2, 3}));
}

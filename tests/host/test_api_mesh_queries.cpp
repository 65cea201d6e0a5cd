// MFnMesh ray and proximity queries in world space, on the unit cube under a
// translated, rotated and non-uniformly scaled transform (see
// MeshApiTest::placeTransform): the cube spans x 8..12, y -5.5..-2.5, z 1..3,
// face 0 lies at x = 8 and face 1 at x = 12. Outputs are single precision, and
// a 90 degree rotation is not exact in binary, so positions are compared to
// a few float steps.

#include <maya/MFloatPointArray.h>
#include <maya/MFnMeshData.h>

#include "host/src/mesh/MeshGeometry.h"
#include "tests/host/test_api_mesh_helpers.h"

namespace {

using meshtest::ints;
using meshtest::MeshApiTest;
using meshtest::vec;

constexpr double kFloatEps = 1e-5;

void expectNear(const MFloatPoint& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, kFloatEps) << "x";
    EXPECT_NEAR(p.y, y, kFloatEps) << "y";
    EXPECT_NEAR(p.z, z, kFloatEps) << "z";
}

void expectNear(const MPoint& p, double x, double y, double z, double eps = 1e-12) {
    EXPECT_NEAR(p.x, x, eps) << "x";
    EXPECT_NEAR(p.y, y, eps) << "y";
    EXPECT_NEAR(p.z, z, eps) << "z";
}

// One closestIntersection call with every output captured.
struct Hit {
    bool hit = false;
    MStatus status;
    MFloatPoint point;
    float param = -1, bary1 = -1, bary2 = -1;
    int face = -1, triangle = -1;
};

Hit closest(const MFnMesh& fn, MFloatPoint source, MFloatVector direction, float maxParam,
            bool both = false, MSpace::Space space = MSpace::kWorld,
            const MIntArray* faces = nullptr, const MIntArray* triangles = nullptr) {
    Hit h;
    MMeshIsectAccelParams accel = MFnMesh::autoUniformGridParams();
    h.hit = fn.closestIntersection(source, direction, faces, triangles, false, space, maxParam,
                                   both, &accel, h.point, &h.param, &h.face, &h.triangle, &h.bary1,
                                   &h.bary2, 1e-6f, &h.status);
    return h;
}

class MeshQueryTest : public MeshApiTest {
protected:
    void SetUp() override {
        MeshApiTest::SetUp();
        path = makeTransformedCube();
        fn.setObject(path);
    }
    MDagPath path;
    MFnMesh fn;
};

// ---------------------------------------------------------------- closest intersection

TEST_F(MeshQueryTest, WorldRayHitsTheNearFaceWithItsParameterInDirectionUnits) {
    // Direction of length 2: x = 8 is reached at t = 4.
    Hit h = closest(fn, MFloatPoint(0, -4.75f, 1.5f), MFloatVector(2, 0, 0), 100);
    ASSERT_TRUE(h.status) << h.status.errorString();
    ASSERT_TRUE(h.hit);
    expectNear(h.point, 8, -4.75, 1.5);
    EXPECT_NEAR(h.param, 4, kFloatEps);
    EXPECT_EQ(h.face, 0);
    // Object (0.25, -0.25, -0.5): in face 0's second fan triangle (v0, v2, v1),
    // a quarter of the way to v2 and half of the way to v1.
    EXPECT_EQ(h.triangle, 1);
    EXPECT_NEAR(h.bary1, 0.25, kFloatEps);
    EXPECT_NEAR(h.bary2, 0.5, kFloatEps);
}

TEST_F(MeshQueryTest, MaxParamBoundsTheReachInDirectionUnits) {
    EXPECT_FALSE(closest(fn, MFloatPoint(0, -4, 2), MFloatVector(2, 0, 0), 3.999f).hit);
    EXPECT_TRUE(closest(fn, MFloatPoint(0, -4, 2), MFloatVector(2, 0, 0), 4.001f).hit);
    // Pointing away, only the both-directions query reaches the cube, behind the source.
    EXPECT_FALSE(closest(fn, MFloatPoint(0, -4, 2), MFloatVector(-1, 0, 0), 100).hit);
    Hit back = closest(fn, MFloatPoint(0, -4, 2), MFloatVector(-1, 0, 0), 100, true);
    ASSERT_TRUE(back.hit);
    EXPECT_NEAR(back.param, -8, kFloatEps);
    expectNear(back.point, 8, -4, 2);
    EXPECT_EQ(back.face, 0);
    EXPECT_FALSE(closest(fn, MFloatPoint(0, -4, 2), MFloatVector(-1, 0, 0), 7.9f, true).hit);
}

TEST_F(MeshQueryTest, FromInsideBackFacesAreHitAndTheNearerSideWins) {
    // From x = 9: the far face (x = 12) ahead at t = 3, the near one (x = 8) behind at t = -1.
    Hit ahead = closest(fn, MFloatPoint(9, -4, 2), MFloatVector(1, 0, 0), 100);
    ASSERT_TRUE(ahead.hit);
    EXPECT_EQ(ahead.face, 1);
    EXPECT_NEAR(ahead.param, 3, kFloatEps);
    expectNear(ahead.point, 12, -4, 2);
    Hit both = closest(fn, MFloatPoint(9, -4, 2), MFloatVector(1, 0, 0), 100, true);
    ASSERT_TRUE(both.hit);
    EXPECT_EQ(both.face, 0);
    EXPECT_NEAR(both.param, -1, kFloatEps);
    expectNear(both.point, 8, -4, 2);
}

TEST_F(MeshQueryTest, FaceAndTriangleIdsLimitTheCandidates) {
    const MIntArray far = ints({1});
    Hit h = closest(fn, MFloatPoint(0, -4.75f, 1.5f), MFloatVector(1, 0, 0), 100, false,
                    MSpace::kWorld, &far);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.face, 1);
    EXPECT_NEAR(h.param, 12, kFloatEps);
    // Face 0's first triangle is not where this ray crosses it.
    const MIntArray face0 = ints({0}), tri0 = ints({0}), tri1 = ints({1});
    EXPECT_FALSE(closest(fn, MFloatPoint(0, -4.75f, 1.5f), MFloatVector(1, 0, 0), 100, false,
                         MSpace::kWorld, &face0, &tri0)
                     .hit);
    EXPECT_TRUE(closest(fn, MFloatPoint(0, -4.75f, 1.5f), MFloatVector(1, 0, 0), 100, false,
                        MSpace::kWorld, &face0, &tri1)
                    .hit);
}

TEST_F(MeshQueryTest, ObjectSpaceRaysIgnoreTheTransform) {
    Hit h = closest(fn, MFloatPoint(0, 0, -3), MFloatVector(0, 0, 1), 100, false, MSpace::kObject);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.face, 0);
    EXPECT_EQ(h.param, 2.5f);
    EXPECT_EQ(h.point, MFloatPoint(0, 0, -0.5f));
}

// ---------------------------------------------------------------- all hits and intersect

TEST_F(MeshQueryTest, AllIntersectionsListsEveryHitInOrder) {
    MFloatPointArray points;
    MFloatArray params, bary1, bary2;
    MIntArray faces, triangles;
    MStatus st;
    const bool any =
        fn.allIntersections(MFloatPoint(0, -4.75f, 1.5f), MFloatVector(1, 0, 0), nullptr, nullptr,
                            false, MSpace::kWorld, 100, false, nullptr, true, points, &params,
                            &faces, &triangles, &bary1, &bary2, 1e-6f, &st);
    ASSERT_TRUE(st) << st.errorString();
    ASSERT_TRUE(any);
    ASSERT_EQ(points.length(), 2u);
    EXPECT_EQ(vec(faces), std::vector<int>({0, 1}));
    EXPECT_NEAR(params[0], 8, kFloatEps);
    EXPECT_NEAR(params[1], 12, kFloatEps);
    expectNear(points[1], 12, -4.75, 1.5);
    EXPECT_EQ(triangles.length(), 2u);
    EXPECT_EQ(bary1.length(), 2u);

    // Both directions from inside: the hit behind comes first (t ascending).
    fn.allIntersections(MFloatPoint(9, -4, 2), MFloatVector(1, 0, 0), nullptr, nullptr, false,
                        MSpace::kWorld, 100, true, nullptr, true, points, &params, &faces, nullptr,
                        nullptr, nullptr, 1e-6f, &st);
    ASSERT_EQ(points.length(), 2u);
    EXPECT_NEAR(params[0], -1, kFloatEps);
    EXPECT_NEAR(params[1], 3, kFloatEps);
    EXPECT_EQ(vec(faces), std::vector<int>({0, 1}));

    // A miss clears what the arrays held.
    EXPECT_FALSE(fn.allIntersections(MFloatPoint(0, 10, 0), MFloatVector(1, 0, 0), nullptr, nullptr,
                                     false, MSpace::kWorld, 100, false, nullptr, true, points,
                                     &params, &faces, nullptr, nullptr, nullptr, 1e-6f, &st));
    EXPECT_TRUE(st);
    EXPECT_EQ(points.length(), 0u);
    EXPECT_EQ(params.length(), 0u);
    EXPECT_EQ(faces.length(), 0u);
}

TEST_F(MeshQueryTest, ARayThroughAnEdgeIsOneHit) {
    // Diagonally in through the edge faces 0 (x = 8) and 2 (y = -5.5) share,
    // out through face 3 (y = -2.5).
    MFloatPointArray points;
    MFloatArray params;
    MIntArray faces;
    fn.allIntersections(MFloatPoint(7, -6.5f, 2), MFloatVector(1, 1, 0), nullptr, nullptr, false,
                        MSpace::kWorld, 100, false, nullptr, true, points, &params, &faces, nullptr,
                        nullptr, nullptr, 1e-4f);
    ASSERT_EQ(points.length(), 2u);
    expectNear(points[0], 8, -5.5, 2);
    expectNear(points[1], 11, -2.5, 2);
    EXPECT_EQ(vec(faces), std::vector<int>({0, 3}));  // the lowest face stands for the edge
    EXPECT_NEAR(params[0], 1, kFloatEps);
}

TEST_F(MeshQueryTest, IntersectReturnsForwardHitsWithTheirPolygons) {
    MPointArray points;
    MIntArray polygons;
    MStatus st;
    ASSERT_TRUE(fn.intersect(MPoint(10, -4, -10), MVector(0, 0, 1), points, 1e-5, MSpace::kWorld,
                             &polygons, &st));
    ASSERT_TRUE(st) << st.errorString();
    // World z = 1 is object x = +0.5 (face 5), z = 3 is object x = -0.5 (face 4).
    ASSERT_EQ(points.length(), 2u);
    expectNear(points[0], 10, -4, 1, 1e-9);
    expectNear(points[1], 10, -4, 3, 1e-9);
    EXPECT_EQ(vec(polygons), std::vector<int>({5, 4}));
    EXPECT_FALSE(fn.intersect(MPoint(10, -4, -10), MVector(0, 0, -1), points, 1e-5, MSpace::kWorld,
                              &polygons));
    EXPECT_EQ(points.length(), 0u);
    EXPECT_EQ(polygons.length(), 0u);
}

// ---------------------------------------------------------------- closest point

TEST_F(MeshQueryTest, ClosestPointInWorldSpace) {
    MPoint p;
    int polygon = -1;
    ASSERT_TRUE(fn.getClosestPoint(MPoint(5, -4, 2), p, MSpace::kWorld, &polygon));
    expectNear(p, 8, -4, 2);
    EXPECT_EQ(polygon, 0);
    // Inside, 0.1 below the z = 3 side (object x = -0.5, face 4).
    ASSERT_TRUE(fn.getClosestPoint(MPoint(10, -4, 2.9), p, MSpace::kWorld, &polygon));
    expectNear(p, 10, -4, 3);
    EXPECT_EQ(polygon, 4);
    // Smooth corners: at the face's centre the blended corner normals point
    // straight out of the face.
    MVector n;
    ASSERT_TRUE(fn.getClosestNormal(MPoint(10, -4, 2.9), n, MSpace::kWorld));
    EXPECT_NEAR(n.x, 0, 1e-12);
    EXPECT_NEAR(n.y, 0, 1e-12);
    EXPECT_NEAR(n.z, 1, 1e-12);
}

TEST_F(MeshQueryTest, UnderNonUniformScaleTheNearestIsByObjectSpaceDistance) {
    // World distances from (11.2, -4, 2.5): 0.5 to the z = 3 side, 0.8 to the
    // x = 12 side. In object space (scaled 4 along world x, 2 along world z)
    // they are 0.25 and 0.2, so the x = 12 side (face 1) is the answer.
    MPoint p;
    int polygon = -1;
    ASSERT_TRUE(fn.getClosestPoint(MPoint(11.2, -4, 2.5), p, MSpace::kWorld, &polygon));
    EXPECT_EQ(polygon, 1);
    expectNear(p, 12, -4, 2.5);
}

TEST_F(MeshQueryTest, HardEdgesGiveTheFaceNormalAtTheClosestPoint) {
    MIntArray edges, flags;
    for (int e = 0; e < fn.numEdges(); ++e) {
        edges.append(e);
        flags.append(0);
    }
    ASSERT_TRUE(fn.setEdgeSmoothings(edges, flags));
    MPoint p;
    MVector n;
    int polygon = -1;
    ASSERT_TRUE(fn.getClosestPointAndNormal(MPoint(10, -4, 2.9), p, n, MSpace::kWorld, &polygon));
    EXPECT_EQ(polygon, 4);
    expectNear(p, 10, -4, 3);
    EXPECT_NEAR(n.x, 0, 1e-12);
    EXPECT_NEAR(n.y, 0, 1e-12);
    EXPECT_NEAR(n.z, 1, 1e-12);
}

// ---------------------------------------------------------------- BVH reuse

TEST_F(MeshQueryTest, RepeatedQueriesReuseOneBvhUntilThePointsMove) {
    closest(fn, MFloatPoint(0, -4, 2), MFloatVector(1, 0, 0), 100);
    const auto builds = ehost::MeshGeometry::totalBvhBuilds();
    for (int i = 0; i < 5; ++i) {
        closest(fn, MFloatPoint(0, -4, 2 + 0.1f * i), MFloatVector(1, 0, 0), 100);
        MPoint p;
        fn.getClosestPoint(MPoint(0, 0, 0), p, MSpace::kWorld);
    }
    EXPECT_EQ(ehost::MeshGeometry::totalBvhBuilds(), builds);
    // Moving the transform changes no geometry either.
    MFnTransform(path.transform()).setTranslation(MVector(0, 0, 0), MSpace::kTransform);
    closest(fn, MFloatPoint(-10, 0, 0), MFloatVector(1, 0, 0), 100);
    EXPECT_EQ(ehost::MeshGeometry::totalBvhBuilds(), builds);
    ASSERT_TRUE(fn.setPoint(0, MPoint(-0.6, -0.5, -0.5)));
    Hit h = closest(fn, MFloatPoint(-10, 0, 0), MFloatVector(1, 0, 0), 100);
    EXPECT_TRUE(h.hit);
    EXPECT_EQ(ehost::MeshGeometry::totalBvhBuilds(), builds + 1);
}

// ---------------------------------------------------------------- refusals

TEST_F(MeshQueryTest, BadQueriesFailWithAReason) {
    Hit h;
    MFnMesh byNode(path.node());
    h = closest(byNode, MFloatPoint(0, -4, 2), MFloatVector(1, 0, 0), 100);
    EXPECT_FALSE(h.status);
    EXPECT_FALSE(h.hit);
    EXPECT_NE(h.status.errorString().str().find("DAG path"), std::string::npos)
        << h.status.errorString();
    // The same node answers in object space.
    EXPECT_TRUE(
        closest(byNode, MFloatPoint(0, 0, -3), MFloatVector(0, 0, 1), 100, false, MSpace::kObject)
            .hit);

    const MIntArray badFace = ints({6});
    h = closest(fn, MFloatPoint(0, -4, 2), MFloatVector(1, 0, 0), 100, false, MSpace::kWorld,
                &badFace);
    EXPECT_FALSE(h.status);
    EXPECT_NE(h.status.errorString().str().find("6"), std::string::npos) << h.status.errorString();
    const MIntArray twoFaces = ints({0, 1}), oneTriangle = ints({0});
    h = closest(fn, MFloatPoint(0, -4, 2), MFloatVector(1, 0, 0), 100, false, MSpace::kWorld,
                &twoFaces, &oneTriangle);
    EXPECT_FALSE(h.status);

    MPointArray points;
    MStatus st;
    fn.intersect(MPoint(0, -4, 2), MVector(1, 0, 0), points, -1.0, MSpace::kWorld, nullptr, &st);
    EXPECT_FALSE(st);

    MFnMesh none;
    h = closest(none, MFloatPoint(0, -4, 2), MFloatVector(1, 0, 0), 100);
    EXPECT_FALSE(h.status);
    MPoint p;
    EXPECT_FALSE(none.getClosestPoint(MPoint(), p));
    // A zero direction hits nothing but is no error.
    h = closest(fn, MFloatPoint(0, -4, 2), MFloatVector(0, 0, 0), 100);
    EXPECT_TRUE(h.status);
    EXPECT_FALSE(h.hit);
}

TEST_F(MeshQueryTest, EmptyMeshDataHasNoClosestPoint) {
    MFnMeshData data;
    MObject owner = data.create();
    MFnMesh empty(owner);
    MPoint p;
    MStatus st = empty.getClosestPoint(MPoint(), p);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("no faces"), std::string::npos) << st.errorString();
    EXPECT_FALSE(
        closest(empty, MFloatPoint(0, 0, -3), MFloatVector(0, 0, 1), 100, false, MSpace::kObject)
            .hit);
}

}  // namespace

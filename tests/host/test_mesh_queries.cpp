// MeshGeometry: ray intersections and closest points through the Embree BVH.

#include "host/src/mesh/MeshGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

#include "tests/host/test_mesh_kernel_helpers.h"

using ehost::MeshGeometry;
using ehost::RayHit;
using ehost::Vec3;
using meshkernel::cube;
using meshkernel::grid;
using meshkernel::square;

namespace {

void expectBarycentricsMatch(const MeshGeometry& m, const RayHit& h, double eps = 1e-12) {
    const auto tri = m.faceTriangleVertices(h.face, h.triangle);
    const Vec3 blended = m.point(tri[0]) * (1 - h.bary1 - h.bary2) + m.point(tri[1]) * h.bary1 +
                         m.point(tri[2]) * h.bary2;
    EXPECT_NEAR(blended.x, h.point.x, eps);
    EXPECT_NEAR(blended.y, h.point.y, eps);
    EXPECT_NEAR(blended.z, h.point.z, eps);
}

}  // namespace

TEST(MeshRayHits, ExactHitsOnAPlane) {
    const MeshGeometry m = square();
    RayHit h = m.closestIntersection({0.75, 0.25, 5}, {0, 0, -2}, 10);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.point, Vec3(0.75, 0.25, 0));
    EXPECT_EQ(h.rayParam, 2.5);  // in units of the direction's length
    EXPECT_EQ(h.face, 0);
    EXPECT_EQ(h.triangle, 0);
    EXPECT_EQ(h.bary1, 0.5);
    EXPECT_EQ(h.bary2, 0.25);
    expectBarycentricsMatch(m, h);

    h = m.closestIntersection({0.25, 0.75, 5}, {0, 0, -1}, 10);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.point, Vec3(0.25, 0.75, 0));
    EXPECT_EQ(h.rayParam, 5);
    EXPECT_EQ(h.triangle, 1);
    EXPECT_EQ(h.bary1, 0.25);
    EXPECT_EQ(h.bary2, 0.5);
    expectBarycentricsMatch(m, h);

    // A slanted ray.
    h = m.closestIntersection({0, 0, 1}, {0.5, 0.25, -1}, 10);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.point, Vec3(0.5, 0.25, 0));
    EXPECT_EQ(h.rayParam, 1);
    expectBarycentricsMatch(m, h);
}

TEST(MeshRayHits, MaximumParameterIsInclusive) {
    const MeshGeometry m = square();
    EXPECT_TRUE(m.closestIntersection({0.75, 0.25, 5}, {0, 0, -2}, 2.5).hit);
    EXPECT_FALSE(m.closestIntersection({0.75, 0.25, 5}, {0, 0, -2}, std::nextafter(2.5, 0.0)).hit);
    EXPECT_TRUE(m.closestIntersection({0.75, 0.25, 5}, {0, 0, -1}, 5).hit);
    EXPECT_FALSE(m.closestIntersection({0.75, 0.25, 5}, {0, 0, -1}, 4.999).hit);
    EXPECT_EQ(m.allIntersections({0.75, 0.25, 5}, {0, 0, -1}, 5).size(), 1u);
    EXPECT_TRUE(m.allIntersections({0.75, 0.25, 5}, {0, 0, -1}, 4.999).empty());
    // An origin on the surface hits at t = 0.
    const RayHit h = m.closestIntersection({0.75, 0.25, 0}, {0, 0, -1}, 0);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.rayParam, 0);
}

TEST(MeshRayHits, FrontAndBackFacesAreHit) {
    const MeshGeometry m = square();
    const RayHit below = m.closestIntersection({0.75, 0.25, -4}, {0, 0, 1}, 10);
    ASSERT_TRUE(below.hit);
    EXPECT_EQ(below.rayParam, 4);
    EXPECT_EQ(below.point, Vec3(0.75, 0.25, 0));
    const MeshGeometry c = cube();
    // From inside the cube every face is seen from behind.
    const RayHit inside = c.closestIntersection({0.25, 0.375, 0}, {1, 0, 0}, 10);
    ASSERT_TRUE(inside.hit);
    EXPECT_EQ(inside.face, 4);
    EXPECT_EQ(inside.point, Vec3(0.5, 0.375, 0));
}

TEST(MeshRayHits, BothDirectionsPickTheNearestWithItsSign) {
    const MeshGeometry m = square();
    EXPECT_FALSE(m.closestIntersection({0.75, 0.25, -3}, {0, 0, -1}, 10).hit);
    RayHit h = m.closestIntersection({0.75, 0.25, -3}, {0, 0, -1}, 10, true);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.rayParam, -3);
    EXPECT_EQ(h.point, Vec3(0.75, 0.25, 0));
    EXPECT_FALSE(m.closestIntersection({0.75, 0.25, -3}, {0, 0, -1}, 2.9, true).hit);

    const MeshGeometry c = cube();
    h = c.closestIntersection({0.25, 0.375, 0.125}, {0, 0, -1}, 10, true);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.face, 0);
    EXPECT_EQ(h.rayParam, -0.375);
    EXPECT_EQ(h.point, Vec3(0.25, 0.375, 0.5));
    h = c.closestIntersection({0.25, 0.375, 0.125}, {0, 0, -1}, 10, false);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.face, 2);
    EXPECT_EQ(h.rayParam, 0.625);
    EXPECT_EQ(h.point, Vec3(0.25, 0.375, -0.5));
    // Equally near both ways: the forward hit wins.
    h = c.closestIntersection({0.25, 0.375, 0}, {0, 0, -1}, 10, true);
    EXPECT_EQ(h.face, 2);
    EXPECT_EQ(h.rayParam, 0.5);
}

TEST(MeshRayHits, AllIntersectionsAreSortedAlongTheLine) {
    const MeshGeometry c = cube();
    auto hits = c.allIntersections({0.25, 0.375, 5}, {0, 0, -1}, 10);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].face, 0);
    EXPECT_EQ(hits[0].rayParam, 4.5);
    EXPECT_EQ(hits[0].point, Vec3(0.25, 0.375, 0.5));
    EXPECT_EQ(hits[1].face, 2);
    EXPECT_EQ(hits[1].rayParam, 5.5);
    EXPECT_EQ(hits[1].point, Vec3(0.25, 0.375, -0.5));
    for (const RayHit& h : hits) expectBarycentricsMatch(c, h);

    hits = c.allIntersections({0.25, 0.375, 0.125}, {0, 0, -1}, 10, true);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].rayParam, -0.375);
    EXPECT_EQ(hits[0].face, 0);
    EXPECT_EQ(hits[1].rayParam, 0.625);
    EXPECT_EQ(hits[1].face, 2);
    hits = c.allIntersections({0.25, 0.375, 0.125}, {0, 0, -1}, 0.5, true);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].rayParam, -0.375);
    hits = c.allIntersections({0.25, 0.375, 0.125}, {0, 0, -1}, 10, false);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].face, 2);

    hits = c.allIntersections({-2, 0.125, 0.25}, {1, 0, 0}, 10);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].face, 5);
    EXPECT_EQ(hits[0].rayParam, 1.5);
    EXPECT_EQ(hits[1].face, 4);
    EXPECT_EQ(hits[1].rayParam, 2.5);

    // An origin on the surface is one hit at t = 0, even seen both ways.
    hits = square().allIntersections({0.75, 0.25, 0}, {0, 0, -1}, 1, true);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].rayParam, 0);
}

TEST(MeshRayHits, IntersectFollowsThePositiveRay) {
    const MeshGeometry c = cube();
    auto hits = c.intersect({0.25, 0.375, 5}, {0, 0, -3});
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].point, Vec3(0.25, 0.375, 0.5));
    EXPECT_EQ(hits[0].rayParam, 1.5);
    EXPECT_EQ(hits[1].point, Vec3(0.25, 0.375, -0.5));
    hits = c.intersect({0.25, 0.375, 0}, {0, 0, 1});
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].face, 0);
    EXPECT_TRUE(c.intersect({0.25, 0.375, 5}, {0, 0, 1}).empty());
}

TEST(MeshRayHits, EdgesAndVerticesAreHitOnce) {
    const MeshGeometry strip = grid(2, 1, 1);
    // The edge shared by the two quads.
    RayHit h = strip.closestIntersection({1, 0.5, 5}, {0, 0, -1}, 10);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.point, Vec3(1, 0.5, 0));
    EXPECT_TRUE(h.face == 0 || h.face == 1);
    auto hits = strip.allIntersections({1, 0.5, 5}, {0, 0, -1}, 10);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].face, 0);
    EXPECT_EQ(hits[0].rayParam, 5);
    // A quad's own fan diagonal.
    hits = strip.allIntersections({0.5, 0.5, 5}, {0, 0, -1}, 10, false, 0);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].triangle, 0);
    // Border edge and corner are inside; a hair outside is not.
    EXPECT_TRUE(strip.closestIntersection({0, 0.25, 5}, {0, 0, -1}, 10).hit);
    EXPECT_TRUE(strip.closestIntersection({0, 0, 5}, {0, 0, -1}, 10).hit);
    EXPECT_TRUE(strip.closestIntersection({2, 1, 5}, {0, 0, -1}, 10).hit);
    EXPECT_FALSE(strip.closestIntersection({-1e-6, 0.5, 5}, {0, 0, -1}, 10).hit);
    // The centre vertex of a 2x2 grid touches four quads.
    hits = grid(2, 2, 1).allIntersections({1, 1, 5}, {0, 0, -1}, 10);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].face, 0);
    EXPECT_EQ(hits[0].point, Vec3(1, 1, 0));
}

TEST(MeshRayHits, ToleranceJoinsHitsCloserThanIt) {
    MeshGeometry layers;
    ASSERT_TRUE(layers
                    .create({{0, 0, 0},
                             {1, 0, 0},
                             {1, 1, 0},
                             {0, 1, 0},
                             {0, 0, 1e-3},
                             {1, 0, 1e-3},
                             {1, 1, 1e-3},
                             {0, 1, 1e-3}},
                            {4, 4}, {4, 5, 6, 7, 0, 1, 2, 3})
                    .ok());
    auto hits = layers.allIntersections({0.75, 0.25, 5}, {0, 0, -1}, 10, false, 1e-6);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].face, 0);
    EXPECT_EQ(hits[1].face, 1);
    // Measured in distance, not in units of the direction.
    hits = layers.allIntersections({0.75, 0.25, 5}, {0, 0, -10000}, 10, false, 1e-6);
    EXPECT_EQ(hits.size(), 2u);
    hits = layers.allIntersections({0.75, 0.25, 5}, {0, 0, -1}, 10, false, 1e-2);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].face, 0);
}

TEST(MeshRayHits, FaceFilterRestrictsTheCandidates) {
    MeshGeometry stacked = square();
    ASSERT_TRUE(stacked.addPolygon({{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, false, 0).ok());
    RayHit h = stacked.closestIntersection({0.75, 0.25, 5}, {0, 0, -1}, 10);
    EXPECT_EQ(h.face, 1);
    EXPECT_EQ(h.rayParam, 4);
    const std::vector<int> lower = {0};
    h = stacked.closestIntersection({0.75, 0.25, 5}, {0, 0, -1}, 10, false, 1e-6, &lower);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.face, 0);
    EXPECT_EQ(h.rayParam, 5);
    const std::vector<int> none;
    EXPECT_FALSE(
        stacked.closestIntersection({0.75, 0.25, 5}, {0, 0, -1}, 10, false, 1e-6, &none).hit);
    const std::vector<int> both = {1, 0};
    EXPECT_EQ(
        stacked.allIntersections({0.75, 0.25, 5}, {0, 0, -1}, 10, false, 1e-6, true, &both).size(),
        2u);
    EXPECT_EQ(
        stacked.allIntersections({0.75, 0.25, 5}, {0, 0, -1}, 10, false, 1e-6, true, &lower).size(),
        1u);
}

TEST(MeshRayHits, UnusableRaysHitNothing) {
    const MeshGeometry m = square();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(m.closestIntersection({0.5, 0.25, 1}, {0, 0, 0}, 10).hit);
    EXPECT_FALSE(m.closestIntersection({nan, 0.25, 1}, {0, 0, -1}, 10).hit);
    EXPECT_FALSE(m.closestIntersection({0.5, 0.25, 1}, {0, 0, -1}, -1).hit);
    EXPECT_FALSE(m.closestIntersection({0.5, 0.25, 1}, {0, 0, -1}, nan).hit);
    EXPECT_TRUE(m.allIntersections({0.5, 0.25, 1}, {0, nan, -1}, 10).empty());
    EXPECT_TRUE(m.closestIntersection({0.5, 0.25, 1}, {0, 0, -1}, MeshGeometry::kInfinity).hit);
}

TEST(MeshClosestPoint, OnAndOffTheSurface) {
    const MeshGeometry c = cube();
    auto r = c.closestPoint({0.25, 0.125, 3});
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.point, Vec3(0.25, 0.125, 0.5));
    EXPECT_EQ(r.face, 0);
    EXPECT_EQ(r.distance, 2.5);
    // Nearest to a corner shared by faces 0, 1 and 4: the lowest face.
    r = c.closestPoint({2, 2, 2});
    EXPECT_EQ(r.point, Vec3(0.5, 0.5, 0.5));
    EXPECT_EQ(r.face, 0);
    EXPECT_DOUBLE_EQ(r.distance, std::sqrt(3 * 1.5 * 1.5));
    // On the surface.
    r = c.closestPoint({0.25, 0.125, 0.5});
    EXPECT_EQ(r.point, Vec3(0.25, 0.125, 0.5));
    EXPECT_EQ(r.distance, 0);
    // From inside.
    r = c.closestPoint({0.25, 0, 0});
    EXPECT_EQ(r.point, Vec3(0.5, 0, 0));
    EXPECT_EQ(r.face, 4);
    EXPECT_EQ(r.distance, 0.25);
    // Beside a plane's border the nearest point is on the edge.
    const MeshGeometry s = square();
    r = s.closestPoint({2, 0.5, 1});
    EXPECT_EQ(r.point, Vec3(1, 0.5, 0));
    EXPECT_DOUBLE_EQ(r.distance, std::sqrt(2.0));
    const auto tri = s.faceTriangleVertices(r.face, r.triangle);
    const Vec3 blended = s.point(tri[0]) * (1 - r.bary1 - r.bary2) + s.point(tri[1]) * r.bary1 +
                         s.point(tri[2]) * r.bary2;
    EXPECT_NEAR(blended.x, 1, 1e-15);
    EXPECT_NEAR(blended.y, 0.5, 1e-15);
}

TEST(MeshClosestPoint, MaximumDistance) {
    const MeshGeometry c = cube();
    EXPECT_FALSE(c.closestPoint({0.25, 0.125, 3}, 2).found);
    EXPECT_TRUE(c.closestPoint({0.25, 0.125, 3}, 2.5).found);
    EXPECT_FALSE(c.closestPoint({0.25, 0.125, 3}, -1).found);
}

TEST(MeshClosestPoint, AgreesWithBruteForceOnABumpySurface) {
    // A wavy grid; compare with a scan over every triangle's plane-projected
    // nearest point (for these query points, the nearest is inside a triangle).
    MeshGeometry g = grid(30, 30, 0.1);
    std::vector<Vec3> bumpy = g.points();
    for (Vec3& p : bumpy) p.z = 0.2 * std::sin(3 * p.x) * std::cos(2 * p.y);
    ASSERT_TRUE(g.setPoints(bumpy).ok());
    for (int k = 0; k < 50; ++k) {
        const Vec3 q(0.3 + 0.047 * k, 2.7 - 0.043 * k, 0.5 * std::sin(k * 0.7));
        const auto r = g.closestPoint(q);
        ASSERT_TRUE(r.found);
        double best = MeshGeometry::kInfinity;
        for (int f = 0; f < g.numFaces(); ++f) {
            for (int t = 0; t < 2; ++t) {
                const auto tri = g.faceTriangleVertices(f, t);
                // Dense sampling of the triangle bounds the true distance from above.
                for (int a = 0; a <= 8; ++a)
                    for (int b = 0; a + b <= 8; ++b) {
                        const Vec3 p = g.point(tri[0]) * (1 - (a + b) / 8.0) +
                                       g.point(tri[1]) * (a / 8.0) + g.point(tri[2]) * (b / 8.0);
                        best = std::min(best, ehost::length(p - q));
                    }
            }
        }
        EXPECT_LE(r.distance, best + 1e-12) << k;
        EXPECT_NEAR(ehost::length(r.point - q), r.distance, 1e-12);
    }
}

TEST(MeshQueryBvh, BuiltOnceAndReusedUntilTheGeometryChanges) {
    MeshGeometry c = cube();
    EXPECT_EQ(c.bvhBuildCount(), 0u);
    c.closestIntersection({0.25, 0.375, 5}, {0, 0, -1}, 10);
    EXPECT_EQ(c.bvhBuildCount(), 1u);
    const auto totalBefore = MeshGeometry::totalBvhBuilds();
    for (int i = 0; i < 100; ++i) {
        c.closestIntersection({0.01 * i - 0.5, 0.2, 5}, {0, 0, -1}, 10, i % 2 == 0);
        c.allIntersections({0.2, 0.01 * i - 0.5, 5}, {0, 0, -1}, 10);
        c.intersect({0.2, 0.3, 5}, {0, 0, -1});
        c.closestPoint({0.03 * i, 1, 2});
    }
    EXPECT_EQ(c.bvhBuildCount(), 1u);
    EXPECT_EQ(MeshGeometry::totalBvhBuilds(), totalBefore);

    // Edits that leave points and polygons alone keep the BVH.
    ASSERT_TRUE(c.setEdgeSmoothing(0, false).ok());
    ASSERT_TRUE(c.setUVs({0}, {0}).ok());
    c.closestPoint({0, 0, 2});
    EXPECT_EQ(c.bvhBuildCount(), 1u);

    // A copy shares the built BVH.
    MeshGeometry copy = c;
    EXPECT_TRUE(copy.closestIntersection({0.25, 0.375, 5}, {0, 0, -1}, 10).hit);
    EXPECT_EQ(MeshGeometry::totalBvhBuilds(), totalBefore);

    // Moving the copy's points rebuilds the copy's BVH only.
    std::vector<Vec3> raised = copy.points();
    for (Vec3& p : raised) p.z += 10;
    ASSERT_TRUE(copy.setPoints(raised).ok());
    RayHit h = copy.closestIntersection({0.25, 0.375, 20}, {0, 0, -1}, 100);
    EXPECT_EQ(copy.bvhBuildCount(), 2u);
    EXPECT_EQ(h.point, Vec3(0.25, 0.375, 10.5));
    h = c.closestIntersection({0.25, 0.375, 20}, {0, 0, -1}, 100);
    EXPECT_EQ(h.point, Vec3(0.25, 0.375, 0.5));
    EXPECT_EQ(c.bvhBuildCount(), 1u);
    EXPECT_EQ(MeshGeometry::totalBvhBuilds(), totalBefore + 1);

    // New polygons are found after a rebuild.
    ASSERT_TRUE(c.addPolygon({{-1, -1, 3}, {1, -1, 3}, {1, 1, 3}, {-1, 1, 3}}, false, 0).ok());
    h = c.closestIntersection({0.25, 0.375, 20}, {0, 0, -1}, 100);
    EXPECT_EQ(h.face, 6);
    EXPECT_EQ(c.bvhBuildCount(), 2u);
    ASSERT_TRUE(c.deleteFace(6).ok());
    EXPECT_EQ(c.closestIntersection({0.25, 0.375, 20}, {0, 0, -1}, 100).face, 0);
    EXPECT_EQ(c.bvhBuildCount(), 3u);
    EXPECT_TRUE(c.queryError().empty());
}

TEST(MeshQueryBvh, ConcurrentFirstQueriesBuildOnce) {
    const MeshGeometry g = grid(50, 50, 0.02);
    RayHit a, b;
    std::thread t1([&] { a = g.closestIntersection({0.511, 0.303, 1}, {0, 0, -1}, 2); });
    std::thread t2([&] { b = g.closestIntersection({0.511, 0.303, 1}, {0, 0, -1}, 2); });
    t1.join();
    t2.join();
    EXPECT_EQ(g.bvhBuildCount(), 1u);
    EXPECT_TRUE(a.hit);
    EXPECT_EQ(a.face, b.face);
    EXPECT_EQ(a.point, b.point);
}

TEST(MeshQueryPrecision, FarFromTheOriginHitsStayExact) {
    // Cells of 0.01 at an offset where a float step is 0.0625 to 0.25: only
    // BVH-local coordinates can tell the cells apart.
    const Vec3 offset(1e6, -2e6, 3e6);
    const MeshGeometry far = grid(10, 10, 0.01, offset);
    const MeshGeometry near = grid(10, 10, 0.01);
    const Vec3 local(0.035, 0.0725, 5);
    const RayHit h = far.closestIntersection(offset + local, {0, 0, -1}, 10);
    const RayHit reference = near.closestIntersection(local, {0, 0, -1}, 10);
    ASSERT_TRUE(h.hit);
    EXPECT_EQ(h.face, 73);
    EXPECT_EQ(h.face, reference.face);
    EXPECT_EQ(h.triangle, 0);
    EXPECT_EQ(h.rayParam, 5);
    EXPECT_EQ(h.point, Vec3(offset.x + 0.035, offset.y + 0.0725, offset.z));

    const RayHit back =
        far.closestIntersection(offset + Vec3(0.0449, 0.0151, -2), {0, 0, -1}, 10, true);
    ASSERT_TRUE(back.hit);
    EXPECT_EQ(back.face, 14);
    EXPECT_EQ(back.rayParam, -2);

    const auto all = far.allIntersections(offset + Vec3(0.0925, 0.0025, 1), {0, 0, -1}, 10);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].face, 9);

    const auto closest = far.closestPoint(offset + Vec3(0.035, 0.0725, 0.3));
    ASSERT_TRUE(closest.found);
    EXPECT_EQ(closest.face, 73);
    EXPECT_EQ(closest.point, Vec3(offset.x + 0.035, offset.y + 0.0725, offset.z));
    EXPECT_NEAR(closest.distance, 0.3, 1e-9);

    // The translated cube behaves like the original.
    const MeshGeometry c = cube(offset);
    const auto hits = c.allIntersections(offset + Vec3(0.25, 0.375, 5), {0, 0, -1}, 10);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].rayParam, 4.5);
    EXPECT_EQ(hits[0].point, offset + Vec3(0.25, 0.375, 0.5));
    EXPECT_EQ(hits[1].rayParam, 5.5);
}

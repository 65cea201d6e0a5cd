#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/polygon_mesh.h"

namespace geo {
namespace {

Quad unitQuad(double x, double y) {
    return {{{x, y, 0}, {x + 1, y, 0}, {x + 1, y + 1, 0}, {x, y + 1, 0}}};
}

TEST(MergingMeshSink, NumbersNewVerticesFromTheCountAndReusesNearOnes) {
    PolygonMesh start;
    start.points = {{5, 5, 5}, {6, 5, 5}};
    MergingMeshSink sink(start);
    EXPECT_EQ(sink.appendQuad(unitQuad(0, 0), 0.001), 0);
    EXPECT_EQ(sink.appendQuad({{{1.0004, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1.0009, 0}}}, 0.001), 1);
    EXPECT_EQ(sink.mesh().connects, (std::vector<int>{2, 3, 4, 5, 3, 6, 7, 4}));
    EXPECT_EQ(sink.mesh().counts, (std::vector<int>{4, 4}));
    EXPECT_EQ(sink.vertexCount(), 8);
    // An existing vertex is found too.
    sink.addPolygon(std::vector<Point>{{6, 5, 5.0005}, {7, 5, 5}, {5, 5, 5}}, 0.001);
    EXPECT_EQ(std::vector<int>(sink.mesh().connects.end() - 3, sink.mesh().connects.end()),
              (std::vector<int>{1, 8, 0}));
}

TEST(MergingMeshSink, MergesAcrossCellBoundariesAndPrefersTheLowestId) {
    MergingMeshSink sink;
    sink.addPolygon(std::vector<Point>{{0.0002, 0, 0}, {0.0016, 0, 0}}, 0.001);
    // In the second one's cell and nearer to it, but within reach of both.
    sink.addPolygon(std::vector<Point>{{0.0010001, 0, 0}}, 0.001);
    EXPECT_EQ(sink.mesh().connects, (std::vector<int>{0, 1, 0}));
}

TEST(MergingMeshSink, ZeroToleranceMergesOnlyExactAndNegativeNothing) {
    MergingMeshSink sink;
    sink.addPolygon(std::vector<Point>{{1, 1, 1}, {1, 1, 1}, {1, 1, 1.0000001}}, 0.0);
    EXPECT_EQ(sink.mesh().connects, (std::vector<int>{0, 0, 1}));
    sink.addPolygon(std::vector<Point>{{1, 1, 1}}, -1.0);
    EXPECT_EQ(sink.mesh().connects.back(), 2);
}

TEST(MergingMeshSink, AgreesWithALinearScan) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-0.05, 0.05);
    for (double tolerance : {0.001, 0.01, 0.0003}) {
        MergingMeshSink sink;
        std::vector<Point> reference;
        for (int k = 0; k < 2000; ++k) {
            const Point p{coordinate(random), coordinate(random), coordinate(random) * 0.1};
            int expected = static_cast<int>(reference.size());
            for (std::size_t id = 0; id < reference.size(); ++id) {
                if (distance(reference[id], p) <= tolerance) {
                    expected = static_cast<int>(id);
                    break;
                }
            }
            if (expected == static_cast<int>(reference.size())) reference.push_back(p);
            sink.addPolygon(std::vector<Point>{p}, tolerance);
            ASSERT_EQ(sink.mesh().connects.back(), expected) << tolerance << " " << k;
        }
    }
}

TEST(SpatialHash, FindsWithAnyToleranceAndAnyCoordinate) {
    SpatialHash hash(0.001);
    hash.insert(4, {3, 0, 0});
    hash.insert(2, {1e300, -1e300, 0});
    hash.insert(9, {std::nan(""), 0, 0});
    EXPECT_EQ(hash.findWithin({0, 0, 0}, 5.0), 4);  // reaches far more cells than are occupied
    EXPECT_FALSE(hash.findWithin({0, 0, 0}, 2.9));
    EXPECT_EQ(hash.findWithin({1e300, -1e300, 0}, 0.001), 2);
    EXPECT_FALSE(hash.findWithin({std::nan(""), 0, 0}, 1.0));
}

TEST(PolygonMesh, PolygonsAreCutToTheVertexIdsThatExist) {
    PolygonMesh mesh{{}, {3, -1, 4}, {0, 1, 2, 3, 4}};
    EXPECT_EQ(mesh.polygons(), (std::vector<std::vector<int>>{{0, 1, 2}, {}, {3, 4}}));
}

}  // namespace
}  // namespace geo

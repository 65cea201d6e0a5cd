#include <gtest/gtest.h>

#include "geometry/bridge.h"
#include "geometry/polygon_mesh.h"
#include "tests/geometry/shapes.h"

namespace geo {
namespace {

using testing::edgeBetween;
using testing::gridView;

const Polyline kChain{{0, 0, 0}, {1, 0, 0}, {2, 0.5, 0}, {3, 0, 0}};

TEST(BridgeRows, SwapTheFirstTwoEntries) {
    EXPECT_EQ(bridgeFirstRow(100, 4), (std::vector<int>{101, 100, 102, 103}));
    EXPECT_EQ(bridgeLastRow(100, 4, 3), (std::vector<int>{109, 108, 110, 111}));
    EXPECT_EQ(bridgeLastRow(100, 1, 3), (std::vector<int>{103}));
}

TEST(SweepBridge, MovesTheChainAlongThePathRowByRow) {
    MergingMeshSink sink;
    std::vector<int> faces;
    sweepBridge(kChain, {{5, 5, 5}, {5, 6, 5}, {5, 6, 7}}, 0.001, sink, faces);
    ASSERT_EQ(faces.size(), 6u);
    const PolygonMesh& mesh = sink.mesh();
    ASSERT_EQ(mesh.vertexCount(), 12);
    const auto corner = [&](int f, int k) { return mesh.points[mesh.connects[4 * f + k]]; };
    // Row 0 lies on the chain; rows follow the path's displacements, not its position.
    EXPECT_EQ(corner(0, 0), kChain[0]);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(corner(j, 1), kChain[j + 1]);
    EXPECT_EQ(corner(5, 2), (Point{3, 1, 2}));
    // A straight path gives parallelograms: opposite sides are equal.
    EXPECT_NEAR(length((corner(1, 1) - corner(1, 0)) - (corner(1, 2) - corner(1, 3))), 0.0, 1e-12);
}

TEST(SweepBridge, NewVerticesAreNumberedAsTheRowsSay) {
    PolygonMesh existing;
    for (int k = 0; k < 96; ++k) existing.points.push_back({50, 50, double(k)});
    existing.points.insert(existing.points.end(), kChain.begin(), kChain.end());
    MergingMeshSink sink(existing);
    std::vector<int> faces;
    sweepBridge(kChain, {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}}, 0.001, sink, faces);
    const auto idOf = [&](Point p) {
        const auto& pts = sink.mesh().points;
        return int(std::find(pts.begin(), pts.end(), p) - pts.begin());
    };
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(idOf(kChain[j] + Vector{0, 1, 0}), bridgeFirstRow(100, 4)[j]) << j;
        EXPECT_EQ(idOf(kChain[j] + Vector{0, 3, 0}), bridgeLastRow(100, 4, 3)[j]) << j;
    }
}

TEST(SweepBridge, APathStepWithinTheToleranceBuildsNoRow) {
    MergingMeshSink sink;
    std::vector<int> faces;
    // A resampled path that ends on its last point twice, and a step inside the tolerance.
    sweepBridge(kChain, {{0, 0, 0}, {0, 1, 0}, {0, 1.0005, 0}, {0, 2, 0}, {0, 2, 0}}, 0.001, sink,
                faces);
    ASSERT_EQ(faces.size(), 6u);
    for (int f : faces) EXPECT_GE(f, 0);
    EXPECT_EQ(sink.mesh().vertexCount(), 12);
    EXPECT_EQ(sink.mesh().points[sink.mesh().connects[4 * 5 + 2]], (Point{3, 2, 0}));
}

TEST(SweepBridge, SinglePointPathOrChainBuildsNothing) {
    MergingMeshSink sink;
    std::vector<int> faces;
    sweepBridge(kChain, {{0, 0, 0}}, 0.001, sink, faces);
    sweepBridge({{0, 0, 0}}, kChain, 0.001, sink, faces);
    EXPECT_TRUE(faces.empty());
}

TEST(EdgeChainPoints, OrdersTheChainByItsSecondEdge) {
    const BorderMeshView view = gridView(3, 1);  // bottom row 0-3
    const std::vector<int> edges{edgeBetween(view, 0, 1), edgeBetween(view, 1, 2),
                                 edgeBetween(view, 2, 3)};
    const Polyline forward = edgeChainPoints(view, edges);
    EXPECT_EQ(forward, (Polyline{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}));
    const std::vector<int> reversed(edges.rbegin(), edges.rend());
    EXPECT_EQ(edgeChainPoints(view, reversed), Polyline(forward.rbegin(), forward.rend()));
    EXPECT_EQ(edgeChainPoints(view, std::vector<int>{edges[1]}), (Polyline{{1, 0, 0}, {2, 0, 0}}));
    EXPECT_TRUE(edgeChainPoints(view, std::vector<int>{}).empty());
}

}  // namespace
}  // namespace geo

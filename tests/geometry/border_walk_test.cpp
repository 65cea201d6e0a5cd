#include <gtest/gtest.h>

#include "geometry/border_walk.h"
#include "tests/geometry/shapes.h"

namespace geo {
namespace {

using testing::addGrid;
using testing::edgeBetween;
using testing::gridView;

using Ids = std::vector<int>;

TEST(BorderMeshView, NumbersEdgesInOrderOfFirstAppearance) {
    const BorderMeshView view = makeBorderMeshView(
        std::vector<Point>(6), std::vector<std::vector<int>>{{0, 1, 4, 3}, {1, 2, 5, 4}});
    const std::vector<std::array<int, 2>> edges{{0, 1}, {1, 4}, {4, 3}, {3, 0},
                                                {1, 2}, {2, 5}, {5, 4}};
    EXPECT_EQ(view.edgeVertices, edges);
    EXPECT_EQ(view.boundary, (std::vector<bool>{true, false, true, true, true, true, true}));
    EXPECT_EQ(view.vertexEdges[1], (Ids{0, 1, 4}));
    EXPECT_EQ(view.edgeNeighbours[1], (Ids{0, 2, 4, 6}));
    EXPECT_EQ(view.position(9), Point{});
    EXPECT_TRUE(view.edgesAround(-1).empty());
}

TEST(VertexChain, FollowsTheEdgesAndTakesVertexZeroAtABreak) {
    const BorderMeshView view =
        makeBorderMeshView(std::vector<Point>(4), std::vector<std::vector<int>>{{1, 2, 3}});
    const Ids chain{edgeBetween(view, 1, 2), edgeBetween(view, 2, 3)};
    EXPECT_EQ(vertexChain(view, chain, 1), (Ids{1, 2, 3}));
    EXPECT_EQ(vertexChain(view, chain, 3), (Ids{3, 1, 2}));
    EXPECT_TRUE(edgeJoins(view, chain[0], 2, 1));
    EXPECT_FALSE(edgeJoins(view, chain[0], 1, 3));
}

TEST(BoundaryEdgesAt, TakesTheFirstAndTheLastOtherBoundaryEdge) {
    const BorderMeshView view = gridView(2, 1);  // vertex 1 has two border edges and an inner one
    const auto found = boundaryEdgesAt(view, view.edgesAround(1), -7, -8);
    EXPECT_EQ(found.edges, (Ids{edgeBetween(view, 0, 1), edgeBetween(view, 1, 2)}));
    EXPECT_EQ(found.first, edgeBetween(view, 0, 1));
    EXPECT_EQ(found.second, edgeBetween(view, 1, 2));
    const Ids one{edgeBetween(view, 1, 4), edgeBetween(view, 0, 1)};
    EXPECT_EQ(boundaryEdgesAt(view, one, -7, -8).second, -8);
}

// A 3 x 3 grid: a closed border loop of 12 edges around vertices 0, 3, 15, 12.
class BorderLoop : public ::testing::Test {
protected:
    BorderMeshView view = gridView(3, 3);
    int e(int a, int b) const { return edgeBetween(view, a, b); }
};

TEST_F(BorderLoop, RangeOfNeighboursIsTheirEdge) {
    EXPECT_EQ(borderRange(view, 1, 2), (Ids{e(1, 2)}));
}

TEST_F(BorderLoop, RangeTakesTheShorterWay) {
    EXPECT_EQ(borderRange(view, 0, 2), (Ids{e(0, 1), e(1, 2)}));
    EXPECT_EQ(borderRange(view, 0, 8), (Ids{e(0, 4), e(4, 8)}));
}

TEST_F(BorderLoop, RangeTieGoesToTheFirstBoundaryEdge) {
    const Ids range = borderRange(view, 0, 15);
    EXPECT_EQ(range, (Ids{e(0, 1), e(1, 2), e(2, 3), e(3, 7), e(7, 11), e(11, 15)}));
    EXPECT_EQ(vertexChain(view, range, 0), (Ids{0, 1, 2, 3, 7, 11, 15}));
}

TEST_F(BorderLoop, RangeToAnInnerVertexOrFromOneIsEmpty) {
    EXPECT_TRUE(borderRange(view, 0, 5).empty());
    EXPECT_TRUE(borderRange(view, 5, 0).empty());
    EXPECT_TRUE(borderRange(view, 0, 15, 6).empty());  // the bound is exclusive
}

TEST_F(BorderLoop, WalkNeverReturnsToItsChainNorCrossesTheExcludedEdge) {
    const BorderWalk walk = walkBorder(view, 5, e(0, 1), e(0, 4));
    EXPECT_FALSE(walk.reached);
    EXPECT_EQ(walk.edges.size(), 11u);
    EXPECT_FALSE(listHas(e(0, 4), walk.edges));
    EXPECT_EQ(walkBorder(view, 3, e(0, 1), e(0, 4)).edges, (Ids{e(0, 1), e(1, 2), e(2, 3)}));
}

TEST(WalkBorder, GivesUpAfterNineHundredNinetyNinePasses) {
    // A ring of 1200 quads: an outer border loop of 1200 edges that never touches inner vertex 0.
    const int n = 1200;
    std::vector<std::vector<int>> faces;
    for (int i = 0; i < n; ++i) faces.push_back({i, (i + 1) % n, n + (i + 1) % n, n + i});
    const BorderMeshView view = makeBorderMeshView(std::vector<Point>(2 * n), faces);
    const BorderWalk walk =
        walkBorder(view, 0, edgeBetween(view, n, n + 1), edgeBetween(view, n, 2 * n - 1));
    EXPECT_FALSE(walk.reached);
    EXPECT_EQ(walk.edges.size(), 1000u);
    EXPECT_TRUE(
        walkBorder(view, n + 500, edgeBetween(view, n, n + 1), edgeBetween(view, n, 2 * n - 1))
            .reached);
}

TEST(EdgeContribution, IsTheScalarProjection) {
    EXPECT_NEAR(edgeContribution({3, 4, 0}, {2, 0, 0}), 3.0, 1e-12);
    EXPECT_NEAR(edgeContribution({-1, 1, 0}, {0, 0, 5}), 0.0, 1e-12);
    EXPECT_EQ(edgeContribution({1, 0, 0}, {}), 0.0);
}

TEST(RailDirection, PrefersTheEdgeAlongThePlayerAndBreaksTiesToB) {
    // A 2 x 2 grid; the player runs along its bottom, in +x.
    const BorderMeshView view = gridView(2, 2);
    const Player player{{edgeBetween(view, 0, 1), edgeBetween(view, 1, 2)}, 0};
    const int left = edgeBetween(view, 0, 1);
    const int right = edgeBetween(view, 1, 2);
    EXPECT_EQ(railDirection(view, player, left, right), right);
    EXPECT_EQ(railDirection(view, player, right, left), right);
    // Up and down the left side are both square to the player.
    const int down = edgeBetween(view, 3, 0);
    const int up = edgeBetween(view, 3, 6);
    EXPECT_EQ(railDirection(view, player, down, up), up);
    EXPECT_EQ(railDirection(view, player, up, down), down);
}

// The player runs along the top of one strip; the fuse loop is picked on another strip above it.
class Fuse : public ::testing::Test {
protected:
    void build(int fuseColumns) {
        addGrid(points, faces, 5, 1);                  // vertices 0-11, top row 6-11
        addGrid(points, faces, fuseColumns, 1, 0, 3);  // bottom row from vertex 12
        view = makeBorderMeshView(points, faces);
        for (int v = 6; v < 11; ++v) player.edges.push_back(edgeBetween(view, v, v + 1));
        player.start = 6;
    }
    std::vector<Point> points;
    std::vector<std::vector<int>> faces;
    BorderMeshView view;
    Player player;
};

TEST_F(Fuse, LoopRunsThePlayersWayAsLongAsThePlayer) {
    build(7);
    const FuseLoop loop = fuseLoop(view, player, 12);
    EXPECT_EQ(loop.vertices, (Ids{12, 13, 14, 15, 16, 17}));
    EXPECT_EQ(loop.edges.front(), edgeBetween(view, 12, 13));
    EXPECT_EQ(midpoints(view, Ids{6, 7}, loop.vertices),
              (std::vector<Point>{{0, 2, 0}, {1, 2, 0}}));
}

TEST_F(Fuse, ShorterBorderGivesAShorterLoop) {
    build(1);  // a single quad: the walk runs out after three edges
    const FuseLoop loop = fuseLoop(view, player, 12);
    EXPECT_EQ(loop.edges.size(), 3u);
    EXPECT_EQ(loop.vertices.size(), 4u);
}

TEST_F(Fuse, InnerVertexHasNoLoop) {
    build(7);
    const FuseLoop loop = fuseLoop(view, player, 4 * 7);  // beyond the mesh
    EXPECT_TRUE(loop.edges.empty());
    EXPECT_TRUE(fuseLoop(gridView(2, 2), player, 4).vertices.empty());
}

TEST_F(Fuse, PlayerPositionsFollowItsChain) {
    build(1);
    const std::vector<Point> extra{{9, 9, 9}};
    const auto positions = playerPositionsPlus(view, player, extra);
    ASSERT_EQ(positions.size(), 7u);
    EXPECT_EQ(positions.front(), (Point{0, 1, 0}));
    EXPECT_EQ(positions[5], (Point{5, 1, 0}));
    EXPECT_EQ(positions.back(), extra[0]);
    EXPECT_EQ(vertexPositions(view, Ids{-1, 7}), (std::vector<Point>{{}, {1, 1, 0}}));
}

}  // namespace
}  // namespace geo

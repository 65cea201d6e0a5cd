#include <gtest/gtest.h>

#include "geometry/polygon_mesh.h"
#include "geometry/rail_grid.h"
#include "tests/geometry/shapes.h"

namespace geo {
namespace {

using testing::line;

struct Grid {
    MergingMeshSink sink;
    std::vector<int> faces;
    std::vector<std::pair<Polyline, Polyline>> pairs;
    std::vector<int> result;

    Grid(std::vector<Polyline> rails, std::uint32_t u, std::uint32_t v, Polyline player = {},
         bool scratch = false, PolygonMesh start = {})
        : sink(std::move(start)) {
        RailGridSettings settings;
        settings.uSpans = u;
        settings.vSpans = v;
        settings.scratch = scratch;
        result = buildRailGrid(
            rails, player, settings, sink, faces,
            [this](const Polyline& a, const Polyline& b) { pairs.emplace_back(a, b); });
    }
    const PolygonMesh& mesh() const { return sink.mesh(); }
    Point corner(int face, int k) const { return mesh().points[mesh().connects[4 * face + k]]; }
};

// Rails along x at y = 0 and y = 2, u + 1 points each.
std::vector<Polyline> parallelRails(std::uint32_t u, double y2 = 2.0) {
    return {line({0, 0, 0}, {double(u), 0, 0}, u + 1), line({0, y2, 0}, {double(u), y2, 0}, u + 1)};
}

TEST(RailRows, FollowTheNumberingOfOneUnmergedPair) {
    EXPECT_EQ(firstRow(10, 3, 2), (std::vector<int>{10, 11, 16, 19}));
    EXPECT_EQ(lastRow(10, 3, 2), (std::vector<int>{15, 14, 18, 21}));
    EXPECT_EQ(firstRow(7, 0, 4), (std::vector<int>{7, 8}));
    EXPECT_TRUE(lastRow(7, 0, 4).empty());
    EXPECT_EQ(lastRow(0, 1, 1), (std::vector<int>{3, 2}));
}

TEST(RailGrid, TwoParallelRailsGiveColumnsOfRowsBetweenThem) {
    const Grid g(parallelRails(3), 3, 2);
    ASSERT_EQ(g.faces, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    // Faces go column by column, row by row inside a column.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g.corner(2 * i, 0), (Point{double(i), 0, 0}));
        EXPECT_EQ(g.corner(2 * i, 1), (Point{i + 1.0, 0, 0}));
        EXPECT_EQ(g.corner(2 * i, 2), (Point{i + 1.0, 1, 0}));
        EXPECT_EQ(g.corner(2 * i, 3), (Point{double(i), 1, 0}));
        EXPECT_EQ(g.corner(2 * i + 1, 2), (Point{i + 1.0, 2, 0}));
        EXPECT_EQ(g.corner(2 * i + 1, 3), (Point{double(i), 2, 0}));
    }
    EXPECT_EQ(g.mesh().vertexCount(), 4 * 3);
}

TEST(RailGrid, NewVerticesAreNumberedAsTheRowsSay) {
    PolygonMesh existing;
    for (int k = 0; k < 10; ++k) existing.points.push_back({100.0 + k, 100, 0});
    const Grid g(parallelRails(3), 3, 2, {}, false, existing);
    EXPECT_EQ(g.result, lastRow(10, 3, 2));
    const auto idAt = [&](Point p) {
        const auto& pts = g.mesh().points;
        return int(std::find(pts.begin(), pts.end(), p) - pts.begin());
    };
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(idAt({double(i), 0, 0}), firstRow(10, 3, 2)[i]);
        EXPECT_EQ(idAt({double(i), 2, 0}), lastRow(10, 3, 2)[i]);
        for (int j = 1; j <= 2 && i >= 2; ++j)
            EXPECT_EQ(idAt({double(i), double(j), 0}), 10 + i * 3 + j);
    }
}

TEST(RailGrid, OneColumnClosesOnTheRailsLastPoints) {
    const Grid g(parallelRails(1), 1, 3);
    ASSERT_EQ(g.faces.size(), 3u);
    EXPECT_EQ(g.corner(2, 2), (Point{1, 2, 0}));
}

TEST(RailGrid, ThreeRailsShareTheMiddleRow) {
    std::vector<Polyline> rails = parallelRails(3);
    rails.push_back(line({0, 4, 0}, {3, 4, 0}, 4));
    const Grid g(rails, 3, 2);
    EXPECT_EQ(g.faces.size(), 12u);
    EXPECT_EQ(g.mesh().vertexCount(), 4 * 5);
    ASSERT_EQ(g.pairs.size(), 2u);
    EXPECT_EQ(g.pairs.back().first, rails[1]);
}

TEST(RailGrid, FirstGridStartsOnThePlayerRowUnlessTheMeshIsNew) {
    const Polyline player{{0, -1, 0}, {1, -1.5, 0}, {2, -1, 0}, {3, -1.2, 0}};
    const Grid continued(parallelRails(3), 3, 2, player);
    EXPECT_EQ(continued.pairs.front().first, player);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(continued.corner(2 * i, 0), player[i]);
    const Grid scratch(parallelRails(3), 3, 2, player, true);
    EXPECT_EQ(scratch.corner(0, 0), (Point{0, 0, 0}));
}

TEST(RailGrid, ARailWithAnExtraClosingPointStillGivesUColumns) {
    // The player row is used as it is, so it can carry the resampler's extra closing point.
    const Polyline player{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2.5, 0, 0}, {3, 0, 0}};
    const Grid g(parallelRails(3), 3, 2, player);
    ASSERT_EQ(g.faces.size(), 6u);
    EXPECT_EQ(g.corner(4, 1), (Point{3, 0, 0}));
    for (const Point& p : g.mesh().points) EXPECT_NE(p, (Point{2.5, 0, 0}));
}

TEST(RailGrid, StrokesAreResampledToUSpans) {
    const Grid g({line({0, 0, 0}, {10, 0, 0}, 101), line({0, 3, 0}, {10, 3, 0}, 101)}, 4, 3);
    EXPECT_EQ(g.faces.size(), 12u);
    EXPECT_EQ(g.pairs.front().first.size(), 5u);
}

TEST(RailGrid, TooFewRailsOrAnEmptyRailBuildNoPatch) {
    EXPECT_EQ(Grid({line({0, 0, 0}, {3, 0, 0}, 4)}, 3, 2).result, noPatch());
    std::vector<Polyline> rails = parallelRails(3);
    rails.push_back({});
    const Grid g(rails, 3, 2);
    EXPECT_EQ(g.result, (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(g.faces.size(), 6u);  // the first pair's quads stay
    EXPECT_EQ(g.pairs.size(), 2u);
    // U = 0 resamples every rail of more than two points to nothing.
    EXPECT_EQ(Grid(parallelRails(3), 0, 2).result, noPatch());
}

TEST(RailGrid, DegenerateSpansAndRailsBuildNothingButKeepGoing) {
    const Grid flat(parallelRails(3), 3, 0);
    EXPECT_TRUE(flat.faces.empty());
    EXPECT_EQ(flat.result, lastRow(0, 3, 0));
    // Two-point rails pass the resampler even at U = 0, and still give no column.
    const Grid noColumns({{{0, 0, 0}, {1, 0, 0}}, {{0, 1, 0}, {1, 1, 0}}}, 0, 2);
    EXPECT_TRUE(noColumns.faces.empty());
    EXPECT_TRUE(noColumns.result.empty());
    std::vector<Polyline> rails{
        {{0, 0, 0}}, line({0, 2, 0}, {3, 2, 0}, 4), line({0, 4, 0}, {3, 4, 0}, 4)};
    EXPECT_EQ(Grid(rails, 3, 2).faces.size(), 6u);
}

TEST(RailGrid, RailsOfDifferentCountsAreTrimmedToTheShorter) {
    // A two-point stroke passes the resampler unchanged while its partner gets u + 1 points.
    const Polyline shortRail{{0, 0, 0}, {3, 0, 0}};
    const Polyline longRail = line({0, 2, 0}, {3, 2, 0}, 31);
    for (const auto& rails : {std::vector{shortRail, longRail}, std::vector{longRail, shortRail}}) {
        const Grid g(rails, 3, 2);
        EXPECT_EQ(g.faces.size(), 2u);
        EXPECT_EQ(g.result, lastRow(0, 3, 2));
    }
}

}  // namespace
}  // namespace geo

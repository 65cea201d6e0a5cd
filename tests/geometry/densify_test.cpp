#include <gtest/gtest.h>

#include "geometry/densify.h"
#include "tests/geometry/shapes.h"

namespace geo {
namespace {

using testing::line;

TEST(DensifyStroke, SubdividesToAboutAHundredPoints) {
    const Polyline out = densifyStroke(line({0, 0, 0}, {3, 0, 0}, 4));
    ASSERT_EQ(out.size(), 78u);  // 3 segments of 25 + 1 points
    EXPECT_EQ(out[0].x, 0);
    EXPECT_NEAR(out[1].x, 0.04, 1e-15);
    EXPECT_EQ(out[25].x, 1);  // a joint appears twice in a row
    EXPECT_EQ(out[26].x, 1);
    EXPECT_EQ(out.back().x, 3);
    EXPECT_EQ(densifyStroke(line({0, 0, 0}, {1, 0, 0}, 50)).size(), 49u * 3);
}

TEST(DensifyStroke, KeepsEveryPointOfLongStrokesAndGivesNothingWithoutASegment) {
    const Polyline stroke = line({0, 0, 0}, {1, 1, 0}, 101);
    const Polyline out = densifyStroke(stroke);
    ASSERT_EQ(out.size(), 200u);
    for (std::size_t i = 0; i < stroke.size(); ++i)
        EXPECT_EQ(out[i == 0 ? 0 : 2 * i - 1], stroke[i]);
    EXPECT_TRUE(densifyStroke({{1, 2, 3}}).empty());
    EXPECT_TRUE(densifyStroke({}).empty());
}

TEST(NondestructStrokes, SplitsEverySegmentInFive) {
    StrokeSet current;
    appendStroke(current, line({0, 0, 0}, {2, 0, 0}, 3));
    appendStroke(current, line({0, 1, 0}, {5, 1, 0}, 2));
    const auto dense = nondestructStrokes(current);
    ASSERT_TRUE(dense);
    EXPECT_EQ(dense->sizes, (std::vector<std::int32_t>{12, 6}));
    EXPECT_EQ(dense->points.size(), 18u);
    EXPECT_EQ(dense->points[13], (Point{1, 1, 0}));
    EXPECT_EQ(splitStrokes(*dense)[1].back(), (Point{5, 1, 0}));
}

TEST(NondestructStrokes, SingleStrokeKeepsTheStoredCopy) {
    StrokeSet current;
    appendStroke(current, line({0, 0, 0}, {2, 0, 0}, 3));
    EXPECT_FALSE(nondestructStrokes(current));
    appendStroke(current, {{7, 7, 7}});
    EXPECT_EQ(nondestructStrokes(current)->sizes, (std::vector<std::int32_t>{12, 0}));
}

}  // namespace
}  // namespace geo

#include <gtest/gtest.h>

#include "geometry/stroke_set.h"

namespace geo {
namespace {

using Sizes = std::vector<std::int32_t>;

// Points numbered by their x coordinate, so that a set's content reads at a glance.
Polyline numbered(int from, int count) {
    Polyline points;
    for (int k = 0; k < count; ++k) points.push_back({double(from + k), 0, 0});
    return points;
}

TEST(StrokeSet, AppendAndRemoveLastKeepPointsAndSizesTogether) {
    StrokeSet set;
    appendStroke(set, numbered(0, 3));
    EXPECT_EQ(set.sizes, (Sizes{3}));
    EXPECT_TRUE(removeLastStroke(set));
    EXPECT_EQ(set, StrokeSet{});
    EXPECT_FALSE(removeLastStroke(set));

    set = {numbered(0, 8), {3, 5}};
    EXPECT_TRUE(removeLastStroke(set));
    EXPECT_EQ(set, (StrokeSet{numbered(0, 3), {3}}));
}

TEST(StrokeSet, PrependPutsTheStrokeFirst) {
    StrokeSet set{numbered(0, 3), {3}};
    prependStroke(set, numbered(10, 4));
    EXPECT_EQ(set.sizes, (Sizes{4, 3}));
    EXPECT_EQ(set.points.front().x, 10);
    set = {numbered(0, 9), {5, 4}};
    prependStroke(set, numbered(10, 3));
    EXPECT_EQ(set.sizes, (Sizes{3, 5, 4}));
    EXPECT_EQ(splitStrokes(set)[1], numbered(0, 5));
}

TEST(StrokeSet, SplitAndJoinAreInverse) {
    const std::vector<Polyline> strokes{numbered(0, 2), {}, numbered(5, 3)};
    const StrokeSet set = joinStrokes(strokes);
    EXPECT_EQ(set.sizes, (Sizes{2, 0, 3}));
    EXPECT_EQ(splitStrokes(set), strokes);
    EXPECT_EQ(firstStroke(set), strokes[0]);
    EXPECT_EQ(lastSize(set), 3);
}

TEST(StrokeSet, CloseOverwritesEachLastPointWithTheFirst) {
    StrokeSet set{numbered(0, 5), {3, 2}};
    closeStrokes(set);
    EXPECT_EQ(set.points[2].x, 0);
    EXPECT_EQ(set.points[4].x, 3);
    EXPECT_EQ(set.points[1].x, 1);
}

TEST(StrokeSet, EmptySetHasNoFirstStrokeAndLastSizeMinusOne) {
    EXPECT_TRUE(firstStroke({}).empty());
    EXPECT_EQ(lastSize({}), -1);
}

TEST(MalformedStrokeSet, IsReadThroughItsConsistentPrefix) {
    const StrokeSet broken{numbered(0, 6), {2, -3, 5, 4}};
    EXPECT_FALSE(isConsistent(broken));
    const StrokeSet clipped = clippedStrokeSet(broken);
    EXPECT_EQ(clipped, (StrokeSet{numbered(0, 6), {2, 0, 4, 0}}));
    EXPECT_TRUE(isConsistent(clipped));
    EXPECT_EQ(splitStrokes(broken)[2], numbered(2, 4));
    EXPECT_EQ(lastSize(broken), 0);
    // Points no stroke claims are dropped rather than shifting the next stroke.
    EXPECT_EQ(clippedStrokeSet({numbered(0, 5), {2}}), (StrokeSet{numbered(0, 2), {2}}));
}

TEST(MalformedStrokeSet, EditsNeverReadOutOfBoundsAndLeaveItConsistent) {
    StrokeSet set{numbered(0, 4), {3, 5}};
    closeStrokes(set);
    EXPECT_EQ(set.points[3].x, 3);
    appendStroke(set, numbered(10, 2));
    EXPECT_EQ(set.sizes, (Sizes{3, 1, 2}));
    EXPECT_TRUE(isConsistent(set));
    set = {numbered(0, 4), {3, 5}};
    EXPECT_TRUE(removeLastStroke(set));
    EXPECT_EQ(set, (StrokeSet{numbered(0, 3), {3}}));
    set = {numbered(0, 4), {}};
    EXPECT_FALSE(removeLastStroke(set));
    EXPECT_EQ(set.points.size(), 4u);  // untouched
}

}  // namespace
}  // namespace geo

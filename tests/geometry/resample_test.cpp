#include <gtest/gtest.h>

#include "geometry/resample.h"
#include "tests/geometry/shapes.h"

namespace geo {
namespace {

using testing::arc;
using testing::line;

ClosedFlag always(bool value, int* reads = nullptr) {
    return [value, reads] {
        if (reads) ++*reads;
        return value;
    };
}

double span(const Polyline& p, std::size_t k) {
    return distance(p[k + 1], p[k]);
}

TEST(RaySphereIntersect, FindsThePointAtTheRadiusTowardTheSecondPoint) {
    const Point a{1, 1, 0};
    EXPECT_EQ(*raySphereIntersect(a, {4, 5, 0}, a, 10.0), (Point{7, 9, 0}));
    // A second point nearer than the radius: the direction is extended past it.
    EXPECT_EQ(*raySphereIntersect(a, {1, 1.5, 0}, a, 2.0), (Point{1, 3, 0}));
}

TEST(RaySphereIntersect, MissesOnCoincidentPointsTangentsAndMisses) {
    const Point o{};
    EXPECT_FALSE(raySphereIntersect(o, o, o, 1.0));
    EXPECT_FALSE(raySphereIntersect({-5, 1, 0}, {5, 1, 0}, o, 1.0));  // tangent
    EXPECT_FALSE(raySphereIntersect({-5, 2, 0}, {5, 2, 0}, o, 1.0));
}

TEST(ChordWalk, EachInputPointGivesAtMostOnePointAndLastInsideIsNotReset) {
    // Point 1 is beyond the chord, and at i = 1 the previous point is never the target.
    const Polyline out = chordWalk({{0, 0, 0}, {3, 0, 0}, {6, 0, 0}}, 1.0, 10);
    EXPECT_EQ(out, (Polyline{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {6, 0, 0}}));
}

TEST(ChordWalk, AimsAtThePreviousPointWhenItIsTheCloserFit) {
    const Polyline out = chordWalk({{0, 0, 0}, {0.6, 0.6, 0}, {1.5, 0, 0}, {1, 0, 0}}, 1.0, 10);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_NEAR(out[1].x, std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(out[1].y, std::sqrt(0.5), 1e-15);
}

TEST(ChordWalk, StopsAfterSpansPlusOnePointsAndClosesOnTheLastInputPoint) {
    const Polyline out = chordWalk(line({0, 0, 0}, {10, 0, 0}, 101), 1.0, 3);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_NEAR(out[3].x, 3.0, 1e-12);
    EXPECT_EQ(out[4], (Point{10, 0, 0}));
    EXPECT_TRUE(chordWalk({}, 1.0, 3).empty());
}

TEST(ResampleStroke, ReturnsShortOrAlreadySampledStrokesUnchanged) {
    const Polyline two{{0, 0, 0}, {5, 0, 0}};
    EXPECT_EQ(resampleStroke(two, 7), two);
    const Polyline five = line({0, 0, 0}, {1, 2, 0}, 5);
    EXPECT_EQ(resampleStroke(five, 4), five);
}

TEST(ResampleStroke, ZeroAndTheNoResampleCountGiveNothing) {
    const Polyline stroke = line({0, 0, 0}, {10, 0, 0}, 11);
    EXPECT_TRUE(resampleStroke(stroke, 0).empty());
    EXPECT_TRUE(resampleStroke(stroke, kNoResample, always(true)).empty());
}

TEST(ResampleStroke, StraightStrokeEndsExactlyOnTheChordSoNoExtraPointIsMade) {
    Polyline stroke;
    for (int i = 0; i <= 100; ++i) stroke.push_back({i / 10.0, 0, 0});
    const Polyline out = resampleStroke(stroke, 4);
    ASSERT_EQ(out.size(), 5u);
    const double expected[] = {0.0, 2.5, 5.0, 7.5, 10.0};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(out[k].x, expected[k], 1e-12) << k;
    for (const Point& p : out) EXPECT_EQ(p.w, 1.0);
}

TEST(ResampleStroke, QuarterCircleHasThreeEqualSpansAndAShorterLastOne) {
    const Polyline stroke = arc(0.25, 201);
    const Polyline out = resampleStroke(stroke, 4);
    ASSERT_EQ(out.size(), 5u);
    const double step = polylineLength(stroke) / 4;
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(span(out, k), step, 1e-12) << k;
    EXPECT_LT(span(out, 3), step);
    EXPECT_EQ(out.back(), stroke.back());
}

TEST(ResampleStroke, ClosedCircleIsSearchedToExactlyTheCount) {
    const Polyline circle = arc(1.0, 101);
    int reads = 0;
    EXPECT_EQ(resampleStroke(circle, 8, always(true, &reads)).size(), 8u);
    EXPECT_GT(reads, 1);
    reads = 0;
    EXPECT_EQ(resampleStroke(circle, 8, always(false, &reads)).size(), 9u);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(resampleStroke(circle, 8).size(), 9u);  // no flag source reads as open
}

TEST(ResampleStroke, ClosedSearchStopsAfterOneHundredThousandPasses) {
    // At least two points always come back, so one point is never reached.
    int reads = 0;
    const Polyline out = resampleStroke(line({0, 0, 0}, {1, 0, 0}, 3), 1, always(true, &reads));
    EXPECT_EQ(reads, 99999);
    EXPECT_EQ(out.size(), 2u);
}

TEST(ResampleStroke, SparseStrokeGivesFewerPoints) {
    const Polyline sparse{{0, 0, 0}, {1, 0, 0}, {5, 0, 0}, {10, 0, 0}};
    EXPECT_LT(resampleStroke(sparse, 10).size(), 11u);
}

}  // namespace
}  // namespace geo

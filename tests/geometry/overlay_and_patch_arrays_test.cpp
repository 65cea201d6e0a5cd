#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/overlay.h"
#include "geometry/patch_arrays.h"

namespace geo {
namespace {

// A unit quad in z = 0 wound counter-clockwise seen from +z.
const Polyline kQuad{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
const Point kFront{0, 0, 5};
const Point kBehind{0, 0, -5};

TEST(Overlay, KeepsFacesTurnedToTheEye) {
    const std::vector<Polyline> mesh{kQuad};
    const OverlayLists lists = overlayLists(mesh, kFront, 0.0);
    EXPECT_EQ(lists.triangles,
              (std::vector<Point>{kQuad[0], kQuad[1], kQuad[2], kQuad[0], kQuad[2], kQuad[3]}));
    ASSERT_EQ(lists.edges.size(), 8u);
    EXPECT_EQ(lists.edges[6], kQuad[3]);
    EXPECT_EQ(lists.edges[7], kQuad[0]);
    const OverlayLists behind = overlayLists(mesh, kBehind, 0.0);
    EXPECT_TRUE(behind.triangles.empty());
    EXPECT_TRUE(behind.edges.empty());
}

TEST(Overlay, ThresholdMovesTheCullingLine) {
    const std::vector<Polyline> mesh{kQuad};
    EXPECT_EQ(backFacing(kQuad, kBehind), 5.0);
    EXPECT_EQ(backFacing(kQuad, kFront), -5.0);
    EXPECT_EQ(overlayLists(mesh, kBehind, 5.0).triangles.size(), 6u);  // not above the threshold
    EXPECT_TRUE(overlayLists(mesh, kBehind, 4.9).triangles.empty());
    EXPECT_TRUE(overlayLists(mesh, kFront, -5.1).triangles.empty());
    EXPECT_EQ(overlayLists(mesh, kFront, -5.0).triangles.size(), 6u);
}

TEST(Overlay, ShortPolygonsGiveEdgesOnly) {
    const std::vector<Polyline> mesh{{{0, 0, 0}, {1, 0, 0}}, {{2, 2, 2}}};
    const OverlayLists lists = overlayLists(mesh, kFront, 0.0);
    EXPECT_TRUE(lists.triangles.empty());
    EXPECT_EQ(lists.edges.size(), 4u);
}

// Lists rebuilt into the same storage frame after frame hold exactly what a fresh build gives,
// whether the mesh shrank, grew, turned away or mixes polygon sizes.
TEST(Overlay, ListsRebuiltInPlaceEqualFreshOnes) {
    std::vector<Polyline> big;
    for (int i = 0; i < 40; ++i) {
        Polyline q = kQuad;
        for (Point& p : q) p.x += i;
        if (i % 3 == 0) q.insert(q.begin() + 3, Point{i + 0.5, 1.5, 0});  // a house
        if (i % 7 == 0) std::reverse(q.begin(), q.end());                 // turned away
        big.push_back(q);
    }
    const std::vector<Polyline> small{kQuad, {{0, 0, 0}, {1, 0, 0}}};
    OverlayLists reused;
    const std::vector<const std::vector<Polyline>*> frames{&big, &small, &big, &small};
    for (const std::vector<Polyline>* mesh : frames) {
        for (const Point& eye : {kFront, kBehind}) {
            overlayLists(*mesh, eye, 0.0, reused);
            const OverlayLists fresh = overlayLists(*mesh, eye, 0.0);
            EXPECT_EQ(reused.triangles, fresh.triangles);
            EXPECT_EQ(reused.edges, fresh.edges);
        }
    }
    overlayLists(big, kFront, 0.0, reused);
    // 40 polygons, 6 of them turned away; 14 houses (two of them turned away) of 3 triangles
    // and 5 edges, the other polygons quads of 2 triangles and 4 edges.
    EXPECT_EQ(reused.triangles.size(), 3u * (12 * 3 + 22 * 2));
    EXPECT_EQ(reused.edges.size(), 2u * (12 * 5 + 22 * 4));
}

TEST(ReverseNewQuads, TurnsEachNewQuadAtTheTail) {
    std::vector<int> connect{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    reverseNewQuads(connect, 3);
    EXPECT_EQ(connect, (std::vector<int>{3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8}));
    std::vector<int> mixed{0, 1, 2, 10, 11, 12, 13, 20, 21, 22, 23};
    reverseNewQuads(mixed, 2);
    EXPECT_EQ(mixed, (std::vector<int>{0, 1, 2, 13, 12, 11, 10, 23, 22, 21, 20}));
}

TEST(ReverseNewQuads, LeavesEverythingWhenThereAreNoOrTooManyNewFaces) {
    const std::vector<int> original{0, 1, 2, 3, 4, 5, 6, 7};
    std::vector<int> connect = original;
    reverseNewQuads(connect, 0);
    EXPECT_EQ(connect, original);
    reverseNewQuads(connect, 3);
    EXPECT_EQ(connect, original);
}

}  // namespace
}  // namespace geo

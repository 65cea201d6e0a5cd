// The modelling operations on the mesh kernel, without the scene: component
// lists, merging, bridging and averaging.

#include <gtest/gtest.h>

#include <algorithm>

#include "host/src/mesh/ops/MeshOps.h"

namespace {

using ehost::ComponentList;
using ehost::ComponentType;
using ehost::MeshGeometry;
using ehost::Vec3;

MeshGeometry meshOf(const std::vector<Vec3>& points, const std::vector<int>& counts,
                    const std::vector<int>& connects) {
    MeshGeometry m;
    EXPECT_TRUE(m.create(points, counts, connects).ok());
    return m;
}

std::vector<int> corners(const MeshGeometry& m, int face) {
    return std::vector<int>(m.faceVertices(face).begin(), m.faceVertices(face).end());
}

// ---------------------------------------------------------------- ComponentList

TEST(ComponentListTest, KeepsOrderDropsRepeatsAndWritesRanges) {
    ComponentList c;
    c.add(ComponentType::Edge, {7, 3, 4, 5, 3});
    c.add(ComponentType::Vertex, {2, 2, 9});
    c.add(ComponentType::Edge, {7, 8});
    EXPECT_EQ(c.edges, (std::vector<int>{7, 3, 4, 5, 8}));
    EXPECT_EQ(c.toStrings(),
              (std::vector<std::string>{"vtx[2]", "vtx[9]", "e[7]", "e[3:5]", "e[8]"}));
    ComponentList back;
    std::string why;
    const MeshGeometry grid = ehost::makePlane(1, 1, 3, 3);  // 16 vertices, 24 edges
    ASSERT_TRUE(ComponentList::fromStrings(c.toStrings(), grid, back, why)) << why;
    EXPECT_EQ(back.vertices, c.vertices);
    EXPECT_EQ(back.edges, c.edges);
    EXPECT_FALSE(ComponentList::fromStrings({"vtx[1]", "uv[2]"}, grid, back, why));
    EXPECT_EQ(why, "\"uv[2]\" is not a mesh component");
    EXPECT_EQ(back.vertices, c.vertices) << "a refused list leaves the output alone";
}

TEST(ComponentListTest, RangesAllowBlanksReversedBoundsAndStars) {
    std::vector<int> ids;
    std::string why;
    ASSERT_TRUE(ehost::parseComponentRange(" 5", 10, ids, why));
    ASSERT_TRUE(ehost::parseComponentRange("8 : 6", 10, ids, why));
    ASSERT_TRUE(ehost::parseComponentRange("*", 2, ids, why));
    EXPECT_EQ(ids, (std::vector<int>{5, 6, 7, 8, 0, 1}));
    EXPECT_FALSE(ehost::parseComponentRange("10", 10, ids, why));
    EXPECT_EQ(why, "component index 10 is out of range (10 elements)");
    EXPECT_FALSE(ehost::parseComponentRange("-1", 10, ids, why));
    EXPECT_FALSE(ehost::parseComponentRange("1:x", 10, ids, why));
    EXPECT_EQ(why, "bad component range \"1:x\"");
}

TEST(ComponentListTest, VerticesComeThroughEdgesAndFacesAndMustFit) {
    const MeshGeometry m = ehost::makePlane(1, 1, 2, 1);  // 0 1 2 / 3 4 5
    ComponentList c;
    c.add(ComponentType::Face, {1});
    c.add(ComponentType::Vertex, {4});
    EXPECT_EQ(c.vertexIds(m), (std::vector<int>{4, 1, 2, 5}));
    std::string why;
    EXPECT_TRUE(c.fits(m, why));
    c.add(ComponentType::Edge, {m.numEdges()});
    EXPECT_FALSE(c.fits(m, why));
    EXPECT_EQ(why, "e[7] does not exist (7 elements)");
}

// ---------------------------------------------------------------- merging

TEST(MergeVerticesTest, KeepsUVsAndHardEdgesOfWhatSurvives) {
    MeshGeometry m = ehost::makePlane(2, 1, 2, 1);
    ASSERT_TRUE(m.createUVSet("extra").ok());
    ASSERT_TRUE(m.setUVs({0.5f}, {0.25f}, "extra").ok());
    ASSERT_TRUE(m.assignUVs({0, 4}, {0, 0, 0, 0}, "extra").ok());
    ASSERT_TRUE(m.setCurrentUVSet("extra").ok());
    ASSERT_TRUE(m.setEdgeSmoothing(m.findEdge(1, 4), false).ok());
    ASSERT_TRUE(m.setEdgeSmoothing(m.findEdge(2, 5), false).ok());
    MeshGeometry out;
    ASSERT_TRUE(ehost::mergeVertices(m, {2, 5}, 0, true, out).ok());
    ASSERT_EQ(out.numVertices(), 5);
    EXPECT_EQ(out.currentUVSetName(), "extra");
    EXPECT_EQ(out.numUVs("map1"), m.numUVs("map1")) << "UV values are kept";
    EXPECT_EQ(out.polygonUVid(0, 2, "map1"), m.polygonUVid(0, 2, "map1"));
    EXPECT_EQ(out.polygonUVid(1, 0, "extra"), 0);
    EXPECT_EQ(out.polygonUVid(0, 0, "extra"), -1);
    EXPECT_EQ(corners(out, 1), (std::vector<int>{1, 2, 4}));
    EXPECT_FALSE(out.isEdgeSmooth(out.findEdge(1, 4)))
        << "a hard edge away from the merge stays hard";
    EXPECT_EQ(out.numHardEdges(), 1) << "the collapsed hard edge is gone";
}

TEST(MergeVerticesTest, ChainsOfCloseVerticesJoinAsOneGroupAtTheirAverage) {
    const MeshGeometry m =
        meshOf({{0, 0, 0}, {0.4, 0, 0}, {0.8, 0, 0}, {5, 0, 0}, {0, 1, 0}, {5, 1, 0}}, {3, 3},
               {0, 1, 4, 2, 3, 5});
    MeshGeometry out;
    ASSERT_TRUE(ehost::mergeVertices(m, {0, 1, 2, 3}, 0.5, false, out).ok());
    EXPECT_EQ(out.numVertices(), 3) << "vtx[1:2] joined vtx[0]; vtx[4] lost its only triangle";
    EXPECT_EQ(out.point(0), Vec3((0 + 0.4 + 0.8) / 3, 0, 0));
    ASSERT_EQ(out.numFaces(), 1) << "the first triangle collapsed; the second lost nothing";
    EXPECT_EQ(corners(out, 0), (std::vector<int>{0, 1, 2}));
    ASSERT_TRUE(ehost::mergeVertices(m, {0, 1, 2}, 0, false, out).ok());
    EXPECT_EQ(out, m) << "a zero distance joins only identical points";
    EXPECT_FALSE(ehost::mergeVertices(m, {0, 1}, -1, false, out).ok());
    EXPECT_FALSE(ehost::mergeVertices(m, {0, 9}, 1, false, out).ok());
}

TEST(MergeVerticesTest, PolygonsPassingTwiceThroughAVertexAreRemoved) {
    const MeshGeometry m = ehost::makePlane(1, 1, 1, 1);  // one quad 0 1 3 2
    MeshGeometry out;
    ASSERT_TRUE(ehost::mergeVertices(m, {0, 3}, 0, true, out).ok());
    EXPECT_EQ(out.numFaces(), 0);
    EXPECT_EQ(out.numVertices(), 0) << "vertices left without polygons go";
    const MeshGeometry loose = meshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}}, {3}, {0, 1, 2});
    ASSERT_TRUE(ehost::mergeVertices(loose, {1, 2}, 0, true, out).ok());
    EXPECT_EQ(out.numVertices(), 1)
        << "a point no polygon used before stays; the collapsed triangle's go";
    EXPECT_EQ(out.point(0), Vec3(9, 9, 9));
}

// ---------------------------------------------------------------- bridging

//! A unit square at height y, facing down (bottom) or up (top).
MeshGeometry twoSquares() {
    return meshOf({{0, 0, 0},
                   {1, 0, 0},
                   {1, 0, -1},
                   {0, 0, -1},
                   {0, 1, 0},
                   {1, 1, 0},
                   {1, 1, -1},
                   {0, 1, -1}},
                  {4, 4}, {0, 3, 2, 1, 4, 5, 6, 7});
}

TEST(BridgeEdgesTest, BridgingTwoLoopsClosesABox) {
    const MeshGeometry m = twoSquares();
    // The top loop starts elsewhere and runs the other way: the pairing still
    // matches each bottom corner with the one above it.
    std::vector<int> edges{m.findEdge(0, 1), m.findEdge(1, 2), m.findEdge(2, 3), m.findEdge(3, 0),
                           m.findEdge(6, 5), m.findEdge(5, 4), m.findEdge(4, 7), m.findEdge(7, 6)};
    MeshGeometry out;
    ASSERT_TRUE(ehost::bridgeEdges(m, edges, 0, out).ok());
    EXPECT_EQ(out.numVertices(), 8);
    ASSERT_EQ(out.numFaces(), 6);
    for (int e = 0; e < out.numEdges(); ++e) EXPECT_EQ(out.edgeFaces(e).size(), 2u) << "closed";
    for (int f = 2; f < 6; ++f) {
        Vec3 centre;
        for (int v : out.faceVertices(f)) centre += out.point(v) - Vec3(0.5, 0.5, -0.5);
        EXPECT_GT(ehost::dot(out.faceNormal(f), centre), 0) << "side " << f << " faces out";
        const std::vector<int> side = corners(out, f);
        for (int v : side)
            EXPECT_NE(std::find(side.begin(), side.end(), v ^ 4), side.end())
                << "each side joins a corner and the one above it";
    }
    ASSERT_TRUE(ehost::bridgeEdges(m, edges, 1, out).ok());
    EXPECT_EQ(out.numVertices(), 12);
    EXPECT_EQ(out.numFaces(), 10);
    for (int v = 8; v < 12; ++v) EXPECT_EQ(out.point(v).y, 0.5);
}

TEST(BridgeEdgesTest, RefusesWhatIsNotTwoMatchingBorderChains) {
    const MeshGeometry m = twoSquares();
    MeshGeometry out;
    const int a = m.findEdge(0, 1), b = m.findEdge(1, 2), c = m.findEdge(4, 5);
    EXPECT_EQ(ehost::bridgeEdges(m, {a, b, c}, 0, out).error,
              "the chains have 2 and 1 edges: a bridge needs as many on both sides");
    std::vector<int> loop{m.findEdge(0, 1), m.findEdge(1, 2), m.findEdge(2, 3), m.findEdge(3, 0)};
    std::vector<int> mixed = loop;
    mixed.insert(mixed.end(),
                 {m.findEdge(4, 5), m.findEdge(5, 6), m.findEdge(6, 7), m.findEdge(7, 4)});
    mixed.pop_back();
    mixed.insert(mixed.begin(), m.findEdge(4, 7));
    EXPECT_TRUE(ehost::bridgeEdges(m, mixed, 0, out).ok()) << "order does not matter";
    std::vector<int> loopAndChain = loop;
    loopAndChain.insert(loopAndChain.end(), {m.findEdge(4, 5), m.findEdge(5, 6), m.findEdge(6, 7)});
    EXPECT_EQ(ehost::bridgeEdges(m, loopAndChain, 0, out).error,
              "one chain is a closed loop and the other is not");
    EXPECT_EQ(ehost::bridgeEdges(m, {a, c}, -1, out).error,
              "the number of divisions cannot be negative");
    const MeshGeometry plane = ehost::makePlane(1, 1, 2, 1);
    EXPECT_EQ(ehost::bridgeEdges(plane, {plane.findEdge(1, 4), plane.findEdge(0, 1)}, 0, out).error,
              "e[" + std::to_string(plane.findEdge(1, 4)) + "] is not a border edge");
}

// ---------------------------------------------------------------- averaging

TEST(AverageVerticesTest, InnerVerticesAverageAllNeighboursBorderOnesTheirBorderNeighbours) {
    MeshGeometry m = ehost::makePlane(2, 2, 2, 2);  // 3 x 3 vertices, centre 4
    ASSERT_TRUE(m.setPoint(4, {0.5, 1, -0.25}).ok());
    ASSERT_TRUE(m.setPoint(1, {0.5, 0, 1}).ok());
    MeshGeometry out;
    ASSERT_TRUE(ehost::averageVertices(m, {0, 1, 4}, 1, out).ok());
    EXPECT_EQ(out.point(4), Vec3((0.5 - 1 + 1 + 0) / 4, 0, (1 + 0 + 0 - 1) / 4.0))
        << "from the old positions";
    EXPECT_EQ(out.point(1), Vec3(0, 0, 1)) << "between its border neighbours 0 and 2";
    EXPECT_EQ(out.point(0), m.point(0)) << "a corner stays";
    ASSERT_TRUE(ehost::averageVertices(m, {4}, 0, out).ok());
    EXPECT_EQ(out, m) << "no iterations, no change";
    EXPECT_FALSE(ehost::averageVertices(m, {4}, -1, out).ok());
    EXPECT_FALSE(ehost::averageVertices(m, {9}, 1, out).ok());
}

TEST(AverageVerticesTest, VerticesWhereBordersCrossStay) {
    // Two triangles touching at vertex 0 only: it has four border edges.
    const MeshGeometry m = meshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {-1, 0, 0}, {-1, -1, 0}},
                                  {3, 3}, {0, 1, 2, 0, 3, 4});
    MeshGeometry out;
    ASSERT_TRUE(ehost::averageVertices(m, {0}, 3, out).ok());
    EXPECT_EQ(out.point(0), Vec3(0, 0, 0));
}

}  // namespace

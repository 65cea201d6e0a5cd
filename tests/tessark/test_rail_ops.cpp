#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>

#include "kvpatchnode/StateSenders.h"
#include "patch/PatchHelpers.h"
#include "railnode/RailNodeOps.h"
#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

MPointArray line(double x0, int count, double z = 0) {
    MPointArray p;
    for (int i = 0; i < count; ++i) p.append(MPoint(x0 + i, 0, z));
    return p;
}

MIntArray ints(std::initializer_list<int> v) {
    MIntArray a;
    for (int x : v) a.append(x);
    return a;
}

std::vector<int> sizesOf(tessark::RailInts attribute) {
    return tessark::RailNode::find().ints(attribute);
}

class RailOpsTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        for (const char* v : {"kv_uspan", "kv_vspan", "Tessark_info1", "Tessark_info2"})
            MGlobal::removeOptionVar(v);
        makeGrid("src", 2, 10.0);
        ASSERT_TRUE(
            run("createNode Tessark -n rail; connectAttr srcShape.outMesh rail.TessarkMesh"));
    }
};

TEST_F(RailOpsTest, FindsTheRailNodeAndTheSourceMesh) {
    EXPECT_EQ(MFnDependencyNode(tessark::RailNode::find().object()).name(), MString("rail"));
    EXPECT_EQ(tessark::sourceMeshPath().fullPathName(), MString("|src|srcShape"));
    ASSERT_TRUE(run("disconnectAttr srcShape.outMesh rail.TessarkMesh"));
    EXPECT_FALSE(tessark::sourceMeshPath().isValid());
    ASSERT_TRUE(run("delete rail"));
    EXPECT_TRUE(tessark::RailNode::find().object().isNull());
    // Without a rail node reads give nothing and writes fail without harm.
    EXPECT_EQ(tessark::readStrokes(MObject()).length(), 0u);
    EXPECT_EQ(tessark::lastShadowSize(), -1);
    EXPECT_FALSE(tessark::removeLastStroke());
    tessark::appendStroke(line(0, 3));
}

TEST_F(RailOpsTest, StrokeSetsGrowShrinkAndCloseOnTheNode) {
    EXPECT_FALSE(tessark::removeLastStroke()) << "an empty set removes nothing";
    tessark::appendStroke(line(0, 3));
    tessark::appendStroke(line(10, 5));
    EXPECT_EQ(sizesOf(tessark::RailInts::sizes), (std::vector<int>{3, 5}));
    EXPECT_TRUE(tessark::removeLastStroke());
    EXPECT_EQ(sizesOf(tessark::RailInts::sizes), std::vector<int>{3});
    EXPECT_EQ(tessark::readStrokes(tessark::RailNode::find().object()).length(), 3u);
    tessark::prependStroke(line(20, 4));
    EXPECT_EQ(sizesOf(tessark::RailInts::sizes), (std::vector<int>{4, 3}));
    EXPECT_EQ(tessark::splitStrokes()[0][0], MPoint(20, 0, 0)) << "the new stroke comes first";
    tessark::closeStrokes();
    auto strokes = tessark::splitStrokes();
    EXPECT_EQ(strokes[0][3], strokes[0][0]);
    EXPECT_EQ(strokes[1][2], strokes[1][0]);
    EXPECT_TRUE(tessark::removeLastStroke());
    EXPECT_TRUE(tessark::removeLastStroke());
    EXPECT_TRUE(sizesOf(tessark::RailInts::sizes).empty());
}

TEST_F(RailOpsTest, OversizedStrokeSetsAreReadWithinTheirPoints) {
    MObject rail = tessark::RailNode::find().object();
    tessark::RailNode(rail).setPoints(tessark::RailPoints::strokes,
                                      tessark::toPolyline(line(0, 4)));
    tessark::RailNode(rail).setInts(tessark::RailInts::sizes, {3, 5, -2});
    auto strokes = tessark::splitStrokes();
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0].length(), 3u);
    EXPECT_EQ(strokes[1].length(), 1u);
    EXPECT_EQ(strokes[2].length(), 0u);
}

TEST_F(RailOpsTest, ShadowStrokesAndPatchHelpers) {
    EXPECT_EQ(tessark::lastShadowSize(), -1);
    EXPECT_EQ(tessark::firstShadowStroke().length(), 0u);
    MObject rail = tessark::RailNode::find().object();
    MPointArray both = line(0, 3);
    MPointArray second = line(10, 4, 2);
    for (unsigned i = 0; i < second.length(); ++i) both.append(second[i]);
    tessark::RailNode(rail).setPoints(tessark::RailPoints::strokesShadow,
                                      tessark::toPolyline(both));
    tessark::RailNode(rail).setInts(tessark::RailInts::sizesShadow, {3, 4});
    EXPECT_EQ(tessark::shadowStrokeCount(), 2);
    EXPECT_EQ(tessark::lastShadowSize(), 4);
    EXPECT_EQ(tessark::firstShadowStroke().length(), 3u);
    MPointArray last;
    MIntArray size;
    ASSERT_TRUE(tessark::lastShadowStroke(last, size));
    EXPECT_EQ(last[0], MPoint(10, 0, 2));
    EXPECT_EQ(size[0], 4);
    tessark::clearShadowStrokes();
    MStatus st = tessark::lastShadowStroke(last, size);
    EXPECT_EQ(st.statusCode(), MStatus::kInvalidParameter);

    tessark::RailNode(rail).setInts(tessark::RailInts::newFaces, {7, 8});
    EXPECT_EQ(tessark::relaxCommand(path("src")),
              MString("polyAverageVertex - i 1 \"|src.f[7]\" \"|src.f[8]\""));
    tessark::clearNewFaces();
    EXPECT_EQ(tessark::relaxCommand(path("src")), MString("polyAverageVertex - i 1"));
    EXPECT_EQ(tessark::verticesAtPoints(path("src"), MPointArray()).length(), 0u);
    MPointArray corner;
    corner.append(MPoint(-5, 0, -5.00001));
    MIntArray found = tessark::verticesAtPoints(path("src"), corner);
    ASSERT_EQ(found.length(), 1u);
    EXPECT_EQ(found[0], 0);
}

TEST_F(RailOpsTest, SpansAndPromptsComeFromOptionVariables) {
    EXPECT_EQ(tessark::uSpans(), 12);
    EXPECT_EQ(tessark::vSpans(), 12);
    MGlobal::setOptionVarValue("kv_uspan", 6);
    EXPECT_EQ(tessark::uSpans(), 6);
    MGlobal::removeOptionVar("kv_uspan");
    tessark::setInfo1("status");
    tessark::setInfo2("hint");
    EXPECT_EQ(MGlobal::optionVarStringValue("Tessark_info1"), MString("status"));
    ASSERT_TRUE(run("setAttr rail.displayInfo 0"));
    tessark::setInfo1("hidden");
    EXPECT_EQ(MGlobal::optionVarStringValue("Tessark_info1"), MString(""));
    EXPECT_EQ(MGlobal::optionVarStringValue("Tessark_info2"), MString(""))
        << "both lines are blanked";
}

TEST_F(RailOpsTest, NonDestructiveStrokesAreDensifiedCopies) {
    tessark::appendStroke(line(0, 3));
    tessark::saveNondestructStrokes();
    EXPECT_TRUE(sizesOf(tessark::RailInts::sizesNondestruct).empty())
        << "a single stroke is not saved";
    tessark::appendStroke(line(10, 2));
    tessark::saveNondestructStrokes();
    EXPECT_EQ(sizesOf(tessark::RailInts::sizesNondestruct), (std::vector<int>{12, 6}));
    auto strokes = tessark::retrieveNondestructStrokes();
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0].length(), 12u);
    EXPECT_EQ(strokes[1][1], MPoint(10.2, 0, 0));
    MPointArray four = line(0, 4);
    tessark::densifyStroke(four);
    EXPECT_EQ(four.length(), 78u);
}

TEST_F(RailOpsTest, FuseAndPlayerStateReachTheNode) {
    MPointArray pts = line(0, 2);
    MUintArray idx;
    for (unsigned i : {2u, 0u, 1u}) idx.append(i);
    tessark::RailNode::find().setInts(tessark::RailInts::sizesShadow, {2});
    ASSERT_TRUE(tessark::sendFuse(pts, pts, idx, false));
    EXPECT_EQ(sizesOf(tessark::RailInts::fuseindices), (std::vector<int>{2, 0, 1}));
    EXPECT_FALSE(tessark::RailNode::find().flag(tessark::RailFlag::mode, true));
    tessark::clearFuse();
    EXPECT_TRUE(sizesOf(tessark::RailInts::fuseindices).empty());
    EXPECT_TRUE(sizesOf(tessark::RailInts::sizesShadow).empty())
        << "clearing the fuse also drops the shadow sizes";
    ASSERT_TRUE(run("select -r src"));
    tessark::sendPlayerPoints(ints({0, 8}));
    MPointArray pins =
        tessark::toPointArray(tessark::RailNode::find().points(tessark::RailPoints::playerpts));
    ASSERT_EQ(pins.length(), 2u);
    EXPECT_EQ(pins[1], MPoint(5, 0, 5));
    tessark::setClose(true);
    EXPECT_TRUE(tessark::RailNode::find().flag(tessark::RailFlag::close));
}

TEST_F(RailOpsTest, EdgeChainPointsFollowTheChain) {
    // Edges of the 2x2 grid: 0 (0-3), 1 (3-4), 2 (4-1), 3 (1-0), ... along the z = -5 border: 3
    // then 7.
    MDagPath mesh = path("src");
    MIntArray border;
    MFnMesh fn(mesh);
    for (int e = 0; e < fn.numEdges(); ++e) {
        int2 v;
        fn.getEdgeVertices(e, v);
        if ((v[0] == 0 && v[1] == 1) || (v[0] == 1 && v[1] == 0)) border.append(e);
    }
    for (int e = 0; e < fn.numEdges(); ++e) {
        int2 v;
        fn.getEdgeVertices(e, v);
        if ((v[0] == 1 && v[1] == 2) || (v[0] == 2 && v[1] == 1)) border.append(e);
    }
    ASSERT_EQ(border.length(), 2u);
    MPointArray chain = tessark::edgeChainPoints(border, mesh);
    ASSERT_EQ(chain.length(), 3u);
    EXPECT_EQ(chain[0], MPoint(-5, 0, -5));
    EXPECT_EQ(chain[2], MPoint(5, 0, -5));
    MIntArray reversed;
    reversed.append(border[1]);
    reversed.append(border[0]);
    chain = tessark::edgeChainPoints(reversed, mesh);
    EXPECT_EQ(chain[0], MPoint(5, 0, -5)) << "a chain given backwards comes out backwards";
    EXPECT_EQ(tessark::edgeChainPoints(MIntArray(), mesh).length(), 0u);
}

}  // namespace

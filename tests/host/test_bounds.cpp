// Bounding boxes of DAG nodes as the host computes them, for every kind of
// shape: meshes (with their tweaks), bounded and unbounded locators, cameras
// (no geometry), and transforms above them; and the commands that report them.

#include <maya/MBoundingBox.h>
#include <maya/MFnDagNode.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MSelectionList.h>

#include <cmath>
#include <sstream>

#include "host/src/plugin/PluginNodes.h"
#include "tests/host/test_commands_fixture.h"

namespace {

//! A locator whose box the tests set; unbounded when told so.
class BoxLocator : public MPxLocatorNode {
public:
    static void* creator() { return new BoxLocator; }
    static MStatus initialize() { return MStatus::kSuccess; }
    bool isBounded() const override { return bounded; }
    MBoundingBox boundingBox() const override {
        return MBoundingBox(MPoint(-1, 0, -2), MPoint(1, 3, 2));
    }
    static bool bounded;
};
bool BoxLocator::bounded = true;
const MTypeId kBoxLocatorId(0x7f0b01);

class BoundsTest : public CommandTextTest {
protected:
    void SetUp() override {
        CommandTextTest::SetUp();
        BoxLocator::bounded = true;
        ASSERT_TRUE(ehost::registerPluginNodeType("boxLocator", kBoxLocatorId, BoxLocator::creator,
                                                  BoxLocator::initialize, MPxNode::kLocatorNode, "",
                                                  ""));
    }
    void TearDown() override {
        CommandTextTest::TearDown();
        ehost::deregisterPluginNodeType(kBoxLocatorId);
    }
    static MBoundingBox boxOf(const char* name) {
        MSelectionList l;
        EXPECT_TRUE(l.add(name)) << name;
        MDagPath p;
        l.getDagPath(0, p);
        MStatus st;
        MBoundingBox b = MFnDagNode(p).boundingBox(&st);
        EXPECT_TRUE(st);
        return b;
    }
    static std::string text(const MBoundingBox& b) {
        std::ostringstream out;
        for (double v : {b.min().x, b.min().y, b.min().z, b.max().x, b.max().y, b.max().z}) {
            double r = std::round(v * 1e9) / 1e9;
            out << (out.tellp() ? " " : "") << (r == 0 ? 0.0 : r);
        }
        return out.str();
    }
    static std::string rounded(const std::string& command) {
        std::istringstream in(result(command));
        std::ostringstream out;
        double v;
        while (in >> v) {
            double r = std::round(v * 1e9) / 1e9;
            out << (out.tellp() ? " " : "") << (r == 0 ? 0.0 : r);
        }
        return out.str();
    }
};

TEST_F(BoundsTest, AMeshShapesBoxIsItsOutputGeometryTweaksIncluded) {
    ASSERT_TRUE(run("polyCube -w 2 -h 4 -d 6 -n box; setAttr box.translate 10 0 0"));
    EXPECT_EQ(text(boxOf("boxShape")), "-1 -2 -3 1 2 3") << "in the shape's own space";
    ASSERT_TRUE(run("move -r 0 5 0 \"boxShape.vtx[2]\""));
    EXPECT_EQ(text(boxOf("boxShape")), "-1 -2 -3 1 7 3") << "a moved vertex widens the box";
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(text(boxOf("boxShape")), "-1 -2 -3 1 2 3");
}

TEST_F(BoundsTest, ATransformsBoxHoldsItsChildrenInItsParentsSpace) {
    ASSERT_TRUE(
        run("createNode transform -n g; polyCube -n a; polyCube -w 2 -n b; "
            "parent a g; parent b g; setAttr a.translate 0 3 0; "
            "setAttr b.translate 5 0 0; setAttr g.translate 100 0 0; "
            "setAttr g.scale 2 2 2"));
    EXPECT_EQ(text(boxOf("a")), "-0.5 2.5 -0.5 0.5 3.5 0.5") << "through a's own matrix";
    EXPECT_EQ(text(boxOf("g")), "99 -1 -1 112 7 1") << "both children, then g's matrix";
    EXPECT_EQ(rounded("xform -q -bb g"), "-0.5 -0.5 -0.5 6 3.5 0.5") << "in g's own space";
    EXPECT_EQ(rounded("xform -q -ws -bb a"), "99 5 -1 101 7 1");
    EXPECT_EQ(rounded("exactWorldBoundingBox a b"), "99 -1 -1 112 7 1");
    // Hidden children count for the node's box, not for -boundingBox.
    ASSERT_TRUE(run("setAttr b.visibility 0"));
    EXPECT_EQ(text(boxOf("g")), "99 -1 -1 112 7 1");
    EXPECT_EQ(rounded("xform -q -bb g"), "-0.5 2.5 -0.5 0.5 3.5 0.5");
    EXPECT_EQ(rounded("xform -q -bbi g"), "-0.5 -0.5 -0.5 6 3.5 0.5");
    EXPECT_EQ(rounded("exactWorldBoundingBox -ii 1 g"), "99 5 -1 101 7 1");
    // Intermediate objects never count.
    ASSERT_TRUE(run("setAttr bShape.intermediateObject 1; setAttr b.visibility 1"));
    EXPECT_EQ(text(boxOf("g")), "99 5 -1 101 7 1");
}

TEST_F(BoundsTest, ARotatedMeshHasAnExactWorldBoxAndACornerBoxAbove) {
    ASSERT_TRUE(run("polyPlane -w 2 -h 2 -sx 1 -sy 1 -n p; setAttr p.rotateY 45"));
    const double r = std::sqrt(2.0);
    MBoundingBox b = boxOf("p");
    EXPECT_NEAR(b.max().x, r, 1e-12) << "the plane's corners turned by 45 degrees";
    EXPECT_NEAR(b.min().z, -r, 1e-12);
    EXPECT_EQ(rounded("exactWorldBoundingBox p"), rounded("xform -q -ws -bb p"));
    EXPECT_NEAR(std::stod(result("exactWorldBoundingBox p")), -r, 1e-9);
}

TEST_F(BoundsTest, LocatorsGiveTheirPluginsBoxWhenBoundedAndCamerasHaveNone) {
    ASSERT_TRUE(
        run("createNode transform -n loc; createNode boxLocator -n locShape -p loc; "
            "setAttr loc.translate 0 0 10"));
    EXPECT_EQ(text(boxOf("locShape")), "-1 0 -2 1 3 2");
    EXPECT_EQ(text(boxOf("loc")), "-1 0 8 1 3 12");
    EXPECT_EQ(rounded("exactWorldBoundingBox loc"), "-1 0 8 1 3 12");
    BoxLocator::bounded = false;
    EXPECT_EQ(text(boxOf("loc")), "0 0 0 0 0 0") << "an unbounded locator adds nothing";
    EXPECT_EQ(text(boxOf("perspShape")), "0 0 0 0 0 0") << "a camera has no geometry";
    EXPECT_EQ(rounded("exactWorldBoundingBox persp"), "0 0 0 0 0 0");
}

TEST_F(BoundsTest, PolyEvaluateGivesBoxesAsPairsPerAxisInWorldSpace) {
    ASSERT_TRUE(run("polyCube -w 2 -h 4 -d 6 -n box; setAttr box.translate 10 0 0"));
    EXPECT_EQ(rounded("polyEvaluate -b box"), "9 11 -2 2 -3 3") << "xmin xmax ymin ymax zmin zmax";
    EXPECT_EQ(rounded("polyEvaluate -boundingBox boxShape"), "9 11 -2 2 -3 3");
    EXPECT_EQ(rounded("polyEvaluate -b2 box"), "0.125 0.875 0 1") << "the cube's UVs";
    EXPECT_EQ(rounded("polyEvaluate -bc \"box.vtx[0:1]\""), "9 11 -2 -2 3 3");
    EXPECT_EQ(rounded("polyEvaluate -bc box"), "0 0 0 0 0 0")
        << "no components: zeros keep the positions of the values";
    EXPECT_EQ(rounded("polyEvaluate -b -bc \"box.vtx[0]\""), "9 11 -2 2 -3 3 9 9 -2 -2 3 3");
    ASSERT_TRUE(run("select box"));
    EXPECT_EQ(rounded("polyEvaluate -b"), "9 11 -2 2 -3 3") << "the selection stands in";
    EXPECT_EQ(failure("polyEvaluate -b -v box"),
              "polyEvaluate: counts cannot be mixed with bounding boxes");
}

}  // namespace

#include <maya/MFnDagNode.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

class PatchCmdTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        makeGrid("m", 3);
        shape = node("mShape");
        original = std::make_shared<ehost::MeshGeometry>(*meshOf(shape));
    }
    //! The node feeding a plug ("" when none).
    std::string feeding(const std::string& plugName) {
        MSelectionList list;
        list.add(plugName.c_str());
        MPlug p;
        list.getPlug(0, p);
        MPlugArray sources;
        p.connectedTo(sources, true, false);
        return sources.length() ? MFnDependencyNode(sources[0].node()).name().str() : "";
    }
    bool exists(const std::string& name) { return ehost::session().scene().find(name) != nullptr; }
    MObject shape;
    std::shared_ptr<const ehost::MeshGeometry> original;
};

TEST_F(PatchCmdTest, AMeshWithoutHistoryGetsAHiddenOriginalCopyAndUndoRestoresIt) {
    EXPECT_EQ(result("kvPatchCmd -m \"|m\""), "kvPatchNode1");
    EXPECT_EQ(feeding("mShape.inMesh"), "kvPatchNode1");
    std::string orig = feeding("kvPatchNode1.inMesh");
    EXPECT_EQ(orig, "mShape1Orig");
    EXPECT_EQ(result("ls -l " + orig), "|m|mShape1Orig")
        << "the copy sits under the mesh's transform";
    EXPECT_EQ(result("getAttr " + orig + ".intermediateObject"), "1");
    EXPECT_TRUE(exists("polyTweak1")) << "made in every case";
    EXPECT_EQ(feeding("kvPatchNode1.inMesh"), orig) << "the tweak node is not wired without tweaks";
    EXPECT_EQ(result("ls -type transform"), "persp m") << "the duplicate's transform is gone";
    EXPECT_TRUE(*meshOf(shape) == *original) << "an empty patch node passes the mesh through";
    MDagPath shapePath = path("m");
    ASSERT_TRUE(shapePath.extendToShape()) << "the hidden copy does not count as a second shape";
    EXPECT_EQ(shapePath.fullPathName(), MString("|m|mShape"));

    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(feeding("mShape.inMesh"), "");
    EXPECT_FALSE(exists("kvPatchNode1") || exists("polyTweak1") || exists(orig));
    EXPECT_TRUE(*meshOf(shape) == *original);

    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(feeding("mShape.inMesh"), "kvPatchNode1");
    EXPECT_EQ(feeding("kvPatchNode1.inMesh"), orig);
    EXPECT_EQ(result("getAttr " + orig + ".intermediateObject"), "1");
    EXPECT_TRUE(*meshOf(shape) == *original);
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(*meshOf(shape) == *original);
}

TEST_F(PatchCmdTest, TweaksMoveIntoATweakNodeUpstreamOfThePatchNode) {
    ASSERT_TRUE(run("setAttr mShape.pnts[5] 0 0.5 0"));
    auto tweaked = std::make_shared<ehost::MeshGeometry>(*meshOf(shape));
    ASSERT_TRUE(run("kvPatchCmd -m m"));
    EXPECT_EQ(result("getAttr polyTweak1.tweak[5]"), "0 0.5 0");
    EXPECT_EQ(result("getAttr mShape.pnts[5]"), "0 0 0");
    EXPECT_EQ(feeding("kvPatchNode1.inMesh"), "polyTweak1");
    EXPECT_EQ(feeding("polyTweak1.inputPolymesh"), "mShape1Orig");
    EXPECT_TRUE(*meshOf(shape) == *tweaked) << "the mesh looks as before";
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("getAttr mShape.pnts[5]"), "0 0.5 0");
    EXPECT_TRUE(*meshOf(shape) == *tweaked);
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(*meshOf(shape) == *tweaked);
}

TEST_F(PatchCmdTest, NegativeTweaksMoveLikeAnyOther) {
    ASSERT_TRUE(run("setAttr mShape.pnts[3] -0.25 -0.5 -1"));
    auto tweaked = std::make_shared<ehost::MeshGeometry>(*meshOf(shape));
    ASSERT_TRUE(run("kvPatchCmd -m m"));
    EXPECT_EQ(feeding("kvPatchNode1.inMesh"), "polyTweak1");
    EXPECT_EQ(result("getAttr polyTweak1.tweak[3]"), "-0.25 -0.5 -1");
    EXPECT_EQ(result("getAttr mShape.pnts[3]"), "0 0 0");
    EXPECT_TRUE(*meshOf(shape) == *tweaked);
}

TEST_F(PatchCmdTest, NegativeZeroTweaksCountAsNone) {
    ASSERT_TRUE(run("setAttr mShape.pnts[2] -0 0 -0"));
    ASSERT_TRUE(run("kvPatchCmd -m m"));
    EXPECT_EQ(feeding("kvPatchNode1.inMesh"), "mShape1Orig");
}

TEST_F(PatchCmdTest, WithHistoryRecordingOffTheHistoryIsDeletedAgain) {
    ASSERT_TRUE(run("constructionHistory -toggle off"));
    ASSERT_TRUE(run("kvPatchCmd -m m"));
    EXPECT_EQ(feeding("mShape.inMesh"), "");
    EXPECT_FALSE(exists("kvPatchNode1"));
    EXPECT_TRUE(*meshOf(shape) == *original);
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(*meshOf(shape) == *original);
    ASSERT_TRUE(run("constructionHistory -toggle on"));
}

TEST_F(PatchCmdTest, AMeshWithHistoryGetsEachNewNodeDownstream) {
    ASSERT_TRUE(run("kvPatchCmd -m m"));
    EXPECT_EQ(result("kvPatchCmd -m m"), "kvPatchNode2");
    EXPECT_EQ(feeding("mShape.inMesh"), "kvPatchNode2");
    EXPECT_EQ(feeding("kvPatchNode2.inMesh"), "kvPatchNode1");
    EXPECT_EQ(result("ls -type mesh"), "mShape mShape1Orig") << "no second hidden copy";
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(feeding("mShape.inMesh"), "kvPatchNode1");
    EXPECT_TRUE(*meshOf(shape) == *original);
}

TEST_F(PatchCmdTest, BadTargetsAreRefusedAndChangeNothing) {
    size_t before = ehost::session().scene().nodes().size();
    EXPECT_FALSE(run("kvPatchCmd"));
    EXPECT_EQ(lastError(), "Invalid mesh shape path: ");
    EXPECT_FALSE(run("kvPatchCmd -m nothingHere"));
    EXPECT_EQ(lastError(), "Invalid mesh shape path: ");
    EXPECT_FALSE(run("kvPatchCmd -m persp"));
    EXPECT_EQ(lastError(), "Invalid mesh shape path: |persp|perspShape");
    EXPECT_FALSE(run("kvPatchCmd -m"));
    EXPECT_EQ(ehost::session().scene().nodes().size(), before);
    EXPECT_TRUE(*meshOf(shape) == *original);
}

}  // namespace

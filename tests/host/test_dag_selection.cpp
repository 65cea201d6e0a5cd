#include <maya/MDagPath.h>
#include <maya/MEventMessage.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnSet.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTransform.h>
#include <maya/MGlobal.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <cmath>
#include <filesystem>

#include "host/src/core/Events.h"
#include "host/src/core/Preferences.h"
#include "host/src/dg/Scene.h"
#include "tests/host/HostFixture.h"

namespace {

class DagTest : public HostTest {
protected:
    MObject makeTransform(const char* name, const MObject& parent = MObject::kNullObj) {
        MFnDagNode fn;
        MStatus st;
        MObject o = fn.create("transform", name, parent, &st);
        EXPECT_TRUE(st) << st.errorString();
        return o;
    }
};

TEST_F(DagTest, ShapesGetATransformAndPathsReadLikeTheHosts) {
    MFnDagNode fn;
    MObject top = fn.create("mesh", "ballShape");
    EXPECT_EQ(MFnDagNode(top).name(), MString("polySurface1"));
    MDagPath path;
    ASSERT_TRUE(MDagPath::getAPathTo(top, path));
    EXPECT_EQ(path.fullPathName(), MString("|polySurface1"));
    ASSERT_TRUE(path.extendToShape());
    EXPECT_EQ(path.fullPathName(), MString("|polySurface1|ballShape"));
    EXPECT_TRUE(path.hasFn(MFn::kMesh));
    EXPECT_EQ(path.length(), 2u);
    EXPECT_EQ(MFnDagNode(path.transform()).name(), MString("polySurface1"));

    MObject unnamed = fn.create("mesh");
    EXPECT_EQ(MFnDagNode(unnamed).name(), MString("polySurface2"));
    EXPECT_EQ(MFnDagNode(MFnDagNode(unnamed).child(0)).name(), MString("polySurfaceShape2"));
}

TEST_F(DagTest, WorldMatricesComposeDownThePath) {
    MObject a = makeTransform("a");
    MObject b = makeTransform("b", a);
    MFnTransform(a).setTranslation(MVector(1, 2, 3), MSpace::kTransform);
    MFnTransform(b).setTranslation(MVector(10, 0, 0), MSpace::kTransform);
    MFnTransform(a).setRotation(MEulerRotation(0, 0, M_PI / 2));
    MDagPath path = MDagPath::getAPathTo(b);
    EXPECT_EQ(path.fullPathName(), MString("|a|b"));
    MPoint p = MPoint(0, 0, 0) * path.inclusiveMatrix();
    EXPECT_NEAR(p.x, 1, 1e-12);
    EXPECT_NEAR(p.y, 12, 1e-12);
    EXPECT_NEAR(p.z, 3, 1e-12);
    // a turns (1, 0, 0) into (0, 1, 0): the exclusive matrix places b's origin.
    EXPECT_TRUE((MPoint(0, 0, 0) * path.exclusiveMatrix()).isEquivalent(MPoint(1, 2, 3), 1e-12));
    EXPECT_TRUE(
        MFnTransform(b).getTranslation(MSpace::kWorld).isEquivalent(MVector(1, 12, 3), 1e-12));
}

TEST_F(DagTest, PathsBecomeInvalidWhenTheirNodeIsDeleted) {
    MObject a = makeTransform("a");
    MObject b = makeTransform("b", a);
    MDagPath pb = MDagPath::getAPathTo(b);
    ASSERT_TRUE(pb.isValid());
    MObject toDelete = a;
    ASSERT_TRUE(MGlobal::deleteNode(toDelete));
    EXPECT_FALSE(pb.isValid());
    EXPECT_EQ(ehost::session().scene().find("b"), nullptr) << "children go with their parent";
    MStatus st;
    MFnDagNode(b).fullPathName(&st);
    MSelectionList list;
    EXPECT_FALSE(list.add("a"));
}

TEST_F(DagTest, DuplicateCopiesAShapeUnderANewTransform) {
    MFnDagNode fn;
    MObject top = fn.create("mesh", "mShape");
    MFnTransform(top).setTranslation(MVector(5, 0, 0), MSpace::kTransform);
    MObject copy = MFnDagNode(MFnDagNode(top).child(0)).duplicate();
    ASSERT_FALSE(copy.isNull());
    MFnDagNode c(copy);
    EXPECT_EQ(c.name(), MString("polySurface2"));
    ASSERT_EQ(c.childCount(), 1u);
    EXPECT_EQ(MFnDagNode(c.child(0)).name(), MString("mShape1"));
    EXPECT_TRUE(
        MFnTransform(copy).getTranslation(MSpace::kTransform).isEquivalent(MVector(5, 0, 0)));
}

TEST_F(DagTest, SelectionByNameComponentsAndOrder) {
    MFnDagNode fn;
    fn.create("mesh", "mShape");
    makeTransform("other");
    ASSERT_TRUE(MGlobal::selectByName("other", MGlobal::kReplaceList));
    ASSERT_TRUE(MGlobal::selectByName("|polySurface1|mShape", MGlobal::kAddToList));
    MSelectionList sel;
    MGlobal::getActiveSelectionList(sel);
    ASSERT_EQ(sel.length(), 2u);
    MDagPath first;
    sel.getDagPath(0, first);
    EXPECT_EQ(first.fullPathName(), MString("|other"));
    ASSERT_TRUE(MGlobal::selectByName("polySurface1", MGlobal::kAddToHeadOfList));
    MGlobal::getActiveSelectionList(sel);
    sel.getDagPath(0, first);
    EXPECT_EQ(first.fullPathName(), MString("|polySurface1"));

    MSelectionList bad;
    MStatus st = bad.add("nothing_here");
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("No object matches name"), std::string::npos);
    EXPECT_FALSE(bad.add("mShape.vtx[0]")) << "an empty mesh has no vertex 0";
    EXPECT_FALSE(bad.add("mShape.vtx[ 0]")) << "blanks inside the brackets are read, not refused";
    EXPECT_TRUE(bad.add("other.translateX"));
    MPlug p;
    EXPECT_TRUE(bad.getPlug(0, p));
    EXPECT_EQ(p.name(), MString("other.translateX"));
    MObject comp;
    MDagPath path;
    EXPECT_FALSE(bad.getDagPath(5, path, comp));
}

TEST_F(DagTest, ShadingGroupMembershipAndSets) {
    MFnDagNode fn;
    fn.create("mesh", "mShape");
    MSelectionList sg;
    ASSERT_TRUE(sg.add("initialShadingGroup"));
    MObject sgNode;
    sg.getDependNode(0, sgNode);
    MFnSet set(sgNode);
    MSelectionList shape;
    shape.add("mShape");
    MObject shapeNode;
    shape.getDependNode(0, shapeNode);
    ASSERT_TRUE(set.addMember(shapeNode));
    MSelectionList members;
    set.getMembers(members, true);
    ASSERT_EQ(members.length(), 1u);
    EXPECT_TRUE(set.isMember(shapeNode));
}

TEST(OptionVariables, PersistInThePreferencesFileAndReportExistence) {
    auto dir =
        std::filesystem::temp_directory_path() / ("tessark-prefs-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    {
        ehost::Preferences prefs(dir.string());
        EXPECT_EQ(prefs.find("kv_uspan"), nullptr);
        prefs.set("kv_uspan", ehost::OptionValue::ofInt(6));
        prefs.set("kv_mergThreshold", ehost::OptionValue::ofDouble(0.1 + 0.2));
        prefs.set("Tessark_info1", ehost::OptionValue::ofString("hello \"quoted\"\n"));
    }
    ehost::Preferences reread(dir.string());
    ASSERT_NE(reread.find("kv_uspan"), nullptr);
    EXPECT_EQ(reread.find("kv_uspan")->asInt(), 6);
    EXPECT_EQ(reread.find("kv_mergThreshold")->asDouble(), 0.1 + 0.2);
    EXPECT_EQ(reread.find("Tessark_info1")->asString(), "hello \"quoted\"\n");
    EXPECT_TRUE(reread.remove("kv_uspan"));
    EXPECT_EQ(ehost::Preferences(dir.string()).find("kv_uspan"), nullptr);
    std::filesystem::remove_all(dir);
}

TEST_F(DagTest, OptionVariablesThroughTheApi) {
    bool exists = true;
    EXPECT_EQ(MGlobal::optionVarIntValue("tessarkTestMissing", &exists), 0);
    EXPECT_FALSE(exists);
    EXPECT_TRUE(MGlobal::setOptionVarValue("tessarkTestInt", 12));
    EXPECT_EQ(MGlobal::optionVarIntValue("tessarkTestInt", &exists), 12);
    EXPECT_TRUE(exists);
    EXPECT_TRUE(MGlobal::setOptionVarValue("tessarkTestText", MString("a b")));
    EXPECT_EQ(MGlobal::optionVarStringValue("tessarkTestText"), MString("a b"));
    MGlobal::removeOptionVar("tessarkTestInt");
    MGlobal::removeOptionVar("tessarkTestText");
    EXPECT_FALSE(MGlobal::optionVarExists("tessarkTestInt"));
}

int undoCalls = 0;
void onUndo(void* data) {
    ++*static_cast<int*>(data);
}

TEST_F(DagTest, EventCallbacksRunUntilRemoved) {
    MStatus st;
    MCallbackId id = MEventMessage::addEventCallback("Undo", onUndo, &undoCalls, &st);
    ASSERT_TRUE(st);
    ehost::session().events().fire("Undo");
    ehost::session().events().fire("Redo");
    EXPECT_EQ(undoCalls, 1);
    EXPECT_TRUE(MMessage::removeCallback(id));
    ehost::session().events().fire("Undo");
    EXPECT_EQ(undoCalls, 1);
    EXPECT_FALSE(MMessage::removeCallback(id));
    MEventMessage::addEventCallback("NoSuchEvent", onUndo, nullptr, &st);
    EXPECT_FALSE(st);
}

}  // namespace

// MObjectHandle, MGlobal::isSelected and MTime, as the host documents them.

#include <maya/MDGModifier.h>
#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>
#include <maya/MObjectHandle.h>
#include <maya/MSelectionList.h>
#include <maya/MTime.h>

#include "host/src/command/Commands.h"
#include "tests/host/HostFixture.h"

namespace {

class HandleTest : public HostTest {
protected:
    MStatus run(const std::string& text) { return ehost::runCommands(text, {false, true}); }
    MObject node(const char* name) {
        MSelectionList l;
        EXPECT_TRUE(l.add(name)) << name;
        MObject o;
        l.getDependNode(0, o);
        return o;
    }
};

TEST_F(HandleTest, AHandleIsInvalidAfterDeleteValidAfterUndoAndDeadOnceNothingHoldsTheNode) {
    ASSERT_TRUE(run("createNode transform -n a -ss"));
    MObjectHandle h(node("a"));
    EXPECT_TRUE(h.isValid());
    EXPECT_TRUE(h.isAlive());
    const unsigned hash = h.hashCode();
    EXPECT_NE(hash, 0u);
    EXPECT_EQ(MObjectHandle(node("a")).hashCode(), hash) << "one hash per object";
    EXPECT_TRUE(h == node("a"));

    ASSERT_TRUE(run("delete a"));
    EXPECT_FALSE(h.isValid()) << "a deleted node is no longer part of the scene";
    EXPECT_TRUE(h.isAlive()) << "the undo queue still holds it";
    EXPECT_TRUE(h.object().isNull()) << "an invalid handle gives the null object";
    EXPECT_TRUE(h.objectRef().isNull());

    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(h.isValid()) << "undoing the deletion brings the same node back";
    EXPECT_FALSE(h.object().isNull());
    EXPECT_EQ(h.hashCode(), hash);

    ASSERT_TRUE(run("redo; undoInfo -flush"));
    EXPECT_FALSE(h.isValid());
    EXPECT_FALSE(h.isAlive()) << "flushed from the undo queue, the node is gone";
    EXPECT_EQ(h.hashCode(), 0u);
}

TEST_F(HandleTest, UndoingACreationInvalidatesTheHandleAndRedoingItRestoresIt) {
    ASSERT_TRUE(run("createNode transform -n made"));
    MObjectHandle h(node("made"));
    const unsigned hash = h.hashCode();
    ASSERT_TRUE(run("undo"));
    EXPECT_FALSE(h.isValid()) << "the node left the scene";
    EXPECT_TRUE(h.isAlive()) << "the creation in the redo queue holds it";
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(h.isValid());
    EXPECT_EQ(h.hashCode(), hash) << "the very node came back";
    ASSERT_TRUE(run("undoInfo -flush"));
    EXPECT_TRUE(h.isValid()) << "a node in the scene outlives the undo queue";

    // A whole hierarchy deleted and undone keeps its handles.
    ASSERT_TRUE(run("polyCube -n box"));
    MObjectHandle shape(node("boxShape")), maker(node("polyCube1"));
    ASSERT_TRUE(run("delete box"));
    EXPECT_FALSE(shape.isValid());
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(shape.isValid());
    EXPECT_TRUE(maker.isValid()) << "the history came back with it";
}

TEST_F(HandleTest, HandlesOfOtherObjectsAndOfNothing) {
    MObjectHandle empty;
    EXPECT_FALSE(empty.isValid());
    EXPECT_FALSE(empty.isAlive());
    EXPECT_EQ(empty.hashCode(), 0u);
    EXPECT_TRUE(empty == MObject::kNullObj);
    EXPECT_EQ(MObjectHandle::objectHashCode(MObject()), 0u);

    ASSERT_TRUE(run("createNode transform -n a; createNode transform -n b"));
    MObjectHandle a(node("a")), a2(node("a")), b(node("b"));
    EXPECT_TRUE(a == a2);
    EXPECT_TRUE(a != b);
    EXPECT_NE(a.hashCode(), b.hashCode());
    a2 = node("b");
    EXPECT_TRUE(a2 == b);

    // A node deleted without undo (not through a command) dies at once.
    {
        MObject c = MFnDagNode().create("transform", "c");
        MObjectHandle hc(c);
        MGlobal::deleteNode(c);
        c = MObject();
        EXPECT_FALSE(hc.isValid());
        EXPECT_FALSE(hc.isAlive());
    }
}

TEST_F(HandleTest, IsSelectedAnswersForWholeObjectsOnTheActiveList) {
    ASSERT_TRUE(run("polyCube -n box; createNode transform -n t; select -cl"));
    MObject box = node("box"), t = node("t"), shape = node("boxShape");
    EXPECT_FALSE(MGlobal::isSelected(box));
    ASSERT_TRUE(run("select box t"));
    EXPECT_TRUE(MGlobal::isSelected(box));
    EXPECT_TRUE(MGlobal::isSelected(t));
    EXPECT_FALSE(MGlobal::isSelected(shape)) << "the transform is selected, not its shape";
    ASSERT_TRUE(run("select -d t"));
    EXPECT_FALSE(MGlobal::isSelected(t));
    ASSERT_TRUE(run("select -r \"boxShape.vtx[1]\""));
    EXPECT_FALSE(MGlobal::isSelected(shape)) << "only components of it are selected";
    MStatus st;
    EXPECT_FALSE(MGlobal::isSelected(MObject(), &st));
    EXPECT_FALSE(st);
}

TEST(Time, ConvertsBetweenUnitsAndKeepsTheLeftOperandsUnit) {
    EXPECT_EQ(MTime::uiUnit(), MTime::kFilm);
    MTime zero;
    EXPECT_EQ(zero.value(), 0.0);
    EXPECT_EQ(zero.unit(), MTime::kFilm);

    MTime second(1.0, MTime::kSeconds);
    EXPECT_EQ(second.as(MTime::kFilm), 24.0);
    EXPECT_EQ(second.as(MTime::kNTSCFrame), 30.0);
    EXPECT_EQ(second.as(MTime::kPALField), 50.0);
    EXPECT_EQ(second.as(MTime::kMilliseconds), 1000.0);
    EXPECT_EQ(MTime(90, MTime::kMinutes).as(MTime::kHours), 1.5);
    EXPECT_DOUBLE_EQ(MTime(24000, MTime::k23_976FPS).as(MTime::kSeconds), 1001.0);
    EXPECT_EQ(MTime(6, MTime::k6000FPS).asUnits(MTime::kMilliseconds), 1.0);

    MTime t(48, MTime::kFilm);
    ASSERT_TRUE(t.setUnit(MTime::kSeconds));
    EXPECT_EQ(t.unit(), MTime::kSeconds);
    EXPECT_EQ(t.value(), 2.0) << "changing the unit keeps the time";
    EXPECT_FALSE(t.setUnit(MTime::kInvalid));
    EXPECT_EQ(t.unit(), MTime::kSeconds);

    MTime sum = MTime(12, MTime::kFilm) + MTime(1, MTime::kSeconds);
    EXPECT_EQ(sum.unit(), MTime::kFilm);
    EXPECT_EQ(sum.value(), 36.0);
    EXPECT_EQ((MTime(1, MTime::kSeconds) - MTime(12, MTime::kFilm)).value(), 0.5);
    EXPECT_EQ((MTime(3, MTime::kFilm) + 2.0).value(), 5.0) << "a number is in the left unit";
    EXPECT_EQ((MTime(3, MTime::kFilm) * 2.0).value(), 6.0);
    EXPECT_EQ((MTime(3, MTime::kFilm) / 2.0).value(), 1.5);
    MTime frame(10, MTime::kFilm);
    EXPECT_EQ((frame++).value(), 10.0);
    EXPECT_EQ(frame.value(), 11.0);
    EXPECT_EQ((--frame).value(), 10.0);

    EXPECT_TRUE(MTime(24, MTime::kFilm) == MTime(1, MTime::kSeconds));
    EXPECT_TRUE(MTime(25, MTime::kFilm) > MTime(1, MTime::kSeconds));
    EXPECT_TRUE(MTime(29, MTime::kNTSCFrame) < MTime(1, MTime::kSeconds));
    EXPECT_TRUE(MTime(30, MTime::kNTSCFrame) <= MTime(1, MTime::kSeconds));
    EXPECT_TRUE(MTime(15, MTime::kGames) != MTime(2, MTime::kSeconds));

    ASSERT_TRUE(MTime::setUIUnit(MTime::kNTSCFrame));
    EXPECT_EQ(MTime().unit(), MTime::kNTSCFrame);
    EXPECT_FALSE(MTime::setUIUnit(MTime::kUserDef));
    ASSERT_TRUE(MTime::setUIUnit(MTime::kFilm));
}

}  // namespace

// listRelatives, parent, xform, rename and duplicate, as the host documents them.

#include <maya/MFnTransform.h>
#include <maya/MSelectionList.h>

#include <cmath>
#include <sstream>

#include "tests/host/test_commands_fixture.h"

namespace {

class HierarchyTest : public CommandTextTest {
protected:
    void SetUp() override {
        CommandTextTest::SetUp();
        // g
        // |- box (boxShape, from polyCube1)
        // `- sub
        //    `- leaf
        // lone
        ASSERT_TRUE(
            run("createNode transform -n g; polyCube -n box; parent box g; "
                "createNode transform -n sub -p g; createNode transform -n leaf -p sub; "
                "createNode transform -n lone; select -cl"))
            << lastError();
    }
    //! Numbers of a result, each rounded to 1e-9 so that tests read exact values.
    static std::string rounded(const std::string& text) {
        std::istringstream in(result(text));
        std::ostringstream out;
        double v;
        bool first = true;
        while (in >> v) {
            double r = std::round(v * 1e9) / 1e9;
            if (r == 0) r = 0;
            out << (first ? "" : " ") << r;
            first = false;
        }
        return out.str();
    }
};

TEST_F(HierarchyTest, ListRelativesChildrenShapesParentsAndDescendants) {
    EXPECT_EQ(result("listRelatives g"), "box sub") << "children by default";
    EXPECT_EQ(result("listRelatives -c g"), "box sub");
    EXPECT_EQ(result("listRelatives -f g"), "|g|box |g|sub");
    EXPECT_EQ(result("listRelatives -s box"), "boxShape");
    EXPECT_EQ(result("listRelatives -s g"), "") << "g has no shape of its own";
    EXPECT_EQ(result("listRelatives -p boxShape"), "box");
    EXPECT_EQ(result("listRelatives -p -f boxShape"), "|g|box");
    EXPECT_EQ(result("listRelatives -p g"), "") << "the world is no parent to list";
    EXPECT_EQ(result("listRelatives -p box sub"), "g") << "a parent is listed once";
    EXPECT_EQ(result("listRelatives -p \"boxShape.vtx[0]\""), "boxShape")
        << "the parent of a component is its object";
    // All descendants, the deepest first.
    EXPECT_EQ(result("listRelatives -ad g"), "leaf sub boxShape box");
    EXPECT_EQ(result("listRelatives -ad -s g"), "boxShape");
    EXPECT_EQ(result("listRelatives -ad -type transform g"), "leaf sub box");
    EXPECT_EQ(result("listRelatives -ad -type mesh -f g"), "|g|box|boxShape");
    EXPECT_EQ(result("listRelatives -c polyCube1"), "") << "a node outside the DAG has none";
    ASSERT_TRUE(run("setAttr boxShape.intermediateObject 1"));
    EXPECT_EQ(result("listRelatives -s -ni box"), "");
    EXPECT_EQ(result("listRelatives -s box"), "boxShape");
    ASSERT_TRUE(run("select sub"));
    EXPECT_EQ(result("listRelatives"), "leaf") << "the selection when no object is named";
    EXPECT_EQ(failure("listRelatives -c -p g"),
              "listRelatives: the flags -children, -allDescendents, -shapes, -parent and "
              "-allParents cannot be combined");
    EXPECT_EQ(failure("listRelatives ghost"), "listRelatives: No object matches name: ghost");
}

TEST_F(HierarchyTest, ParentKeepsTheWorldPositionUnlessRelativeAndIsUndone) {
    ASSERT_TRUE(
        run("setAttr g.translate 10 0 0; setAttr g.scale 2 2 2; "
            "setAttr lone.translate 1 2 3"));
    EXPECT_EQ(result("parent lone sub"), "lone");
    EXPECT_EQ(result("listRelatives -p lone"), "sub");
    // Under g (moved by 10, scaled by 2) lone keeps its place in the world.
    EXPECT_EQ(rounded("xform -q -ws -t lone"), "1 2 3");
    EXPECT_EQ(rounded("getAttr lone.translate"), "-4.5 1 1.5");
    EXPECT_EQ(rounded("getAttr lone.scale"), "0.5 0.5 0.5");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("listRelatives -p lone"), "");
    EXPECT_EQ(rounded("getAttr lone.translate"), "1 2 3");
    EXPECT_EQ(rounded("getAttr lone.scale"), "1 1 1");
    EXPECT_EQ(result("listRelatives -c"), "");
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(result("listRelatives -f lone"), "");
    EXPECT_EQ(result("ls -l lone"), "|g|sub|lone");
    EXPECT_EQ(rounded("xform -q -ws -t lone"), "1 2 3");

    // Relative keeps the local values: the object moves with its new parent.
    EXPECT_EQ(result("parent -w lone"), "lone");
    EXPECT_EQ(result("ls -l lone"), "|lone");
    EXPECT_EQ(rounded("getAttr lone.translate"), "1 2 3");
    EXPECT_EQ(result("parent -r lone g"), "lone");
    EXPECT_EQ(rounded("getAttr lone.translate"), "1 2 3");
    EXPECT_EQ(rounded("xform -q -ws -t lone"), "12 4 6");
    // The last object is the parent; the selection stands in for named objects.
    ASSERT_TRUE(run("select leaf lone"));
    EXPECT_EQ(result("parent"), "leaf");
    EXPECT_EQ(result("listRelatives -p leaf"), "lone");
}

TEST_F(HierarchyTest, ParentRefusesCyclesShapesWithoutTheShapeFlagAndComponents) {
    EXPECT_EQ(failure("parent g leaf"), "parent: Cannot parent g under its own descendant leaf");
    EXPECT_EQ(failure("parent boxShape lone"),
              "parent: Object boxShape is a shape: use -shape (with -relative) to move a shape "
              "under another transform");
    EXPECT_EQ(failure("parent lone polyCube1"),
              "parent: the new parent is not a DAG node: polyCube1");
    EXPECT_EQ(failure("parent \"boxShape.vtx[1]\" lone"),
              "parent: Cannot parent components or attributes: boxShape.vtx[1]");
    EXPECT_EQ(failure("parent lone"), "parent: Not enough objects or values.");
    EXPECT_EQ(result("listRelatives -p lone"), "") << "a refused parent changes nothing";
    EXPECT_EQ(result("parent -s -r boxShape lone"), "boxShape");
    EXPECT_EQ(result("listRelatives -s lone"), "boxShape");
    EXPECT_EQ(result("parent box g"), "") << "already a child of g: a warning, nothing moved";
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Warning),
              "Object box is already a child of the parent.");
}

TEST_F(HierarchyTest, XformQueriesAndEditsInObjectAndWorldSpace) {
    ASSERT_TRUE(run("setAttr g.translate 10 0 0; setAttr g.rotateY 90"));
    ASSERT_TRUE(run("xform -t 1 2 3 sub"));
    EXPECT_EQ(rounded("xform -q -t sub"), "1 2 3");
    // g turns +x to -z and sits at x = 10.
    EXPECT_EQ(rounded("xform -q -ws -t sub"), "13 2 -1");
    ASSERT_TRUE(run("xform -ws -t 0 0 0 sub"));
    EXPECT_EQ(rounded("xform -q -ws -t sub"), "0 0 0");
    EXPECT_EQ(rounded("xform -q -t sub"), "0 0 -10");
    ASSERT_TRUE(run("xform -r -t 0 1 0 sub"));
    EXPECT_EQ(rounded("xform -q -t sub"), "0 1 -10");
    ASSERT_TRUE(run("xform -r -ws -t 1 0 0 sub"));
    EXPECT_EQ(rounded("xform -q -ws -t sub"), "1 1 0");

    ASSERT_TRUE(run("xform -ro 0 0 45 sub"));
    EXPECT_EQ(rounded("xform -q -ro sub"), "0 0 45");
    EXPECT_EQ(rounded("getAttr sub.rotateZ"), "45");
    ASSERT_TRUE(run("xform -ro 0 0 0 sub; xform -ws -ro 0 0 0 sub"));
    EXPECT_EQ(rounded("xform -q -ws -ro sub"), "0 0 0");
    EXPECT_EQ(rounded("xform -q -ro sub"), "0 -90 0") << "undoes g's turn";
    ASSERT_TRUE(run("xform -s 2 3 4 leaf; xform -r -s 2 1 0.5 leaf"));
    EXPECT_EQ(rounded("xform -q -s leaf"), "4 3 2");
    EXPECT_EQ(result("xform -q -roo leaf"), "xyz");
    ASSERT_TRUE(run("xform -roo zyx leaf"));
    EXPECT_EQ(result("getAttr leaf.rotateOrder"), "5");

    ASSERT_TRUE(run("xform -m 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1 lone"));
    EXPECT_EQ(rounded("xform -q -m lone"), "1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1");
    EXPECT_EQ(rounded("getAttr lone.translate"), "5 6 7");
    ASSERT_TRUE(run("parent -r lone g"));
    EXPECT_EQ(rounded("xform -q -ws -m lone"), "0 0 -1 0 0 1 0 0 1 0 0 0 17 6 -5 1");
    ASSERT_TRUE(run("xform -ws -m 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 lone"));
    EXPECT_EQ(rounded("xform -q -ws -m lone"), "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1");

    // Each edit is one undoable step.
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(rounded("xform -q -ws -t lone"), "17 6 -5");
    // Vertices are queried through their positions.
    EXPECT_EQ(rounded("xform -q -t \"boxShape.vtx[0]\""), "-0.5 -0.5 0.5");
    EXPECT_EQ(rounded("xform -q -ws -t \"boxShape.vtx[0:1]\""), "10.5 -0.5 0.5 10.5 -0.5 -0.5");
    EXPECT_EQ(failure("xform -t 1 1 1 \"boxShape.vtx[0]\""),
              "xform: components are moved with the move command, not xform: boxShape");
    EXPECT_EQ(failure("xform -q -t polyCube1"), "xform: polyCube1 is not a transform");
    EXPECT_EQ(failure("xform -roo xzz lone"), "xform: Invalid rotate order: xzz");
    EXPECT_EQ(failure("xform -m 1 2 3 4 5 6 7 lone"), "xform: -matrix needs 16 numbers, got 7");
}

TEST_F(HierarchyTest, RenameGivesTheNewNameOrANumberedOneAndRefusesBadNames) {
    EXPECT_EQ(result("rename leaf twig"), "twig");
    EXPECT_EQ(result("ls -l twig"), "|g|sub|twig");
    EXPECT_EQ(result("rename twig lone"), "lone1") << "a taken name gets a number";
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("ls twig"), "twig");
    EXPECT_FALSE(run("rename twig \"a b\""));
    EXPECT_FALSE(run("rename twig 9lives"));
    EXPECT_EQ(failure("rename ghost x"), "rename: No object matches name: ghost");
    EXPECT_EQ(result("ls twig"), "twig");
}

TEST_F(HierarchyTest, RenameTakesTheShapesNamedAfterTheTransformAlong) {
    EXPECT_EQ(result("rename box crate"), "crate");
    EXPECT_EQ(result("listRelatives -s crate"), "crateShape");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("listRelatives -s box"), "boxShape") << "one undo step for both";
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(result("listRelatives -s crate"), "crateShape");
    EXPECT_EQ(result("rename -is crate bin"), "bin");
    EXPECT_EQ(result("listRelatives -s bin"), "crateShape") << "-ignoreShape leaves the shape";
    ASSERT_TRUE(run("rename crateShape binShape; rename bin bin7"));
    EXPECT_EQ(result("listRelatives -s bin7"), "binShape7");

    ASSERT_TRUE(run("select -r lone"));
    EXPECT_EQ(result("rename single"), "single") << "one name renames the first selected";
    EXPECT_EQ(result("rename single part#"), "part1");
    EXPECT_EQ(result("rename leaf part#"), "part2");
    EXPECT_EQ(failure("rename -uuid part2 x"),
              "rename: nodes have no UUIDs in the embedded host: -uuid is not supported");
    ASSERT_TRUE(run("select -cl"));
    EXPECT_EQ(failure("rename orphan"), "rename: No object to rename: name one or select one");
    EXPECT_FALSE(run("rename part2 \"a#b#\""));
}

TEST_F(HierarchyTest, DuplicateReturnsTheNewRootsAndSelectsThem) {
    EXPECT_EQ(result("duplicate -rr box"), "box1");
    EXPECT_EQ(result("listRelatives -s box1"), "boxShape1");
    EXPECT_EQ(result("listRelatives -p box1"), "g") << "the copy stays beside the original";
    EXPECT_EQ(result("ls -sl"), "box1");
    EXPECT_EQ(result("duplicate -rr -n copy sub"), "copy");
    EXPECT_EQ(result("listRelatives -ad copy"), "leaf1");
    EXPECT_EQ(result("duplicate -rr -po -f sub"), "|g|sub1") << "-parentOnly leaves the children";
    EXPECT_EQ(result("listRelatives -c sub1"), "");
    EXPECT_EQ(result("duplicate -rr -po box"), "box2");
    EXPECT_EQ(result("listRelatives -s box2"), "") << "a transform's shape is a child too";
    ASSERT_TRUE(run("undo; undo"));
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("objExists copy"), "0");
    EXPECT_EQ(result("ls -sl"), "box1");
}

}  // namespace

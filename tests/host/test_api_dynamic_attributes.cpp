// Dynamic attributes, as the host documents them: added to one node
// (MFnDependencyNode::addAttribute, MDGModifier::addAttribute, addAttr),
// removed again (removeAttribute, deleteAttr), undone and redone, saved and
// duplicated with the node.

#include <maya/MDGModifier.h>
#include <maya/MFnComponentListData.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MNodeMessage.h>
#include <maya/MSelectionList.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/src/io/SceneFile.h"
#include "tests/host/test_commands_fixture.h"

namespace {

namespace fs = std::filesystem;

class DynamicAttributeTest : public CommandTextTest {
protected:
    void SetUp() override {
        CommandTextTest::SetUp();
        ASSERT_TRUE(run("createNode transform -n t; createNode transform -n u"));
    }
    static MObject node(const char* name) {
        MSelectionList l;
        EXPECT_TRUE(l.add(name)) << name;
        MObject o;
        l.getDependNode(0, o);
        return o;
    }
    static std::string exists(const std::string& attr, const std::string& on = "t") {
        return result("attributeQuery -ex -n " + on + " " + attr);
    }
};

TEST_F(DynamicAttributeTest, AnAttributeAddedToANodeIsThatNodesAlone) {
    MFnDependencyNode t(node("t")), u(node("u"));
    const unsigned before = t.attributeCount();
    MFnNumericAttribute n;
    MObject weight = n.create("weight", "wt", MFnNumericData::kDouble, 0.5);
    ASSERT_TRUE(t.addAttribute(weight));
    EXPECT_TRUE(t.hasAttribute("weight"));
    EXPECT_TRUE(t.hasAttribute("wt"));
    EXPECT_FALSE(u.hasAttribute("weight")) << "another node of the type has none";
    EXPECT_EQ(t.attributeCount(), before + 1);
    EXPECT_EQ(t.attributeClass(weight), MFnDependencyNode::kLocalDynamicAttr);
    EXPECT_EQ(t.attributeClass(t.attribute("translateX")), MFnDependencyNode::kNormalAttr);
    EXPECT_EQ(u.attributeClass(weight), MFnDependencyNode::kInvalidAttr);
    EXPECT_TRUE(MFnAttribute(weight).isDynamic());
    EXPECT_FALSE(MFnAttribute(t.attribute("translateX")).isDynamic());

    MPlug plug = t.findPlug("weight", true);
    EXPECT_TRUE(plug.isDynamic());
    EXPECT_EQ(plug.asDouble(), 0.5);
    ASSERT_TRUE(plug.setValue(2.25));
    EXPECT_EQ(result("getAttr t.weight"), "2.25");
    EXPECT_EQ(result("nodeType t"), "transform") << "the node keeps its type";
    EXPECT_EQ(result("ls -type transform t"), "t");

    // Names are unique on the node.
    EXPECT_FALSE(t.addAttribute(MFnNumericAttribute().create("tx", "tx", MFnNumericData::kDouble)));
    EXPECT_FALSE(t.addAttribute(MFnNumericAttribute().create("w2", "wt", MFnNumericData::kDouble)));
    EXPECT_FALSE(t.removeAttribute(t.attribute("translate"))) << "the type's own attributes stay";

    ASSERT_TRUE(t.removeAttribute(weight));
    EXPECT_FALSE(t.hasAttribute("weight"));
    EXPECT_EQ(t.attributeCount(), before);
    MStatus st;
    plug.asDouble(&st);
    EXPECT_FALSE(st) << "a plug of a removed attribute is no longer usable";
    EXPECT_FALSE(t.removeAttribute(weight));
    EXPECT_EQ(result("getAttr t.translateX"), "0") << "the slots after it are intact";
}

TEST_F(DynamicAttributeTest, AModifierAddsAndRemovesUndoablyWithValueAndConnections) {
    MObject t = node("t"), u = node("u");
    MObject attr = MFnNumericAttribute().create("drive", "drv", MFnNumericData::kDouble, 1);
    MDGModifier add;
    ASSERT_TRUE(add.addAttribute(t, attr));
    EXPECT_FALSE(MFnDependencyNode(t).hasAttribute("drive")) << "nothing happens before doIt";
    ASSERT_TRUE(add.doIt());
    ASSERT_TRUE(run("setAttr t.drive 7; connectAttr t.drive u.translateY"));
    EXPECT_EQ(result("getAttr u.translateY"), "7");

    MDGModifier remove;
    ASSERT_TRUE(remove.removeAttribute(t, attr));
    ASSERT_TRUE(remove.doIt());
    EXPECT_EQ(exists("drive"), "0");
    EXPECT_EQ(result("isConnected t.translateX u.translateY"), "0");
    EXPECT_EQ(result("listConnections -s 1 -d 0 u"), "") << "its connection went with it";
    ASSERT_TRUE(remove.undoIt());
    EXPECT_EQ(result("getAttr t.drive"), "7") << "back with its value";
    EXPECT_EQ(result("listConnections -s 1 -d 0 -p 1 u"), "t.drive") << "and its connection";
    ASSERT_TRUE(add.undoIt());
    EXPECT_EQ(exists("drive"), "0");
    EXPECT_EQ(result("getAttr u.translateY"), "7") << "the destination keeps its last value";
    ASSERT_TRUE(add.doIt());
    EXPECT_EQ(result("getAttr t.drive"), "1") << "added again, with its default";

    MDGModifier bad;
    EXPECT_FALSE(bad.addAttribute(t, t)) << "a node is no attribute";
}

TEST_F(DynamicAttributeTest, AddAttrMakesNumbersDataAndEnumsAndUndoes) {
    ASSERT_TRUE(run("addAttr -ln weight -sn wt -at double -dv 2 -min 0 -max 10 -k true t"));
    EXPECT_EQ(result("getAttr t.wt"), "2");
    EXPECT_EQ(result("attributeQuery -k -n t weight"), "1");
    EXPECT_EQ(result("attributeQuery -min -n t weight"), "0");
    EXPECT_EQ(result("attributeQuery -max -n t weight"), "10");
    EXPECT_EQ(exists("weight", "u"), "0");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(exists("weight"), "0");
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(exists("weight"), "1");

    ASSERT_TRUE(run("addAttr -ln turn -at doubleAngle -dv 90 t"));
    EXPECT_EQ(result("getAttr t.turn"), "90") << "angles read in degrees";
    ASSERT_TRUE(run("addAttr -ln label -dt \"string\" t; setAttr -type \"string\" t.label hi"));
    EXPECT_EQ(result("getAttr t.label"), "hi");
    ASSERT_TRUE(run("addAttr -ln level -at \"enum\" -en \"low:mid=5:high\" t"));
    EXPECT_EQ(result("attributeQuery -le -n t level"), "low:mid=5:high");
    ASSERT_TRUE(run("setAttr t.level 6"));
    EXPECT_EQ(result("getAttr t.level"), "6");
    ASSERT_TRUE(run("addAttr -ln hook -at message t"));
    EXPECT_EQ(result("attributeQuery -msg -n t hook"), "1");
    ASSERT_TRUE(run("addAttr -ln plain t"));
    EXPECT_EQ(result("getAttr -type t.plain"), "double") << "a double unless told otherwise";
    ASSERT_TRUE(run("addAttr -ln both -at long -sn bth t u"));
    EXPECT_EQ(exists("both", "u"), "1") << "to every node named";

    EXPECT_EQ(failure("addAttr -ln weight t"),
              "addAttr: node t already has an attribute named weight");
    EXPECT_EQ(failure("addAttr -ln tx t"), "addAttr: node t already has an attribute named tx");
    EXPECT_EQ(failure("addAttr -ln odd -at florp t"), "addAttr: unknown attribute type \"florp\"");
    EXPECT_EQ(failure("addAttr -ln odd -dt florp t"), "addAttr: unknown data type \"florp\"");
    EXPECT_EQ(failure("addAttr -ln odd -at double -dt \"string\" t"),
              "addAttr: -attributeType and -dataType cannot be used together");
    EXPECT_EQ(failure("addAttr -at double t"),
              "addAttr: a new attribute needs -longName or -shortName");
    EXPECT_EQ(failure("addAttr -ln \"bad name\" t").rfind("addAttr: invalid attribute name", 0),
              0u);
    EXPECT_EQ(failure("addAttr -ln odd -at \"enum\" t"),
              "addAttr: an enum attribute needs its fields (-enumName \"a:b:c\")");
    EXPECT_EQ(
        failure("addAttr -ln odd -at bool -dv 2 t").rfind("addAttr: odd default cannot hold 2", 0),
        0u);
    EXPECT_EQ(failure("addAttr -ln odd -min 2 -max 1 t"),
              "addAttr: the minimum of odd is above its maximum");
    EXPECT_EQ(exists("odd"), "0") << "a refused addAttr adds nothing";
}

TEST_F(DynamicAttributeTest, TuplesAndCompoundsAppearOnceTheirChildrenAreThere) {
    ASSERT_TRUE(run("addAttr -ln pos -at double3 t"));
    EXPECT_EQ(exists("pos"), "0") << "waiting for its children";
    ASSERT_TRUE(
        run("addAttr -ln posX -at double -p pos t; addAttr -ln posY -at double -dv 4 -p pos t"));
    EXPECT_EQ(exists("pos"), "0");
    ASSERT_TRUE(run("addAttr -ln posZ -at double -p pos t"));
    EXPECT_EQ(exists("pos"), "1");
    EXPECT_EQ(result("getAttr t.pos"), "0 4 0") << "the children's defaults";
    ASSERT_TRUE(run("setAttr t.pos 1 2 3"));
    EXPECT_EQ(result("getAttr t.posY"), "2");
    EXPECT_EQ(result("getAttr -type t.pos"), "double3");
    ASSERT_TRUE(run("connectAttr t.pos u.translate"));
    EXPECT_EQ(result("getAttr u.translateZ"), "3");
    ASSERT_TRUE(run("undo; undo; undo"));
    EXPECT_EQ(exists("pos"), "0") << "undoing the last child takes the tuple off again";
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(result("getAttr t.pos"), "0 4 0");
    EXPECT_EQ(failure("addAttr -ln posW -at double -p pos t"),
              "addAttr: attribute pos of t is complete: it takes no more children");
    EXPECT_EQ(failure("addAttr -ln loose -at double -p nothing t"),
              "addAttr: node t has no compound attribute nothing waiting for children");

    // A compound of other kinds, as an array.
    ASSERT_TRUE(
        run("addAttr -ln items -at compound -nc 2 -m t; "
            "addAttr -ln itemW -at double -dv 1 -p items t; "
            "addAttr -ln itemName -dt \"string\" -p items t"));
    ASSERT_TRUE(
        run("setAttr t.items[3].itemW 1.5; setAttr -type \"string\" t.items[3].itemName a; "
            "setAttr t.items[5].itemW 2"));
    EXPECT_EQ(result("getAttr t.items[3].itemW"), "1.5");
    EXPECT_EQ(result("getAttr t.items[3].itemName"), "a");
    EXPECT_EQ(result("getAttr t.items[5].itemW"), "2") << "each element keeps its own children";
    EXPECT_EQ(result("getAttr -size t.items"), "2");
    EXPECT_EQ(result("getAttr -type t.items[5]"), "TdataCompound");
    EXPECT_EQ(failure("addAttr -ln x -at compound t"),
              "addAttr: a compound attribute needs -numberOfChildren");
    EXPECT_EQ(
        failure("addAttr -ln arr -at compound -nc 1 t; addAttr -ln inner -m -p arr t"),
        "addAttr: attribute inner is a child: only the top of an attribute can be an array here");
}

TEST_F(DynamicAttributeTest, DeleteAttrRemovesOnlyDynamicAttributesUndoably) {
    ASSERT_TRUE(run("addAttr -ln w -at double t; setAttr t.w 3; addAttr -ln spare -at double t"));
    ASSERT_TRUE(run("deleteAttr t.w"));
    EXPECT_EQ(exists("w"), "0");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("getAttr t.w"), "3");
    ASSERT_TRUE(run("deleteAttr -at spare t"));
    EXPECT_EQ(exists("spare"), "0");
    EXPECT_EQ(failure("deleteAttr t.translateX"),
              "deleteAttr: t.translateX belongs to the node's type: only attributes added with "
              "addAttr can be deleted");
    ASSERT_TRUE(
        run("addAttr -ln p -at double2 t; addAttr -ln p0 -at double -p p t; "
            "addAttr -ln p1 -at double -p p t"));
    EXPECT_EQ(failure("deleteAttr t.p1"),
              "deleteAttr: t.p1 is a child of p: delete the whole attribute");
    EXPECT_EQ(failure("deleteAttr t.nothing"),
              "deleteAttr: t.nothing: no attribute \"nothing\" on node type transform");
    EXPECT_EQ(failure("deleteAttr t"), "deleteAttr: -attribute names the attribute of t to delete");
}

TEST_F(DynamicAttributeTest, CallbacksHearOfAttributesAddedAndRemoved) {
    MObject t = node("t");
    static std::vector<std::string> heard;
    heard.clear();
    MCallbackId id = MNodeMessage::addAttributeAddedOrRemovedCallback(
        t,
        [](MNodeMessage::AttributeMessage msg, MPlug& plug, void*) {
            heard.push_back(
                std::string(msg & MNodeMessage::kAttributeAdded ? "added " : "removed ") +
                plug.partialName().asChar());
        },
        nullptr);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(run("addAttr -ln w -at double t; deleteAttr t.w; undo"));
    MMessage::removeCallback(id);
    EXPECT_EQ(heard, (std::vector<std::string>{"added w", "removed w", "added w"}));
}

TEST_F(DynamicAttributeTest, ScenesAndDuplicatesKeepDynamicAttributes) {
    ASSERT_TRUE(
        run("addAttr -ln weight -at double -dv 0.5 -min 0 -k true t; setAttr t.weight 0.25; "
            "addAttr -ln level -at \"enum\" -en \"a:b=4\" t; setAttr t.level 4; "
            "addAttr -ln pos -at float3 t; addAttr -ln px -at float -p pos t; "
            "addAttr -ln py -at float -p pos t; addAttr -ln pz -at float -p pos t; "
            "setAttr t.pos 1 2 3; "
            "addAttr -ln items -at compound -nc 2 -m t; addAttr -ln iw -at double -p items t; "
            "addAttr -ln on -at bool -p items t; setAttr t.items[2].iw 9; setAttr t.items[2].on 1; "
            "addAttr -ln names -dt stringArray t; setAttr -type stringArray t.names 2 x \"y z\"; "
            "addAttr -ln hook -at message t; addAttr -ln parts -dt componentList t; "
            "connectAttr t.pos u.translate; addAttr -ln side -at double initialShadingGroup; "
            "setAttr initialShadingGroup.side 8"));
    MFnComponentListData list;
    MObject data = list.create();
    MFnSingleIndexedComponent faces;
    MObject f = faces.create(MFn::kMeshPolygonComponent);
    faces.addElement(2);
    faces.addElement(3);
    list.add(f);
    ASSERT_TRUE(MFnDependencyNode(node("t")).findPlug("parts", true).setValue(data));
    EXPECT_EQ(result("getAttr t.parts"), "f[2:3]");

    const fs::path dir =
        fs::temp_directory_path() / ("tessark-dynamic-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "dynamic.tsk").string();
    std::string why;
    ASSERT_TRUE(ehost::saveScene(file, &why)) << why;
    ASSERT_TRUE(run("file -new"));
    EXPECT_EQ(result("objExists t"), "0");
    ASSERT_TRUE(ehost::openScene(file, &why)) << why;
    fs::remove_all(dir);
    EXPECT_EQ(result("getAttr t.weight"), "0.25");
    EXPECT_EQ(result("attributeQuery -min -n t weight"), "0");
    EXPECT_EQ(result("attributeQuery -k -n t weight"), "1");
    EXPECT_EQ(result("attributeQuery -le -n t level"), "a:b=4");
    EXPECT_EQ(result("getAttr t.level"), "4");
    EXPECT_EQ(result("getAttr t.pos"), "1 2 3");
    EXPECT_EQ(result("getAttr -type t.pos"), "float3");
    EXPECT_EQ(result("getAttr t.items[2].iw"), "9");
    EXPECT_EQ(result("getAttr t.items[2].on"), "1");
    EXPECT_EQ(result("getAttr t.names"), "x y z");
    EXPECT_EQ(result("attributeQuery -msg -n t hook"), "1");
    EXPECT_EQ(result("getAttr t.parts"), "f[2:3]");
    EXPECT_EQ(result("getAttr u.translateY"), "2") << "its connection came back too";
    EXPECT_EQ(result("getAttr initialShadingGroup.side"), "8");
    EXPECT_EQ(result("attributeQuery -ex -n u weight"), "0");
    EXPECT_TRUE(MFnDependencyNode(node("t")).findPlug("weight", true).isDynamic());

    ASSERT_TRUE(run("duplicate -n t2 t"));
    EXPECT_EQ(result("getAttr t2.weight"), "0.25");
    EXPECT_EQ(result("getAttr t2.items[2].iw"), "9");
    ASSERT_TRUE(run("setAttr t2.weight 1"));
    EXPECT_EQ(result("getAttr t.weight"), "0.25") << "the copy's value is its own";
    ASSERT_TRUE(run("deleteAttr t2.weight"));
    EXPECT_EQ(result("getAttr t.weight"), "0.25") << "and so is its attribute";
}

TEST_F(DynamicAttributeTest, AttrLinesReadBackAndBadOnesAreRefusedWithTheirLine) {
    const fs::path dir =
        fs::temp_directory_path() / ("tessark-attrlines-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "attrs.tsk").string();
    auto open = [&](const std::string& body, std::string& why) {
        std::ofstream(file) << "tessark scene 1\nnode transform w\n" << body;
        return ehost::openScene(file, &why);
    };
    std::string wide = "attr wide wd compound 6\n";
    for (int k = 0; k < 6; ++k)
        wide += "child c" + std::to_string(k) + " c" + std::to_string(k) + " number double " +
                std::to_string(k) + "\n";
    std::string why;
    ASSERT_TRUE(open(wide + "set c5 9\n", why)) << why;
    EXPECT_EQ(result("getAttr w.c4"), "4") << "a compound of more children than a tuple holds";
    EXPECT_EQ(result("getAttr w.c5"), "9");
    EXPECT_EQ(result("attributeQuery -nc -n w wide"), "6");

    struct Bad {
        const char* body;
        const char* reason;
    };
    for (const Bad& b : {
             Bad{"attr x x number florp 0\n", "line 3: unknown numeric type \"florp\""},
             Bad{"attr x x number double 0 shiny\n", "line 3: unknown attribute flag \"shiny\""},
             Bad{"attr x x tuple double2\nchild a a number double 0\nchild b b typed string\n",
                 "line 5: a child of tuple x must be a number"},
             Bad{"attr x x compound 1\nchild a a number double 0 array\n",
                 "only the top of an attribute can be an array here"},
             Bad{"attr x x compound 2\nchild a a number double 0\n",
                 "the file ends inside the attribute begun at line 3"},
             Bad{"attr tx tx number double 0\n", "line 3: w: "},
             Bad{"attr x x compound 2\nchild a a message\nchild a b message\n",
                 "attribute x uses the name a twice"},
             Bad{"attr 9x x message\n", "line 3: \"9x\" is not a valid attribute name"},
         }) {
        SCOPED_TRACE(b.body);
        EXPECT_FALSE(open(b.body, why));
        EXPECT_NE(why.find(b.reason), std::string::npos) << why;
        EXPECT_EQ(result("getAttr w.c5"), "9") << "a refused file leaves the scene as it was";
    }
    fs::remove_all(dir);
}

}  // namespace

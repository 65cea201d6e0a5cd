// MFnCompoundAttribute, as the host documents it: compounds of children of
// any kind, each child with a value of its own, computed, connected as a
// whole or child by child, and in arrays.

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMessageAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MSelectionList.h>

#include <string>

#include "host/src/plugin/PluginNodes.h"
#include "tests/host/test_commands_fixture.h"

namespace {

// stats = {sum, label}: sum = the sum of the weights of items[*] = {weight, on}
// whose "on" is set; label names how many were summed.
class Summary : public MPxNode {
public:
    static void* creator() { return new Summary; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        MFnTypedAttribute t;
        MFnCompoundAttribute c;
        weight = n.create("weight", "wgt", MFnNumericData::kDouble, 1);
        on = n.create("on", "on", MFnNumericData::kBoolean, 1);
        items = c.create("items", "it");
        c.addChild(weight);
        c.addChild(on);
        c.setArray(true);
        sum = n.create("sum", "sm", MFnNumericData::kDouble, 0);
        label = t.create("label", "lb", MFnData::kString);
        stats = c.create("stats", "st");
        c.addChild(sum);
        c.addChild(label);
        c.setWritable(false);
        c.setStorable(false);
        addAttribute(items);
        addAttribute(stats);
        attributeAffects(items, stats);
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != stats && plug.parent() != stats) return MStatus::kUnknownParameter;
        ++computations;
        MArrayDataHandle a = data.inputArrayValue(items);
        double total = 0;
        int counted = 0;
        for (unsigned i = 0; i < a.elementCount(); ++i, a.next()) {
            MDataHandle item = a.inputValue();
            if (!item.child(on).asBool()) continue;
            total += item.child(weight).asDouble();
            ++counted;
        }
        MDataHandle out = data.outputValue(stats);
        out.child(sum).set(total);
        out.child(label).set(MString(std::to_string(counted).c_str()) + " items");
        out.setClean();
        return MStatus::kSuccess;
    }
    int computations = 0;
    static MObject weight, on, items, sum, label, stats;
};
MObject Summary::weight, Summary::on, Summary::items, Summary::sum, Summary::label, Summary::stats;

class CompoundTest : public CommandTextTest {
protected:
    void SetUp() override {
        CommandTextTest::SetUp();
        if (!ehost::session().registry().findClass("summary")) {
            ASSERT_TRUE(ehost::registerPluginNodeType("summary", MTypeId(0x7f0a2), Summary::creator,
                                                      Summary::initialize, MPxNode::kDependNode, "",
                                                      "compoundTest"));
        }
        ASSERT_TRUE(run("createNode summary -n s"));
    }
};

TEST_F(CompoundTest, ChildrenAreMadeCountedAndRefusedAsTheHostDoes) {
    MFnCompoundAttribute c;
    MStatus st;
    MObject parent = c.create("pair", "pr", &st);
    ASSERT_TRUE(st);
    EXPECT_EQ(parent.apiType(), MFn::kCompoundAttribute);
    MFnNumericAttribute n;
    MObject a = n.create("first", "fst", MFnNumericData::kFloat, 2);
    MObject b = MFnMessageAttribute().create("link", "lnk");
    ASSERT_TRUE(c.addChild(a));
    ASSERT_TRUE(c.addChild(b));
    EXPECT_EQ(c.numChildren(), 2u);
    EXPECT_EQ(MFnAttribute(c.child(1)).name(), MString("link"));
    EXPECT_TRUE(c.child(2, &st).isNull());
    EXPECT_FALSE(st);
    EXPECT_TRUE(MFnAttribute(a).parent() == parent);

    EXPECT_FALSE(c.addChild(a)) << "a child has one parent";
    EXPECT_FALSE(c.addChild(parent)) << "nor is a compound its own child";
    MObject list = n.create("list", "lst", MFnNumericData::kDouble);
    n.setArray(true);
    EXPECT_FALSE(c.addChild(list)) << "arrays are kept at the top of an attribute only";
    EXPECT_FALSE(MFnNumericAttribute(a).setArray(true));
    MObject twin = n.create("first", "f2", MFnNumericData::kFloat);
    EXPECT_FALSE(c.addChild(twin)) << "children's names are unique";

    ASSERT_TRUE(c.removeChild(b));
    EXPECT_EQ(c.numChildren(), 1u);
    EXPECT_TRUE(MFnAttribute(b).parent().isNull());
    ASSERT_TRUE(c.addChild(b));

    ASSERT_TRUE(run("createNode transform -n holder"));
    MSelectionList l;
    l.add("holder");
    MObject holder;
    l.getDependNode(0, holder);
    MFnDependencyNode node(holder);
    MStatus added = node.addAttribute(parent);
    ASSERT_TRUE(added) << added.errorString();
    EXPECT_FALSE(c.addChild(twin)) << "once on a node, its children are fixed";
    EXPECT_FALSE(c.removeChild(a));
    MPlug pair = node.findPlug("pair", true);
    EXPECT_TRUE(pair.isCompound());
    EXPECT_EQ(pair.numChildren(), 2u);
    EXPECT_EQ(pair.child(0).asFloat(), 2.0f) << "the child's default";
    ASSERT_TRUE(pair.child(0).setValue(5.5f));
    EXPECT_EQ(result("getAttr holder.first"), "5.5");
    EXPECT_EQ(result("attributeQuery -lc -n holder pair"), "first link");

    MObject empty = c.create("empty", "emp");
    EXPECT_FALSE(node.addAttribute(empty)) << "a compound needs children";
}

TEST_F(CompoundTest, AComputedCompoundGivesEachChildItsOwnValue) {
    ASSERT_TRUE(
        run("setAttr s.items[0].weight 2; setAttr s.items[1].weight 3; "
            "setAttr s.items[4].weight 10; setAttr s.items[4].on 0"));
    EXPECT_EQ(result("getAttr s.sum"), "5");
    EXPECT_EQ(result("getAttr s.label"), "2 items");
    EXPECT_EQ(result("getAttr s.items[4].weight"), "10") << "elements keep their children apart";
    EXPECT_EQ(result("getAttr s.items[1].on"), "1") << "with the children's defaults";
    ASSERT_TRUE(run("setAttr s.items[4].on 1"));
    EXPECT_EQ(result("getAttr s.sum"), "15")
        << "a child's change dirties what the compound affects";
    EXPECT_EQ(result("getAttr -size s.items"), "3");
}

TEST_F(CompoundTest, CompoundsConnectWholeOrChildByChild) {
    ASSERT_TRUE(
        run("createNode summary -n r; setAttr s.items[0].weight 4; "
            "connectAttr s.items[0] r.items[2]"));
    EXPECT_EQ(result("getAttr r.items[2].weight"), "4") << "the whole element, child by child";
    EXPECT_EQ(result("getAttr r.sum"), "4");
    ASSERT_TRUE(run("setAttr s.items[0].weight 6"));
    EXPECT_EQ(result("getAttr r.sum"), "6");
    ASSERT_TRUE(
        run("createNode transform -n t; connectAttr t.translateX r.items[7].weight; "
            "setAttr t.translateX 1.5"));
    EXPECT_EQ(result("getAttr r.items[7].weight"), "1.5");
    EXPECT_EQ(result("getAttr r.sum"), "7.5");
    EXPECT_NE(failure("connectAttr s.items[1] t.translate").find("types do not match"),
              std::string::npos);
    EXPECT_NE(failure("connectAttr t.translate r.items[3]").find("types do not match"),
              std::string::npos);
}

TEST_F(CompoundTest, ChildrenReadThroughTheParentsConnectionGetTheirOwnPart) {
    ASSERT_TRUE(
        run("createNode transform -n a; createNode transform -n b; "
            "connectAttr a.translate b.translate; setAttr a.translate 1 5 7"));
    EXPECT_EQ(result("getAttr b.translateY"), "5");
    EXPECT_EQ(result("getAttr b.translateZ"), "7");
    EXPECT_EQ(result("getAttr b.translate"), "1 5 7");
}

}  // namespace

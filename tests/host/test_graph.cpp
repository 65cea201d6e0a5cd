#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MEvaluationNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MPxNode.h>

#include "host/src/dg/Api.h"
#include "host/src/dg/Graph.h"
#include "host/src/dg/Scene.h"
#include "host/src/plugin/PluginNodes.h"
#include "tests/host/HostFixture.h"

namespace {

// sum = a + b, computed on demand; counts its computations.
class Adder : public MPxNode {
public:
    static void* creator() { return new Adder; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        a = n.create("inputA", "a", MFnNumericData::kDouble, 0);
        b = n.create("inputB", "b", MFnNumericData::kDouble, 0);
        sum = n.create("sum", "s", MFnNumericData::kDouble, 0);
        n.setWritable(false);
        n.setStorable(false);
        extra = n.create("extra", "x", MFnNumericData::kInt, 0);
        MFnTypedAttribute t;
        points = t.create("points", "pts", MFnData::kPointArray);
        for (MObject* attr : {&a, &b, &sum, &extra, &points}) addAttribute(*attr);
        attributeAffects(a, sum);
        attributeAffects(b, sum);
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != sum) return MStatus::kUnknownParameter;
        ++computations;
        double v = data.inputValue(a).asDouble() + data.inputValue(b).asDouble();
        if (data.inputValue(state).asShort() == 1) {
            v = data.inputValue(a).asDouble();
        }
        data.outputValue(sum).set(v);
        data.setClean(plug);
        return MStatus::kSuccess;
    }
    // Writing "extra" dirties "sum" through this hook rather than a declared dependency.
    MStatus setDependentsDirty(const MPlug& plug, MPlugArray& affected) override {
        if (plug == extra) affected.append(MPlug(thisMObject(), sum));
        return MStatus::kSuccess;
    }
    MStatus preEvaluation(const MDGContext&, const MEvaluationNode& node) override {
        if (node.dirtyPlugExists(sum)) ++preEvaluations;
        return MStatus::kSuccess;
    }
    int computations = 0;
    int preEvaluations = 0;
    static MObject a, b, sum, extra, points;
};
MObject Adder::a, Adder::b, Adder::sum, Adder::extra, Adder::points;

class GraphTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        if (!ehost::session().registry().findClass("adder")) {
            ASSERT_TRUE(ehost::registerPluginNodeType("adder", MTypeId(0x7f001), Adder::creator,
                                                      Adder::initialize, MPxNode::kDependNode, "",
                                                      "graphTest"));
        }
    }
    MObject make(const char* name = "") {
        MFnDependencyNode fn;
        MStatus st;
        MObject o = fn.create("adder", name, &st);
        EXPECT_TRUE(st) << st.errorString();
        return o;
    }
    static Adder& user(const MObject& o) {
        return *static_cast<Adder*>(MFnDependencyNode(o).userNode());
    }
    static MPlug plug(const MObject& o, const char* name) {
        return MFnDependencyNode(o).findPlug(name, true);
    }
};

TEST_F(GraphTest, OutputsComputeOnDemandAndStayCachedUntilAnInputChanges) {
    MObject n = make();
    plug(n, "a").setValue(2.0);
    plug(n, "b").setValue(3.5);
    EXPECT_EQ(user(n).computations, 0);
    EXPECT_DOUBLE_EQ(plug(n, "sum").asDouble(), 5.5);
    EXPECT_DOUBLE_EQ(plug(n, "sum").asDouble(), 5.5);
    EXPECT_EQ(user(n).computations, 1);
    plug(n, "b").setValue(1.0);
    EXPECT_DOUBLE_EQ(plug(n, "sum").asDouble(), 3.0);
    EXPECT_EQ(user(n).computations, 2);
    // Not declared as affecting sum: no recomputation.
    plug(n, "points").setValue(MFnPointArrayData().create());
    plug(n, "sum").asDouble();
    EXPECT_EQ(user(n).computations, 2);
    // Dirtied through setDependentsDirty.
    plug(n, "extra").setValue(4);
    plug(n, "sum").asDouble();
    EXPECT_EQ(user(n).computations, 3);
}

TEST_F(GraphTest, DirtinessFollowsConnectionsDownAChain) {
    MObject first = make("first"), second = make("second"), third = make("third");
    auto ref = [](const MPlug& p) { return ehost::api::plugRef(p); };
    ASSERT_TRUE(ehost::connect(ref(plug(first, "sum")), ref(plug(second, "a"))));
    ASSERT_TRUE(ehost::connect(ref(plug(second, "sum")), ref(plug(third, "b"))));
    plug(first, "a").setValue(1.0);
    plug(first, "b").setValue(2.0);
    plug(second, "b").setValue(10.0);
    EXPECT_DOUBLE_EQ(plug(third, "sum").asDouble(), 13.0);
    plug(first, "a").setValue(5.0);
    EXPECT_DOUBLE_EQ(plug(third, "sum").asDouble(), 17.0);
    EXPECT_EQ(user(first).computations, 2);
    EXPECT_EQ(user(third).computations, 2);

    // A disconnected destination keeps the last value it received.
    ASSERT_TRUE(ehost::disconnect(ref(plug(first, "sum")), ref(plug(second, "a"))));
    plug(first, "a").setValue(100.0);
    EXPECT_DOUBLE_EQ(plug(second, "a").asDouble(), 7.0);
    EXPECT_DOUBLE_EQ(plug(third, "sum").asDouble(), 17.0);
}

TEST_F(GraphTest, ConnectionsAreRefusedWithAReason) {
    MObject n = make("n"), m = make("m");
    auto ref = [](const MPlug& p) { return ehost::api::plugRef(p); };
    MStatus st = ehost::connect(ref(plug(n, "sum")), ref(plug(m, "points")));
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("types do not match"), std::string::npos)
        << st.errorString();
    EXPECT_TRUE(ehost::connect(ref(plug(n, "sum")), ref(plug(m, "a"))));
    st = ehost::connect(ref(plug(n, "a")), ref(plug(m, "a")));
    EXPECT_NE(st.errorString().str().find("already has an input"), std::string::npos);
    st = ehost::connect(ref(plug(n, "a")), ref(plug(m, "sum")));
    EXPECT_NE(st.errorString().str().find("not writable"), std::string::npos);
}

TEST_F(GraphTest, NodeStateIsReadableInCompute) {
    MObject n = make();
    plug(n, "a").setValue(2.0);
    plug(n, "b").setValue(3.0);
    EXPECT_DOUBLE_EQ(plug(n, "sum").asDouble(), 5.0);
    plug(n, "nodeState").setValue(1);
    EXPECT_DOUBLE_EQ(plug(n, "sum").asDouble(), 2.0);
}

TEST_F(GraphTest, PreEvaluationSeesDirtyPlugsWhenTheSceneEvaluates) {
    MObject n = make();
    plug(n, "a").setValue(2.0);
    ehost::evaluateDirtyNodes();
    EXPECT_EQ(user(n).preEvaluations, 1);
    EXPECT_EQ(user(n).computations, 1);
    ehost::evaluateDirtyNodes();
    EXPECT_EQ(user(n).preEvaluations, 1);
}

TEST_F(GraphTest, NamesAreUniqueAndValid) {
    EXPECT_EQ(MFnDependencyNode(make()).name(), MString("adder1"));
    EXPECT_EQ(MFnDependencyNode(make()).name(), MString("adder2"));
    EXPECT_EQ(MFnDependencyNode(make("ball")).name(), MString("ball"));
    EXPECT_EQ(MFnDependencyNode(make("ball")).name(), MString("ball1"));
    EXPECT_EQ(MFnDependencyNode(make("pSphere7")).name(), MString("pSphere7"));
    EXPECT_EQ(MFnDependencyNode(make("pSphere7")).name(), MString("pSphere8"));

    MFnDependencyNode fn;
    MStatus st;
    for (const char* bad : {"a b", "x;delete y", "1abc", "a|b", ""}) {
        size_t before = ehost::session().scene().nodes().size();
        fn.create("adder", bad[0] ? bad : "a.b", &st);
        EXPECT_FALSE(st) << bad;
        EXPECT_EQ(ehost::session().scene().nodes().size(), before);
    }
    MObject n = make("keep");
    MFnDependencyNode(n).setName("bad name", false, &st);
    EXPECT_FALSE(st);
    EXPECT_EQ(MFnDependencyNode(n).name(), MString("keep"));
}

TEST_F(GraphTest, IteratorFiltersByKindInCreationOrder) {
    make("one");
    make("two");
    std::vector<std::string> names;
    for (MItDependencyNodes it(MFn::kPluginDependNode); !it.isDone(); it.next())
        names.push_back(MFnDependencyNode(it.thisNode()).name().str());
    EXPECT_EQ(names, (std::vector<std::string>{"one", "two"}));
    int sets = 0;
    for (MItDependencyNodes it(MFn::kSet); !it.isDone(); it.next()) ++sets;
    EXPECT_EQ(sets, 1);  // initialShadingGroup
}

TEST_F(GraphTest, BadPlugUseFailsWithoutChangingAnything) {
    MObject n = make();
    MStatus st;
    MFnDependencyNode(n).findPlug("noSuchAttr", true, &st);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("noSuchAttr"), std::string::npos);
    EXPECT_FALSE(plug(n, "points").setValue(2.0));
    EXPECT_FALSE(plug(n, "a").setValue(MFnIntArrayData().create()));
    MPlug null;
    EXPECT_FALSE(null.setValue(1.0));
    null.asDouble(&st);
    EXPECT_FALSE(st);

    // Data read from a plug is a copy: editing it leaves the plug alone.
    MPointArray pts;
    pts.append(MPoint(1, 2, 3));
    plug(n, "points").setValue(MFnPointArrayData().create(pts));
    MObject copy = plug(n, "points").asMObject();
    MFnPointArrayData(copy).set(MPointArray());
    EXPECT_EQ(MFnPointArrayData(plug(n, "points").asMObject()).length(), 1u);
}

}  // namespace

// MArrayDataBuilder and MArrayDataHandle::builder/set, as the host documents
// them: a node builds its output array's elements in compute and sets them at
// once; the array then holds exactly those elements.

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>

#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "host/src/plugin/PluginNodes.h"
#include "tests/host/HostFixture.h"

namespace {

// out[2i] = i for i < count, then one more element after the last: 99. With
// "keep" set, the builder starts from the elements the array has and adds
// count * 100 at logical index count.
class Spreader : public MPxNode {
public:
    static void* creator() { return new Spreader; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        count = n.create("count", "c", MFnNumericData::kInt, 0);
        keep = n.create("keep", "k", MFnNumericData::kBoolean, 0);
        out = n.create("out", "o", MFnNumericData::kDouble, 0);
        n.setArray(true);
        n.setUsesArrayDataBuilder(true);
        n.setWritable(false);
        n.setStorable(false);
        for (MObject* a : {&count, &keep, &out}) addAttribute(*a);
        attributeAffects(count, out);
        attributeAffects(keep, out);
        return MStatus::kSuccess;
    }
    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != out) return MStatus::kUnknownParameter;
        ++computations;
        const int n = data.inputValue(count).asInt();
        MArrayDataHandle array = data.outputArrayValue(out);
        MStatus st;
        if (data.inputValue(keep).asBool()) {
            MArrayDataBuilder b = array.builder(&st);
            if (!st) return st;
            b.addElement(static_cast<unsigned>(n)).set(n * 100.0);
            st = array.set(b);
        } else {
            MArrayDataBuilder b(&data, out, static_cast<unsigned>(n), &st);
            if (!st) return st;
            for (int i = 0; i < n; ++i) b.addElement(static_cast<unsigned>(2 * i)).set(double(i));
            b.addLast().set(99.0);
            lastCount = b.elementCount();
            st = array.set(b);
        }
        if (!st) return st;
        array.setAllClean();
        return MStatus::kSuccess;
    }
    int computations = 0;
    unsigned lastCount = 0;
    static MObject count, keep, out;
};
MObject Spreader::count, Spreader::keep, Spreader::out;

class ArrayBuilderTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        if (!ehost::session().registry().findClass("spreader")) {
            ASSERT_TRUE(ehost::registerPluginNodeType("spreader", MTypeId(0x7f0a1),
                                                      Spreader::creator, Spreader::initialize,
                                                      MPxNode::kDependNode, "", "builderTest"));
        }
        MFnDependencyNode fn;
        node_ = fn.create("spreader", "s");
        ASSERT_FALSE(node_.isNull());
    }
    MPlug plug(const char* attr) { return MFnDependencyNode(node_).findPlug(attr, true); }
    Spreader& user() { return *static_cast<Spreader*>(MFnDependencyNode(node_).userNode()); }
    //! "index=value" of each element, after evaluating the array.
    std::vector<std::string> elements() {
        MPlug array = plug("out");
        std::vector<std::string> out;
        unsigned n = array.evaluateNumElements();
        for (unsigned i = 0; i < n; ++i) {
            MPlug e = array.elementByPhysicalIndex(i);
            out.push_back(std::to_string(e.logicalIndex()) + "=" +
                          std::to_string(static_cast<int>(e.asDouble())));
        }
        return out;
    }
    MObject node_;
};

using Items = std::vector<std::string>;

TEST_F(ArrayBuilderTest, TheArrayHoldsExactlyTheBuiltElementsAfterEachCompute) {
    ASSERT_TRUE(plug("count").setValue(3));
    EXPECT_EQ(elements(), (Items{"0=0", "2=1", "4=2", "5=99"}))
        << "addLast comes after the highest logical index";
    EXPECT_EQ(user().lastCount, 4u);
    const int after = user().computations;
    EXPECT_EQ(elements(), (Items{"0=0", "2=1", "4=2", "5=99"}));
    EXPECT_EQ(user().computations, after) << "clean once set";

    ASSERT_TRUE(plug("count").setValue(1));
    EXPECT_EQ(elements(), (Items{"0=0", "1=99"})) << "elements not built are gone";
    MCommandResult size;
    ASSERT_TRUE(ehost::runCommands("getAttr -size s.out", {false, false}, &size));
    EXPECT_EQ(size.stringResult(), MString("2"));

    // Reading one element of a dirty array computes the array.
    ASSERT_TRUE(plug("count").setValue(2));
    EXPECT_EQ(plug("out").elementByLogicalIndex(3).asDouble(), 99.0);
}

TEST_F(ArrayBuilderTest, ABuilderFromTheHandleStartsFromTheElementsThereAre) {
    ASSERT_TRUE(plug("count").setValue(2));
    EXPECT_EQ(elements(), (Items{"0=0", "2=1", "3=99"}));
    ASSERT_TRUE(plug("keep").setValue(true));
    EXPECT_EQ(elements(), (Items{"0=0", "2=200", "3=99"}))
        << "the element at 2 is written over; the others stay";
}

TEST_F(ArrayBuilderTest, BuildersRefuseWhatIsNoArrayAndElementsTheyDoNotHave) {
    MStatus st;
    MArrayDataBuilder notArray(Spreader::count, 2, &st);
    EXPECT_FALSE(st);
    EXPECT_EQ(notArray.elementCount(&st), 0u);
    EXPECT_FALSE(st);
    notArray.addLast(&st);
    EXPECT_FALSE(st);

    MArrayDataBuilder b(Spreader::out, 4, &st);
    ASSERT_TRUE(st);
    EXPECT_EQ(b.elementCount(), 0u);
    ASSERT_TRUE(b.growArray(10));
    EXPECT_EQ(b.elementCount(), 0u) << "growing makes room, not elements";
    b.addElement(7).set(1.5);
    EXPECT_EQ(b.addElement(7).asDouble(), 1.5) << "the element there is handed out again";
    EXPECT_EQ(b.addLast().asDouble(), 0.0) << "a new element has the default value";
    EXPECT_EQ(b.elementCount(), 2u);
    MArrayDataBuilder copy(b);
    ASSERT_TRUE(copy.removeElement(7));
    EXPECT_EQ(b.elementCount(), 1u) << "copies share the elements";
    EXPECT_FALSE(b.removeElement(7));
    b.addElementArray(0, &st);
    EXPECT_FALSE(st) << "no arrays of arrays";
}

}  // namespace

#include <maya/MFnAttribute.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MPlug.h>

#include <filesystem>
#include <vector>

#include "host/src/dg/Api.h"
#include "host/src/io/SceneFile.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

class RailNodeTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        ASSERT_TRUE(run("createNode Tessark -n rail"));
        rail = node("rail");
    }
    MPlug plug(const char* name) { return MFnDependencyNode(rail).findPlug(name, true); }
    bool dirty(const char* name) {
        auto n = ehost::api::nodeOf(rail);
        return n->cell({n->cls->find(name), -1}, true)->dirty;
    }
    MObject rail;
};

TEST_F(RailNodeTest, AttributesComeInTheirOrderWithNamesKindsDefaultsAndFlags) {
    struct Expected {
        const char *name, *shortName;
        MFn::Type kind;
        bool storable, keyable, hidden, writable, cached;
    };
    // In the order the node type adds them.
    const Expected expected[] = {
        {"close", "cl", MFn::kNumericAttribute, 1, 0, 0, 1, 1},
        {"mode", "mo", MFn::kNumericAttribute, 1, 0, 0, 1, 1},
        {"sizes", "sz", MFn::kTypedAttribute, 1, 0, 1, 1, 1},
        {"locked", "lck", MFn::kNumericAttribute, 1, 0, 0, 1, 1},
        {"newFaces", "nf", MFn::kTypedAttribute, 1, 0, 1, 1, 1},
        {"fusept", "fpt", MFn::kTypedAttribute, 1, 0, 1, 1, 1},
        {"strokes", "stk", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
        {"toMerge", "tmg", MFn::kTypedAttribute, 1, 0, 1, 1, 1},
        {"playerpts", "ppt", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
        {"magnetPt", "mgn", MFn::kTypedAttribute, 1, 0, 1, 1, 1},
        {"fusemesh", "fmh", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
        {"TessarkMesh", "zm", MFn::kGenericAttribute, 1, 1, 1, 1, 1},
        {"playersLine", "pla", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
        {"fuseindices", "fid", MFn::kTypedAttribute, 1, 0, 1, 1, 1},
        {"displayInfo", "di", MFn::kNumericAttribute, 1, 0, 0, 1, 1},
        {"sizesShadow", "shz", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
        {"isLastPlayer", "ilp", MFn::kNumericAttribute, 1, 0, 1, 1, 1},
        {"strokesShadow", "shtk", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
        {"sizesNondestruct", "snd", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
        {"strokesNondestruct", "stnd", MFn::kTypedAttribute, 1, 1, 1, 1, 1},
    };
    MFnDependencyNode fn(rail);
    std::vector<std::string> order;
    for (unsigned i = 0; i < fn.attributeCount(); ++i) {
        MFnAttribute a(fn.attribute(i));
        for (const auto& e : expected)
            if (a.name() == e.name) order.push_back(e.name);
    }
    ASSERT_EQ(order.size(), std::size(expected));
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], expected[i].name);
    for (const auto& e : expected) {
        MFnAttribute a(fn.attribute(e.name));
        SCOPED_TRACE(e.name);
        EXPECT_EQ(a.shortName(), MString(e.shortName));
        EXPECT_EQ(a.object().apiType(), e.kind);
        EXPECT_EQ(a.isStorable(), e.storable);
        EXPECT_EQ(a.isKeyable(), e.keyable);
        EXPECT_EQ(a.isHidden(), e.hidden);
        EXPECT_EQ(a.isWritable(), e.writable);
        EXPECT_EQ(a.isCached(), e.cached);
        EXPECT_FALSE(a.isArray());
    }
    EXPECT_TRUE(plug("locked").asBool());
    EXPECT_FALSE(plug("close").asBool());
    EXPECT_TRUE(plug("displayInfo").asBool());
    EXPECT_FALSE(plug("isLastPlayer").asBool());
    EXPECT_TRUE(plug("mode").asBool());
    EXPECT_TRUE(MFnAttribute(fn.attribute("TessarkMesh")).accepts(MFnData::kMesh));
    EXPECT_TRUE(plug("strokes").asMObject().isNull());
}

TEST_F(RailNodeTest, WritesCarryDirtinessAlongTheDeclaredDependencies) {
    ehost::evaluateDirtyNodes();
    ASSERT_FALSE(dirty("sizes"));
    plug("strokes").setValue(MFnPointArrayData().create());
    EXPECT_TRUE(dirty("sizes"));
    EXPECT_TRUE(dirty("newFaces"));
    EXPECT_TRUE(dirty("sizesShadow")) << "through newFaces";
    EXPECT_TRUE(dirty("isLastPlayer")) << "through newFaces and strokesShadow";
    ehost::evaluateDirtyNodes();
    EXPECT_FALSE(dirty("sizes"));
    plug("displayInfo").setValue(true);
    EXPECT_TRUE(dirty("strokes"));
    EXPECT_TRUE(dirty("sizes")) << "a write of displayInfo with its own value redraws the node";
    EXPECT_TRUE(dirty("playerpts"));
    ehost::evaluateDirtyNodes();
    plug("mode").setValue(false);
    EXPECT_FALSE(dirty("sizes")) << "mode affects nothing";
}

TEST_F(RailNodeTest, StoredValuesStandWhenReadBackAfterDirtying) {
    MIntArray sizes;
    sizes.append(3);
    sizes.append(5);
    plug("sizes").setValue(MFnIntArrayData().create(sizes));
    plug("strokes").setValue(MFnPointArrayData().create(MPointArray(8, MPoint(1, 2, 3))));
    MFnIntArrayData read(plug("sizes").asMObject());
    ASSERT_EQ(read.length(), 2u)
        << "compute reports kUnknownParameter for sizes: the stored value stands";
    EXPECT_EQ(read[1], 5);
}

TEST_F(RailNodeTest, StateSurvivesSavingAndReopening) {
    MPointArray stroke;
    stroke.append(MPoint(0.1, 0.2, 1e-300));
    stroke.append(MPoint(-0.0, 1.0 / 3.0, 2));
    plug("strokes").setValue(MFnPointArrayData().create(stroke));
    MIntArray sizes;
    sizes.append(2);
    plug("sizes").setValue(MFnIntArrayData().create(sizes));
    plug("locked").setValue(false);
    plug("strokesShadow").setValue(MFnPointArrayData().create(stroke));
    auto file = std::filesystem::temp_directory_path() /
                ("tessark-rail-" + std::to_string(::getpid()) + ".tscene");
    ASSERT_TRUE(ehost::saveScene(file.string()));
    ehost::session().newScene();
    ASSERT_TRUE(ehost::openScene(file.string()));
    std::filesystem::remove(file);
    rail = node("rail");
    ASSERT_FALSE(rail.isNull());
    MFnPointArrayData points(plug("strokes").asMObject());
    ASSERT_EQ(points.length(), 2u);
    EXPECT_EQ(points[0], stroke[0]);
    EXPECT_EQ(points[1].y, 1.0 / 3.0);
    EXPECT_TRUE(std::signbit(points[1].x));
    EXPECT_FALSE(plug("locked").asBool());
    EXPECT_EQ(MFnIntArrayData(plug("sizes").asMObject())[0], 2);
    EXPECT_EQ(MFnPointArrayData(plug("strokesShadow").asMObject()).length(), 2u);
}

}  // namespace

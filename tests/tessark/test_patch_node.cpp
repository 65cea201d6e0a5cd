#include <maya/MFnFloatArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>

#include <cmath>

#include "host/src/dg/Graph.h"
#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

MIntArray ints(std::initializer_list<int> v) {
    MIntArray a;
    for (int x : v) a.append(x);
    return a;
}

class PatchNodeTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        makeGrid("src");
        ASSERT_TRUE(
            run("createNode kvPatchNode -n patch; connectAttr srcShape.outMesh patch.inMesh"));
        patch = node("patch");
    }
    MPlug plug(const char* name) { return MFnDependencyNode(patch).findPlug(name, true); }
    std::shared_ptr<const ehost::MeshGeometry> out() {
        MObject data = plug("outMesh").asMObject();
        auto d = std::dynamic_pointer_cast<ehost::MeshData>(ehost::api::dataOf(data));
        return d ? d->shared() : nullptr;
    }
    //! A single quad with UVs and one hard edge.
    void setQuad() {
        MPointArray points;
        points.append(MPoint(0, 0, 0));
        points.append(MPoint(1, 0, 0));
        points.append(MPoint(1, 0, 1.5));
        points.append(MPoint(0, 0.25, 1));
        plug("numverts").setValue(4);
        plug("numpolys").setValue(1);
        plug("vertexarray").setValue(MFnPointArrayData().create(points));
        plug("polycount").setValue(MFnIntArrayData().create(ints({4})));
        MFloatArray u, v;
        for (float x : {0.f, 1.f, 1.f, 0.f}) u.append(x);
        for (float x : {0.f, 0.f, 1.f, 1.f}) v.append(x);
        plug("uarray").setValue(MFnFloatArrayData().create(u));
        plug("varray").setValue(MFnFloatArrayData().create(v));
        plug("polycountUV").setValue(MFnIntArrayData().create(ints({4})));
        plug("polyconnUV").setValue(MFnIntArrayData().create(ints({0, 1, 2, 3})));
        plug("hardenvalues").setValue(MFnIntArrayData().create(ints({1, 0, 1, 1})));
        plug("edgesharden").setValue(MFnIntArrayData().create(ints({0, 1, 2, 3})));
        plug("polyconnect").setValue(MFnIntArrayData().create(ints({0, 1, 2, 3})));
    }
    MObject patch;
};

TEST_F(PatchNodeTest, EmptyArraysPassTheInputThrough) {
    auto in = meshOf(node("srcShape"));
    auto o = out();
    ASSERT_TRUE(o);
    EXPECT_TRUE(*o == *in);
    EXPECT_TRUE(plug("reverse").asBool()) << "reverse defaults to true";
}

TEST_F(PatchNodeTest, ArraysBuildExactlyTheDescribedMesh) {
    setQuad();
    auto o = out();
    ASSERT_TRUE(o);
    ASSERT_EQ(o->numVertices(), 4);
    ASSERT_EQ(o->numFaces(), 1);
    EXPECT_EQ(o->point(3), ehost::Vec3(0, 0.25, 1));
    std::vector<int> counts, ids;
    o->getAssignedUVs(counts, ids);
    EXPECT_EQ(counts, std::vector<int>{4});
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(o->isEdgeSmooth(0));
    EXPECT_FALSE(o->isEdgeSmooth(1));
    EXPECT_EQ(o->numHardEdges(), 1);
}

TEST_F(PatchNodeTest, VerticesAloneMakeAMeshRatherThanAPassThrough) {
    MPointArray points(3, MPoint(1, 1, 1));
    plug("numverts").setValue(3);
    plug("vertexarray").setValue(MFnPointArrayData().create(points));
    auto o = out();
    ASSERT_TRUE(o);
    EXPECT_EQ(o->numVertices(), 3);
    EXPECT_EQ(o->numFaces(), 0);
}

TEST_F(PatchNodeTest, NonDrivingAttributesWaitForADrivingChange) {
    setQuad();
    out();
    MFloatArray u(4, 0.5f), v(4, 0.5f);
    plug("uarray").setValue(MFnFloatArrayData().create(u));
    plug("edgesharden").setValue(MFnIntArrayData().create(ints({})));
    plug("reverse").setValue(false);
    std::vector<float> us, vs;
    out()->getUVs(us, vs);
    EXPECT_EQ(us[0], 0.f) << "uarray does not dirty the output";
    EXPECT_EQ(out()->numHardEdges(), 1);
    plug("numverts").setValue(4);
    out()->getUVs(us, vs);
    EXPECT_EQ(us[0], 0.5f) << "the next driving change picks the new values up";
    EXPECT_EQ(out()->numHardEdges(), 0);
}

TEST_F(PatchNodeTest, HasNoEffectStatePassesTheInputWhateverTheArrays) {
    setQuad();
    EXPECT_EQ(out()->numFaces(), 1);
    plug("nodeState").setValue(1);
    EXPECT_TRUE(*out() == *meshOf(node("srcShape")));
    plug("nodeState").setValue(0);
    EXPECT_EQ(out()->numFaces(), 1);
}

TEST_F(PatchNodeTest, InconsistentArraysKeepShowingTheInput) {
    setQuad();
    plug("polyconnect").setValue(MFnIntArrayData().create(ints({0, 1, 2, 9})));
    testing::internal::CaptureStderr();
    auto o = out();
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(o);
    EXPECT_TRUE(*o == *meshOf(node("srcShape")));
    EXPECT_NE(err.find("API error detected in kvpatchnode at line"), std::string::npos) << err;
    testing::internal::CaptureStderr();
    plug("numverts").setValue(3);
    plug("polyconnect").setValue(MFnIntArrayData().create(ints({0, 1, 2, 3})));
    EXPECT_TRUE(*out() == *meshOf(node("srcShape"))) << "numverts no longer matches vertexarray";
    plug("numverts").setValue(4);
    MPointArray nan(4, MPoint(0, std::nan(""), 0));
    plug("vertexarray").setValue(MFnPointArrayData().create(nan));
    EXPECT_TRUE(*out() == *meshOf(node("srcShape"))) << "positions that are not numbers";
    testing::internal::GetCapturedStderr();
}

}  // namespace

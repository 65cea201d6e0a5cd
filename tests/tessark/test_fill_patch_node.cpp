// What filling a patch node writes from a working copy: the whole mesh, the
// UV assignment with the new faces left without UVs, the selected mesh's
// normals as they were before the new faces, every edge's smoothing, and a
// report naming each attribute that could not be set.

#include <maya/MFnDependencyNode.h>
#include <maya/MFnFloatArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnVectorArrayData.h>

#include <vector>

#include "patch/FillPatchNode.h"
#include "railnode/RailNode.h"
#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

std::vector<int> intsOf(const MPlug& plug) {
    MFnIntArrayData fn(plug.asMObject());
    return tessark::toIntVector(fn.array());
}

class FillPatchNodeTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        // The retopology mesh as it is before the action (2 x 2 quads, with
        // UVs) and its working copy, which gains one quad without UVs.
        makeGrid("retopo", 2, 2.0);
        ASSERT_TRUE(run("duplicate -n work retopo; createNode kvPatchNode -n patch"));
        ASSERT_TRUE(run("select -r retopo"));
        ASSERT_TRUE(work.setObject(path("work")));
        MPointArray quad;
        for (auto [x, z] : {std::pair{1.0, -1.0}, {2.0, -1.0}, {2.0, 0.0}, {1.0, 0.0}})
            quad.append(MPoint(x, 0, z));
        int face = -1;
        MStatus added;
        work.addPolygon(quad, face, true, 0.001, MObject::kNullObj, &added);
        ASSERT_TRUE(added);
        newFaces.append(face);
        // One hard edge on the copy: the node must keep it hard.
        ASSERT_TRUE(work.setEdgeSmoothing(1, false));
    }
    MPlug plug(const char* name) { return MFnDependencyNode(node("patch")).findPlug(name, true); }
    MFnMesh work;
    MIntArray newFaces;
};

TEST_F(FillPatchNodeTest, TheWholeCopyIsWrittenWithTheNewFacesWithoutUVs) {
    ASSERT_TRUE(tessark::fillPatchNode(work, false, "patch", newFaces));
    EXPECT_EQ(plug("numpolys").asInt(), 5);
    EXPECT_EQ(plug("numverts").asInt(), 11) << "9 grid vertices and two new ones";
    EXPECT_EQ(intsOf(plug("polycount")), (std::vector<int>{4, 4, 4, 4, 4}));
    EXPECT_EQ(intsOf(plug("polycountUV")), (std::vector<int>{4, 4, 4, 4, 0}));
    EXPECT_EQ(intsOf(plug("polyconnUV")).size(), 16u);
    MFnFloatArrayData us(plug("uarray").asMObject());
    EXPECT_EQ(us.length(), 9u) << "the copy's UVs, one per grid vertex";
    EXPECT_FALSE(plug("reverse").asBool());
}

TEST_F(FillPatchNodeTest, NormalsAreTheSelectedMeshsBeforeTheNewFaces) {
    ASSERT_TRUE(tessark::fillPatchNode(work, false, "patch", newFaces));
    MFnVectorArrayData normals(plug("normalsin").asMObject());
    ASSERT_EQ(normals.length(), 16u) << "four corners of the four faces the mesh had";
    for (unsigned i = 0; i < normals.length(); ++i)
        EXPECT_EQ(normals.array()[i], MVector(0, 1, 0)) << "face-vertex " << i;
    std::vector<int> faces = intsOf(plug("facelist"));
    std::vector<int> vertices = intsOf(plug("vertexlist"));
    ASSERT_EQ(faces.size(), 16u);
    EXPECT_EQ(faces[4], 1) << "face after face, corner after corner";
    EXPECT_EQ(std::vector<int>(vertices.begin(), vertices.begin() + 4),
              (std::vector<int>{0, 3, 4, 1}));
}

TEST_F(FillPatchNodeTest, EveryEdgeIsListedWithItsSmoothing) {
    ASSERT_TRUE(tessark::fillPatchNode(work, false, "patch", newFaces));
    std::vector<int> ids = intsOf(plug("edgesharden"));
    std::vector<int> values = intsOf(plug("hardenvalues"));
    ASSERT_EQ(ids.size(), static_cast<size_t>(work.numEdges()));
    ASSERT_EQ(values.size(), ids.size());
    for (size_t e = 0; e < ids.size(); ++e) {
        EXPECT_EQ(ids[e], static_cast<int>(e));
        EXPECT_EQ(values[e], e == 1 ? 0 : 1) << "edge " << e;
    }
}

TEST_F(FillPatchNodeTest, ReversingTurnsOnlyTheNewQuadsRound) {
    MIntArray counts, before;
    work.getVertices(counts, before);
    ASSERT_TRUE(tessark::fillPatchNode(work, true, "patch", newFaces));
    std::vector<int> after = intsOf(plug("polyconnect"));
    ASSERT_EQ(after.size(), before.length());
    for (unsigned i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]);
    for (unsigned k = 0; k < 4; ++k) EXPECT_EQ(after[16 + k], before[19 - k]);
    EXPECT_TRUE(plug("reverse").asBool());
}

TEST_F(FillPatchNodeTest, EachAttributeThatCannotBeSetIsReportedByName) {
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    MStatus status = tessark::fillPatchNode(work, false, "noSuchNode", newFaces);
    std::string reports =
        testing::internal::GetCapturedStderr() + testing::internal::GetCapturedStdout();
    EXPECT_TRUE(status) << "single failures are only reported";
    for (const char* attribute :
         {"vertexarray", "polycount", "polyconnect", "numpolys", "numverts", "reverse", "uarray",
          "varray", "normalsin", "facelist", "vertexlist", "hardenvalues", "edgesharden",
          "polycountUV", "polyconnUV"})
        EXPECT_NE(reports.find(std::string("error set this attribute-->>") + attribute),
                  std::string::npos)
            << attribute << " in:\n"
            << reports;
}

}  // namespace

// The rail tool's reach into the host: capturing a point of the source under
// the cursor, the brush's pick and relax step, and the command texts that
// join borders.

#include <maya/M3dView.h>
#include <maya/MPxContext.h>

#include "patch/FusionCommands.h"
#include "patch/RelaxBrush.h"
#include "tessark/ContextHost.h"
#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/PatchFixture.h"

namespace {

//! A context of the test's own, for a host adapter that needs one.
class BareContext : public MPxContext {};

class ContextHostTest : public PatchTest {
protected:
    void SetUp() override {
        PatchTest::SetUp();
        ASSERT_TRUE(run("viewPlace -eye 0 10 0.001 -lookAt 0 0 0 persp"));
    }
    //! The pixel the active view shows a world point at.
    static std::pair<short, short> pixel(const MPoint& p) {
        short x = 0, y = 0;
        M3dView::active3dView().worldToView(p, x, y);
        return {x, y};
    }
    BareContext context;
    tessark::ContextHost host{context};
};

TEST_F(ContextHostTest, OnlyFacesTurnedToTheCameraCatchTheStroke) {
    makeGrid("up", 2, 4.0, 0.0);  // faces look up, at the camera
    useSource("up");
    ASSERT_TRUE(host.sourceMesh().isMesh);
    auto [x, y] = pixel(MPoint(0.5, 0, 0.5));
    auto point = host.captureSurfacePoint(x, y);
    ASSERT_TRUE(point);
    EXPECT_NEAR(point->y, 0, 1e-9);
    EXPECT_NEAR(point->x, 0.5, 0.05);

    ASSERT_TRUE(run("delete rail; delete transform1"));
    // The same grid turned over: the camera sees only its back.
    makeGrid("down", 2, 4.0, 0.0);
    ASSERT_TRUE(run("setAttr down.rotateX 180"));
    useSource("down");
    host.sourceMesh();
    EXPECT_FALSE(host.captureSurfacePoint(x, y)) << "a back-facing hit captures nothing";
}

TEST_F(ContextHostTest, ThroughAClosedMeshTheHitNearestTheEyeIsTaken) {
    ASSERT_TRUE(run("polySphere -n ball -r 2 -sx 24 -sy 24"));
    useSource("ball");
    host.sourceMesh();
    auto [x, y] = pixel(MPoint(0, 2, 0));
    auto point = host.captureSurfacePoint(x, y);
    ASSERT_TRUE(point);
    EXPECT_GT(point->y, 1.9) << "the near side of the ball, not the far one";
}

TEST_F(ContextHostTest, TheBrushTakesVerticesStrictlyInsideItsRadius) {
    makeGrid("retopo", 2, 4.0);
    ASSERT_TRUE(run("select -r retopo"));
    MDagPath mesh;
    ASSERT_TRUE(tessark::selectedRetopologyMesh(mesh));
    auto [cx, cy] = pixel(MPoint(0, 0, 0));  // vertex 4, the centre
    auto [ex, ey] = pixel(MPoint(2, 0, 0));  // vertex 5
    const double toEdge = std::hypot(ex - cx, ey - cy);
    MIntArray exact = tessark::brushSelect(mesh, cx, cy, toEdge);
    EXPECT_EQ(tessark::toIntVector(exact), std::vector<int>{4})
        << "a vertex exactly on the radius is left out";
    MIntArray wider = tessark::brushSelect(mesh, cx, cy, toEdge + 0.5);
    EXPECT_GE(wider.length(), 3u);
}

TEST_F(ContextHostTest, ARelaxedVertexPressesOntoTheSurfaceInReachOrStaysPut) {
    makeGrid("ground", 4, 8.0);
    useSource("ground");
    // One quad floating above the ground and a lone vertex of it.
    makeGrid("retopo", 1, 2.0, 0.5);
    ASSERT_TRUE(run("select -r retopo"));
    MDagPath mesh;
    ASSERT_TRUE(tessark::selectedRetopologyMesh(mesh));
    MFnMesh fn(mesh);
    MPointArray before;
    fn.getPoints(before, MSpace::kWorld);
    MIntArray all;
    for (int v : {0, 1, 2, 3}) all.append(v);
    tessark::brushRelaxStep(mesh, all, 1.0);
    MPointArray after;
    fn.getPoints(after, MSpace::kWorld);
    for (unsigned v = 0; v < 4; ++v)
        EXPECT_NEAR(after[v].y, 0, 1e-6) << "pressed onto the ground along its normal";

    ASSERT_TRUE(run("setAttr ground.translateY -100"));
    MPointArray far;
    fn.getPoints(far, MSpace::kWorld);
    tessark::brushRelaxStep(mesh, all, 1.0);
    MPointArray unmoved;
    fn.getPoints(unmoved, MSpace::kWorld);
    for (unsigned v = 0; v < 4; ++v)
        EXPECT_EQ(unmoved[v], far[v]) << "no surface within 30 units: it keeps its place";
}

TEST_F(ContextHostTest, JoiningCommandsPairOnlyWhatBothLoopsHave) {
    makeGrid("m", 2, 2.0);
    MDagPath mesh = path("m");
    EXPECT_EQ(tessark::magnetMergeCommand(mesh, 3, 7).str(),
              "polyMergeVertex -d 9999 - am 1  \"|m.vtx[3]\" \"|m.vtx[7]\"");
    MPointArray targets;
    targets.append(MPoint(0.5, 0, 1));
    targets.append(MPoint(1.5, 0, 1));
    EXPECT_EQ(tessark::weldCommand(mesh, {0, 1, 2}, {6, 7}, targets).str(),
              "move -a 0.5 0 1 |m.vtx[0];move -a 0.5 0 1 |m.vtx[6];"
              "move -a 1.5 0 1 |m.vtx[1];move -a 1.5 0 1 |m.vtx[7];"
              "polyMergeVertex -am 1 -d 0.01 |m.vtx[0] |m.vtx[6] |m.vtx[1] |m.vtx[7] ")
        << "a weld loop cut short pairs with as much of the player as it reaches";
    EXPECT_EQ(tessark::bridgeCommand(mesh, {1, 2, 3}, {9, 8}, 1).str(),
              "polyBridgeEdge -divisions 1 -direction 0 \"|m.e[1]\" \"|m.e[9]\" \"|m.e[2]\" "
              "\"|m.e[8]\"");
}

TEST_F(ContextHostTest, ABrushSetUpWithoutSizeOrIntensityStillRelaxes) {
    std::string name = result("TessarkContext");
    ASSERT_TRUE(run("TessarkContext -e -rb 1 " + name));
    EXPECT_EQ(MGlobal::optionVarStringValue("Tessark_info1"), MString("Brush Relax Mode"));
    EXPECT_FALSE(run("TessarkContext -e -u 4 noSuchContext")) << "no context of that name";
}

}  // namespace

// The rail tool's reach into the host: capturing a point of the source under
// the cursor, the brush's pick and relax step, and the command texts that
// join borders.

#include <maya/M3dView.h>
#include <maya/MPxContext.h>

#include "host/src/session/Session.h"
#include "host/src/view/Tools.h"
#include "host/src/view/Views.h"
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

//! Two unit quads side by side with a gap, just above the top of a ball of
//! radius 5: quad 0 is vertices 0-3, quad 1 is 4-7; 1-2 faces 4-7 across the gap.
MObject twoQuadsAboveTheBall() {
    auto above = [](double x, double z) {
        return MPoint(x, std::sqrt(25 - x * x - z * z) + 0.05, z);
    };
    MPointArray points;
    for (double x0 : {-1.1, 0.1}) {
        points.append(above(x0, -0.5));
        points.append(above(x0 + 1, -0.5));
        points.append(above(x0 + 1, 0.5));
        points.append(above(x0, 0.5));
    }
    MIntArray counts, connects;
    for (int q = 0; q < 2; ++q) {
        counts.append(4);
        for (int k : {0, 3, 2, 1}) connects.append(4 * q + k);
    }
    MFnMesh fn;
    MObject transform = fn.create(8, 2, points, counts, connects);
    MFnDagNode(transform).setName("retopo");
    return transform;
}

TEST_F(ContextHostTest, MergedAndWeldedVerticesLandOnTheSurfaceAndUndoAsOne) {
    ASSERT_TRUE(run("polySphere -r 5 -sx 40 -sy 40 -n ball"));
    useSource("ball");
    twoQuadsAboveTheBall();
    ASSERT_TRUE(run("select -r retopo"));
    // A rail tool context, as the context command makes it: the weld runs as its tool command.
    ehost::Tool* tool = ehost::session().views().tools().find(result("TessarkContext"));
    ASSERT_TRUE(tool && tool->context);
    tessark::ContextHost toolHost{*tool->context};
    auto retopo = [&] {
        MDagPath p = path("retopo");
        p.extendToShape();
        return meshOf(p.node());
    };
    auto distanceToBall = [&](const MPoint& p) {
        MPoint closest;
        MFnMesh(path("ball")).getClosestPoint(p, closest, MSpace::kWorld);
        return closest.distanceTo(p);
    };
    const ehost::MeshGeometry before = *retopo();

    // A magnet merge across the gap: one vertex, on the ball, not at the midpoint above it.
    toolHost.magnetMerge(1, 4);
    ASSERT_EQ(retopo()->numVertices(), 7);
    int merged = -1;
    for (int v = 0; v < 7; ++v)
        if (std::abs(retopo()->point(v).x) < 0.2 && retopo()->point(v).z < 0) merged = v;
    ASSERT_GE(merged, 0);
    const ehost::Vec3 m = retopo()->point(merged);
    EXPECT_LT(distanceToBall(MPoint(m.x, m.y, m.z)), 1e-4);
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(*retopo() == before) << "the moves and the merge are one step";

    // A weld of the two facing edges: each pair meets on the ball.
    auto middle = [&](int a, int b) {
        const ehost::Vec3 p = (retopo()->point(a) + retopo()->point(b)) * 0.5;
        return geo::Point{p.x, p.y, p.z};
    };
    geo::Polyline midpoints{middle(1, 4), middle(2, 7)};
    toolHost.weld({1, 2}, {4, 7}, midpoints);
    ASSERT_EQ(retopo()->numVertices(), 6);
    for (int v = 0; v < 6; ++v) {
        const ehost::Vec3 p = retopo()->point(v);
        if (std::abs(p.x) < 0.2) {
            EXPECT_LT(distanceToBall(MPoint(p.x, p.y, p.z)), 1e-4) << v;
        }
    }
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(*retopo() == before);
}

TEST_F(ContextHostTest, ABrushSetUpWithoutSizeOrIntensityStillRelaxes) {
    std::string name = result("TessarkContext");
    ASSERT_TRUE(run("TessarkContext -e -rb 1 " + name));
    EXPECT_EQ(MGlobal::optionVarStringValue("Tessark_info1"), MString("Brush Relax Mode"));
    EXPECT_FALSE(run("TessarkContext -e -u 4 noSuchContext")) << "no context of that name";
}

}  // namespace

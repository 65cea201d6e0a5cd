#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include <cmath>
#include <filesystem>

#include "host/src/io/SceneFile.h"
#include "host/src/mesh/MeshGeometry.h"
#include "kvpatchnode/StateSenders.h"
#include "patch/PatchHelpers.h"
#include "patch/PatchPipeline.h"
#include "railnode/RailNodeOps.h"
#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/PatchFixture.h"
#include "tests/tessark/Surfaces.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

using PipelineTest = PatchTest;

TEST_F(PipelineTest, TwoStrokesOnASphereBecome144QuadsPressedOntoIt) {
    ASSERT_TRUE(run("polySphere -n ball -r 5 -sx 40 -sy 40"));
    useSource("ball");
    MIntArray row = complete({meridian(0), meridian(40)});
    ASSERT_EQ(row.length(), 13u);
    EXPECT_NE(ehost::session().scene().find("kvMeshShape"), nullptr)
        << "no mesh was selected: a new one is made";
    auto mesh = retopo();
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->numFaces(), 144);
    EXPECT_EQ(mesh->numVertices(), 169);
    EXPECT_LT(farthestFromSource("ball"), 0.001);
    EXPECT_EQ(
        tessark::toIntArray(tessark::RailNode::find().ints(tessark::RailInts::newFaces)).length(),
        144u);
    EXPECT_EQ(tessark::readToMerge().length(), 13u);
    EXPECT_FALSE(tessark::RailNode::find().flag(tessark::RailFlag::locked, true));
    EXPECT_EQ(tessark::shadowStrokeCount(), 2);
    EXPECT_EQ(patchNodeOf("kvMeshShape"), "kvPatchNode1");
    EXPECT_EQ(result("getAttr kvPatchNode1.reverse"), "0")
        << "quads drawn facing out face like the sphere";
    for (int f = 0; f < mesh->numFaces(); ++f) {
        ehost::Vec3 c = mesh->point(mesh->faceVertices(f)[0]);
        EXPECT_GT(ehost::dot(mesh->faceNormal(f), c), 0) << "face " << f;
    }
}

TEST_F(PipelineTest, StrokesDrawnTheOtherWayAreReversedToFaceOut) {
    ASSERT_TRUE(run("polySphere -n ball -r 5 -sx 40 -sy 40"));
    useSource("ball");
    complete({meridian(40), meridian(0)});
    EXPECT_EQ(result("getAttr kvPatchNode1.reverse"), "1");
    auto mesh = retopo();
    ASSERT_EQ(mesh->numFaces(), 144);
    for (int f = 0; f < mesh->numFaces(); ++f) {
        ehost::Vec3 c = mesh->point(mesh->faceVertices(f)[0]);
        EXPECT_GT(ehost::dot(mesh->faceNormal(f), c), 0) << "face " << f;
    }
}

TEST_F(PipelineTest, ThreeStrokesMakeTwoGridsSharingTheMiddleRow) {
    ASSERT_TRUE(run("polySphere -n ball -r 5 -sx 40 -sy 40"));
    useSource("ball");
    complete({meridian(0), meridian(30), meridian(60)});
    auto mesh = retopo();
    EXPECT_EQ(mesh->numFaces(), 288);
    EXPECT_EQ(mesh->numVertices(), 13 * 13 * 2 - 13);
    EXPECT_LT(farthestFromSource("ball"), 0.001);
}

TEST_F(PipelineTest, APatchContinuedFromThePlayerRowStartsExactlyOnIt) {
    makeBumpyGround("ground");
    useSource("ground");
    complete({groundLine(-2), groundLine(0)});
    ASSERT_EQ(retopo()->numVertices(), 169);
    // The player row: the first patch's far row, as the mesh holds it.
    MDagPath mesh;
    tessark::selectedRetopologyMesh(mesh);
    MIntArray border = tessark::readToMerge();
    ASSERT_EQ(border.length(), 13u);
    MPointArray player = tessark::vertexPoints(border, mesh);
    ASSERT_EQ(player.length(), 13u);
    tessark::appendStroke(groundLine(2));
    tessark::prependStroke(player);
    tessark::setIsLastPlayer(true);
    MIntArray next = tessark::createPatch(static_cast<int>(player.length()) - 1, player);
    auto after = retopo();
    // The row returned is the one the next patch grows from: the far rail's
    // vertices as the mesh numbers them, though the grid merged with the player.
    ASSERT_EQ(next.length(), 13u);
    for (unsigned i = 0; i < next.length(); ++i) {
        ASSERT_LT(next[i], after->numVertices());
        EXPECT_NEAR(after->point(next[i]).z, 2, 1e-3) << "vertex " << next[i];
    }
    EXPECT_EQ(tessark::toIntVector(tessark::readToMerge()), tessark::toIntVector(next));
    EXPECT_EQ(after->numFaces(), 288);
    EXPECT_EQ(after->numVertices(), 169 + 13 * 12) << "the new patch's first row is the player row";
    for (unsigned i = 0; i < border.length(); ++i) {
        ehost::Vec3 p = after->point(border[i]);
        // Corners are pressed onto the surface through single-precision rays.
        EXPECT_NEAR(MPoint(p.x, p.y, p.z).distanceTo(player[i]), 0, 1e-6);
    }
    EXPECT_LT(farthestFromSource("ground"), 0.001);
    EXPECT_EQ(patchNodeOf("kvMeshShape"), "kvPatchNode2") << "each patch adds one patch node";
    // The snap lives in the patch arrays: the shape has no tweaks, so no tweak
    // node comes between the two patch nodes.
    EXPECT_EQ(patchNodeOf("kvPatchNode2"), "kvPatchNode1");
    EXPECT_EQ(result("getAttr -size kvMeshShape.pnts"), "0");
}

TEST_F(PipelineTest, SavingReopeningAndReevaluatingGivesTheSameMesh) {
    makeBumpyGround("ground");
    useSource("ground");
    complete({groundLine(-2), groundLine(1)});
    auto before = std::make_shared<ehost::MeshGeometry>(*retopo());
    auto file = std::filesystem::temp_directory_path() /
                ("tessark-pipeline-" + std::to_string(::getpid()) + ".tscene");
    ASSERT_TRUE(ehost::saveScene(file.string()));
    ehost::session().newScene();
    ASSERT_TRUE(ehost::openScene(file.string()));
    std::filesystem::remove(file);
    ASSERT_TRUE(run("select -r kvMeshShape"));
    EXPECT_TRUE(*retopo() == *before);
}

TEST_F(PipelineTest, ChangingSpansOfAMeshHoldingOnlyThePatchRebuildsItFromEmpty) {
    makeBumpyGround("ground");
    useSource("ground");
    complete({groundLine(-2), groundLine(1)});
    ASSERT_EQ(retopo()->numFaces(), 144);
    auto rails = tessark::splitShadowStrokes();
    MDagPath mesh;
    tessark::selectedRetopologyMesh(mesh);
    MIntArray faces;
    tessark::generateRails(mesh, faces, 6, 4, rails, rails[0], true, false);
    EXPECT_EQ(faces.length(), 24u);
    EXPECT_EQ(retopo()->numFaces(), 24);
    EXPECT_LT(farthestFromSource("ground"), 0.001);
    EXPECT_EQ(result("ls -type transform"), "persp ground transform1 polySurface1")
        << "no working copy is left";
}

TEST_F(PipelineTest, NoPatchLeavesNoWorkingCopyBehind) {
    makeBumpyGround("ground");
    useSource("ground");
    complete({groundLine(-2), groundLine(1)});
    std::string transforms = result("ls -type transform");
    tessark::appendStroke(groundLine(2));
    MIntArray row = tessark::createPatch(5, MPointArray());
    EXPECT_EQ(row.length(), 5u);
    for (unsigned i = 0; i < row.length(); ++i)
        EXPECT_EQ(row[i], 0) << "a single stroke makes no patch";
    EXPECT_EQ(result("ls -type transform"), transforms);
    EXPECT_EQ(retopo()->numFaces(), 144);
}

TEST_F(PipelineTest, AFailedHistoryInsertionStopsTheActionBeforeAnythingIsFilled) {
    makeBumpyGround("ground");
    useSource("ground");
    complete({groundLine(-2), groundLine(0)});
    auto before = std::make_shared<ehost::MeshGeometry>(*retopo());
    std::string transforms = result("ls -type transform");
    // Without its command the insertion fails, as it would on a broken mesh.
    ehost::Commands& commands = ehost::session().commands();
    ehost::CommandDef patchCommand = *commands.find("kvPatchCmd");
    commands.remove("kvPatchCmd");
    MIntArray row = complete({groundLine(0), groundLine(2)});
    ASSERT_TRUE(commands.add(patchCommand));
    EXPECT_EQ(row[0], 0);
    EXPECT_EQ(ehost::session().scene().find("kvPatchNode2"), nullptr);
    EXPECT_TRUE(*retopo() == *before) << "no vertex was moved either";
    EXPECT_EQ(result("ls -type transform"), transforms) << "the working copy is gone";
    EXPECT_EQ(tessark::readNewFaces().length(), 0u)
        << "no face ids of a patch the mesh never received";
    EXPECT_EQ(tessark::readToMerge().length(), 0u);
}

TEST_F(PipelineTest, AnEmptyRailStopsThePatchWithNothingRecorded) {
    makeBumpyGround("ground");
    useSource("ground");
    complete({groundLine(-2), groundLine(0)});
    auto before = std::make_shared<ehost::MeshGeometry>(*retopo());
    // The third stroke has no point: the second grid cannot be built, and
    // the first grid, built into the working copy, goes with it.
    MIntArray row = complete({groundLine(0), groundLine(2), MPointArray()});
    EXPECT_EQ(row[0], 0);
    EXPECT_TRUE(*retopo() == *before);
    EXPECT_EQ(tessark::readNewFaces().length(), 0u);
}

TEST_F(PipelineTest, AMovedRetopologyMeshGetsItsPatchUnderTheStrokesOnTheSurface) {
    makeBumpyGround("ground");
    useSource("ground");
    complete({groundLine(-3), groundLine(-1)});
    MDagPath mesh;
    ASSERT_TRUE(tessark::selectedRetopologyMesh(mesh));
    std::string transform = MFnDagNode(mesh.transform()).name().str();
    ASSERT_TRUE(
        run("setAttr " + transform + ".translateX 1.5; setAttr " + transform + ".rotateY 20"));
    complete({groundLine(1), groundLine(3)});
    std::vector<MPoint> corners = lastPatchCorners();
    ASSERT_EQ(corners.size(), 144u * 4);
    MFnMesh ground(path("ground"));
    double lowX = 1e9, highX = -1e9, lowZ = 1e9, highZ = -1e9;
    for (const MPoint& c : corners) {
        MPoint closest;
        ground.getClosestPoint(c, closest, MSpace::kWorld);
        EXPECT_LT(closest.distanceTo(c), 0.001);
        lowX = std::min(lowX, c.x), highX = std::max(highX, c.x);
        lowZ = std::min(lowZ, c.z), highZ = std::max(highZ, c.z);
    }
    // The strokes ran from x = -3 to 3 at z = 1 and z = 3.
    EXPECT_NEAR(lowX, -3, 0.05);
    EXPECT_NEAR(highX, 3, 0.05);
    EXPECT_NEAR(lowZ, 1, 0.05);
    EXPECT_NEAR(highZ, 3, 0.05);
    auto shadow = tessark::splitShadowStrokes();
    ASSERT_EQ(shadow.size(), 2u);
    EXPECT_NEAR(shadow[0][0].x, -3, 1e-9) << "the shadow strokes stay in world space";
    EXPECT_NEAR(shadow[0][0].z, 1, 1e-9);
}

TEST_F(PipelineTest, CornersThatReachNoSurfaceKeepTheGridAndTurnTheWinding) {
    makeBumpyGround("ground");
    useSource("ground");
    MGlobal::setOptionVarValue("kv_distancesnap", 0.01);
    // Rails a unit above the ground: no corner reaches it within the snap distance.
    MPointArray a = groundLine(-2), b = groundLine(1);
    for (unsigned i = 0; i < a.length(); ++i) a[i].y += 1, b[i].y += 1;
    complete({a, b});
    EXPECT_EQ(result("getAttr kvPatchNode1.reverse"), "1") << "nothing hit counts as reversed";
    std::vector<MPoint> corners = lastPatchCorners();
    ASSERT_EQ(corners.size(), 144u * 4);
    for (const MPoint& c : corners)
        EXPECT_GT(c.y - bump(c.x, c.z), 0.5) << "left where the grid put it, above the ground";
    MDagPath mesh;
    tessark::selectedRetopologyMesh(mesh);
    MVector normal;
    MFnMesh(mesh).getPolygonNormal(0, normal, MSpace::kWorld);
    EXPECT_GT(normal.y, 0) << "rails drawn this way give quads facing down; reversed, they face up";
}

TEST_F(PipelineTest, TheSourcesRayStructureIsBuiltWhenItIsConnectedNotInTheFirstAction) {
    makeBumpyGround("ground");
    const auto before = ehost::MeshGeometry::totalBvhBuilds();
    useSource("ground");
    EXPECT_EQ(ehost::MeshGeometry::totalBvhBuilds(), before + 1);
    complete({groundLine(-2), groundLine(1)});
    EXPECT_EQ(ehost::MeshGeometry::totalBvhBuilds(), before + 1)
        << "the patch's snap reuses the structure built at connection";
}

TEST_F(PipelineTest, SpanCountsTooLargeForMemoryAreRefused) {
    makeBumpyGround("ground");
    useSource("ground");
    MGlobal::setOptionVarValue("kv_uspan", 100000);
    MGlobal::setOptionVarValue("kv_vspan", 100000);
    MIntArray row = complete({groundLine(-2), groundLine(1)});
    EXPECT_EQ(row[0], 0);
    EXPECT_NE(lastError().find("too large"), std::string::npos) << lastError();
    EXPECT_EQ(ehost::session().scene().find("kvPatchNode1"), nullptr);
    MGlobal::removeOptionVar("kv_uspan");
    MGlobal::removeOptionVar("kv_vspan");
}

}  // namespace

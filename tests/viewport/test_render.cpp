// What a panel drawn through the override shows: the four operations in
// order, the scene limited by the object set and shaded by the stock shader,
// the cut-mesh overlay (culling, lists, colours, widths and depth priorities
// from the preferences) and the label.

#include <cmath>

#include "tests/viewport/VintrelFixture.h"

#include <maya/MFnSet.h>

#include "geometry/overlay.h"
#include "viewport/OverlayStyle.h"

namespace {

using ehost::Drawable;
using ehost::Primitive;
using ehost::PrimitiveKind;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class VintrelRenderTest : public VintrelTest {
protected:
    //! Sets a double option variable.
    bool prefer(const std::string& name, double value) {
        return MGlobal::setOptionVarValue(name.c_str(), value);
    }
    std::size_t triangleCount() {
        const auto mesh = first(overlay(), PrimitiveKind::Mesh);
        return mesh ? mesh->points.size() / 3 : 0;
    }
    std::size_t edgeCount() {
        const auto lines = first(overlay(), PrimitiveKind::LineList);
        return lines ? lines->points.size() / 2 : 0;
    }
    //! Draws a frame with the quad selected and seen from the eye at (0, 0, z).
    void drawQuadFrom(double z) {
        ASSERT_TRUE(run("viewPlace -eye 0 0 " + std::to_string(z) + " -lookAt 0 0 0 persp"));
        ASSERT_TRUE(run("select -r quad; refresh"));
    }
};

// ---------------------------------------------------------------- the frame

TEST_F(VintrelRenderTest, AFrameRunsTheFourOperationsInOrder) {
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(frame().renderer, "PlexwendViewport");
    EXPECT_THAT(frame().operations,
                ElementsAre("Scene Render 1", "User Operation 1", "HUDRender", "Present Target"));
    EXPECT_EQ(override()->hudOperation().operationName(), MString("HUD Operation"));
    // The scene pass clears with the renderer's own background, opaque.
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    const MColor top = renderer->clearColor(), bottom = renderer->clearColor2();
    EXPECT_EQ(frame().clear.top, MColor(top.r, top.g, top.b, 1.0f));
    EXPECT_EQ(frame().clear.bottom, MColor(bottom.r, bottom.g, bottom.b, 1.0f));
    EXPECT_EQ(frame().clear.gradient, renderer->useGradient());
    EXPECT_EQ(frame().clear.mask, ~0u);
    EXPECT_FALSE(frame().presentDepth);
    EXPECT_TRUE(drawables(Drawable::Source::SceneRender).empty());

    ASSERT_TRUE(run("PlexwendViewport -pd 1 -su 1 -uu 1; refresh"));
    EXPECT_TRUE(frame().presentDepth);
    // The scene pass's UI hooks are called and draw nothing.
    auto scene = drawables(Drawable::Source::SceneRender);
    ASSERT_EQ(scene.size(), 2u);
    EXPECT_TRUE(scene[0]->primitives.empty());
    EXPECT_TRUE(scene[1]->primitives.empty());
}

TEST_F(VintrelRenderTest, NothingSelectedDrawsNoOverlayButTheLabel) {
    ASSERT_TRUE(run("polySphere -n ball; select -cl; refresh"));
    EXPECT_FALSE(first(overlay(), PrimitiveKind::Mesh));
    EXPECT_FALSE(first(overlay(), PrimitiveKind::LineList));
    EXPECT_FALSE(MGlobal::optionVarExists("kvCutMeshName"));

    auto hud = drawables(Drawable::Source::HUD);
    ASSERT_EQ(hud.size(), 1u);
    ASSERT_EQ(hud[0]->primitives.size(), 1u);
    const Primitive& label = hud[0]->primitives[0];
    EXPECT_EQ(label.kind, PrimitiveKind::Text);
    EXPECT_TRUE(label.is2D);
    EXPECT_EQ(label.text, "Plexwend Render");
    EXPECT_EQ(label.points.at(0).x, 10);
    EXPECT_EQ(label.points.at(0).y, 5);
    EXPECT_EQ(label.alignment, MHWRender::MUIDrawManager::kLeft);
    EXPECT_FALSE(label.hasBackground);
    EXPECT_EQ(label.state.color, MColor(0.1f, 0.05f, 0.05f, 1.0f));
}

TEST_F(VintrelRenderTest, UserUIDrawablesOffDrawsNeitherOverlayNorLabel) {
    makeQuad();
    ASSERT_TRUE(run("PlexwendViewport -uu 0"));
    drawQuadFrom(20);
    EXPECT_TRUE(drawables(Drawable::Source::UserOperation).empty());
    EXPECT_TRUE(drawables(Drawable::Source::HUD).empty());
    ASSERT_TRUE(run("PlexwendViewport -uu 1; refresh"));
    EXPECT_EQ(triangleCount(), 2u);
    EXPECT_EQ(drawables(Drawable::Source::HUD).size(), 1u);
}

// ---------------------------------------------------------------- the overlay

TEST_F(VintrelRenderTest, AQuadFacingTheCameraGivesTwoTrianglesAndFourEdgesInTheDefaultStyle) {
    makeQuad();
    drawQuadFrom(20);
    const auto all = overlay();
    const auto mesh = first(all, PrimitiveKind::Mesh);
    const auto lines = first(all, PrimitiveKind::LineList);
    ASSERT_TRUE(mesh && lines);
    EXPECT_EQ(mesh->meshMode, MHWRender::MUIDrawManager::kTriangles);
    ASSERT_EQ(mesh->points.size(), 6u);
    // The fan from the first corner: (p0, p1, p2), (p0, p2, p3).
    EXPECT_EQ(mesh->points[0], mesh->points[3]);
    EXPECT_EQ(mesh->points[4], mesh->points[2]);
    EXPECT_FALSE(lines->is2D);
    ASSERT_EQ(lines->points.size(), 8u);
    EXPECT_EQ(lines->points[7], mesh->points[0]);  // the closing edge ends at p0

    EXPECT_EQ(mesh->state.depthPriority, 2u);
    EXPECT_EQ(lines->state.depthPriority, 5u);
    EXPECT_EQ(mesh->state.color, MColor(0.14f, 0.14f, 0.17f, 0.3f));
    EXPECT_EQ(lines->state.color, MColor(0.08f, 0.06f, 0.17f, 1.0f));
    EXPECT_EQ(lines->state.lineWidth, 2.5f);
    EXPECT_EQ(MGlobal::optionVarStringValue("kvCutMeshName"), MString("|quad|quadShape"));
}

TEST_F(VintrelRenderTest, TheSameQuadSeenFromBehindIsCulled) {
    makeQuad();
    drawQuadFrom(-20);
    EXPECT_EQ(triangleCount(), 0u);
    EXPECT_EQ(edgeCount(), 0u);
    // Still the cut mesh: only its faces are left out.
    EXPECT_EQ(MGlobal::optionVarStringValue("kvCutMeshName"), MString("|quad|quadShape"));
}

TEST_F(VintrelRenderTest, APositiveCullThresholdKeepsBackFacesUpToIt) {
    // From z = -20 the quad's backFacing is (-1, -1, 20) . (0, 0, 4) = 80.
    makeQuad();
    ASSERT_TRUE(prefer("kvCutBf", 80.0));
    drawQuadFrom(-20);
    EXPECT_EQ(triangleCount(), 2u);
    EXPECT_EQ(edgeCount(), 4u);
    ASSERT_TRUE(prefer("kvCutBf", 79.9));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(triangleCount(), 0u);
}

TEST_F(VintrelRenderTest, ANegativeCullThresholdCullsFrontFacesAboveIt) {
    // From z = 20 the quad's backFacing is -80; from z = 40 it is -160.
    makeQuad();
    ASSERT_TRUE(prefer("kvCutBf", -100.0));
    drawQuadFrom(20);
    EXPECT_EQ(triangleCount(), 0u);
    drawQuadFrom(40);
    EXPECT_EQ(triangleCount(), 2u);
    ASSERT_TRUE(prefer("kvCutBf", -80.0));
    drawQuadFrom(20);
    EXPECT_EQ(triangleCount(), 2u);  // not above the threshold
}

TEST_F(VintrelRenderTest, PolygonsGiveFanTrianglesAndEdgesOncePerKeptFace) {
    // Two quads sharing an edge and a pentagon, all facing +z.
    makeMesh("strip",
             {{-2, -1, 0},
              {0, -1, 0},
              {2, -1, 0},
              {2, 1, 0},
              {0, 1, 0},
              {-2, 1, 0},
              {3, 0, 0},
              {4, 0, 0},
              {4.5, 1, 0},
              {3.5, 2, 0},
              {2.5, 1, 0}},
             {{0, 1, 4, 5}, {1, 2, 3, 4}, {6, 7, 8, 9, 10}});
    ASSERT_TRUE(run("select -r strip; refresh"));
    EXPECT_EQ(triangleCount(), 2u + 2u + 3u);
    EXPECT_EQ(edgeCount(), 4u + 4u + 5u);  // the shared edge twice
}

TEST_F(VintrelRenderTest, AZeroAreaFaceHasNoFacingAndOnlyTheThresholdDecides) {
    // Three corners on one line: backFacing 0, kept at the default threshold.
    makeMesh("sliver", {{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}}, {{0, 1, 2}});
    ASSERT_TRUE(run("select -r sliver; refresh"));
    EXPECT_EQ(triangleCount(), 1u);
    EXPECT_EQ(edgeCount(), 3u);
    ASSERT_TRUE(prefer("kvCutBf", -0.5));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(triangleCount(), 0u);
    // Shorter polygons than the host's meshes allow are read no further than
    // their points: two points give their edge both ways, fewer give nothing.
    const std::vector<geo::Polyline> shorts{{{0, 0, 0}, {1, 0, 0}}, {{2, 2, 2}}, {}};
    const geo::Point eye{0, 0, 20};
    EXPECT_EQ(geo::backFacing(shorts[0], eye), 0.0);
    const geo::OverlayLists kept = geo::overlayLists(shorts, eye, 0.0);
    EXPECT_TRUE(kept.triangles.empty());
    EXPECT_EQ(kept.edges.size(), 4u);
    EXPECT_TRUE(geo::overlayLists(shorts, eye, -0.5).edges.empty());
}

TEST_F(VintrelRenderTest, DepthPrioritiesAreTheTruncatedDepthAndItsDouble) {
    makeQuad();
    ASSERT_TRUE(prefer("kvCutDp", 2.5));
    drawQuadFrom(20);
    EXPECT_EQ(first(overlay(), PrimitiveKind::Mesh)->state.depthPriority, 2u);
    EXPECT_EQ(first(overlay(), PrimitiveKind::LineList)->state.depthPriority, 5u);
    ASSERT_TRUE(prefer("kvCutDp", 3.7));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(first(overlay(), PrimitiveKind::Mesh)->state.depthPriority, 3u);
    EXPECT_EQ(first(overlay(), PrimitiveKind::LineList)->state.depthPriority, 7u);
    // A value no priority can hold is held to the range instead of wrapping.
    ASSERT_TRUE(prefer("kvCutDp", -4.0));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(first(overlay(), PrimitiveKind::Mesh)->state.depthPriority, 0u);
    EXPECT_EQ(depthPriorityOf(1e300), 4294967295u);
    EXPECT_EQ(depthPriorityOf(std::nan("")), 0u);
}

TEST_F(VintrelRenderTest, ColoursAndWidthComeFromThePreferences) {
    makeQuad();
    for (auto [name, value] : std::vector<std::pair<std::string, double>>{{"kvCutSurfCr", 0.5},
                                                                          {"kvCutSurfCg", 0.25},
                                                                          {"kvCutSurfCb", 0.125},
                                                                          {"kvCutSa", 0.75},
                                                                          {"kvCutLineCr", 1.0},
                                                                          {"kvCutLineCg", 0.5},
                                                                          {"kvCutLineCb", 0.0},
                                                                          {"kvCutLw", 4.0}})
        ASSERT_TRUE(prefer(name, value));
    drawQuadFrom(20);
    const auto mesh = first(overlay(), PrimitiveKind::Mesh);
    const auto lines = first(overlay(), PrimitiveKind::LineList);
    ASSERT_TRUE(mesh && lines);
    EXPECT_EQ(mesh->state.color, MColor(0.5f, 0.25f, 0.125f, 0.75f));
    EXPECT_EQ(lines->state.color, MColor(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(lines->state.lineWidth, 4.0f);
}

TEST_F(VintrelRenderTest, TheCutMeshIsTheFirstSelectedDagObjectAndOutlivesTheSelection) {
    makeQuad();
    makeMesh("other", {{3, -1, 0}, {5, -1, 0}, {5, 1, 0}, {3, 1, 0}}, {{0, 1, 2, 3}});
    ASSERT_TRUE(run("select -r other quad; refresh"));
    EXPECT_EQ(MGlobal::optionVarStringValue("kvCutMeshName"), MString("|other|otherShape"));
    EXPECT_EQ(first(overlay(), PrimitiveKind::Mesh)->points.at(0).x, 3.0);

    // An empty selection or a first item without a DAG path keeps the cut mesh.
    ASSERT_TRUE(run("select -cl; refresh"));
    EXPECT_EQ(triangleCount(), 2u);
    ASSERT_TRUE(run("sets -em -n someSet; select -r -ne someSet; refresh"));
    EXPECT_EQ(triangleCount(), 2u);
    EXPECT_EQ(MGlobal::optionVarStringValue("kvCutMeshName"), MString("|other|otherShape"));

    // A DAG object that is no mesh becomes the cut mesh and draws nothing.
    ASSERT_TRUE(run("select -r persp; refresh"));
    EXPECT_EQ(MGlobal::optionVarStringValue("kvCutMeshName"), MString("|persp|perspShape"));
    EXPECT_EQ(triangleCount(), 0u);
}

TEST_F(VintrelRenderTest, ADeletedCutMeshLeavesAnEmptyOverlay) {
    makeQuad();
    drawQuadFrom(20);
    ASSERT_EQ(triangleCount(), 2u);
    ASSERT_TRUE(run("delete quad; refresh"));
    EXPECT_EQ(triangleCount(), 0u);
    EXPECT_EQ(edgeCount(), 0u);
    EXPECT_EQ(drawables(Drawable::Source::HUD).size(), 1u);
}

TEST_F(VintrelRenderTest, EachPanelCullsForTheCameraItIsDrawnThrough) {
    makeQuad();
    ASSERT_TRUE(run("createNode transform -n back; createNode camera -n backShape -p back"));
    ASSERT_TRUE(run("viewPlace -eye 0 0 -20 -lookAt 0 0 0 back"));
    ASSERT_TRUE(run("hostView -addPanel rear -camera backShape"));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName PlexwendViewport rear"));
    drawQuadFrom(20);
    EXPECT_EQ(triangleCount(), 2u);  // the active panel sees the front
    const ehost::Panel* rear = ehost::session().views().findPanel("rear");
    ASSERT_NE(rear, nullptr);
    std::size_t rearPoints = 0;
    for (const Drawable& d : rear->frame.drawables)
        if (d.source == Drawable::Source::UserOperation)
            for (const Primitive& p : d.primitives) rearPoints += p.points.size();
    EXPECT_EQ(rearPoints, 0u);
}

// ---------------------------------------------------------------- the scene pass

TEST_F(VintrelRenderTest, TheObjectSetLimitsTheSceneToItsMembers) {
    ASSERT_TRUE(run("polySphere -n ball; polyCube -n box; sets -n boxOnly box"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(shadedShapes(), UnorderedElementsAre("ballShape", "boxShape"));
    ASSERT_TRUE(run("PlexwendViewport -uu 1 -os boxOnly; refresh"));
    EXPECT_THAT(shadedShapes(), ElementsAre("boxShape"));
    // Emptied, the set no longer filters; nor does last frame's list linger.
    MSelectionList names;
    MObject set, box;
    ASSERT_TRUE(names.add("boxOnly") && names.add("box"));
    ASSERT_TRUE(names.getDependNode(0, set) && names.getDependNode(1, box));
    ASSERT_TRUE(MFnSet(set).removeMember(box));
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(shadedShapes(), UnorderedElementsAre("ballShape", "boxShape"));
}

TEST_F(VintrelRenderTest, ANameThatIsNoSetMeansNoFilter) {
    ASSERT_TRUE(run("polySphere -n ball; polyCube -n box"));
    ASSERT_TRUE(run("PlexwendViewport -uu 1 -os noSuchSet; refresh"));
    EXPECT_THAT(shadedShapes(), UnorderedElementsAre("ballShape", "boxShape"));
    // A node that exists but is no set: no filter either, not an empty scene.
    ASSERT_TRUE(run("PlexwendViewport -uu 1 -os box; refresh"));
    EXPECT_THAT(shadedShapes(), UnorderedElementsAre("ballShape", "boxShape"));
}

TEST_F(VintrelRenderTest, TheShaderOverrideColoursTheShadedSceneYellow) {
    ASSERT_TRUE(run("polySphere -n ball; polyCube -n box; refresh"));
    for (const auto& s : frame().shapes) EXPECT_FALSE(s.overrideColor) << s.shape->name;
    ASSERT_TRUE(run("PlexwendViewport -uu 1 -so 1; refresh"));
    ASSERT_EQ(frame().shapes.size(), 2u);
    for (const auto& s : frame().shapes) {
        EXPECT_TRUE(s.overrideColor) << s.shape->name;
        EXPECT_EQ(s.color, MColor(1.0f, 1.0f, 0.0f, 1.0f));
    }
    // One stock shader for the override's life, made at its first frame.
    const MHWRender::MShaderInstance* shader = override()->shader();
    ASSERT_NE(shader, nullptr);
    ASSERT_TRUE(run("PlexwendViewport -uu 1; refresh"));
    for (const auto& s : frame().shapes) EXPECT_FALSE(s.overrideColor) << s.shape->name;
    EXPECT_EQ(override()->shader(), shader);
}

}  // namespace

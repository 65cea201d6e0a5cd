// UI drawing: every MUIDrawManager primitive recorded with the state in force,
// in draw order, grouped by drawable; draw overrides made once per node by
// the creator registered for the node type's classification, prepared and
// drawn on each refresh for visible nodes only, and deleted when their node
// or their creator goes.

#include <maya/MDagPath.h>
#include <maya/MFnDagNode.h>
#include <maya/MSelectionList.h>

#include "tests/host/test_view_helpers.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using viewtest::log;
using viewtest::ProbeData;
using viewtest::ProbeDrawOverride;
using viewtest::ViewTest;
using UI = MHWRender::MUIDrawManager;

class DrawTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        registerProbeLocator();
    }
    //! A probe locator under a transform named name.
    void makeProbe(const std::string& name) {
        ASSERT_TRUE(run("createNode transform -n " + name + "; createNode viewProbe -n " + name +
                        "Shape -p " + name))
            << lastError();
    }
    //! The drawables the last refresh of the active panel made for draw overrides.
    static std::vector<const ehost::Drawable*> overrideDrawables() {
        std::vector<const ehost::Drawable*> out;
        for (const ehost::Drawable* d : activePanel().drawables())
            if (d->source == ehost::Drawable::Source::DrawOverride) out.push_back(d);
        return out;
    }
    static const std::vector<ehost::Primitive>& onlyDrawable() {
        auto drawables = overrideDrawables();
        EXPECT_EQ(drawables.size(), 1u);
        static const std::vector<ehost::Primitive> none;
        return drawables.empty() ? none : drawables[0]->primitives;
    }
};

// ---------------------------------------------------------------- draw overrides

TEST_F(DrawTest, OneOverridePerNodePreparedThenDrawnOnEachRefresh) {
    makeProbe("a");
    makeProbe("b");
    EXPECT_EQ(ProbeDrawOverride::made, 0);  // made on first need
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(ProbeDrawOverride::made, 2);
    EXPECT_EQ(ProbeDrawOverride::alive, 2);
    ASSERT_TRUE(M3dView::active3dView().refresh());
    EXPECT_EQ(ProbeDrawOverride::made, 2);
    // The data prepareForDraw returned comes back as the old data next time.
    EXPECT_THAT(log(), ElementsAre("prepare aShape perspShape 1", "add aShape 1",
                                   "prepare bShape perspShape 1", "add bShape 1",
                                   "prepare aShape perspShape 2", "add aShape 2",
                                   "prepare bShape perspShape 2", "add bShape 2"));
    auto drawables = overrideDrawables();
    ASSERT_EQ(drawables.size(), 2u);
    EXPECT_EQ(drawables[0]->name, "|a|aShape");
    EXPECT_EQ(drawables[1]->name, "|b|bShape");
    ASSERT_EQ(drawables[0]->primitives.size(), 2u);
    EXPECT_EQ(drawables[0]->primitives[0].kind, ehost::PrimitiveKind::Line);
    EXPECT_FALSE(drawables[0]->primitives[0].is2D);
    EXPECT_EQ(ehost::theViews().drawOverrides().instanceCount(), 2u);
}

TEST_F(DrawTest, OnlyVisibleNodesAreDrawn) {
    makeProbe("shown");
    makeProbe("hidden");
    makeProbe("underHidden");
    makeProbe("intermediate");
    ASSERT_TRUE(run("setAttr hiddenShape.visibility 0"));
    ASSERT_TRUE(run("setAttr underHidden.visibility 0"));
    ASSERT_TRUE(run("setAttr intermediateShape.intermediateObject 1"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(log(), ElementsAre("prepare shownShape perspShape 1", "add shownShape 1"));
    EXPECT_EQ(ProbeDrawOverride::made, 1);
    log().clear();
    ASSERT_TRUE(run("setAttr hiddenShape.visibility 1"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(log(), ElementsAre("prepare shownShape perspShape 2", "add shownShape 2",
                                   "prepare hiddenShape perspShape 1", "add hiddenShape 1"));
}

TEST_F(DrawTest, OverridesGoWithTheirNodeOrTheirCreator) {
    makeProbe("a");
    makeProbe("b");
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(ProbeDrawOverride::alive, 2);
    EXPECT_EQ(ProbeData::alive, 2);
    ASSERT_TRUE(run("delete a"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(ProbeDrawOverride::alive, 1);  // with its data
    EXPECT_EQ(ProbeData::alive, 1);
    ASSERT_TRUE(run("undo"));  // the node is back: a new override for it
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(ProbeDrawOverride::alive, 2);
    EXPECT_EQ(ProbeDrawOverride::made, 3);

    MString classification(viewtest::ProbeLocator::classification);
    ASSERT_TRUE(
        MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(classification, "viewTests"));
    EXPECT_EQ(ProbeDrawOverride::alive, 0);
    EXPECT_EQ(ProbeData::alive, 0);
    log().clear();
    ASSERT_TRUE(run("refresh"));
    EXPECT_TRUE(log().empty());
    EXPECT_FALSE(
        MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(classification, "viewTests"));
    ASSERT_TRUE(MHWRender::MDrawRegistry::registerDrawOverrideCreator(classification, "viewTests",
                                                                      ProbeDrawOverride::creator));
    ehost::session().newScene();
    EXPECT_EQ(ProbeDrawOverride::alive, 0);
}

TEST_F(DrawTest, DataMarkedDeleteAfterUseIsDeletedOnceDrawn) {
    ProbeDrawOverride::deleteDataAfterUse = true;
    makeProbe("a");
    ASSERT_TRUE(run("refresh"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(ProbeData::alive, 0);
    EXPECT_THAT(log(), ElementsAre("prepare aShape perspShape 1", "add aShape 1",
                                   "prepare aShape perspShape 1", "add aShape 1"));
}

TEST_F(DrawTest, RegistrationsCanBeRefusedAndAreNotDoubled) {
    ehost::refuseRegistration(ehost::RegistrationKind::DrawOverride, "drawdb/geometry/refused");
    EXPECT_FALSE(MHWRender::MDrawRegistry::registerDrawOverrideCreator(
        "drawdb/geometry/refused", "viewTests", ProbeDrawOverride::creator));
    MString classification(viewtest::ProbeLocator::classification);
    EXPECT_FALSE(MHWRender::MDrawRegistry::registerDrawOverrideCreator(classification, "viewTests",
                                                                       ProbeDrawOverride::creator));
    EXPECT_FALSE(MHWRender::MDrawRegistry::registerDrawOverrideCreator("", "viewTests",
                                                                       ProbeDrawOverride::creator));
    EXPECT_FALSE(MHWRender::MDrawRegistry::registerDrawOverrideCreator("drawdb/geometry/x",
                                                                       "viewTests", nullptr));
    EXPECT_EQ(ehost::theViews().drawOverrides().creators().size(), 1u);
}

TEST_F(DrawTest, GeometryDrawDirtyIsCountedForTheNodesOverride) {
    makeProbe("a");
    ASSERT_TRUE(run("refresh"));
    MSelectionList list;
    list.add(MString("aShape"));
    MObject node;
    ASSERT_TRUE(list.getDependNode(0, node));
    MHWRender::MRenderer::setGeometryDrawDirty(node);
    MHWRender::MRenderer::setGeometryDrawDirty(node, false);
    MHWRender::MRenderer::setGeometryDrawDirty(MObject());  // nothing to mark
    auto* instance =
        ehost::theViews().drawOverrides().find(*ehost::session().scene().find("aShape"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->dirtyMarks, 2u);
    EXPECT_EQ(instance->draws, 1u);
}

// ---------------------------------------------------------------- recorded primitives and state

TEST_F(DrawTest, EveryPrimitiveIsRecordedWithItsStateInDrawOrder) {
    ProbeDrawOverride::drawing = [](UI& d, const MHWRender::MFrameContext&) {
        d.beginDrawable();
        d.setColor(MColor(0.6f, 0.6f, 0.09f, 1.0f));
        d.setLineWidth(1.5f);
        d.setDepthPriority(1000);
        d.setFontName("Arial");
        d.setFontSize(9);
        d.beginDrawInXray();
        d.text2d(MPoint(10, 460), "status", UI::kLeft);
        int size[2] = {80, 14};
        MColor back(0.0f, 0.0f, 0.0f, 0.5f);
        d.text(MPoint(1, 2, 3), "label", UI::kRight, size, &back, true);
        d.endDrawInXray();
        d.setLineStyle(UI::kShortDotted);
        d.setLineWidth(3.5f);
        d.line2d(MPoint(1, 2), MPoint(30, 40));
        d.setLineStyle(UI::kDashed);
        d.circle2d(MPoint(50, 60), 7, false);
        d.circle2d(MPoint(50, 60), 4, true);
        d.arc2d(MPoint(100, 100), MVector(0, 1, 0), MVector(1, 0, 0), 16, false);
        d.setLineStyle(UI::kSolid);
        MPointArray strip;
        strip.append(0, 0, 0);
        strip.append(1, 1, 1);
        strip.append(2, 0, 0);
        d.lineStrip(strip, false);
        d.lineList(strip, true);
        d.setPointSize(4);
        d.points(strip, false);
        d.rect2d(MPoint(200, 200), MVector(0, 1, 0), 10, 5, true);
        d.circle(MPoint(0, 0, 0), MVector(0, 1, 0), 2, false);
        d.arc(MPoint(0, 0, 0), MVector(1, 0, 0), MVector(0, 0, 1), MVector(0, 1, 0), 3, true);
        d.rect(MPoint(0, 0, 0), MVector(0, 1, 0), MVector(0, 0, 1), 1, 2, false);
        MUintArray indices;
        for (unsigned i : {0u, 1u, 2u}) indices.append(i);
        MVectorArray normals(3, MVector(0, 0, 1));
        MColorArray colors(3, MColor(0.3f, 0.9f, 0.3f, 0.3f));
        d.setColor(MColor(0.3f, 0.3f, 0.9f, 0.3f));
        d.mesh(UI::kTriangles, strip, &normals, &colors, &indices);
        d.mesh2d(UI::kLineStrip, strip);
        d.setLineStyle(2, 0x0f0f);
        d.line(MPoint(0, 0, 0), MPoint(0, 0, 1));
        d.setColorIndex(13);
        d.point2d(MPoint(3, 4));
        d.endDrawable();
    };
    makeProbe("a");
    ASSERT_TRUE(run("refresh"));
    const auto& p = onlyDrawable();
    ASSERT_EQ(p.size(), 17u);

    const ehost::Primitive& status = p[0];
    EXPECT_EQ(status.kind, ehost::PrimitiveKind::Text);
    EXPECT_TRUE(status.is2D);
    EXPECT_EQ(status.text, "status");
    EXPECT_EQ(status.alignment, UI::kLeft);
    EXPECT_TRUE(status.state.xray);
    EXPECT_EQ(status.state.depthPriority, 1000u);
    EXPECT_EQ(status.state.fontName, "Arial");
    EXPECT_EQ(status.state.fontSize, 9u);
    EXPECT_EQ(status.state.color, MColor(0.6f, 0.6f, 0.09f, 1.0f));
    EXPECT_FALSE(status.hasBackground);
    EXPECT_EQ(status.group, 1u);

    const ehost::Primitive& label = p[1];
    EXPECT_FALSE(label.is2D);
    EXPECT_EQ(label.alignment, UI::kRight);
    EXPECT_TRUE(label.hasBackground);
    EXPECT_EQ(label.backgroundColor, MColor(0.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_EQ(label.backgroundSize[0], 80);
    EXPECT_TRUE(label.dynamic);
    EXPECT_EQ(label.points[0].z, 3);

    const ehost::Primitive& dotted = p[2];
    EXPECT_EQ(dotted.kind, ehost::PrimitiveKind::Line);
    EXPECT_FALSE(dotted.state.xray);
    EXPECT_EQ(dotted.state.lineStyle, UI::kShortDotted);
    EXPECT_EQ(dotted.state.lineWidth, 3.5f);
    EXPECT_EQ(dotted.points[1].y, 40);

    EXPECT_EQ(p[3].kind, ehost::PrimitiveKind::Circle);
    EXPECT_EQ(p[3].state.lineStyle, UI::kDashed);
    EXPECT_EQ(p[3].radius, 7);
    EXPECT_FALSE(p[3].filled);
    EXPECT_TRUE(p[4].filled);
    EXPECT_EQ(p[5].kind, ehost::PrimitiveKind::Arc);
    EXPECT_EQ(p[5].start.y, 1);
    EXPECT_EQ(p[5].end.x, 1);
    EXPECT_EQ(p[5].radius, 16);

    EXPECT_EQ(p[6].kind, ehost::PrimitiveKind::LineStrip);
    EXPECT_FALSE(p[6].is2D);
    EXPECT_EQ(p[6].points.size(), 3u);
    EXPECT_EQ(p[6].state.lineStyle, UI::kSolid);
    EXPECT_EQ(p[7].kind, ehost::PrimitiveKind::LineList);
    EXPECT_TRUE(p[7].is2D);
    EXPECT_EQ(p[8].kind, ehost::PrimitiveKind::Points);
    EXPECT_EQ(p[8].state.pointSize, 4.0f);
    EXPECT_EQ(p[9].kind, ehost::PrimitiveKind::Rect);
    EXPECT_TRUE(p[9].filled);
    EXPECT_EQ(p[9].scaleX, 10);
    EXPECT_EQ(p[10].kind, ehost::PrimitiveKind::Circle);
    EXPECT_FALSE(p[10].is2D);
    EXPECT_EQ(p[10].normal.y, 1);
    EXPECT_EQ(p[11].kind, ehost::PrimitiveKind::Arc);
    EXPECT_TRUE(p[11].filled);
    EXPECT_EQ(p[12].kind, ehost::PrimitiveKind::Rect);
    EXPECT_FALSE(p[12].is2D);

    const ehost::Primitive& mesh = p[13];
    EXPECT_EQ(mesh.kind, ehost::PrimitiveKind::Mesh);
    EXPECT_EQ(mesh.meshMode, UI::kTriangles);
    EXPECT_EQ(mesh.indices, (std::vector<unsigned>{0, 1, 2}));
    EXPECT_EQ(mesh.normals.size(), 3u);
    EXPECT_EQ(mesh.colors.size(), 3u);
    EXPECT_EQ(mesh.state.color, MColor(0.3f, 0.3f, 0.9f, 0.3f));
    EXPECT_EQ(p[14].meshMode, UI::kLineStrip);
    EXPECT_TRUE(p[14].is2D);
    EXPECT_TRUE(p[14].indices.empty());

    EXPECT_EQ(p[15].state.stippleFactor, 2u);
    EXPECT_EQ(p[15].state.stipplePattern, 0x0f0f);
    EXPECT_EQ(p[16].kind, ehost::PrimitiveKind::Points);
    EXPECT_EQ(p[16].state.color, MColor(1.0f, 0.0f, 0.0f));  // colour index 13 is red
    // The state was never reset within the drawable.
    EXPECT_EQ(p[16].state.depthPriority, 1000u);
    EXPECT_EQ(p[16].state.fontName, "Arial");
}

TEST_F(DrawTest, EachDrawableStartsFromTheDefaultState) {
    ProbeDrawOverride::drawing = [](UI& d, const MHWRender::MFrameContext&) {
        d.point2d(MPoint(1, 1));  // before any beginDrawable
        d.beginDrawable();
        d.setColor(MColor(0.1f, 0.2f, 0.3f));
        d.setLineWidth(5);
        d.beginDrawInXray();
        d.point2d(MPoint(1, 1));
        d.endDrawable();
        d.beginDrawable();
        d.point2d(MPoint(1, 1));
        d.endDrawable();
    };
    makeProbe("a");
    ASSERT_TRUE(run("refresh"));
    const auto& p = onlyDrawable();
    ASSERT_EQ(p.size(), 3u);
    const ehost::DrawState defaults;
    EXPECT_EQ(p[0].group, 0u);
    EXPECT_EQ(p[0].state.color, defaults.color);
    EXPECT_TRUE(p[1].state.xray);
    EXPECT_EQ(p[1].state.lineWidth, 5.0f);
    EXPECT_EQ(p[2].group, 2u);
    EXPECT_FALSE(p[2].state.xray);
    EXPECT_EQ(p[2].state.lineWidth, defaults.lineWidth);
    EXPECT_EQ(p[2].state.color, defaults.color);
    EXPECT_EQ(p[2].state.fontSize, static_cast<unsigned>(UI::kDefaultFontSize));
}

TEST_F(DrawTest, TheFrameContextIsThePanelsAndOverridesDrawOnlyThroughTheirView) {
    // An override that draws only in the viewport whose camera is the active
    // view's, as a tool's drawing does.
    ProbeDrawOverride::drawing = [](UI& d, const MHWRender::MFrameContext& frame) {
        MDagPath camera;
        M3dView::active3dView().getCamera(camera);
        if (!(frame.getCurrentCameraPath() == camera)) return;
        short x = 0, y = 0;
        M3dView::active3dView().worldToView(MPoint(0, 0, 0), x, y);
        d.circle2d(MPoint(x, y), 7);
    };
    makeProbe("a");
    makeCamera("side");
    ASSERT_TRUE(run("viewPlace -eye 20 0 0 -lookAt 0 0 0 side"));
    ASSERT_TRUE(run("hostView -addPanel sidePanel -camera side"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(log(), ElementsAre("prepare aShape perspShape 1", "add aShape 1",
                                   "prepare aShape sideShape 2", "add aShape 2"));
    ASSERT_EQ(onlyDrawable().size(), 1u);
    EXPECT_EQ(onlyDrawable()[0].points[0].x, 320);
    const auto& side = views().findPanel("sidePanel")->frame.drawables;
    ASSERT_EQ(side.size(), 1u);
    EXPECT_TRUE(side[0].primitives.empty());
}

TEST_F(DrawTest, ARefreshWhileDrawingTheSamePanelDoesNothing) {
    ProbeDrawOverride::drawing = [](UI& d, const MHWRender::MFrameContext&) {
        M3dView::active3dView().refresh(false, true);
        d.point2d(MPoint(2, 2));
    };
    makeProbe("a");
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(log().size(), 2u);
    EXPECT_EQ(activePanel().refreshCount, 1u);
    EXPECT_EQ(onlyDrawable().size(), 1u);
}

}  // namespace

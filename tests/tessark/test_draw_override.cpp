// The rail node's drawing, read back from what the host's active view recorded:
// prompts, strokes, pin and magnet points, the fuse preview and the shadow
// strokes, with their positions, colours, widths, depth priorities and X-ray.

#include <maya/M3dView.h>
#include <maya/MGlobal.h>

#include <string>
#include <vector>

#include "railnode/RailNode.h"
#include "tests/tessark/DrawList.h"
#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

using tessark::RailFlag;
using tessark::RailInts;
using tessark::RailPoints;
using Kind = ehost::PrimitiveKind;
using UI = MHWRender::MUIDrawManager;

geo::Polyline points(std::initializer_list<geo::Point> list) {
    return geo::Polyline(list);
}

//! The pixel the active view projects a world point to, as the override does.
ehost::Vec3 pixel(const geo::Point& p) {
    short x = 0, y = 0;
    M3dView::active3dView().worldToView(MPoint(p.x, p.y, p.z), x, y);
    return {static_cast<double>(x), static_cast<double>(y), 0};
}

void expectColor(const ehost::Primitive& p, float r, float g, float b, float a) {
    EXPECT_FLOAT_EQ(p.state.color.r, r);
    EXPECT_FLOAT_EQ(p.state.color.g, g);
    EXPECT_FLOAT_EQ(p.state.color.b, b);
    EXPECT_FLOAT_EQ(p.state.color.a, a);
}

class DrawOverrideTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        for (const char* v : {"Tessark_info1", "Tessark_info2"}) MGlobal::removeOptionVar(v);
        makeGrid("src", 2, 10.0);
        ASSERT_TRUE(
            run("createNode Tessark -n rail; connectAttr srcShape.outMesh rail.TessarkMesh"));
        ASSERT_TRUE(run("viewPlace -eye 0 20 0.01 -lookAt 0 0 0 persp"));
        rail = tessark::RailNode::find();
        ASSERT_TRUE(rail.exists());
    }
    //! Redraws the active view and returns what the rail node's override drew.
    std::vector<ehost::Primitive> draw() {
        EXPECT_TRUE(run("refresh -cv"));
        return drawnByOverride(activePanelDrawables());
    }
    tessark::RailNode rail;
};

std::vector<ehost::Primitive> texts(const std::vector<ehost::Primitive>& all) {
    return ofKind(all, Kind::Text);
}

TEST_F(DrawOverrideTest, PromptsFallBackToNumberedDotsInTheirPlacesAndStyle) {
    auto drawn = draw();
    auto t = texts(drawn);
    ASSERT_EQ(t.size(), 2u) << "only the two prompt lines with nothing else on the node";
    EXPECT_EQ(t[0].text, "... 2");
    EXPECT_EQ(t[0].points[0], ehost::Vec3(10, 480 - 20, 0)) << "the hint sits at the top";
    EXPECT_EQ(t[1].text, "... 1");
    EXPECT_EQ(t[1].points[0], ehost::Vec3(130, 6, 0));
    for (const auto& p : t) {
        EXPECT_TRUE(p.is2D);
        EXPECT_TRUE(p.state.xray);
        EXPECT_EQ(p.state.depthPriority, 1000u);
        EXPECT_EQ(p.state.fontName, "Arial");
        EXPECT_EQ(p.state.fontSize, 9u);
        EXPECT_EQ(p.alignment, UI::kLeft);
        expectColor(p, 0.3f, 0.3f, 0.01f, 1.0f);
    }
    MGlobal::setOptionVarValue("Tessark_info1", MString("status"));
    MGlobal::setOptionVarValue("Tessark_info2", MString("hint"));
    t = texts(draw());
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "hint");
    EXPECT_EQ(t[1].text, "status");
}

TEST_F(DrawOverrideTest, StrokesAreNumberedFromOneAtTheirFirstPoint) {
    rail.setPoints(RailPoints::strokes,
                   points({{-2, 0, -2}, {-1, 0, -2}, {0, 0, -2}, {2, 0, 1}, {3, 0, 1}}));
    rail.setInts(RailInts::sizes, {3, 2});
    auto drawn = draw();
    auto strips = ofKind(drawn, Kind::LineStrip);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].points.size(), 3u);
    EXPECT_EQ(strips[1].points.size(), 2u);
    EXPECT_EQ(strips[1].points[0], ehost::Vec3(2, 0, 1));
    for (const auto& s : strips) {
        EXPECT_FALSE(s.is2D);
        EXPECT_TRUE(s.state.xray);
        EXPECT_FLOAT_EQ(s.state.lineWidth, 2.3f);
        EXPECT_EQ(s.state.depthPriority, 1000u);
        expectColor(s, 0.72f, 0.75f, 0.15f, 1.0f);
    }
    auto t = texts(drawn);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[2].text, "1");
    EXPECT_EQ(t[2].points[0], pixel({-2, 0, -2}));
    EXPECT_EQ(t[3].text, "2");
    EXPECT_EQ(t[3].points[0], pixel({2, 0, 1}));
    EXPECT_EQ(t[3].state.fontSize, 24u);
}

TEST_F(DrawOverrideTest, PinPointsGetTwoCirclesAndTheirNumbers) {
    rail.setPoints(RailPoints::playerpts, points({{1, 0, 1}, {-1, 0, 2}}));
    auto drawn = draw();
    auto circles = ofKind(drawn, Kind::Circle);
    ASSERT_EQ(circles.size(), 4u);
    EXPECT_EQ(circles[0].points[0], pixel({1, 0, 1}));
    EXPECT_DOUBLE_EQ(circles[0].radius, 7);
    EXPECT_FALSE(circles[0].filled);
    EXPECT_DOUBLE_EQ(circles[1].radius, 4);
    EXPECT_TRUE(circles[1].filled);
    EXPECT_EQ(circles[2].points[0], pixel({-1, 0, 2}));
    for (const auto& c : circles) {
        EXPECT_TRUE(c.state.xray);
        EXPECT_FLOAT_EQ(c.state.lineWidth, 1.5f);
        expectColor(c, 0.6f, 0.6f, 0.09f, 1.0f);
    }
    auto t = texts(drawn);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[2].text, "1");
    EXPECT_FALSE(t[2].is2D) << "pin numbers are placed in the scene";
    EXPECT_EQ(t[2].points[0], ehost::Vec3(1.1, 0.1, 1.1));
    EXPECT_EQ(t[2].alignment, UI::kRight);
    EXPECT_EQ(t[2].state.fontSize, 16u);
    EXPECT_EQ(t[3].text, "2");
}

TEST_F(DrawOverrideTest, OneMagnetPointHasNoLineTwoAreJoinedByADottedOne) {
    rail.setPoints(RailPoints::magnetPt, points({{100, 50, 0}}));
    auto one = draw();
    auto circles = ofKind(one, Kind::Circle);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].points[0], ehost::Vec3(100, 50, 0)) << "magnet points are pixels already";
    expectColor(circles[0], 1.0f, 0.1f, 0.7f, 1.0f);
    EXPECT_TRUE(ofKind(one, Kind::Line).empty());

    rail.setPoints(RailPoints::magnetPt, points({{100, 50, 0}, {200, 80, 0}}));
    auto two = draw();
    EXPECT_EQ(ofKind(two, Kind::Circle).size(), 4u);
    auto lines = ofKind(two, Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].is2D);
    EXPECT_EQ(lines[0].points[1], ehost::Vec3(200, 80, 0));
    EXPECT_EQ(lines[0].state.lineStyle, UI::kShortDotted);
    EXPECT_FLOAT_EQ(lines[0].state.lineWidth, 3.5f);
    EXPECT_TRUE(lines[0].state.xray);
}

TEST_F(DrawOverrideTest, TheFusePreviewNeedsThePlayerLineAndShowsItsMode) {
    rail.setPoints(RailPoints::fusept, points({{0, 0, 3}, {1, 0, 3}}));
    rail.setPoints(RailPoints::fusemesh, points({{0, 0, 2}, {1, 0, 2}, {0, 0, 3}, {1, 0, 3}}));
    rail.setInts(RailInts::fuseindices, {2, 0, 1, 2, 1, 3});
    auto withoutPlayer = draw();
    EXPECT_TRUE(ofKind(withoutPlayer, Kind::Mesh).empty());
    EXPECT_TRUE(ofKind(withoutPlayer, Kind::LineStrip).empty());

    rail.setPoints(RailPoints::playersLine, points({{0, 0, 2}, {1, 0, 2}}));
    auto bridge = draw();
    auto strips = ofKind(bridge, Kind::LineStrip);
    ASSERT_EQ(strips.size(), 2u) << "the player line, then the fuse line";
    expectColor(strips[0], 0.52f, 0.55f, 0.09f, 1.0f);
    EXPECT_FLOAT_EQ(strips[1].state.lineWidth, 1.7f);
    expectColor(strips[1], 0.3f, 0.3f, 0.9f, 1.0f);
    auto dashed = ofKind(bridge, Kind::Line);
    ASSERT_EQ(dashed.size(), 2u);
    EXPECT_EQ(dashed[1].points[0], ehost::Vec3(1, 0, 2));
    EXPECT_EQ(dashed[1].points[1], ehost::Vec3(1, 0, 3));
    EXPECT_EQ(dashed[0].state.lineStyle, UI::kDashed);
    auto mesh = ofKind(bridge, Kind::Mesh);
    ASSERT_EQ(mesh.size(), 1u);
    EXPECT_EQ(mesh[0].indices, (std::vector<unsigned>{2, 0, 1, 2, 1, 3}));
    expectColor(mesh[0], 0.3f, 0.3f, 0.9f, 0.3f);
    auto circles = ofKind(bridge, Kind::Circle);
    ASSERT_EQ(circles.size(), 4u) << "at the first and at the last fuse point";
    EXPECT_EQ(circles[2].points[0], pixel({1, 0, 3}));

    rail.setFlag(RailFlag::mode, false);
    auto weld = draw();
    expectColor(ofKind(weld, Kind::LineStrip)[1], 0.3f, 0.9f, 0.3f, 1.0f);
    expectColor(ofKind(weld, Kind::Mesh)[0], 0.3f, 0.9f, 0.3f, 0.3f);
}

TEST_F(DrawOverrideTest, ShadowPointsAreNumberedFromZeroBehindTheOtherDrawing) {
    rail.setPoints(RailPoints::strokesShadow,
                   points({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 1}, {1, 0, 1}, {2, 0, 1}}));
    rail.setInts(RailInts::sizesShadow, {3, 3});
    auto drawn = draw();
    auto t = texts(drawn);
    ASSERT_EQ(t.size(), 2u + 6u);
    EXPECT_EQ(t[2].text, "0");
    EXPECT_EQ(t[4].text, "2");
    EXPECT_EQ(t[5].text, "0") << "each stroke counts its own points";
    EXPECT_EQ(t[5].points[0], pixel({0, 0, 1}));
    expectColor(t[2], 0.7f, 0.7f, 0.7f, 0.3f);
    EXPECT_EQ(t[2].state.depthPriority, 990u);
    EXPECT_EQ(t[2].state.fontSize, 11u);
    auto strips = ofKind(drawn, Kind::LineStrip);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].state.lineStyle, UI::kDashed);
    EXPECT_FLOAT_EQ(strips[0].state.lineWidth, 2.5f);
    expectColor(strips[0], 0.9f, 0.05f, 0.05f, 1.0f);
    expectColor(strips[1], 0.9f, 0.05f, 1.05f, 1.0f);
    auto markers = ofKind(drawn, Kind::Circle);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].points[0], pixel({0, 0, 0}));
    // The second stroke's marker is its point o - 1 = 2, its last point.
    EXPECT_EQ(markers[1].points[0], pixel({2, 0, 1}));
    EXPECT_TRUE(markers[1].filled);
}

TEST_F(DrawOverrideTest, AViewThroughAnotherCameraShowsNothingOfTheTool) {
    rail.setPoints(RailPoints::strokes, points({{0, 0, 0}, {1, 0, 0}}));
    rail.setInts(RailInts::sizes, {2});
    ASSERT_TRUE(
        run("createNode transform -n sideCam; createNode camera -n sideCamShape -p sideCam; "
            "viewPlace -eye 20 0 0 -lookAt 0 0 0 sideCam; "
            "hostView -addPanel sidePanel -camera sideCam"))
        << lastError();
    ASSERT_TRUE(run("refresh"));
    const ehost::Panel* side = findPanel("sidePanel");
    ASSERT_NE(side, nullptr);
    auto onSide = drawnByOverride(side->drawables());
    EXPECT_TRUE(onSide.empty()) << "the side panel is not the active view";
    EXPECT_FALSE(drawnByOverride(activePanelDrawables()).empty());
}

}  // namespace

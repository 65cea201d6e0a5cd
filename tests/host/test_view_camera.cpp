// Cameras, panels and projections: the default camera and panel of a new
// scene, worldToView / viewToWorld in pixels with the origin at the bottom
// left, MFnCamera, viewPlace, hostView, modelEditor and their errors.

#include <maya/M3dView.h>
#include <maya/MDagModifier.h>
#include <maya/MDagPath.h>
#include <maya/MFnCamera.h>
#include <maya/MFnTransform.h>
#include <maya/MSelectionList.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "host/src/io/SceneFile.h"
#include "host/src/nodes/Camera.h"
#include "tests/host/test_view_helpers.h"

namespace {

using ::testing::HasSubstr;
using viewtest::ViewTest;

constexpr double kPi = std::numbers::pi;

MDagPath cameraPath(const char* name) {
    MSelectionList list;
    EXPECT_TRUE(list.add(MString(name)));
    MDagPath path;
    EXPECT_TRUE(list.getDagPath(0, path));
    path.extendToShape();
    return path;
}

void expectNear(const MPoint& a, const MPoint& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

// ---------------------------------------------------------------- defaults

TEST_F(ViewTest, NewSceneHasPerspCameraSeenByTheActiveDefaultPanel) {
    EXPECT_EQ(M3dView::numberOf3dViews(), 1u);
    MStatus st;
    M3dView view = M3dView::active3dView(&st);
    ASSERT_TRUE(st);
    EXPECT_EQ(view.panelName().str(), "modelPanel4");
    EXPECT_EQ(view.portWidth(), 640);
    EXPECT_EQ(view.portHeight(), 480);
    MDagPath camera;
    ASSERT_TRUE(view.getCamera(camera));
    EXPECT_EQ(camera.fullPathName().str(), "|persp|perspShape");
    EXPECT_TRUE(camera.hasFn(MFn::kCamera));

    MFnCamera fn(camera, &st);
    ASSERT_TRUE(st);
    expectNear(fn.eyePoint(MSpace::kWorld), MPoint(28, 21, 28));
    expectNear(fn.centerOfInterestPoint(MSpace::kWorld), MPoint(0, 0, 0));
    EXPECT_FALSE(fn.isOrtho());
    // A 35 mm lens on a 0.945 in film back, seen through a 4:3 port.
    EXPECT_NEAR(fn.verticalFieldOfView(), 2 * std::atan(0.945 * 25.4 / 2 / 35), 1e-12);
    EXPECT_NEAR(std::tan(fn.horizontalFieldOfView() / 2),
                std::tan(fn.verticalFieldOfView() / 2) * 4 / 3, 1e-12);
}

TEST_F(ViewTest, NewSceneBringsBackTheDefaultPanelAfterChanges) {
    makeCamera("side");
    ASSERT_TRUE(run("hostView -addPanel sidePanel -camera side"));
    ASSERT_TRUE(run("hostView -setActive sidePanel"));
    ehost::session().newScene();
    EXPECT_EQ(M3dView::numberOf3dViews(), 1u);
    M3dView view = M3dView::active3dView();
    EXPECT_EQ(view.panelName().str(), "modelPanel4");
    MDagPath camera;
    ASSERT_TRUE(view.getCamera(camera));
    EXPECT_EQ(camera.fullPathName().str(), "|persp|perspShape");
}

// ---------------------------------------------------------------- projections

TEST_F(ViewTest, TheLookAtPointProjectsToThePortCentre) {
    M3dView view = M3dView::active3dView();
    short x = -1, y = -1;
    bool clipped = true;
    ASSERT_TRUE(view.worldToView(MPoint(0, 0, 0), x, y, &clipped));
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 240);
    EXPECT_FALSE(clipped);
}

TEST_F(ViewTest, KnownPointsProjectToKnownPixelsWithTheOriginBottomLeft) {
    // 90 degrees vertically: 240 pixels per unit at distance 1.
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -up 0 1 0 -fieldOfView 90 persp"));
    M3dView view = M3dView::active3dView();
    short x = 0, y = 0;
    ASSERT_TRUE(view.worldToView(MPoint(1, 0, 0), x, y));
    EXPECT_EQ(x, 344);
    EXPECT_EQ(y, 240);
    ASSERT_TRUE(view.worldToView(MPoint(0, 2, 5), x, y));  // 5 units away
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 336);
    ASSERT_TRUE(view.worldToView(MPoint(-40.0 / 3, -10, 0), x, y));  // the bottom left corner
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // Homogeneous points are divided through.
    ASSERT_TRUE(view.worldToView(MPoint(2, 0, 0, 2), x, y));
    EXPECT_EQ(x, 344);
}

TEST_F(ViewTest, ViewToWorldAndBackLandsOnTheSamePixel) {
    ASSERT_TRUE(run("viewPlace -eye 3 -7 12 -lookAt 1 2 -1 -up 0.3 1 0 -fieldOfView 52 persp"));
    // A camera under a moved and turned transform as well.
    MFnTransform t(cameraPath("persp").transform());
    ASSERT_TRUE(t.setTranslation(MVector(4, 1, -2), MSpace::kTransform));
    ASSERT_TRUE(t.setRotation(MEulerRotation(0.2, -0.4, 0.1)));
    M3dView view = M3dView::active3dView();
    for (short px : {0, 1, 137, 320, 639})
        for (short py : {0, 5, 240, 411, 479}) {
            MPoint nearPt, farPt, source;
            MVector direction;
            ASSERT_TRUE(view.viewToWorld(px, py, nearPt, farPt));
            ASSERT_TRUE(view.viewToWorld(px, py, source, direction));
            expectNear(source, nearPt, 1e-9);
            EXPECT_NEAR(direction.length(), 1.0, 1e-12);
            EXPECT_LT(((farPt - nearPt).normal() - direction).length(), 1e-9);
            for (double t : {0.0, 0.25, 0.5, 1.0}) {
                MPoint p = nearPt + (farPt - nearPt) * t;
                short x = -1, y = -1;
                ASSERT_TRUE(view.worldToView(p, x, y));
                EXPECT_EQ(x, px) << "at " << px << ", " << py << " t " << t;
                EXPECT_EQ(y, py) << "at " << px << ", " << py << " t " << t;
            }
        }
}

TEST_F(ViewTest, EveryChangeOfTheCameraOrWhatCarriesItShowsInTheNextProjection) {
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -fieldOfView 90 persp"));
    M3dView view = M3dView::active3dView();
    auto project = [&](const MPoint& p) {
        short x = 0, y = 0;
        EXPECT_TRUE(view.worldToView(p, x, y));
        return std::make_pair(x, y);
    };
    EXPECT_EQ(project(MPoint(1, 0, 0)), std::make_pair(short(344), short(240)));
    ASSERT_TRUE(run("setAttr persp.translateX 1"));
    EXPECT_EQ(project(MPoint(1, 0, 0)), std::make_pair(short(320), short(240)));
    ASSERT_TRUE(run("createNode transform -n rig; setAttr rig.translateY -2"));
    MDagModifier reparent;
    ASSERT_TRUE(
        reparent.reparentNode(cameraPath("persp").transform(), cameraPath("rig").transform()));
    ASSERT_TRUE(reparent.doIt());
    EXPECT_EQ(project(MPoint(1, -2, 0)), std::make_pair(short(320), short(240)));
    ASSERT_TRUE(reparent.undoIt());  // out of the rig again
    EXPECT_EQ(project(MPoint(1, 0, 0)), std::make_pair(short(320), short(240)));
    ASSERT_TRUE(
        run("setAttr perspShape.verticalFieldOfView 53.130102354155978"));  // tan(half) = 0.5
    EXPECT_EQ(project(MPoint(2, 0, 0)), std::make_pair(short(368), short(240)));
    ASSERT_TRUE(run("hostView -size 320 240"));
    EXPECT_EQ(project(MPoint(2, 0, 0)), std::make_pair(short(184), short(120)));
}

TEST_F(ViewTest, RaysStartFromTheEyeThroughTheNearPlane) {
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -fieldOfView 90 persp"));
    M3dView view = M3dView::active3dView();
    MPoint source;
    MVector direction;
    ASSERT_TRUE(view.viewToWorld(320, 240, source, direction));
    expectNear(source, MPoint(0, 0, 9.9));  // near clip plane 0.1 in front of the eye
    EXPECT_LT((direction - MVector(0, 0, -1)).length(), 1e-12);
    ASSERT_TRUE(view.viewToWorld(560, 240, source, direction));  // 45 degrees to the right
    EXPECT_LT((direction - MVector(1, 0, -1).normal()).length(), 1e-12);
}

TEST_F(ViewTest, PointsBehindTheEyeFailAndPointsOutsideAreClipped) {
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -fieldOfView 90 persp"));
    M3dView view = M3dView::active3dView();
    short x = 0, y = 0;
    bool clipped = false;
    MStatus st = view.worldToView(MPoint(0, 0, 20), x, y, &clipped);
    EXPECT_FALSE(st);
    EXPECT_TRUE(clipped);
    EXPECT_FALSE(view.worldToView(MPoint(3, 0, 10), x, y));  // level with the eye
    ASSERT_TRUE(view.worldToView(MPoint(50, 0, 0), x, y, &clipped));
    EXPECT_TRUE(clipped);
    EXPECT_EQ(x, 1520);
    // Far outside: saturated to the range of a short, never wrapped.
    ASSERT_TRUE(view.worldToView(MPoint(1e9, -1e9, 0), x, y, &clipped));
    EXPECT_EQ(x, 32767);
    EXPECT_EQ(y, -32768);
}

TEST_F(ViewTest, PortSizeChangesTheHorizontalFieldOnly) {
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -fieldOfView 90 persp"));
    ASSERT_TRUE(run("hostView -size 1000 500"));
    M3dView view = M3dView::active3dView();
    EXPECT_EQ(view.portWidth(), 1000);
    EXPECT_EQ(view.portHeight(), 500);
    short x = 0, y = 0;
    ASSERT_TRUE(view.worldToView(MPoint(1, 1, 0), x, y));
    EXPECT_EQ(x, 525);  // 250 pixels per unit at distance 1, both ways
    EXPECT_EQ(y, 275);
    EXPECT_FALSE(run("hostView -size 0 480"));
    EXPECT_THAT(lastError(), HasSubstr("between 1 and 8192"));
    EXPECT_FALSE(run("hostView -size 640 480 noSuchPanel"));
    EXPECT_THAT(lastError(), HasSubstr("no panel named \"noSuchPanel\""));
}

TEST_F(ViewTest, FrameContextMatricesAgreeWithTheProjection) {
    ASSERT_TRUE(run("viewPlace -eye 2 3 9 -lookAt 0 1 0 -fieldOfView 40 persp"));
    ehost::Panel& panel = activePanel();
    ehost::FrameInfo info;
    info.panel = panel.name;
    info.camera = panel.camera;
    ASSERT_TRUE(panel.viewFrame(info.view));
    MHWRender::MFrameContext frame(info);
    MMatrix viewProj = frame.getMatrix(MHWRender::MFrameContext::kViewProjMtx);
    EXPECT_TRUE(frame.getMatrix(MHWRender::MFrameContext::kViewProjInverseMtx)
                    .isEquivalent(viewProj.inverse(), 1e-9));
    M3dView view = M3dView::active3dView();
    for (const MPoint& p : {MPoint(0, 1, 0), MPoint(1, 2, -1), MPoint(-2, 0.5, 3)}) {
        MPoint clip = p * viewProj;
        double px = (clip.x / clip.w + 1) * 320, py = (clip.y / clip.w + 1) * 240;
        short x = 0, y = 0;
        ASSERT_TRUE(view.worldToView(p, x, y));
        EXPECT_EQ(x, static_cast<short>(std::lround(px)));
        EXPECT_EQ(y, static_cast<short>(std::lround(py)));
        EXPECT_GT(clip.z / clip.w, -1.0);
        EXPECT_LT(clip.z / clip.w, 1.0);
    }
    MDoubleArray eye = frame.getTuple(MHWRender::MFrameContext::kViewPosition);
    ASSERT_EQ(eye.length(), 3u);
    EXPECT_NEAR(eye[2], 9, 1e-12);
    int ox = -1, oy = -1, w = 0, h = 0;
    ASSERT_TRUE(frame.getViewportDimensions(ox, oy, w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(frame.getCurrentCameraPath().fullPathName().str(), "|persp|perspShape");
}

// ---------------------------------------------------------------- cameras

TEST_F(ViewTest, CameraFunctionSetReadsObjectAndWorldSpace) {
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -up 0 1 1 persp"));
    MFnCamera fn(cameraPath("persp"));
    MVector up = fn.upDirection(MSpace::kWorld);
    EXPECT_LT((up - MVector(0, 1, 0)).length(), 1e-12);  // made perpendicular to the view
    EXPECT_LT((fn.viewDirection(MSpace::kWorld) - MVector(0, 0, -1)).length(), 1e-12);
    EXPECT_LT((fn.rightDirection(MSpace::kWorld) - MVector(1, 0, 0)).length(), 1e-12);
    EXPECT_NEAR(fn.centerOfInterest(), 10, 1e-12);

    // Moving the transform moves the camera in the world, not in its object space.
    MFnTransform t(cameraPath("persp").transform());
    ASSERT_TRUE(t.setTranslation(MVector(5, 0, 0), MSpace::kTransform));
    expectNear(fn.eyePoint(MSpace::kWorld), MPoint(5, 0, 10));
    expectNear(fn.eyePoint(MSpace::kObject), MPoint(0, 0, 10));
    ASSERT_TRUE(fn.setEyePoint(MPoint(5, 0, 20), MSpace::kWorld));
    expectNear(fn.eyePoint(MSpace::kObject), MPoint(0, 0, 20));
    ASSERT_TRUE(fn.setCenterOfInterest(4));
    expectNear(fn.centerOfInterestPoint(MSpace::kWorld), MPoint(5, 0, 16));

    ASSERT_TRUE(fn.setHorizontalFieldOfView(kPi / 2));
    EXPECT_NEAR(fn.horizontalFieldOfView(), kPi / 2, 1e-12);
    EXPECT_NEAR(std::tan(fn.verticalFieldOfView() / 2), 0.75, 1e-12);
    double h = 0, v = 0;
    ASSERT_TRUE(fn.getPortFieldOfView(480, 480, h, v));
    EXPECT_NEAR(h, v, 1e-12);
    EXPECT_FALSE(fn.setVerticalFieldOfView(0));
    EXPECT_FALSE(fn.setNearClippingPlane(-1));
    EXPECT_FALSE(fn.setFarClippingPlane(0.01));

    MFnCamera notACamera;
    MStatus st;
    notACamera.eyePoint(MSpace::kWorld, &st);
    EXPECT_FALSE(st);
}

TEST_F(ViewTest, OrthographicCamerasProjectWithoutPerspective) {
    MFnCamera fn(cameraPath("persp"));
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 persp"));
    ASSERT_TRUE(fn.setIsOrtho(true, 16));
    EXPECT_TRUE(fn.isOrtho());
    M3dView view = M3dView::active3dView();
    short x = 0, y = 0;
    for (double z : {5.0, -40.0}) {
        ASSERT_TRUE(view.worldToView(MPoint(4, 3, z), x, y));
        EXPECT_EQ(x, 480);  // 40 pixels per unit across 16 units
        EXPECT_EQ(y, 360);
    }
    MPoint source;
    MVector direction;
    ASSERT_TRUE(view.viewToWorld(480, 360, source, direction));
    expectNear(source, MPoint(4, 3, 9.9));
    EXPECT_LT((direction - MVector(0, 0, -1)).length(), 1e-12);
}

TEST_F(ViewTest, ViewPlaceKeepsWhatItIsNotGivenAndRefusesBadInput) {
    ASSERT_TRUE(run("viewPlace -eye 1 2 3"));  // the active panel's camera
    MFnCamera fn(cameraPath("persp"));
    expectNear(fn.eyePoint(MSpace::kWorld), MPoint(1, 2, 3));
    expectNear(fn.centerOfInterestPoint(MSpace::kWorld), MPoint(0, 0, 0));
    ASSERT_TRUE(run("viewPlace -fov 30 perspShape"));
    EXPECT_NEAR(fn.verticalFieldOfView(), kPi / 6, 1e-12);

    EXPECT_FALSE(run("viewPlace -eye 0 0 0 persp"));
    EXPECT_THAT(lastError(), HasSubstr("the eye and the look-at point are the same point"));
    EXPECT_FALSE(run("viewPlace -eye 0 5 0 -up 0 1 0 persp"));
    EXPECT_THAT(lastError(), HasSubstr("parallel"));
    EXPECT_FALSE(run("viewPlace -fov 180 persp"));
    EXPECT_THAT(lastError(), HasSubstr("between 0 and 180"));
    EXPECT_FALSE(run("viewPlace -eye 1 1 1 initialShadingGroup"));
    EXPECT_THAT(lastError(), HasSubstr("\"initialShadingGroup\" is not a camera"));
    expectNear(fn.eyePoint(MSpace::kWorld), MPoint(1, 2, 3));
}

TEST_F(ViewTest, CamerasSaveWithTheSceneAndComeBack) {
    namespace fs = std::filesystem;
    fs::path file =
        fs::temp_directory_path() / ("view_camera_" + std::to_string(::getpid()) + ".tsk");
    ASSERT_TRUE(run("viewPlace -eye 1.25 -2 7 -lookAt 0.5 0.5 0 -up 0 0 1 -fov 33 persp"));
    makeCamera("side");
    ASSERT_TRUE(run("viewPlace -eye 30 0 0 -lookAt 0 0 0 side"));
    std::string error;
    ASSERT_TRUE(ehost::saveScene(file.string(), &error)) << error;
    ehost::session().newScene();
    ASSERT_TRUE(ehost::openScene(file.string(), &error)) << error;
    fs::remove(file);
    ASSERT_NE(ehost::session().scene().find("persp"), nullptr);
    EXPECT_EQ(ehost::session().scene().find("persp1"), nullptr);
    MFnCamera persp(cameraPath("persp"));
    expectNear(persp.eyePoint(MSpace::kWorld), MPoint(1.25, -2, 7), 0);
    expectNear(persp.centerOfInterestPoint(MSpace::kWorld), MPoint(0.5, 0.5, 0), 0);
    EXPECT_NEAR(persp.verticalFieldOfView(), 33 * kPi / 180, 1e-15);
    MFnCamera side(cameraPath("side"));
    expectNear(side.eyePoint(MSpace::kWorld), MPoint(30, 0, 0), 0);
    // The default panel looks through the opened scene's persp.
    MDagPath camera;
    ASSERT_TRUE(M3dView::active3dView().getCamera(camera));
    EXPECT_EQ(camera.fullPathName().str(), "|persp|perspShape");
}

// ---------------------------------------------------------------- panels

TEST_F(ViewTest, ASecondPanelLooksThroughItsOwnCamera) {
    int* changed = countEvent("modelEditorChanged");
    makeCamera("top");
    ASSERT_TRUE(run("viewPlace -eye 0 50 0 -lookAt 0 0 0 -up 0 0 -1 top"));
    EXPECT_EQ(result("hostView -addPanel topPanel -camera top"), "topPanel");
    EXPECT_EQ(*changed, 1);
    EXPECT_EQ(M3dView::numberOf3dViews(), 2u);
    EXPECT_EQ(result("hostView -activePanel"), "modelPanel4");

    M3dView top;
    ASSERT_TRUE(M3dView::getM3dViewFromModelPanel("topPanel", top));
    MDagPath camera;
    ASSERT_TRUE(top.getCamera(camera));
    EXPECT_EQ(camera.fullPathName().str(), "|top|topShape");
    short x = 0, y = 0;
    ASSERT_TRUE(top.worldToView(MPoint(0, 0, -5), x, y));
    EXPECT_EQ(x, 320);
    EXPECT_GT(y, 240);  // -Z is up on the screen of a camera looking down with up -Z

    ASSERT_TRUE(run("hostView -setActive topPanel"));
    EXPECT_EQ(M3dView::active3dView().panelName().str(), "topPanel");
    M3dView second;
    ASSERT_TRUE(M3dView::get3dView(1, second));
    EXPECT_EQ(second.panelName().str(), "topPanel");
    EXPECT_FALSE(M3dView::get3dView(2, second));

    MCommandResult r;
    ASSERT_TRUE(run("hostView -listPanels", &r));
    MStringArray names;
    r.getResult(names);
    ASSERT_EQ(names.length(), 2u);
    EXPECT_EQ(names[1].str(), "topPanel");
}

TEST_F(ViewTest, PanelErrorsAreClearAndChangeNothing) {
    EXPECT_FALSE(run("hostView -addPanel p2 -camera noCamera"));
    EXPECT_THAT(lastError(), HasSubstr("\"noCamera\" is not a camera"));
    EXPECT_FALSE(run("hostView -addPanel p2"));
    EXPECT_THAT(lastError(), HasSubstr("-addPanel needs -camera"));
    EXPECT_FALSE(run("hostView -addPanel modelPanel4 -camera persp"));
    EXPECT_THAT(lastError(), HasSubstr("already exists"));
    EXPECT_FALSE(run("hostView -addPanel \"bad name\" -camera persp"));
    EXPECT_FALSE(run("hostView -setActive nowhere"));
    EXPECT_THAT(lastError(), HasSubstr("no panel named \"nowhere\""));
    EXPECT_FALSE(run("hostView"));
    EXPECT_THAT(lastError(), HasSubstr("nothing to do"));
    EXPECT_EQ(M3dView::numberOf3dViews(), 1u);
    M3dView gone;
    EXPECT_FALSE(M3dView::getM3dViewFromModelPanel("nowhere", gone));
    MStatus st;
    EXPECT_EQ(gone.portWidth(&st), 0);
    EXPECT_FALSE(st);
}

TEST_F(ViewTest, ModelEditorChangesCameraAndRendererWithTheEvent) {
    int* changed = countEvent("modelEditorChanged");
    makeCamera("front");
    ASSERT_TRUE(run("modelEditor -e -camera front modelPanel4"));
    EXPECT_EQ(*changed, 1);
    EXPECT_EQ(result("modelEditor -q -camera modelPanel4"), "front");
    ASSERT_TRUE(run("modelEditor -e -camera front modelPanel4"));  // no change, no event
    EXPECT_EQ(*changed, 1);

    EXPECT_EQ(result("modelEditor -q -rendererOverrideName modelPanel4"), "");
    EXPECT_FALSE(run("modelEditor -e -rendererOverrideName noSuchOverride modelPanel4"));
    EXPECT_THAT(lastError(), HasSubstr("no render override named \"noSuchOverride\""));
    EXPECT_EQ(*changed, 1);
    EXPECT_FALSE(run("modelEditor -e -camera front noPanel"));
    EXPECT_THAT(lastError(), HasSubstr("no panel named \"noPanel\""));
    EXPECT_FALSE(run("modelEditor -camera front modelPanel4"));
    EXPECT_EQ(result("modelEditor -exists modelPanel4"), "1");

    M3dView view = M3dView::active3dView();
    MDagPath persp = cameraPath("persp");
    ASSERT_TRUE(view.setCamera(persp));
    EXPECT_EQ(*changed, 2);
    MDagPath none;
    EXPECT_FALSE(view.setCamera(none));
}

TEST_F(ViewTest, DeletedCameraLeavesThePanelWithoutAViewNotACrash) {
    ASSERT_TRUE(run("delete persp"));
    M3dView view = M3dView::active3dView();
    MDagPath camera;
    EXPECT_FALSE(view.getCamera(camera));
    short x = 0, y = 0;
    EXPECT_FALSE(view.worldToView(MPoint(0, 0, 0), x, y));
    MPoint a, b;
    EXPECT_FALSE(view.viewToWorld(1, 1, a, b));
    EXPECT_FALSE(view.refresh());
    EXPECT_TRUE(run("refresh"));  // a warning only
    EXPECT_FALSE(run("viewPlace -eye 1 1 1"));
    EXPECT_THAT(lastError(), HasSubstr("has no camera"));
    EXPECT_FALSE(run("hostView -snapshot /tmp/never.png"));
}

}  // namespace

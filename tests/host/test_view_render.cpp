// Render overrides: registration with the renderer, a panel switched to one
// with modelEditor, its operations run in order on each refresh between setup
// and cleanup, what each operation contributes to the frame, the stock
// shaders, and the override's removal.

#include <maya/MSelectionList.h>
#include <maya/MShaderManager.h>

#include "tests/host/test_view_helpers.h"

namespace {

using MHWRender::MRenderer;
using MHWRender::MShaderInstance;
using MHWRender::MShaderManager;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using viewtest::log;
using viewtest::ProbeRenderOverride;
using viewtest::ViewTest;

class RenderTest : public ViewTest {
protected:
    static MRenderer& renderer() { return *MRenderer::theRenderer(); }
};

TEST_F(RenderTest, OperationsRunInOrderOnEachRefreshOfAPanelUsingTheOverride) {
    ProbeRenderOverride& override = registerProbeOverride();
    EXPECT_EQ(renderer().findRenderOverride("probeOverride"), &override);
    ASSERT_TRUE(run("refresh"));
    EXPECT_TRUE(log().empty());  // no panel uses it yet

    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName probeOverride modelPanel4"));
    EXPECT_EQ(result("modelEditor -q -rendererOverrideName modelPanel4"), "probeOverride");
    EXPECT_EQ(renderer().activeRenderOverride().str(), "probeOverride");
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(log(), ElementsAre("setup modelPanel4", "start", "scene preRender",
                                   "scene clearOperation", "scene preUI", "scene postUI",
                                   "scene postRender", "user execute 640x480",
                                   "user addUIDrawables", "hud addUIDrawables", "cleanup"));

    const ehost::Frame& frame = activePanel().frame;
    EXPECT_EQ(frame.renderer, "probeOverride");
    EXPECT_THAT(frame.operations,
                ElementsAre("Probe Scene", "Probe User", "HUDRender", "Probe Present"));
    EXPECT_TRUE(frame.presentDepth);
    // The scene operation's clear decides the background.
    EXPECT_FALSE(frame.clear.gradient);
    EXPECT_EQ(frame.clear.top, MColor(0.1f, 0.2f, 0.3f, 1.0f));
    EXPECT_EQ(frame.clear.bottom, MColor(0.4f, 0.5f, 0.6f, 1.0f));

    auto drawables = activePanel().drawables();
    ASSERT_EQ(drawables.size(), 4u);
    EXPECT_EQ(drawables[0]->source, ehost::Drawable::Source::SceneRender);
    EXPECT_EQ(drawables[0]->primitives.at(0).text, "pre");
    EXPECT_EQ(drawables[1]->source, ehost::Drawable::Source::SceneRender);
    EXPECT_EQ(drawables[2]->source, ehost::Drawable::Source::UserOperation);
    EXPECT_EQ(drawables[2]->name, "Probe User");
    EXPECT_EQ(drawables[2]->primitives.at(0).state.depthPriority, 5u);
    EXPECT_EQ(drawables[3]->source, ehost::Drawable::Source::HUD);
    EXPECT_EQ(drawables[3]->primitives.at(0).text, "Probe Render");

    log().clear();
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName \"\" modelPanel4"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_TRUE(log().empty());
    EXPECT_THAT(activePanel().frame.operations,
                ElementsAre("clearPass", "scenePass", "hudPass", "presentTarget"));
    EXPECT_TRUE(activePanel().frame.clear.gradient);
}

TEST_F(RenderTest, OnlyPanelsUsingTheOverrideRunIt) {
    registerProbeOverride();
    ASSERT_TRUE(run("hostView -addPanel second -camera persp"));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName probeOverride second"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(log().front(), "setup second");
    EXPECT_EQ(std::count(log().begin(), log().end(), "cleanup"), 1);
    EXPECT_EQ(views().findPanel("modelPanel4")->frame.renderer, "");
}

TEST_F(RenderTest, ChangingARenderersFiresModelEditorChanged) {
    registerProbeOverride();
    int* changed = countEvent("modelEditorChanged");
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName probeOverride modelPanel4"));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName probeOverride modelPanel4"));
    EXPECT_EQ(*changed, 1);
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName \"\" modelPanel4"));
    EXPECT_EQ(*changed, 2);
}

TEST_F(RenderTest, DeregisteringPutsItsPanelsBackOnTheNormalRenderer) {
    auto* override = new ProbeRenderOverride("doomed");
    ASSERT_TRUE(renderer().registerOverride(override));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName doomed modelPanel4"));
    int* changed = countEvent("modelEditorChanged");
    ASSERT_TRUE(renderer().deregisterOverride(override));
    EXPECT_EQ(*changed, 1);
    EXPECT_EQ(result("modelEditor -q -rendererOverrideName modelPanel4"), "");
    EXPECT_EQ(renderer().findRenderOverride("doomed"), nullptr);
    delete override;
    log().clear();
    ASSERT_TRUE(run("refresh"));
    EXPECT_TRUE(log().empty());
    EXPECT_FALSE(renderer().deregisterOverride(override));
}

TEST_F(RenderTest, APluginsOverridesAreDroppedWhenItGoes) {
    auto* override = new ProbeRenderOverride("pluginOverride");
    ASSERT_TRUE(views().renderOverrides().add(override, "somePlugin"));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName pluginOverride modelPanel4"));
    views().forgetPlugin("somePlugin");
    EXPECT_EQ(renderer().findRenderOverride("pluginOverride"), nullptr);
    EXPECT_EQ(activePanel().renderer, "");
    // The plug-in's code may be gone: the host must not call it any more.
    delete override;
    ASSERT_TRUE(run("refresh"));
    EXPECT_TRUE(log().empty());
}

TEST_F(RenderTest, RegistrationIsRefusedForDuplicatesAndOnRequest) {
    registerProbeOverride("taken");
    ProbeRenderOverride again("taken");
    EXPECT_FALSE(renderer().registerOverride(&again));
    ProbeRenderOverride unnamed("");
    EXPECT_FALSE(renderer().registerOverride(&unnamed));
    EXPECT_FALSE(renderer().registerOverride(nullptr));
    ehost::refuseRegistration(ehost::RegistrationKind::RenderOverride, "refused");
    ProbeRenderOverride refused("refused");
    EXPECT_FALSE(renderer().registerOverride(&refused));
    EXPECT_EQ(views().renderOverrides().all().size(), 1u);
}

TEST_F(RenderTest, AnOverrideWithoutOperationsStillSetsUpAndCleansUp) {
    class Empty : public MHWRender::MRenderOverride {
    public:
        Empty() : MRenderOverride("empty") {}
        MStatus setup(const MString&) override {
            log().push_back("setup");
            return MStatus::kSuccess;
        }
        MStatus cleanup() override {
            log().push_back("cleanup");
            return MStatus::kSuccess;
        }
    } empty;
    ASSERT_TRUE(renderer().registerOverride(&empty));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName empty modelPanel4"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(log(), ElementsAre("setup", "cleanup"));
    EXPECT_TRUE(activePanel().frame.operations.empty());
    ASSERT_TRUE(renderer().deregisterOverride(&empty));
}

TEST_F(RenderTest, AnEndlessOperationListIsCutOff) {
    class Endless : public MHWRender::MRenderOverride {
    public:
        Endless() : MRenderOverride("endless"), present("again") {}
        bool startOperationIterator() override { return true; }
        MHWRender::MRenderOperation* renderOperation() override { return &present; }
        bool nextRenderOperation() override { return true; }
        MHWRender::MPresentTarget present;
    } endless;
    ASSERT_TRUE(renderer().registerOverride(&endless));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName endless modelPanel4"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(activePanel().frame.operations.size(), 10000u);
    EXPECT_THAT(lastMessage(ehost::MessageLog::Kind::Warning),
                HasSubstr("more than 10000 operations"));
    ASSERT_TRUE(renderer().deregisterOverride(&endless));
}

// ---------------------------------------------------------------- scene operation overrides

TEST_F(RenderTest, TheSceneOperationsShaderAndObjectSetDecideWhatIsShaded) {
    ProbeRenderOverride& override = registerProbeOverride();
    ASSERT_TRUE(run("polySphere -n ball; polyCube -n box"));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName probeOverride modelPanel4"));
    ASSERT_TRUE(run("refresh"));
    ASSERT_EQ(activePanel().frame.shapes.size(), 2u);
    EXPECT_FALSE(activePanel().frame.shapes[0].overrideColor);

    const MShaderManager* shaders = renderer().getShaderManager();
    ASSERT_NE(shaders, nullptr);
    MShaderInstance* blinn = shaders->getStockShader(MShaderManager::k3dBlinnShader);
    ASSERT_NE(blinn, nullptr);
    const float yellow[4] = {1, 1, 0, 1};
    ASSERT_TRUE(blinn->setParameter("diffuseColor", yellow));
    override.scene.shader = blinn;
    override.scene.onlyThese.add(MString("box"));
    ASSERT_TRUE(run("refresh"));
    const auto& shapes = activePanel().frame.shapes;
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].shape->name, "boxShape");
    EXPECT_TRUE(shapes[0].overrideColor);
    EXPECT_EQ(shapes[0].color, MColor(1.0f, 1.0f, 0.0f, 1.0f));
    override.scene.shader = nullptr;
    shaders->releaseShader(blinn);
}

TEST_F(RenderTest, HiddenAndIntermediateMeshesAreNotShaded) {
    ASSERT_TRUE(run("polySphere -n shown; polyCube -n hidden; polyPlane -n inner"));
    ASSERT_TRUE(run("setAttr hidden.visibility 0; setAttr innerShape.intermediateObject 1"));
    ASSERT_TRUE(run("refresh"));
    const auto& shapes = activePanel().frame.shapes;
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].shape->name, "shownShape");
}

TEST_F(RenderTest, StockShadersTakeTheirOwnParametersOnly) {
    const MShaderManager* shaders = renderer().getShaderManager();
    MShaderInstance* blinn = shaders->getStockShader(MShaderManager::k3dBlinnShader);
    ASSERT_NE(blinn, nullptr);
    MStringArray names;
    blinn->parameterList(names);
    EXPECT_GT(names.length(), 0u);
    EXPECT_EQ(blinn->parameterType("diffuseColor"), MShaderInstance::kFloat4);
    EXPECT_TRUE(blinn->setParameter("specularPower", 40.0f));
    EXPECT_FALSE(blinn->setParameter("specularPower", MFloatVector(1, 2, 3)));
    EXPECT_FALSE(blinn->setParameter("noSuchParameter", 1.0f));
    EXPECT_FALSE(blinn->setParameter("diffuseColor", static_cast<const float*>(nullptr)));
    MShaderInstance* copy = blinn->clone();
    ASSERT_NE(copy, nullptr);
    shaders->releaseShader(copy);
    shaders->releaseShader(blinn);
    MShaderInstance* solid = shaders->getStockShader(MShaderManager::k3dSolidShader);
    ASSERT_NE(solid, nullptr);
    EXPECT_EQ(solid->parameterType("solidColor"), MShaderInstance::kFloat4);
    shaders->releaseShader(solid);
    shaders->releaseShader(nullptr);
    EXPECT_EQ(shaders->getStockShader(static_cast<MShaderManager::MStockShader>(999)), nullptr);
}

TEST_F(RenderTest, TheRenderersBackgroundIsTheDefaultClear) {
    MColor top = renderer().clearColor(), bottom = renderer().clearColor2();
    EXPECT_TRUE(renderer().useGradient());
    MHWRender::MClearOperation clear("c");
    EXPECT_EQ(clear.mask(), static_cast<unsigned>(MHWRender::MClearOperation::kClearAll));
    EXPECT_EQ(clear.clearColor()[0], top.r);
    EXPECT_EQ(clear.clearColor2()[2], bottom.b);
    EXPECT_TRUE(clear.clearGradient());
    EXPECT_EQ(clear.operationType(), MHWRender::MRenderOperation::kClear);
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(activePanel().frame.clear.top, top);
}

}  // namespace

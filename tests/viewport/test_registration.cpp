// Loading and unloading Vintrel: the override and the command under one
// name, in that order, each load starting afresh, and a refused registration
// failing the load without leaving anything half made.

#include "tests/viewport/VintrelFixture.h"

namespace {

using MHWRender::MRenderer;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class VintrelRegistrationTest : public VintrelTest {
protected:
    static MRenderer& renderer() { return *MRenderer::theRenderer(); }
    static bool commandExists() {
        return ehost::session().commands().find("PlexwendViewport") != nullptr;
    }
    void unload() {
        if (ehost::isPluginLoaded(kVintrel)) {
            MStatus st = ehost::unloadPlugin(kVintrel);
            ASSERT_TRUE(st) << st.errorString();
        }
    }
    void TearDown() override {
        ehost::clearRefusals();
        if (!ehost::isPluginLoaded(kVintrel)) {
            ASSERT_TRUE(ehost::loadPlugin(kVintrel));
        }
        VintrelTest::TearDown();
    }
};

TEST_F(VintrelRegistrationTest, OverrideAndCommandShareTheNameAndAFreshOverrideHasTheDefaults) {
    const MRenderOverrideTester* o = override();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->uiName(), MString("Plexwend Viewport"));
    EXPECT_EQ(o->supportedDrawAPIs(), MHWRender::kAllDevices);
    EXPECT_TRUE(commandExists());

    unload();
    ASSERT_TRUE(ehost::loadPlugin(kVintrel));
    const OverrideParameters& p = parameters();
    EXPECT_FALSE(p.shaderOverride);
    EXPECT_EQ(p.objectSet, MString());
    EXPECT_EQ(p.sceneFilter, 0u);
    EXPECT_FALSE(p.sceneUIDrawables);
    EXPECT_TRUE(p.userUIDrawables);
    EXPECT_FALSE(p.userUILightData);
    EXPECT_FALSE(p.viewportRectangle);
    EXPECT_FALSE(p.presentDepth);
    EXPECT_EQ(p.clearMask, -1);
    EXPECT_EQ(override()->shader(), nullptr);  // made at the first frame
}

TEST_F(VintrelRegistrationTest, LoadUnloadLoadRegistersAndDeregistersCleanly) {
    ASSERT_TRUE(run("polyCube -n box; PlexwendViewport -so 1 -pd 1"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(frame().renderer, "PlexwendViewport");
    auto* shader = const_cast<MHWRender::MShaderInstance*>(override()->shader());
    ASSERT_NE(shader, nullptr);

    unload();
    // The override was deleted, and with it went its shader: the host no
    // longer holds one to release.
    EXPECT_FALSE(ehost::session().views().renderOverrides().releaseShader(shader));
    EXPECT_EQ(renderer().findRenderOverride("PlexwendViewport"), nullptr);
    EXPECT_FALSE(commandExists());
    EXPECT_FALSE(run("PlexwendViewport -so 1"));
    // The panel is back on the normal renderer and still draws.
    EXPECT_EQ(ehost::session().views().activePanel().renderer, "");
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(frame().operations,
                ElementsAre("clearPass", "scenePass", "hudPass", "presentTarget"));

    ASSERT_TRUE(ehost::loadPlugin(kVintrel));
    ASSERT_NE(override(), nullptr);
    EXPECT_TRUE(commandExists());
    // A new override: the parameters of the old one are gone with it.
    EXPECT_FALSE(parameters().shaderOverride);
    EXPECT_FALSE(parameters().presentDepth);
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName PlexwendViewport modelPanel4"));
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(frame().operations,
                ElementsAre("Scene Render 1", "User Operation 1", "HUDRender", "Present Target"));

    unload();
    ASSERT_TRUE(ehost::loadPlugin(kVintrel));
    EXPECT_NE(override(), nullptr);
}

TEST_F(VintrelRegistrationTest, ARefusedOverrideFailsTheLoadAndLeavesTheCommandUnregistered) {
    unload();
    ehost::refuseRegistration(ehost::RegistrationKind::RenderOverride, "PlexwendViewport");
    MStatus st = ehost::loadPlugin(kVintrel);
    EXPECT_FALSE(st);
    EXPECT_THAT(st.errorString().asChar(), HasSubstr("initializePlugin of Vintrel_2020 failed"));
    EXPECT_EQ(renderer().findRenderOverride("PlexwendViewport"), nullptr);
    EXPECT_FALSE(commandExists());
    // The host kept the failed module; its unload finds no command to remove.
    EXPECT_FALSE(ehost::unloadPlugin(kVintrel));
    EXPECT_FALSE(ehost::isPluginLoaded(kVintrel));
}

TEST_F(VintrelRegistrationTest, ARefusedCommandFailsTheLoadAfterTheOverrideIsRegistered) {
    unload();
    ehost::refuseRegistration(ehost::RegistrationKind::Command, "PlexwendViewport");
    EXPECT_FALSE(ehost::loadPlugin(kVintrel));
    EXPECT_NE(renderer().findRenderOverride("PlexwendViewport"), nullptr);
    EXPECT_FALSE(commandExists());
    ehost::unloadPlugin(kVintrel);
    EXPECT_EQ(renderer().findRenderOverride("PlexwendViewport"), nullptr);
}

TEST_F(VintrelRegistrationTest, AnotherModulesOverrideOfTheSameNameIsLeftAlone) {
    unload();
    MHWRender::MRenderOverride theirs("PlexwendViewport");
    ASSERT_TRUE(renderer().registerOverride(&theirs));
    EXPECT_FALSE(ehost::loadPlugin(kVintrel));
    EXPECT_FALSE(commandExists());
    ehost::unloadPlugin(kVintrel);
    // Still registered, and not deleted (it lives on this stack).
    EXPECT_EQ(renderer().findRenderOverride("PlexwendViewport"), &theirs);
    ASSERT_TRUE(renderer().deregisterOverride(&theirs));
}

}  // namespace

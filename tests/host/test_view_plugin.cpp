// A real plug-in module that leaves its draw override, tool context command
// and render override registered when it unloads: the host drops them (and
// deletes the objects of the module it holds) before the module is closed,
// and everything keeps working afterwards.

#include <maya/M3dView.h>

#include "host/src/plugin/Plugins.h"
#include "tests/host/test_view_helpers.h"

namespace {

using ::testing::Contains;
using viewtest::ViewTest;

class ViewPluginTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        ehost::setPluginPath({TESSARK_TEST_PLUGIN_DIR});
    }
    void TearDown() override {
        ehost::session().newScene();
        if (ehost::isPluginLoaded("viewTestPlugin")) ehost::unloadPlugin("viewTestPlugin");
        ehost::setPluginPath({});
        ViewTest::TearDown();
    }
};

TEST_F(ViewPluginTest, WhatAPluginLeavesBehindIsDroppedWhenItUnloads) {
    ASSERT_TRUE(run("loadPlugin viewTestPlugin")) << lastError();
    ASSERT_TRUE(
        run("createNode transform -n gizmo; createNode viewTestLocator -n gizmoShape -p gizmo"));
    std::string tool = result("viewTestCtx");
    ASSERT_TRUE(run("setToolTo " + tool));
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName viewTestOverride modelPanel4"));
    ASSERT_TRUE(run("refresh"));
    const ehost::Frame& frame = activePanel().frame;
    EXPECT_THAT(frame.operations, Contains("viewTest Scene"));
    ASSERT_EQ(frame.drawables.size(), 2u);  // the locator's drawing and the tool's feedback
    EXPECT_EQ(frame.drawables[0].name, "|gizmo|gizmoShape");
    EXPECT_EQ(frame.drawables[1].primitives.at(0).text, "view test tool");

    // Deleted but not yet noticed by a refresh: its override is still held.
    ASSERT_TRUE(run("delete gizmo"));
    EXPECT_EQ(views().drawOverrides().instanceCount(), 1u);
    int* changed = countEvent("modelEditorChanged");
    ASSERT_TRUE(run("unloadPlugin viewTestPlugin")) << lastError();

    EXPECT_EQ(views().drawOverrides().instanceCount(), 0u);
    EXPECT_TRUE(views().drawOverrides().creators().empty());
    EXPECT_EQ(MHWRender::MRenderer::theRenderer()->findRenderOverride("viewTestOverride"), nullptr);
    EXPECT_EQ(result("modelEditor -q -rendererOverrideName modelPanel4"), "");
    EXPECT_EQ(*changed, 1);
    EXPECT_EQ(result("currentCtx"), "");
    EXPECT_EQ(views().tools().find(tool), nullptr);
    EXPECT_FALSE(run("viewTestCtx"));

    // Nothing of the module is called any more.
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(activePanel().frame.operations, Contains("scenePass"));
    EXPECT_FALSE(run("hostInput -press -x 1 -y 1"));

    // And it loads again as new.
    ASSERT_TRUE(run("loadPlugin viewTestPlugin")) << lastError();
    EXPECT_EQ(result("viewTestCtx"), "viewTestCtx1");
}

}  // namespace

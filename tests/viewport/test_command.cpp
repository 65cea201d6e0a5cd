// The "PlexwendViewport" command: every call sets every parameter (a flag not
// given goes back to off, zero or empty), the scene filter through its table,
// and a call that fails changes nothing.

#include "tests/viewport/VintrelFixture.h"

#include "viewport/OverrideParameters.h"

namespace {

class VintrelCommandTest : public VintrelTest {
protected:
    void setEverything() {
        ASSERT_TRUE(run("sets -em -n cutSet"));
        ASSERT_TRUE(
            run("PlexwendViewport -so 1 -os cutSet -sf 6 -su 1 -uu 1 -ul 1 -pd 1 -vr 1 -db 1"));
    }
    void expectEverythingSet() {
        const OverrideParameters& p = parameters();
        EXPECT_TRUE(p.shaderOverride);
        EXPECT_EQ(p.objectSet, MString("cutSet"));
        EXPECT_EQ(p.sceneFilter, 9u);
        EXPECT_TRUE(p.sceneUIDrawables);
        EXPECT_TRUE(p.userUIDrawables);
        EXPECT_TRUE(p.userUILightData);
        EXPECT_TRUE(p.presentDepth);
        EXPECT_TRUE(p.viewportRectangle);
    }
    static void expectAllButTheFilterReset() {
        const OverrideParameters& p = parameters();
        EXPECT_FALSE(p.shaderOverride);
        EXPECT_EQ(p.objectSet, MString());
        EXPECT_FALSE(p.sceneUIDrawables);
        EXPECT_FALSE(p.userUIDrawables);
        EXPECT_FALSE(p.userUILightData);
        EXPECT_FALSE(p.presentDepth);
        EXPECT_FALSE(p.viewportRectangle);
        EXPECT_EQ(p.clearMask, -1);
    }
};

TEST_F(VintrelCommandTest, EveryFlagSetsItsParameterByShortAndLongName) {
    setEverything();
    expectEverythingSet();
    ASSERT_TRUE(
        run("PlexwendViewport -shaderOverride on -objectSet cutSet -sceneFilter 6 "
            "-sceneUIDrawables true -userUIDrawables yes -userUILightData 1 "
            "-presentDepth 1 -viewportRectangle 1 -debug 0"));
    expectEverythingSet();
}

TEST_F(VintrelCommandTest, OnlySceneFilterFourGivesAllShadedItemsAndResetsTheRest) {
    setEverything();
    ASSERT_TRUE(run("PlexwendViewport -sf 4"));
    EXPECT_EQ(parameters().sceneFilter, 6u);
    expectAllButTheFilterReset();
    // The next frame hands the values to the operations.
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(override()->sceneOperation().sceneFilter(), 6u);
    EXPECT_EQ(override()->sceneOperation().objectSetName(), MString());
    EXPECT_FALSE(override()->hudOperation().viewportRectangle());
}

TEST_F(VintrelCommandTest, ASceneFilterOutsideTheTableKeepsTheFilterButResetsTheRest) {
    setEverything();
    ASSERT_TRUE(run("PlexwendViewport -sf 9"));
    EXPECT_EQ(parameters().sceneFilter, 9u);  // still the all-UI option from "-sf 6"
    expectAllButTheFilterReset();
    ASSERT_TRUE(run("PlexwendViewport -sf 7 -uu 1"));
    EXPECT_EQ(parameters().sceneFilter, 9u);
    EXPECT_TRUE(parameters().userUIDrawables);
}

TEST_F(VintrelCommandTest, TheSceneFilterTableGivesTheHostsOptions) {
    const unsigned int expected[] = {0, 1, 2, 4, 6, 8, 9};
    for (int value = 0; value <= 6; ++value) {
        ASSERT_TRUE(run("PlexwendViewport -sf " + std::to_string(value)));
        EXPECT_EQ(parameters().sceneFilter, expected[value]) << value;
    }
    unsigned int option = 77;
    EXPECT_FALSE(sceneFilterOption(7, option));
    EXPECT_FALSE(sceneFilterOption(-1, option));
    EXPECT_EQ(option, 77u);
}

TEST_F(VintrelCommandTest, AFlagGivenLastShowsTheErrorAndChangesNothing) {
    setEverything();
    const auto errors = errorCount();
    EXPECT_FALSE(run("PlexwendViewport -so 0 -os"));
    EXPECT_EQ(errorCount(), errors + 1);
    EXPECT_EQ(lastError(), "-os: must specify a value for -objectSet");
    expectEverythingSet();

    EXPECT_FALSE(run("PlexwendViewport -so"));
    EXPECT_EQ(lastError(), "-so: must specify a value for -shaderOverride");
    EXPECT_FALSE(run("PlexwendViewport -uu 0 -presentDepth"));
    EXPECT_EQ(lastError(), "-presentDepth: must specify a value for -presentDepth");
    expectEverythingSet();
}

TEST_F(VintrelCommandTest, AnArgumentThatIsNoFlagIsSkipped) {
    ASSERT_TRUE(run("PlexwendViewport -so 1 stray -pd 1 -zz 7 -vr 1"));
    EXPECT_TRUE(parameters().shaderOverride);
    EXPECT_TRUE(parameters().presentDepth);
    EXPECT_TRUE(parameters().viewportRectangle);
    EXPECT_FALSE(parameters().userUIDrawables);
    // A flag's value is taken as its value even when it reads like a flag name.
    ASSERT_TRUE(run("PlexwendViewport -os -pd"));
    EXPECT_EQ(parameters().objectSet, MString("-pd"));
    EXPECT_FALSE(parameters().presentDepth);
}

TEST_F(VintrelCommandTest, AValueThatDoesNotReadAsTheFlagsTypeFailsAndChangesNothing) {
    setEverything();
    EXPECT_FALSE(run("PlexwendViewport -so maybe"));
    EXPECT_EQ(lastError(), "-so: invalid value maybe for -shaderOverride");
    EXPECT_FALSE(run("PlexwendViewport -sf -1"));
    EXPECT_EQ(lastError(), "-sf: invalid value -1 for -sceneFilter");
    EXPECT_FALSE(run("PlexwendViewport -sceneFilter four"));
    EXPECT_EQ(lastError(), "-sceneFilter: invalid value four for -sceneFilter");
    expectEverythingSet();
}

TEST_F(VintrelCommandTest, WithoutTheOverrideTheCommandFailsSilently) {
    auto* ours = const_cast<MRenderOverrideTester*>(override());
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    ASSERT_TRUE(renderer->deregisterOverride(ours));
    const auto errors = errorCount();
    EXPECT_FALSE(run("PlexwendViewport -so 1"));
    // Only the host's own report of a failed command; the plug-in shows nothing.
    EXPECT_EQ(errorCount(), errors + 1);
    EXPECT_EQ(lastError(), "PlexwendViewport: Unexpected Internal Failure");
    EXPECT_FALSE(ours->parameters().shaderOverride);
    // Back in place, so that unloading finds it.
    ASSERT_TRUE(renderer->registerOverride(ours));
}

}  // namespace

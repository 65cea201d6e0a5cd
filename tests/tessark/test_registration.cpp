#include <maya/MGlobal.h>

#include <cstdio>
#include <string>

#include "tests/tessark/TessarkFixture.h"

namespace {

struct Registered {
    bool railNode, patchNode, patchCommand;
    unsigned railId, patchId;
};

Registered registered() {
    auto& reg = ehost::session().registry();
    auto* rail = reg.findClass("Tessark");
    auto* patch = reg.findClass("kvPatchNode");
    return {rail != nullptr, patch != nullptr,
            ehost::session().commands().find("kvPatchCmd") != nullptr,
            rail ? rail->typeId.id() : 0u, patch ? patch->typeId.id() : 0u};
}

std::string loadedInfo(const std::string& name, std::string ehost::PluginInfo::*field) {
    for (const auto& p : ehost::loadedPlugins())
        if (p.name == name) return p.*field;
    return "";
}

TEST_F(TessarkTest, LoadingUnloadingAndLoadingAgainRegistersTheSameThings) {
    for (int round = 0; round < 2; ++round) {
        Registered r = registered();
        EXPECT_TRUE(r.railNode && r.patchNode && r.patchCommand);
        EXPECT_EQ(r.railId, 0x80025u);
        EXPECT_EQ(r.patchId, 0x80026u);
        EXPECT_EQ(ehost::session().registry().findClass("Tessark")->classification,
                  "drawdb/geometry/Tessark");
        EXPECT_EQ(ehost::session().registry().findClass("Tessark")->kind, MFn::kPluginLocatorNode);
        EXPECT_EQ(ehost::session().registry().findClass("kvPatchNode")->classification, "");
        EXPECT_EQ(loadedInfo("Tessark_2020", &ehost::PluginInfo::vendor), "Plexwend");
        EXPECT_EQ(loadedInfo("Tessark_2020", &ehost::PluginInfo::version), "0.7");
        ASSERT_TRUE(ehost::unloadPlugin("Tessark_2020"));
        Registered gone = registered();
        EXPECT_FALSE(gone.railNode || gone.patchNode || gone.patchCommand);
        ASSERT_TRUE(ehost::loadPlugin("Tessark_2020"));
    }
}

TEST_F(TessarkTest, EachBuildExportsItsHostApiVersion) {
    ASSERT_TRUE(ehost::unloadPlugin("Tessark_2020"));
    const std::pair<const char*, const char*> builds[] = {
        {"Tessark_2018", "20180300"}, {"Tessark_2019", "20190200"}, {"Tessark_2020", "20200000"}};
    for (const auto& [name, version] : builds) {
        ASSERT_TRUE(ehost::loadPlugin(name)) << name;
        EXPECT_EQ(loadedInfo(name, &ehost::PluginInfo::apiVersion), version);
        EXPECT_TRUE(registered().railNode);
        if (std::string(name) != "Tessark_2020") {
            ASSERT_TRUE(ehost::unloadPlugin(name));
        }
    }
}

TEST_F(TessarkTest, ARefusedDrawOverrideLeavesTheNodeTypeAndStopsThere) {
    ASSERT_TRUE(ehost::unloadPlugin("Tessark_2020"));
    ehost::refuseRegistration(ehost::RegistrationKind::DrawOverride, "drawdb/geometry/Tessark");
    testing::internal::CaptureStderr();
    MStatus st = ehost::loadPlugin("Tessark_2020");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(st);
    EXPECT_NE(err.find("registerDrawOverrideCreator: "), std::string::npos) << err;
    Registered r = registered();
    EXPECT_TRUE(r.railNode);
    EXPECT_FALSE(r.patchCommand);
    EXPECT_FALSE(r.patchNode);
    ehost::clearRefusals();
    // Unloading cleans up after the partial registration, and a new load works.
    testing::internal::CaptureStderr();
    ehost::unloadPlugin("Tessark_2020");
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(ehost::loadPlugin("Tessark_2020"));
    EXPECT_TRUE(registered().patchNode);
}

TEST_F(TessarkTest, TheContextCommandComesWithItsToolCommand) {
    EXPECT_NE(ehost::session().commands().find("TessarkContext"), nullptr);
    EXPECT_NE(ehost::session().commands().find("TessarkCmd"), nullptr);
    ASSERT_TRUE(ehost::unloadPlugin("Tessark_2020"));
    EXPECT_EQ(ehost::session().commands().find("TessarkContext"), nullptr);
    EXPECT_EQ(ehost::session().commands().find("TessarkCmd"), nullptr);
    ASSERT_TRUE(ehost::loadPlugin("Tessark_2020"));
}

TEST_F(TessarkTest, ARefusedContextCommandStopsBeforeThePatchCommand) {
    ASSERT_TRUE(ehost::unloadPlugin("Tessark_2020"));
    ehost::refuseRegistration(ehost::RegistrationKind::ContextCommand, "TessarkContext");
    testing::internal::CaptureStderr();
    MStatus st = ehost::loadPlugin("Tessark_2020");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(st);
    EXPECT_NE(err.find("TessarkContext, registerCommand failed"), std::string::npos) << err;
    Registered r = registered();
    EXPECT_TRUE(r.railNode);
    EXPECT_FALSE(r.patchCommand);
    EXPECT_FALSE(r.patchNode);
    ehost::clearRefusals();
    // Unloading the partial registration: the context command's failure is only
    // reported, the patch command's stops the deregistration.
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    ehost::unloadPlugin("Tessark_2020");
    std::string out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("TessarkContext, deregisterCommand failed"), std::string::npos) << err;
    EXPECT_NE(out.find("error deregistration"), std::string::npos) << out;
    EXPECT_NE(err.find("kvPatchCmd deregistering failed"), std::string::npos) << err;
    ASSERT_TRUE(ehost::loadPlugin("Tessark_2020"));
    EXPECT_TRUE(registered().patchNode);
}

TEST_F(TessarkTest, UnloadingIsRefusedWhileARailNodeExists) {
    ASSERT_TRUE(run("createNode Tessark -n rail"));
    EXPECT_FALSE(ehost::unloadPlugin("Tessark_2020"));
    EXPECT_TRUE(registered().railNode);
    ASSERT_TRUE(run("delete rail; delete transform1"));
    EXPECT_TRUE(ehost::unloadPlugin("Tessark_2020"));
    ASSERT_TRUE(ehost::loadPlugin("Tessark_2020"));
}

}  // namespace

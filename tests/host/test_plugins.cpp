// Plug-in modules loaded as the real host loads them: by name on the plug-in
// path or by file path, entry points run, what they register is recorded and
// removed again, and loading failures are reported clearly.

#include <gmock/gmock.h>

#include <maya/MCommandResult.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dg/Scene.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/plugin/Refusal.h"
#include "host/src/session/Session.h"
#include "tests/host/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const std::string kPluginDir = TESSARK_TEST_PLUGIN_DIR;
constexpr unsigned kScaleNodeId = 0x0007F1A0;

//! The status text without its "(kCode): " prefix.
std::string detail(const MStatus& st) {
    std::string text = st.errorString().str();
    auto close = text.find("): ");
    return close == std::string::npos ? text : text.substr(close + 3);
}

const ehost::PluginInfo* findInfo(const std::string& name) {
    static std::vector<ehost::PluginInfo> infos;
    infos = ehost::loadedPlugins();
    for (const auto& p : infos)
        if (p.name == name) return &p;
    return nullptr;
}

class PluginTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ehost::setPluginPath({kPluginDir});
    }
    void TearDown() override {
        ehost::clearRefusals();
        ehost::session().newScene();
        for (const auto& p : ehost::loadedPlugins()) ehost::unloadPlugin(p.name);
        ehost::setPluginPath({});
        HostTest::TearDown();
    }

    MStatus run(const std::string& text, MCommandResult* result = nullptr) {
        return ehost::runCommands(text, {false, true}, result);
    }
    std::string result(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastMessage(ehost::MessageLog::Kind::Error);
        return r.stringResult().str();
    }
    std::string lastMessage(ehost::MessageLog::Kind kind) {
        const auto& e = ehost::session().messages().entries();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->kind == kind) return it->text;
        return "";
    }
    bool scaleRegistered() {
        return ehost::session().registry().findClass("hostTestScale") != nullptr;
    }
    bool setCommandRegistered() {
        return ehost::session().commands().find("hostTestSet") != nullptr;
    }
};

TEST_F(PluginTest, LoadsByNameFromThePluginPathAndRunsBothEntryPoints) {
    std::string name;
    MStatus st = ehost::loadPlugin("hostTestPlugin", &name);
    ASSERT_TRUE(st) << detail(st);
    EXPECT_EQ(name, "hostTestPlugin");
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Info),
              "initializePlugin hostTestPlugin api 20200000");
    const ehost::PluginInfo* info = findInfo("hostTestPlugin");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->path, (fs::path(kPluginDir) / "hostTestPlugin.so").string());
    EXPECT_EQ(info->vendor, "Tessark tests");
    EXPECT_EQ(info->version, "1.2");
    EXPECT_EQ(info->apiVersion, "20200000");
    EXPECT_TRUE(ehost::isPluginLoaded("hostTestPlugin"));
    EXPECT_TRUE(scaleRegistered());
    EXPECT_EQ(ehost::pluginOfNodeType("hostTestScale"), "hostTestPlugin");
    ASSERT_TRUE(setCommandRegistered());
    EXPECT_EQ(ehost::session().commands().find("hostTestSet")->plugin, "hostTestPlugin");

    st = ehost::unloadPlugin("hostTestPlugin");
    ASSERT_TRUE(st) << detail(st);
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Info), "uninitializePlugin hostTestPlugin");
    EXPECT_FALSE(ehost::isPluginLoaded("hostTestPlugin"));
    EXPECT_FALSE(scaleRegistered());
    EXPECT_FALSE(setCommandRegistered());
}

// Found by fuzzing (fuzz/corpus/command_run/display_session-display-compact,
// a leak): a session that ended left its plug-ins initialized, so what a
// plug-in keeps until uninitializePlugin (Vintrel's render override) was
// never freed, and a new session's loadPlugin initialized it over the old.
TEST_F(PluginTest, StoppingTheSessionUninitializesItsPluginsLastLoadedFirst) {
    ASSERT_TRUE(ehost::loadPlugin("hostTestPlugin"));
    ASSERT_TRUE(ehost::loadPlugin("viewTestPlugin"));
    result("createNode hostTestScale -n scaled");
    ehost::session().messages().echo = true;
    ::testing::internal::CaptureStdout();
    ehost::stopSession();
    const std::string printed = ::testing::internal::GetCapturedStdout();
    ehost::startIsolatedSession();
    ehost::session().messages().echo = false;
    ehost::setPluginPath({kPluginDir});
    EXPECT_THAT(printed, HasSubstr("uninitializePlugin hostTestPlugin"))
        << "the node of its type went with the scene first";
    EXPECT_FALSE(ehost::isPluginLoaded("hostTestPlugin"));
    EXPECT_FALSE(ehost::isPluginLoaded("viewTestPlugin"));
    // The new session loads the module afresh.
    ASSERT_TRUE(ehost::loadPlugin("hostTestPlugin"));
    EXPECT_TRUE(scaleRegistered());
}

TEST_F(PluginTest, LoadsByFilePathAndReadsTheModulesApiVersion) {
    ehost::setPluginPath({});
    std::string path = (fs::path(kPluginDir) / "hostTestPlugin_2019.so").string();
    std::string name;
    MStatus st = ehost::loadPlugin(path, &name);
    ASSERT_TRUE(st) << detail(st);
    EXPECT_EQ(name, "hostTestPlugin_2019");
    const ehost::PluginInfo* info = findInfo(name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->path, path);
    EXPECT_EQ(info->apiVersion, "20190000");
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Info),
              "initializePlugin hostTestPlugin_2019 api 20190000");
    // Loading again, by name or path, is no second initialization.
    ehost::session().messages().clear();
    ehost::setPluginPath({kPluginDir});
    EXPECT_TRUE(ehost::loadPlugin("hostTestPlugin_2019"));
    EXPECT_TRUE(ehost::loadPlugin(path));
    EXPECT_TRUE(ehost::session().messages().entries().empty());
    EXPECT_EQ(ehost::loadedPlugins().size(), 1u);
}

TEST_F(PluginTest, LoadUnloadAndLoadAgainRegisterTheSameNamesAndIds) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(ehost::loadPlugin("hostTestPlugin"));
        ehost::NodeClass* cls = ehost::session().registry().findClass("hostTestScale");
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->typeId.id(), kScaleNodeId);
        EXPECT_EQ(ehost::session().registry().findClass(MTypeId(kScaleNodeId)), cls);
        EXPECT_TRUE(setCommandRegistered());
        // The freshly loaded code runs: a node of the type computes.
        EXPECT_EQ(result("createNode hostTestScale -n s; setAttr s.input 1.5; getAttr s.output"),
                  "3");
        ASSERT_TRUE(run("delete s"));
        ASSERT_TRUE(ehost::unloadPlugin("hostTestPlugin"));
        EXPECT_FALSE(scaleRegistered());
        EXPECT_FALSE(setCommandRegistered());
    }
}

TEST_F(PluginTest, PluginNodesComputeAndPluginCommandsUndoAndRedo) {
    ASSERT_TRUE(run("loadPlugin hostTestPlugin"));
    EXPECT_EQ(result("createNode hostTestScale -n s"), "s");
    EXPECT_EQ(result("setAttr s.input 3; getAttr s.output"), "6");
    EXPECT_EQ(result("setAttr s.factor -0.5; getAttr s.output"), "-1.5");
    EXPECT_EQ(result("hostTestSet -value 5 s"), "3") << "the result is the previous input";
    EXPECT_EQ(result("getAttr s.output"), "-2.5");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("getAttr s.input"), "3");
    EXPECT_EQ(result("getAttr s.output"), "-1.5");
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(result("getAttr s.output"), "-2.5");

    EXPECT_FALSE(run("hostTestSet s"));
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Error),
              "hostTestSet: -value: must specify a value for ");
    EXPECT_FALSE(run("hostTestSet -v 1 noSuchNode"));
    EXPECT_EQ(result("getAttr s.input"), "5") << "a failed command changes nothing";
}

TEST_F(PluginTest, UnloadIsRefusedWhileANodeOfItsTypeExists) {
    ASSERT_TRUE(ehost::loadPlugin("hostTestPlugin"));
    ASSERT_TRUE(run("createNode hostTestScale -n s"));
    MStatus st = ehost::unloadPlugin("hostTestPlugin");
    EXPECT_FALSE(st);
    EXPECT_EQ(
        detail(st),
        "plug-in hostTestPlugin is in use: node s is of type hostTestScale (delete it first)");
    EXPECT_TRUE(ehost::isPluginLoaded("hostTestPlugin"));
    EXPECT_TRUE(scaleRegistered());
    EXPECT_TRUE(setCommandRegistered());
    EXPECT_EQ(result("setAttr s.input 2; getAttr s.output"), "4")
        << "the refused unload left the module working";

    EXPECT_FALSE(run("unloadPlugin hostTestPlugin"));
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Error),
              "unloadPlugin: plug-in hostTestPlugin is in use: node s is of type hostTestScale "
              "(delete it first)");

    ASSERT_TRUE(run("delete s"));
    st = ehost::unloadPlugin("hostTestPlugin");
    EXPECT_TRUE(st) << detail(st);
    EXPECT_FALSE(scaleRegistered());
}

TEST_F(PluginTest, ARefusedRegistrationFailsInitializationAndKeepsEarlierRegistrations) {
    ehost::refuseRegistration(ehost::RegistrationKind::Command, "hostTestSet");
    MStatus st = ehost::loadPlugin("hostTestPlugin");
    EXPECT_FALSE(st);
    EXPECT_THAT(detail(st), HasSubstr("initializePlugin of hostTestPlugin failed"));
    EXPECT_THAT(detail(st), HasSubstr("the host refused to register command hostTestSet"));
    // The node type was registered before the refusal and stays, owned by the module.
    EXPECT_TRUE(scaleRegistered());
    EXPECT_FALSE(setCommandRegistered());
    EXPECT_TRUE(ehost::isPluginLoaded("hostTestPlugin"));
    EXPECT_EQ(ehost::pluginOfNodeType("hostTestScale"), "hostTestPlugin");

    // Unloading removes what it did register; with the refusal gone it loads whole.
    ehost::unloadPlugin("hostTestPlugin");
    EXPECT_FALSE(scaleRegistered());
    ehost::clearRefusals();
    ASSERT_TRUE(ehost::loadPlugin("hostTestPlugin"));
    EXPECT_TRUE(scaleRegistered());
    EXPECT_TRUE(setCommandRegistered());
}

TEST_F(PluginTest, RefusingTheFirstRegistrationLeavesNothingRegistered) {
    ASSERT_TRUE(run("hostRefuseRegistration -kind node hostTestScale"));
    EXPECT_FALSE(run("loadPlugin hostTestPlugin"));
    EXPECT_THAT(lastMessage(ehost::MessageLog::Kind::Error),
                HasSubstr("the host refused to register node type hostTestScale"));
    EXPECT_FALSE(scaleRegistered());
    EXPECT_FALSE(setCommandRegistered());
    EXPECT_FALSE(run("hostRefuseRegistration -kind widget x"));
    EXPECT_THAT(lastMessage(ehost::MessageLog::Kind::Error), HasSubstr("unknown kind \"widget\""));
}

TEST_F(PluginTest, TwoBuildsOfOnePluginConflictWithoutDisturbingTheFirst) {
    ASSERT_TRUE(ehost::loadPlugin("hostTestPlugin"));
    MStatus st = ehost::loadPlugin("hostTestPlugin_2019");
    EXPECT_FALSE(st);
    EXPECT_THAT(detail(st), HasSubstr("node type hostTestScale is already registered"));
    // Unloading the failed build must not take the first build's registrations along.
    ehost::unloadPlugin("hostTestPlugin_2019");
    EXPECT_FALSE(ehost::isPluginLoaded("hostTestPlugin_2019"));
    EXPECT_TRUE(scaleRegistered());
    EXPECT_TRUE(setCommandRegistered());
    EXPECT_EQ(ehost::pluginOfNodeType("hostTestScale"), "hostTestPlugin");
    EXPECT_EQ(result("createNode hostTestScale -n s; setAttr s.input 4; getAttr s.output"), "8");
}

TEST_F(PluginTest, PluginInfoReportsWhatTheModuleDeclared) {
    ASSERT_TRUE(run("loadPlugin hostTestPlugin"));
    EXPECT_EQ(result("pluginInfo -q -vendor hostTestPlugin"), "Tessark tests");
    EXPECT_EQ(result("pluginInfo -q -version hostTestPlugin"), "1.2");
    EXPECT_EQ(result("pluginInfo -q -path hostTestPlugin"),
              (fs::path(kPluginDir) / "hostTestPlugin.so").string());
    EXPECT_EQ(result("pluginInfo -q -loaded hostTestPlugin"), "1");
    EXPECT_EQ(result("pluginInfo -q -loaded hostTestPlugin_2019"), "0");
    EXPECT_EQ(result("pluginInfo -q hostTestPlugin"), "20200000");
}

TEST_F(PluginTest, MissingModulesAndModulesThatAreNoPluginsAreRefusedClearly) {
    MStatus st = ehost::loadPlugin("noSuchPlugin");
    EXPECT_FALSE(st);
    EXPECT_EQ(detail(st), "plug-in \"noSuchPlugin\" was not found on the plug-in path " +
                              kPluginDir + ":" + ehost::pluginPath().back());

    st = ehost::loadPlugin("/no/such/dir/thing.so");
    EXPECT_FALSE(st);
    EXPECT_EQ(detail(st), "plug-in \"/no/such/dir/thing.so\" was not found");

    st = ehost::loadPlugin("notAPlugin");
    EXPECT_FALSE(st);
    EXPECT_EQ(detail(st), (fs::path(kPluginDir) / "notAPlugin.so").string() +
                              " is not a plug-in: it lacks initializePlugin or uninitializePlugin");
    EXPECT_FALSE(ehost::isPluginLoaded("notAPlugin"));

    // A file that is no shared library at all.
    fs::path dir = fs::temp_directory_path() / ("tessark-plugins-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string fake = (dir / "garbage.so").string();
    std::ofstream(fake) << "not an ELF file\n";
    st = ehost::loadPlugin(fake);
    EXPECT_FALSE(st);
    EXPECT_THAT(detail(st), HasSubstr("cannot open plug-in " + fake + ": "));
    EXPECT_FALSE(ehost::isPluginLoaded("garbage"));
    fs::remove_all(dir);

    st = ehost::unloadPlugin("hostTestPlugin");
    EXPECT_EQ(detail(st), "plug-in \"hostTestPlugin\" is not loaded");

    EXPECT_FALSE(run("loadPlugin noSuchPlugin"));
    EXPECT_THAT(lastMessage(ehost::MessageLog::Kind::Error),
                HasSubstr("loadPlugin: plug-in \"noSuchPlugin\" was not found"));
    EXPECT_TRUE(ehost::loadedPlugins().empty());
}

TEST(PluginPath, ListsTheGivenDirectoriesThenTheOneBesideTheHostLibrary) {
    ehost::setPluginPath({"/a", "/b"});
    std::vector<std::string> path = ehost::pluginPath();
    ehost::setPluginPath({});
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(path[0], "/a");
    EXPECT_EQ(path[1], "/b");
    EXPECT_EQ(fs::path(path[2]).filename(), "plug-ins");
}

}  // namespace

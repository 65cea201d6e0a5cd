// A plug-in written from the API reference alone (plugins/SceneAuditPlugin.cpp)
// loaded and used as its author would: it compiled here unchanged, and its
// walks, callbacks, dynamic attributes and handles behave as documented.

#include <gmock/gmock.h>

#include <maya/MCommandResult.h>
#include <maya/MStringArray.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/session/Session.h"
#include "tests/host/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class AuthorPluginTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ehost::setPluginPath({TESSARK_TEST_PLUGIN_DIR});
        ASSERT_TRUE(ehost::loadPlugin("sceneAuditPlugin"));
    }
    void TearDown() override {
        ehost::session().newScene();
        for (const auto& p : ehost::loadedPlugins()) ehost::unloadPlugin(p.name);
        ehost::setPluginPath({});
        HostTest::TearDown();
    }

    bool run(const std::string& text, MCommandResult* result = nullptr) {
        return static_cast<bool>(ehost::runCommands(text, {false, true}, result));
    }
    std::vector<std::string> strings(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        MStringArray a;
        std::vector<std::string> out;
        if (r.resultType() == MCommandResult::kStringArray) {
            r.getResult(a);
            for (unsigned i = 0; i < a.length(); ++i) out.push_back(a[i].asChar());
        } else {
            out.push_back(r.stringResult().asChar());
        }
        return out;
    }
    std::string one(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        return r.stringResult().asChar();
    }
    std::string lastError() {
        const auto& e = ehost::session().messages().entries();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->kind == ehost::MessageLog::Kind::Error) return it->text;
        return "";
    }
};

TEST_F(AuthorPluginTest, WalksTheMeshesWithTheirWorldBoxes) {
    ASSERT_TRUE(
        run("polyCube -n box; polyCube -n crate -w 2 -h 4 -d 6; parent crate box; "
            "setAttr box.translate 1 2 3; setAttr crate.scale 0.5 0.5 0.5"));
    EXPECT_THAT(strings("auditMeshes"), ElementsAre("|box|boxShape 0.5 1.5 2.5 1.5 2.5 3.5",
                                                    "|box|crate|crateShape 0.5 1 1.5 1.5 3 4.5"));
}

TEST_F(AuthorPluginTest, HearsNodesAddedRemovedChangedAndTheSceneRenewedAndSaved) {
    ASSERT_TRUE(run("auditWatch -start; polyCube -n box; setAttr box.tx 4; delete box"));
    std::vector<std::string> log = strings("auditWatch -q");
    EXPECT_THAT(log, Contains("added transform"));
    EXPECT_THAT(log, Contains("added mesh"));
    EXPECT_THAT(log, Contains("set box.translateX"));
    EXPECT_THAT(log, Contains("removed box"));

    const fs::path dir = fs::temp_directory_path() / ("audit-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "audited.tsk").string();
    ASSERT_TRUE(run("file -rename \"" + file + "\"; file -save; file -new -f"));
    log = strings("auditWatch -q");
    EXPECT_THAT(log, Contains("before save " + file));
    EXPECT_EQ(log.back(), "after new");

    // Stopped, it hears nothing more; unloaded, nothing of it is called.
    ASSERT_TRUE(run("auditWatch -stop; polyCube -n quiet; setAttr quiet.tx 1"));
    EXPECT_EQ(strings("auditWatch -q"), log);
    ASSERT_TRUE(run("auditWatch -start"));
    ASSERT_TRUE(ehost::unloadPlugin("sceneAuditPlugin"));
    EXPECT_TRUE(run("polyCube -n afterUnload; delete afterUnload; file -new -f"));
    fs::remove_all(dir);
}

TEST_F(AuthorPluginTest, TagsTheSelectionWithADynamicAttributeThatUndoAndRedoFollow) {
    ASSERT_TRUE(run("polyCube -n box; polyCube -n crate; select box crate"));
    ASSERT_TRUE(run("auditTag -ln weight -v 0.25"));
    EXPECT_EQ(one("getAttr box.weight"), "0.25");
    EXPECT_EQ(one("getAttr crate.weight"), "0.25");

    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(one("attributeQuery -ex -n box weight"), "0");
    EXPECT_EQ(one("attributeQuery -ex -n crate weight"), "0");
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(one("getAttr crate.weight"), "0.25");

    // Tagged again: each node keeps its attribute, with a warning; nothing selected: an error.
    EXPECT_FALSE(run("auditTag -ln weight -v 2"));
    EXPECT_EQ(one("getAttr box.weight"), "0.25");
    ASSERT_TRUE(run("select -cl"));
    EXPECT_FALSE(run("auditTag -ln other"));
    EXPECT_THAT(lastError(), HasSubstr("select the nodes to tag"));
}

TEST_F(AuthorPluginTest, FollowsTheGraphDownstreamAndKeepsHandlesThroughDeleteAndUndo) {
    ASSERT_TRUE(run("polyCube -n box"));
    EXPECT_THAT(strings("auditDownstream polyCube1"), Contains("boxShape"));
    EXPECT_FALSE(run("auditDownstream noSuchNode"));
    EXPECT_THAT(lastError(), HasSubstr("no node noSuchNode"));

    ASSERT_TRUE(run("auditHandle -remember boxShape"));
    EXPECT_EQ(one("auditHandle -q"), "valid");
    ASSERT_TRUE(run("delete box"));
    EXPECT_EQ(one("auditHandle -q"), "alive");  // deleted, kept by the undo queue
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(one("auditHandle -q"), "valid");
    ASSERT_TRUE(run("file -new -f"));
    EXPECT_EQ(one("auditHandle -q"), "gone");
}

}  // namespace

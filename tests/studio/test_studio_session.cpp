// The studio's session on the host, in process: set up on a small blob,
// driven by the page's messages. Two strokes and ENTER make 144 quads on the
// source; whatever the page sends out of turn is refused with its reason and
// changes nothing; a page that goes away in the middle of a drag leaves the
// tool able to go on.

#include <gtest/gtest.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "host/src/session/Application.h"
#include "studio/BlobSource.h"
#include "studio/StudioSession.h"

namespace {

namespace fs = std::filesystem;
namespace app = ehost::application;
using namespace tessark_studio;
using nlohmann::json;

//! The tests' own folder (preferences, sources), gone when the program ends.
fs::path scratch() {
    struct Folder {
        Folder() {
            std::string pattern = (fs::temp_directory_path() / "studio-test.XXXXXX").string();
            if (::mkdtemp(pattern.data())) path = pattern;
        }
        ~Folder() {
            std::error_code ec;
            if (!path.empty()) fs::remove_all(path, ec);
        }
        fs::path path;
    };
    static Folder folder;
    return folder.path;
}

//! The text of the last result a command showed.
std::string resultOf(const std::string& text) {
    app::clearMessages();
    app::RunOptions options;
    options.undoable = false;
    if (!app::run(text, options).ok) return "(failed)";
    std::string result;
    for (const auto& m : app::messages())
        if (m.kind == app::Message::Kind::Result) result = m.text;
    return result;
}

json only(const std::vector<Outgoing>& out) {
    EXPECT_EQ(out.size(), 1u);
    return out.empty() ? json() : json::parse(out.back().data);
}

class StudioSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app::start((scratch() / "prefs").string(), {});
        app::setEcho(false);
        std::string why;
        ASSERT_TRUE(writeBlobObj((scratch() / "blob.obj").string(), {61, 120}, why)) << why;
    }

    void SetUp() override {
        app::RunOptions options;
        options.undoable = false;
        // Span counts set by an earlier test are option variables: gone too.
        app::run("file -new -force; optionVar -rm kv_uspan; optionVar -rm kv_vspan", options);
        StudioSetup setup;
        setup.source = (scratch() / "blob.obj").string();
        setup.context = "studioTest" + std::to_string(++contexts);
        std::string why;
        ASSERT_TRUE(session.setUp(setup, why)) << why;
        session.pageOpened();
        std::vector<Outgoing> hello =
            session.handle(R"({"type":"hello","width":960,"height":720})");
        ASSERT_FALSE(hello.empty());
        welcome = json::parse(hello[0].data);
    }

    std::vector<Outgoing> send(const json& message) { return session.handle(message.dump()); }

    std::vector<Outgoing> pointer(const char* event, double x, double y,
                                  const char* button = "left") {
        return send(
            {{"type", "pointer"}, {"event", event}, {"button", button}, {"x", x}, {"y", y}});
    }

    void stroke(double x) {
        pointer("press", x, 200);
        for (int i = 1; i <= 20; ++i) pointer("drag", x, 200 + 16 * i);
        pointer("release", x, 520);
    }

    static inline int contexts = 0;
    StudioSession session;
    json welcome;
};

TEST_F(StudioSessionTest, TheWelcomeNamesTheSessionAndTheFirstFrameIsWhole) {
    EXPECT_EQ(welcome["type"], "welcome");
    EXPECT_EQ(welcome["source"], "blob");
    EXPECT_EQ(welcome["rail"], "rail");
    EXPECT_EQ(welcome["context"], session.contextName());
    EXPECT_EQ(resultOf("polyEvaluate -f blob"), "14400");
    EXPECT_EQ(resultOf("currentCtx"), session.contextName());
    EXPECT_EQ(resultOf("modelEditor -q -rendererOverrideName modelPanel4"), "PlexwendViewport");

    ASSERT_TRUE(session.frameWanted());
    std::vector<Outgoing> first = session.frame();
    EXPECT_FALSE(session.frameWanted());
    ASSERT_GE(first.size(), 2u);
    ASSERT_TRUE(first[0].binary);
    const json frame = json::parse(first.back().data);
    EXPECT_EQ(frame["type"], "frame");
    EXPECT_EQ(frame["camera"]["width"], 960);
    EXPECT_EQ(frame["camera"]["height"], 720);
    EXPECT_EQ(frame["renderer"], "PlexwendViewport");
    ASSERT_EQ(frame["meshes"].size(), 1u);
    EXPECT_EQ(frame["meshes"][0]["path"], "|blob|blobShape");
    EXPECT_GT(session.lastSentGroups(), 0);

    // Nothing changed: no geometry, no group again.
    std::vector<Outgoing> next = session.frame();
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(session.lastSentGroups(), 0);
}

TEST_F(StudioSessionTest, TwoStrokesAndEnterMake144QuadsOnTheSourceAndUndoTakesThemBack) {
    stroke(330);
    stroke(630);
    send({{"type", "key"}, {"key", "enter"}});
    EXPECT_EQ(resultOf("polyEvaluate -f kvMeshShape"), "144");
    app::clearMessages();
    app::RunOptions quiet;
    quiet.undoable = false;
    app::run("hostReport -summary -surface blob -tolerance 0.001", quiet);
    std::string summary;
    for (const auto& m : app::messages()) summary += m.text + "\n";
    EXPECT_NE(summary.find(": 144 quads, 0 other polygons, 169 vertices"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find(": 169 of 169 vertices within 0.001"), std::string::npos) << summary;

    // The frame carries the new mesh's geometry and the overlay on it.
    std::vector<Outgoing> frame = session.frame();
    const json shown = json::parse(frame.back().data);
    ASSERT_EQ(shown["meshes"].size(), 2u);

    send({{"type", "undo"}});
    EXPECT_EQ(resultOf("polyEvaluate -f kvMeshShape"), "(failed)");
    send({{"type", "redo"}});
    EXPECT_EQ(resultOf("polyEvaluate -f kvMeshShape"), "144");
}

TEST_F(StudioSessionTest, CommandsAnswerUnderTheirIdWithWhatTheHostShowed) {
    json ok = only(send({{"type", "command"}, {"id", 7}, {"text", "polyEvaluate -v blob"}}));
    EXPECT_EQ(ok, json::parse(R"({"type":"result","id":7.0,"ok":true,)"
                              R"("messages":[{"kind":"result","text":"7202"}]})"));
    json failed = only(send({{"type", "command"}, {"id", 8}, {"text", "nope 1"}}));
    EXPECT_EQ(failed["ok"], false);
    EXPECT_EQ(failed["messages"][0]["kind"], "error");
    EXPECT_EQ(failed["messages"][0]["text"], "Cannot find procedure \"nope\".");
    // Settings the page's controls send.
    only(send({{"type", "command"},
               {"id", 9},
               {"text", "TessarkContext -e -u 6 -v 3 " + session.contextName()}}));
    EXPECT_EQ(resultOf("optionVar -q kv_uspan"), "6");
    EXPECT_EQ(resultOf("optionVar -q kv_vspan"), "3");
}

TEST_F(StudioSessionTest, MalformedMessagesChangeNothing) {
    session.frame();
    const std::string meshes = resultOf("ls -type mesh");
    for (const char* bad : {"nonsense", "{\"type\":\"teleport\"}",
                            R"({"type":"pointer","event":"press","button":"left","x":"a","y":1})",
                            R"({"type":"hello","width":-1,"height":5})"}) {
        json reply = only(session.handle(bad));
        EXPECT_EQ(reply["type"], "error") << bad;
        EXPECT_EQ(reply["text"].get<std::string>().rfind("refused a message: ", 0), 0u) << bad;
        EXPECT_FALSE(session.frameWanted()) << bad;
    }
    EXPECT_EQ(resultOf("ls -type mesh"), meshes);
    EXPECT_EQ(only(session.handle("{\"type\":\"teleport\"}"))["text"],
              "refused a message: unknown message type \"teleport\"");
}

TEST_F(StudioSessionTest, ADragNeedsItsPressAndNothingElseRunsWhileAButtonIsDown) {
    EXPECT_EQ(only(pointer("drag", 300, 300))["text"],
              "refused a drag: the left button is not down");
    EXPECT_EQ(only(pointer("release", 300, 300, "middle"))["text"],
              "refused a release: the middle button is not down");
    EXPECT_TRUE(pointer("press", 330, 200).empty());
    EXPECT_EQ(only(pointer("press", 330, 200, "middle"))["text"],
              "refused a press: the left button is down already");
    EXPECT_EQ(only(pointer("drag", 330, 250, "middle"))["text"],
              "refused a drag: the middle button is not down");
    const std::string down = "refused a message: the left button is down (finish the drag first)";
    EXPECT_EQ(only(send({{"type", "undo"}}))["text"], down);
    EXPECT_EQ(only(send({{"type", "key"}, {"key", "enter"}}))["text"], down);
    EXPECT_EQ(only(send({{"type", "command"}, {"id", 1}, {"text", "file -new"}}))["text"], down);
    EXPECT_EQ(only(send({{"type", "camera"},
                         {"eye", {0, 0, 9}},
                         {"lookAt", {0, 0, 0}},
                         {"up", {0, 1, 0}}}))["text"],
              down);
    EXPECT_EQ(resultOf("ls -type mesh"), "blobShape");
    for (int i = 1; i <= 20; ++i) EXPECT_TRUE(pointer("drag", 330, 200 + 16 * i).empty());
    EXPECT_TRUE(pointer("release", 330, 520).empty());
    stroke(630);
    send({{"type", "key"}, {"key", "enter"}});
    EXPECT_EQ(resultOf("polyEvaluate -f kvMeshShape"), "144");
}

TEST_F(StudioSessionTest, APageThatGoesAwayMidDragHasItsButtonReleased) {
    pointer("press", 330, 200);
    for (int i = 1; i <= 20; ++i) pointer("drag", 330, 200 + 16 * i);
    session.pageClosed();
    // The stroke ended where the pointer last was: the next page goes on from it.
    session.pageOpened();
    session.handle(R"({"type":"hello","width":960,"height":720})");
    EXPECT_EQ(only(pointer("drag", 330, 300))["text"],
              "refused a drag: the left button is not down");
    stroke(630);
    send({{"type", "key"}, {"key", "enter"}});
    EXPECT_EQ(resultOf("polyEvaluate -f kvMeshShape"), "144");
    // The new page's first frame is whole again.
    std::vector<Outgoing> frame = session.frame();
    EXPECT_TRUE(frame.front().binary);
}

TEST_F(StudioSessionTest, AReleaseOutsideTheViewStillEndsTheGesture) {
    pointer("press", 330, 200);
    for (int i = 1; i <= 20; ++i) pointer("drag", 330, 200 + 16 * i);
    json reply = only(pointer("release", 5000, 520));
    EXPECT_EQ(reply["type"], "messages");
    EXPECT_EQ(reply["messages"][0]["kind"], "error");
    EXPECT_TRUE(pointer("press", 630, 200).empty());
    for (int i = 1; i <= 20; ++i) pointer("drag", 630, 200 + 16 * i);
    pointer("release", 630, 520);
    send({{"type", "key"}, {"key", "enter"}});
    EXPECT_EQ(resultOf("polyEvaluate -f kvMeshShape"), "144");
}

TEST_F(StudioSessionTest, TheCameraAndThePortFollowThePage) {
    send({{"type", "camera"}, {"eye", {0, 2, 30}}, {"lookAt", {0, 1, 0}}, {"up", {0, 1, 0}}});
    send({{"type", "resize"}, {"width", 800}, {"height", 500}});
    const json frame = json::parse(session.frame().back().data);
    EXPECT_EQ(frame["camera"]["eye"], json::parse("[0.0,2.0,30.0]"));
    EXPECT_EQ(frame["camera"]["centerOfInterest"], json::parse("[0.0,1.0,0.0]"));
    EXPECT_EQ(frame["camera"]["width"], 800);
    EXPECT_EQ(frame["camera"]["height"], 500);
}

TEST(StudioSetUp, ASourceThatCannotBeReadSaysWhy) {
    StudioSession session;
    StudioSetup setup;
    setup.source = (scratch() / "missing.obj").string();
    setup.context = "studioMissing";
    std::string why;
    EXPECT_FALSE(session.setUp(setup, why));
    EXPECT_NE(why.find("missing.obj"), std::string::npos) << why;
}

TEST(StudioBlob, TheBuiltInSourceHasItsRingsAndSegments) {
    const std::string file = (scratch() / "tiny.obj").string();
    std::string why;
    ASSERT_TRUE(writeBlobObj(file, {3, 4}, why)) << why;
    std::ifstream in(file);
    std::string line;
    int vertices = 0, faces = 0;
    std::string firstVertex;
    while (std::getline(in, line)) {
        if (line.rfind("v ", 0) == 0 && vertices++ == 0) firstVertex = line;
        if (line.rfind("f ", 0) == 0) ++faces;
    }
    EXPECT_EQ(vertices, 1 + 2 * 4 + 1);
    EXPECT_EQ(faces, 2 * 4 * 2);
    EXPECT_EQ(firstVertex, "v 0.000000 5.000000 0.000000");
    EXPECT_FALSE(writeBlobObj(file, {2, 4}, why));
    EXPECT_EQ(why, "a blob needs 3 rings and 3 segments at least");
}

}  // namespace

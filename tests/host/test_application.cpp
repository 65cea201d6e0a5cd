// The application's facade: command text run command by command, with the
// outcome told as data (the failing command's line and text, whether the
// text is invalid or merely unterminated so far), and the problems reported.

#include <gmock/gmock.h>

#include "host/src/command/Lexer.h"
#include "host/src/session/Application.h"
#include "tests/host/HostFixture.h"

namespace {

using ::testing::ElementsAre;
namespace app = ehost::application;

class ApplicationTest : public HostTest {
protected:
    //! Runs text from source line firstLine, noting each command's line and outcome.
    app::Outcome run(const std::string& text, int firstLine = 1, bool keepGoing = false) {
        app::RunOptions options;
        options.firstLine = firstLine;
        options.display = false;
        options.keepGoing = keepGoing;
        options.beforeEach = [this](const app::Step& s) { steps.push_back(s.line); };
        options.afterEach = [this](const app::Step& s, bool ok) {
            outcomes.push_back(s.text + (ok ? ": ok" : ": failed"));
        };
        return app::run(text, options);
    }
    std::vector<int> steps;
    std::vector<std::string> outcomes;
};

TEST_F(ApplicationTest, EachCommandRunsOnItsOwnWithItsSourceLine) {
    app::Outcome o = run("createNode transform -n a\n\ncreateNode transform -n b; ls a", 10);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.failures, 0);
    EXPECT_THAT(steps, ElementsAre(10, 12, 12));
    EXPECT_THAT(outcomes, ElementsAre("createNode transform -n a: ok",
                                      "createNode transform -n b: ok", "ls a: ok"));
}

TEST_F(ApplicationTest, AFailureStopsTheTextUnlessTheRunGoesOn) {
    const std::string text = "createNode transform -n a\nnoSuchCommand\ngetAttr a.nothing\nls a";
    app::Outcome stopped = run(text, 5);
    EXPECT_FALSE(stopped.ok);
    EXPECT_FALSE(stopped.invalidText);
    EXPECT_EQ(stopped.line, 6);
    EXPECT_EQ(stopped.failedCommand, "noSuchCommand");
    EXPECT_EQ(stopped.failures, 1);
    EXPECT_EQ(outcomes.size(), 2u);

    ehost::session().newScene();
    outcomes.clear();
    app::Outcome going = run(text, 5, true);
    EXPECT_EQ(going.failures, 2);
    EXPECT_EQ(going.line, 6);  // the first failure
    EXPECT_THAT(outcomes, ElementsAre("createNode transform -n a: ok", "noSuchCommand: failed",
                                      "getAttr a.nothing: failed", "ls a: ok"));
}

TEST_F(ApplicationTest, InvalidTextRunsNothingAndSaysWhereAsANumber) {
    app::Outcome o = run("createNode transform -n a\nsetAttr a.notes \"open\n\n", 20);
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.invalidText);
    EXPECT_TRUE(o.unterminated);
    EXPECT_EQ(o.line, 21);
    EXPECT_EQ(o.reason, "unterminated string");
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(ehost::theScene().find("a"), nullptr);

    app::RunOptions wait;
    wait.waitIfUnterminated = true;
    o = app::run("/* a comment\nthat goes on", wait);
    EXPECT_TRUE(o.unterminated);
    EXPECT_EQ(o.reason, "");  // waiting: nothing to report yet
    EXPECT_TRUE(app::problems().empty());
}

TEST_F(ApplicationTest, ProblemsAreTheWarningsAndErrorsInOrder) {
    run("undo; noSuchCommand");
    app::reportError("from the application");
    std::vector<std::string> texts;
    for (const auto& p : app::problems())
        texts.push_back((p.kind == app::Problem::Kind::Error ? "E " : "W ") + p.text);
    EXPECT_THAT(
        texts, ElementsAre("W There are no more commands to undo.",
                           "E Cannot find procedure \"noSuchCommand\".", "E from the application"));
    app::clearMessages();
    EXPECT_TRUE(app::problems().empty());
}

// ---------------------------------------------------------------- lines as they come

class LineFeedTest : public ApplicationTest {
protected:
    app::RunOptions options() {
        app::RunOptions o;
        o.display = false;
        o.beforeEach = [this](const app::Step& s) { steps.push_back(s.line); };
        o.afterEach = [this](const app::Step& s, bool ok) {
            outcomes.push_back(s.text + (ok ? ": ok" : ": failed"));
        };
        return o;
    }
};

TEST_F(LineFeedTest, CommandsWaitForTheLineThatClosesTheirStringAndKeepTheirLines) {
    app::LineFeed feed;
    EXPECT_TRUE(feed.addLine("createNode transform -n a"));
    EXPECT_TRUE(feed.runReady(options()).ok);
    EXPECT_FALSE(feed.addLine("createNode transform -n b; optionVar -sv note \"two"));
    EXPECT_FALSE(feed.addLine("/* not a comment inside a string */"));
    EXPECT_TRUE(ehost::theScene().find("b") == nullptr) << "nothing runs while the string is open";
    EXPECT_FALSE(feed.addLine("lines\" /* a comment"));
    EXPECT_TRUE(feed.addLine("that goes on */; ls b"));
    EXPECT_TRUE(feed.runReady(options()).ok);
    EXPECT_FALSE(feed.addLine("ls a; /* a comment over"));
    EXPECT_TRUE(feed.addLine("two lines */ noSuchCommand"));
    app::Outcome o = feed.runReady(options());
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.line, 7);
    EXPECT_EQ(o.failedCommand, "noSuchCommand");
    EXPECT_THAT(steps, ElementsAre(1, 2, 2, 5, 6, 7));
    EXPECT_EQ(ehost::session().prefs().find("note")->asString(),
              "two\n/* not a comment inside a string */\nlines");
    EXPECT_TRUE(feed.finish(options()).ok);
}

TEST_F(LineFeedTest, TextLeftOpenAtTheEndRunsNothingOfItsLinesAndSaysWhereItOpened) {
    app::LineFeed feed;
    EXPECT_TRUE(feed.addLine("createNode transform -n a"));
    feed.runReady(options());
    EXPECT_FALSE(feed.addLine("createNode transform -n b; optionVar -sv note \"open"));
    for (int i = 0; i < 50000; ++i) EXPECT_FALSE(feed.addLine("and on"));
    app::Outcome o = feed.finish(options());
    EXPECT_TRUE(o.invalidText);
    EXPECT_TRUE(o.unterminated);
    EXPECT_EQ(o.line, 2);
    EXPECT_EQ(o.reason, "unterminated string");
    EXPECT_THAT(steps, ElementsAre(1));
    EXPECT_EQ(ehost::theScene().find("b"), nullptr);

    app::LineFeed comment;
    comment.addLine("ls");
    comment.addLine("/* never closed");
    o = comment.finish(options());
    EXPECT_EQ(o.reason, "unterminated comment");
    EXPECT_EQ(o.line, 2);
}

TEST(LexerPieces, AWordOrACommentSplitAcrossPiecesReadsAsOne) {
    ehost::CommandSplitter splitter;
    for (const char* piece :
         {"createNode tran", "sform -n a /", "/ a comment\nls a", "; ls -", "sl"})
        splitter.feed(piece);
    ehost::SplitError why;
    ASSERT_TRUE(splitter.finish(why));
    std::vector<ehost::CommandText> cmds = splitter.take();
    ASSERT_EQ(cmds.size(), 3u);
    EXPECT_EQ(cmds[0].source, "createNode transform -n a // a comment");
    EXPECT_EQ(cmds[0].tokens.size(), 4u);
    EXPECT_EQ(cmds[1].line, 2);
    EXPECT_EQ(cmds[2].tokens[1].text, "-sl");
    EXPECT_EQ(cmds[2].tokens[1].kind, ehost::Token::Kind::Flag);
}

TEST(LexerErrors, NameTheLineAndWhetherMoreTextCouldCloseIt) {
    std::vector<ehost::CommandText> cmds;
    ehost::SplitError why;
    EXPECT_FALSE(ehost::splitCommands("a\nb /* open\n\nstill", cmds, why));
    EXPECT_EQ(why.line, 2);
    EXPECT_EQ(why.reason, "unterminated comment");
    EXPECT_TRUE(why.unterminated);
    std::string text;
    EXPECT_FALSE(ehost::splitCommands("a\n\nb \"x", cmds, text));
    EXPECT_EQ(text, "line 3: unterminated string");
    EXPECT_TRUE(ehost::splitCommands("a; b", cmds, why));
    EXPECT_EQ(why.line, 0);
    EXPECT_FALSE(why.unterminated);
}

}  // namespace

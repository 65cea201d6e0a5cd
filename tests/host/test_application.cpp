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

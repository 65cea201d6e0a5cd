#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MCommandResult.h>
#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MEventMessage.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MSyntax.h>

#include "host/src/command/Commands.h"
#include "host/src/command/Lexer.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dg/Scene.h"
#include "tests/host/HostFixture.h"

namespace {

std::vector<std::string> words(const ehost::CommandText& c) {
    std::vector<std::string> out;
    for (const auto& t : c.tokens) out.push_back(t.text);
    return out;
}

TEST(CommandText, SplitsCommandsWordsStringsAndComments) {
    std::vector<ehost::CommandText> cmds;
    std::string error;
    ASSERT_TRUE(ehost::splitCommands(
        "move -absolute 1 -2.5 3e-7 \"|m|mShape.vtx[3]\"; move -a 0 0 0 \"|m|mShape.vtx[4]\"; // "
        "trailing\n"
        "setAttr -type \"string\" n.s \"a \\\"quoted\\\" word\" /* block\ncomment */ ; undo",
        cmds, error))
        << error;
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(words(cmds[0]), (std::vector<std::string>{"move", "-absolute", "1", "-2.5", "3e-7",
                                                        "|m|mShape.vtx[3]"}));
    EXPECT_EQ(cmds[0].tokens[1].kind, ehost::Token::Kind::Flag);
    EXPECT_EQ(cmds[0].tokens[3].kind, ehost::Token::Kind::Word)
        << "a negative number is not a flag";
    EXPECT_EQ(cmds[2].tokens[4].text, "a \"quoted\" word");
    EXPECT_EQ(cmds[2].line, 2);
    EXPECT_EQ(cmds[3].line, 3);
    EXPECT_EQ(words(cmds[3]), std::vector<std::string>{"undo"});
}

TEST(CommandText, ALoneDashJoinsTheNextWordIntoAFlag) {
    std::vector<ehost::CommandText> cmds;
    std::string error;
    ASSERT_TRUE(
        ehost::splitCommands("polyMergeVertex -d 9999 - am 1  \"|m|mShape.vtx[1]\"", cmds, error));
    EXPECT_EQ(words(cmds[0]), (std::vector<std::string>{"polyMergeVertex", "-d", "9999", "-am", "1",
                                                        "|m|mShape.vtx[1]"}));
    EXPECT_EQ(cmds[0].tokens[3].kind, ehost::Token::Kind::Flag);
    ASSERT_TRUE(ehost::splitCommands("polyAverageVertex - i 1 \"|m|mShape.f[7]\"", cmds, error));
    EXPECT_EQ(words(cmds[0]),
              (std::vector<std::string>{"polyAverageVertex", "-i", "1", "|m|mShape.f[7]"}));
    EXPECT_FALSE(ehost::splitCommands("select \"open", cmds, error));
    EXPECT_EQ(error, "line 1: unterminated string");
}

// Found by fuzzing (fuzz/corpus/command_lexer/quote-comment-start): "q//"
// was left plain, and read back as the word "q" and a comment.
TEST(CommandText, AQuotedWordReadsBackAsTheSameWord) {
    for (const std::string word : {"q//", "a/*b", "//", "/*", "x/", "/y", "-1", "a b", "", "\\",
                                   "say \"hi\"", "two\nlines", "semi;colon"}) {
        std::vector<ehost::CommandText> cmds;
        std::string error;
        const std::string text = "cmd " + ehost::quoteIfNeeded(word);
        ASSERT_TRUE(ehost::splitCommands(text, cmds, error)) << text << ": " << error;
        ASSERT_EQ(cmds.size(), 1u) << text;
        EXPECT_EQ(words(cmds[0]), (std::vector<std::string>{"cmd", word})) << text;
    }
    EXPECT_EQ(ehost::quoteIfNeeded("q//"), "\"q//\"");
    EXPECT_EQ(ehost::quoteIfNeeded("x/"), "x/") << "a slash alone needs no quotes";
}

class CommandTest : public HostTest {
protected:
    MStatus run(const std::string& text, MCommandResult* result = nullptr, bool undoable = true) {
        return ehost::runCommands(text, {false, undoable}, result);
    }
    std::string lastError() {
        for (auto it = ehost::session().messages().entries().rbegin();
             it != ehost::session().messages().entries().rend(); ++it)
            if (it->kind == ehost::MessageLog::Kind::Error) return it->text;
        return "";
    }
    std::string result(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        return r.stringResult().str();
    }
};

TEST_F(CommandTest, UnknownCommandsAndFlagsAreReportedAndStopTheScript) {
    EXPECT_FALSE(run("createNode transform -n a; noSuchCommand 1 2; createNode transform -n b"));
    EXPECT_EQ(lastError(), "Cannot find procedure \"noSuchCommand\".");
    EXPECT_NE(ehost::session().scene().find("a"), nullptr);
    EXPECT_EQ(ehost::session().scene().find("b"), nullptr);
    EXPECT_FALSE(run("createNode transform -bogus x"));
    EXPECT_EQ(lastError(), "createNode: Invalid flag: -bogus");
    EXPECT_FALSE(run("createNode transform -n"));
    EXPECT_EQ(lastError(), "createNode: Flag -n needs a string argument");
    EXPECT_FALSE(run("createNode noSuchType"));
    EXPECT_EQ(lastError(), "createNode: Unknown object type: noSuchType");
    EXPECT_FALSE(run("createNode transform -n \"a;delete b\""));
    EXPECT_FALSE(run("line1\nline2"));
    EXPECT_EQ(lastError(), "line 1: Cannot find procedure \"line1\".");
}

TEST_F(CommandTest, SetAndGetAttributesWithExactNumbers) {
    EXPECT_EQ(result("createNode transform -n t"), "t");
    EXPECT_TRUE(run("setAttr t.translate 0.1 -2 1e-300"));
    EXPECT_EQ(result("getAttr t.translateX"), "0.1");
    EXPECT_EQ(result("getAttr t.translate"), "0.1 -2 1e-300");
    EXPECT_TRUE(run("setAttr t.rotateZ 90"));
    EXPECT_EQ(result("getAttr t.rotateZ"), "90") << "angles are written and read in degrees";
    EXPECT_TRUE(run("setAttr t.visibility false"));
    EXPECT_EQ(result("getAttr t.visibility"), "0");
    EXPECT_FALSE(run("setAttr t.translateX abc"));
    EXPECT_FALSE(run("setAttr t.translate 1 2"));
    EXPECT_FALSE(run("setAttr t.noSuchAttr 1"));
    EXPECT_EQ(result("getAttr t.translateX"), "0.1") << "failed writes change nothing";
}

TEST_F(CommandTest, UndoAndRedoRestoreEveryValueBitForBit) {
    ASSERT_TRUE(run("createNode transform -n t; setAttr t.tx 0.30000000000000004"));
    ASSERT_TRUE(run("setAttr t.tx 7"));
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("getAttr t.tx"), "0.30000000000000004");
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(result("getAttr t.tx"), "7");
    ASSERT_TRUE(run("undo; undo; undo"));
    EXPECT_EQ(ehost::session().scene().find("t"), nullptr);
    ASSERT_TRUE(run("redo"));
    EXPECT_NE(ehost::session().scene().find("t"), nullptr);
    EXPECT_EQ(result("getAttr t.tx"), "0");
    // A new command forgets what could be redone.
    ASSERT_TRUE(run("createNode transform -n u; redo"));
    EXPECT_EQ(result("getAttr t.tx"), "0");
}

int undoEvents = 0;
void countUndo(void*) {
    ++undoEvents;
}

TEST_F(CommandTest, UndoFiresTheUndoEventAndTheQueueIsBounded) {
    MCallbackId id = MEventMessage::addEventCallback("Undo", countUndo);
    ASSERT_TRUE(run("undoInfo -length 3"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(run("createNode transform"));
    ASSERT_TRUE(run("undo; undo; undo; undo; undo"));
    EXPECT_EQ(undoEvents, 3);
    EXPECT_EQ(ehost::session().scene().find("transform2")->name, "transform2")
        << "the oldest two stay";
    EXPECT_EQ(ehost::session().scene().find("transform3"), nullptr);
    MMessage::removeCallback(id);
    ASSERT_TRUE(run("undoInfo -length 50"));
}

TEST_F(CommandTest, DeleteAndItsUndoKeepConnectionsAndChildren) {
    ASSERT_TRUE(run(
        "createNode transform -n a; createNode transform -n b -p a; createNode transform -n c"));
    ASSERT_TRUE(run("connectAttr a.translateX c.translateY"));
    EXPECT_FALSE(run("connectAttr a.translateX c.translateY")) << "already connected";
    ASSERT_TRUE(run("setAttr a.tx 3"));
    EXPECT_EQ(result("getAttr c.ty"), "3");
    EXPECT_FALSE(run("setAttr c.ty 1"));
    EXPECT_EQ(
        lastError(),
        "setAttr: The attribute 'c.translateY' is locked or connected and cannot be modified.");
    ASSERT_TRUE(run("delete a"));
    EXPECT_EQ(ehost::session().scene().find("b"), nullptr);
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("ls -l b"), "|a|b");
    ASSERT_TRUE(run("setAttr a.tx 5"));
    EXPECT_EQ(result("getAttr c.ty"), "5");
    ASSERT_TRUE(run("disconnectAttr a.tx c.ty; setAttr a.tx 6"));
    EXPECT_EQ(result("getAttr c.ty"), "5");
}

TEST_F(CommandTest, SelectionCommandsAndListing) {
    ASSERT_TRUE(
        run("createNode transform -n a; createNode transform -n b; select -r a; select -add b"));
    EXPECT_EQ(result("ls -sl"), "a b");
    ASSERT_TRUE(run("select -d a"));
    EXPECT_EQ(result("ls -sl"), "b");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("ls -sl"), "a b");
    ASSERT_TRUE(run("select -cl"));
    EXPECT_EQ(result("ls -sl"), "");
    EXPECT_FALSE(run("select nothing_here"));
    // Every new scene has the persp camera's transform.
    EXPECT_EQ(result("ls -type transform"), "persp a b");
}

TEST_F(CommandTest, OptionVariablesFromCommandText) {
    ASSERT_TRUE(run(
        "optionVar -iv tessarkCmdTestI 6 -fv tessarkCmdTestF 0.25 -sv tessarkCmdTestS \"x y\""));
    EXPECT_EQ(result("optionVar -q tessarkCmdTestI"), "6");
    EXPECT_EQ(result("optionVar -q tessarkCmdTestF"), "0.25");
    EXPECT_EQ(result("optionVar -q tessarkCmdTestS"), "x y");
    EXPECT_EQ(result("optionVar -exists tessarkCmdTestI"), "1");
    ASSERT_TRUE(
        run("optionVar -remove tessarkCmdTestI; optionVar -remove tessarkCmdTestF; optionVar "
            "-remove tessarkCmdTestS"));
    EXPECT_EQ(result("optionVar -exists tessarkCmdTestI"), "0");
}

TEST_F(CommandTest, ModifiersUndoTheirCommandsAndLeaveTheQueueAlone) {
    ASSERT_TRUE(run("createNode transform -n t"));
    size_t queued = ehost::session().commands().undoQueue.undoable();
    MDGModifier mod;
    mod.commandToExecute("setAttr t.tx 2; createNode transform -n u");
    MSelectionList l;
    l.add("t");
    MObject t;
    l.getDependNode(0, t);
    mod.renameNode(t, "renamed");
    ASSERT_TRUE(mod.doIt());
    EXPECT_EQ(ehost::session().commands().undoQueue.undoable(), queued);
    EXPECT_EQ(result("getAttr renamed.tx"), "2");
    ASSERT_TRUE(mod.undoIt());
    EXPECT_EQ(ehost::session().scene().find("u"), nullptr);
    EXPECT_EQ(result("getAttr t.tx"), "0");
    ASSERT_TRUE(mod.doIt());
    EXPECT_EQ(result("getAttr renamed.tx"), "2");
    EXPECT_NE(ehost::session().scene().find("u"), nullptr);

    MDGModifier bad;
    bad.commandToExecute("noSuchCommand");
    EXPECT_FALSE(bad.doIt());
}

TEST_F(CommandTest, DagModifierCreatesShapesUnderTransformsAndReparents) {
    MDagModifier mod;
    MStatus st;
    MObject top = mod.createNode("mesh", MObject::kNullObj, &st);
    ASSERT_TRUE(st);
    MObject dg = mod.createNode("polyTweak", MObject::kNullObj, &st);
    ASSERT_TRUE(st) << "a dependency node type is created as by MDGModifier";
    MObject parent = mod.createNode("transform", MObject::kNullObj, &st);
    mod.reparentNode(top, parent);
    ASSERT_TRUE(mod.doIt());
    EXPECT_EQ(result("ls -l -type mesh"), "|transform1|polySurface1|polySurfaceShape1");
    ASSERT_TRUE(mod.undoIt());
    EXPECT_EQ(result("ls -type mesh -type polyTweak"), "");
    EXPECT_EQ(ehost::session().scene().find("transform1"), nullptr);
    ASSERT_TRUE(mod.doIt());
    EXPECT_EQ(result("ls -l -type mesh"), "|transform1|polySurface1|polySurfaceShape1");
}

TEST_F(CommandTest, ArgDatabaseReadsFlagsArgumentsAndObjects) {
    MSyntax syntax;
    syntax.addFlag("-u", "-uspan", MSyntax::kUnsigned);
    syntax.addFlag("-c", "-close", MSyntax::kBoolean);
    syntax.addFlag("-m", "-mesh", MSyntax::kString);
    syntax.enableQuery(true);
    auto parse = [&](std::initializer_list<const char*> words, MStatus& st) {
        MArgList args;
        for (const char* w : words) args.addArg(MString(w));
        return MArgDatabase(syntax, args, &st);
    };
    MStatus st;
    MArgDatabase db = parse({"-u", "8", "-close", "on", "-m", "|a|b"}, st);
    ASSERT_TRUE(st);
    unsigned u = 0;
    EXPECT_TRUE(db.getFlagArgument("-uspan", 0, u));
    EXPECT_EQ(u, 8u);
    EXPECT_TRUE(db.flagArgumentBool("-c", 0));
    EXPECT_EQ(db.flagArgumentString("-m", 0), MString("|a|b"));
    parse({"-u", "-3"}, st);
    EXPECT_FALSE(st);
    parse({"-u"}, st);
    EXPECT_FALSE(st);
    parse({"-x"}, st);
    EXPECT_FALSE(st);
    MArgDatabase q = parse({"-q", "-u"}, st);
    ASSERT_TRUE(st);
    EXPECT_TRUE(q.isQuery());
    EXPECT_TRUE(q.isFlagSet("-u"));
}

TEST_F(CommandTest, ExecuteCommandReturnsTypedResults) {
    int count = 0;
    MString name =
        MGlobal::executeCommandStringResult("createNode transform -n viaApi", true, true);
    EXPECT_EQ(name, MString("viaApi"));
    EXPECT_TRUE(MGlobal::executeCommand("getAttr viaApi.visibility", count));
    EXPECT_EQ(count, 1);
    double d = 0;
    EXPECT_TRUE(MGlobal::executeCommand("setAttr viaApi.ty 2.5; getAttr viaApi.ty", d));
    EXPECT_EQ(d, 2.5);
    MStatus st;
    MGlobal::executeCommandStringResult("getAttr nothing.x", false, false, &st);
    EXPECT_FALSE(st);
}

}  // namespace

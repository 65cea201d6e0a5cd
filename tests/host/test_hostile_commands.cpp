// Command input that used to be taken wrongly or to bring the host down:
// deleting history (of a shape or through its transform), "-inf" and "-nan"
// as values, values an attribute cannot hold, and component ranges far
// beyond the mesh. Each is done as the artist meant, or refused with an error
// naming what was wrong, and then nothing has changed.

#include <gmock/gmock.h>

#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "host/src/command/Lexer.h"
#include "host/src/io/SceneFile.h"
#include "tests/host/test_modelling_fixture.h"

namespace {

namespace fs = std::filesystem;
using ehost::MeshGeometry;
using ::testing::HasSubstr;

class HostileCommandTest : public ModellingTest {
protected:
    std::string lastWarning() {
        const auto& e = ehost::session().messages().entries();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->kind == ehost::MessageLog::Kind::Warning) return it->text;
        return "";
    }
};

// ---------------------------------------------------------------- history

TEST_F(HostileCommandTest, DeletingHistoryBakesTheMeshAndUndoBringsTheHistoryBack) {
    // The shape named directly, and through its transform, as the host allows.
    for (const std::string target : {"sShape", "s"}) {
        SCOPED_TRACE(target);
        strings("polySphere -n s");
        const MeshGeometry sphere = shown("sShape");
        const size_t nodes = nodeCount();
        ASSERT_TRUE(run("delete -ch " + target)) << lastError();
        EXPECT_FALSE(shape("sShape").hasHistory());
        EXPECT_EQ(node("polySphere1"), nullptr);
        EXPECT_EQ(nodeCount(), nodes - 1);
        EXPECT_EQ(shown("sShape"), sphere);

        ASSERT_TRUE(run("undo"));
        ASSERT_NE(node("polySphere1"), nullptr);
        EXPECT_TRUE(shape("sShape").hasHistory());
        ASSERT_TRUE(run("redo"));
        EXPECT_FALSE(shape("sShape").hasHistory());
        EXPECT_EQ(shown("sShape"), sphere);
        ASSERT_TRUE(run("undo; setAttr polySphere1.radius 2"));
        EXPECT_NE(shown("sShape"), sphere) << "the history drives the shape again";
        ASSERT_TRUE(run("delete s"));
        ehost::session().newScene();
    }
}

TEST_F(HostileCommandTest, DeletingTheHistoryOfAMeshWithoutAnyChangesNothing) {
    strings("polyCube -n c -ch off");
    const MeshGeometry cube = shown("cShape");
    const size_t nodes = nodeCount();
    ASSERT_TRUE(run("delete -ch c; delete -ch cShape"));
    EXPECT_EQ(nodeCount(), nodes);
    EXPECT_EQ(shown("cShape"), cube);
}

// ---------------------------------------------------------------- values

TEST_F(HostileCommandTest, MinusInfAndMinusNanAreValuesNotFlags) {
    std::vector<ehost::CommandText> cmds;
    std::string error;
    ASSERT_TRUE(ehost::splitCommands("setAttr t.tx -inf -NaN -infinity -info -i", cmds, error));
    const auto& t = cmds[0].tokens;
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[2].kind, ehost::Token::Kind::Word);
    EXPECT_EQ(t[3].kind, ehost::Token::Kind::Word);
    EXPECT_EQ(t[4].kind, ehost::Token::Kind::Word);
    EXPECT_EQ(t[5].kind, ehost::Token::Kind::Flag) << "-info is no number";
    EXPECT_EQ(t[6].kind, ehost::Token::Kind::Flag);

    ASSERT_TRUE(run("createNode transform -n t"));
    ASSERT_TRUE(run("setAttr t.tx -inf")) << lastError();
    EXPECT_EQ(result("getAttr t.tx"), "-inf");
    ASSERT_TRUE(run("setAttr t.translate -nan 0 -inf")) << lastError();
    EXPECT_EQ(result("getAttr t.ty"), "0");
    EXPECT_EQ(result("getAttr t.tz"), "-inf");
    ASSERT_TRUE(run("optionVar -fv tessarkTestNegative -inf")) << lastError();
    EXPECT_EQ(result("optionVar -q tessarkTestNegative"), "-inf");
    ASSERT_TRUE(run("optionVar -rm tessarkTestNegative"));
}

TEST_F(HostileCommandTest, SetAttrRefusesWhatTheAttributeCannotHoldAsTheSceneReaderDoes) {
    strings("polySphere -n s");
    ASSERT_TRUE(run("createNode transform -n t"));
    const MeshGeometry sphere = shown("sShape");
    struct Case {
        std::string command, error;
    };
    for (const Case& c : {
             Case{"setAttr polySphere1.subdivisionsAxis 2.7",
                  "setAttr: polySphere1.subdivisionsAxis cannot hold 2.7 (it is of type long)"},
             Case{"setAttr polySphere1.subdivisionsAxis 1e10",
                  "setAttr: polySphere1.subdivisionsAxis cannot hold 1e+10 (it is of type long)"},
             Case{"setAttr polySphere1.subdivisionsAxis nan",
                  "setAttr: polySphere1.subdivisionsAxis cannot hold nan (it is of type long)"},
             Case{"setAttr t.visibility 0.5",
                  "setAttr: t.visibility cannot hold 0.5 (it is of type bool)"},
         }) {
        EXPECT_FALSE(run(c.command)) << c.command;
        EXPECT_EQ(lastError(), c.error);
    }
    EXPECT_EQ(result("getAttr polySphere1.subdivisionsAxis"), "20");
    EXPECT_EQ(result("getAttr t.visibility"), "1");
    EXPECT_EQ(shown("sShape"), sphere);
    // What fits is taken: whole numbers written as decimals, booleans by name.
    ASSERT_TRUE(run("setAttr polySphere1.subdivisionsAxis 8.0; setAttr t.visibility off"));
    EXPECT_EQ(result("getAttr polySphere1.subdivisionsAxis"), "8");
    EXPECT_EQ(result("getAttr t.visibility"), "0");

    // The scene reader's refusal, in the same words.
    auto file = fs::temp_directory_path() / ("tessark-hold-" + std::to_string(::getpid()) + ".tsk");
    std::ofstream(file) << "tessark scene 1\nnode transform u\nset visibility 0.5\n";
    std::string error;
    EXPECT_FALSE(ehost::openScene(file.string(), &error));
    EXPECT_THAT(error, HasSubstr("line 3: u.visibility cannot hold 0.5 (it is of type bool)"));
    fs::remove(file);
}

TEST_F(HostileCommandTest, AnIntegerBeyond32BitsIsRefusedNotCutShort) {
    EXPECT_FALSE(run("optionVar -iv tessarkTestWide 5000000000"));
    EXPECT_EQ(lastError(),
              "optionVar: Flag -iv: \"5000000000\" is out of range for an integer (-2147483648 to "
              "2147483647)");
    EXPECT_FALSE(run("optionVar -iv tessarkTestWide 2.5"));
    EXPECT_EQ(lastError(), "optionVar: Flag -iv: \"2.5\" is not an integer");
    EXPECT_EQ(integer("optionVar -exists tessarkTestWide"), 0);
}

TEST_F(HostileCommandTest, NumbersBeyondAnIntegerReadAsItsEndsThroughTheApi) {
    ASSERT_TRUE(run("createNode transform -n t; setAttr t.tx 1e300; setAttr t.ty -1e10"));
    MSelectionList list;
    list.add("t.tx");
    list.add("t.ty");
    MPlug tx, ty;
    ASSERT_TRUE(list.getPlug(0, tx));
    ASSERT_TRUE(list.getPlug(1, ty));
    EXPECT_EQ(tx.asInt(), std::numeric_limits<int>::max());
    EXPECT_EQ(ty.asShort(), std::numeric_limits<short>::min());
    ASSERT_TRUE(run("setAttr t.tz nan"));
    list.add("t.tz");
    MPlug tz;
    ASSERT_TRUE(list.getPlug(2, tz));
    EXPECT_EQ(tz.asInt(), 0);

    MCommandResult r;
    ASSERT_TRUE(run("getAttr t.tx", &r));
    int asInt = 0;
    ASSERT_TRUE(r.getResult(asInt));
    EXPECT_EQ(asInt, std::numeric_limits<int>::max());
    ASSERT_TRUE(run("optionVar -fv tessarkTestHuge -1e300"));
    EXPECT_EQ(MGlobal::optionVarIntValue("tessarkTestHuge"), std::numeric_limits<int>::min());
    ASSERT_TRUE(run("optionVar -rm tessarkTestHuge"));
}

// ---------------------------------------------------------------- component ranges

TEST_F(HostileCommandTest, HugeComponentRangesAreRefusedBeforeTheyAreExpanded) {
    strings("polyCube -n c");
    const MeshGeometry cube = shown("cShape");
    for (const std::string command :
         {"select c.vtx[0:999999999]", "move 1 0 0 c.vtx[0:999999999]",
          "polyMergeVertex c.vtx[0:999999999]", "sets -n s1 c.vtx[0:999999999]"}) {
        EXPECT_FALSE(run(command)) << command;
        EXPECT_THAT(lastError(),
                    HasSubstr("c.vtx[0:999999999]: component range 0:999999999 is out of range "
                              "(8 elements)"));
    }
    EXPECT_FALSE(run("polyBridgeEdge c.e[999999999]"));
    EXPECT_THAT(lastError(), HasSubstr("component index 999999999 is out of range (12 elements)"));
    EXPECT_EQ(shown("cShape"), cube);
    EXPECT_EQ(node("s1"), nullptr);
}

TEST_F(HostileCommandTest, AStoredHugeRangeLeavesTheEditOutWithAWarningAndSurvivesAFile) {
    strings("polyPlane -sx 2 -sy 2 -n p");
    const MeshGeometry plane = shown("pShape");
    strings("polyMergeVertex -d 10 p.vtx[0:1]");
    ASSERT_NE(shown("pShape"), plane);
    // Written as the host's own files write it.
    ASSERT_TRUE(
        run("setAttr polyMergeVert1.inputComponents -type componentList 1 "
            "\"vtx[0:999999999]\""))
        << lastError();
    EXPECT_EQ(shown("pShape"), plane) << "the edit is left out";
    EXPECT_EQ(lastWarning(),
              "polyMergeVert1: vtx[0:999999999]: component range 0:999999999 is out of range (9 "
              "elements); the edit is left out");

    auto file =
        fs::temp_directory_path() / ("tessark-range-" + std::to_string(::getpid()) + ".tsk");
    std::string error;
    ASSERT_TRUE(ehost::saveScene(file.string(), &error)) << error;
    ehost::session().newScene();
    ehost::session().messages().clear();
    ASSERT_TRUE(ehost::openScene(file.string(), &error)) << error;
    EXPECT_EQ(shown("pShape"), plane);
    EXPECT_THAT(lastWarning(), HasSubstr("component range 0:999999999 is out of range"));
    fs::remove(file);
}

}  // namespace

// MNodeMessage, MDGMessage, MSceneMessage and MFileIO, as the host documents
// them: who is told what, in which order, and what a check callback stops.

#include <maya/MDGMessage.h>
#include <maya/MFileIO.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MNodeMessage.h>
#include <maya/MSceneMessage.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/src/io/SceneFile.h"
#include "tests/host/test_commands_fixture.h"

namespace {

namespace fs = std::filesystem;

//! What the callbacks saw, one line each.
std::vector<std::string>& heard() {
    static std::vector<std::string> lines;
    return lines;
}

std::string nameOf(MObject& node) {
    return MFnDependencyNode(node).name().asChar();
}

void onAttribute(MNodeMessage::AttributeMessage msg, MPlug& plug, MPlug& other, void*) {
    std::string line;
    if (msg & MNodeMessage::kAttributeSet) line += "set ";
    if (msg & MNodeMessage::kConnectionMade) line += "made ";
    if (msg & MNodeMessage::kConnectionBroken) line += "broken ";
    if (msg & MNodeMessage::kIncomingDirection) line += "in ";
    line += plug.name().asChar();
    if (!other.isNull()) line += std::string(" ") + other.name().asChar();
    heard().push_back(line);
}

void onAdded(MObject& node, void* tag) {
    heard().push_back(std::string(static_cast<const char*>(tag)) + " " + nameOf(node));
}

void onRenamed(MObject& node, const MString& previous, void*) {
    heard().push_back("renamed " + std::string(previous.asChar()) + " " + nameOf(node));
}

void onConnection(MPlug& src, MPlug& dst, bool made, void*) {
    heard().push_back(std::string(made ? "connected " : "disconnected ") + src.name().asChar() +
                      " " + dst.name().asChar());
}

void onDirty(MObject& node, MPlug& plug, void*) {
    heard().push_back("dirty " + nameOf(node) + " " + plug.partialName().asChar());
}

MCallbackId seenId = 0;
void rememberId(MObject&, void*) {
    seenId = MMessage::currentCallbackId();
}

void throwing(MObject&, void*) {
    throw std::runtime_error("callback broke");
}

class MessageTest : public CommandTextTest {
protected:
    void SetUp() override {
        CommandTextTest::SetUp();
        heard().clear();
        dir_ = fs::temp_directory_path() /
               ("tessark-messages-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ehost::setSceneFileName("");
    }
    void TearDown() override {
        for (MCallbackId id : ids_) MMessage::removeCallback(id);
        fs::remove_all(dir_);
        ehost::setSceneFileName("");
        CommandTextTest::TearDown();
    }
    MCallbackId keep(MCallbackId id) {
        EXPECT_NE(id, 0u);
        ids_.push_back(id);
        return id;
    }
    static MObject node(const char* name) {
        MSelectionList l;
        EXPECT_TRUE(l.add(name)) << name;
        MObject o;
        l.getDependNode(0, o);
        return o;
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    std::vector<MCallbackId> ids_;
};

using Lines = std::vector<std::string>;

TEST_F(MessageTest, AttributeChangedTellsSetsAndConnectionsOfItsNodeOnly) {
    ASSERT_TRUE(run("createNode transform -n a; createNode transform -n t"));
    MObject t = node("t"), a = node("a");
    MStatus st;
    keep(MNodeMessage::addAttributeChangedCallback(t, onAttribute, nullptr, &st));
    ASSERT_TRUE(st);
    ASSERT_TRUE(run("setAttr t.translateX 5; setAttr a.translateX 1"));
    EXPECT_EQ(heard(), (Lines{"set in t.translateX"})) << "a's change is not t's";
    heard().clear();
    ASSERT_TRUE(
        run("connectAttr a.translateX t.translateY; disconnectAttr a.translateX "
            "t.translateY"));
    EXPECT_EQ(heard(),
              (Lines{"made in t.translateY a.translateX", "broken in t.translateY a.translateX"}));
    heard().clear();
    MCallbackId atSource = keep(MNodeMessage::addAttributeChangedCallback(a, onAttribute));
    ASSERT_TRUE(run("connectAttr a.translateX t.translateY"));
    EXPECT_EQ(heard(),
              (Lines{"made a.translateX t.translateY", "made in t.translateY a.translateX"}))
        << "the source end is told without the incoming bit, first";
    heard().clear();
    ASSERT_TRUE(MMessage::removeCallback(atSource));
    EXPECT_FALSE(MMessage::removeCallback(atSource)) << "a callback is removed once";
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(heard(), (Lines{"broken in t.translateY a.translateX"})) << "undo is a change too";

    EXPECT_EQ(MNodeMessage::addAttributeChangedCallback(t, nullptr, nullptr, &st), 0u);
    EXPECT_FALSE(st);
    MObject none;
    EXPECT_EQ(MNodeMessage::addAttributeChangedCallback(none, onAttribute, nullptr, &st), 0u);
    EXPECT_FALSE(st);
}

TEST_F(MessageTest, NameChangesPreRemovalAndDirtyPlugs) {
    ASSERT_TRUE(run("polyCube -n box; createNode transform -n t"));
    MObject t = node("t"), every;
    keep(MNodeMessage::addNameChangedCallback(t, onRenamed));
    ASSERT_TRUE(run("rename t u; rename box crate"));
    EXPECT_EQ(heard(), (Lines{"renamed t u"}));
    heard().clear();
    keep(MNodeMessage::addNameChangedCallback(every, onRenamed));
    ASSERT_TRUE(run("rename crate box"));
    EXPECT_EQ(heard(), (Lines{"renamed crate box", "renamed crateShape boxShape"}))
        << "a null node hears of every node: the shape named after the transform follows it";
    heard().clear();

    MObject maker = node("polyCube1");
    keep(MNodeMessage::addNodeDirtyPlugCallback(maker, onDirty));
    ASSERT_TRUE(run("setAttr polyCube1.width 3"));
    ASSERT_FALSE(heard().empty());
    EXPECT_EQ(heard().front(), "dirty polyCube1 out") << "the output the width affects";
    heard().clear();

    keep(MNodeMessage::addNodePreRemovalCallback(t, onAdded, const_cast<char*>("leaving")));
    ASSERT_TRUE(run("delete u"));
    EXPECT_EQ(heard(), (Lines{"leaving u"}));
    ASSERT_TRUE(run("undo; redo"));
    EXPECT_EQ(heard(), (Lines{"leaving u", "leaving u"})) << "told again when redone";
}

TEST_F(MessageTest, NodesAddedAndRemovedByTypeAndConnectionsOfTheWholeGraph) {
    keep(MDGMessage::addNodeAddedCallback(onAdded, kDefaultNodeType, const_cast<char*>("added")));
    keep(MDGMessage::addNodeAddedCallback(onAdded, "transform", const_cast<char*>("transform")));
    keep(MDGMessage::addNodeRemovedCallback(onAdded, "mesh", const_cast<char*>("removed")));
    keep(MDGMessage::addConnectionCallback(onConnection));
    ASSERT_TRUE(run("polyCube -n box"));
    Lines made = heard();
    EXPECT_NE(std::find(made.begin(), made.end(), "added box"), made.end());
    EXPECT_NE(std::find(made.begin(), made.end(), "added boxShape"), made.end());
    EXPECT_NE(std::find(made.begin(), made.end(), "added polyCube1"), made.end());
    EXPECT_NE(std::find(made.begin(), made.end(), "transform box"), made.end());
    EXPECT_EQ(std::count_if(made.begin(), made.end(),
                            [](const std::string& l) { return l.rfind("transform ", 0) == 0; }),
              1)
        << "the type filter keeps the shape and the maker out";
    EXPECT_NE(std::find(made.begin(), made.end(), "connected polyCube1.output boxShape.inMesh"),
              made.end());
    heard().clear();
    ASSERT_TRUE(run("undo"));
    EXPECT_NE(std::find(heard().begin(), heard().end(), "removed boxShape"), heard().end())
        << "undoing the creation removes the nodes";
    EXPECT_NE(
        std::find(heard().begin(), heard().end(), "disconnected polyCube1.output boxShape.inMesh"),
        heard().end());
    heard().clear();
    ASSERT_TRUE(run("redo"));
    EXPECT_NE(std::find(heard().begin(), heard().end(), "added boxShape"), heard().end());
}

TEST_F(MessageTest, ACallbackKnowsItsIdAndOneThatThrowsIsReported) {
    MCallbackId id = keep(MDGMessage::addNodeAddedCallback(rememberId));
    ASSERT_TRUE(run("createNode transform -n a"));
    EXPECT_EQ(seenId, id);
    EXPECT_EQ(MMessage::currentCallbackId(), 0u) << "outside a callback";
    keep(MDGMessage::addNodeAddedCallback(throwing));
    EXPECT_TRUE(run("createNode transform -n b")) << "the command still succeeds";
    EXPECT_NE(lastError().find("callback broke"), std::string::npos) << lastError();
    EXPECT_EQ(result("objExists b"), "1");
}

// ---------------------------------------------------------------- scene messages and MFileIO

void tellMessage(void* name) {
    std::string line = static_cast<const char*>(name);
    if (MFileIO::isNewingFile()) line += " (newing)";
    if (MFileIO::isOpeningFile())
        line += " (opening " +
                fs::path(MFileIO::beforeOpenFilename().asChar()).filename().string() + ")";
    if (MFileIO::isReadingFile()) line += " (reading)";
    if (MFileIO::isWritingFile()) line += " (writing)";
    heard().push_back(line);
}

bool allow = true;
void check(bool* go, void* name) {
    heard().push_back(static_cast<const char*>(name));
    *go = allow;
}

TEST_F(MessageTest, SceneMessagesComeBeforeAndAfterNewOpenAndSaveInOrder) {
    struct M {
        MSceneMessage::Message msg;
        const char* name;
    };
    for (const M& m :
         {M{MSceneMessage::kBeforeNew, "beforeNew"}, M{MSceneMessage::kAfterNew, "afterNew"},
          M{MSceneMessage::kBeforeOpen, "beforeOpen"},
          M{MSceneMessage::kBeforeFileRead, "beforeFileRead"},
          M{MSceneMessage::kAfterFileRead, "afterFileRead"},
          M{MSceneMessage::kAfterOpen, "afterOpen"}, M{MSceneMessage::kBeforeSave, "beforeSave"},
          M{MSceneMessage::kAfterSave, "afterSave"}, M{MSceneMessage::kSceneUpdate, "sceneUpdate"}})
        keep(MSceneMessage::addCallback(m.msg, tellMessage, const_cast<char*>(m.name)));
    keep(MSceneMessage::addCheckCallback(MSceneMessage::kBeforeNewCheck, check,
                                         const_cast<char*>("newCheck")));

    ASSERT_TRUE(run("createNode transform -n a"));
    ASSERT_TRUE(run("file -rename \"" + path("one.tsk") + "\"; file -save"));
    EXPECT_EQ(heard(), (Lines{"beforeSave", "afterSave"}));
    heard().clear();
    ASSERT_TRUE(run("file -new"));
    EXPECT_EQ(heard(), (Lines{"newCheck", "beforeNew", "afterNew", "sceneUpdate"}));
    heard().clear();
    ASSERT_TRUE(MFileIO::open(path("one.tsk")));
    EXPECT_EQ(heard(), (Lines{"beforeOpen", "beforeFileRead (opening one.tsk) (reading)",
                              "afterFileRead", "afterOpen", "sceneUpdate"}));
    EXPECT_EQ(result("objExists a"), "1");
    heard().clear();

    // A check that answers no stops the new scene before anything changed.
    allow = false;
    EXPECT_FALSE(MFileIO::newFile(true));
    EXPECT_EQ(heard(), (Lines{"newCheck"}));
    EXPECT_EQ(result("objExists a"), "1");
    EXPECT_EQ(failure("file -new"), "file: a callback refused the new scene");
    allow = true;

    MStatus st;
    EXPECT_EQ(
        MSceneMessage::addCallback(MSceneMessage::kBeforeSaveCheck, tellMessage, nullptr, &st), 0u);
    EXPECT_FALSE(st) << "a check message needs a check callback";
    EXPECT_EQ(MSceneMessage::addCheckCallback(MSceneMessage::kAfterSave, check, nullptr, &st), 0u);
    EXPECT_FALSE(st);
}

TEST_F(MessageTest, FileIoNamesSavesOpensImportsAndExportsTheScene) {
    EXPECT_EQ(MFileIO::currentFile(), MString(""));
    MStringArray files;
    ASSERT_TRUE(MFileIO::getFiles(files));
    EXPECT_EQ(files.length(), 0u) << "an untitled scene has no file";
    EXPECT_EQ(result("file -q -list"), "");
    EXPECT_FALSE(MFileIO::save()) << "an untitled scene cannot be saved without a name";

    ASSERT_TRUE(run("createNode transform -n a; setAttr a.translateX 2"));
    ASSERT_TRUE(MFileIO::saveAs(path("scene.tsk")));
    EXPECT_EQ(MFileIO::currentFile(), MString(path("scene.tsk")));
    EXPECT_EQ(result("file -q -sn"), path("scene.tsk"));
    EXPECT_EQ(result("file -q -list"), path("scene.tsk"));
    ASSERT_TRUE(MFileIO::getFiles(files));
    ASSERT_EQ(files.length(), 1u);
    EXPECT_EQ(files[0], MString(path("scene.tsk")));

    ASSERT_TRUE(MFileIO::exportAll(path("copy.tsk")));
    EXPECT_EQ(MFileIO::currentFile(), MString(path("scene.tsk"))) << "an export renames nothing";
    ASSERT_TRUE(MFileIO::newFile());
    EXPECT_EQ(result("objExists a"), "0");
    EXPECT_EQ(MFileIO::currentFile(), MString(""));
    ASSERT_TRUE(MFileIO::open(path("copy.tsk")));
    EXPECT_EQ(result("getAttr a.translateX"), "2");
    EXPECT_EQ(MFileIO::currentFile(), MString(path("copy.tsk")));
    EXPECT_FALSE(MFileIO::open(path("copy.tsk"), "mayaAscii")) << "only the host's scene type";
    EXPECT_FALSE(MFileIO::open(path("missing.tsk")));
    EXPECT_EQ(result("getAttr a.translateX"), "2") << "a failed open keeps the scene";

    std::ofstream(path("tri.obj")) << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    ASSERT_TRUE(MFileIO::importFile(path("tri.obj"), "OBJ"));
    EXPECT_EQ(result("polyEvaluate -v tri"), "3");
    EXPECT_FALSE(MFileIO::importFile(path("tri.obj"), "OFF"));
    ASSERT_TRUE(run("select tri"));
    ASSERT_TRUE(MFileIO::exportSelected(path("out.obj"), "OBJexport"));
    EXPECT_TRUE(fs::exists(path("out.obj")));
    EXPECT_FALSE(MFileIO::exportSelected(path("out.tsk")));
    EXPECT_EQ(MFileIO::fileType(), MString("tessarkScene"));
}

}  // namespace

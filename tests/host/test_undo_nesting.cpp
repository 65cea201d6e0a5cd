// A plug-in command that runs other commands from its doIt is one undo step:
// undo takes back what it ran along with its own work, redo brings both back.

#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>

#include "tests/host/test_view_helpers.h"

namespace {

//! Runs two modelling commands undoably; undoable itself or not.
template <bool Undoable>
class TwoCubes : public MPxCommand {
public:
    static void* creator() { return new TwoCubes; }
    bool isUndoable() const override { return Undoable; }
    MStatus doIt(const MArgList&) override {
        MStatus st = MGlobal::executeCommand("polyCube -n cubeA", false, true);
        if (st) st = MGlobal::executeCommand("polyCube -n cubeB", false, true);
        return st;
    }
    MStatus undoIt() override { return MStatus::kSuccess; }
    MStatus redoIt() override { return MStatus::kSuccess; }
};

//! Not kept for undo; what it runs goes into one chunk (left open when
//! asked), as a tool's gesture handler does.
template <bool Close>
class ChunkedCubes : public MPxCommand {
public:
    static void* creator() { return new ChunkedCubes; }
    bool isUndoable() const override { return false; }
    MStatus doIt(const MArgList&) override {
        MGlobal::executeCommand("undoInfo -openChunk", false, false);
        MStatus st = MGlobal::executeCommand("polyCube -n cubeA", false, true);
        if (st) st = MGlobal::executeCommand("polyCube -n cubeB", false, true);
        if (Close) MGlobal::executeCommand("undoInfo -closeChunk", false, false);
        return st;
    }
};

class UndoNestingTest : public viewtest::ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        MObject obj = pluginObject();
        ASSERT_TRUE(MFnPlugin(obj).registerCommand("twoCubes", TwoCubes<true>::creator));
        ASSERT_TRUE(MFnPlugin(obj).registerCommand("twoCubesOnce", TwoCubes<false>::creator));
        ASSERT_TRUE(MFnPlugin(obj).registerCommand("chunkedCubes", ChunkedCubes<true>::creator));
        ASSERT_TRUE(MFnPlugin(obj).registerCommand("openChunkCubes", ChunkedCubes<false>::creator));
    }
    void TearDown() override {
        MObject obj = pluginObject();
        MFnPlugin(obj).deregisterCommand("twoCubes");
        MFnPlugin(obj).deregisterCommand("twoCubesOnce");
        MFnPlugin(obj).deregisterCommand("chunkedCubes");
        MFnPlugin(obj).deregisterCommand("openChunkCubes");
        ViewTest::TearDown();
    }
    static bool exists(const char* name) {
        MSelectionList list;
        return list.add(name);
    }
};

TEST_F(UndoNestingTest, WhatACommandRanUndoesAndRedoesWithIt) {
    ASSERT_TRUE(run("twoCubes"));
    ASSERT_TRUE(exists("cubeA") && exists("cubeB"));
    EXPECT_EQ(ehost::theCommands().undoQueue.journal().back(), "twoCubes")
        << "one step in the queue";
    ASSERT_TRUE(run("undo"));
    EXPECT_FALSE(exists("cubeA"));
    EXPECT_FALSE(exists("cubeB"));
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(exists("cubeA") && exists("cubeB"));
}

TEST_F(UndoNestingTest, ACommandNotKeptForUndoLeavesWhatItRanUndoable) {
    ASSERT_TRUE(run("twoCubesOnce"));
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(exists("cubeA"));
    EXPECT_FALSE(exists("cubeB")) << "the commands it ran are steps of their own";
}

TEST_F(UndoNestingTest, AChunkUndoesAndRedoesAsOneStep) {
    ASSERT_TRUE(run("polyCube -n before"));
    const size_t steps = ehost::theCommands().undoQueue.undoable();
    ASSERT_TRUE(run("undoInfo -openChunk"));
    ASSERT_TRUE(run("polyCube -n cubeA"));
    ASSERT_TRUE(run("undoInfo -openChunk -chunkName inner"));  // nested: joins the outer one
    ASSERT_TRUE(run("polyCube -n cubeB"));
    ASSERT_TRUE(run("undoInfo -closeChunk"));
    ASSERT_TRUE(run("polyCube -n cubeC"));
    ASSERT_TRUE(run("undoInfo -closeChunk"));
    EXPECT_EQ(ehost::theCommands().undoQueue.undoable(), steps + 1);
    EXPECT_EQ(ehost::theCommands().undoQueue.journal().back(), "polyCube -n cubeC")
        << "an unnamed chunk goes by its last command";
    ASSERT_TRUE(run("undo"));
    EXPECT_FALSE(exists("cubeA") || exists("cubeB") || exists("cubeC"));
    EXPECT_TRUE(exists("before"));
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(exists("cubeA") && exists("cubeB") && exists("cubeC"));
}

TEST_F(UndoNestingTest, ChunksThatAreEmptyUnclosedOrUnopened) {
    const size_t steps = ehost::theCommands().undoQueue.undoable();
    ASSERT_TRUE(run("undoInfo -openChunk -chunkName nothing"));
    ASSERT_TRUE(run("undoInfo -closeChunk"));
    EXPECT_EQ(ehost::theCommands().undoQueue.undoable(), steps) << "an empty chunk is no step";
    EXPECT_FALSE(run("undoInfo -closeChunk")) << "no chunk is open";
    EXPECT_FALSE(run("undoInfo -openChunk -closeChunk"));
    // A chunk left open is closed by the next undo, which then takes it back whole.
    ASSERT_TRUE(run("undoInfo -openChunk -chunkName pair"));
    ASSERT_TRUE(run("polyCube -n cubeA"));
    ASSERT_TRUE(run("polyCube -n cubeB"));
    ASSERT_TRUE(run("undo"));
    EXPECT_FALSE(exists("cubeA") || exists("cubeB"));
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(exists("cubeA") && exists("cubeB"));
    EXPECT_EQ(ehost::theCommands().undoQueue.journal().back(), "pair");
}

TEST_F(UndoNestingTest, AChunkInsideACommandNotKeptForUndoIsOneStep) {
    for (const char* command : {"chunkedCubes", "openChunkCubes"}) {
        SCOPED_TRACE(command);
        const size_t steps = ehost::theCommands().undoQueue.undoable();
        ASSERT_TRUE(run(command));
        EXPECT_EQ(ehost::theCommands().undoQueue.undoable(), steps + 1);
        EXPECT_FALSE(ehost::theCommands().undoQueue.chunkOpen())
            << "a chunk left open ends with the command that opened it";
        ASSERT_TRUE(run("undo"));
        EXPECT_FALSE(exists("cubeA") || exists("cubeB"));
        ASSERT_TRUE(run("redo"));
        EXPECT_TRUE(exists("cubeA") && exists("cubeB"));
        ASSERT_TRUE(run("undo"));
    }
    // Inside a chunk of the script, the command's chunk is part of it.
    ASSERT_TRUE(run("undoInfo -openChunk -chunkName outer"));
    ASSERT_TRUE(run("polyCube -n first"));
    ASSERT_TRUE(run("chunkedCubes"));
    ASSERT_TRUE(run("undoInfo -closeChunk"));
    EXPECT_EQ(ehost::theCommands().undoQueue.journal().back(), "outer");
    ASSERT_TRUE(run("undo"));
    EXPECT_FALSE(exists("first") || exists("cubeA"));
}

}  // namespace

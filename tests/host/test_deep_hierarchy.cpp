// A hierarchy far deeper than the call stack (200,000 transforms in a
// chain, with a cube at the bottom): deleting, undoing, duplicating, saving,
// reading back and drawing it all work, because every walk over the DAG is
// iterative.

#include <gmock/gmock.h>

#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>

#include <unistd.h>

#include <filesystem>

#include "host/src/dag/Dag.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/SceneFile.h"
#include "host/src/session/Session.h"
#include "host/src/view/Snapshot.h"
#include "host/src/view/Views.h"
#include "tests/host/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using ehost::DagNode;

constexpr int kDepth = 200000;

class DeepHierarchyTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        dir_ = fs::temp_directory_path() / ("tessark-deep-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        ASSERT_TRUE(run("polyCube -n cube"));
        buildChainAbove("cube");
    }
    void TearDown() override {
        fs::remove_all(dir_);
        HostTest::TearDown();
    }

    static bool run(const std::string& text) {
        return MGlobal::executeCommand(MString(text.c_str()), false, true);
    }

    //! Bottom up through the API: each new transform is made at the world and
    //! takes the chain so far as its child, so no call walks down the chain.
    static void buildChainAbove(const std::string& bottom) {
        MObject below = nodeObject(bottom);
        MFnDagNode fn;
        for (int i = kDepth - 1; i >= 0; --i) {
            MStatus st;
            MObject made = fn.create("transform", MString(("t" + std::to_string(i)).c_str()),
                                     MObject::kNullObj, &st);
            ASSERT_TRUE(st) << st.errorString().str();
            ASSERT_TRUE(fn.addChild(below));
            below = made;
        }
    }

    static MObject nodeObject(const std::string& name) {
        MSelectionList list;
        list.add(MString(name.c_str()));
        MObject o;
        list.getDependNode(0, o);
        return o;
    }

    static DagNode* dag(const std::string& name) {
        return dynamic_cast<DagNode*>(ehost::theScene().find(name));
    }

    //! How many transforms lie above the node.
    static int depthOf(const DagNode& node) {
        int depth = 0;
        for (const DagNode* d = node.parent; d && !d->isWorld(); d = d->parent) ++depth;
        return depth;
    }

    fs::path dir_;
};

TEST_F(DeepHierarchyTest, DeleteTakesTheWholeChainAndUndoAndRedoFollow) {
    const std::size_t before = ehost::theScene().nodes().size();
    ASSERT_TRUE(run("delete t0"));
    EXPECT_EQ(ehost::theScene().find("cubeShape"), nullptr);
    EXPECT_EQ(ehost::theScene().find("t" + std::to_string(kDepth - 1)), nullptr);
    EXPECT_EQ(ehost::theScene().nodes().size(), before - kDepth - 2);

    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(ehost::theScene().nodes().size(), before);
    ASSERT_NE(dag("cubeShape"), nullptr);
    EXPECT_EQ(depthOf(*dag("cubeShape")), kDepth + 1);
    EXPECT_EQ(dag("cube")->parent, dag("t" + std::to_string(kDepth - 1)));
    EXPECT_TRUE(dag("cubeShape")->inWorld());

    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(ehost::theScene().find("t0"), nullptr);
    EXPECT_EQ(ehost::theScene().nodes().size(), before - kDepth - 2);
}

TEST_F(DeepHierarchyTest, DuplicateCopiesTheWholeChainUnderNewNames) {
    MStringArray made;
    ASSERT_TRUE(MGlobal::executeCommand("duplicate t0", made, false, true));
    ASSERT_EQ(made.length(), 1u);
    EXPECT_EQ(made[0], MString(("t" + std::to_string(kDepth)).c_str()));
    // The copy of the cube's shape: the first free number after "cubeShape".
    DagNode* copy = dag("cubeShape1");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(depthOf(*copy), kDepth + 1);
    EXPECT_NE(copy->parent->parent, dag("t" + std::to_string(kDepth - 1)));
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(ehost::theScene().find("cubeShape1"), nullptr);
}

TEST_F(DeepHierarchyTest, SaveAndOpenKeepTheChain) {
    const std::string file = (dir_ / "deep.tsk").string();
    std::string error;
    ASSERT_TRUE(ehost::saveScene(file, &error)) << error;
    ehost::session().newScene();
    ASSERT_TRUE(ehost::openScene(file, &error)) << error;
    ASSERT_NE(dag("cubeShape"), nullptr);
    EXPECT_EQ(depthOf(*dag("cubeShape")), kDepth + 1);
    EXPECT_EQ(dag("t1")->parent, dag("t0"));
}

TEST_F(DeepHierarchyTest, ARefreshPlacesTheCubeThroughEveryLevelAndASnapshotDrawsIt) {
    // Every level moves it a little: the world matrix is the sum of all of them.
    ASSERT_TRUE(
        run("setAttr t0.translateX 1; setAttr t" + std::to_string(kDepth - 1) + ".translateY 2"));
    ASSERT_TRUE(run("refresh"));
    ehost::Panel& panel = ehost::session().views().activePanel();
    ASSERT_EQ(panel.frame.shapes.size(), 1u);
    EXPECT_EQ(panel.frame.shapes[0].shape.get(), dag("cubeShape"));
    EXPECT_EQ(panel.frame.shapes[0].world(3, 0), 1.0);
    EXPECT_EQ(panel.frame.shapes[0].world(3, 1), 2.0);

    // Hidden at the top, it is hidden all the way down.
    ASSERT_TRUE(run("setAttr t0.visibility 0; refresh"));
    EXPECT_TRUE(panel.frame.shapes.empty());
    ASSERT_TRUE(run("setAttr t0.visibility 1; refresh"));
    const fs::path png = dir_ / "deep.png";
    ASSERT_TRUE(ehost::writeSnapshot(panel, png.string()));
    EXPECT_GT(fs::file_size(png), 0u);
}

}  // namespace

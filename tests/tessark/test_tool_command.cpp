// The rail tool's command: every action kind redone, undone and journalled
// through a tool command the context hands out; the command line's span
// change, relax and close; the edits of the last patch and the bridge.

#include <maya/MItMeshEdge.h>
#include <maya/MPxContext.h>

#include "patch/Bridge.h"
#include "patch/PatchHelpers.h"
#include "patch/SpanChange.h"
#include "patch/ToolAction.h"
#include "tessark/TessarkToolCmd.h"
#include "tests/tessark/PatchFixture.h"
#include "tests/tessark/Surfaces.h"

#include "host/src/command/Commands.h"
#include "host/src/view/Tools.h"
#include "host/src/view/Views.h"

namespace {

using Mesh = std::shared_ptr<const ehost::MeshGeometry>;

Mesh copyOf(const Mesh& mesh) {
    return mesh ? std::make_shared<ehost::MeshGeometry>(*mesh) : nullptr;
}

bool same(const Mesh& a, const Mesh& b) {
    return a && b && *a == *b;
}

class ToolCommandTest : public PatchTest {
protected:
    void SetUp() override {
        PatchTest::SetUp();
        makeBumpyGround("ground");
        useSource("ground");
    }
    //! A rail tool context, as the context command makes it.
    MPxContext& context() {
        if (!context_) {
            std::string name = result("TessarkContext");
            ehost::Tool* tool = ehost::session().views().tools().find(name);
            EXPECT_NE(tool, nullptr) << name;
            context_ = tool ? tool->context : nullptr;
        }
        return *context_;
    }
    MStatus arm(tessark::ToolAction action) {
        return tessark::runToolAction(context(), std::move(action));
    }
    MDagPath retopoPath() {
        MDagPath p;
        tessark::selectedRetopologyMesh(p);
        return p;
    }
    MPointArray positions() {
        MPointArray p;
        tessark::readAllPositions(retopoPath(), p);
        return p;
    }
    std::vector<std::string> journal() const {
        return ehost::session().commands().undoQueue.journal();
    }
    MPxContext* context_ = nullptr;
};

bool samePositions(const MPointArray& a, const MPointArray& b) {
    if (a.length() != b.length()) return false;
    for (unsigned i = 0; i < a.length(); ++i)
        if (!(a[i].x == b[i].x && a[i].y == b[i].y && a[i].z == b[i].z)) return false;
    return true;
}

// ---------------------------------------------------------------- the command line

TEST_F(ToolCommandTest, ASpanChangeRebuildsTheLastPatchWithTheNewCounts) {
    complete({groundLine(-2), groundLine(1)});
    ASSERT_EQ(retopo()->numFaces(), 144);
    ASSERT_TRUE(run("TessarkCmd -u 8 -v 4")) << lastError();
    EXPECT_EQ(retopo()->numFaces(), 32);
    EXPECT_EQ(tessark::readNewFaces().length(), 32u);
    EXPECT_EQ(tessark::uSpans(), 8);
    EXPECT_EQ(tessark::vSpans(), 4);
    EXPECT_LT(farthestFromSource("ground"), 0.001);
}

TEST_F(ToolCommandTest, ALockedPatchKeepsItsSpansWhileTheSettingsChange) {
    complete({groundLine(-2), groundLine(1)});
    Mesh before = copyOf(retopo());
    tessark::setLocked(true);
    ASSERT_TRUE(run("TessarkCmd -u 8 -v 4"));
    EXPECT_TRUE(same(retopo(), before));
    EXPECT_EQ(tessark::uSpans(), 8);
    EXPECT_EQ(tessark::vSpans(), 4);
}

TEST_F(ToolCommandTest, BothSpanCountsAreNeeded) {
    complete({groundLine(-2), groundLine(1)});
    Mesh before = copyOf(retopo());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(run("TessarkCmd -u 8"));
    testing::internal::GetCapturedStderr();
    EXPECT_NE(lastError().find("spans flag parsing failed."), std::string::npos) << lastError();
    EXPECT_EQ(tessark::uSpans(), 12) << "nothing is stored";
    EXPECT_TRUE(same(retopo(), before));
}

TEST_F(ToolCommandTest, SpanChangesUndoAndRedoBitForBit) {
    complete({groundLine(-2), groundLine(1)});
    std::vector<Mesh> states{copyOf(retopo())};
    for (const char* change :
         {"TessarkCmd -u 8 -v 4", "TessarkCmd -u 6 -v 3", "TessarkCmd -u 10 -v 5"}) {
        ASSERT_TRUE(run(change)) << lastError();
        states.push_back(copyOf(retopo()));
    }
    EXPECT_EQ(states[3]->numFaces(), 50);
    for (int i = 2; i >= 0; --i) {
        ASSERT_TRUE(run("undo"));
        EXPECT_TRUE(same(retopo(), states[i])) << "after undoing change " << i + 1;
        EXPECT_EQ(static_cast<int>(tessark::readNewFaces().length()), states[i]->numFaces())
            << "the rail node's last patch follows the mesh back";
    }
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(run("redo"));
        EXPECT_TRUE(same(retopo(), states[i])) << "after redoing change " << i;
    }
}

TEST_F(ToolCommandTest, RelaxSmoothsTheLastPatchOnTheSourceAndUndoesExactly) {
    complete({groundLine(-2), groundLine(1)});
    Mesh before = copyOf(retopo());
    ASSERT_TRUE(run("TessarkCmd -r 1")) << lastError();
    Mesh relaxed = copyOf(retopo());
    EXPECT_FALSE(same(relaxed, before)) << "the inner vertices moved";
    EXPECT_LT(farthestFromSource("ground"), 0.001);
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(same(retopo(), before));
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(same(retopo(), relaxed));
}

TEST_F(ToolCommandTest, RelaxWithoutALastPatchSucceedsAndChangesNothing) {
    complete({groundLine(-2), groundLine(1)});
    tessark::clearNewFaces();
    Mesh before = copyOf(retopo());
    EXPECT_TRUE(run("TessarkCmd -r 1")) << lastError();
    EXPECT_TRUE(same(retopo(), before));
}

TEST_F(ToolCommandTest, CloseMakesEveryStrokeALoopAndSetsTheFlag) {
    tessark::appendStroke(groundLine(-2, 5));
    tessark::appendStroke(groundLine(1, 4));
    ASSERT_TRUE(run("TessarkCmd -r 1 -c 1")) << "-c is examined after -r and wins";
    auto strokes = tessark::splitStrokes();
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0][4], strokes[0][0]);
    EXPECT_EQ(strokes[1][3], strokes[1][0]);
    EXPECT_TRUE(tessark::isClosed());
}

TEST_F(ToolCommandTest, APatchMadeWithTheToolOnAMeshWithoutHistoryUndoesToIt) {
    makeGrid("retopo", 8, 4.0, 0.0);
    ASSERT_TRUE(run("select -r retopo"));
    ASSERT_TRUE(run("viewPlace -eye 0 60 1 -lookAt 0 0 0 persp; TessarkContext tc; setToolTo tc"));
    Mesh before = copyOf(retopo());
    tessark::appendStroke(groundLine(-2));
    tessark::appendStroke(groundLine(1));
    // ENTER, and the view redrawn after it, as the host does.
    ehost::session().views().deliver(ehost::ToolKey::Enter);
    ASSERT_EQ(retopo()->numFaces(), 64 + 144);
    ASSERT_TRUE(run("undo"));
    ASSERT_TRUE(ehost::runCommands("select -r retopo", {false, false}));
    EXPECT_TRUE(same(retopo(), before));
}

// ---------------------------------------------------------------- armed actions

TEST_F(ToolCommandTest, ABrushRelaxRestoresEitherSideExactly) {
    complete({groundLine(-2), groundLine(1)});
    MPointArray before = positions();
    MPointArray after = before;
    after[5].y += 0.125;
    after[70].x -= 0.0625;
    ASSERT_TRUE(tessark::writeAllPositions(retopoPath(), after));
    tessark::ToolAction action;
    action.actionKind = tessark::kBrushRelax;
    action.positionsAfter = after;
    action.positionsBefore = before;
    ASSERT_TRUE(arm(std::move(action)));
    EXPECT_TRUE(samePositions(positions(), after));
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(samePositions(positions(), before));
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(samePositions(positions(), after));
    EXPECT_EQ(journal().back(), "TessarkCmd brushRelax");
}

TEST_F(ToolCommandTest, ARedrawnStrokeUndoesToThePositionsOfItsRedo) {
    complete({groundLine(-2), groundLine(1)});
    MDagPath mesh = retopoPath();
    MPointArray armedAt = positions();
    MPointArray moved = armedAt;
    moved[0].y += 1;
    // The mesh changes between arming and redo: undo goes back to the redo's.
    ASSERT_TRUE(tessark::writeAllPositions(mesh, moved));
    tessark::ToolAction action;
    action.actionKind = tessark::kRedrawStroke;
    action.commandText = "move -a 0 2 0 \"" + mesh.fullPathName() + ".vtx[ 3]\" ;";
    ASSERT_TRUE(arm(std::move(action)));
    EXPECT_DOUBLE_EQ(positions()[3].y, 2);
    EXPECT_EQ(journal().back(), "TessarkCmd redrawStroke");
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(samePositions(positions(), moved));
}

TEST_F(ToolCommandTest, RestoringPositionsOntoAChangedMeshIsRefused) {
    complete({groundLine(-2), groundLine(1)});
    Mesh before = copyOf(retopo());
    MPointArray shorter = positions();
    shorter.setLength(shorter.length() - 1);
    tessark::ToolAction action;
    action.actionKind = tessark::kBrushRelax;
    action.positionsAfter = positions();
    action.positionsBefore = shorter;
    ASSERT_TRUE(arm(std::move(action)));
    ASSERT_TRUE(run("undo"));
    EXPECT_NE(lastError().find("cannot restore the positions"), std::string::npos) << lastError();
    EXPECT_TRUE(same(retopo(), before)) << "nothing was written";
}

TEST_F(ToolCommandTest, EachKindJournalsAsTheToolShowsIt) {
    complete({groundLine(-2), groundLine(1)});
    MPointArray now = positions();
    auto armed = [&](int kind, MString text = MString()) {
        tessark::ToolAction action;
        action.actionKind = kind;
        action.commandText = text;
        action.positionsBefore = now;
        action.positionsAfter = now;
        EXPECT_TRUE(arm(std::move(action))) << kind;
        return journal().back();
    };
    EXPECT_EQ(armed(tessark::kRedrawStroke, "ls"), "TessarkCmd redrawStroke");
    EXPECT_EQ(armed(tessark::kRedrawPatch), "TessarkCmd redrawPatch");
    EXPECT_EQ(armed(tessark::kBrushRelax), "TessarkCmd brushRelax");
    EXPECT_EQ(armed(tessark::kRelax, tessark::relaxCommand(retopoPath())), "TessarkCmd relax");
    EXPECT_EQ(armed(tessark::kFusion, "ls"), "TessarkCmd redrawFusion");
    EXPECT_EQ(armed(tessark::kWeld, "ls"), "TessarkCmd weld");
    EXPECT_EQ(armed(tessark::kSpans, "-u 8 -v 4"), "TessarkCmd \"-u 8 -v 4\"");
    EXPECT_EQ(armed(tessark::kClose), "TessarkCmd");
    EXPECT_EQ(armed(tessark::kNoAction), "TessarkCmd") << "a fresh instance journals no argument";
}

TEST_F(ToolCommandTest, AFreshInstanceOnlySelectsTheMeshAgain) {
    complete({groundLine(-2), groundLine(1)});
    MDagPath mesh = retopoPath();
    Mesh before = copyOf(retopo());
    ASSERT_TRUE(run("select -add ground"));
    ASSERT_TRUE(run("TessarkCmd"));
    EXPECT_EQ(result("ls -sl"), MFnDagNode(mesh.transform()).name().str())
        << "the selection is replaced by the retopology mesh";
    EXPECT_TRUE(same(retopo(), before));
}

// ---------------------------------------------------------------- redraw and player row

TEST_F(ToolCommandTest, AOneRowPatchWalksRowByRowAndRedrawsOntoTheNewStroke) {
    MGlobal::setOptionVarValue("kv_vspan", 1);
    complete({groundLine(-2), groundLine(-1)});
    ASSERT_EQ(retopo()->numFaces(), 12);
    EXPECT_TRUE(tessark::isBridgePatch(retopoPath(), 13)) << "one row: faces follow the row";
    MPointArray before = positions();
    tessark::redrawPatch(tessark::uSpans() + 1, 1, groundLine(0.5), true,
                         [&](tessark::ToolAction&& a) { return arm(std::move(a)); });
    double farthestZ = -1e9;
    for (const MPoint& c : lastPatchCorners()) farthestZ = std::max(farthestZ, c.z);
    EXPECT_NEAR(farthestZ, 0.5, 0.01) << "the far row now lies on the new stroke";
    EXPECT_LT(farthestFromSource("ground"), 0.001);
    EXPECT_EQ(journal().back(), "TessarkCmd redrawPatch");
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(samePositions(positions(), before));
    auto shadow = tessark::splitShadowStrokes();
    ASSERT_EQ(shadow.size(), 2u);
    EXPECT_NEAR(shadow[1][0].z, 0.5, 1e-9) << "the new stroke is the second shadow rail";
}

TEST_F(ToolCommandTest, AGridOfSeveralRowsIsNoBridge) {
    MGlobal::setOptionVarValue("kv_vspan", 2);
    complete({groundLine(-2), groundLine(-1)});
    EXPECT_FALSE(tessark::isBridgePatch(retopoPath(), 13));
}

TEST_F(ToolCommandTest, ATooShortStrokeRedrawsNothing) {
    complete({groundLine(-2), groundLine(1)});
    MPointArray before = positions();
    size_t items = journal().size();
    tessark::redrawPatch(13, 12, groundLine(0.5, 2), false,
                         [&](tessark::ToolAction&& a) { return arm(std::move(a)); });
    EXPECT_TRUE(samePositions(positions(), before));
    EXPECT_EQ(journal().size(), items);
}

TEST_F(ToolCommandTest, ThePlayerRowMovesOntoAStrokeResampledToItsSpans) {
    complete({groundLine(-2), groundLine(1)});
    MIntArray ids;
    for (int id : {4, 5, 6}) ids.append(id);
    MPointArray stroke;
    for (int i = 0; i <= 20; ++i) stroke.append(MPoint(0.1 * i, 0, 2));
    MString text = tessark::movePlayerRow(stroke, ids, retopoPath());
    std::string path = retopoPath().fullPathName().str();
    EXPECT_EQ(text.str(), "move -a 0 0 2 \"" + path + ".vtx[ 4]\" ;move -a 1 0 2 \"" + path +
                              ".vtx[ 5]\" ;move -a 2 0 2 \"" + path + ".vtx[ 6]\" ;");
    EXPECT_EQ(tessark::movePlayerRow(stroke, MIntArray(), retopoPath()), MString(""));
}

// ---------------------------------------------------------------- bridge

//! The border edges joining consecutive vertices of a row.
MIntArray edgesAlong(const MDagPath& mesh, const MIntArray& row, unsigned count) {
    MIntArray edges;
    for (unsigned i = 0; i + 1 < row.length() && edges.length() < count; ++i)
        for (MItMeshEdge it(mesh); !it.isDone(); it.next()) {
            int a = it.index(0), b = it.index(1);
            if ((a == row[i] && b == row[i + 1]) || (a == row[i + 1] && b == row[i])) {
                edges.append(it.index());
                break;
            }
        }
    return edges;
}

TEST_F(ToolCommandTest, ABridgeSweepsABorderChainAlongTheStroke) {
    complete({groundLine(-2), groundLine(0)});
    Mesh before = copyOf(retopo());
    MDagPath mesh = retopoPath();
    MIntArray row = tessark::readToMerge();
    MIntArray chain = edgesAlong(mesh, row, 3);
    ASSERT_EQ(chain.length(), 3u);
    MPointArray chainPoints = tessark::edgeChainPoints(chain, mesh);
    ASSERT_EQ(chainPoints.length(), 4u);
    MGlobal::setOptionVarValue("kv_vspan", 2);
    tessark::clearStrokeSet();
    // A stroke from the chain's start straight on across the ground.
    MPointArray path;
    for (int i = 0; i <= 30; ++i) {
        double x = chainPoints[0].x, z = chainPoints[0].z + 0.05 * i;
        path.append(MPoint(x, bump(x, z), z));
    }
    tessark::appendStroke(path);
    MIntArray last = tessark::bridgePatch(chain, chainPoints);
    EXPECT_EQ(last.length(), 4u);
    EXPECT_EQ(retopo()->numFaces(), 144 + 2 * 3) << "two rows of three quads";
    EXPECT_EQ(retopo()->numVertices(), before->numVertices() + 2 * 4)
        << "row 0 is the chain itself";
    EXPECT_LT(farthestFromSource("ground"), 0.001);
    EXPECT_EQ(tessark::readNewFaces().length(), 6u);
    ASSERT_TRUE(run("undo"));
    EXPECT_TRUE(same(retopo(), before));
}

TEST_F(ToolCommandTest, ABridgeAlongASparseStrokeEndsOnRealVertices) {
    complete({groundLine(-2), groundLine(0)});
    MDagPath mesh = retopoPath();
    MIntArray chain = edgesAlong(mesh, tessark::readToMerge(), 3);
    MPointArray chainPoints = tessark::edgeChainPoints(chain, mesh);
    ASSERT_EQ(chainPoints.length(), 4u);
    MGlobal::setOptionVarValue("kv_vspan", 12);
    tessark::clearStrokeSet();
    // Five points cannot give twelve spans: the resampled path is shorter, and
    // it ends on its last point twice.
    MPointArray path;
    for (int i = 0; i <= 4; ++i) {
        double x = chainPoints[0].x, z = chainPoints[0].z + 0.3 * i;
        path.append(MPoint(x, bump(x, z), z));
    }
    tessark::appendStroke(path);
    const int facesBefore = retopo()->numFaces();
    MIntArray last = tessark::bridgePatch(chain, chainPoints);
    ASSERT_EQ(last.length(), 4u);
    const int built = retopo()->numFaces() - facesBefore;
    EXPECT_EQ(built % 3, 0);
    EXPECT_GT(built, 0);
    MIntArray faces = tessark::readNewFaces();
    EXPECT_EQ(static_cast<int>(faces.length()), built);
    for (unsigned i = 0; i < faces.length(); ++i) EXPECT_GE(faces[i], 0);
    // The row the next patch grows from lies at the stroke's end, on vertices the mesh has.
    MFnMesh fn(mesh);
    for (unsigned j = 0; j < last.length(); ++j) {
        ASSERT_LT(last[j], fn.numVertices());
        MPoint p;
        fn.getPoint(last[j], p, MSpace::kWorld);
        EXPECT_NEAR(p.z, chainPoints[j].z + 1.2, 0.05) << j;
    }
}

TEST_F(ToolCommandTest, ABridgeNeedsTwoEdgesToTellItsDirection) {
    complete({groundLine(-2), groundLine(0)});
    Mesh before = copyOf(retopo());
    MIntArray one;
    one.append(0);
    EXPECT_EQ(tessark::bridgePatch(one, MPointArray()).length(), 0u);
    EXPECT_NE(lastError().find("at least two border edges"), std::string::npos);
    EXPECT_TRUE(same(retopo(), before));
}

}  // namespace

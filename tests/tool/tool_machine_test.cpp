// The rail tool's state machine without the host: gesture sequences in, the
// actions, previews and prompts that reach the scene out.

#include <gtest/gtest.h>

#include <random>

#include "tessark/tool/Prompts.h"
#include "tessark/tool/ToolMachine.h"
#include "tests/tool/FakeToolHost.h"

namespace {

using tessark::tool::Button;
using tessark::tool::HandlerResult;
using tessark::tool::Modifiers;
using tessark::tool::PointerEvent;
using tessark::tool::ToolMachine;
using tessark::tool::ToolState;

class ToolMachineTest : public ::testing::Test {
protected:
    ToolMachineTest() : machine(host) { machine.toolOnSetup(); }

    static PointerEvent at(short x, short y, Button b = Button::left, bool shift = false,
                           bool ctrl = false) {
        return {x, y, b, Modifiers{shift, ctrl}};
    }
    //! A left drag from one pixel to another, sampled `steps` times.
    void stroke(short x0, short y0, short x1, short y1, int steps = 10, bool shift = false,
                bool ctrl = false) {
        machine.press(at(x0, y0, Button::left, shift, ctrl));
        for (int k = 1; k <= steps; ++k)
            machine.drag(at(static_cast<short>(x0 + (x1 - x0) * k / steps),
                            static_cast<short>(y0 + (y1 - y0) * k / steps), Button::left, shift,
                            ctrl));
        machine.release(at(x1, y1, Button::left, shift, ctrl));
    }
    //! A Shift+Ctrl click on vertex (i, j) of the grid.
    void pin(int i, int j) {
        PointerEvent e = at(FakeToolHost::px(i), FakeToolHost::px(j), Button::left, true, true);
        machine.press(e);
        machine.release(e);
    }
    void middleClick(int i, int j, bool shift = false) {
        PointerEvent e = at(FakeToolHost::px(i), FakeToolHost::px(j), Button::middle, shift);
        machine.press(e);
        machine.release(e);
    }
    std::vector<int> pins() const { return machine.state().playerStart; }

    FakeToolHost host;
    ToolMachine machine;
};

// ---------------------------------------------------------------- strokes and ENTER

TEST_F(ToolMachineTest, StrokesWaitForEnterAndTwoOfThemBuildAPatch) {
    EXPECT_EQ(host.hint, tessark::tool::prompt::kDefaultHint);
    EXPECT_EQ(host.status, "Tessark activated");
    stroke(100, 60, 180, 60);
    EXPECT_EQ(host.strokeSet.sizes, std::vector<int>{10});
    machine.completeAction();
    EXPECT_EQ(host.count("createPatch"), 0u) << "one stroke is no patch";
    EXPECT_EQ(host.strokeSet.sizes.size(), 1u) << "and it stays";
    stroke(100, 40, 180, 40);
    machine.completeAction();
    EXPECT_TRUE(host.logged("saveNondestructStrokes"));
    EXPECT_TRUE(host.logged("createPatch -1 0"));
    EXPECT_TRUE(host.strokeSet.sizes.empty());
    EXPECT_TRUE(host.logged("lock")) << "ENTER locks the last patch first";
}

TEST_F(ToolMachineTest, AStrokeNeedsTwoSurfacePointsAndASource) {
    host.surfaceUnderCursor = false;
    stroke(100, 60, 180, 60);
    EXPECT_TRUE(host.strokeSet.sizes.empty());
    host.surfaceUnderCursor = true;
    host.source = {true, false};
    machine.press(at(100, 60));
    EXPECT_EQ(machine.drag(at(120, 60)), HandlerResult::invalidParameter);
    machine.release(at(120, 60));
    EXPECT_TRUE(host.strokeSet.sizes.empty());
    EXPECT_EQ(machine.drawFeedback(true), HandlerResult::invalidParameter);
}

TEST_F(ToolMachineTest, TheDragLabelTellsWhatTheStrokeIsFor) {
    machine.press(at(100, 60));
    machine.drag(at(110, 60));
    EXPECT_EQ(host.lastLabel, "Drawing stroke");
    machine.press(at(100, 60, Button::left, false, true));
    machine.drag(at(110, 60, Button::left, false, true));
    EXPECT_EQ(host.lastLabel, "Redraw last stroke");
    machine.press(at(100, 60, Button::left, true, false));
    machine.drag(at(110, 60, Button::left, true, false));
    EXPECT_EQ(host.lastLabel, "Drawing bridge stroke");
    EXPECT_NEAR(machine.state().spinAngle, 0.12, 1e-12) << "the arcs turn from 0 at each press";
}

// ---------------------------------------------------------------- pins and the player

TEST_F(ToolMachineTest, PinsOnTheBorderMakeAPlayerAndAThirdReplacesTheSecond) {
    pin(0, 0);
    EXPECT_EQ(machine.where(), ToolState::onePin);
    EXPECT_EQ(host.status, "1 pin-point has been selected, BACKSPACE to del this pin");
    pin(3, 0);
    EXPECT_EQ(machine.where(), ToolState::player);
    EXPECT_EQ(pins(), (std::vector<int>{host.vertex(0, 0), host.vertex(3, 0)}));
    EXPECT_EQ(machine.state().playerEdges.size(), 3u) << "the border run between them";
    EXPECT_EQ(host.playersLine.size(), 4u);
    EXPECT_EQ(host.playerPoints, pins());
    pin(4, 1);
    EXPECT_EQ(pins(), (std::vector<int>{host.vertex(0, 0), host.vertex(4, 1)}));
    EXPECT_EQ(machine.state().playerEdges.size(), 5u);
}

TEST_F(ToolMachineTest, InteriorOrFarVerticesMakeNoPin) {
    pin(2, 2);  // interior
    EXPECT_TRUE(pins().empty());
    machine.press(at(FakeToolHost::px(0) + 9, FakeToolHost::px(0), Button::left, true, true));
    EXPECT_TRUE(pins().empty()) << "9 pixels away is not within the radius";
    machine.press(at(FakeToolHost::px(0) + 8, FakeToolHost::px(0), Button::left, true, true));
    EXPECT_EQ(pins().size(), 1u);
}

TEST_F(ToolMachineTest, AStrokeReleasedWithAPlayerGrowsAPatchFromIt) {
    pin(0, 0);
    pin(4, 0);
    host.createdRow = {30, 29, 31, 32, 33};
    stroke(100, 60, 180, 60);
    EXPECT_TRUE(host.logged("prependStroke 5")) << "the player goes in front as the first rail";
    EXPECT_TRUE(host.logged("createPatch 4 5"));
    EXPECT_TRUE(host.lastPlayer);
    EXPECT_EQ(pins(), (std::vector<int>{30, 33})) << "the new far row is the next player";
    EXPECT_EQ(host.status, "bi-rail Patch created");
    EXPECT_TRUE(host.strokeSet.sizes.empty());
}

TEST_F(ToolMachineTest, AShiftDragWithAPlayerSweepsABridgeAlongIt) {
    pin(0, 0);
    pin(2, 0);
    host.createdRow = {40, 39, 41};
    stroke(100, 100, 100, 60, 10, true, false);
    EXPECT_TRUE(host.logged("bridgePatch 2"));
    EXPECT_TRUE(host.lastPlayer);
    EXPECT_EQ(host.status, "rail-path created");
    EXPECT_EQ(pins(), (std::vector<int>{40, 41}));
    machine.completeAction();
    EXPECT_TRUE(pins().empty()) << "ENTER after a path drops the player";
}

TEST_F(ToolMachineTest, ACtrlDragRedrawsOnlyWithSomethingToRedraw) {
    stroke(100, 60, 180, 60, 10, false, true);
    EXPECT_EQ(host.count("redraw"), 0u) << "no shadow strokes and no player";
    host.shadowStrokes = 2;
    stroke(100, 60, 180, 60, 10, false, true);
    EXPECT_TRUE(host.logged("redrawPatch 13 12 scratch"));
    host.surfaceUnderCursor = false;
    stroke(100, 60, 180, 60, 10, false, true);
    EXPECT_EQ(host.count("redrawPatch"), 1u) << "a drag that captured nothing redraws nothing";
}

TEST_F(ToolMachineTest, ACtrlDragWithAPlayerMovesItsRow) {
    pin(0, 0);
    pin(4, 0);
    stroke(100, 60, 180, 60, 10, false, true);
    EXPECT_TRUE(host.logged("redrawPlayerRow 5"));
    EXPECT_EQ(pins(), (std::vector<int>{host.vertex(0, 0), host.vertex(4, 0)}));
}

// ---------------------------------------------------------------- bridge, weld, magnets

TEST_F(ToolMachineTest, AMiddleClickWithAPlayerPicksABridgeLoopAndEnterRunsIt) {
    pin(0, 0);
    pin(2, 0);
    middleClick(0, 4);
    EXPECT_EQ(machine.where(), ToolState::bridge);
    EXPECT_EQ(machine.state().fuseVertices.size(), 3u) << "one fuse vertex per player vertex";
    EXPECT_EQ(host.status, "1 Bridge point is selected");
    EXPECT_EQ(host.fuseMesh.size(), 6u);
    EXPECT_EQ(host.fuseTriangles.size(), 12u);
    EXPECT_TRUE(host.fuseBridge);
    machine.completeAction();
    EXPECT_TRUE(host.logged("bridgeLoops 2 3 1")) << "the loop walks one edge per player vertex";
    EXPECT_EQ(machine.where(), ToolState::idle);
}

TEST_F(ToolMachineTest, AShiftMiddleClickPicksAWeldLoopAndEnterWeldsAtMidpoints) {
    pin(0, 0);
    pin(2, 0);
    middleClick(0, 4, true);
    EXPECT_EQ(machine.where(), ToolState::weld);
    EXPECT_FALSE(host.fuseBridge);
    EXPECT_EQ(host.hint, "Press ENTER to merge these vertex loops");
    machine.completeAction();
    EXPECT_TRUE(host.logged("weld 3 3 3"));
    EXPECT_EQ(machine.where(), ToolState::idle);
}

TEST_F(ToolMachineTest, APickOnThePlayersOwnBorderSelectsNoLoopToJoin) {
    pin(0, 0);
    pin(2, 0);
    for (bool shift : {false, true}) {
        middleClick(1, 0, shift);  // the player's middle vertex
        EXPECT_TRUE(machine.state().fuseVertices.empty());
        EXPECT_TRUE(machine.state().fuseEdges.empty());
        EXPECT_EQ(machine.where(), ToolState::player);
    }
    machine.completeAction();
    EXPECT_EQ(host.count("bridgeLoops"), 0u) << "the player is not joined to itself";
    EXPECT_EQ(host.count("weld"), 0u);
}

TEST_F(ToolMachineTest, WithOnePinAMiddleClickPicksNothing) {
    pin(0, 0);
    middleClick(0, 4);
    EXPECT_EQ(machine.where(), ToolState::onePin);
    EXPECT_TRUE(machine.state().magnetPoints.empty());
    EXPECT_TRUE(machine.state().fuseVertices.empty());
}

TEST_F(ToolMachineTest, AMiddleDragJoinsTwoMagnetPointsAndTheReleaseMergesThem) {
    PointerEvent first = at(FakeToolHost::px(0), FakeToolHost::px(0), Button::middle);
    machine.press(first);
    EXPECT_EQ(machine.where(), ToolState::magnet);
    EXPECT_EQ(host.magnetPreview.size(), 1u);
    machine.drag(first);
    EXPECT_EQ(machine.state().magnetPoints.size(), 1u) << "back on the first: not twice";
    machine.drag(at(FakeToolHost::px(1), FakeToolHost::px(0), Button::middle));
    EXPECT_EQ(machine.where(), ToolState::magnets);
    EXPECT_EQ(host.magnetPreview.size(), 2u);
    EXPECT_EQ(host.status, "2 magnet points selected");
    machine.release(at(FakeToolHost::px(1), FakeToolHost::px(0), Button::middle));
    EXPECT_TRUE(host.logged("magnetMerge 0 1"));
    EXPECT_TRUE(host.magnetPreview.empty());
    EXPECT_EQ(machine.where(), ToolState::idle);
}

TEST_F(ToolMachineTest, OneMagnetPointMergesNothingAndTheNextPressForgetsIt) {
    middleClick(0, 0);
    EXPECT_EQ(host.count("magnetMerge"), 0u);
    machine.press(at(300, 300));
    EXPECT_TRUE(machine.state().magnetPoints.empty());
}

// ---------------------------------------------------------------- BACKSPACE

TEST_F(ToolMachineTest, BackspaceRemovesStrokesThenTheLoopThenEachPin) {
    pin(0, 0);
    pin(2, 0);
    middleClick(0, 4);
    stroke(100, 60, 180, 60, 10, true, true);  // neither flag: a plain stroke while pinned
    host.strokeSet = {};
    host.appendStroke({{0, 0, 0}, {1, 0, 0}});
    host.appendStroke({{0, 0, 1}, {1, 0, 1}});
    machine.deleteAction();
    EXPECT_EQ(host.strokeSet.sizes.size(), 1u);
    EXPECT_EQ(machine.where(), ToolState::bridge);
    machine.deleteAction();
    EXPECT_TRUE(host.strokeSet.sizes.empty());
    EXPECT_EQ(machine.where(), ToolState::bridge);
    machine.deleteAction();
    EXPECT_EQ(machine.where(), ToolState::player) << "the fuse loop goes before any pin";
    EXPECT_TRUE(host.fuseMesh.empty());
    machine.deleteAction();
    EXPECT_EQ(machine.where(), ToolState::onePin);
    EXPECT_TRUE(host.playersLine.empty());
    machine.deleteAction();
    EXPECT_EQ(machine.where(), ToolState::idle);
    EXPECT_TRUE(host.playerPoints.empty());
    machine.deleteAction();
    EXPECT_EQ(host.hint, tessark::tool::prompt::kDefaultHint) << "with nothing left: the prompts";
}

// ---------------------------------------------------------------- prompts and brush

TEST_F(ToolMachineTest, ThePromptsFollowTheStatesTable) {
    machine.press(at(300, 300));
    machine.release(at(300, 300));
    machine.drawFeedback(true);
    EXPECT_EQ(host.status, "");
    pin(0, 0);
    machine.drawFeedback(true);
    EXPECT_EQ(host.hint, "select another point to create rail");
    EXPECT_EQ(host.status, "Select Mode: 1st point selected, BACKSPACE = remove last point");
    pin(2, 0);
    machine.drawFeedback(true);
    EXPECT_EQ(host.status,
              "SelectMode: 2nd point selected,  BACKSPACE = remove last point, ENTER = complete");
    middleClick(0, 4);
    machine.drawFeedback(true);
    EXPECT_EQ(host.hint, "Press ENTER to complete or select another pin-point");
    EXPECT_EQ(host.status, "PolyBridge Mode");
    host.status = "kept";
    machine.drawFeedback(false);
    EXPECT_EQ(host.status, "kept") << "another camera's view changes nothing";
}

TEST_F(ToolMachineTest, ABrushStrokeRelaxesEachDragAndUndoesAsOne) {
    machine.enterBrushMode(40, 0.25);
    EXPECT_DOUBLE_EQ(machine.state().brushStrength, 1);
    EXPECT_EQ(host.status, "Brush Relax Mode");
    machine.press(at(120, 120));
    EXPECT_EQ(machine.state().brushRestPositions.size(), 25u);
    machine.drag(at(125, 120));
    machine.drag(at(130, 120));
    machine.release(at(130, 120));
    EXPECT_EQ(host.count("brushRelaxStep 2 1"), 2u);
    EXPECT_EQ(host.count("brushRelax 25 25"), 1u);
    machine.pointerMoved(at(10, 10));
    EXPECT_TRUE(host.logged("brushCursor"));
    machine.toolOnSetup();
    EXPECT_FALSE(machine.state().brushMode) << "a new setup leaves brush mode";
}

TEST_F(ToolMachineTest, UndoAndToolChangeDropThePlayer) {
    pin(0, 0);
    pin(2, 0);
    machine.onUndo();
    EXPECT_EQ(machine.where(), ToolState::idle);
    EXPECT_EQ(host.hint, "");
    machine.rebuildPlayer();
    EXPECT_TRUE(pins().empty()) << "nothing to rebuild without a pin";
}

TEST_F(ToolMachineTest, WithoutAMeshTheBorderRangeIsFiveZeros) {
    pin(0, 0);
    host.meshSelected = false;
    pin(2, 0);
    EXPECT_EQ(machine.state().playerEdges, (std::vector<int>{0, 0, 0, 0, 0}));
}

// Random gestures never leave the selections inconsistent: magnets only
// without pins, fuse loops only with a player, at most two pins and magnets.
TEST_F(ToolMachineTest, RandomGesturesKeepTheSelectionsConsistent) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        for (int step = 0; step < 400; ++step) {
            short x = static_cast<short>(FakeToolHost::px(pick(5)) + pick(7) - 3);
            short y = static_cast<short>(FakeToolHost::px(pick(5)) + pick(7) - 3);
            Button b = pick(3) ? Button::left : Button::middle;
            PointerEvent e = at(x, y, b, pick(2) == 0, pick(3) == 0);
            switch (pick(8)) {
                case 0:
                    machine.press(e);
                    break;
                case 1:
                    machine.drag(e);
                    break;
                case 2:
                    machine.release(e);
                    break;
                case 3:
                    machine.deleteAction();
                    break;
                case 4:
                    machine.completeAction();
                    break;
                case 5:
                    stroke(x, y, static_cast<short>(x + 30), y, 4, pick(2), pick(2));
                    break;
                case 6:
                    pin(pick(5), pick(2) * 4);
                    break;
                default:
                    middleClick(pick(2) * 4, pick(5), pick(2));
                    break;
            }
            const auto& s = machine.state();
            ASSERT_LE(s.playerStart.size(), 2u) << "seed " << seed << " step " << step;
            ASSERT_LE(s.magnetPoints.size(), 2u);
            if (!s.magnetPoints.empty()) {
                ASSERT_TRUE(s.playerStart.empty()) << "seed " << seed << " step " << step;
            }
            if (!s.fuseVertices.empty()) {
                ASSERT_EQ(s.playerStart.size(), 2u) << "seed " << seed << " step " << step;
            }
        }
    }
}

}  // namespace

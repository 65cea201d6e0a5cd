// Tool contexts made through a context command registered as a plug-in
// registers it: creation, edit and query through the object that made each
// context, setToolTo and the ToolChanged event, input events and keys routed
// to the current tool, strokes, feedback drawing and tool commands.

#include <maya/M3dView.h>

#include "tests/host/test_view_helpers.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using viewtest::log;
using viewtest::ProbeContext;
using viewtest::ViewTest;

class ToolTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        registerProbeTool();
    }
    //! Makes a probe context and makes it the current tool.
    std::string useProbe(const std::string& flags = "") {
        std::string name = result("probeCtx " + flags);
        EXPECT_TRUE(run("setToolTo " + name)) << lastError();
        log().clear();
        return name;
    }
    static ProbeContext* context(const std::string& name) {
        ehost::Tool* tool = views().tools().find(name);
        return tool ? static_cast<ProbeContext*>(tool->context) : nullptr;
    }
    //! The log without the feedback each refresh adds.
    static std::vector<std::string> events() {
        std::vector<std::string> out;
        for (const auto& e : log())
            if (e.rfind("feedback", 0) != 0) out.push_back(e);
        return out;
    }
};

// ---------------------------------------------------------------- context command

TEST_F(ToolTest, ContextCommandMakesNamedContexts) {
    EXPECT_EQ(result("probeCtx"), "probeCtx1");
    EXPECT_EQ(result("probeCtx"), "probeCtx2");
    EXPECT_EQ(result("probeCtx myProbe"), "myProbe");
    EXPECT_FALSE(run("probeCtx myProbe"));
    EXPECT_THAT(lastError(), HasSubstr("a tool context named myProbe already exists"));
    EXPECT_FALSE(run("probeCtx \"bad name\""));
    EXPECT_EQ(result("probeCtx -exists myProbe"), "1");
    EXPECT_EQ(result("probeCtx -exists nothing"), "0");
    EXPECT_EQ(ProbeContext::alive, 3);
    EXPECT_NE(context("probeCtx2"), nullptr);
    EXPECT_EQ(result("currentCtx"), "");
}

TEST_F(ToolTest, EditAndQueryGoToTheObjectThatMadeTheContext) {
    ASSERT_TRUE(run("probeCtx -size 5 -label first a"));  // flags at creation act as an edit
    ASSERT_TRUE(run("probeCtx b"));
    EXPECT_EQ(context("a")->size, 5);
    EXPECT_EQ(context("a")->label, "first");
    ASSERT_TRUE(run("probeCtx -e -size 7 a"));
    EXPECT_EQ(result("probeCtx -q -size a"), "7");
    EXPECT_EQ(result("probeCtx -q -size b"), "1");
    EXPECT_EQ(result("probeCtx -q -label a"), "first");
    EXPECT_EQ(context("b")->size, 1);
    ASSERT_TRUE(run("probeCtx -e -image1 probe.png b"));
    MString image = context("b")->getImage(MPxContext::kImage1);
    EXPECT_EQ(image.str(), "probe.png");

    EXPECT_FALSE(run("probeCtx -e -size 3 nobody"));
    EXPECT_THAT(lastError(), HasSubstr("no probeCtx context named \"nobody\""));
    EXPECT_FALSE(run("probeCtx -e -size 3"));
    EXPECT_THAT(lastError(), HasSubstr("-edit needs the name of a context"));
    EXPECT_FALSE(run("probeCtx -e -speed 3 a"));
    EXPECT_THAT(lastError(), HasSubstr("Invalid flag: -speed"));
    EXPECT_FALSE(run("probeCtx -e -size many a"));
    EXPECT_FALSE(run("probeCtx -e -q -size a"));
    EXPECT_EQ(context("a")->size, 7);
    // selectSuperContext is the host's own: no probeCtx edits it.
    EXPECT_FALSE(run("probeCtx -e -size 3 selectSuperContext"));
}

TEST_F(ToolTest, DeregisteringTheContextCommandDeletesItsContexts) {
    useProbe();
    ASSERT_TRUE(run("probeCtx"));
    EXPECT_EQ(ProbeContext::alive, 2);
    MObject obj = pluginObject();
    ASSERT_TRUE(MFnPlugin(obj).deregisterContextCommand("probeCtx", "probeTool"));
    EXPECT_EQ(ProbeContext::alive, 0);
    EXPECT_THAT(log(), ElementsAre("cleanup probeCtx1"));
    EXPECT_EQ(result("currentCtx"), "");
    EXPECT_FALSE(run("hostInput -press -x 1 -y 1"));
    EXPECT_FALSE(run("probeCtx"));
    registerProbeTool();  // for the fixture's own clean-up
}

TEST_F(ToolTest, RefusedContextCommandIsNotRegistered) {
    ehost::refuseRegistration(ehost::RegistrationKind::ContextCommand, "otherCtx");
    MObject obj = pluginObject();
    MStatus st =
        MFnPlugin(obj).registerContextCommand("otherCtx", viewtest::ProbeContextCommand::creator);
    EXPECT_FALSE(st);
    EXPECT_FALSE(run("otherCtx"));
}

// ---------------------------------------------------------------- tool switching

TEST_F(ToolTest, SetToolToSwitchesOffTheOldToolSetsUpTheNewOneThenTellsListeners) {
    ASSERT_TRUE(run("probeCtx a"));
    ASSERT_TRUE(run("probeCtx b"));
    MCallbackId id = MEventMessage::addEventCallback(
        "ToolChanged",
        [](void*) {
            ehost::Tool* current = ehost::theViews().tools().current();
            log().push_back("ToolChanged " + (current ? current->name : std::string("none")));
        },
        nullptr);
    ASSERT_TRUE(run("setToolTo a"));
    ASSERT_TRUE(run("setToolTo b"));
    ASSERT_TRUE(run("setToolTo b"));  // already the tool: nothing happens
    ASSERT_TRUE(run("setToolTo selectSuperContext"));
    MMessage::removeCallback(id);
    EXPECT_THAT(log(), ElementsAre("setup a", "ToolChanged a", "cleanup a", "setup b",
                                   "ToolChanged b", "cleanup b", "ToolChanged selectSuperContext"));
    EXPECT_EQ(result("currentCtx"), "selectSuperContext");
    EXPECT_EQ(ehost::ApiAccess::impl(*context("b")).helpString, "probe tool");
    EXPECT_TRUE(ehost::ApiAccess::impl(*context("b")).cursor == MCursor::doubleCrossHairCursor);

    EXPECT_FALSE(run("setToolTo nothing"));
    EXPECT_THAT(lastError(), HasSubstr("no tool context named \"nothing\""));
    EXPECT_EQ(result("currentCtx"), "selectSuperContext");
    // The host's own tool takes events and does nothing with them.
    EXPECT_TRUE(run("hostInput -press -x 5 -y 5"));
}

// ---------------------------------------------------------------- pointer events

TEST_F(ToolTest, PointerEventsReachTheCurrentToolWithButtonsAndModifiers) {
    useProbe();
    ASSERT_TRUE(run("hostInput -press -x 10 -y 20"));
    ASSERT_TRUE(run("hostInput -drag -x 11 -y 21 -button middle -shift"));
    ASSERT_TRUE(run("hostInput -drag -x 12 -y 22 -ctrl"));
    ASSERT_TRUE(run("hostInput -release -x 13 -y 23 -shift -ctrl"));
    EXPECT_THAT(events(), ElementsAre("press 10 20 b64 none", "drag 11 21 b128 shift",
                                      "drag 12 22 b64 ctrl", "release 13 23 b64 shift ctrl"));
}

TEST_F(ToolTest, TheOlderHandlerRunsWhenTheToolOverridesOnlyThat) {
    useProbe();
    ASSERT_TRUE(run("hostInput -move -x 3 -y 4 -button middle"));
    ASSERT_TRUE(run("hostInput -hold -x 3 -y 4"));  // not overridden at all: the base does nothing
    EXPECT_THAT(events(), ElementsAre("move(old) 3 4 b128 none"));
}

TEST_F(ToolTest, KeysCompleteDeleteAndAbort) {
    std::string name = useProbe();
    ASSERT_TRUE(run("hostInput -key enter"));
    ASSERT_TRUE(run("hostInput -key backspace"));
    ASSERT_TRUE(run("hostInput -key escape"));
    EXPECT_THAT(events(), ElementsAre("complete " + name, "delete " + name, "abort " + name));
    EXPECT_FALSE(run("hostInput -key space"));
    EXPECT_THAT(lastError(), HasSubstr("unknown key \"space\""));
}

TEST_F(ToolTest, AStrokeIsAPressADragPerPointAndAReleaseAtTheEnd) {
    useProbe();
    ASSERT_TRUE(run("hostInput -stroke \"0 0 5 5, 10 10\" -button middle -shift"));
    EXPECT_THAT(events(), ElementsAre("press 0 0 b128 shift", "drag 5 5 b128 shift",
                                      "drag 10 10 b128 shift", "release 10 10 b128 shift"));
    log().clear();
    ASSERT_TRUE(run("hostInput -stroke \"7.4 8.6\""));
    EXPECT_THAT(events(), ElementsAre("press 7 9 b64 none", "release 7 9 b64 none"));
    EXPECT_FALSE(run("hostInput -stroke \"1 2 3\""));
    EXPECT_THAT(lastError(), HasSubstr("pairs of view coordinates"));
    EXPECT_FALSE(run("hostInput -stroke \"1 2 x 4\""));
}

TEST_F(ToolTest, AWorldStrokeIsProjectedThroughTheActiveView) {
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -fieldOfView 90 persp"));
    useProbe();
    ASSERT_TRUE(run("hostInput -worldStroke \"0 0 0  1 0 0  1 2 5\""));
    EXPECT_THAT(events(), ElementsAre("press 320 240 b64 none", "drag 344 240 b64 none",
                                      "drag 368 336 b64 none", "release 368 336 b64 none"));
    log().clear();
    EXPECT_FALSE(run("hostInput -worldStroke \"0 0 0  0 0 20\""));
    EXPECT_THAT(lastError(), HasSubstr("world point 1 is behind the camera"));
    EXPECT_FALSE(run("hostInput -worldStroke \"0 0 0  100 0 0\""));
    EXPECT_THAT(lastError(), HasSubstr("world point 1 falls outside the port"));
    EXPECT_TRUE(events().empty());  // nothing is sent when a point cannot be
}

TEST_F(ToolTest, EventsWithoutAToolOrOutsideThePortAreClearErrors) {
    EXPECT_FALSE(run("hostInput -press -x 1 -y 1"));
    EXPECT_THAT(lastError(), HasSubstr("there is no current tool"));
    EXPECT_FALSE(run("hostInput -key enter"));
    useProbe();
    EXPECT_FALSE(run("hostInput -press -x 640 -y 10"));
    EXPECT_THAT(lastError(), HasSubstr("(640, 10) is outside the port of modelPanel4 (640 x 480)"));
    EXPECT_FALSE(run("hostInput -press -x -1 -y 10"));
    EXPECT_FALSE(run("hostInput -press -x 1e9 -y 10"));
    EXPECT_FALSE(run("hostInput -press -x 10"));
    EXPECT_THAT(lastError(), HasSubstr("needs -x and -y"));
    EXPECT_FALSE(run("hostInput -press -drag -x 1 -y 1"));
    EXPECT_FALSE(run("hostInput -press -x 1 -y 1 -button right"));
    EXPECT_THAT(lastError(), HasSubstr("unknown button \"right\""));
    EXPECT_TRUE(events().empty());
    ASSERT_TRUE(run("hostView -size 100 50"));
    EXPECT_FALSE(run("hostInput -stroke \"10 10 99 50\""));
    EXPECT_THAT(lastError(),
                HasSubstr("stroke point 1 (99, 50) falls outside the port of modelPanel4"));
    EXPECT_TRUE(events().empty());  // not even the press went out
}

TEST_F(ToolTest, AFailingHandlerIsReportedButTheScriptGoesOn) {
    std::string name = useProbe();
    context(name)->failDrags = true;
    ASSERT_TRUE(run("hostInput -stroke \"1 1 2 2 3 3\""));
    EXPECT_THAT(lastMessage(ehost::MessageLog::Kind::Warning),
                HasSubstr("the tool reported a failure for 2 of 4 events (first: "));
    EXPECT_THAT(events(), ElementsAre("press 1 1 b64 none", "drag 2 2 b64 none",
                                      "drag 3 3 b64 none", "release 3 3 b64 none"));
}

TEST_F(ToolTest, AHandlerThatReplacesThePanelsLeavesTheHostSound) {
    ASSERT_TRUE(run("hostView -addPanel other -camera persp; hostView -setActive other"));
    std::string name = useProbe();
    context(name)->newSceneOnPress = true;
    ASSERT_TRUE(run("hostInput -press -x 5 -y 5"));
    EXPECT_EQ(M3dView::active3dView().panelName().str(), "modelPanel4");
    EXPECT_EQ(M3dView::numberOf3dViews(), 1u);
    EXPECT_EQ(result("currentCtx"), name);  // tools outlive the scene
    context(name)->newSceneOnPress = false;
    ASSERT_TRUE(run("hostInput -press -x 5 -y 5"));
}

// ---------------------------------------------------------------- drawing and commands

TEST_F(ToolTest, HandlerDrawingStaysUntilTheNextEventAndFeedbackIsDrawnOnRefresh) {
    std::string name = useProbe("-label hello");
    ASSERT_TRUE(run("hostInput -press -x 30 -y 40"));
    // The host redraws the view after the event: feedback with the frame's camera.
    EXPECT_THAT(log(), ElementsAre("press 30 40 b64 none", "feedback " + name));
    EXPECT_EQ(context(name)->feedbackCamera, "|persp|perspShape");
    auto drawables = activePanel().drawables();
    ASSERT_EQ(drawables.size(), 2u);
    EXPECT_EQ(drawables[0]->source, ehost::Drawable::Source::ToolFeedback);
    ASSERT_EQ(drawables[0]->primitives.size(), 1u);
    EXPECT_EQ(drawables[0]->primitives[0].text, "hello");
    EXPECT_EQ(drawables[1]->source, ehost::Drawable::Source::ToolEvent);
    ASSERT_EQ(drawables[1]->primitives.size(), 1u);
    const ehost::Primitive& dot = drawables[1]->primitives[0];
    EXPECT_EQ(dot.kind, ehost::PrimitiveKind::Circle);
    EXPECT_TRUE(dot.is2D);
    EXPECT_TRUE(dot.filled);
    EXPECT_EQ(dot.points[0].x, 30);
    EXPECT_EQ(dot.state.color, MColor(1.0f, 0.0f, 0.0f));

    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(activePanel().drawables().size(), 2u);  // a refresh keeps the event's drawing
    ASSERT_TRUE(run("hostInput -drag -x 31 -y 41"));  // this handler draws nothing
    EXPECT_EQ(activePanel().drawables().size(), 1u);

    // Feedback belongs to the active view only.
    ASSERT_TRUE(run("hostView -addPanel other -camera persp; hostView -setActive other"));
    log().clear();
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(log(), ElementsAre("feedback " + name));
    EXPECT_EQ(views().findPanel("modelPanel4")->frame.drawables.size(), 0u);
}

TEST_F(ToolTest, ToolCommandsFromTheContextGoToTheUndoQueue) {
    useProbe("-size 4 -makeCommand");
    ASSERT_TRUE(run("hostInput -stroke \"5 5 6 6\""));
    EXPECT_THAT(events(), ElementsAre("press 5 5 b64 none", "drag 6 6 b64 none",
                                      "release 6 6 b64 none", "tool redo 4"));
    auto journal = ehost::session().commands().undoQueue.journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back(), "probeTool -v 4");
    log().clear();
    ASSERT_TRUE(run("undo"));
    ASSERT_TRUE(run("redo"));
    EXPECT_THAT(events(), ElementsAre("tool undo 4", "tool redo 4"));
    // The tool command runs from the command line as well.
    EXPECT_NE(ehost::session().commands().find("probeTool"), nullptr);
}

}  // namespace

// The API edge: an exception thrown by plug-in code the host calls becomes a
// failing status and an error that names what threw, and the host goes on
// (the graph evaluates, the undo queue undoes, views draw); an allocation
// that fails inside an API entry comes back as a failing status.

#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPointArray.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "host/src/core/Guard.h"
#include "host/src/core/StatusText.h"
#include "host/src/dg/Api.h"
#include "tests/host/test_view_helpers.h"

// ---------------------------------------------------------------- failing allocations

// An address sanitizer brings its own allocator, which must pair with its
// operator delete: there the allocation tests are skipped.
#if defined(__SANITIZE_ADDRESS__)
#define EDGE_TESTS_FAIL_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EDGE_TESTS_FAIL_ALLOCATIONS 0
#endif
#endif
#ifndef EDGE_TESTS_FAIL_ALLOCATIONS
#define EDGE_TESTS_FAIL_ALLOCATIONS 1
#endif

namespace {
// While non-zero, allocations of at least this many bytes fail.
std::atomic<std::size_t> failFrom{0};
}  // namespace

#if EDGE_TESTS_FAIL_ALLOCATIONS
// The test program's allocator, which the host library uses too: it fails
// large allocations on demand, so that a real std::bad_alloc rises inside
// the engine. operator delete stays the library's, which frees what malloc gave.
void* operator new(std::size_t size) {
    const std::size_t limit = failFrom.load(std::memory_order_relaxed);
    if (limit && size >= limit) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
#endif

namespace {

using ::testing::Contains;
using viewtest::ViewTest;

//! Allocations of at least size bytes fail while it lives.
struct FailingAllocations {
    explicit FailingAllocations(std::size_t size) { failFrom = size; }
    ~FailingAllocations() { failFrom = 0; }
};
constexpr std::size_t kLarge = 256 * 1024;

//! Which call of the probes below throws (empty: none).
std::string& throwIn() {
    static std::string where;
    return where;
}

void maybeThrow(const char* here) {
    if (throwIn() == here) throw std::runtime_error(std::string("broken ") + here);
}

// ---------------------------------------------------------------- a node type

//! out = 2 * in; in = 1 throws std::bad_alloc, 2 a std::runtime_error, 3 an int.
class Fragile : public MPxNode {
public:
    static void* creator() {
        maybeThrow("creator");
        return new Fragile;
    }
    static MStatus initialize() {
        MFnNumericAttribute n;
        in = n.create("input", "in", MFnNumericData::kDouble, 0);
        out = n.create("output", "out", MFnNumericData::kDouble, 0);
        n.setWritable(false);
        n.setStorable(false);
        MFnTypedAttribute t;
        cloud = t.create("cloud", "cl", MFnData::kPointArray);
        for (MObject* attr : {&in, &out, &cloud}) addAttribute(*attr);
        attributeAffects(in, out);
        return MStatus::kSuccess;
    }
    static MStatus brokenInitialize() { throw std::length_error("attribute table full"); }

    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != out) return MStatus::kUnknownParameter;
        const double v = data.inputValue(in).asDouble();
        if (v == 1) throw std::bad_alloc();
        if (v == 2) throw std::runtime_error("no output today");
        if (v == 3) throw 3;
        data.outputValue(out).set(2 * v);
        data.setClean(plug);
        return MStatus::kSuccess;
    }
    inline static MObject in, out, cloud;
};

// ---------------------------------------------------------------- a command

//! Undoable; its doIt, undoIt or creator throws when asked to.
class FragileCommand : public MPxCommand {
public:
    FragileCommand() { ++alive; }
    ~FragileCommand() override { --alive; }
    static void* creator() {
        if (throwIn() == "command creator") throw std::bad_alloc();
        return new FragileCommand;
    }
    bool isUndoable() const override { return true; }
    MStatus doIt(const MArgList&) override {
        if (throwIn() == "doIt") throw std::bad_alloc();
        return redoIt();
    }
    MStatus redoIt() override {
        ++done;
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        maybeThrow("undoIt");
        --done;
        return MStatus::kSuccess;
    }
    inline static int alive = 0;
    inline static int done = 0;
};

// ---------------------------------------------------------------- a tool

class FragileContext : public MPxContext {
public:
    void toolOnSetup(MEvent&) override { maybeThrow("toolOnSetup"); }
    void toolOffCleanup() override { maybeThrow("toolOffCleanup"); }
    MStatus doPress(MEvent&, MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) override {
        maybeThrow("doPress");
        ++presses;
        return MStatus::kSuccess;
    }
    MStatus drawFeedback(MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) override {
        maybeThrow("drawFeedback");
        return MStatus::kSuccess;
    }
    void completeAction() override {
        if (throwIn() == "completeAction") throw std::bad_alloc();
    }
    inline static int presses = 0;
};

class FragileContextCommand : public MPxContextCommand {
public:
    static void* creator() { return new FragileContextCommand; }
    MPxContext* makeObj() override {
        if (throwIn() == "makeObj") throw std::bad_alloc();
        return new FragileContext;
    }
    MStatus appendSyntax() override {
        maybeThrow("appendSyntax");
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- a drawn locator

class FragileLocator : public MPxLocatorNode {
public:
    static void* creator() { return new FragileLocator; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

class FragileDrawOverride : public MHWRender::MPxDrawOverride {
public:
    explicit FragileDrawOverride(const MObject& obj) : MPxDrawOverride(obj, nullptr, false) {}
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) {
        maybeThrow("draw creator");
        return new FragileDrawOverride(obj);
    }
    bool hasUIDrawables() const override { return true; }
    MUserData* prepareForDraw(const MDagPath&, const MDagPath&, const MHWRender::MFrameContext&,
                              MUserData* old) override {
        maybeThrow("prepareForDraw");
        return old;
    }
    void addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& draw,
                        const MHWRender::MFrameContext&, const MUserData*) override {
        draw.beginDrawable();
        draw.line(MPoint(0, 0, 0), MPoint(1, 0, 0));
        maybeThrow("addUIDrawables");
        draw.endDrawable();
    }
};

// ---------------------------------------------------------------- a render override

class FragileOperation : public MHWRender::MUserRenderOperation {
public:
    FragileOperation() : MUserRenderOperation("Fragile Op") {}
    MStatus execute(const MHWRender::MDrawContext&) override {
        maybeThrow("execute");
        return MStatus::kSuccess;
    }
};

class FragileRenderOverride : public MHWRender::MRenderOverride {
public:
    FragileRenderOverride() : MRenderOverride("fragileOverride"), present("Fragile Present") {}
    MHWRender::DrawAPI supportedDrawAPIs() const override { return MHWRender::kAllDevices; }
    MStatus setup(const MString&) override {
        maybeThrow("setup");
        return MStatus::kSuccess;
    }
    bool startOperationIterator() override {
        index = 0;
        return true;
    }
    MHWRender::MRenderOperation* renderOperation() override {
        return index == 0 ? static_cast<MHWRender::MRenderOperation*>(&op) : &present;
    }
    bool nextRenderOperation() override { return ++index < 2; }
    MStatus cleanup() override {
        ++cleanups;
        return MStatus::kSuccess;
    }
    FragileOperation op;
    MHWRender::MPresentTarget present;
    int index = 0;
    int cleanups = 0;
};

// ---------------------------------------------------------------- fixture

class EdgeTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        throwIn().clear();
        FragileCommand::done = 0;
        FragileContext::presses = 0;
        ASSERT_TRUE(ehost::registerPluginNodeType("fragile", MTypeId(0x7f0c01), Fragile::creator,
                                                  Fragile::initialize, MPxNode::kDependNode, "",
                                                  ""));
        cleanups_.push_back([] { ehost::deregisterPluginNodeType(MTypeId(0x7f0c01)); });
    }
    void TearDown() override {
        throwIn().clear();
        ViewTest::TearDown();
    }
    static std::vector<std::string> errors() {
        std::vector<std::string> out;
        for (const auto& m : ehost::theMessages().entries())
            if (m.kind == ehost::MessageLog::Kind::Error) out.push_back(m.text);
        return out;
    }
    void registerFragileCommand() {
        MObject obj = pluginObject();
        ASSERT_TRUE(MFnPlugin(obj).registerCommand("fragileCmd", FragileCommand::creator));
        cleanups_.push_back([this] {
            MObject o = pluginObject();
            MFnPlugin(o).deregisterCommand("fragileCmd");
        });
    }
    void registerFragileLocator() {
        ASSERT_TRUE(ehost::registerPluginNodeType("fragileLocator", MTypeId(0x7f0c02),
                                                  FragileLocator::creator,
                                                  FragileLocator::initialize, MPxNode::kLocatorNode,
                                                  "drawdb/geometry/fragileLocator", ""));
        cleanups_.push_back([] { ehost::deregisterPluginNodeType(MTypeId(0x7f0c02)); });
        ASSERT_TRUE(MHWRender::MDrawRegistry::registerDrawOverrideCreator(
            "drawdb/geometry/fragileLocator", "edgeTests", FragileDrawOverride::creator));
        cleanups_.push_back([] {
            MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(
                "drawdb/geometry/fragileLocator", "edgeTests");
        });
    }
    static double output(const std::string& node) {
        return std::stod(result("getAttr " + node + ".output"));
    }
};

// ---------------------------------------------------------------- the guard

TEST_F(EdgeTest, GuardNamesWhatThrewAndWhatItSaid) {
    MStatus st = ehost::guarded("alpha", [] { throw std::bad_alloc(); });
    EXPECT_EQ(st.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(ehost::statusText(st), "alpha threw: std::bad_alloc");
    EXPECT_EQ(lastError(), "alpha threw: std::bad_alloc");

    st = ehost::guarded("beta", []() -> MStatus { throw std::runtime_error("boom"); });
    EXPECT_EQ(st.statusCode(), MStatus::kFailure);
    EXPECT_EQ(lastError(), "beta threw: boom");

    st = ehost::guarded(std::string("gamma"), [] { throw 42; });
    EXPECT_EQ(lastError(), "gamma threw: an exception that is not a std::exception");
    EXPECT_EQ(errors().size(), 3u);
}

TEST_F(EdgeTest, GuardPassesResultsThroughAndNamesTheCallOnlyWhenItThrew) {
    int described = 0;
    auto what = [&] {
        ++described;
        return std::string("delta");
    };
    MStatus st = ehost::guarded(what, [] { return MStatus(MStatus::kNotFound, "nothing"); });
    EXPECT_EQ(st.statusCode(), MStatus::kNotFound);
    EXPECT_EQ(ehost::guarded(what, 0, [] { return 7; }), 7);
    EXPECT_EQ(described, 0);
    EXPECT_TRUE(errors().empty());

    MStatus valueStatus;
    EXPECT_EQ(ehost::guarded(
                  what, -1, []() -> int { throw std::runtime_error("lost"); }, &valueStatus),
              -1);
    EXPECT_EQ(ehost::statusText(valueStatus), "delta threw: lost");
    EXPECT_EQ(described, 1);
}

TEST_F(EdgeTest, EntryGuardFailsTheCallerWithoutReportingAnything) {
    MStatus returned;
    MObject made = ehost::guardEntry(&returned, "MFnThing::create", MObject(),
                                     []() -> MObject { throw std::bad_alloc(); });
    EXPECT_TRUE(made.isNull());
    EXPECT_EQ(returned.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(ehost::statusText(returned), "MFnThing::create threw: std::bad_alloc");
    MStatus set =
        ehost::guardEntry("MThing::set", []() -> MStatus { throw std::out_of_range("index 9"); });
    EXPECT_EQ(ehost::statusText(set), "MThing::set threw: index 9");
    EXPECT_TRUE(errors().empty());
}

// ---------------------------------------------------------------- nodes

TEST_F(EdgeTest, ComputeThatThrowsIsReportedAndTheGraphStaysUsable) {
    ASSERT_TRUE(run("createNode fragile; setAttr fragile1.input 4"));
    EXPECT_EQ(output("fragile1"), 8);

    ASSERT_TRUE(run("setAttr fragile1.input 1"));
    EXPECT_EQ(output("fragile1"), 8);  // the last value computed stands
    EXPECT_EQ(lastError(), "fragile.compute of node fragile1 threw: std::bad_alloc");
    ASSERT_TRUE(run("setAttr fragile1.input 2"));
    MPlug plug(ehost::api::wrap(ehost::theScene().find("fragile1")->self()), Fragile::out);
    EXPECT_EQ(plug.asDouble(), 8);
    EXPECT_EQ(lastError(), "fragile.compute of node fragile1 threw: no output today");
    ASSERT_TRUE(run("setAttr fragile1.input 3; refresh"));
    EXPECT_EQ(lastError(),
              "fragile.compute of node fragile1 threw: an exception that is not a std::exception");

    const size_t reported = errors().size();
    ASSERT_TRUE(run("setAttr fragile1.input 5"));
    EXPECT_EQ(output("fragile1"), 10);
    EXPECT_EQ(errors().size(), reported);
}

TEST_F(EdgeTest, ACreatorOrInitializerThatThrowsMakesNothing) {
    throwIn() = "creator";
    const size_t nodes = ehost::theScene().nodes().size();
    EXPECT_FALSE(run("createNode fragile"));
    EXPECT_THAT(errors(), Contains("the creator of node type fragile threw: broken creator"));
    MStatus st;
    MFnDependencyNode fn;
    EXPECT_TRUE(fn.create("fragile", &st).isNull());
    EXPECT_FALSE(st);
    EXPECT_EQ(ehost::theScene().nodes().size(), nodes);

    st = ehost::registerPluginNodeType("brittle", MTypeId(0x7f0c03), Fragile::creator,
                                       Fragile::brokenInitialize, MPxNode::kDependNode, "", "");
    EXPECT_EQ(ehost::statusText(st), "initialize of node type brittle threw: attribute table full");
    EXPECT_EQ(ehost::theRegistry().findClass("brittle"), nullptr);
    EXPECT_EQ(ehost::theRegistry().initializing, nullptr);

    throwIn().clear();
    EXPECT_TRUE(run("createNode fragile"));
}

// ---------------------------------------------------------------- commands

TEST_F(EdgeTest, ADoItThatThrowsFailsTheCommandAndTheUndoQueueStaysSound) {
    registerFragileCommand();
    auto& queue = ehost::theCommands().undoQueue;
    ASSERT_TRUE(run("createNode transform -n kept"));
    const size_t undoable = queue.undoable();

    throwIn() = "doIt";
    MStatus st = run("fragileCmd; createNode transform -n never");
    EXPECT_EQ(st.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(lastError(), "fragileCmd.doIt threw: std::bad_alloc");
    EXPECT_EQ(errors().size(), 1u);  // reported once, not again by the interpreter
    EXPECT_FALSE(MGlobal::executeCommand("fragileCmd", false, true));
    EXPECT_EQ(FragileCommand::alive, 0);  // neither kept nor leaked
    EXPECT_EQ(ehost::theScene().find("never"), nullptr);
    EXPECT_EQ(queue.undoable(), undoable);

    throwIn().clear();
    ASSERT_TRUE(run("fragileCmd"));
    EXPECT_EQ(FragileCommand::done, 1);
    ASSERT_TRUE(run("undo; undo"));
    EXPECT_EQ(FragileCommand::done, 0);
    EXPECT_EQ(ehost::theScene().find("kept"), nullptr);
    ASSERT_TRUE(run("redo; redo"));
    EXPECT_NE(ehost::theScene().find("kept"), nullptr);
    EXPECT_EQ(FragileCommand::done, 1);
}

TEST_F(EdgeTest, AnUndoThatThrowsIsReportedAndTheQueueGoesOn) {
    registerFragileCommand();
    auto& queue = ehost::theCommands().undoQueue;
    ASSERT_TRUE(run("fragileCmd"));
    throwIn() = "undoIt";
    run("undo");
    EXPECT_EQ(lastError(), "fragileCmd.undoIt threw: broken undoIt");
    EXPECT_EQ(queue.undoable(), 0u);
    EXPECT_EQ(queue.redoable(), 1u);
    EXPECT_FALSE(MGlobal::isUndoing());

    throwIn().clear();
    ASSERT_TRUE(run("createNode transform -n after"));
    EXPECT_EQ(queue.redoable(), 0u);
    EXPECT_EQ(queue.undoable(), 1u);
}

TEST_F(EdgeTest, ACommandCreatorThatThrowsMakesNoCommand) {
    registerFragileCommand();
    throwIn() = "command creator";
    MStatus st = run("fragileCmd");
    EXPECT_EQ(st.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(lastError(), "fragileCmd.creator threw: std::bad_alloc");
    EXPECT_EQ(errors().size(), 1u);
}

// ---------------------------------------------------------------- tools

TEST_F(EdgeTest, ContextCommandCallsThatThrowMakeNoContext) {
    MObject obj = pluginObject();
    ASSERT_TRUE(
        MFnPlugin(obj).registerContextCommand("fragileCtx", FragileContextCommand::creator));
    cleanups_.push_back([this] {
        MObject o = pluginObject();
        MFnPlugin(o).deregisterContextCommand("fragileCtx");
    });
    throwIn() = "makeObj";
    EXPECT_FALSE(run("fragileCtx"));
    EXPECT_EQ(lastError(), "fragileCtx.makeObj threw: std::bad_alloc");
    throwIn() = "appendSyntax";
    EXPECT_FALSE(run("fragileCtx"));
    EXPECT_EQ(lastError(),
              "fragileCtx: appendSyntax failed: appendSyntax threw: broken appendSyntax");
    EXPECT_EQ(views().tools().find("fragileCtx1"), nullptr);
    throwIn().clear();
    EXPECT_EQ(result("fragileCtx"), "fragileCtx1");
}

TEST_F(EdgeTest, ToolHandlersThatThrowDoNotTakeTheHostDown) {
    MObject obj = pluginObject();
    ASSERT_TRUE(
        MFnPlugin(obj).registerContextCommand("fragileCtx", FragileContextCommand::creator));
    cleanups_.push_back([this] {
        MObject o = pluginObject();
        MFnPlugin(o).deregisterContextCommand("fragileCtx");
    });
    const std::string tool = result("fragileCtx");

    throwIn() = "toolOnSetup";
    ASSERT_TRUE(run("setToolTo " + tool));
    EXPECT_EQ(lastError(), tool + ".toolOnSetup threw: broken toolOnSetup");
    EXPECT_EQ(result("currentCtx"), tool);

    throwIn() = "doPress";
    run("hostInput -press -x 5 -y 5");
    EXPECT_EQ(lastError(), tool + ".doPress threw: broken doPress");
    throwIn() = "drawFeedback";
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(lastError(), tool + ".drawFeedback threw: broken drawFeedback");
    EXPECT_TRUE(activePanel().frame.drawn);
    throwIn() = "completeAction";
    ASSERT_TRUE(run("hostInput -key enter"));
    EXPECT_EQ(lastError(), tool + ".completeAction threw: std::bad_alloc");

    throwIn().clear();
    ASSERT_TRUE(run("hostInput -press -x 6 -y 6"));
    EXPECT_EQ(FragileContext::presses, 1);
    throwIn() = "toolOffCleanup";
    ASSERT_TRUE(run("setToolTo selectSuperContext"));
    EXPECT_EQ(lastError(), tool + ".toolOffCleanup threw: broken toolOffCleanup");
    EXPECT_EQ(result("currentCtx"), "selectSuperContext");
}

// ---------------------------------------------------------------- drawing

TEST_F(EdgeTest, ADrawOverrideThatThrowsSpoilsOnlyItsOwnNode) {
    registerFragileLocator();
    registerProbeLocator();
    ASSERT_TRUE(run("createNode transform -n f; createNode fragileLocator -n fShape -p f"));
    ASSERT_TRUE(run("createNode transform -n p; createNode viewProbe -n pShape -p p"));
    auto drawnNames = [] {
        std::vector<std::string> names;
        for (const ehost::Drawable* d : activePanel().drawables())
            if (d->source == ehost::Drawable::Source::DrawOverride) names.push_back(d->name);
        return names;
    };

    throwIn() = "draw creator";
    ASSERT_TRUE(run("refresh"));
    EXPECT_THAT(errors(), Contains("the draw override creator for drawdb/geometry/fragileLocator "
                                   "(node fShape) threw: broken draw creator"));
    EXPECT_THAT(drawnNames(), ::testing::ElementsAre("|p|pShape"));

    throwIn() = "prepareForDraw";
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(lastError(),
              "prepareForDraw of the draw override for |f|fShape threw: broken prepareForDraw");
    EXPECT_THAT(drawnNames(), ::testing::ElementsAre("|p|pShape"));

    throwIn() = "addUIDrawables";
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(lastError(),
              "addUIDrawables of the draw override for |f|fShape threw: broken addUIDrawables");
    EXPECT_THAT(drawnNames(), ::testing::ElementsAre("|f|fShape", "|p|pShape"));

    throwIn().clear();
    const size_t reported = errors().size();
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(errors().size(), reported);
}

TEST_F(EdgeTest, ARenderOverrideThatThrowsStillFinishesItsFrame) {
    auto* fragile = new FragileRenderOverride;
    ASSERT_TRUE(MHWRender::MRenderer::theRenderer()->registerOverride(fragile));
    cleanups_.push_back([fragile] {
        MHWRender::MRenderer::theRenderer()->deregisterOverride(fragile);
        delete fragile;
    });
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName fragileOverride modelPanel4"));

    throwIn() = "execute";
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(lastError(), "render operation Fragile Op of fragileOverride threw: broken execute");
    EXPECT_THAT(activePanel().frame.operations,
                ::testing::ElementsAre("Fragile Op", "Fragile Present"));
    EXPECT_EQ(fragile->cleanups, 1);

    throwIn() = "setup";
    ASSERT_TRUE(run("refresh"));
    EXPECT_EQ(lastError(), "fragileOverride.setup threw: broken setup");
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Warning), "");  // reported once, as an error
    EXPECT_TRUE(activePanel().frame.operations.empty());
    EXPECT_EQ(fragile->cleanups, 2);
}

// ---------------------------------------------------------------- events

TEST_F(EdgeTest, AnEventCallbackThatThrowsLeavesTheOthersToRun) {
    MCallbackId id = MEventMessage::addEventCallback(
        MString("Undo"), [](void*) { throw std::runtime_error("listener gone"); });
    cleanups_.push_back([id] { MMessage::removeCallback(id); });
    int* undos = countEvent("Undo");
    ASSERT_TRUE(run("createNode transform -n t; undo"));
    EXPECT_EQ(lastError(), "a callback on event \"Undo\" threw: listener gone");
    EXPECT_EQ(*undos, 1);
    EXPECT_EQ(ehost::theScene().find("t"), nullptr);
}

// ---------------------------------------------------------------- API entries

class AllocationTest : public EdgeTest {
protected:
    //! A strip of triangles over many points: its arrays are large allocations.
    void SetUp() override {
        EdgeTest::SetUp();
        if (!EDGE_TESTS_FAIL_ALLOCATIONS) GTEST_SKIP() << "allocations cannot be made to fail here";
        const int n = 20000;
        for (int i = 0; i < n; ++i) points.append(MPoint(i, i % 2, 0));
        for (int i = 0; i + 2 < n; ++i) {
            counts.append(3);
            for (int k : {i, i + 1, i + 2}) connects.append(k);
        }
    }
    MObject strip(MFnMesh& fn, MStatus* st) {
        return fn.create(points.length(), counts.length(), points, counts, connects, MObject(), st);
    }
    MPointArray points;
    MIntArray counts, connects;
};

TEST_F(AllocationTest, MeshCreationAndReadsFailWithAStatus) {
    const size_t nodes = ehost::theScene().nodes().size();
    MStatus st;
    MFnMesh fn;
    {
        FailingAllocations failing(kLarge);
        EXPECT_TRUE(strip(fn, &st).isNull());
    }
    EXPECT_EQ(st.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(ehost::statusText(st), "MFnMesh::create threw: std::bad_alloc");
    EXPECT_EQ(ehost::theScene().nodes().size(), nodes);
    EXPECT_TRUE(errors().empty());  // the caller hears of it, and decides

    strip(fn, &st);
    ASSERT_TRUE(st) << st.errorString();
    MPointArray read;
    MStatus got, added;
    {
        FailingAllocations failing(kLarge);
        got = fn.getPoints(read);
        fn.addPolygon(points, true, 1e-6, MObject(), &added);
    }
    EXPECT_EQ(got.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(added.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(fn.numPolygons(), static_cast<int>(counts.length()));
    ASSERT_TRUE(fn.getPoints(read));
    EXPECT_EQ(read.length(), points.length());
}

TEST_F(AllocationTest, ArrayDataAndPlugValuesFailWithAStatus) {
    MFnPointArrayData data;
    MStatus st;
    {
        FailingAllocations failing(kLarge);
        EXPECT_TRUE(data.create(points, &st).isNull());
    }
    EXPECT_EQ(ehost::statusText(st), "MFnPointArrayData::create threw: std::bad_alloc");

    MObject cloud = data.create(points, &st);
    ASSERT_TRUE(st);
    ASSERT_TRUE(run("createNode fragile"));
    MPlug plug(ehost::api::wrap(ehost::theScene().find("fragile1")->self()), Fragile::cloud);
    MStatus set, get;
    MObject back;
    {
        FailingAllocations failing(kLarge);
        set = plug.setValue(cloud);
    }
    EXPECT_EQ(ehost::statusText(set), "MPlug::setValue threw: std::bad_alloc");
    ASSERT_TRUE(plug.setValue(cloud));
    {
        FailingAllocations failing(kLarge);
        get = plug.getValue(back);
    }
    EXPECT_EQ(ehost::statusText(get), "MPlug::asMObject threw: std::bad_alloc");
    ASSERT_TRUE(plug.getValue(back));
    EXPECT_EQ(MFnPointArrayData(back).length(), points.length());
}

TEST_F(AllocationTest, ACommandThatRunsOutOfMemoryFailsWithAnError) {
    auto& queue = ehost::theCommands().undoQueue;
    ASSERT_TRUE(run("createNode transform -n kept"));
    const size_t undoable = queue.undoable();
    MStatus st;
    {
        FailingAllocations failing(kLarge);
        st = MGlobal::executeCommand("polyPlane -sx 400 -sy 400 -ch 0", false, true);
    }
    EXPECT_EQ(st.statusCode(), MStatus::kInsufficientMemory);
    EXPECT_EQ(lastError(), "polyPlane.doIt threw: std::bad_alloc");
    EXPECT_EQ(ehost::theScene().find("pPlane1"), nullptr);  // what it had made is taken back
    EXPECT_EQ(queue.undoable(), undoable);
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(ehost::theScene().find("kept"), nullptr);
}

}  // namespace

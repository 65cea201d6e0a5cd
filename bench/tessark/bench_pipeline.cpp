// The rail tool's actions as an artist meets them, through the host, on the
// cost curve's size matrix: sources of 100k, 1M and 10M triangles, times
// retopology meshes of 1k, 10k and 100k quads. Each action is timed with its
// lower bound measured in the same run (CostCurve.h): Embree's own ray on the
// same mesh for what the action asks of a surface, one copy of the mesh's
// arrays for what it must rewrite or read whole. Then a session of
// successive patches, and the first action on a ten-million-triangle source.
//
// Layout of every session: the source over [-50, 50]^2, seen from above
// (viewPlace -eye 0 60 1) through a 640 x 480 view that shows about
// [-27, 27] x [-20, 20]; the retopology grid over [-25, 5] x [-15, 15], in
// the middle of the view; new patches between strokes over [10, 20] x [5, 15].
//
// Counters: source_triangles, retopo_quads, ms (CPU time per action),
// bound_ms, ratio (ms / bound_ms), and what the action did.

#include <maya/M3dView.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <string>

#include "bench/tessark/CostCurve.h"
#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/session/Session.h"
#include "host/src/view/Views.h"
#include "kvpatchnode/StateSenders.h"
#include "patch/PatchPipeline.h"
#include "railnode/RailNodeOps.h"

namespace {

using Clock = std::chrono::steady_clock;
using bench::height;

// The retopology grid and the new patches (see the layout above).
constexpr double kRetopoX0 = -25, kRetopoZ0 = -15, kRetopoSize = 30;
constexpr double kPatchX0 = 10, kPatchZ0 = 5, kPatchSize = 10;

//! An n x n grid of quads over [x0, x0 + size] x [z0, z0 + size] on the height field.
MObject makeGrid(const char* name, int n, double x0, double z0, double size) {
    MPointArray points;
    points.setLength(static_cast<unsigned>((n + 1) * (n + 1)));
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            double x = x0 + size * i / n, z = z0 + size * j / n;
            points[static_cast<unsigned>(j * (n + 1) + i)] = MPoint(x, height(x, z), z);
        }
    MIntArray counts(static_cast<unsigned>(n * n), 4), connects;
    connects.setLength(static_cast<unsigned>(4 * n * n));
    unsigned k = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i;
            for (int v : {a, a + n + 1, a + n + 2, a + 1}) connects[k++] = v;
        }
    MFnMesh fn;
    MObject t = fn.create(static_cast<int>(points.length()), n * n, points, counts, connects);
    MFnDagNode(MFnDagNode(t).child(0)).setName((std::string(name) + "Shape").c_str());
    MFnDagNode(t).setName(name);
    return t;
}

MPointArray surfaceLine(double z, double x0, double x1) {
    MPointArray p;
    for (int i = 0; i < 80; ++i) {
        double x = x0 + (x1 - x0) * i / 79;
        p.append(MPoint(x, height(x, z), z));
    }
    return p;
}

void run(const std::string& text) {
    ehost::runCommands(text, {false, true});
}

//! The process's peak resident memory so far, in megabytes.
double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024;
        }
        status.ignore(256, '\n');
    }
    return 0;
}

//! Selecting is undoable too: the benchmarks select outside the undo queue.
void selectOnly(const std::string& what) {
    ehost::runCommands("select -r " + what, {false, false});
}

//! The shared source surface as the scene's "source": a transform and a mesh
//! shape holding the surface's geometry as its own (nothing is copied, and
//! the ray structure built once serves every scene).
void addSource(const bench::SourceSurface& surface) {
    ehost::Registry& registry = ehost::session().registry();
    MStatus st;
    ehost::Created t = ehost::createNode(*registry.findClass("transform"), "source", nullptr, &st);
    ehost::Created shape = ehost::createNode(*registry.findClass("mesh"), "sourceShape",
                                             static_cast<ehost::DagNode*>(t.node.get()), &st);
    ehost::writeData(*shape.node, ehost::PlugAddr{ehost::meshAttributes().cachedInMesh.get(), -1},
                     std::make_shared<ehost::MeshData>(surface.geometry));
}

//! The retopology grid's side for about that many quads.
int retopoSide(long quads) {
    return static_cast<int>(std::lround(std::sqrt(static_cast<double>(quads))));
}

//! A fresh scene: the plug-in, the shared source of about sourceTriangles
//! triangles, the rail node on it, a retopology grid of about retopoQuads
//! quads (selected), the view from above and the rail tool active.
void setUpSession(long sourceTriangles, long retopoQuads) {
    const bench::SourceSurface& surface = bench::sourceSurface(sourceTriangles);
    ehost::startIsolatedSession();
    ehost::session().newScene();
    ehost::session().messages().echo = false;
    ehost::loadPlugin("Tessark_2020");
    addSource(surface);
    run("createNode Tessark -n rail; connectAttr sourceShape.outMesh rail.TessarkMesh");
    makeGrid("retopo", retopoSide(retopoQuads), kRetopoX0, kRetopoZ0, kRetopoSize);
    selectOnly("retopo");
    run("viewPlace -eye 0 60 1 -lookAt 0 0 0 persp; TessarkContext tc; setToolTo tc");
}

//! The retopology mesh's evaluated geometry.
std::shared_ptr<const ehost::MeshGeometry> retopoGeometry() {
    auto* shape = static_cast<ehost::MeshShape*>(ehost::theScene().find("retopoShape"));
    return shape ? shape->output() : nullptr;
}

void reportSizes(benchmark::State& state) {
    state.counters["source_triangles"] =
        2.0 * std::pow(bench::sourceSurface(state.range(0)).side, 2);
    if (auto g = retopoGeometry()) state.counters["retopo_quads"] = g->numFaces();
    state.counters["peak_MB"] = peakMegabytes();
}

//! Two strokes waiting on the rail node, as a drawn pair leaves them.
void drawPair(double x0, double z0 = kPatchZ0) {
    tessark::appendStroke(surfaceLine(z0, x0, x0 + kPatchSize));
    tessark::appendStroke(surfaceLine(z0 + kPatchSize, x0, x0 + kPatchSize));
}

void enter() {
    ehost::session().views().deliver(ehost::ToolKey::Enter);
}

void undoAndReselect() {
    run("undo");
    selectOnly("retopo");
}

//! One pointer event through the tool, with the redraw that follows it.
void send(ehost::PointerEvent::Kind kind, short x, short y, unsigned modifiers = 0) {
    ehost::PointerEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.modifiers = modifiers;
    ehost::session().views().deliver(e);
}

using Kind = ehost::PointerEvent::Kind;

struct Pixel {
    short x = 0, y = 0;
};

Pixel pixelOf(double x, double z) {
    Pixel p;
    M3dView::active3dView().worldToView(MPoint(x, height(x, z), z), p.x, p.y);
    return p;
}

//! The view ray through a pixel, for Embree.
struct ViewRay {
    bench::F3 origin, dir;
};
ViewRay viewRay(Pixel p) {
    MPoint near;
    MVector dir;
    M3dView::active3dView().viewToWorld(p.x, p.y, near, dir);
    return {bench::toF3(near), bench::toF3(dir)};
}

const bench::DirectEmbree& sourceEmbree(benchmark::State& state) {
    return *bench::sourceSurface(state.range(0)).embree;
}

const std::vector<std::vector<int64_t>> kMatrix = {{100000, 1000000, 10000000},
                                                   {1000, 10000, 100000}};

// ---------------------------------------------------------------- the matrix

//! One drag sample of a stroke: a ray onto the source, the live stroke's
//! feedback and the redraw. Bound: one Embree ray on the source. Strokes are
//! restarted every 100 samples, as an artist's strokes are that long.
void BM_DragSample(benchmark::State& state) {
    setUpSession(state.range(0), state.range(1));
    const bench::DirectEmbree& embree = sourceEmbree(state);
    bench::CostMeter meter(state);
    const Pixel centre = pixelOf(0, 0);
    send(Kind::Press, centre.x, centre.y);
    int k = 0;
    for (auto _ : state) {
        // Back and forth over the view, so that every sample lands on the surface.
        const Pixel p{static_cast<short>(centre.x - 100 + (k % 200)), centre.y};
        meter.action([&] { send(Kind::Drag, p.x, p.y); });
        const ViewRay ray = viewRay(p);
        meter.bound(
            [&] { benchmark::DoNotOptimize(embree.closest(ray.origin, ray.dir, INFINITY)); });
        if (++k % 100 == 0) {
            send(Kind::Release, p.x, p.y);
            ehost::session().views().deliver(ehost::ToolKey::Escape);
            send(Kind::Press, centre.x, centre.y);
        }
    }
    send(Kind::Release, centre.x, centre.y);
    meter.report();
    reportSizes(state);
    ehost::session().newScene();
}
BENCHMARK(BM_DragSample)->ArgsProduct(kMatrix)->UseManualTime()->Unit(benchmark::kMillisecond);

//! A Shift+Ctrl press on the middle of the retopology mesh's left border,
//! which picks that border vertex as a pin. Bound: one Embree ray on the
//! retopology mesh (which face is under the pointer).
void BM_PinPick(benchmark::State& state) {
    setUpSession(state.range(0), state.range(1));
    const Pixel at = pixelOf(kRetopoX0, kRetopoZ0 + kRetopoSize / 2);
    const auto retopo = retopoGeometry();
    const bench::DirectEmbree embree(*retopo, [](const ehost::Vec3& p) { return p; });
    const ViewRay ray = viewRay(at);
    bench::CostMeter meter(state);
    const unsigned pin = MEvent::shiftKey | MEvent::controlKey;
    int picked = 0;
    for (auto _ : state) {
        meter.action([&] { send(Kind::Press, at.x, at.y, pin); });
        meter.bound(
            [&] { benchmark::DoNotOptimize(embree.closest(ray.origin, ray.dir, INFINITY)); });
        send(Kind::Release, at.x, at.y, pin);
        // The tool's prompt says whether the press made a pin.
        picked = MGlobal::optionVarStringValue("Tessark_info1").indexW("1st point selected") >= 0;
        ehost::session().views().deliver(ehost::ToolKey::Escape);
    }
    meter.report();
    state.counters["picked"] = picked;
    reportSizes(state);
    ehost::session().newScene();
}
BENCHMARK(BM_PinPick)->ArgsProduct(kMatrix)->UseManualTime()->Unit(benchmark::kMillisecond);

//! One step of the relax brush (radius 40 pixels) over the middle of the
//! retopology mesh. Bound: one Embree ray on the source per vertex under the
//! brush.
void BM_BrushStep(benchmark::State& state) {
    setUpSession(state.range(0), state.range(1));
    const bench::DirectEmbree& embree = sourceEmbree(state);
    run("TessarkContext -e -rb 1 -rad 40 -i 0.25 tc");
    const Pixel centre = pixelOf(kRetopoX0 + kRetopoSize / 2, kRetopoZ0 + kRetopoSize / 2);
    // The vertices under the brush, as the tool selects them.
    std::vector<bench::F3> under;
    M3dView view = M3dView::active3dView();
    for (const ehost::Vec3& p : retopoGeometry()->points()) {
        short x = 0, y = 0;
        view.worldToView(MPoint(p.x, p.y, p.z), x, y);
        if (std::hypot(x - centre.x, y - centre.y) < 40) under.push_back(bench::toF3(p));
    }
    bench::CostMeter meter(state);
    send(Kind::Press, centre.x, centre.y);
    int k = 0;
    for (auto _ : state) {
        // Small strokes to and fro about the middle.
        const short x = static_cast<short>(centre.x - 4 + (k++ % 8));
        meter.action([&] { send(Kind::Drag, x, centre.y); });
        meter.bound([&] {
            for (const bench::F3& p : under)
                benchmark::DoNotOptimize(embree.closest({p.x, p.y + 1, p.z}, {0, -1, 0}, INFINITY));
        });
    }
    send(Kind::Release, centre.x, centre.y);
    meter.report();
    state.counters["brush_vertices"] = static_cast<double>(under.size());
    reportSizes(state);
    ehost::session().newScene();
}
BENCHMARK(BM_BrushStep)->ArgsProduct(kMatrix)->UseManualTime()->Unit(benchmark::kMillisecond);

//! ENTER with two strokes drawn: a 12 x 12 patch, snapped onto the source,
//! added to the retopology mesh. Bound: 13 x 13 Embree rays on the source and
//! one copy of the retopology mesh's arrays.
void BM_EnterPatch(benchmark::State& state) {
    setUpSession(state.range(0), state.range(1));
    const bench::DirectEmbree& embree = sourceEmbree(state);
    // The first action pays for what is built once per mesh.
    drawPair(kPatchX0);
    enter();
    undoAndReselect();
    bench::CostMeter meter(state);
    int added = 0;
    for (auto _ : state) {
        drawPair(kPatchX0);
        const int before = retopoGeometry()->numFaces();
        meter.action(enter);
        const auto after = retopoGeometry();
        added = after->numFaces() - before;
        meter.bound([&] {
            bench::gridRays(embree, 13, 13, kPatchX0, kPatchX0 + kPatchSize, kPatchZ0,
                            kPatchZ0 + kPatchSize);
            bench::copyArrays(*after);
        });
        undoAndReselect();
    }
    meter.report();
    state.counters["patch_quads"] = added;
    reportSizes(state);
    ehost::session().newScene();
}
BENCHMARK(BM_EnterPatch)->ArgsProduct(kMatrix)->UseManualTime()->Unit(benchmark::kMillisecond);

//! A span change of the last patch (TessarkCmd -u 12 -v 8, then 9, ...): it
//! is rebuilt from its strokes. Bound: 13 x (v + 1) Embree rays on the source
//! and one copy of the retopology mesh's arrays.
void BM_SpanChange(benchmark::State& state) {
    setUpSession(state.range(0), state.range(1));
    const bench::DirectEmbree& embree = sourceEmbree(state);
    drawPair(kPatchX0);
    enter();
    bench::CostMeter meter(state);
    int v = 8;
    for (auto _ : state) {
        meter.action([&] { run("TessarkCmd -u 12 -v " + std::to_string(v)); });
        const auto after = retopoGeometry();
        meter.bound([&] {
            bench::gridRays(embree, 13, v + 1, kPatchX0, kPatchX0 + kPatchSize, kPatchZ0,
                            kPatchZ0 + kPatchSize);
            bench::copyArrays(*after);
        });
        v = v == 8 ? 9 : 8;
    }
    meter.report();
    reportSizes(state);
    ehost::session().newScene();
}
BENCHMARK(BM_SpanChange)->ArgsProduct(kMatrix)->UseManualTime()->Unit(benchmark::kMillisecond);

//! The undo of a patch, with the redraw that shows it (which evaluates the
//! mesh). Bound: one copy of the retopology mesh's arrays.
void BM_UndoPatch(benchmark::State& state) {
    setUpSession(state.range(0), state.range(1));
    drawPair(kPatchX0);
    enter();
    undoAndReselect();
    bench::CostMeter meter(state);
    for (auto _ : state) {
        drawPair(kPatchX0);
        enter();
        meter.action([] { run("undo; refresh -cv"); });
        const auto after = retopoGeometry();
        meter.bound([&] { bench::copyArrays(*after); });
        selectOnly("retopo");
    }
    meter.report();
    reportSizes(state);
    ehost::session().newScene();
}
BENCHMARK(BM_UndoPatch)->ArgsProduct(kMatrix)->UseManualTime()->Unit(benchmark::kMillisecond);

//! A refresh of the view through the PlexwendViewport render override, with
//! the Vintrel overlay of the retopology mesh and the rail node's draw
//! override showing two strokes. Bound: one copy of the retopology mesh's
//! arrays (the overlay reads all of it).
void BM_ViewportRefresh(benchmark::State& state) {
    setUpSession(state.range(0), state.range(1));
    ehost::loadPlugin("Vintrel_2020");
    run("modelEditor -e -rendererOverrideName PlexwendViewport modelPanel4");
    drawPair(kPatchX0);
    ehost::Panel& panel = ehost::theViews().activePanel();
    ehost::theViews().refresh(panel);
    const auto mesh = retopoGeometry();
    bench::CostMeter meter(state);
    for (auto _ : state) {
        meter.action([&] { ehost::theViews().refresh(panel); });
        meter.bound([&] { bench::copyArrays(*mesh); });
    }
    meter.report();
    std::size_t primitives = 0;
    for (const ehost::Drawable& d : panel.frame.drawables) primitives += d.primitives.size();
    state.counters["primitives"] = static_cast<double>(primitives);
    reportSizes(state);
    run("modelEditor -e -rendererOverrideName \"\" modelPanel4");
    ehost::session().newScene();
}
BENCHMARK(BM_ViewportRefresh)->ArgsProduct(kMatrix)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- sessions

//! Thirty patches one after another on one mesh, each timed: a session must
//! not slow down as it goes.
void BM_SuccessivePatches(benchmark::State& state) {
    setUpSession(1000000, 1000);
    // A row of patches beyond the retopology grid.
    drawPair(-40, 20);
    enter();
    double first = 0, last = 0;
    for (auto _ : state) {
        for (int k = 0; k < 30; ++k) {
            drawPair(-35 + 2.5 * k, 20);
            auto begin = Clock::now();
            enter();
            double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
            if (k == 0) first = ms;
            last = ms;
        }
    }
    state.counters["first_ms"] = first;
    state.counters["last_ms"] = last;
    ehost::session().newScene();
}
BENCHMARK(BM_SuccessivePatches)->Unit(benchmark::kMillisecond)->Iterations(1);

//! The first patch after connecting a source of ten million triangles made
//! for it (not the shared one), with whatever the host still builds for the
//! source at that moment.
void BM_FirstActionOnTenMillionTriangles(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ehost::startIsolatedSession();
        ehost::session().newScene();
        ehost::session().messages().echo = false;
        ehost::loadPlugin("Tessark_2020");
        makeGrid("source", 2236, -50, -50, 100);  // 2236 x 2236 quads: ten million triangles
        run("createNode Tessark -n rail; connectAttr sourceShape.outMesh rail.TessarkMesh");
        makeGrid("retopo", 32, kRetopoX0, kRetopoZ0, kRetopoSize);
        selectOnly("retopo");
        run("viewPlace -eye 0 60 1 -lookAt 0 0 0 persp; TessarkContext tc; setToolTo tc");
        drawPair(kPatchX0);
        state.ResumeTiming();
        enter();
    }
    state.counters["peak_MB"] = peakMegabytes();
    ehost::session().newScene();
}
BENCHMARK(BM_FirstActionOnTenMillionTriangles)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// The rail tool's actions as an artist meets them, on a source surface of
// about a million triangles: one 12 x 12 patch by ENTER on retopology meshes
// of growing size, a session of successive patches, a span change, an undo,
// and the first action after connecting a ten-million-triangle source.

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

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/session/Session.h"
#include "host/src/view/Views.h"
#include "kvpatchnode/StateSenders.h"
#include "patch/PatchPipeline.h"
#include "railnode/RailNodeOps.h"

namespace {

using Clock = std::chrono::steady_clock;

double height(double x, double z) {
    return 0.3 * std::sin(0.7 * x) * std::cos(0.5 * z);
}

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

//! A fresh scene: the plug-in, a source of sourceQuads x sourceQuads quads
//! over [-50, 50]^2, the rail node on it, a retopology mesh of about
//! retopoQuads quads, and the rail tool active.
void setUpSession(int sourceQuads, int retopoQuads) {
    ehost::startIsolatedSession();
    ehost::session().newScene();
    ehost::session().messages().echo = false;
    ehost::loadPlugin("Tessark_2020");
    makeGrid("source", sourceQuads, -50, -50, 100);
    run("createNode Tessark -n rail; connectAttr sourceShape.outMesh rail.TessarkMesh");
    int side = static_cast<int>(std::lround(std::sqrt(retopoQuads)));
    makeGrid("retopo", side, -45, -45, 30);
    selectOnly("retopo");
    run("viewPlace -eye 0 60 1 -lookAt 0 0 0 persp; TessarkContext tc; setToolTo tc");
}

//! Two strokes waiting on the rail node, as a drawn pair leaves them.
void drawPair(double x0) {
    tessark::appendStroke(surfaceLine(5, x0, x0 + 10));
    tessark::appendStroke(surfaceLine(15, x0, x0 + 10));
}

void enter() {
    ehost::session().views().deliver(ehost::ToolKey::Enter);
}

void undoAndReselect() {
    run("undo");
    selectOnly("retopo");
}

// 707 x 707 quads: about a million triangles.
constexpr int kMillionTriangles = 707;

void BM_EnterPatch(benchmark::State& state) {
    setUpSession(kMillionTriangles, static_cast<int>(state.range(0)));
    // The first action pays for what is built once (the source's ray structure).
    drawPair(0);
    enter();
    undoAndReselect();
    for (auto _ : state) {
        state.PauseTiming();
        drawPair(0);
        state.ResumeTiming();
        enter();
        state.PauseTiming();
        undoAndReselect();
        state.ResumeTiming();
    }
    MDagPath mesh;
    tessark::selectedRetopologyMesh(mesh);
    state.counters["retopo_quads"] = MFnMesh(mesh).numPolygons();
    state.counters["peak_MB"] = peakMegabytes();
    ehost::session().newScene();
}
BENCHMARK(BM_EnterPatch)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_SpanChange(benchmark::State& state) {
    setUpSession(kMillionTriangles, static_cast<int>(state.range(0)));
    drawPair(0);
    enter();
    int v = 8;
    for (auto _ : state) {
        run("TessarkCmd -u 12 -v " + std::to_string(v));
        v = v == 8 ? 9 : 8;
    }
    ehost::session().newScene();
}
BENCHMARK(BM_SpanChange)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UndoPatch(benchmark::State& state) {
    setUpSession(kMillionTriangles, static_cast<int>(state.range(0)));
    drawPair(0);
    enter();
    undoAndReselect();
    for (auto _ : state) {
        state.PauseTiming();
        drawPair(0);
        enter();
        state.ResumeTiming();
        // The undo and the redraw that shows it (which evaluates the mesh).
        run("undo; refresh -cv");
        state.PauseTiming();
        selectOnly("retopo");
        state.ResumeTiming();
    }
    ehost::session().newScene();
}
BENCHMARK(BM_UndoPatch)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

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

//! One drag sample of a stroke: a ray onto the source and the feedback.
void BM_DragSample(benchmark::State& state) {
    setUpSession(kMillionTriangles, static_cast<int>(state.range(0)));
    send(Kind::Press, 300, 240);
    int k = 0;
    // Back and forth over the port, so that every sample lands on the surface.
    for (auto _ : state) send(Kind::Drag, static_cast<short>(220 + (k++ % 200)), 240);
    send(Kind::Release, 300, 240);
    ehost::session().newScene();
}
BENCHMARK(BM_DragSample)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

//! A Shift+Ctrl press that picks a border vertex of the retopology mesh.
void BM_PinPick(benchmark::State& state) {
    setUpSession(kMillionTriangles, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        send(Kind::Press, 320, 240, MEvent::shiftKey | MEvent::controlKey);
        state.PauseTiming();
        send(Kind::Release, 320, 240, MEvent::shiftKey | MEvent::controlKey);
        ehost::session().views().deliver(ehost::ToolKey::Escape);
        state.ResumeTiming();
    }
    ehost::session().newScene();
}
BENCHMARK(BM_PinPick)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

//! One step of the relax brush over the retopology mesh.
void BM_BrushStep(benchmark::State& state) {
    setUpSession(kMillionTriangles, static_cast<int>(state.range(0)));
    run("TessarkContext -e -rb 1 -rad 40 -i 0.25 tc");
    send(Kind::Press, 200, 200);
    int k = 0;
    for (auto _ : state) send(Kind::Drag, static_cast<short>(200 + (k++ % 200)), 200);
    send(Kind::Release, 200, 200);
    ehost::session().newScene();
}
BENCHMARK(BM_BrushStep)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

//! Thirty patches one after another on one mesh, each timed: a session must
//! not slow down as it goes.
void BM_SuccessivePatches(benchmark::State& state) {
    setUpSession(kMillionTriangles, 1000);
    drawPair(-40);
    enter();
    double first = 0, last = 0;
    for (auto _ : state) {
        for (int k = 0; k < 30; ++k) {
            drawPair(-35 + 2.5 * k);
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

//! The first patch after connecting a source of ten million triangles, with
//! whatever the host still builds for the source at that moment.
void BM_FirstActionOnTenMillionTriangles(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        setUpSession(2236, 1000);  // 2236 x 2236 quads: ten million triangles
        drawPair(0);
        state.ResumeTiming();
        enter();
    }
    state.counters["peak_MB"] = peakMegabytes();
    ehost::session().newScene();
}
BENCHMARK(BM_FirstActionOnTenMillionTriangles)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// One 12 x 12 patch appended to retopology meshes of growing size, on a
// source surface of about a million triangles.

#include <maya/MFnDagNode.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/session/Session.h"
#include "host/src/plugin/Plugins.h"
#include "kvpatchnode/StateSenders.h"
#include "patch/PatchHelpers.h"
#include "patch/PatchPipeline.h"
#include "railnode/RailNodeOps.h"

namespace {

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

void BM_AppendPatch(benchmark::State& state) {
    const int retopoQuads = static_cast<int>(state.range(0));
    ehost::startIsolatedSession();
    ehost::session().newScene();
    ehost::session().messages().echo = false;
    ehost::loadPlugin("Tessark_2020");
    // 707 x 707 quads: about a million triangles.
    makeGrid("source", 707, -50, -50, 100);
    run("createNode Tessark -n rail; connectAttr sourceShape.outMesh rail.TessarkMesh");
    int side = static_cast<int>(std::lround(std::sqrt(retopoQuads)));
    makeGrid("retopo", side, -40, -40, 30);
    run("select -r retopo");
    for (auto _ : state) {
        tessark::appendStroke(surfaceLine(5, 0, 10));
        tessark::appendStroke(surfaceLine(15, 0, 10));
        tessark::saveNondestructStrokes();
        MIntArray row = tessark::createPatch(-1, MPointArray());
        benchmark::DoNotOptimize(row);
        state.PauseTiming();
        tessark::clearStrokeSet();
        // Back to the mesh as it was, so that every pass appends to the same size.
        run("undo");
        run("select -r retopo");
        state.ResumeTiming();
    }
    state.counters["retopo_quads"] = side * side;
    ehost::session().newScene();
}

BENCHMARK(BM_AppendPatch)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

// The modelling commands at the sizes the product runs them: a script of a
// few thousand "move -absolute" items after each patch (one per projected
// corner) on a mesh with history, and undo/redo of an edit of a large mesh.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "host/src/command/Commands.h"
#include "host/src/command/Lexer.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/NumberText.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/session/Session.h"

namespace {

void freshScene() {
    static const bool started = [] {
        ehost::startIsolatedSession();
        ehost::session().messages().echo = false;
        return true;
    }();
    (void)started;
    ehost::session().newScene();
    ehost::session().messages().clear();
}

bool run(const std::string& text) {
    return ehost::runCommands(text, {false, true});
}

ehost::MeshShape& shape(const std::string& name) {
    return dynamic_cast<ehost::MeshShape&>(*ehost::session().scene().find(name));
}

//! "move -absolute x y z |m|mShape.vtx[i]; " items for random vertices, as
//! the patch projection writes them.
std::string moveScript(int items, int vertices, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> vertex(0, vertices - 1);
    std::uniform_real_distribution<double> coordinate(-1, 1);
    std::string text;
    for (int i = 0; i < items; ++i)
        text += "move -absolute " + ehost::shortestText(coordinate(rng)) + " " +
                ehost::shortestText(coordinate(rng)) + " " + ehost::shortestText(coordinate(rng)) +
                " |m|mShape.vtx[" + std::to_string(vertex(rng)) + "]; ";
    return text;
}

// 100 x 100 quads: 10,201 vertices.
constexpr const char* kTenThousand = "polyPlane -sx 100 -sy 100 -w 2 -h 2 -n m";
// 315 x 315 quads: 99,856 vertices.
constexpr const char* kHundredThousand = "polyPlane -sx 315 -sy 315 -w 2 -h 2 -n m";

void BM_ParseMoveScript(benchmark::State& state) {
    const std::string text = moveScript(static_cast<int>(state.range(0)), 10201, 1);
    std::vector<ehost::CommandText> commands;
    std::string error;
    for (auto _ : state) {
        ehost::splitCommands(text, commands, error);
        benchmark::DoNotOptimize(commands.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseMoveScript)->Arg(1000)->Arg(4000)->Unit(benchmark::kMicrosecond);

//! Runs the script on the 10k mesh; arg 1 says whether the mesh has history.
void BM_RunMoveScript(benchmark::State& state) {
    freshScene();
    run(std::string(kTenThousand) + (state.range(1) ? "" : " -ch off"));
    shape("mShape").output();
    const std::string text = moveScript(static_cast<int>(state.range(0)), 10201, 2);
    for (auto _ : state) {
        if (!run(text)) state.SkipWithError("the move script failed");
        // The viewport reads the mesh after each patch.
        benchmark::DoNotOptimize(shape("mShape").output()->numVertices());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RunMoveScript)
    ->Args({1000, 1})
    ->Args({4000, 1})
    ->Args({4000, 0})
    ->ArgNames({"items", "history"})
    ->Unit(benchmark::kMillisecond);

//! One move item on its own, to show that its cost does not grow with the mesh.
void BM_SingleMove(benchmark::State& state) {
    freshScene();
    run(state.range(0) ? kHundredThousand : kTenThousand);
    int i = 0;
    for (auto _ : state) {
        const std::string text = "move -absolute 0.5 0.25 " + std::to_string(i) +
                                 " |m|mShape.vtx[" + std::to_string(i % 10000) + "]";
        ++i;
        if (!run(text)) state.SkipWithError("move failed");
    }
}
BENCHMARK(BM_SingleMove)->Arg(0)->Arg(1)->ArgName("100k")->Unit(benchmark::kMicrosecond);

//! Undo and redo of an edit of the 100k mesh. args: the edit (0 average,
//! 1 merge), history, and whether the mesh is evaluated after each step (as a
//! redraw would).
void BM_UndoRedoEdit100k(benchmark::State& state) {
    freshScene();
    run(std::string(kHundredThousand) + (state.range(1) ? "" : " -ch off"));
    run("move 0 0.1 0 m.vtx[5000:5100]");
    // Relaxing a large patch, or the magnet merge of two border vertices.
    const char* edit = state.range(0) == 0 ? "polyAverageVertex -i 3 m.f[20000:40000]"
                                           : "polyMergeVertex -d 9999 -am 1 m.vtx[0] m.vtx[1]";
    if (!run(edit)) state.SkipWithError("the edit failed");
    const bool evaluate = state.range(2) != 0;
    auto& queue = ehost::session().commands().undoQueue;
    for (auto _ : state) {
        queue.undo();
        if (evaluate) benchmark::DoNotOptimize(shape("mShape").output()->numVertices());
        queue.redo();
        if (evaluate) benchmark::DoNotOptimize(shape("mShape").output()->numVertices());
    }
}
BENCHMARK(BM_UndoRedoEdit100k)
    ->Args({0, 1, 0})
    ->Args({0, 1, 1})
    ->Args({0, 0, 0})
    ->Args({0, 0, 1})
    ->Args({1, 1, 0})
    ->Args({1, 1, 1})
    ->Args({1, 0, 1})
    ->ArgNames({"merge", "history", "evaluated"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

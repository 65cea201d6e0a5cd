// Scene files and mesh files at scale: saving and opening a scene that holds a
// million-triangle mesh (with UVs), importing and exporting it as OBJ.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "host/src/dag/DagOps.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/io/SceneFile.h"
#include "host/src/mesh/MeshGeometry.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/session/Session.h"

namespace {

namespace fs = std::filesystem;
using namespace ehost;

constexpr int kSide = 707;  // 2 * 707 * 707 = 999,698 triangles

//! A bumpy height field of triangles with one UV per vertex. Coordinates are
//! irrational-looking on purpose: every number needs its full shortest text.
std::shared_ptr<MeshGeometry> millionTriangles() {
    std::vector<Vec3> points;
    std::vector<float> u, v;
    for (int j = 0; j <= kSide; ++j)
        for (int i = 0; i <= kSide; ++i) {
            const double x = i / 70.7, y = j / 70.7;
            points.push_back({x, y, 0.05 * std::sin(3.1 * x) * std::cos(2.3 * y)});
            u.push_back(static_cast<float>(i) / kSide);
            v.push_back(static_cast<float>(j) / kSide);
        }
    std::vector<int> counts, connects;
    for (int j = 0; j < kSide; ++j)
        for (int i = 0; i < kSide; ++i) {
            const int a = j * (kSide + 1) + i, b = a + 1, c = a + kSide + 2, d = a + kSide + 1;
            counts.insert(counts.end(), {3, 3});
            connects.insert(connects.end(), {a, b, c, a, c, d});
        }
    auto g = std::make_shared<MeshGeometry>();
    g->create(points, counts, connects);
    g->setUVs(u, v);
    g->assignUVs(counts, connects);
    return g;
}

//! A directory for the benchmark's files, removed at exit.
const fs::path& workDir() {
    struct Dir {
        fs::path path =
            fs::temp_directory_path() / ("tessark-bench-io-" + std::to_string(::getpid()));
        Dir() { fs::create_directories(path); }
        ~Dir() { fs::remove_all(path); }
    };
    static Dir dir;
    return dir.path;
}

//! A new scene holding the mesh under a transform; returns the transform.
Node* sceneWithMesh() {
    static const std::shared_ptr<MeshGeometry> geometry = millionTriangles();
    startIsolatedSession();
    session().newScene();
    MStatus st;
    Created c = createNode(*session().registry().findClass("mesh"), "terrainShape", nullptr, &st);
    writeData(*c.node, PlugAddr{meshAttributes().cachedInMesh.get(), -1},
              std::make_shared<MeshData>(geometry));
    return c.top.get();
}

void reportBytes(benchmark::State& state, const fs::path& file) {
    const auto bytes = static_cast<double>(fs::file_size(file));
    state.counters["file_MB"] = bytes / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

void BM_SaveSceneMillionTriangles(benchmark::State& state) {
    sceneWithMesh();
    const fs::path file = workDir() / "save.tsk";
    std::string error;
    for (auto _ : state)
        if (!saveScene(file.string(), &error)) state.SkipWithError(error.c_str());
    reportBytes(state, file);
}
BENCHMARK(BM_SaveSceneMillionTriangles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenSceneMillionTriangles(benchmark::State& state) {
    sceneWithMesh();
    const fs::path file = workDir() / "open.tsk";
    std::string error;
    if (!saveScene(file.string(), &error)) state.SkipWithError(error.c_str());
    for (auto _ : state)
        if (!openScene(file.string(), &error)) state.SkipWithError(error.c_str());
    reportBytes(state, file);
}
BENCHMARK(BM_OpenSceneMillionTriangles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportObjMillionTriangles(benchmark::State& state) {
    Node* top = sceneWithMesh();
    const fs::path file = workDir() / "export.obj";
    std::string error;
    for (auto _ : state)
        if (!exportMeshObj({top}, file.string(), &error)) state.SkipWithError(error.c_str());
    reportBytes(state, file);
}
BENCHMARK(BM_ExportObjMillionTriangles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportObjMillionTriangles(benchmark::State& state) {
    Node* top = sceneWithMesh();
    const fs::path file = workDir() / "terrain.obj";
    std::string error;
    if (!exportMeshObj({top}, file.string(), &error)) state.SkipWithError(error.c_str());
    for (auto _ : state) {
        NodePtr imported = importMesh(file.string(), &error);
        if (!imported) state.SkipWithError(error.c_str());
        state.PauseTiming();
        if (imported) removeNodes({imported.get()});
        state.ResumeTiming();
    }
    reportBytes(state, file);
}
BENCHMARK(BM_ImportObjMillionTriangles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

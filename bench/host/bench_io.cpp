// Scene files and mesh files at scale: saving and opening a scene that holds a
// million-triangle mesh (with UVs), importing and exporting it as OBJ, and
// importing a scan-like OBJ of 100k, 1M and 10M triangles with the import's
// peak memory.

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
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

// ---------------------------------------------------------------- import at scale

//! The example session's default source (examples/dense_blob.awk) written the
//! same way, "%.6f" coordinates and triangles: 2 * segments * (rings - 1)
//! triangles, as a scan exported by another application would look.
void writeBlobObj(const fs::path& file, int rings, int segments) {
    std::FILE* out = std::fopen(file.c_str(), "w");
    auto radius = [](double t, double p) {
        return 5 * (1 + 0.10 * std::sin(3 * t) * std::cos(2 * p) +
                    0.04 * std::sin(7 * t + 1) * std::sin(5 * p) +
                    0.012 * std::sin(19 * t) * std::sin(17 * p));
    };
    const double pi = std::numbers::pi;
    std::fprintf(out, "# dense blob: %d rings, %d segments\n", rings, segments);
    std::fprintf(out, "v 0 %.6f 0\n", radius(0, 0));
    for (int i = 1; i < rings; ++i) {
        const double t = pi * i / rings;
        for (int j = 0; j < segments; ++j) {
            const double p = 2 * pi * j / segments, r = radius(t, p);
            std::fprintf(out, "v %.6f %.6f %.6f\n", r * std::sin(t) * std::cos(p), r * std::cos(t),
                         r * std::sin(t) * std::sin(p));
        }
    }
    std::fprintf(out, "v 0 %.6f 0\n", -radius(pi, 0));
    for (int j = 0; j < segments; ++j)
        std::fprintf(out, "f 1 %d %d\n", 2 + (j + 1) % segments, 2 + j);
    for (int i = 1; i < rings - 1; ++i) {
        const int a = 2 + (i - 1) * segments, b = a + segments;
        for (int j = 0; j < segments; ++j) {
            const int k = (j + 1) % segments;
            std::fprintf(out, "f %d %d %d\nf %d %d %d\n", a + j, a + k, b + k, a + j, b + k, b + j);
        }
    }
    const int last = 2 + (rings - 1) * segments, a = 2 + (rings - 2) * segments;
    for (int j = 0; j < segments; ++j)
        std::fprintf(out, "f %d %d %d\n", a + j, a + (j + 1) % segments, last);
    std::fclose(out);
}

//! The blob file of about that many triangles, written once per process.
const fs::path& blobFile(long triangles) {
    static std::map<long, fs::path> files;
    auto [it, fresh] = files.try_emplace(triangles);
    if (fresh) {
        // 2 * segments * (rings - 1) triangles, segments about twice the rings.
        const int rings = static_cast<int>(std::lround(std::sqrt(triangles / 4.0))) + 1;
        const int segments = static_cast<int>(std::lround(triangles / (2.0 * (rings - 1))));
        it->second = workDir() / ("blob" + std::to_string(triangles) + ".obj");
        writeBlobObj(it->second, rings, segments);
    }
    return it->second;
}

//! A /proc/self/status figure in megabytes ("VmRSS:", "VmHWM:").
double statusMegabytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            double kb = 0;
            status >> kb;
            return kb / 1024;
        }
        status.ignore(256, '\n');
    }
    return 0;
}

//! Starts a new peak: the high-water mark drops to what is resident now.
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

//! OBJ import of a scan-like file (the example's blob) of 100k, 1M and 10M
//! triangles: the time of importMesh (what "file -import" runs: reading,
//! checking, building the shape) and the memory it needed on top of what the
//! process held before, against the bytes of the mesh it made.
void BM_ImportObj(benchmark::State& state) {
    startIsolatedSession();
    session().newScene();
    const fs::path& file = blobFile(state.range(0));
    std::string error;
    double peak = 0, meshBytes = 0, triangles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const double before = statusMegabytes("VmRSS:");
        resetPeakMemory();
        state.ResumeTiming();
        NodePtr imported = importMesh(file.string(), &error);
        state.PauseTiming();
        peak = std::max(peak, statusMegabytes("VmHWM:") - before);
        if (!imported) {
            state.SkipWithError(error.c_str());
            break;
        }
        auto& shape = static_cast<MeshShape&>(*static_cast<DagNode&>(*imported).children.at(0));
        meshBytes = static_cast<double>(shape.output()->memoryBytes());
        triangles = shape.output()->numFaces();
        removeNodes({imported.get()});
        state.ResumeTiming();
    }
    state.counters["triangles"] = triangles;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    state.counters["peak_MB"] = peak;
    state.counters["mesh_MB"] = meshBytes / (1 << 20);
    state.counters["peak_over_mesh"] = meshBytes > 0 ? peak / (meshBytes / (1 << 20)) : 0;
    session().newScene();
}
BENCHMARK(BM_ImportObj)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

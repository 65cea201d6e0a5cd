// Views: a refresh that records 100k UI primitives (through a draw override
// and through a tool context's feedback), worldToView over 100k points (one
// view handle, a fresh handle per point, and a fresh handle per point inside
// a draw override during a refresh, as the rail tool's drawing does),
// viewToWorld rays, and a snapshot of a frame with a shaded sphere; the
// picture of a million-triangle mesh, whole and its shading alone.
//
// Counters: ns_per_primitive, ns_per_point, ns_per_ray.

#include <maya/M3dView.h>
#include <maya/MDrawRegistry.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MPxContext.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MPxLocatorNode.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "bench/host/HostSession.h"
#include "bench/host/MeshFixtures.h"
#include "host/src/plugin/PluginNodes.h"
#include "host/src/view/Raster.h"
#include "host/src/view/Snapshot.h"
#include "host/src/view/Views.h"

namespace {

constexpr int kPrimitives = 100000;
constexpr int kPoints = 100000;

using Clock = std::chrono::steady_clock;

//! Reports the measured time per item under name.
void perItem(benchmark::State& state, const char* name, double itemsPerIteration,
             Clock::duration total) {
    double ns = std::chrono::duration<double, std::nano>(total).count();
    state.counters[name] = ns / (static_cast<double>(state.iterations()) * itemsPerIteration);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * itemsPerIteration));
}

//! Runs body once per iteration; returns the time it took altogether.
template <class Body>
Clock::duration timeEach(benchmark::State& state, Body&& body) {
    Clock::duration total{};
    for (auto _ : state) {
        auto start = Clock::now();
        body();
        total += Clock::now() - start;
    }
    return total;
}

//! Times a refresh of the panel per iteration.
Clock::duration timeRefreshes(benchmark::State& state, ehost::Panel& panel) {
    return timeEach(state, [&] {
        ehost::theViews().refresh(panel);
        benchmark::DoNotOptimize(panel.frame.drawables.data());
    });
}

//! Projects every point through the view handle view() gives, and sums the
//! pixels so that the work is kept.
template <class View>
long projectAll(const std::vector<MPoint>& points, View&& view) {
    long sum = 0;
    for (const MPoint& p : points) {
        short x = 0, y = 0;
        view().worldToView(p, x, y);
        sum += x + y;
    }
    return sum;
}

//! Mixed primitives, as a tool's drawing is: strips, circles, text, lines.
void drawMany(MHWRender::MUIDrawManager& draw, int count) {
    MPointArray strip;
    for (int i = 0; i < 8; ++i) strip.append(i, i * 0.5, 0);
    draw.beginDrawable();
    draw.beginDrawInXray();
    for (int i = 0; i < count; ++i) {
        draw.setColor(MColor(0.72f, 0.75f, 0.15f, 1.0f));
        switch (i % 4) {
            case 0:
                draw.lineStrip(strip, false);
                break;
            case 1:
                draw.circle2d(MPoint(i % 640, i % 480), 7, i % 8 == 1);
                break;
            case 2:
                draw.text2d(MPoint(i % 640, i % 480), "12", MHWRender::MUIDrawManager::kRight);
                break;
            case 3:
                draw.line(MPoint(0, 0, 0), MPoint(i, 1, 0));
                break;
        }
    }
    draw.endDrawInXray();
    draw.endDrawable();
}

class ManyLocator : public MPxLocatorNode {
public:
    static void* creator() { return new ManyLocator; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

//! A draw override that draws UI primitives only.
class UIOnlyOverride : public MHWRender::MPxDrawOverride {
public:
    explicit UIOnlyOverride(const MObject& obj) : MPxDrawOverride(obj, nullptr, false) {}
    bool hasUIDrawables() const override { return true; }
    MUserData* prepareForDraw(const MDagPath&, const MDagPath&, const MHWRender::MFrameContext&,
                              MUserData* old) override {
        return old;
    }
};

//! A locator node type drawn by a draw override, with one node of it in the
//! scene, for as long as this lives.
class OverriddenLocator {
public:
    OverriddenLocator(const char* type, MTypeId id, const char* classification,
                      MHWRender::MDrawRegistry::DrawOverrideCreator creator)
        : id_(id), classification_(classification) {
        ehost::registerPluginNodeType(type, id, ManyLocator::creator, ManyLocator::initialize,
                                      MPxNode::kLocatorNode, classification, "");
        MHWRender::MDrawRegistry::registerDrawOverrideCreator(classification, "bench", creator);
        MGlobal::executeCommand(MString("createNode ") + type);
    }
    ~OverriddenLocator() {
        ehost::session().newScene();
        MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(classification_, "bench");
        ehost::deregisterPluginNodeType(id_);
    }

private:
    MTypeId id_;
    MString classification_;
};

class ManyOverride : public UIOnlyOverride {
public:
    using UIOnlyOverride::UIOnlyOverride;
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) { return new ManyOverride(obj); }
    void addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& draw,
                        const MHWRender::MFrameContext&, const MUserData*) override {
        drawMany(draw, kPrimitives);
    }
};

class ManyContext : public MPxContext {
public:
    MStatus drawFeedback(MHWRender::MUIDrawManager& draw,
                         const MHWRender::MFrameContext&) override {
        drawMany(draw, kPrimitives);
        return MStatus::kSuccess;
    }
};

void BM_RefreshRecordingThroughADrawOverride(benchmark::State& state) {
    bench::startHost();
    const OverriddenLocator locator("benchManyLocator", MTypeId(0x7f0c01),
                                    "drawdb/geometry/benchMany", ManyOverride::creator);
    ehost::Panel& panel = ehost::theViews().activePanel();
    const Clock::duration total = timeRefreshes(state, panel);
    state.counters["primitives"] =
        static_cast<double>(panel.frame.drawables.at(0).primitives.size());
    perItem(state, "ns_per_primitive", kPrimitives, total);
}
BENCHMARK(BM_RefreshRecordingThroughADrawOverride)->Unit(benchmark::kMillisecond);

void BM_RefreshRecordingToolFeedback(benchmark::State& state) {
    bench::startHost();
    auto tool = std::make_unique<ehost::Tool>();
    tool->name = "benchTool";
    tool->contextCommand = "benchCtx";
    tool->context = new ManyContext;
    tool->command = nullptr;
    ehost::theViews().tools().add(std::move(tool));
    ehost::theViews().tools().setCurrent("benchTool");
    ehost::Panel& panel = ehost::theViews().activePanel();
    const Clock::duration total = timeRefreshes(state, panel);
    perItem(state, "ns_per_primitive", kPrimitives, total);
    ehost::theViews().tools().removeMadeBy("benchCtx");
}
BENCHMARK(BM_RefreshRecordingToolFeedback)->Unit(benchmark::kMillisecond);

std::vector<MPoint> randomPoints(int count) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-10, 10);
    std::vector<MPoint> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) out.emplace_back(u(rng), u(rng), u(rng));
    return out;
}

void BM_WorldToViewOneHandle(benchmark::State& state) {
    bench::startHost();
    auto points = randomPoints(kPoints);
    M3dView view = M3dView::active3dView();
    const Clock::duration total = timeEach(state, [&] {
        benchmark::DoNotOptimize(projectAll(points, [&]() -> M3dView& { return view; }));
    });
    perItem(state, "ns_per_point", kPoints, total);
}
BENCHMARK(BM_WorldToViewOneHandle)->Unit(benchmark::kMillisecond);

void BM_WorldToViewFreshHandlePerPoint(benchmark::State& state) {
    bench::startHost();
    auto points = randomPoints(kPoints);
    const Clock::duration total = timeEach(state, [&] {
        benchmark::DoNotOptimize(projectAll(points, [] { return M3dView::active3dView(); }));
    });
    perItem(state, "ns_per_point", kPoints, total);
}
BENCHMARK(BM_WorldToViewFreshHandlePerPoint)->Unit(benchmark::kMillisecond);

//! Projects the points through a fresh view handle each, during the draw.
class ProjectingOverride : public UIOnlyOverride {
public:
    using UIOnlyOverride::UIOnlyOverride;
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) {
        return new ProjectingOverride(obj);
    }
    void addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& draw,
                        const MHWRender::MFrameContext&, const MUserData*) override {
        const long sum = projectAll(*points, [] { return M3dView::active3dView(); });
        draw.point2d(MPoint(static_cast<double>(sum % 640), 0));
    }
    inline static const std::vector<MPoint>* points = nullptr;
};

void BM_WorldToViewDuringARefresh(benchmark::State& state) {
    bench::startHost();
    auto points = randomPoints(kPoints);
    ProjectingOverride::points = &points;
    const OverriddenLocator locator("benchProjectLocator", MTypeId(0x7f0c02),
                                    "drawdb/geometry/benchProject", ProjectingOverride::creator);
    const Clock::duration total = timeRefreshes(state, ehost::theViews().activePanel());
    perItem(state, "ns_per_point", kPoints, total);
}
BENCHMARK(BM_WorldToViewDuringARefresh)->Unit(benchmark::kMillisecond);

void BM_ViewToWorldRays(benchmark::State& state) {
    bench::startHost();
    M3dView view = M3dView::active3dView();
    const Clock::duration total = timeEach(state, [&] {
        double sum = 0;
        for (short y = 0; y < 480; y += 4)
            for (short x = 0; x < 640; x += 4) {
                MPoint source;
                MVector direction;
                view.viewToWorld(x, y, source, direction);
                sum += direction.x;
            }
        benchmark::DoNotOptimize(sum);
    });
    perItem(state, "ns_per_ray", 160 * 120, total);
}
BENCHMARK(BM_ViewToWorldRays)->Unit(benchmark::kMillisecond);

void BM_SnapshotOfAShadedSphere(benchmark::State& state) {
    bench::startHost();
    MGlobal::executeCommand("polySphere -r 5 -sx 40 -sy 40");
    ehost::Panel& panel = ehost::theViews().activePanel();
    ehost::theViews().refresh(panel);
    std::string file = (std::filesystem::temp_directory_path() / "bench_view_sphere.png").string();
    for (auto _ : state) benchmark::DoNotOptimize(ehost::writeSnapshot(panel, file).statusCode());
    std::filesystem::remove(file);
    ehost::session().newScene();
}
BENCHMARK(BM_SnapshotOfAShadedSphere)->Unit(benchmark::kMillisecond);

//! A bumpy sphere of radius 5 and about a million triangles, filling a
//! 960 x 720 view that looks at it.
ehost::Panel& millionTriangleView() {
    bench::startHost();
    const bench::PolygonArrays a = bench::bumpySphere(500, 1000);
    MPointArray points;
    for (const ehost::Vec3& p : a.points) points.append(MPoint(5 * p.x, 5 * p.y, 5 * p.z));
    MIntArray counts, connects;
    for (int c : a.counts) counts.append(c);
    for (int v : a.connects) connects.append(v);
    MFnMesh fn;
    fn.create(points.length(), counts.length(), points, counts, connects);
    MGlobal::executeCommand("hostView -size 960 720");
    MGlobal::executeCommand("viewPlace -eye 0 0 14 -lookAt 0 0 0 -up 0 1 0 persp");
    ehost::Panel& panel = ehost::theViews().activePanel();
    ehost::theViews().refresh(panel);
    return panel;
}

void BM_SnapshotOfAMillionTriangles(benchmark::State& state) {
    ehost::Panel& panel = millionTriangleView();
    std::string file = (std::filesystem::temp_directory_path() / "bench_view_1m.png").string();
    for (auto _ : state) benchmark::DoNotOptimize(ehost::writeSnapshot(panel, file).statusCode());
    std::filesystem::remove(file);
    ehost::session().newScene();
}
BENCHMARK(BM_SnapshotOfAMillionTriangles)->Unit(benchmark::kMillisecond);

//! The shading alone, into pixels held in memory: no file, no compression.
void BM_ShadingOfAMillionTriangles(benchmark::State& state) {
    ehost::Panel& panel = millionTriangleView();
    const ehost::Frame& frame = panel.frame;
    const int stride = 4 * frame.view.width();
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * frame.view.height());
    const ehost::RasterLook look{{0.62f, 0.62f, 0.64f, 1}, {0.09f, 0.09f, 0.11f, 0.6f}, 2};
    for (auto _ : state) {
        ehost::rasterShapes(frame.view, frame.clear, frame.shapes, look, pixels.data(), stride);
        benchmark::DoNotOptimize(pixels.data());
    }
    ehost::session().newScene();
}
BENCHMARK(BM_ShadingOfAMillionTriangles)->Unit(benchmark::kMillisecond);

}  // namespace

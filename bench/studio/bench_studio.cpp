// The studio as its page meets it, on the built-in source of a million
// triangles: a drag sample (the event carried to the tool and the frame
// that shows it, as sent), a frame when nothing changed, and a new page's
// first frame (the source's geometry included).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/src/session/Application.h"
#include "studio/StudioSession.h"

namespace {

namespace fs = std::filesystem;
using tessark_studio::Outgoing;
using tessark_studio::StudioSession;

StudioSession& studio() {
    static StudioSession* session = [] {
        std::string dir = (fs::temp_directory_path() / "bench-studio.XXXXXX").string();
        if (!::mkdtemp(dir.data())) std::abort();
        ehost::application::start(dir + "/prefs", {});
        ehost::application::setEcho(false);
        auto* s = new StudioSession;
        tessark_studio::StudioSetup setup;
        setup.scratchDir = dir;
        std::string why;
        if (!s->setUp(setup, why)) {
            fprintf(stderr, "bench_studio: %s\n", why.c_str());
            std::abort();
        }
        s->pageOpened();
        s->handle(R"({"type":"hello","width":960,"height":720})");
        s->frame();
        return s;
    }();
    return *session;
}

size_t bytes(const std::vector<Outgoing>& out) {
    size_t n = 0;
    for (const auto& m : out) n += m.data.size();
    return n;
}

std::string pointer(const char* event, int x, int y) {
    return std::string(R"({"type":"pointer","button":"left","event":")") + event + R"(","x":)" +
           std::to_string(x) + R"(,"y":)" + std::to_string(y) + "}";
}

//! A selected mesh of 10,000 quads beside the source: the Vintrel overlay draws
//! it in every frame, unchanged while a stroke is drawn on the source.
void overlayTenThousandQuads(StudioSession& s) {
    static bool made = false;
    if (made) return;
    made = true;
    s.handle(R"({"type":"command","id":1,"text":"polyPlane -n overlaid -w 4 -h 4 -sx 100 -sy 100; )"
             R"(setAttr overlaid.translate 0 -6 0; select overlaid"})");
    s.frame();
}

void dragSamples(benchmark::State& state) {
    StudioSession& s = studio();
    size_t sent = 0;
    int samples = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.handle(pointer("press", 400, 200));
        s.frame();
        state.ResumeTiming();
        for (int i = 1; i <= 40; ++i) {
            s.handle(pointer("drag", 400, 200 + 8 * i));
            sent += bytes(s.frame());
            ++samples;
        }
        state.PauseTiming();
        s.handle(pointer("release", 400, 520));
        s.handle(R"({"type":"key","key":"escape"})");
        s.frame();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(samples);
    state.counters["bytes per sample"] =
        benchmark::Counter(static_cast<double>(sent) / std::max(samples, 1));
}

void BM_StudioDragSample(benchmark::State& state) {
    dragSamples(state);
}
BENCHMARK(BM_StudioDragSample)->Unit(benchmark::kMillisecond);

void BM_StudioDragSampleOverlayingTenThousandQuads(benchmark::State& state) {
    overlayTenThousandQuads(studio());
    dragSamples(state);
}
BENCHMARK(BM_StudioDragSampleOverlayingTenThousandQuads)->Unit(benchmark::kMillisecond);

void BM_StudioFrameUnchanged(benchmark::State& state) {
    StudioSession& s = studio();
    for (auto _ : state) benchmark::DoNotOptimize(s.frame());
}
BENCHMARK(BM_StudioFrameUnchanged)->Unit(benchmark::kMillisecond);

void BM_StudioNewPageFirstFrame(benchmark::State& state) {
    StudioSession& s = studio();
    size_t sent = 0;
    for (auto _ : state) {
        s.pageOpened();
        sent = bytes(s.frame());
    }
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(sent));
}
BENCHMARK(BM_StudioNewPageFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace

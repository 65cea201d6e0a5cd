// Standard input as the application reads it: lines fed one at a time to
// the facade's LineFeed. The time per line must stay flat however many lines
// came before, also while a string or comment is held open over all of them
// (each line is lexed once, not the whole open text again). Compare the
// per-line rates across the sizes: they should not fall as the count grows.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/host/HostSession.h"
#include "host/src/session/Application.h"

namespace {

namespace app = ehost::application;

//! Feeds lines lines of text; open says whether a string is held open over
//! all of them (it closes after the last), else each line is a comment.
void feedLines(benchmark::State& state, bool open) {
    bench::startHost();
    const auto lines = static_cast<int>(state.range(0));
    const std::string text = "a line of text that goes on for a while, as notes in a script do";
    app::RunOptions options;
    options.display = false;
    for (auto _ : state) {
        app::LineFeed feed;
        if (open) feed.addLine("optionVar -sv benchNote \"");
        for (int i = 0; i < lines; ++i)
            benchmark::DoNotOptimize(feed.addLine(open ? text : "// " + text));
        if (open) feed.addLine("\"");
        benchmark::DoNotOptimize(feed.runReady(options).ok);
    }
    state.SetItemsProcessed(state.iterations() * lines);
    state.SetComplexityN(lines);
}

void BM_LinesInsideAnOpenString(benchmark::State& state) {
    feedLines(state, true);
}
BENCHMARK(BM_LinesInsideAnOpenString)
    ->RangeMultiplier(4)
    ->Range(1250, 80000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_CommentLines(benchmark::State& state) {
    feedLines(state, false);
}
BENCHMARK(BM_CommentLines)
    ->RangeMultiplier(4)
    ->Range(1250, 80000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

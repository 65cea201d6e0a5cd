#!/usr/bin/env bash
# The cost curve: runs the action benchmarks of bench_tessark over the size
# matrix (sources of 100k, 1M and 10M triangles, retopology meshes of 1k, 10k
# and 100k quads), keeps Google Benchmark's JSON, and turns it into
# docs/cost-curve.png and docs/cost-curve.md, and the summary table between
# the cost-curve markers of README.md. Run through ./run.sh bench-curve, which
# builds first (preset bench).
#
#   bench/plot_cost_curve.sh [RESULTS.json]   plot existing results instead of running
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build-release/bin
results=${1:-}
if [ -z "$results" ]; then
    results=build-release/cost-curve.json
    "$bin/bench_tessark" \
        --benchmark_filter='^BM_(DragSample|PinPick|BrushStep|EnterPatch|SpanChange|UndoPatch|ViewportRefresh)/' \
        --benchmark_out="$results" --benchmark_out_format=json
fi

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
"$bin/plot_cost_curve" "$results" docs/cost-curve.png docs/cost-curve.md "$summary"

# The README's table: what lies between the markers is replaced.
awk -v table="$summary" '
    /<!-- cost-curve:begin -->/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
    /<!-- cost-curve:end -->/ { skip = 0 }
    !skip { print }
' README.md >README.md.new && mv README.md.new README.md
echo "cost curve: docs/cost-curve.png, docs/cost-curve.md, README.md (from $results)"

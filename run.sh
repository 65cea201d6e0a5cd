#!/usr/bin/env bash
# One entry for developers and CI: installs what the project needs, configures
# through the presets of CMakePresets.json, builds, and runs the tests, the
# benchmarks or the checks.
#
#   ./run.sh example [...] build (preset ci) and run the example retopology session
#                          (examples/retopo_session.sh; its options pass through)
#   ./run.sh test          build (warnings are errors, preset ci) and run every test
#   ./run.sh build         build only (preset ci)
#   ./run.sh test-asan     the same tests built with AddressSanitizer and UBSan (preset asan)
#   ./run.sh bench [re]    optimised build (preset bench) and the benchmarks (optional filter)
#   ./run.sh bench-curve   the cost curve: the action benchmarks over the size matrix, then
#                          docs/cost-curve.png, docs/cost-curve.md and README.md's table
#   ./run.sh format-check  every C++ file of the tree is as clang-format leaves it
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
                libembree-dev nlohmann-json3-dev libcairo2-dev)
FORMAT_PACKAGES=(clang-format)

ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# configure_and_build PRESET [TARGET...]: everything, or only the targets named.
configure_and_build() {
    local preset=$1
    shift
    ensure_packages "${BUILD_PACKAGES[@]}"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)" ${1:+--target "$@"}
}

format_check() {
    ensure_packages "${FORMAT_PACKAGES[@]}"
    local bad
    bad=$(git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run 2>&1 | grep -o '^[^:]*:' | sort -u || true)
    if [ -n "$bad" ]; then
        echo "These files are not formatted (run clang-format -i on them):" >&2
        echo "$bad" | tr -d ':' >&2
        return 1
    fi
    echo "format-check: every C++ file is formatted"
}

cmd=${1:-build}
shift || true
case "$cmd" in
    build)
        configure_and_build ci ;;
    example)
        # The application and the plug-ins the session loads; the tests wait for ./run.sh test.
        configure_and_build ci tessark Tessark_2020 Vintrel_2020
        examples/retopo_session.sh "$@" ;;
    test)
        configure_and_build ci
        ctest --preset ci -j "$(nproc)" "$@" ;;
    test-asan)
        configure_and_build asan
        ctest --preset asan -j "$(nproc)" "$@" ;;
    bench)
        configure_and_build bench
        for b in build-release/bin/bench_*; do
            echo "== $(basename "$b")"
            "$b" ${1:+--benchmark_filter="$1"}
        done ;;
    bench-curve)
        configure_and_build bench bench_tessark plot_cost_curve Tessark_2020 Vintrel_2020
        bench/plot_cost_curve.sh ;;
    format-check)
        format_check ;;
    *)
        echo "usage: $0 {example [source] [--out dir]|build|test|test-asan|bench [filter]|bench-curve|format-check}" >&2
        exit 2 ;;
esac

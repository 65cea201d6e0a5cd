#!/usr/bin/env bash
# One entry for developers and CI: installs what the project needs, configures
# through the presets of CMakePresets.json, builds, and runs the tests, the
# benchmarks or the checks.
#
#   ./run.sh example [...] build (preset ci) and run the example retopology session
#                          (examples/retopo_session.sh; its options pass through)
#   ./run.sh studio [...]  build (preset ci) and start the studio: retopology in a
#                          browser (build/bin/tessark --serve; its options pass through)
#   ./run.sh test          build (warnings are errors, preset ci) and run every test
#   ./run.sh build         build only (preset ci)
#   ./run.sh test-asan     the same tests built with AddressSanitizer and UBSan (preset asan)
#   ./run.sh bench [re]    optimised build (preset bench) and the benchmarks (optional filter)
#   ./run.sh bench-curve   the cost curve: the action benchmarks over the size matrix, then
#                          docs/cost-curve.png, docs/cost-curve.md and README.md's table
#   ./run.sh format-check  every C++ file of the tree is as clang-format leaves it
#   ./run.sh fuzz [seconds] [harness...]
#                          libFuzzer harnesses (preset fuzz, clang, in build-fuzz/), each
#                          run for the given seconds (default 30) on its seed corpus
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
                libembree-dev nlohmann-json3-dev libcairo2-dev libboost-dev)
# The studio's page in a headless browser, driven through its driver.
TEST_PACKAGES=(chromium chromium-driver python3-selenium)
FORMAT_PACKAGES=(clang-format)
# clang and its runtime libraries, libFuzzer's among them.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
FUZZ_HARNESSES=(command_lexer command_run scene_open obj_import off_import geometry_strokes
                tool_gestures)

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

# The studio's page uses three.js from the npm registry, installed into web/
# exactly as web/package-lock.json pins it (Debian's npm when the machine has
# none), and served from there: the page fetches nothing from elsewhere.
ensure_web() {
    # The stamp is the lock npm last installed from: a changed lock installs again.
    cmp -s web/package-lock.json web/node_modules/.installed-from-lock 2>/dev/null && return 0
    command -v npm >/dev/null 2>&1 || ensure_packages npm
    if ! (cd web && npm ci --no-audit --no-fund --loglevel=error >/dev/null); then
        echo "npm ci in web/ failed" >&2
        return 1
    fi
    cp web/package-lock.json web/node_modules/.installed-from-lock
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

# fuzz SECONDS [HARNESS...]: builds the harnesses and runs each for SECONDS on
# its seed corpus (fuzz/corpus/<harness>, which is only read) and what earlier
# runs added (build-fuzz/fuzzing/<harness>/corpus), as many at once as there
# are cores. A crash, leak, hang or sanitizer report leaves its input in
# build-fuzz/fuzzing/<harness>/ and fails the run.
run_fuzzers() {
    local seconds=${1:-30}
    shift || true
    local harnesses=("$@")
    [ ${#harnesses[@]} -gt 0 ] || harnesses=("${FUZZ_HARNESSES[@]}")
    ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j "$(nproc)"
    local work=$PWD/build-fuzz/fuzzing
    # The corpora grow from run to run; the reports and inputs of the last run go.
    find "$work" -maxdepth 2 -type f \( -name log -o -name 'crash-*' -o -name 'leak-*' \
        -o -name 'timeout-*' -o -name 'oom-*' -o -name 'slow-unit-*' \) -delete 2>/dev/null || true
    rm -rf "$work/tmp"
    mkdir -p "$work/tmp"
    # The harnesses' scratch directories go here, so that a crash leaves none in /tmp.
    export TMPDIR=$work/tmp
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    local h running=0
    for h in "${harnesses[@]}"; do
        mkdir -p "$work/$h/corpus"
        # One input taking 25 s is a hang: the slowest seed takes about a second.
        build-fuzz/bin/"$h" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$work/$h/" \
            "$work/$h/corpus" "$PWD/fuzz/corpus/$h" >"$work/$h/log" 2>&1 &
        running=$((running + 1))
        if [ "$running" -ge "$(nproc)" ]; then
            wait -n || true
            running=$((running - 1))
        fi
    done
    wait || true
    local passed=0 failed=0 runs rate found
    for h in "${harnesses[@]}"; do
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$h/log")
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/$h/log")
        found=$(find "$work/$h" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
            -o -name 'timeout-*' -o -name 'oom-*' \))
        if grep -q '^Done [0-9]* runs' "$work/$h/log" && [ -z "$found" ]; then
            passed=$((passed + 1))
            echo "fuzz $h: passed, ${runs:-?} runs in ${seconds} s (${rate:-?} exec/s)"
        else
            failed=$((failed + 1))
            echo "fuzz $h: FAILED after ${runs:-?} runs; its report (build-fuzz/fuzzing/$h/log) ends:"
            grep -v '^#[0-9]' "$work/$h/log" | tail -n 40 || true
            [ -z "$found" ] || echo "$found" | sed 's/^/    input: /'
        fi
    done
    echo "fuzz: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

cmd=${1:-build}
shift || true
case "$cmd" in
    build)
        ensure_web
        configure_and_build ci ;;
    example)
        # The application and the plug-ins the session loads; the tests wait for ./run.sh test.
        configure_and_build ci tessark Tessark_2020 Vintrel_2020
        examples/retopo_session.sh "$@" ;;
    studio)
        ensure_web
        configure_and_build ci tessark Tessark_2020 Vintrel_2020
        exec build/bin/tessark --serve "$@" ;;
    test)
        ensure_packages "${TEST_PACKAGES[@]}"
        ensure_web
        configure_and_build ci
        ctest --preset ci -j "$(nproc)" "$@" ;;
    test-asan)
        ensure_packages "${TEST_PACKAGES[@]}"
        ensure_web
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
    fuzz)
        run_fuzzers "$@" ;;
    *)
        echo "usage: $0 {example [source] [--out dir]|studio [--port N] [source]|build|test|test-asan|bench [filter]|bench-curve|format-check|fuzz [seconds] [harness...]}" >&2
        exit 2 ;;
esac

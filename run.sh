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
#   ./run.sh format-check  every C++ file of the tree is as clang-format leaves it
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
                libembree-dev nlohmann-json3-dev libtinyobjloader-dev libcairo2-dev libboost-dev)
# The studio's page in a headless browser, driven through its driver.
TEST_PACKAGES=(chromium chromium-driver python3-selenium)
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
    ensure_web
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
    studio)
        configure_and_build ci tessark Tessark_2020 Vintrel_2020
        exec build/bin/tessark --serve "$@" ;;
    test)
        ensure_packages "${TEST_PACKAGES[@]}"
        configure_and_build ci
        ctest --preset ci -j "$(nproc)" "$@" ;;
    test-asan)
        ensure_packages "${TEST_PACKAGES[@]}"
        configure_and_build asan
        ctest --preset asan -j "$(nproc)" "$@" ;;
    bench)
        configure_and_build bench
        for b in build-release/bin/bench_*; do
            echo "== $(basename "$b")"
            "$b" ${1:+--benchmark_filter="$1"}
        done ;;
    format-check)
        format_check ;;
    *)
        echo "usage: $0 {example [source] [--out dir]|studio [--port N] [source]|build|test|test-asan|bench [filter]|format-check}" >&2
        exit 2 ;;
esac

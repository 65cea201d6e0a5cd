#!/usr/bin/env bash
# One entry for developers and CI: installs what the project needs, configures,
# builds, and runs the tests, the benchmarks or the example.
#
#   ./run.sh test        build (warnings are errors) and run every test
#   ./run.sh build       build only
#   ./run.sh bench [re]  build and run the benchmarks (optional name filter)
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}
PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libembree-dev nlohmann-json3-dev libtinyobjloader-dev libcli11-dev libcairo2-dev)

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

configure_and_build() {
    ensure_packages
    cmake -S . -B "$BUILD_DIR" -G Ninja -DTESSARK_WERROR=ON "$@" >/dev/null
    cmake --build "$BUILD_DIR" -j "$(nproc)"
}

cmd=${1:-build}
shift || true
case "$cmd" in
    build)
        configure_and_build ;;
    test)
        configure_and_build
        ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)" "$@" ;;
    bench)
        configure_and_build -DCMAKE_BUILD_TYPE=Release
        for b in "$BUILD_DIR"/bin/bench_*; do
            echo "== $(basename "$b")"
            "$b" ${1:+--benchmark_filter="$1"}
        done ;;
    *)
        echo "usage: $0 {build|test|bench [filter]}" >&2
        exit 2 ;;
esac

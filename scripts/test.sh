#!/usr/bin/env bash
# Builds Quillon and runs every test three times: against Qt 5, against Qt 6, and against Qt 5 built
# with clang under AddressSanitizer and UndefinedBehaviorSanitizer, where the libFuzzer harnesses are
# built too and ctest fuzzes each of them for a few seconds. Warnings are errors in all three builds.
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"

jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# install-deps.sh installed the validators, so the packaging test must run them, not skip.
export QUILLON_REQUIRE_PACKAGING_TOOLS=1

run_configuration() {
    local name="$1" compilers="$2"
    shift 2
    local dir="$top/build-test/$name"
    echo "=== $name: configure and build"
    env $compilers cmake -S "$top" -B "$dir" -G Ninja -DQUILLON_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    echo "=== $name: tests"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

gcc="CC=gcc CXX=g++"
clang="CC=clang CXX=clang++"
run_configuration qt6 "$gcc" -DQUILLON_QT_MAJOR=6
run_configuration qt5-clang-sanitizers "$clang" -DQUILLON_QT_MAJOR=5 -DQUILLON_SANITIZE=ON -DQUILLON_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=Debug
run_configuration qt5 "$gcc" -DQUILLON_QT_MAJOR=5

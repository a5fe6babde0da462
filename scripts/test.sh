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

# The configurations are the presets of CMakePresets.json; each builds into build-test/<preset>.
run_configuration() {
    local name="$1"
    echo "=== $name: configure and build"
    (cd "$top" && cmake --preset "$name" >/dev/null && cmake --build --preset "$name" -j "$jobs")
    echo "=== $name: tests"
    (cd "$top" && ctest --preset "$name" -j "$jobs")
}

run_configuration qt6
run_configuration qt5-clang-sanitizers
run_configuration qt5

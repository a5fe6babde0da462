#!/usr/bin/env bash
# Builds Quillon against Qt 5 and prints the reports of the bundled example measurements, with the
# step gauge nominal values of examples/Nominal_Data where the tool supports them.
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"

dir="$top/build-run"
cmake -S "$top" -B "$dir" -G Ninja -DQUILLON_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"

options=()
if "$dir/tools/quillon-report" --help | grep -q -- "--nominals"; then
    options=(--nominals "$top/examples")
fi
status=0
"$dir/tools/quillon-report" "${options[@]}" "$top"/examples/*.dat || status=$?
exit "$status"

#!/usr/bin/env bash
# Builds Quillon against Qt 5 and starts the viewer on the bundled example measurements. Without a
# display it prints the example reports with quillon-report instead.
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"

dir="$top/build-run"
cmake -S "$top" -B "$dir" -G Ninja -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    # The viewer looks nominal sets up in its settings folder; add the examples' sets that are missing
    # there, never replacing one.
    nominals="$HOME/.corvane/Nominal_Data"
    mkdir -p "$nominals"
    for set in "$top"/examples/Nominal_Data/SG_*; do
        if [[ ! -e "$nominals/$(basename "$set")" ]]; then
            cp "$set" "$nominals/" && echo "Added the example nominal set $(basename "$set") to $nominals"
        fi
    done
    exec "$dir/src/app/quillon" "$top/examples"
fi

echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): printing the example reports instead."
status=0
"$dir/tools/quillon-report" --nominals "$top/examples" "$top"/examples/*.dat || status=$?
exit "$status"

#!/bin/sh
# Times the viewer from its start, as a user starts it, to the first paint of its window on a real X
# server: runs it RUNS times (default 21) with a fresh home folder and prints the median against the goal
# of 150 ms. Without a display it runs itself under xvfb-run, whose server start is not counted.
#
#   bench/start_bench.sh [QUILLON] [RUNS]      (QUILLON defaults to build/src/app/quillon)
set -eu

quillon=${1:-build/src/app/quillon}
runs=${2:-21}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$quillon" "$runs"
fi
[ -x "$quillon" ] || { echo "start_bench: no program at $quillon" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
times=""
run=0
while [ "$run" -lt "$runs" ]; do
    run=$((run + 1))
    rm -rf "$work/home" "$work/notes"
    mkdir "$work/home"
    mkfifo "$work/notes"
    start=$(date +%s%N)
    HOME="$work/home" QUILLON_FIRST_PAINT_NOTE=1 timeout 20 "$quillon" 2>"$work/notes" >/dev/null &
    pid=$!
    # The marker line is the first paint; the viewer's other notes are passed over.
    shown=""
    while IFS= read -r line; do
        if [ "$line" = "quillon: first paint" ]; then
            shown=$(date +%s%N)
            break
        fi
    done <"$work/notes"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [ -z "$shown" ]; then
        echo "start_bench: run $run ended without a first paint" >&2
        exit 1
    fi
    times="$times $(((shown - start) / 1000))"
done

printf '%s\n' $times | sort -n | awk -v runs="$runs" '
    { t[NR] = $1 }
    END {
        median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
        printf "start to first paint on X (%s), median of %d runs: %.1f ms (fastest %.1f, slowest %.1f): goal <= 150 ms %s\n",
               ENVIRON["DISPLAY"], runs, median / 1000, t[1] / 1000, t[NR] / 1000, median <= 150000 ? "met" : "MISSED"
    }'

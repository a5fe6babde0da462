#!/usr/bin/env bash
# The translation template lupdate made in the build: every message has a context a translator can
# place (lupdate leaves it empty for tr() outside a class), and texts the user sees from each part of
# the programs are in it, so a message that bypasses tr() in one of them shows up here.
set -uo pipefail
ts="$1"
status=0
fail() { echo "FAIL: $*"; status=1; }

[[ -s "$ts" ]] || { echo "FAIL: no translation template at $ts"; exit 1; }
grep -q "<name></name>" "$ts" && fail "a message without context"
for text in "Export Report as PDF" "Remove Measured Files" "Page %1 of %2" "Follow New Files" \
    "Input file too small to be a measurement data file." "no measurement file given" \
    "the runs have no points to compare" "it is a folder" "Paste values" "Usage: quillon [FOLDER | FILE.dat]" \
    "Step Gauge B89.4.1" "Measurement Count"; do
    grep -qF "<source>$text" "$ts" || fail "'$text' is not in the template"
done
exit $status

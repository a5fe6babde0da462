#!/usr/bin/env bash
# Usage: check_options.sh PROGRAM MANUAL_PAGE [BASH_COMPLETION]
# The options PROGRAM --help lists must be exactly those the manual page describes (and the completion
# offers), so neither falls behind when an option is added or renamed.
set -euo pipefail

program="$1" page="$2" completion="${3:-}"

# Option names at the start of a help line: "  -h, --help   ..." or "  --graph <OUT>  ...".
help_options() {
    "$program" --help | grep -E '^ +-' | sed -E 's/^ +//; s/  .*//; s/ <[^>]*>//g' | tr ',' '\n' |
        sed -E 's/^ +//; s/ .*//' | grep -E '^--?[A-Za-z]' | sort -u
}

# Option names in the headings of the page's OPTIONS section (the line after each .TP).
page_options() {
    sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g' |
        grep -oE '(^|[ "])--?[A-Za-z][A-Za-z-]*' | sed -E 's/^[ "]//' | sort -u
}

# The words the completion offers after a "-" (its compgen list of options).
completion_options() {
    sed -n "/compgen -W '--/,/'/p" "$completion" | grep -oE -- '--[a-z][a-z-]*' | sort -u
}

status=0
compare() {
    local what="$1" expected="$2" actual="$3"
    if [[ "$expected" != "$actual" ]]; then
        echo "FAIL: $what differ from --help of $program (< --help, > $what):"
        diff <(echo "$expected") <(echo "$actual") || true
        status=1
    fi
}

from_help="$(help_options)"
if [[ -z "$from_help" ]]; then
    echo "FAIL: $program --help lists no options"
    exit 1
fi
compare "the options of $page" "$from_help" "$(page_options)"
if [[ -n "$completion" ]]; then
    compare "the options of $completion" "$(grep -- '^--' <<<"$from_help")" "$(completion_options)"
fi
[[ $status -eq 0 ]] && echo "$(wc -l <<<"$from_help") options agree"
exit $status

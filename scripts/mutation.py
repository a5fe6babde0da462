#!/usr/bin/env python3
"""Seeded mutation check: how many small product faults do the unit tests catch?

Each mutant changes one source line (a flipped comparison, + and -, a 0/1 constant, a negated
condition, a dropped statement), rebuilds with ninja and runs only the tests whose executables were
relinked. A mutant is killed when one of those tests fails or times out. Mutants that do not build are
skipped and the next candidate is drawn, so the same seed on the same product code gives the same
mutants whatever the tests look like. The source is always restored, also on Ctrl+C.

    scripts/mutation.py --build build [--source .] [--count 40] [--seed 20] [--paths src/model core]
                        [--only FILE:LINE:OP ...]
"""

import argparse
import os
import random
import re
import subprocess
import sys
import time

# (name, pattern, replacement); a pattern that matches several times on a line gives several mutants.
OPERATORS = [
    ("eq-ne", r"==", "!="),
    ("ne-eq", r"!=", "=="),
    ("le-lt", r"<=", "<"),
    ("ge-gt", r">=", ">"),
    ("lt-le", r"(?<=\s)<(?=\s)", "<="),
    ("gt-ge", r"(?<=\s)>(?=\s)", ">="),
    ("and-or", r"&&", "||"),
    ("or-and", r"\|\|", "&&"),
    ("plus-minus", r"(?<=\s)\+(?=\s)", "-"),
    ("minus-plus", r"(?<=\s)-(?=\s)", "+"),
    ("zero-one", r"(?<![\w.])0(?![\w.])", "1"),
    ("one-zero", r"(?<![\w.])1(?![\w.])", "0"),
    ("true-false", r"\btrue\b", "false"),
    ("false-true", r"\bfalse\b", "true"),
]
CONDITION = re.compile(r"^(\s*(?:\}\s*else\s+)?if\s*\()(.*)(\)\s*\{?\s*)$")
STATEMENT = re.compile(r"^\s*[A-Za-z_][\w:.>\-\[\]]*(\(.*\))?\s*(=|\+=|-=|<<|\().*;\s*$")
SKIP = re.compile(r"^\s*(//|\*|/\*|#)|\bstatic_assert\b|\bQStringLiteral\b|\btr\(|\bQLatin1")


def candidates(root, paths):
    found = []
    for path in paths:
        for folder, _, files in os.walk(os.path.join(root, path)):
            for name in sorted(files):
                if not name.endswith(".cpp"):
                    continue
                file = os.path.relpath(os.path.join(folder, name), root)
                with open(os.path.join(root, file), encoding="utf-8") as handle:
                    lines = handle.read().split("\n")
                for number, line in enumerate(lines):
                    if SKIP.search(line) or not line.strip():
                        continue
                    for op, pattern, replacement in OPERATORS:
                        for match in re.finditer(pattern, line):
                            mutated = line[: match.start()] + replacement + line[match.end():]
                            found.append((file, number, op, mutated))
                    condition = CONDITION.match(line)
                    if condition:
                        found.append((file, number, "negate-if",
                                      condition.group(1) + "!(" + condition.group(2) + ")" + condition.group(3)))
                    if STATEMENT.match(line) and not line.lstrip().startswith("return"):
                        found.append((file, number, "drop", re.sub(r"\S.*", ";", line, count=1)))
    found.sort()
    return found


def run(command, cwd, timeout=None):
    try:
        done = subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=timeout, text=True)
        return done.returncode, done.stdout
    except subprocess.TimeoutExpired:
        return -1, "timeout"


def relinked_tests(build, since):
    tests = []
    for folder, _, files in os.walk(os.path.join(build, "tests")):
        for name in files:
            path = os.path.join(folder, name)
            if name.startswith("tst_") and os.access(path, os.X_OK) and os.path.getmtime(path) >= since:
                tests.append(name)
    return sorted(tests)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    parser.add_argument("--source", default=".")
    parser.add_argument("--build", required=True)
    parser.add_argument("--count", type=int, default=40)
    parser.add_argument("--seed", type=int, default=20)
    parser.add_argument("--paths", nargs="+", default=["src/model", "core"])
    parser.add_argument("--test-timeout", type=int, default=180)
    parser.add_argument("--list", action="store_true", help="print the drawn order and stop")
    parser.add_argument("--only", nargs="+", default=[], metavar="FILE:LINE:OP",
                        help="run just these mutants, e.g. the survivors of another run")
    args = parser.parse_args()
    source, build = os.path.abspath(args.source), os.path.abspath(args.build)

    pool = candidates(source, args.paths)
    random.Random(args.seed).shuffle(pool)
    if args.only:
        pool = [m for m in pool if f"{m[0]}:{m[1] + 1}:{m[2]}" in args.only]
    if args.list:
        for file, number, op, mutated in pool[: args.count]:
            print(f"{file}:{number + 1} {op}: {mutated.strip()}")
        print(f"{len(pool)} candidates")
        return 0

    code, output = run(["ninja"], build)
    if code != 0:
        sys.exit("the unmutated tree does not build:\n" + output[-2000:])
    killed = built = 0
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for file, number, op, mutated in pool:
        if built == args.count:
            break
        path = os.path.join(source, file)
        with open(path, encoding="utf-8") as handle:
            original = handle.read()
        lines = original.split("\n")
        lines[number] = mutated
        start = time.time() - 1
        try:
            with open(path, "w", encoding="utf-8") as handle:
                handle.write("\n".join(lines))
            code, _ = run(["nice", "ninja"], build)
            if code != 0:
                continue
            tests = relinked_tests(build, start)
            built += 1
            verdict = "survived"
            if tests:
                code, _ = subprocess.run(
                    ["ctest", "--test-dir", build, "-j2", "--stop-on-failure", "--timeout",
                     str(args.test_timeout), "-R", "^(" + "|".join(tests) + ")$"],
                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env, text=True), None
                if code.returncode != 0:
                    killed += 1
                    verdict = "killed"
            print(f"{built:3} {verdict:8} {file}:{number + 1} {op}: {original.split(chr(10))[number].strip()}"
                  f"  ->  {mutated.strip()}  [{len(tests)} tests]", flush=True)
        finally:
            with open(path, "w", encoding="utf-8") as handle:
                handle.write(original)
    run(["ninja"], build)
    print(f"killed {killed}/{built} (seed {args.seed})")
    return 0


if __name__ == "__main__":
    sys.exit(main())

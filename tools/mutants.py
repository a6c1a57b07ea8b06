#!/usr/bin/env python3
"""Slips a reviewer would make, tried one at a time: which ones do the fast tests miss?

For each C++ file named (or, without names, each one that `git diff BASE` changes) it
makes the plausible slips of one token: a comparison moved by one (< and <=, > and >=),
a "+ 1" or "- 1" dropped or turned around, an integer constant off by one, one operand
of an && or || dropped, two plain arguments of a call swapped. Each slip is applied
alone in a worktree of its own (the checkout is never touched), the program and the
tests are built there, and the fast tests run: the unit tests, the corpus, the
consistency tests and the check's. A slip that does not build is not counted. The
survivors are listed with their place, and the counts per room.

Usage, from the project's root:
  tools/mutants.py [--base REF] [--limit N] [--sample N [--seed S]] [--tests REGEX] [FILE...]
It takes a while: a build and a test run a slip (about half a minute here). For rooms
too large to try whole, --sample N tries N slips of each room drawn at random (the
same ones for the same seed), which estimates each room's share caught.
"""
import argparse
import collections
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

# The unit tests, then the process tests that read the report's outputs and the check's.
FAST_TESTS = [["-E", r"^e2e\."], ["-R", r"^e2e\.(report_corpus|report_consistency|check)_test$"]]


def code_part(line):
    """The line without its comment and with its string and character literals blanked,
    so that no slip lands in words."""
    out, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            out.append(" " if c != quote else c)
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


COMPARISONS = [(" < ", " <= "), (" <= ", " < "), (" > ", " >= "), (" >= ", " > ")]
PLUS_MINUS = [(" + 1", ""), (" - 1", ""), (" + 1", " - 1"), (" - 1", " + 1")]
NUMBER = re.compile(r"(?<![\w.])([2-9]|[1-9]\d+)(?![\w.])")
ARGUMENT_PAIR = re.compile(r"(?:(?<=[(,] )|(?<=[(]))([A-Za-z_][\w.]*), ([A-Za-z_][\w.]*)(?=[,)])")
CONDITION = re.compile(r"\b(if|while) \(")


def split_top(condition, operator):
    """The operands of `condition` at its top level of parentheses, split by `operator`."""
    parts, depth, start, i = [], 0, 0, 0
    while i < len(condition):
        c = condition[i]
        depth += c == "("
        depth -= c == ")"
        if depth == 0 and condition.startswith(operator, i):
            parts.append((start, i))
            start = i + len(operator)
            i = start
            continue
        i += 1
    parts.append((start, len(condition)))
    return parts


def slips_of_line(line):
    """(description, new line) for each slip of one line."""
    code = code_part(line)
    stripped = code.strip()
    if not stripped or stripped.startswith(("#", "//", "*", "/*")) or "static_assert" in code:
        return
    for old, new in COMPARISONS + PLUS_MINUS:
        for m in re.finditer(re.escape(old), code):
            if old.strip() in "<>" and ("<<" in code[m.start() - 1:m.end() + 1]
                                        or ">>" in code[m.start() - 1:m.end() + 1]):
                continue
            if old in (" + 1", " - 1") and code[m.end():m.end() + 1].isalnum():
                continue
            yield (f"'{old.strip()}' -> '{new.strip() or 'nothing'}'",
                   line[:m.start()] + new + line[m.end():])
    for m in NUMBER.finditer(code):
        value = int(m.group(1))
        yield (f"{value} -> {value + 1}", line[:m.start()] + str(value + 1) + line[m.end():])
    for m in ARGUMENT_PAIR.finditer(code):
        if m.group(1) != m.group(2):
            yield (f"arguments {m.group(1)}, {m.group(2)} swapped",
                   line[:m.start(1)] + m.group(2) + ", " + m.group(1) + line[m.end(2):])
    m = CONDITION.search(code)
    if m:
        offset, depth, end = m.end(), 1, m.end()
        while end < len(code) and depth:
            depth += (code[end] == "(") - (code[end] == ")")
            end += 1
        condition = code[offset:end - 1]
        for operator in (" && ", " || "):
            parts = split_top(condition, operator)
            if len(parts) < 2:
                continue
            for k, (a, b) in enumerate(parts):
                kept = [condition[x:y] for j, (x, y) in enumerate(parts) if j != k]
                yield (f"operand '{condition[a:b].strip()}' of {operator.strip()} dropped",
                       line[:offset] + operator.join(kept) + line[offset + len(condition):])


def slips_of_file(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for number, line in enumerate(lines, 1):
        for description, new in slips_of_line(line):
            if new != line:
                yield number, description, lines[:number - 1] + [new] + lines[number:]


def room(path):
    parts = path.split("/")
    return "/".join(parts[:2]) if parts[0] == "report" and len(parts) > 2 else parts[0]


def run(command, cwd, timeout):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def tests_pass(build, selections):
    """Whether every selection of tests runs and passes (none found is a failure)."""
    # A slip that makes a test loop is caught by the test's time-out.
    return all(run(["ctest", "--test-dir", build, "-j2", "--no-tests=error", "--timeout", "120"]
                   + selection, build, 900) == 0 for selection in selections)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("files", nargs="*")
    parser.add_argument("--base", default="main", help="without FILEs: the change from here")
    parser.add_argument("--limit", type=int, default=0, help="at most this many slips a file")
    parser.add_argument("--sample", type=int, default=0, help="only this many slips a room, drawn at random")
    parser.add_argument("--seed", type=int, default=1, help="the draw's seed")
    parser.add_argument("--tests", help="the ctest names to run (a regex) instead of the fast tests")
    args = parser.parse_args()
    root = subprocess.check_output(["git", "rev-parse", "--show-toplevel"], text=True).strip()
    files = args.files or subprocess.check_output(
        ["git", "diff", "--name-only", args.base, "--", "*.cpp", "*.h"], cwd=root, text=True).split()
    files = [f for f in files if not f.startswith("tests/") and os.path.exists(os.path.join(root, f))]
    if not files:
        sys.exit("mutants: no C++ file of the program to try")

    work = tempfile.mkdtemp(prefix="pinglog-mutants.")
    tree = os.path.join(work, "tree")
    subprocess.check_call(["git", "worktree", "add", "--detach", "-q", tree, "HEAD"], cwd=root)
    for f in files:  # the files as they stand now, committed or not
        shutil.copyfile(os.path.join(root, f), os.path.join(tree, f))
    build = os.path.join(work, "build")
    try:
        if run(["cmake", "-S", tree, "-B", build, "-G", "Ninja", "-DPINGLOG_REQUIRE_TESTS=ON"],
               root, 600) or run(["cmake", "--build", build], root, 1800):
            sys.exit("mutants: the unchanged tree does not build")
        selections = [["-R", args.tests]] if args.tests else FAST_TESTS
        if not tests_pass(build, selections):
            sys.exit("mutants: the fast tests fail without any slip")
        tally = collections.defaultdict(lambda: [0, 0])
        survivors = []
        chosen = [(f, slip) for f in files
                  for slip in list(slips_of_file(os.path.join(tree, f)))[:args.limit or None]]
        if args.sample:
            draw, picked = random.Random(args.seed), set()
            for name in sorted({room(f) for f, _ in chosen}):
                in_room = [i for i, (f, _) in enumerate(chosen) if room(f) == name]
                picked.update(draw.sample(in_room, min(args.sample, len(in_room))))
            chosen = [c for i, c in enumerate(chosen) if i in picked]
        for f in files:
            target = os.path.join(tree, f)
            with open(target, encoding="utf-8") as original:
                kept = original.read()
            for number, description, lines in (slip for g, slip in chosen if g == f):
                with open(target, "w", encoding="utf-8") as mutated:
                    mutated.write("\n".join(lines))
                if run(["cmake", "--build", build], root, 900) != 0:
                    verdict = "does not build"
                elif not tests_pass(build, selections):
                    verdict = "caught"
                    tally[room(f)][0] += 1
                else:
                    verdict = "SURVIVED"
                    tally[room(f)][1] += 1
                    survivors.append(f"{f}:{number}: {description}")
                print(f"{verdict:>14}  {f}:{number}: {description}", flush=True)
            with open(target, "w", encoding="utf-8") as restored:
                restored.write(kept)
        run(["cmake", "--build", build], root, 1800)
        print("\nroom: caught of slips that build")
        for name, (caught, survived) in sorted(tally.items()):
            total = caught + survived
            print(f"  {name}: {caught} of {total} ({100 * caught // max(total, 1)} %)")
        if survivors:
            print("\nsurvivors (a test row should catch each, or it is an equivalent slip):")
            for line in survivors:
                print("  " + line)
    finally:
        subprocess.call(["git", "worktree", "remove", "--force", tree], cwd=root)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

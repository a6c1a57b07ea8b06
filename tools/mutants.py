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
It takes a while: a build and a test run a slip (a few seconds here, two side by side). For rooms
too large to try whole, --sample N tries N slips of each room drawn at random (the
same ones for the same seed), which estimates each room's share caught.
"""
import argparse
import collections
import hashlib
import json
import os
import random
import resource
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
from queue import Empty, Queue

# The unit tests, then the process tests that read the report's outputs and the check's,
# and a room's own where its behaviour shows only in a process (the follower's rounds,
# signals and textfile).
FAST_PROCESS_TESTS = ["report_corpus", "report_consistency", "check"]
ROOM_PROCESS_TESTS = {"report/live": ["follower"]}

# Set by Ctrl-C or SIGTERM: the workers stop after the slip under way, whose verdict is
# not kept (its build or tests may have been interrupted, which is no verdict at all).
STOPPING = threading.Event()


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
            yield (f"'{old.strip()}' -> '{new.strip() or 'nothing'}' at column {m.start() + 1}",
                   line[:m.start()] + new + line[m.end():])
    for m in NUMBER.finditer(code):
        value = int(m.group(1))
        yield (f"{value} -> {value + 1} at column {m.start() + 1}", line[:m.start()] + str(value + 1) + line[m.end():])
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
                # The operands as written (the code's blanked literals only find them).
                kept = [line[offset + x:offset + y] for j, (x, y) in enumerate(parts) if j != k]
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


def limit_memory():
    # A slip that makes a loop grow without end fails at 4 GB, not with the machine, and
    # one that writes without end stops at a file of 1 GB rather than filling the disk.
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))
    resource.setrlimit(resource.RLIMIT_FSIZE, (1 << 30, 1 << 30))


def run(command, cwd, timeout, limited=False):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout,
                              preexec_fn=limit_memory if limited else None).returncode
    except subprocess.TimeoutExpired:
        return -1


def tests_pass(build, tests, own=()):
    """Whether the tests run and pass, stopping at the first that fails: the unit tests
    in one process (as fast as they go), then the process tests, or the named ones."""
    if tests:
        return run(["ctest", "--test-dir", build, "-j2", "--no-tests=error", "--timeout", "120",
                    "--stop-on-failure", "-R", tests], build, 900, True) == 0
    # They take a second or two, so a minute's time-out is only ever a slip's loop.
    unit = os.path.join(build, "tests", "pinglog_tests")
    process = FAST_PROCESS_TESTS + list(own)
    return (run([unit, "--gtest_fail_fast", "--gtest_brief=1"], build, 60, True) == 0
            and run(["ctest", "--test-dir", build, "-j2", "--no-tests=error", "--timeout", "60",
                     "--stop-on-failure", "-R", r"^e2e\.(" + "|".join(process) + r")_test$"],
                    build, 300, True) == 0)


class Ledger:
    """Verdicts kept between runs, by the file's content, the line and the slip: a slip
    caught (or that does not build) stays so while its file is unchanged, since tests
    are only ever added; a survivor is tried again. A survivor that changes nothing a
    user could see is marked by hand: its verdict made "equivalent: " and the reason.
    It is kept too, and counted apart."""

    KEPT = ("caught", "does not build", "equivalent", "not built here")

    def __init__(self, path):
        self.path, self.verdicts = path, {}
        if path and os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                for row in f:
                    digest, name, number, description, verdict = row.rstrip("\n").split("\t")
                    self.verdicts[(digest, name, number, description)] = verdict
        self.lock = threading.Lock()

    def known(self, key):
        verdict = self.verdicts.get(key)
        return verdict if verdict and verdict.split(":")[0] in self.KEPT else None

    def record(self, key, verdict):
        with self.lock:
            self.verdicts[key] = verdict
            if self.path:
                with open(self.path, "w", encoding="utf-8") as f:
                    for k, v in sorted(self.verdicts.items(), key=lambda kv: (kv[0][1], int(kv[0][2]), kv[0][3])):
                        f.write("\t".join(k + (v,)) + "\n")


def make_worker(root, work, index, files):
    """A worktree of HEAD with the files as they stand now, and its build. Every worker's
    tree and build sit alike in a folder of their own, so that ccache, where the machine
    has it, compiles each file once for all of them. Unoptimised: a slip's build is what
    takes the time, not its tests. The standard library checks its indexes
    (_GLIBCXX_ASSERTIONS), so that a slip that reads or writes past the end of an array
    or a vector aborts the tests rather than passing unseen."""
    tree, build = (os.path.join(work, str(index), name) for name in ("tree", "build"))
    subprocess.check_call(["git", "worktree", "add", "--detach", "-q", tree, "HEAD"], cwd=root)
    for f in files:  # the files as they stand now, committed or not
        shutil.copyfile(os.path.join(root, f), os.path.join(tree, f))
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    if run(["cmake", "-S", tree, "-B", build, "-G", "Ninja", "-DPINGLOG_REQUIRE_TESTS=ON",
            "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS",
            "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"] + launcher,
           root, 600) or run(["cmake", "--build", build], root, 3600):
        sys.exit("mutants: the unchanged tree does not build")
    return tree, build


def compiled_here(worker):
    """The source files the worker's build compiles, by their path in its tree."""
    tree, build = worker
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as commands:
        compiled = {os.path.realpath(c["file"]) for c in json.load(commands)}
    return {os.path.relpath(path, os.path.realpath(tree)) for path in compiled}


def try_slips(tree, build, queue, tests, ledger, report):
    """Each slip alone in this worker's tree: build, test, restore. A file's slips are
    tried by one worker, so that each build recompiles that file only."""
    while True:
        try:
            slips = queue.get_nowait()
        except Empty:
            return
        for f, digest, (number, description, lines) in slips:
            if STOPPING.is_set():
                return
            key = (digest, f, str(number), description)
            verdict = ledger.known(key)
            if verdict is None:
                verdict = try_one(tree, build, f, lines, tests)
                if STOPPING.is_set():
                    return
                ledger.record(key, verdict)
            report(f, number, description, verdict)


def try_one(tree, build, f, lines, tests):
    target = os.path.join(tree, f)
    with open(target, encoding="utf-8") as original:
        kept = original.read()
    with open(target, "w", encoding="utf-8") as mutated:
        mutated.write("\n".join(lines))
    if run(["cmake", "--build", build, "-j1"], build, 900) != 0:
        verdict = "does not build"
    elif not tests_pass(build, tests, ROOM_PROCESS_TESTS.get(room(f), [])):
        verdict = "caught"
    else:
        verdict = "SURVIVED"
    with open(target, "w", encoding="utf-8") as restored:
        restored.write(kept)
    return verdict


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("files", nargs="*")
    parser.add_argument("--base", default="main", help="without FILEs: the change from here")
    parser.add_argument("--limit", type=int, default=0, help="at most this many slips a file")
    parser.add_argument("--sample", type=int, default=0, help="only this many slips a room, drawn at random")
    parser.add_argument("--seed", type=int, default=1, help="the draw's seed")
    parser.add_argument("--tests", help="the ctest names to run (a regex) instead of the fast tests")
    parser.add_argument("--jobs", type=int, default=2, help="slips tried side by side")
    parser.add_argument("--ledger", help="a file of verdicts to reuse and add to")
    args = parser.parse_args()
    root = subprocess.check_output(["git", "rev-parse", "--show-toplevel"], text=True).strip()
    files = args.files or subprocess.check_output(
        ["git", "diff", "--name-only", args.base, "--", "*.cpp", "*.h"], cwd=root, text=True).split()
    files = [f for f in files if not f.startswith("tests/") and os.path.exists(os.path.join(root, f))]
    if not files:
        sys.exit("mutants: no C++ file of the program to try")
    ledger = Ledger(args.ledger and os.path.abspath(args.ledger))

    chosen = []
    for f in files:
        with open(os.path.join(root, f), "rb") as text:
            digest = hashlib.sha1(text.read()).hexdigest()[:12]
        slips = list(slips_of_file(os.path.join(root, f)))[:args.limit or None]
        chosen += [(f, digest, slip) for slip in slips]
    if args.sample:
        draw, picked = random.Random(args.seed), set()
        for name in sorted({room(f) for f, _, _ in chosen}):
            in_room = [i for i, (f, _, _) in enumerate(chosen) if room(f) == name]
            picked.update(draw.sample(in_room, min(args.sample, len(in_room))))
        chosen = [c for i, c in enumerate(chosen) if i in picked]
    to_try = [c for c in chosen if ledger.known((c[1], c[0], str(c[2][0]), c[2][1])) is None]
    jobs = max(1, min(args.jobs, len(to_try)))
    print(f"{len(chosen)} slips, {len(chosen) - len(to_try)} known from the ledger", flush=True)

    tally = collections.defaultdict(lambda: [0, 0, 0])  # caught, survived, equivalent
    survivors, lock = [], threading.Lock()

    def report(f, number, description, verdict):
        with lock:
            if verdict == "caught":
                tally[room(f)][0] += 1
            elif verdict == "SURVIVED":
                tally[room(f)][1] += 1
                survivors.append(f"{f}:{number}: {description}")
            elif verdict.startswith("equivalent"):
                tally[room(f)][2] += 1
            print(f"{verdict.split(':')[0]:>14}  {f}:{number}: {description}", flush=True)

    work = tempfile.mkdtemp(prefix="pinglog-mutants.")
    try:
        os.environ.setdefault("CCACHE_BASEDIR", work)
        os.environ.setdefault("CCACHE_NOHASHDIR", "1")
        workers = [make_worker(root, work, 0, files)] if to_try else []
        workers += [make_worker(root, work, i, files) for i in range(1, jobs if to_try else 0)]
        every_own = [name for names in ROOM_PROCESS_TESTS.values() for name in names]
        if workers and not tests_pass(workers[0][1], args.tests, every_own):
            sys.exit("mutants: the fast tests fail without any slip")
        # A source file of another system's build (the Windows zone rules) is compiled
        # by none of these builds: its slips are not tried, and not counted.
        compiled = compiled_here(workers[0]) if workers else set()
        elsewhere = [f for f in files if workers and f.endswith(".cpp") and f not in compiled]
        for c in [c for c in chosen if c[0] in elsewhere]:
            ledger.record((c[1], c[0], str(c[2][0]), c[2][1]), "not built here")
            report(c[0], c[2][0], c[2][1], "not built here")
        files = [f for f in files if f not in elsewhere]
        # Each file's slips stay with one worker, so that each build recompiles one file.
        queue = Queue()
        for f in files:
            queue.put([c for c in chosen if c[0] == f])
        def stop(number, frame):
            STOPPING.set()
            print("mutants: stopping after the slips under way, without their verdicts", flush=True)
        signal.signal(signal.SIGINT, stop)
        signal.signal(signal.SIGTERM, stop)
        threads = [threading.Thread(target=try_slips, args=(tree, build, queue, args.tests, ledger, report))
                   for tree, build in workers]
        for t in threads:
            t.start()
        for t in threads:
            while t.is_alive():
                t.join(1)  # in short waits, so that a signal is handled at once
        for c in chosen if not workers else []:
            report(c[0], c[2][0], c[2][1], ledger.known((c[1], c[0], str(c[2][0]), c[2][1])))
        print("\nroom: caught of slips that build, those argued equivalent set apart")
        for name, (caught, survived, equivalent) in sorted(tally.items()):
            total = caught + survived
            print(f"  {name}: {caught} of {total} ({100 * caught // max(total, 1)} %)"
                  f", {equivalent} equivalent")
        if survivors:
            print("\nsurvivors (a test row should catch each, or it is an equivalent slip):")
            for line in sorted(survivors):
                print("  " + line)
    finally:
        for i in range(jobs):
            subprocess.call(["git", "worktree", "remove", "--force", os.path.join(work, str(i), "tree")],
                            cwd=root, stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

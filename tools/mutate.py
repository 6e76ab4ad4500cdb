#!/usr/bin/env python3
# Mutation pass: tools/mutate.py SOURCE_TREE RESULTS_FILE [MUTANT_ID...]
# Applies each mutant of tools/mutants.txt in turn to a scratch copy of
# SOURCE_TREE (under build-mutate/, or $MUTATE_WORK), runs that tree's tests and
# writes one line per mutant to RESULTS_FILE: id and outcome (the last test
# run's output is kept in logs/ there).
# Outcomes: killed-fast (unit and scenario tests), killed-asan (the same tests
# under AddressSanitizer, for the mutants marked asan: leaks), killed-e2e
# (end-to-end tests under Xvfb, for what the others miss), survived,
# no-compile, bad-entry (original text missing or not unique); while the pass
# runs also pending and survived-fast (end-to-end tests still to come).
# A test run past its time limit is killed with SIGKILL and counts as killed.
import hashlib
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

TOOLS = Path(__file__).resolve().parent
# A test must fail in every try to count: the end-to-end tests poll the screen
# against deadlines, which a busy machine can miss, so they run one at a time.
STAGES = [  # build folder, cmake options, ctest options
    ("fast", "release", ["-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
     ["-LE", "e2e", "-j2", "--repeat", "until-pass:2"]),
    ("asan", "asan", ["-DCMAKE_BUILD_TYPE=Debug", "-DHELI_SANITIZE=ON"],
     ["-LE", "e2e", "-j2", "--repeat", "until-pass:2"]),
    ("e2e", "release", ["-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
     ["-L", "e2e", "-j1", "--repeat", "until-pass:3"]),
]


def unescape(field):
    return re.sub(r"\\(n|\\)", lambda m: "\n" if m.group(1) == "n" else "\\", field)


def read_mutants():
    mutants = []
    for line in (TOOLS / "mutants.txt").read_text().splitlines():
        if line.strip() and not line.startswith("#"):
            ident, path, original, replacement, fault, *builds = line.split("\t")
            mutants.append((ident, path, unescape(original), unescape(replacement), fault,
                            "asan" in builds))
    return mutants


def sync_tree(source, tree):
    """Copies the checkout, rewriting only files that differ, so that the
    build folders stay incremental across runs."""
    wanted = set()
    for path in source.rglob("*"):
        rel = path.relative_to(source)
        if rel.parts[0] == ".git" or rel.parts[0].startswith("build") or not path.is_file():
            continue
        wanted.add(rel)
        target = tree / rel
        if not target.exists() or target.read_bytes() != path.read_bytes():
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(path.read_bytes())
    for path in tree.rglob("*"):
        if path.is_file() and path.relative_to(tree) not in wanted:
            path.unlink()


def run(command, cwd, limit):
    """Runs a command in its own process group; the whole group gets SIGKILL
    at the limit (the game takes SIGTERM as a mere quit request)."""
    with open(cwd / "last-run.log", "w") as log:
        process = subprocess.Popen(command, cwd=cwd, stdout=log, stderr=subprocess.STDOUT,
                                   start_new_session=True)
        try:
            return process.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return "timeout"


def build(work, tree, folder, options):
    path = work / folder
    if not (path / "CMakeCache.txt").exists():
        path.mkdir(parents=True, exist_ok=True)
        if run(["cmake", "-S", str(tree), "-B", str(path)] + options, path, 600) != 0:
            return False
    return run(["cmake", "--build", str(path), "-j2"], path, 900) == 0


def test(work, folder, options, limit):
    return run(["ctest", "--stop-on-failure", "--no-tests=error", "--output-on-failure"] + options,
               work / folder, limit)


def outcome(work, tree, limits, stages, log):
    for stage, folder, build_options, test_options in stages:
        if not build(work, tree, folder, build_options):
            return "no-compile"
        status = test(work, folder, test_options, limits[stage])
        (work / folder / "last-run.log").replace(log)  # which test failed, and how
        if status == "timeout":
            return f"killed-{stage}-timeout"
        if status != 0:
            return "killed-" + stage
    return "survived"


def write_results(results, outcomes):
    results.write_text("".join(f"{ident}\t{result}\n" for ident, result in outcomes.items()))


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: tools/mutate.py SOURCE_TREE RESULTS_FILE [MUTANT_ID...]")
    os.nice(15)  # the machine is shared
    source = Path(sys.argv[1]).resolve()
    results = Path(sys.argv[2]).resolve()
    chosen = set(sys.argv[3:])
    key = hashlib.sha1(str(source).encode()).hexdigest()[:8]
    work = Path(os.environ.get("MUTATE_WORK", TOOLS.parent / "build-mutate")).resolve() / key
    tree = work / "tree"
    tree.mkdir(parents=True, exist_ok=True)
    (work / "logs").mkdir(exist_ok=True)
    sync_tree(source, tree)

    # The unmutated tree must pass every stage; its times set the limits.
    limits = {}
    for stage, folder, build_options, test_options in STAGES:
        if not build(work, tree, folder, build_options):
            sys.exit(f"the unmutated tree does not build ({stage}): see {work / folder}")
        started = time.monotonic()
        if test(work, folder, test_options, 900) != 0:
            sys.exit(f"the unmutated tree fails its {stage} tests: see {work / folder}")
        limits[stage] = max(60, 4 * (time.monotonic() - started))
    print("time limits (s):", {stage: round(limit) for stage, limit in limits.items()}, flush=True)

    # First every mutant against the fast tests (and the sanitizer build for
    # leaks), then the slow end-to-end tests for what those left alive.
    mutants = [m for m in read_mutants() if not chosen or m[0] in chosen]
    outcomes = {m[0]: "pending" for m in mutants}
    for round_stages, alive in ((["fast", "asan"], "survived-fast"), (["e2e"], "survived")):
        for ident, path, original, replacement, fault, sanitize in mutants:
            if outcomes[ident] not in ("pending", "survived-fast"):
                continue
            stages = [s for s in STAGES if s[0] in round_stages and (sanitize or s[0] != "asan")]
            started = time.monotonic()
            file = tree / path
            text = file.read_text() if file.exists() else ""
            if text.count(original) != 1:
                outcomes[ident] = "bad-entry"
            else:
                file.write_text(text.replace(original, replacement))
                try:
                    result = outcome(work, tree, limits, stages, work / "logs" / ident)
                finally:
                    file.write_text(text)  # a fresh time stamp: rebuilt next time
                outcomes[ident] = alive if result == "survived" else result
            write_results(results, outcomes)
            print(f"{ident:8} {outcomes[ident]:20} {time.monotonic() - started:4.0f} s  {fault}",
                  flush=True)

    totals = {}
    for result in outcomes.values():
        totals[result] = totals.get(result, 0) + 1
    killed = sum(count for result, count in totals.items() if result.startswith("killed"))
    print(f"{len(outcomes)} mutants: {killed} killed,",
          ", ".join(f"{count} {result}" for result, count in sorted(totals.items())))


if __name__ == "__main__":
    main()

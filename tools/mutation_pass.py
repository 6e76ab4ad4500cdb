#!/usr/bin/env python3
# Generated mutation pass. The mutants come from the code, not from a list:
#   tools/mutation_pass.py list                 every mutant: id, place, change
#   tools/mutation_pass.py run RESULTS [ID...]  builds and tests each one, named ones in their order
#   tools/mutation_pass.py hand RESULTS [ID...] the same for tools/mutants.txt
#   tools/mutation_pass.py score RESULTS        counts a results file again
# In the game library's sources (src/missions, src/framework, without the
# platform seam, which the unit tests do not link) it writes:
#   - for every list of statements in a function body (a frame is one, and so
#     is every block of steps): each swap of two neighbours, each deletion of
#     one (a function's closing return is not a step) and each move of one
#     step two or more places earlier or later (a frame reordered by hand);
#   - for every loop over a fixed set (a `for` counting from 0 to a named
#     constant or a std::size, or a range-for over an array): the loop run for
#     the first item only and for the last item only;
#   - for every integer literal: the value plus one and minus one;
#   - for every <, <=, >, >=: strict against non-strict.
# Each mutant is built into tests/heli_tests of a persistent build folder
# (only the mutated file and the link are redone) and heli_tests runs
# directly, the child-process suites only for the files that load data.
# Mutants that do not build are counted and dropped. tools/mutants-equivalent.txt
# names the mutants that change nothing a player or a rule can see.
import multiprocessing
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from mutate import read_mutants, run, sync_tree  # noqa: E402

TOOLS = Path(__file__).resolve().parent
ROOT = TOOLS.parent
# The tree whose tests are measured: this checkout unless MUTATE_SOURCE names another.
SOURCE = Path(os.environ.get("MUTATE_SOURCE", ROOT)).resolve()
SEAM = {"platform_sdl.cpp", "platform_scripted.cpp", "process.cpp", "platform.h",
        "platform_scripted.h", "process.h",
        # the web build's own, which heli_tests does not link either
        "platform_web.cpp", "process_web.cpp", "font_freetype.cpp"}
# The suites that start child processes: the menu's and the start-up's (a
# second) run for every mutant the others leave alive, the damaged data's
# (a minute under the sanitizers) only for the files that load data.
MENU_SUITES = "Keys/Menu*:StartUp*"
SLOW_SUITES = "Files/DamagedData*"
LOADING = {"bitmap_header.cpp", "data_file.cpp", "sprites.cpp", "text.cpp", "mission_art.cpp",
           "display.cpp", "fatal.cpp", "bitmap_header.h", "data_file.h", "sprites.h", "text.h",
           "display.h", "mission_art.h"}

TOKEN = re.compile(r"""
    (?P<space>\s+) | (?P<comment>//[^\n]*|/\*.*?\*/) | (?P<preproc>\#[^\n]*)
  | (?P<string>"(?:\\.|[^"\\])*") | (?P<char>'(?:\\.|[^'\\])*')
  | (?P<number>\d[\w.']*) | (?P<ident>[A-Za-z_]\w*)
  | (?P<punct>->|<<=?|>>=?|<=|>=|==|!=|&&|\|\||::|\+\+|--|[-+*/%&|^!=<>]=?|.)
""", re.X | re.S)


def tokens(text):
    found = []
    for match in TOKEN.finditer(text):
        kind = match.lastgroup
        if kind not in ("space", "comment"):
            found.append((kind, match.group(), match.start(), match.end()))
    return found


def matching(toks, i):
    """Index of the bracket that closes the one at i."""
    pairs = {"(": ")", "[": "]", "{": "}"}
    depth = 0
    for j in range(i, len(toks)):
        if toks[j][1] in pairs:
            depth += 1
        elif toks[j][1] in pairs.values():
            depth -= 1
            if depth == 0:
                return j
    raise ValueError("unbalanced brackets")


def statement(toks, i, lists):
    """Index after the statement at i; blocks met inside go to lists."""
    word = toks[i][1]
    if word == "{":
        end = matching(toks, i)
        block(toks, i + 1, end, lists)
        return end + 1
    if word in ("if", "for", "while", "switch"):
        after = statement(toks, matching(toks, i + 1) + 1, lists)
        if word == "if" and after < len(toks) and toks[after][1] == "else":
            after = statement(toks, after + 1, lists)
        return after
    while toks[i][1] != ";":
        i = matching(toks, i) + 1 if toks[i][1] in "([{" and toks[i][0] == "punct" else i + 1
    return i + 1


def block(toks, start, end, lists):
    steps = []
    i = start
    while i < end:
        after = statement(toks, i, lists)
        steps.append((i, after - 1))
        i = after
    if len(steps) >= 2:
        lists.append(steps)
    return steps


def functions(toks):
    """(name, first, last) token indices of every function body's braces."""
    bodies = []
    i = 0
    while i < len(toks):
        if toks[i][1] == "{" and i > 0:
            back = i - 1
            while toks[back][1] in ("const", "noexcept", "override"):
                back -= 1
            if toks[back][1] == ")":
                depth, j = 0, back
                while True:  # back to the parameter list's opening bracket
                    depth += {")": 1, "(": -1}.get(toks[j][1], 0)
                    if depth == 0:
                        break
                    j -= 1
                end = matching(toks, i)
                bodies.append((toks[j - 1][1], i, end))
                i = end
            elif toks[back][1] in ("namespace",) or toks[back - 1][1] == "namespace":
                pass  # a namespace's body is scanned further
            else:
                i = matching(toks, i)  # a struct or an initializer: no statements
        i += 1
    return bodies


def scope_of(toks, i, bodies):
    for name, first, last in bodies:
        if first <= i <= last:
            return name
    # A declaration outside functions: named by what it declares.
    depth, j = 0, i
    while j > 0:
        word = toks[j - 1][1]
        if word == "}" and depth == 0 and toks[j][1] not in (";", ",", "}"):
            break  # the end of the previous function's body
        if word == "}":
            depth += 1
        elif word == "{" and depth:
            depth -= 1
        elif depth == 0 and word in (";", "{"):
            opener = {toks[j - 2][1], toks[j - 3][1]}
            if word == ";" or opener & {"namespace", "struct", "enum"}:
                break
        j -= 1
    for k in range(j, i):
        if toks[k][1] in ("=", "{", "[", "(") and k > j and toks[k - 1][0] == "ident":
            return toks[k - 1][1]
    return "file"


def named_constants(tree):
    """The names a loop bound may be declared as: constants and enumerators."""
    names = set()
    for folder in ("src/missions", "src/framework"):
        for path in (tree / folder).glob("*.[ch]*"):
            text = path.read_text()
            names.update(re.findall(r"\bconstexpr\s+(?:static\s+)?[\w:]+\s+(\w+)\s*=", text))
            for body in re.findall(r"\benum\b[^{;]*\{([^}]*)\}", text):
                names.update(re.findall(r"([A-Za-z_]\w*)\s*(?:=[^,]*)?(?:,|$)", body))
    return names


def loops(toks, text, first, last, constants):
    """(place, what, first-only and last-only edits as (start, end, text) lists) of
    every loop over a fixed set between the tokens first and last."""
    found = []
    for i in range(first, last):
        if toks[i][1] != "for" or toks[i + 1][1] != "(":
            continue
        close = matching(toks, i + 1)
        header = toks[i + 2:close]
        words = [t[1] for t in header]
        colon = [k for k, t in enumerate(header) if t[1] == ":"]
        if colon and all(w != ";" for w in words):
            # Range-for over a set named by a path of names: the body left after
            # the first item; for an array, the body once with the loop
            # variable bound to the last item (anything else does not build).
            range_toks = header[colon[0] + 1:]
            if not all(t[0] == "ident" or t[1] in (".", "->", "::") for t in range_toks):
                continue
            declaration = text[header[0][2]:header[colon[0] - 1][3]]
            items = text[range_toks[0][2]:range_toks[-1][3]]
            end = toks[statement(toks, close + 1, []) - 1][3]
            body = text[toks[close + 1][2]:end]
            last_item = f"{items}[sizeof {items} / sizeof *{items} - 1]"
            found.append((toks[i][2], text[toks[i][2]:toks[close][3]],
                          [(toks[close + 1][2], end, f"{{ {body} break; }}")],
                          [(toks[i][2], end, f"{{ {declaration} = {last_item}; {body} }}")]))
            continue
        # for (int n = 0; n < BOUND; ++n): BOUND a named constant or a std::size.
        semis = [k for k, w in enumerate(words) if w == ";"]
        if len(semis) != 2 or words[semis[0] - 1] != "0" or words[semis[0] - 2] != "=":
            continue
        variable = words[semis[0] - 3]
        condition = header[semis[0] + 1:semis[1]]
        if len(condition) < 3 or condition[0][1] != variable or condition[1][1] != "<":
            continue
        bound = text[condition[2][2]:condition[-1][3]]
        if not (bound in constants or "std::size" in bound):
            continue
        zero = header[semis[0] - 1]
        found.append((toks[i][2], text[toks[i][2]:toks[close][3]],
                      [(condition[2][2], condition[-1][3], "1")],
                      [(zero[2], zero[3], f"{bound} - 1")]))
    return found


def edited(text, edits):
    """The stretch of text the edits cover, from the first one's start, with the edits made."""
    start, end = edits[0][0], edits[-1][1]
    pieces, at = [], start
    for a, b, replacement in edits:
        pieces += [text[at:a], replacement]
        at = b
    return start, end, "".join(pieces)


def file_mutants(path, text, constants=frozenset()):
    toks = tokens(text)
    line = lambda offset: text.count("\n", 0, offset) + 1
    bodies = functions(toks)
    mutants = []  # (id, offset, end, replacement, description)
    counts = {}

    def add(scope, kind, first, last, replacement, what, suffix=""):
        key = (scope, kind)
        if not suffix or suffix in ("+1", "first"):
            counts[key] = counts.get(key, 0) + 1
        ident = f"{path.name}.{scope}.{kind}{counts[key]}{suffix}"
        column = first - text.rfind("\n", 0, first)
        mutants.append((ident, first, last, replacement, f"{path}:{line(first)}:{column}: {what}"))

    for name, first, last in bodies:
        lists = []
        block(toks, first + 1, last, lists)
        for steps in lists:
            for n, (a, b) in enumerate(steps):
                start, end = toks[a][2], toks[b][3]
                source = text[start:end]
                closing = steps is lists[-1] and n == len(steps) - 1 and toks[a][1] == "return"
                if not closing:
                    add(name, "del", start, end, "", f"delete `{short(source)}`")
                if n + 1 < len(steps):
                    nxt = steps[n + 1]
                    other = text[toks[nxt[0]][2]:toks[nxt[1]][3]]
                    between = text[end:toks[nxt[0]][2]]
                    add(name, "swap", start, toks[nxt[1]][3], other + between + source,
                        f"swap `{short(source)}` and `{short(other)}`")
            for n, m, replacement in moves(text, toks, steps):
                source = text[toks[steps[n][0]][2]:toks[steps[n][1]][3]]
                other = text[toks[steps[m][0]][2]:toks[steps[m][1]][3]]
                start = toks[steps[min(n, m)][0]][2]
                add(name, "move", toks[steps[n][0]][2], toks[steps[n][1]][3], None,
                    f"move `{short(source)}` {'after' if m > n else 'before'} `{short(other)}`")
                mutants[-1] = mutants[-1][:1] + (start, toks[steps[max(n, m)][1]][3], replacement) + \
                    mutants[-1][4:]
        for place, head, first_only, last_only in loops(toks, text, first, last, constants):
            for suffix, edits in (("first", first_only), ("last", last_only)):
                start, end, replacement = edited(text, edits)
                add(name, "loop", place, place, None, f"`{short(head)}` for the {suffix} item only",
                    suffix)
                mutants[-1] = mutants[-1][:1] + (start, end, replacement) + mutants[-1][4:]
    flips = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
    for i, (kind, word, start, end) in enumerate(toks):
        if kind == "number" and re.fullmatch(r"\d+", word):
            for delta in (1, -1):
                add(scope_of(toks, i, bodies), "lit", start, end, str(int(word) + delta),
                    f"{word} -> {int(word) + delta}", f"{delta:+d}")
        elif kind == "punct" and word in flips:
            add(scope_of(toks, i, bodies), "cmp", start, end, flips[word],
                f"`{word}` -> `{flips[word]}` in `{short(context(text, start))}`")
    return mutants


def moves(text, toks, steps):
    """(from, to, the stretch's new text) for each move of one step two or more
    places; a move by one is a swap of neighbours."""
    for n in range(len(steps)):
        for m in range(len(steps)):
            if abs(n - m) < 2:
                continue
            lo, hi = min(n, m), max(n, m)
            stretch = [text[toks[a][2]:toks[b][3]] for a, b in steps[lo:hi + 1]]
            gaps = [text[toks[steps[k][1]][3]:toks[steps[k + 1][0]][2]] for k in range(lo, hi)]
            order = stretch[1:] + stretch[:1] if n < m else stretch[-1:] + stretch[:-1]
            yield n, m, "".join(piece + gap for piece, gap in zip(order, gaps + [""]))


def short(source):
    flat = " ".join(source.split())
    return flat if len(flat) <= 60 else flat[:57] + "..."


def context(text, offset):
    start = text.rfind("\n", 0, offset) + 1
    return text[start:text.find("\n", offset)]


def generated_mutants(tree=ROOT):
    mutants = []
    # The rules first, then the loading path, whose tests are slow, then the
    # headers, each of which rebuilds most of the game and the tests.
    paths = [path for folder in ("src/missions", "src/framework")
             for path in sorted((tree / folder).glob("*.[ch]*"))]
    constants = named_constants(tree)
    for path in sorted(paths, key=lambda p: (p.suffix == ".h", p.name in LOADING)):
        if path.name not in SEAM:
            rel = path.relative_to(tree)
            for ident, start, end, replacement, what in file_mutants(rel, path.read_text(), constants):
                mutants.append((ident, rel, start, end, replacement, what))
    return mutants


def hand_picked_mutants(tree):
    mutants = []
    for ident, rel, original, replacement, fault, _ in read_mutants():
        text = (tree / rel).read_text() if (tree / rel).exists() else ""
        start = text.find(original)
        if start < 0 or text.count(original) != 1:
            mutants.append((ident, Path(rel), -1, -1, replacement, fault))
        else:
            mutants.append((ident, Path(rel), start, start + len(original), replacement,
                            f"{rel}:{text.count(chr(10), 0, start) + 1}: {fault}"))
    return mutants


def equivalents():
    found = {}
    listed = TOOLS / "mutants-equivalent.txt"
    for line in listed.read_text().splitlines() if listed.exists() else []:
        if line.strip() and not line.startswith("#"):
            ident, reason = line.split("\t", 1)
            found[ident] = reason
    return found


# Build folders: every mutant is tried on the optimised build; one that it
# leaves alive on the one with AddressSanitizer and UndefinedBehaviorSanitizer
# (a write or read past an array's end changes nothing else a test can see).
# The optimised build leaves out debugging information: it only slows the links.
BUILDS = {"release": ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"],
          "sanitize": ["-DCMAKE_BUILD_TYPE=Debug", "-DHELI_SANITIZE=ON"]}
# Where the system's SDL 1.2 is the classic one, the test command unpacks
# sdl12-compat into the build tree; a mutant that both builds leave alive is
# tried on it too, since the two libraries differ in places (the video format
# SDL reports, the drivers it falls back to).
COMPAT = ROOT / "build" / "compat" / "sdl12-compat" / "root" / "usr"
COMPAT_LIBRARY = next(COMPAT.glob("lib/*/libSDL-1.2.so.0"), None)
if (COMPAT / "include" / "SDL" / "SDL.h").exists() and COMPAT_LIBRARY:
    BUILDS["compat"] = BUILDS["release"] + [f"-DHELI_SDL_ROOT={COMPAT}"]
# How much longer than the optimised build's tests each build's may take.
SLOWER = {"release": 1, "sanitize": 4, "compat": 1}
# Ninja finds the one changed file much faster than make does.
GENERATOR = ["-G", "Ninja"] if shutil.which("ninja") else []


def worker(work, mutants):
    """Builds and tests each mutant in its own copy of the tree; the outcomes."""
    tree = work / "tree"
    tree.mkdir(parents=True, exist_ok=True)
    sync_tree(SOURCE, tree)
    env = {kind: dict(os.environ, SDL_VIDEODRIVER="dummy") for kind in BUILDS}
    if "compat" in BUILDS:
        env["compat"]["LD_LIBRARY_PATH"] = os.pathsep.join(
            filter(None, [str(COMPAT_LIBRARY.parent), os.environ.get("LD_LIBRARY_PATH")]))
    equivalent = equivalents()

    def build_tests(kind):
        build = work / kind
        if not (build / "CMakeCache.txt").exists():
            run(["cmake", "-S", str(tree), "-B", str(build)] + GENERATOR + BUILDS[kind], work, 600)
        return run(["cmake", "--build", str(build), "-j2", "--target", "heli_tests"], work, 900) == 0

    def gtest(kind, limit, only):
        with open(work / "last-test.log", "w") as log:
            process = subprocess.Popen([str(work / kind / "tests" / "heli_tests"), "--gtest_brief=1",
                                        "--gtest_fail_fast", f"--gtest_filter={only}"], cwd=tree,
                                       env=env[kind],
                                       stdout=log, stderr=subprocess.STDOUT,
                                       start_new_session=True)
            try:
                return process.wait(timeout=limit)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, 9)
                process.wait()
                return "timeout"

    def test(kind, rel, limit):
        """The quick suites, then the menu's, then for the loading path the slow ones."""
        stages = [f"-{MENU_SUITES}:{SLOW_SUITES}", MENU_SUITES] + ([SLOW_SUITES] if rel.name in LOADING else [])
        for only in stages:
            status = gtest(kind, limit, only)
            if status != 0:
                return status
        return 0

    def outcome(ident, rel, limit):
        if not build_tests("release"):
            return "no-compile"
        for kind in BUILDS:
            if kind != "release" and ident in equivalent:
                break  # known to change nothing
            if kind != "release" and not build_tests(kind):
                return "killed-" + kind  # only its stricter checks fail
            status = test(kind, rel, SLOWER[kind] * limit)
            if status != 0:
                return "killed" + ("" if kind == "release" else "-" + kind) + \
                    ("-timeout" if status == "timeout" else "")
        return "survived"

    if not build_tests("release"):
        sys.exit(f"the unmutated tree does not build: see {work / 'last-run.log'}")
    started = time.monotonic()
    if test("release", Path("sprites.cpp"), 600) != 0:
        sys.exit(f"the unmutated tree fails its tests: see {work / 'last-test.log'}")
    limit = max(20, 5 * (time.monotonic() - started))

    outcomes = []
    for ident, rel, start, end, replacement, what in mutants:
        file = tree / rel
        text = file.read_text()
        if start < 0:
            outcomes.append((ident, "bad-entry", what))
            continue
        file.write_text(text[:start] + replacement + text[end:])
        try:
            result = outcome(ident, rel, limit)
        finally:
            file.write_text(text)
        outcomes.append((ident, result, what))
        print(f"{ident:42} {result:12} {what}", flush=True)
    for kind in BUILDS:  # leaves the folders built from the unmutated tree
        build_tests(kind)
    return outcomes


def main():
    if len(sys.argv) < 2 or sys.argv[1] not in ("list", "run", "hand", "score") or \
            (sys.argv[1] != "list" and len(sys.argv) < 3):
        sys.exit("usage: tools/mutation_pass.py list | run|hand RESULTS [ID...] | score RESULTS")
    if sys.argv[1] == "list":
        for ident, _, _, _, _, what in generated_mutants():
            print(f"{ident}\t{what}")
        return
    if sys.argv[1] == "score":
        summary([line.split("\t") for line in Path(sys.argv[2]).read_text().splitlines()
                 if line and not line.startswith("#")])
        return
    os.nice(15)  # the machine is shared
    work = Path(os.environ.get("MUTATE_WORK", ROOT / "build-mutate")).resolve() / "generated"
    results = Path(sys.argv[2]).resolve()
    chosen = set(sys.argv[3:])
    listing = generated_mutants if sys.argv[1] == "run" else hand_picked_mutants
    # An id ending in a dot stands for every mutant whose id starts with it.
    mutants = [m for m in listing(SOURCE) if not chosen or m[0] in chosen or
               any(c.endswith(".") and m[0].startswith(c) for c in chosen)]
    # Mutants named one by one run in the order given (the likeliest survivors
    # first, when a pass has to stop early); the rest in the list's order.
    given = {ident: k for k, ident in enumerate(sys.argv[3:])}
    mutants.sort(key=lambda m: given.get(m[0], len(given)))
    jobs = int(os.environ.get("MUTATE_JOBS", "2"))
    began = time.monotonic()
    # Each worker builds in its own copy of the tree.
    shares = [mutants[k::jobs] for k in range(jobs)]
    with multiprocessing.Pool(jobs) as pool:
        done = pool.starmap(worker, [(work / str(k), share) for k, share in enumerate(shares)])
    outcomes = {o[0]: o for share in done for o in share}
    outcomes = [outcomes[m[0]] for m in mutants]
    results.write_text("".join(f"{i}\t{r}\t{w}\n" for i, r, w in outcomes))

    print(f"\nthe pass took {time.monotonic() - began:.0f} s with {jobs} workers")
    summary(outcomes)


def summary(outcomes):
    """Counts the outcomes, with the mutants listed as equivalent apart, and
    names every survivor."""
    equivalent = equivalents()
    total = {}
    for ident, result, what in outcomes:
        kind = result.split("-")[0]
        if ident in equivalent and kind != "not":
            kind = "equivalent" if kind == "survived" else "equivalent but " + kind
        total[kind] = total.get(kind, 0) + 1
    unrun = total.get("not", 0)  # "not-run": a results file that a pass left unfinished
    compiled = len(outcomes) - unrun - total.get("no", 0) - total.get("bad", 0)
    killed, alive = total.get("killed", 0), total.get("survived", 0)
    score = killed / (killed + alive) if killed + alive else 1.0
    print(f"{len(outcomes)} mutants, {unrun} not run, {compiled} compiled ({total.get('no', 0)} did not), "
          f"{killed} killed, {total.get('equivalent', 0)} equivalent, {alive} survived: "
          f"{score:.1%} of the non-equivalent ones killed")
    for ident, result, what in outcomes:
        if result == "survived" and ident not in equivalent:
            print(f"  survived: {ident}  {what}")
        elif ident in equivalent and result not in ("survived", "not-run"):
            print(f"  {result}, but listed as equivalent: {ident}  {what}")


if __name__ == "__main__":
    main()

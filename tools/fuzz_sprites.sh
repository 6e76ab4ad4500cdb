#!/usr/bin/env bash
# Fuzzes the game's loading of a data file with AFL++ for SECONDS seconds, in
# persistent mode, under ASan/UBSan, against libraries built from Debian's
# sources with AFL's instrumentation (tools/fuzz_lib.sh), and prints the run
# time, executions, their rate, edges, the corpus, crashes and hangs at the end.
#   bitmap (the default): the sprite path on classic SDL 1.2
#   bitmap-sdl2: the same path on Debian 13's sdl12-compat over SDL 2.32
#   font: the font path through the system's SDL_ttf on FreeType
#   font-web: the font path through the web build's text engine on FreeType
# Seeds: the game's small bitmaps (or its font, cut down to the game's
# letters) and the damaged-data test's kinds of damage. Everything goes to
# build/fuzz; findings to build/fuzz/TARGET/findings.
# Usage: bash tools/fuzz_sprites.sh SECONDS [bitmap|bitmap-sdl2|font|font-web]
set -euo pipefail
usage="usage: $0 SECONDS [bitmap|bitmap-sdl2|font|font-web]"
seconds=${1:?$usage} target=${2:-bitmap}
cd "$(dirname "$0")/.."
source tools/packages.sh
source tools/fuzz_seeds.sh
[[ " ${fuzz_targets[*]} " == *" $target "* ]] || { echo "$usage" >&2; exit 2; }
install_missing_packages afl++ clang cmake pkg-config dpkg-dev libsdl1.2-dev libsdl-ttf2.0-dev python3-fonttools
sanitizers=(-fsanitize=address,undefined -fno-omit-frame-pointer)
AFL_QUIET=1 build_fuzz_libraries "$target" afl afl-clang-fast \
    "-O2 -g ${sanitizers[*]} -fsanitize-ignorelist=$PWD/tools/fuzz_sdl_ignore.txt"

out=build/fuzz/$target
rm -rf "$out" && mkdir -p "$out"
AFL_QUIET=1 build_fuzz_target "$target" afl "$out/target" afl-clang-fast++ -O2 -g "${sanitizers[@]}"
"${target%%-*}_seeds" "$out/seeds"
say_which_libraries_run "$target" "$out/target" "$out/seeds"

echo "Fuzzing the $target path for $seconds s"
AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 SDL_VIDEODRIVER=dummy \
    afl-fuzz -V "$seconds" -t 2000 -m none -i "$out/seeds" -o "$out/findings" -- "$out/target" \
    >"$out/afl.log" 2>&1 || { tail -20 "$out/afl.log"; exit 1; }
grep -E '^(run_time|execs_done|execs_per_sec|edges_found|total_edges|corpus_count|saved_crashes|saved_hangs) ' \
    "$out/findings/default/fuzzer_stats"

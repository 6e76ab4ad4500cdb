#!/usr/bin/env bash
# Fuzzes the game's loading of a data file with AFL++ for SECONDS seconds and
# prints the executions, their rate, the corpus, crashes and hangs at the end.
#   bitmap (the default): the sprite path, against Debian's SDL 1.2 built with
#     AFL's instrumentation and ASan/UBSan (tools/fuzz_sdl.sh), persistent mode
#   font: the font path, against the same SDL and the system's SDL_ttf and
#     FreeType, which are not instrumented
# Seeds: the game's small bitmaps (or its font, cut down to the game's
# letters) and the damaged-data test's kinds of damage. Everything goes to
# build/fuzz; findings to build/fuzz/TARGET/findings.
# Usage: bash tools/fuzz_sprites.sh SECONDS [bitmap|font]
set -euo pipefail
seconds=${1:?usage: $0 SECONDS [bitmap|font]} target=${2:-bitmap}
case $target in bitmap | font) ;; *) echo "usage: $0 SECONDS [bitmap|font]" >&2; exit 2 ;; esac
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages afl++ clang pkg-config dpkg-dev libsdl1.2-dev libsdl-ttf2.0-dev python3-fonttools
sanitizers="-fsanitize=address,undefined -fno-omit-frame-pointer"
AFL_QUIET=1 bash tools/fuzz_sdl.sh afl afl-clang-fast \
    "-O2 -g $sanitizers -fsanitize-ignorelist=$PWD/tools/fuzz_sdl_ignore.txt"
source tools/fuzz_seeds.sh

out=build/fuzz/$target
rm -rf "$out" && mkdir -p "$out"
sdl=build/fuzz/sdl-afl
# The system's SDL_ttf header beside this SDL's own, so that it includes them.
cp /usr/include/SDL/SDL_ttf.h "$sdl/include/SDL/"
# shellcheck disable=SC2046,SC2086 # the flags are words
AFL_QUIET=1 afl-clang-fast++ -std=c++17 -O2 -g $sanitizers -Isrc -I"$sdl/include/SDL" \
    $(fuzz_target_sources "$target") $("$sdl/bin/sdl-config" --static-libs) -o "$out/target"
"${target}_seeds" "$out/seeds"

echo "Fuzzing the $target path for $seconds s"
AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 SDL_VIDEODRIVER=dummy \
    afl-fuzz -V "$seconds" -t 2000 -m none -i "$out/seeds" -o "$out/findings" -- "$out/target" \
    >"$out/afl.log" 2>&1 || { tail -20 "$out/afl.log"; exit 1; }
grep -E '^(run_time|execs_done|execs_per_sec|corpus_count|saved_crashes|saved_hangs) ' "$out/findings/default/fuzzer_stats"

#!/usr/bin/env bash
# Reports the share of the lines and branches of SDL 1.2's SDL_bmp.c, and of
# its loader function alone, that the bitmap fuzz target reaches from (a) the
# seeds alone: the game's bitmaps and the damaged-data test's kinds, and (b)
# the corpus of the last `tools/fuzz_sprites.sh SECONDS bitmap` run. The
# inputs are replayed through a plain build of the target against Debian's
# SDL 1.2 built with clang's source coverage (build/fuzz/sdl-coverage); work
# in build/fuzz/coverage.
# Usage: bash tools/fuzz_coverage.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages clang-14 llvm-14 pkg-config dpkg-dev libsdl1.2-dev
coverage_flags="-O1 -g -fprofile-instr-generate -fcoverage-mapping"
bash tools/fuzz_sdl.sh coverage clang-14 "$coverage_flags"
source tools/fuzz_seeds.sh

corpus=build/fuzz/bitmap/findings/default/queue
[ -d "$corpus" ] || { echo "no corpus in $corpus: run tools/fuzz_sprites.sh first" >&2; exit 1; }
out=build/fuzz/coverage
sdl=build/fuzz/sdl-coverage
rm -rf "$out" && mkdir -p "$out"
# shellcheck disable=SC2046,SC2086 # the flags are words
clang++-14 -std=c++17 $coverage_flags -Isrc -I"$sdl/include/SDL" $(fuzz_target_sources bitmap) \
    $("$sdl/bin/sdl-config" --static-libs) -o "$out/target"
bitmap_seeds "$out/seeds"

bmp_loader=$PWD/build/fuzz/sdl-build-coverage/src/video/SDL_bmp.c
# reached NAME FOLDER: replays every input in FOLDER, prints SDL_bmp.c's share
reached()
{
    mkdir -p "$out/$1"
    find "$2" -maxdepth 1 -type f -print0 |
        LLVM_PROFILE_FILE="$out/$1/%p.profraw" SDL_VIDEODRIVER=dummy xargs -0 "$out/target"
    llvm-profdata-14 merge -o "$out/$1.profdata" "$out/$1"/*.profraw
    llvm-cov-14 export -summary-only -instr-profile="$out/$1.profdata" "$out/target" "$bmp_loader" |
        python3 -c '
import json, sys
totals = json.load(sys.stdin)["data"][0]["totals"]
print("%-7s SDL_bmp.c: lines %4.1f %% (%d of %d), branches %4.1f %% (%d of %d), inputs %s" % (
    sys.argv[1], totals["lines"]["percent"], totals["lines"]["covered"], totals["lines"]["count"],
    totals["branches"]["percent"], totals["branches"]["covered"], totals["branches"]["count"], sys.argv[2]))
' "$1" "$(find "$2" -maxdepth 1 -type f | wc -l)"
    # The file holds the never called writer too: the loader alone.
    llvm-cov-14 report -show-functions -instr-profile="$out/$1.profdata" "$out/target" "$bmp_loader" |
        awk -v set="$1" '$1 == "SDL_LoadBMP_RW" {
            printf "%-7s SDL_LoadBMP_RW: lines %s (%d of %d), branches %s (%d of %d)\n",
                set, $7, $5 - $6, $5, $10, $8 - $9, $8 }'
}
reached seeds "$out/seeds"
reached corpus "$corpus"
echo "Line by line: llvm-cov-14 show -instr-profile=$out/corpus.profdata $out/target $bmp_loader"

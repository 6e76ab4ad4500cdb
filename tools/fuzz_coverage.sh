#!/usr/bin/env bash
# Reports the share of the lines and branches of the libraries' code that
# reads the game's data which the fuzz targets reach, from the seeds alone (the
# game's bitmaps or its cut-down font, and the damaged-data test's kinds), from
# each kept corpus (corpora) and from the queue of the last run of a
# target where there is one:
#   SDL_bmp.c of classic SDL 1.2 and of SDL 2, and their SDL_LoadBMP_RW alone:
#     the bitmap sets, through the bitmap and bitmap-sdl2 targets
#   FreeType's sfnt and truetype modules: the font sets, through the font and
#     font-web targets
# The inputs are replayed through plain builds of the targets against the
# libraries built with clang's source coverage (tools/fuzz_lib.sh NAME
# coverage); work in build/fuzz/coverage.
# Usage: bash tools/fuzz_coverage.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
source tools/fuzz_seeds.sh
install_missing_packages clang-14 llvm-14 cmake pkg-config dpkg-dev libsdl1.2-dev libsdl-ttf2.0-dev python3-fonttools
coverage_flags=(-O1 -g -fprofile-instr-generate -fcoverage-mapping)
out=build/fuzz/coverage
rm -rf "$out" && mkdir -p "$out"
for target in "${fuzz_targets[@]}"; do
    build_fuzz_libraries "$target" coverage clang-14 "${coverage_flags[*]}"
    build_fuzz_target "$target" coverage "$out/$target" clang++-14 "${coverage_flags[@]}"
done
bitmap_seeds "$out/seeds/bitmap"
font_seeds "$out/seeds/font"

# reached CODE TARGET SET FOLDER LIBRARY SOURCE [FUNCTION]: replays every
# input in FOLDER through TARGET; prints the share of SOURCE (a file or a
# folder of LIBRARY, the program or a shared library), named CODE, reached,
# and of FUNCTION in it (SDL 2 calls its own FUNCTION_REAL)
reached()
{
    local code=$1 target=$2 set=$3 folder=$4 library=$5 source=$6 function=${7:-} profile=$out/$2-$3
    [ -d "$folder" ] || return 0
    mkdir -p "$profile"
    find "$folder" -maxdepth 1 -type f -print0 |
        LLVM_PROFILE_FILE="$profile/%p-%m.profraw" SDL_VIDEODRIVER=dummy xargs -0 -r "$out/$target" || true
    llvm-profdata-14 merge -o "$profile.profdata" "$profile"/*.profraw
    llvm-cov-14 export -summary-only -instr-profile="$profile.profdata" "$library" "$source" | python3 -c '
import json, sys
t = json.load(sys.stdin)["data"][0]["totals"]
print("%-24s %-12s %-22s %6s  %5.1f %% %5d of %5d  %5.1f %% %5d of %5d" % (sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4],
    t["lines"]["percent"], t["lines"]["covered"], t["lines"]["count"],
    t["branches"]["percent"], t["branches"]["covered"], t["branches"]["count"]))
' "$code" "$target" "$set" "$(find "$folder" -maxdepth 1 -type f | wc -l)"
    [ -z "$function" ] || llvm-cov-14 report -show-functions -instr-profile="$profile.profdata" "$library" "$source" |
        awk -v f="$function" -v t="$target" -v s="$set" -v n="$(find "$folder" -maxdepth 1 -type f | wc -l)" '$1 == f || $1 == f "_REAL" {
            printf "%-24s %-12s %-22s %6s  %7s %5d of %5d  %7s %5d of %5d\n", "  " f, t, s, n,
                $7, $5 - $6, $5, $10, $8 - $9, $8 }'
}

# the seeds, each kept corpus of the kind and the last runs' queues
sets() # KIND
{
    local corpus
    echo "seeds $out/seeds/$1"
    for corpus in corpora/"$1"*/; do echo "kept:$(basename "$corpus") $corpus"; done
    for corpus in build/fuzz/"$1"*/findings/default/queue; do echo "last-run:${corpus#build/fuzz/} $corpus" | sed 's|/findings/default/queue | |'; done
}

printf '%-24s %-12s %-22s %6s  %-21s  %-21s\n' code target inputs count lines branches
for target in bitmap bitmap-sdl2; do
    case $target in
    bitmap) code="SDL 1.2 SDL_bmp.c" library=$out/$target bmp=$PWD/build/fuzz/sdl-build-coverage/src/video/SDL_bmp.c ;;
    bitmap-sdl2) code="SDL 2 SDL_bmp.c" library=build/fuzz/sdl2-coverage/lib/libSDL2-2.0.so
        bmp=$PWD/build/fuzz/sdl2-build-coverage/src/video/SDL_bmp.c ;;
    esac
    while read -r set folder; do reached "$code" "$target" "$set" "$folder" "$library" "$bmp" SDL_LoadBMP_RW; done < <(sets bitmap)
done
for target in font font-web; do
    for module in sfnt truetype; do
        while read -r set folder; do
            reached "FreeType $module" "$target" "$set" "$folder" "$out/$target" "$PWD/build/fuzz/freetype-build-coverage/src/$module"
        done < <(sets font)
    done
done
echo "Line by line: llvm-cov-14 show -instr-profile=$out/TARGET-SET.profdata PROGRAM_OR_LIBRARY SOURCE"

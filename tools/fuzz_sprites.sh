#!/usr/bin/env bash
# Fuzzes the sprite loading path with AFL++ for SECONDS seconds under nice,
# seeded with the game's small bitmaps and damaged copies of one; prints the
# executions, crashes and hangs at the end. Findings: build/fuzz/findings.
# Usage: bash tools/fuzz_sprites.sh SECONDS
set -euo pipefail
seconds=${1:?usage: $0 SECONDS}
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages afl++ clang pkg-config libsdl1.2-dev
out=build/fuzz
rm -rf "$out/seeds" "$out/findings"
mkdir -p "$out/seeds"
# shellcheck disable=SC2046 # pkg-config's flags are words
afl-clang-fast++ -std=c++17 -O2 -Isrc tools/fuzz_sprites.cpp src/framework/{bitmap_header,data_file,display,fatal,sprites}.cpp \
    $(pkg-config --cflags --libs sdl) -o "$out/fuzz_sprites"

# AFL works best on small inputs: the background is left out.
find data -name '*.bmp' -size -64k -exec cp {} "$out/seeds/" \;
damaged() # NAME OFFSET BYTES: Shoot.bmp with BYTES (printf escapes) written at OFFSET
{
    cp data/Shoot.bmp "$out/seeds/$1.bmp"
    printf "$3" | dd of="$out/seeds/$1.bmp" bs=1 seek="$2" conv=notrunc status=none
}
damaged bits4100 28 '\x04\x10'
damaged bits65535 28 '\xff\xff'
damaged bits8 28 '\x08\x00'
damaged height0x80000000 22 '\x00\x00\x00\x80'
damaged top-down 22 '\xfa\xff\xff\xff'
damaged rle8 28 '\x08\x00\x01\x00'

AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 SDL_VIDEODRIVER=dummy \
    nice -n 15 afl-fuzz -V "$seconds" -t 2000 -i "$out/seeds" -o "$out/findings" -- "$out/fuzz_sprites" @@ \
    >"$out/afl.log" 2>&1 || { tail -20 "$out/afl.log"; exit 1; }
grep -E '^(run_time|execs_done|execs_per_sec|corpus_count|saved_crashes|saved_hangs) ' "$out/findings/default/fuzzer_stats"

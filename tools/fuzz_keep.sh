#!/usr/bin/env bash
# Keeps what a fuzz run learned: the queue of the last
# `tools/fuzz_sprites.sh SECONDS TARGET` run cut down with afl-cmin to the
# fewest inputs that reach every edge the queue reaches, the largest of them
# shrunk with afl-tmin for at most two minutes in all, replaces
# tests/corpora/TARGET. Within the target's budget (bitmaps 48 KiB, fonts
# 96 KiB): over it, the smallest inputs that fit are kept. The test command
# replays every kept input through the game's release build.
# Usage: bash tools/fuzz_keep.sh TARGET
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/fuzz_seeds.sh
target=${1:-}
[[ " ${fuzz_targets[*]} " == *" $target "* ]] || { echo "usage: $0 ${fuzz_targets[*]// /|}" >&2; exit 2; }
case $target in bitmap*) budget=$((48 * 1024)) ;; font*) budget=$((96 * 1024)) ;; esac
run=build/fuzz/$target
[ -d "$run/findings/default/queue" ] || { echo "no queue in $run: run tools/fuzz_sprites.sh first" >&2; exit 1; }
work=$run/keep
rm -rf "$work" && mkdir -p "$work/shrunk"
# AFL_MAP_SIZE: afl-tmin cannot size its map for the SDL 2 that bitmap-sdl2 loads.
export AFL_SKIP_CPUFREQ=1 SDL_VIDEODRIVER=dummy AFL_MAP_SIZE=$((1 << 18))
nice -n 19 afl-cmin -i "$run/findings/default/queue" -o "$work/fewest" -t 2000 -m none -- "$run/target" >"$work/cmin.log" 2>&1 ||
    { tail -20 "$work/cmin.log"; exit 1; }
deadline=$((SECONDS + 120))
for input in $(ls -S "$work/fewest"); do
    shrunk=$work/shrunk/$(sha1sum <"$work/fewest/$input" | cut -c1-16)
    if [ $SECONDS -ge $deadline ] ||
        ! timeout $((deadline - SECONDS)) nice -n 19 afl-tmin -i "$work/fewest/$input" -o "$shrunk" -t 2000 -m none \
            -- "$run/target" >>"$work/tmin.log" 2>&1; then
        cp "$work/fewest/$input" "$shrunk"
    fi
done
kept=tests/corpora/$target
rm -rf "$kept" && mkdir -p "$kept"
total=0
for input in $(ls -Sr "$work/shrunk"); do
    size=$(stat -c %s "$work/shrunk/$input")
    [ $((total + size)) -le $budget ] || break
    cp "$work/shrunk/$input" "$kept/"
    total=$((total + size))
done
echo "$kept: $(ls "$kept" | wc -l) of $(ls "$work/fewest" | wc -l) inputs afl-cmin kept of $(ls "$run/findings/default/queue" | grep -c '^id'), $total bytes of $budget"

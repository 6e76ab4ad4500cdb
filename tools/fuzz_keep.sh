#!/usr/bin/env bash
# Keeps what a fuzz run learned: the queue of the last
# `tools/fuzz_sprites.sh SECONDS TARGET` run cut down with afl-cmin to the
# fewest inputs that reach every edge the queue reaches, the largest of them
# shrunk with afl-tmin for at most two minutes in all, replaces
# corpora/TARGET, within the target's budget (bitmaps 48 KiB, fonts
# 96 KiB): over it, the inputs that add the most edges for their size are
# kept, then those that add the most hit counts. The test command replays
# every kept input through the game's release build.
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
mapfile -t largest_first < <(ls -S "$work/fewest") # AFL's names hold no blanks
for input in "${largest_first[@]}"; do
    shrunk=$work/shrunk/$(sha1sum <"$work/fewest/$input" | cut -c1-16)
    if [ $SECONDS -ge $deadline ] ||
        ! timeout $((deadline - SECONDS)) nice -n 19 afl-tmin -i "$work/fewest/$input" -o "$shrunk" -t 2000 -m none \
            -- "$run/target" >>"$work/tmin.log" 2>&1; then
        cp "$work/fewest/$input" "$shrunk"
    fi
done
# Within the budget: again and again the input that adds the most edges not
# yet reached for its size, as long as one adds any and fits; then the same
# for hit counts. Edges first: a large input's many hit counts would
# otherwise crowd out the small ones that alone take a rare branch.
nice -n 19 afl-showmap -i "$work/shrunk" -o "$work/maps" -t 2000 -m none -- "$run/target" >"$work/showmap.log" 2>&1 ||
    { tail -20 "$work/showmap.log"; exit 1; }
kept=corpora/$target
rm -rf "$kept" && mkdir -p "$kept"
python3 - "$work/shrunk" "$work/maps" "$kept" "$budget" <<'PICK'
import os, shutil, sys
inputs, maps, kept, budget = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
hits = {name: set(open(os.path.join(maps, name)).read().split()) for name in os.listdir(maps)}
edges = {name: {hit.split(":")[0] for hit in reach} for name, reach in hits.items()}
size = {name: max(1, os.path.getsize(os.path.join(inputs, name))) for name in hits}
chosen, total = [], 0
for reach in edges, hits:
    reached = set().union(*(reach[name] for name in chosen))
    while True:
        fits = [name for name in reach if name not in chosen and total + size[name] <= budget and reach[name] - reached]
        if not fits:
            break
        best = max(fits, key=lambda name: (len(reach[name] - reached) / size[name], name))
        chosen.append(best)
        reached |= reach[best]
        total += size[best]
    print(f"{kept}: {len(chosen)} inputs, {total} bytes of {budget}, {len(reached)} of the"
          f" {len(set().union(*reach.values()))} {'edges' if reach is edges else 'edges and hit counts'}"
          f" that afl-cmin's {len(size)} reach")
for name in chosen:
    shutil.copy(os.path.join(inputs, name), kept)
PICK

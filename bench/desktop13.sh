#!/usr/bin/env bash
# A Debian 13 desktop without a graphics card: the game on weston (headless,
# pixman) through Xwayland at 1920x1080, taking turns with itself on Xvfb at
# 1024x768x16 (bench/turns.sh); then each other way of asking SDL for the
# display and showing frames (bench/present_ways.cpp) against the game as it
# is, both on weston, each on a weston of its own.
#
#   bash bench/desktop13.sh BUILD_DIR [SECONDS [WAY...]]
#
# after building heli, flip_probe and present_ways in BUILD_DIR. Without WAYs
# all of them; SECONDS (default 10) of each screen for each game.
set -euo pipefail
if (($# < 1)); then
    echo "usage: bash $0 BUILD_DIR [SECONDS [WAY...]]" >&2
    exit 2
fi
bench_dir=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "$1" && pwd)
seconds=${2:-10}
ways=("${@:3}")
((${#ways[@]})) || ways=(software single update-rect sixteen-bits)
heli=$build_dir/heli probe=$build_dir/bench/libflip_probe.so
work=$(mktemp -d)
server_pids=()
trap 'kill -TERM "${server_pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

# weston_display NAME: a headless weston with Xwayland; its X display in started_display.
weston_display()
{
    local log=$work/$1-weston.log tries
    XDG_RUNTIME_DIR=$work/runtime weston --backend=headless --renderer=pixman --xwayland --width=1920 \
        --height=1080 --idle-time=0 --socket="heli-$1" --log="$log" &
    server_pids+=("$!")
    for ((tries = 0; tries < 100; ++tries)); do
        started_display=$(grep -o 'xserver listening on display :[0-9]*' "$log" 2>/dev/null | grep -o ':[0-9]*$') &&
            return
        sleep 0.1
    done
    echo "weston gave no X display within 10 s:" >&2
    cat "$log" >&2
    exit 1
}

mkdir -m 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1024x768x16 -nolisten tcp -noreset 3>"$work/xvfb-display" 2>"$work/xvfb.log" &
server_pids+=("$!")
weston_display first
first=$started_display
until [[ -s $work/xvfb-display ]]; do sleep 0.1; done
echo "== weston $(weston --version | grep -o '[0-9.]*$'), Xwayland 1920x1080 ($first) and Xvfb 1024x768x16," \
    "sdl12-compat $(dpkg-query -W -f='${Version}' libsdl1.2debian), SDL 2 $(dpkg-query -W -f='${Version}' libsdl2-2.0-0)"
bash "$bench_dir/turns.sh" "$seconds" "$probe" "Xwayland 1920x1080" "$first" "$heli" \
    "Xvfb 1024x768x16" ":$(head -n1 "$work/xvfb-display")" "$heli"

weston_display second
second=$started_display
for way in "${ways[@]}"; do
    # shellcheck disable=SC2016 # the wrapper expands them when it runs
    printf '#!/bin/sh\nLD_PRELOAD="$LD_PRELOAD %s" HELI_PRESENT_WAY=%s exec "%s" "$@"\n' \
        "$build_dir/bench/libpresent_ways.so" "$way" "$heli" >"$work/$way"
    chmod +x "$work/$way"
    echo "== $way against the game as it is, both on weston's Xwayland at 1920x1080"
    bash "$bench_dir/turns.sh" "$seconds" "$probe" "as it is" "$first" "$heli" "$way" "$second" "$work/$way"
done

#!/usr/bin/env bash
# Frame pacing and CPU use of the real game under a private Xvfb:
# `bash bench/run_pacing.sh BUILD_DIR [FRAMES]` after building the targets
# heli and pacing_bench in BUILD_DIR. Runs pacing_bench, then the game itself
# for ten seconds at the menu and ten seconds in the shoot-down mission, and
# prints each one's CPU share. Figures only; they depend on the machine's load,
# which is printed with them.
if (($# < 1 || $# > 2)); then
    echo "usage: bash $0 BUILD_DIR [FRAMES]" >&2
    exit 2
fi
build_dir=$(cd "$1" && pwd)
frames=${2:-1200}
heli_binary=$build_dir/heli
source_dir=$(cd "$(dirname "$0")/.." && pwd)
artifacts=$build_dir/bench/pacing-artifacts
# shellcheck source=tests/e2e/xsession.sh
source "$source_dir/tests/e2e/xsession.sh"

readonly window_seconds=10

# The game's CPU time so far in clock ticks: utime + stime from /proc.
cpu_ticks()
{
    local stat fields
    stat=$(cat "/proc/$game_pid/stat") || fail "the game is gone"
    read -r -a fields <<<"${stat##*) }"
    # After the command name, field 3 (the state) comes first: utime is 14, stime 15.
    echo $((fields[11] + fields[12]))
}

# cpu_share WHAT SHOWN REOPEN: the game's CPU share of one core on a screen,
# summed over one-second slices until the window is full. Only slices with the
# screen (the command SHOWN) up at both ends count; when it is gone, REOPEN
# brings it back.
cpu_share()
{
    local what=$1 shown=$2 reopen=$3 ticks=0 ms=0 ticks_before start_ms
    while ((ms < window_seconds * 1000)); do
        take_screenshot
        "$shown" || "$reopen"
        ticks_before=$(cpu_ticks)
        start_ms=$(now_ms)
        sleep 1
        take_screenshot
        if "$shown"; then
            ticks=$((ticks + $(cpu_ticks) - ticks_before))
            ms=$((ms + $(now_ms) - start_ms))
        fi
    done
    awk -v what="$what" -v ticks=$ticks -v hz="$(getconf CLK_TCK)" -v ms=$ms 'BEGIN {
        printf "%s: %.1f%% of one core (%.2f s CPU in %.2f s)\n", what, 100 * ticks / hz / (ms / 1000), ticks / hz, ms / 1000
    }'
}

menu_lost()
{
    fail "the menu went away on its own"
}

start_display
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "== pacing_bench $frames (shoot-down frames on the real platform)"
(cd "$source_dir" && "$build_dir/bench/pacing_bench" "$frames")

echo "== the game, ${window_seconds} s each"
start_game
wait_for "menu" 15 menu_shown
cpu_share "menu" menu_shown menu_lost
# The helicopter sits still, so after the start protection a fighter's shot
# may end the mission; the end screen and the menu are not measured, and the
# mission is started again.
cpu_share "shoot-down mission" shoot_down_shown open_shoot_down
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

#!/usr/bin/env bash
# The web build (tools/web.sh builds build/web) in headless Chromium beside the
# native game on a private depth-24 Xvfb: the CPU each takes at the menu and in
# each mission, and the web build's own figures (bench/web.py).
#
#   bash bench/web.sh BUILD_DIR
#
# BUILD_DIR holds the native heli. Figures only.
source_dir=$(cd "$(dirname "$0")/.." && pwd)
heli_binary=$(cd "$1" && pwd)/heli
artifacts=$(cd "$1" && pwd)/bench/web-artifacts
# shellcheck source=tests/e2e/xsession.sh
source "$source_dir/tests/e2e/xsession.sh"
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
native_cpu() {
    local before
    before=$(cpu_ticks)
    sleep 5
    awk -v where="$1" -v used=$(($(cpu_ticks) - before)) -v ticks="$ticks" \
        'BEGIN { printf "%-20s native game CPU %5.1f %% of a core\n", where, used * 100 / (5 * ticks) }'
}

echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
start_server native 1024x768x24
export DISPLAY=$started_display
colour_fuzz=3% # 255 shows as 248
start_game
wait_for "native menu" 15 menu_shown
native_cpu menu
press 1
sleep 1
native_cpu "shoot-down mission"
press Escape
sleep 4
press m k r
sleep 1
native_cpu "rescue mission"
kill -KILL "$game_pid"
game_pid=
/usr/bin/python3 "$source_dir/bench/web.py" "$source_dir/build/web"

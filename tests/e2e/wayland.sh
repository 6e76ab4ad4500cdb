#!/usr/bin/env bash
# Usage: wayland.sh HELI_BINARY SOURCE_DIR ARTIFACT_DIR. The game on a Wayland desktop, weston, as
# players of Debian 13 have it: through Xwayland (with both displays there SDL 2 takes X11), and
# straight on Wayland. Only sdl12-compat reaches Wayland; elsewhere the run is skipped (status 77).
# Weston draws its 1920x1080 output into a window on a private Xvfb: there its seat has a keyboard,
# which xdotool types on, and the Xvfb's root window is exactly what weston shows.
heli_binary=$1 source_dir=$2 artifacts=$3
system_sdl=$(dpkg-query -W -f='${source:Package} ${Version}' libsdl1.2debian)
[[ $system_sdl == sdl12-compat* ]] ||
    { echo "skipped: the system's SDL 1.2 is $system_sdl, not sdl12-compat, which alone reaches Wayland"; exit 77; }
# shellcheck source=tests/e2e/xsession.sh
source "$(dirname "$0")/xsession.sh"
mkdir -p "$artifacts"
readonly black='rgb(0,0,0)' socket=heli-test
weston_pid=''

# A crashed compositor ends the game too: say whose fault the failure is.
explain_failure()
{
    [[ -f $work/weston-log ]] && cat "$work/weston-log" "$work/weston-stderr" >"$artifacts/weston-log.txt"
    [[ -n $weston_pid && $(ps -o stat= -p "$weston_pid") != [^Z]* ]] || return 0
    local status=0
    wait "$weston_pid" || status=$?
    echo "THE COMPOSITOR CRASHED, not the game: weston ended by itself with status $status" \
        "(its log: $artifacts/weston-log.txt)" >&2
    grep -hiE 'assert|signal' "$work/weston-log" "$work/weston-stderr" | tail -n 5 >&2 || true
}

start_weston()
{
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    weston --backend=x11 --renderer=pixman --width=1920 --height=1080 --xwayland --no-config \
        --socket="$socket" --log="$work/weston-log" 2>"$work/weston-stderr" &
    weston_pid=$!
    xvfb_pids+=("$weston_pid")
    # Xwayland's display: weston takes the first free one and names it.
    local deadline=$(($(now_ms) + 20000))
    until xwayland_display=$(grep -o 'listening on display :[0-9]*' "$work/weston-log" 2>/dev/null); do
        kill -0 "$weston_pid" 2>/dev/null && (($(now_ms) < deadline)) || fail "weston did not start within 20 s"
        sleep 0.1
    done
    xwayland_display=${xwayland_display##* }
}

# The whole output, 1920x1080; sdl12-compat scales the 1024x768 picture to the full height,
# 1440x1080, between black bars 240 wide. The scaling blends colours at the edges.
colour_fuzz=6%
# all_black X Y WIDTH HEIGHT: nothing but black there (count cannot count black: it paints with it).
all_black() { [[ $(convert "$shot" -crop "${3}x${4}+${1}+${2}" +repage -fuzz "$colour_fuzz" -fill white +opaque "$black" \
    -format '%[fx:maxima]' info:) == 0 ]]; }
between_bars() { all_black 0 0 240 1080 && all_black 1680 0 240 1080; }
full_screen_menu() { between_bars && (($(count "$yellow" 240 0 1440 1080) > 1500000 && $(count "$blue" 780 400 500 160) > 500)); }
full_screen_mission() { between_bars && (($(count "$yellow" 0 0 1920 1080) == 0 && $(count "$red" 240 0 1440 100) > 50)); }
# The window: its inside, a 1024x768 yellow menu, is all that is yellow on the output.
yellow_box() { convert "$shot" -fuzz "$colour_fuzz" -fill black +opaque "$yellow" -format '%@' info: 2>/dev/null; }
window_menu() { [[ $(yellow_box) == 1024x768+* ]] && (($(count "$yellow" 0 0 1920 1080) > 750000)); }
window_mission() { ! between_bars && (($(count "$yellow" 0 0 1920 1080) == 0 && $(count "$red" 0 0 1920 1080) > 200)); }
keep_screenshot() { cp "$shot" "$artifacts/$1.png"; }

# end_with_2 NAME: the key 2 at the menu ends the game with status 0.
end_with_2()
{
    press 2
    for ((tries = 0; tries < 100; ++tries)); do game_running || break; sleep 0.05; done
    local status=0
    wait "$game_pid" || status=$?
    game_pid=
    ((status == 0)) || fail "exit status $status after 2 ($1)"
}

start_server desktop 1920x1080x24
export DISPLAY=$started_display
start_weston

# Through Xwayland: full screen, the mission and back, Alt+Enter to a window and back.
WAYLAND_DISPLAY=$socket DISPLAY=$xwayland_display start_game
wait_for "full-screen menu through Xwayland" 20 full_screen_menu
keep_screenshot xwayland-menu
press 1
wait_for "full-screen mission through Xwayland" 10 full_screen_mission
keep_screenshot xwayland-mission
press Escape
wait_for "full-screen menu after the mission through Xwayland" 10 full_screen_menu
press alt+Return
wait_for "menu in a 1024x768 window through Xwayland" 10 window_menu
keep_screenshot xwayland-window
press 1
wait_for "mission in a window through Xwayland" 10 window_mission
press Escape
wait_for "menu in a window after the mission through Xwayland" 10 window_menu
press alt+Return
wait_for "full-screen menu again through Xwayland" 10 full_screen_menu
end_with_2 "Xwayland"

# Straight on Wayland, as SDL_VIDEODRIVER=wayland asks: the same picture.
WAYLAND_DISPLAY=$socket SDL_VIDEODRIVER=wayland start_game
wait_for "full-screen menu on Wayland" 20 full_screen_menu
keep_screenshot wayland-menu
end_with_2 "Wayland"

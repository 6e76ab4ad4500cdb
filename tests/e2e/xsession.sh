# shellcheck shell=bash
# Sourced by the end-to-end cases and by bench/run_pacing.sh: a private X
# server at 1024x768x16, the real game running on it from the folder holding
# data/, keys through XTEST and colour counts on screenshots. Everything is
# waited for by polling against a deadline. The caller sets heli_binary,
# source_dir and artifacts (where a failure leaves the last screenshot and the
# game's output) before calling these.
set -euo pipefail
: "${heli_binary:?}" "${source_dir:?}" "${artifacts:?}"

readonly yellow='rgb(255,255,0)' blue='rgb(0,0,255)' red='rgb(255,0,0)'
# The game looks at the keyboard's state once a frame, after draining the
# events, so a key pressed and released within one frame is never seen
# (`xdotool key` holds it for 6 ms): every key is held for several frames, as
# a player's finger would.
readonly key_hold_seconds=0.25

work=$(mktemp -d)
shot=$work/screen.png
xvfb_pid=
game_pid=

cleanup()
{
    # The game turns SIGTERM into a quit request, which inside a mission only
    # ends the mission; SIGKILL ends it for certain.
    if [[ -n $game_pid ]] && kill -0 "$game_pid" 2>/dev/null; then
        kill -KILL "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill -TERM "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail()
{
    echo "FAILED: $*" >&2
    echo "display ${DISPLAY:-none}, Xvfb pid ${xvfb_pid:-none}, game pid ${game_pid:-none}" >&2
    mkdir -p "$artifacts"
    [[ -f $shot ]] && cp "$shot" "$artifacts/last-screen.png"
    for log in game-stdout game-stderr xvfb-stderr; do
        if [[ -f $work/$log ]]; then
            cp "$work/$log" "$artifacts/$log.txt"
            echo "--- $log:" >&2
            # Every byte of the game's output counts, down to the spaces.
            if [[ $log == game-stdout ]]; then
                od -c "$work/$log" | head -20 >&2
            else
                tail -n 20 "$work/$log" >&2
            fi
        fi
    done
    echo "screenshots and logs kept in $artifacts" >&2
    exit 1
}

now_ms()
{
    date +%s%3N
}

start_display()
{
    # -displayfd takes the first free display number and writes it once the
    # server accepts connections, so several sessions can run side by side.
    # SDL opens the display twice while it starts, and without -noreset the
    # server resets when the first connection closes; a busy machine then
    # refuses the second.
    Xvfb -displayfd 3 -screen 0 1024x768x16 -nolisten tcp -noreset \
        3>"$work/display" 2>"$work/xvfb-stderr" &
    xvfb_pid=$!
    local deadline=$(($(now_ms) + 10000))
    until [[ -s $work/display ]]; do
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
        (($(now_ms) < deadline)) || fail "Xvfb gave no display number within 10 s"
        sleep 0.05
    done
    DISPLAY=:$(head -n1 "$work/display")
    export DISPLAY
}

start_game()
{
    cd "$source_dir"
    "$heli_binary" >"$work/game-stdout" 2>"$work/game-stderr" &
    game_pid=$!
}

game_running()
{
    local stat
    stat=$(cat "/proc/$game_pid/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != Z ]]
}

take_screenshot()
{
    import -window root "$shot" 2>>"$work/import-stderr" || fail "cannot take a screenshot"
}

# count COLOUR X Y WIDTH HEIGHT: how many pixels of the last screenshot in
# that rectangle have exactly that colour.
count()
{
    convert "$shot" -crop "${4}x${5}+${2}+${3}" +repage -fill black +opaque "$1" \
        -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:
}

# wait_for DESCRIPTION SECONDS CONDITION...: screenshots until the condition
# (a command looking at $shot) holds.
wait_for()
{
    local description=$1 deadline=$(($(now_ms) + $2 * 1000))
    shift 2
    while true; do
        game_running || fail "the game ended while waiting for $description"
        take_screenshot
        "$@" && return 0
        (($(now_ms) < deadline)) || fail "no $description within the deadline"
        sleep 0.1
    done
}

press()
{
    xdotool keydown "$@"
    sleep "$key_hold_seconds"
    xdotool keyup "$@"
}

menu_shown()
{
    [[ $(count "$yellow" 0 0 1024 768) -gt 700000 ]] && [[ $(count "$blue" 400 300 300 90) -gt 0 ]]
}

# Mission texts are the only pure red on the screen: "Zeit:" and the countdown
# at the top left are the shoot-down mission's.
shoot_down_shown()
{
    [[ $(count "$yellow" 0 0 1024 768) -eq 0 ]] && [[ $(count "$red" 50 30 80 20) -gt 50 ]]
}

open_shoot_down()
{
    wait_for "menu" 15 menu_shown
    press 1
    wait_for "shoot-down mission" 10 shoot_down_shown
}

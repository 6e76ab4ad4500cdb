# shellcheck shell=bash
# Sourced by the end-to-end cases and bench/run.sh after they set
# heli_binary, source_dir and artifacts (where failures leave the last screenshot
# and logs): a private 1024x768x16 X server, the real game on it, keys through
# XTEST, colour counts on screenshots, and every wait polled against a deadline.
set -euo pipefail
: "${heli_binary:?}" "${source_dir:?}" "${artifacts:?}"

readonly yellow='rgb(255,255,0)' blue='rgb(0,0,255)' red='rgb(255,0,0)'
# The game reads the keyboard's state once a frame, so a key pressed and
# released within one frame is never seen: keys are held as a finger would.
readonly key_hold_seconds=0.25

work=$(mktemp -d)
shot=$work/screen.png
xvfb_pid='' game_pid=''

# SIGTERM is only a quit request to the game, which in a mission ends just the
# mission; SIGKILL ends it for certain.
cleanup()
{
    [[ -z $game_pid ]] || kill -KILL "$game_pid" 2>/dev/null || true
    [[ -z $xvfb_pid ]] || kill -TERM "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Every byte of the game's output counts, down to the spaces: cat -A shows them.
fail()
{
    echo "FAILED: $* (display ${DISPLAY:-none}, game pid ${game_pid:-none})" >&2
    mkdir -p "$artifacts"
    [[ -f $shot ]] && cp "$shot" "$artifacts/last-screen.png"
    for log in game-stdout game-stderr xvfb-stderr; do
        [[ -f $work/$log ]] || continue
        cp "$work/$log" "$artifacts/$log.txt"
        echo "--- $log:" >&2
        tail -n 20 "$work/$log" | cat -A >&2
    done
    echo "screenshots and logs kept in $artifacts" >&2
    exit 1
}

now_ms() { date +%s%3N; }

# -displayfd writes the first free display number once the server accepts
# connections. SDL connects twice while it starts; without -noreset the server
# resets when the first connection closes, and a busy machine refuses the second.
start_display()
{
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

game_running() { [[ $(ps -o stat= -p "$game_pid") == [^Z]* ]]; }

take_screenshot() { import -window root "$shot" 2>>"$work/import-stderr" ||
    fail "cannot take a screenshot"; }

# count COLOUR X Y WIDTH HEIGHT: the pixels of exactly that colour in that
# rectangle of the last screenshot.
count() { convert "$shot" -crop "${4}x${5}+${2}+${3}" +repage -fill black +opaque "$1" \
    -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:; }

# wait_for DESCRIPTION SECONDS CONDITION...: screenshots until the condition,
# a command looking at $shot, holds.
wait_for()
{
    local description=$1 deadline=$(($(now_ms) + $2 * 1000))
    shift 2
    while game_running || fail "the game ended while waiting for $description"; do
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

menu_shown() { [[ $(count "$yellow" 0 0 1024 768) -gt 700000 &&
    $(count "$blue" 400 300 300 90) -gt 0 ]]; }

# Mission texts are the only pure red on the screen: "Zeit:" and the countdown
# at the top left are the shoot-down mission's.
shoot_down_shown() { [[ $(count "$yellow" 0 0 1024 768) -eq 0 &&
    $(count "$red" 50 30 80 20) -gt 50 ]]; }

open_shoot_down()
{
    wait_for "menu" 15 menu_shown
    press 1
    wait_for "shoot-down mission" 10 shoot_down_shown
}

# shellcheck shell=bash
# Sourced by the end-to-end tests and bench/run.sh once heli_binary, source_dir
# and artifacts (where a failure leaves the last screenshot and the logs) are
# set: a private 1024x768x16 X server, the real game on it, keys through XTEST.
set -euo pipefail
: "${heli_binary:?}" "${source_dir:?}" "${artifacts:?}"
readonly yellow='rgb(255,255,0)' blue='rgb(0,0,255)' red='rgb(255,0,0)'
work=$(mktemp -d)
shot=$work/screen.png
xvfb_pids=() game_pid=''

# SIGTERM is only a quit request to the game; SIGKILL ends it for certain.
cleanup()
{
    [[ -z $game_pid ]] || kill -KILL "$game_pid" 2>/dev/null || true
    ((${#xvfb_pids[@]} == 0)) || kill -TERM "${xvfb_pids[@]}" 2>/dev/null || true
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail()
{
    echo "FAILED: $* (display ${DISPLAY:-none}, game pid ${game_pid:-none})" >&2
    mkdir -p "$artifacts"
    ! declare -F explain_failure >/dev/null || explain_failure # a test's own word on whose fault it is
    [[ -f $shot ]] && cp "$shot" "$artifacts/last-screen.png"
    for log in game-stdout game-stderr xvfb-stderr; do # cat -A: every byte counts, down to the spaces
        [[ -f $work/$log ]] && cp "$work/$log" "$artifacts/$log.txt" && tail -n 20 "$work/$log" | cat -A >&2
    done
    exit 1
}

now_ms() { date +%s%3N; }

# start_server NAME [SCREEN [XVFB_OPTION...]]: a private X server, 1024x768x16
# unless SCREEN says otherwise, its display left in started_display.
# -displayfd: the first free display, once it takes connections; -noreset: SDL connects twice.
start_server()
{
    local name=$1 screen=${2:-1024x768x16}
    shift $(($# < 2 ? $# : 2))
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset "$@" 3>"$work/$name-display" 2>"$work/$name-stderr" &
    local pid=$!
    xvfb_pids+=("$pid")
    local deadline=$(($(now_ms) + 10000))
    until [[ -s $work/$name-display ]]; do
        kill -0 "$pid" 2>/dev/null && (($(now_ms) < deadline)) || fail "Xvfb gave no display within 10 s"
        sleep 0.05
    done
    started_display=:$(head -n1 "$work/$name-display")
}

start_display()
{
    start_server xvfb
    export DISPLAY=$started_display
}

start_game()
{
    cd "$source_dir"
    "$heli_binary" >"$work/game-stdout" 2>"$work/game-stderr" &
    game_pid=$!
}

game_running() { [[ $(ps -o stat= -p "$game_pid") == [^Z]* ]]; }
# On a screen larger than the game's, picture_view says where its 1024x768
# picture is (ImageMagick options that cut it out and scale it to that size).
picture_view=''
take_screenshot()
{
    import -window root "$shot" 2>>"$work/import-stderr" || fail "cannot take a screenshot"
    # shellcheck disable=SC2086 # a list of options
    [[ -z $picture_view ]] || mogrify $picture_view "$shot"
}
# count COLOUR X Y WIDTH HEIGHT: pixels of exactly that colour there in the last screenshot, or
# within colour_fuzz of it (a depth-24 screen shows a 16-bit picture's 255 as 248 on classic SDL).
colour_fuzz=0
count() { convert "$shot" -crop "${4}x${5}+${2}+${3}" +repage -fuzz "$colour_fuzz" -fill black +opaque "$1" \
    -fill white -opaque "$1" -precision 10 -format '%[fx:round(mean*w*h)]' info:; }

# wait_for DESCRIPTION SECONDS CONDITION...: screenshots until the condition holds.
wait_for()
{
    local description=$1 seconds=$2 deadline=$(($(now_ms) + $2 * 1000))
    shift 2
    until take_screenshot && "$@"; do
        game_running || fail "the game ended while waiting for $description"
        (($(now_ms) < deadline)) || fail "no $description within $seconds s"
        sleep 0.1
    done
}

# pointer_hidden X Y: the pointer, moved to (X, Y) on the screen, is drawn with no visible pixel there
# (XFixes hands out the image the server draws it with). python3-xlib serves Debian's own python3.
pointer_hidden()
{
    xdotool mousemove --sync "$1" "$2"
    /usr/bin/python3 -c 'from Xlib import display
d = display.Display()
d.xfixes_query_version()
raise SystemExit(any(argb >> 24 for argb in d.xfixes_get_cursor_image(d.screen().root).cursor_image))'
}

# The game reads the keyboard once a frame: a key is held as a finger would.
press() { xdotool keydown "$@"; sleep 0.25; xdotool keyup "$@"; }
menu_shown() { [[ $(count "$yellow" 0 0 1024 768) -gt 700000 && $(count "$blue" 400 300 300 90) -gt 0 ]]; }
# Mission texts are the only pure red: "Zeit:" at the top left is the shoot-down's.
shoot_down_shown() { [[ $(count "$yellow" 0 0 1024 768) -eq 0 && $(count "$red" 50 30 80 20) -gt 50 ]]; }
open_shoot_down() { wait_for "menu" 15 menu_shown; press 1; wait_for "shoot-down mission" 10 shoot_down_shown; }

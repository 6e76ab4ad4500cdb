#!/usr/bin/env bash
# Usage: real_game.sh HELI_BINARY SOURCE_DIR ARTIFACT_DIR [SDL_VERSION]. The exact credits, the menu on screen, and
# quit requests (SIGTERM): in a mission one ends it through the end screen; at the menu, the game.
heli_binary=$1 source_dir=$2 artifacts=$3
# shellcheck source=tests/e2e/xsession.sh
source "$(dirname "$0")/xsession.sh"
mkdir -p "$artifacts"
keep_screenshot() { cp "$shot" "$artifacts/$1.png"; }
only_credits() { cmp -s <(printf 'Programming and Graphics \n   Brastolmein\n') "$work/game-stdout" ||
    fail "standard output is not just the credits"; }
lost_screen_shown() { (($(count "$red" 445 345 120 40) > 100)); } # "Verloren"

start_display
start_game
wait_for "menu" 15 menu_shown
keep_screenshot menu
pointer_hidden 300 200 || fail "the pointer shows over the menu"
only_credits
(($(count "$yellow" 0 0 1024 768) + $(count "$blue" 0 0 1024 768) == 1024 * 768)) || fail "not only yellow and blue"
[[ $(convert "$shot" -fill white +opaque "$blue" -format '%@' info:) =~ \+40[0-9]\+30[0-9]$ ]] ||
    fail "the menu's text does not start at (400, 300)"
(($(count "$blue" 0 300 1024 35) > 0 && $(count "$blue" 0 335 1024 15) == 0 && $(count "$blue" 0 350 1024 35) > 0)) ||
    fail "the menu's lines are not at y 300 and 350"
open_shoot_down
keep_screenshot shoot-down
pointer_hidden 700 500 || fail "the pointer shows over the mission"
kill -TERM "$game_pid"
wait_for "end screen" 5 lost_screen_shown
keep_screenshot lost
wait_for "menu after the end screen" 8 menu_shown
kill -TERM "$game_pid"
for ((tries = 0; tries < 100; ++tries)); do game_running || break; sleep 0.05; done
! game_running || fail "the game still runs 5 s after the quit request at the menu"
status=0
wait "$game_pid" || status=$?
game_pid=
((status == 0)) || fail "exit status $status after the quit request at the menu"
only_credits

# A player's desktop: 1920x1080 at depth 24, white root window, no mode switch. Classic SDL 1.2
# shows the picture 1:1 in the middle; it must be the 16-bit screen's menu, widened as that SDL
# widens it (the low bits cleared: 255 becomes 248, 252 in green). sdl12-compat scales a full
# screen to the screen's height instead, so its pixels cannot be compared.
[[ ${4:-} == 1.2.1* ]] || { echo "desktop run left out on SDL ${4:-unknown}: its full screen is scaled"; exit 0; }
convert "$artifacts/menu.png" -depth 8 -channel R,B -evaluate and 63736 -channel G -evaluate and 64764 \
    +channel "$work/widened-menu.png" # in ImageMagick's 16-bit quantum: 0xF8F8, 0xFCFC
start_server desktop 1920x1080x24 -wr
export DISPLAY=$started_display
start_game
readonly picture_in_middle="-crop 1024x768+448+156 +repage" white='rgb(255,255,255)'
picture_view=$picture_in_middle colour_fuzz=3%
wait_for "menu on the desktop" 15 menu_shown
keep_screenshot desktop-menu
differing=$(compare -metric AE "$shot" "$work/widened-menu.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "$differing pixels of the desktop's menu differ from the 16-bit menu widened"
# Alt+Enter: a 1024x768 window on the root's white; the whole screen is looked at.
around_window() { (($(count "$white" 0 0 1920 1080) == 1920 * 1080 - 1024 * 768)); }
windowed_menu() { around_window && (($(count "$yellow" 0 0 1920 1080) > 700000)); }
windowed_mission() { around_window && (($(count "$yellow" 0 0 1920 1080) == 0 && $(count "$red" 0 0 1920 1080) > 200)); }
picture_view=''
press alt+Return
wait_for "menu in a window" 5 windowed_menu
keep_screenshot desktop-window
[[ $(convert "$shot" -fuzz "$colour_fuzz" -fill black +opaque "$yellow" -format '%@' info:) =~ \+([0-9]+)\+([0-9]+)$ ]] &&
    pointer_hidden $((BASH_REMATCH[1] + 10)) $((BASH_REMATCH[2] + 10)) || fail "the pointer shows over the window"
press 1
wait_for "shoot-down mission in a window" 10 windowed_mission
press Escape
wait_for "menu in a window after the mission" 8 windowed_menu
press alt+Return
picture_view=$picture_in_middle
covered() { menu_shown && [[ $(import -window root png:- | convert - -fuzz 0 -fill black +opaque "$white" \
    -fill white -opaque "$white" -precision 10 -format '%[fx:round(mean*w*h)]' info:) == 0 ]]; }
wait_for "menu covering the screen again" 5 covered
press 2
for ((tries = 0; tries < 100; ++tries)); do game_running || break; sleep 0.05; done
status=0
wait "$game_pid" || status=$?
game_pid=
((status == 0)) || fail "exit status $status after 2 on the desktop"

#!/usr/bin/env bash
# Usage: real_game.sh HELI_BINARY SOURCE_DIR ARTIFACT_DIR. The exact credits, the menu on screen, and
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
only_credits
(($(count "$yellow" 0 0 1024 768) + $(count "$blue" 0 0 1024 768) == 1024 * 768)) || fail "not only yellow and blue"
[[ $(convert "$shot" -fill white +opaque "$blue" -format '%@' info:) =~ \+40[0-9]\+30[0-9]$ ]] ||
    fail "the menu's text does not start at (400, 300)"
(($(count "$blue" 0 300 1024 35) > 0 && $(count "$blue" 0 335 1024 15) == 0 && $(count "$blue" 0 350 1024 35) > 0)) ||
    fail "the menu's lines are not at y 300 and 350"
open_shoot_down
keep_screenshot shoot-down
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

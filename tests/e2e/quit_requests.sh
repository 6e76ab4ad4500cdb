#!/usr/bin/env bash
# A quit request (SDL turns SIGTERM into one; SIGINT would be ignored, as it is
# for every background job of a script) during a mission ends only the
# mission, through the end screen; in the menu it ends the game with status 0.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_at_menu
open_shoot_down
leave_mission kill -TERM "$game_pid"
kill -TERM "$game_pid"
expect_clean_exit

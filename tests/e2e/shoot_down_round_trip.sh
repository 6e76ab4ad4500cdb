#!/usr/bin/env bash
# "1" opens the shoot-down mission; Escape ends it with the still end screen
# and "Verloren", which goes back to the menu; "2" then quits with status 0.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_at_menu
open_shoot_down
keep_screenshot shoot-down
leave_mission press Escape
quit_from_menu

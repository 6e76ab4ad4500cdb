#!/usr/bin/env bash
# Holding m, k and r together in the menu opens the rescue mission; Escape
# ends it with "Verloren" and goes back to the menu; "2" quits with status 0.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# "Gerettete:" at the top right and nothing at the shoot-down's "Zeit:".
rescue_shown()
{
    [[ $(count "$yellow" 0 0 1024 768) -eq 0 ]] && [[ $(count "$red" 850 30 120 20) -gt 50 ]] &&
        [[ $(count "$red" 50 30 80 20) -eq 0 ]]
}

start_at_menu
xdotool keydown m k r
wait_for "rescue mission" 10 rescue_shown
xdotool keyup m k r
keep_screenshot rescue
leave_mission press Escape
quit_from_menu

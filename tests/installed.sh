# shellcheck shell=bash
# Sourced by install_test.sh and package_test.sh once they set artifacts: the
# end-to-end helpers, and a run of an installed game from an unrelated folder.
: "${artifacts:?}"
heli_binary='set by play_installed' source_dir=$artifacts/elsewhere
# shellcheck source=tests/e2e/xsession.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e/xsession.sh"
rm -rf "$source_dir"
mkdir -p "$source_dir"

# play_installed COMMAND: the menu, mission 1, Escape, the menu again, then 2
# ends the game with status 0.
play_installed()
{
    heli_binary=$1
    start_display
    start_game
    open_shoot_down
    press Escape
    wait_for "menu after the mission" 15 menu_shown
    press 2
    local deadline=$(($(now_ms) + 5000)) status=0
    while game_running; do
        (($(now_ms) < deadline)) || fail "the game still runs 5 s after 2"
        sleep 0.1
    done
    wait "$game_pid" || status=$?
    game_pid=
    ((status == 0)) || fail "exit status $status after 2, expected 0"
}

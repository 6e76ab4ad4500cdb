# shellcheck shell=bash
# Sourced by each end-to-end case: `bash CASE.sh HELI_BINARY SOURCE_DIR ARTIFACT_DIR`.
# The case's screenshots, and on failure the game's output, are kept in
# ARTIFACT_DIR/CASE.
(($# == 3)) || { echo "usage: bash $0 HELI_BINARY SOURCE_DIR ARTIFACT_DIR" >&2; exit 2; }
heli_binary=$1 source_dir=$2 artifacts=$3/$(basename "$0" .sh)
# shellcheck source=tests/e2e/xsession.sh
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"
rm -rf "$artifacts"
mkdir -p "$artifacts"

# Keeps the screenshot under a name, for a look at every stage of a passing run.
keep_screenshot() { cp "$shot" "$artifacts/$1.png"; }

expect_only_credits_on_stdout()
{
    cmp -s <(printf 'Programming and Graphics \n   Brastolmein\n') "$work/game-stdout" ||
        fail "standard output is not exactly the credits"
}

# The game, told to quit, ends within 5 s with status 0, having printed
# nothing but the credits.
expect_clean_exit()
{
    local deadline=$(($(now_ms) + 5000)) status=0
    while game_running; do
        (($(now_ms) < deadline)) || fail "the game still runs 5 s after it was told to quit"
        sleep 0.05
    done
    wait "$game_pid" || status=$?
    game_pid=
    ((status == 0)) || fail "exit status $status, expected 0"
    expect_only_credits_on_stdout
}

# The start texts share the row of "Verloren" and go after two seconds of
# mission time.
start_text_gone() { [[ $(count "$red" 0 345 1024 35) -eq 0 ]]; }

# The end screen is one still picture with "Verloren", held for two seconds: a
# second look straight after the first finds the same pixels, which a running
# mission's moving fighters never leave.
still_lost_screen_shown()
{
    [[ $(count "$red" 445 345 120 40) -gt 100 ]] || return 1
    cp "$shot" "$work/first-look.png"
    take_screenshot
    compare -metric AE "$work/first-look.png" "$shot" null: 2>/dev/null
}

start_at_menu() { start_display; start_game; wait_for "menu" 15 menu_shown; }

quit_from_menu() { press 2; expect_clean_exit; }

# leave_mission COMMAND...: once the start text is gone, runs the command that
# ends the mission and waits for the end screen, then for the menu it returns to.
leave_mission()
{
    wait_for "start text to go" 10 start_text_gone
    "$@"
    wait_for "end screen with \"Verloren\"" 5 still_lost_screen_shown
    keep_screenshot lost
    wait_for "menu after the end screen" 8 menu_shown
    keep_screenshot menu-again
}

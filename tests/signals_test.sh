#!/usr/bin/env bash
# Usage: signals_test.sh HELI_BINARY SOURCE_DIR. The real game at its menu on the dummy display: a hangup
# ends it through its normal exit (status 0, the video shut down), also after its credits hit a closed pipe.
heli=$1 work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
cd "$2" && export SDL_VIDEODRIVER=dummy || exit 1
game() { sh -c 'echo $$ >"$0"; sleep 1; exec "$1"' "$work/pid" "$heli" 2>"$work/stderr"; echo $? >"$work/status"; }
hang_up() # DESCRIPTION: hangs up on the game once its menu is up
{
    sleep 3
    kill -HUP "$(cat "$work/pid")" && wait && [[ $(cat "$work/status") == 0 && ! -s "$work/stderr" ]] ||
        { echo "$1: status $(cat "$work/status"), stderr: $(cat "$work/stderr")" >&2; exit 1; }
}
game >"$work/stdout" &
hang_up "hangup at the menu"
cmp <(printf 'Programming and Graphics \n   Brastolmein\n') "$work/stdout" || exit 1
game | true &
hang_up "credits into a pipe without a reader"

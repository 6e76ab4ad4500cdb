#!/usr/bin/env bash
# Two games in turns of one second, each on an X display of its own, at the
# menu and in both missions: frames a second, the CPU share of one core, the
# CPU and the flip per frame, and the second's figures over the first's.
#
#   bash bench/turns.sh SECONDS PROBE LABEL_A DISPLAY_A GAME_A LABEL_B DISPLAY_B GAME_B
#
# PROBE is a build's libflip_probe.so, preloaded into both games (started from
# the source folder; LD_LIBRARY_PATH passes on to them). Each game is stopped
# (SIGSTOP) while the other runs, so a drift in the machine's speed falls on
# both alike; a round counts only when both slices show the screen measured,
# until each screen has SECONDS of each game. Which screen a game shows comes
# from the probe, so any X server will do: a mission blits its background
# every frame, the menu blits nothing without a colour key; a slice with a win
# or end screen's sleep in it does not count.
set -euo pipefail
if (($# != 8)); then
    echo "usage: bash $0 SECONDS PROBE LABEL_A DISPLAY_A GAME_A LABEL_B DISPLAY_B GAME_B" >&2
    exit 2
fi
seconds=$1 probe_library=$(realpath "$2")
labels=("$3" "$6") displays=("$4" "$7") games=("$(realpath "$5")" "$(realpath "$8")")
source_dir=$(cd "$(dirname "$0")/.." && pwd)
heli_binary=${games[0]} artifacts=${TMPDIR:-/tmp}/heli-turns
# shellcheck source=tests/e2e/xsession.sh
source "$source_dir/tests/e2e/xsession.sh"
game_pids=()
trap 'for pid in "${game_pids[@]}"; do kill -KILL "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; done; cleanup' EXIT

load_average() { cut -d' ' -f1-3 /proc/loadavg; }
# The probe's counters (bench/flip_probe.cpp): 0 flips, 2 flip ns, 3 CPU ns,
# 4 last flip's end, 6 long sleeps, 8 blits without a colour key.
read_probe() { od -An -t d8 -v "$work/probe$1" 2>/dev/null | tr -s ' \n' ' '; }

# count_for SIDE SECONDS: the counters' growth while the game runs for that
# long, left in counts.
count_for()
{
    local before after i
    read -r -a before <<<"$(read_probe "$1")"
    sleep "$2"
    read -r -a after <<<"$(read_probe "$1")"
    for i in "${!after[@]}"; do
        counts[i]=$((after[i] - before[i]))
    done
}

# on_screen WHAT: whether the last counts show that screen, without a long sleep.
on_screen()
{
    ((counts[0] > 0 && counts[6] == 0)) || return 1
    if [[ $1 == menu ]]; then ((counts[8] == 0)); else ((counts[8] > 0)); fi
}

keys() { DISPLAY=${displays[$1]} xdotool "${@:2}"; }
# press_on SIDE KEY...: the keys held as a finger would, for the game running.
press_on()
{
    keys "$1" keydown "${@:2}"
    sleep 0.25
    keys "$1" keyup "${@:2}"
}

# reach SIDE WHAT: brings the game to that screen and stops it there.
reach()
{
    local side=$1 what=$2 tries
    kill -CONT "${game_pids[side]}"
    for ((tries = 0; tries < 20; ++tries)); do
        count_for "$side" 0.3
        on_screen "$what" && break
        if ((counts[0] == 0 || counts[6] > 0)); then
            sleep 0.5 # an end screen's sleep
        elif ((counts[8] > 0)); then
            press_on "$side" Escape
        elif [[ $what == shoot-down ]]; then
            press_on "$side" 1
        else
            press_on "$side" m k r
        fi
    done
    kill -STOP "${game_pids[side]}"
    ((tries < 20)) || fail "${labels[side]} does not reach the $what"
}

declare -A sums=()
# measure WHAT: rounds of one slice of each game until each has SECONDS there.
measure()
{
    local what=$1 side kept i total
    local -a kept_counts=()
    while :; do
        read -r -a total <<<"${sums[0,$what]:-0 0 0 0 0}"
        ((total[4] < seconds * 1000000000)) || break
        kept=1
        for side in 0 1; do
            reach "$side" "$what"
            kill -CONT "${game_pids[side]}"
            sleep 0.2 # the frame the stop cut in two is not counted
            count_for "$side" 1
            kill -STOP "${game_pids[side]}"
            on_screen "$what" || { kept=0 && break; }
            kept_counts[side]="${counts[*]}"
        done
        ((kept)) || continue
        for side in 0 1; do
            read -r -a counts <<<"${kept_counts[side]}"
            read -r -a total <<<"${sums[$side,$what]:-0 0 0 0 0}"
            for i in 0 2 3 4; do
                total[i]=$((total[i] + counts[i]))
            done
            sums[$side,$what]="${total[*]}"
        done
    done
}

echo "machine: $(nproc) cores, load average $(load_average)"
for side in 0 1; do
    (cd "$source_dir" && DISPLAY=${displays[side]} HELI_FLIP_PROBE=$work/probe$side LD_PRELOAD=$probe_library \
        exec "${games[side]}" >"$work/game$side-stdout" 2>"$work/game$side-stderr") &
    game_pids[side]=$!
done
for side in 0 1; do
    deadline=$(($(now_ms) + 30000))
    until [[ $(read_probe "$side") =~ ^\ *[1-9] ]]; do
        (($(now_ms) < deadline)) || fail "${labels[side]} drew no frame within 30 s"
        sleep 0.1
    done
    kill -STOP "${game_pids[side]}"
done
printf '%-11s %-24s %8s %8s %10s %10s\n' screen game "frames/s" CPU "CPU/frame" "flip"
for what in menu shoot-down rescue; do
    measure "$what"
    for side in 0 1; do
        read -r -a total <<<"${sums[$side,$what]}"
        awk -v what="$what" -v label="${labels[side]}" -v f="${total[0]}" -v fl="${total[2]}" -v c="${total[3]}" \
            -v t="${total[4]}" 'BEGIN { printf "%-11s %-24s %8.1f %7.2f%% %7.0f us %7.0f us\n", what, label,
            f * 1e9 / t, 100 * c / t, c / f / 1000, fl / f / 1000 }'
    done
    read -r -a a <<<"${sums[0,$what]}"
    read -r -a b <<<"${sums[1,$what]}"
    awk -v what="$what" -v fa="${a[0]}" -v ca="${a[3]}" -v ta="${a[4]}" -v fb="${b[0]}" -v cb="${b[3]}" \
        -v tb="${b[4]}" 'BEGIN { printf "%-11s %-24s %8.2f %8.2f %10.2f\n", what, "second ÷ first",
        (fb / tb) / (fa / ta), (cb / tb) / (ca / ta), (cb / fb) / (ca / fa) }'
done
echo "load average after: $(load_average)"

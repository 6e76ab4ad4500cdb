#!/usr/bin/env bash
# Frame cost, pacing, start-up and memory of the real game under a private
# Xvfb, beside the floor (a full-screen blit and a paced flip, nothing else):
#
#   bash bench/run.sh BUILD_DIR [COMPAT_BUILD_DIR COMPAT_LIB_DIR]
#
# after building the targets heli, pacing_bench, floor_bench and flip_probe in
# each build folder. With a second build, everything runs again for it with
# COMPAT_LIB_DIR first on LD_LIBRARY_PATH (where tools/sdl12_compat.sh unpacks
# sdl12-compat), and the two are printed side by side. Figures only; they
# depend on the machine's load, which is printed with them.
if (($# != 1 && $# != 3)); then
    echo "usage: bash $0 BUILD_DIR [COMPAT_BUILD_DIR COMPAT_LIB_DIR]" >&2
    exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$1" && pwd)
heli_binary=$build_dir/heli
artifacts=$build_dir/bench/artifacts
# shellcheck source=tests/e2e/xsession.sh
source "$source_dir/tests/e2e/xsession.sh"

readonly window_seconds=10 start_runs=5 frames=2000 round_trips=50 start_delay_ms=300
probe_file=$work/probe

load_average() { cut -d' ' -f1-3 /proc/loadavg; }

# The probe's counters: flips, work ns, flip ns, CPU ns, last flip's end
# (monotonic ns), first flip's end (wall-clock ns), long sleeps.
read_probe() { od -An -t d8 -v "$probe_file" 2>/dev/null | tr -s ' \n' ' '; }

# run_probed PROGRAM...: starts a program of the build under test with the probe
# preloaded, from the source folder (data/ lives there), as game_pid.
run_probed()
{
    rm -f "$probe_file"
    cd "$source_dir"
    HELI_FLIP_PROBE=$probe_file LD_PRELOAD=$probe_library LD_LIBRARY_PATH=$library_dir \
        "$@" >"$work/game-stdout" 2>"$work/game-stderr" &
    game_pid=$!
}

stop_probed()
{
    kill -KILL "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
    game_pid=
}

resident_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$game_pid/status"; }

wait_for_flips()
{
    local deadline=$(($(now_ms) + 20000))
    until [[ $(read_probe) =~ ^\ *[1-9] ]]; do
        (($(now_ms) < deadline)) || fail "no frame within 20 s"
        sleep 0.05
    done
}

# measure WHAT SHOWN REOPEN: work and flip per frame and the CPU share of one
# core on a screen, summed over one-second slices until the window is full.
# Only slices with the screen (the command SHOWN) up at both ends count; when
# it is gone, REOPEN brings it back. Keeps the sums in figures[WHAT].
measure()
{
    local what=$1 shown=$2 reopen=$3 sums=(0 0 0 0 0) before after i
    while ((sums[4] < window_seconds * 1000000000)); do
        take_screenshot
        "$shown" || "$reopen"
        read -r -a before <<<"$(read_probe)"
        sleep 1
        take_screenshot
        "$shown" || continue
        read -r -a after <<<"$(read_probe)"
        # A win or end screen's long sleep fell into the slice.
        ((after[6] == before[6])) || continue
        for i in 0 1 2 3 4; do
            sums[i]=$((sums[i] + after[i] - before[i]))
        done
    done
    figures[$what]="${sums[*]}"
}

always_shown() { true; }
menu_lost() { fail "the menu went away on its own"; }

# "Gerettete:" at the top right and nothing at the shoot-down's "Zeit:".
rescue_shown() { [[ $(count "$yellow" 0 0 1024 768) -eq 0 &&
    $(count "$red" 850 30 120 20) -gt 50 && $(count "$red" 50 30 80 20) -eq 0 ]]; }

# Escape ends a mission still running (a still helicopter may live long).
back_to_menu()
{
    take_screenshot
    menu_shown || press Escape
    wait_for "menu" 15 menu_shown
}

open_rescue()
{
    back_to_menu
    xdotool keydown m k r
    wait_for "rescue mission" 10 rescue_shown
    xdotool keyup m k r
}

# Exec to the first menu frame, less the 300 ms busy wait, in ms, over
# start_runs starts: "median (all runs)".
start_up_figures()
{
    local runs=() probe started_ns
    for ((run = 0; run < start_runs; ++run)); do
        rm -f "$probe_file"
        cd "$source_dir"
        started_ns=${EPOCHREALTIME/./}000
        HELI_FLIP_PROBE=$probe_file LD_PRELOAD=$probe_library LD_LIBRARY_PATH=$library_dir \
            "$heli_binary" >"$work/game-stdout" 2>"$work/game-stderr" &
        game_pid=$!
        wait_for_flips
        read -r -a probe <<<"$(read_probe)"
        runs+=($(((probe[5] - started_ns) / 100000 - start_delay_ms * 10)))
        stop_probed
    done
    printf '%s\n' "${runs[@]}" | sort -n | awk '{ v[NR] = $1 / 10 } END {
        printf "%.1f (", v[int((NR + 1) / 2)]; for (i = 1; i <= NR; ++i) printf "%s%.1f", (i > 1 ? " " : ""), v[i]; printf ")" }'
}

# bench_build LABEL BUILD_DIR LIBRARY_DIR: every figure of one build, kept in
# results[LABEL,...] and printed as it comes.
bench_build()
{
    local label=$1 dir=$2
    library_dir=$3
    heli_binary=$dir/heli
    probe_library=$dir/bench/libflip_probe.so
    declare -gA figures=()
    echo "== $label: $dir${library_dir:+ with LD_LIBRARY_PATH=$library_dir}"
    echo "load average: $(load_average)"

    echo "-- pacing_bench $frames $round_trips (in-process: frame lengths, set-up, memory)"
    (cd "$source_dir" && LD_LIBRARY_PATH=$library_dir "$dir/bench/pacing_bench" "$frames" "$round_trips") |
        tee "$work/pacing-$label"

    echo "-- the game and the floor, ${window_seconds} s each (load average $(load_average))"
    run_probed "$heli_binary"
    wait_for "menu" 15 menu_shown
    measure menu menu_shown menu_lost
    # The helicopter sits still, so after the start protection a fighter's shot
    # or a landing animal may end the mission; only slices with the mission on
    # screen count, and it is started again.
    measure shoot-down shoot_down_shown open_shoot_down
    measure rescue rescue_shown open_rescue
    back_to_menu
    results[$label,rss]=$(resident_kb)
    stop_probed
    run_probed "$dir/bench/floor_bench"
    wait_for_flips
    measure floor always_shown false
    stop_probed

    local floor_sums what
    read -r -a floor_sums <<<"${figures[floor]}"
    # Work is wall time, so a busy machine's preemptions count in it; the CPU
    # time per frame does not, and its ratio to the floor's is the steadier.
    printf '%-11s %7s %10s %10s %8s %10s %11s %10s %10s\n' screen frames "work/frame" "flip" \
        CPU "CPU/frame" "work÷floor" "CPU÷floor" "per frame"
    for what in menu shoot-down rescue floor; do
        read -r -a sums <<<"${figures[$what]}"
        awk -v what="$what" -v f="${sums[0]}" -v w="${sums[1]}" -v fl="${sums[2]}" \
            -v c="${sums[3]}" -v t="${sums[4]}" -v ff="${floor_sums[0]}" \
            -v fw="${floor_sums[1]}" -v fc="${floor_sums[3]}" -v ft="${floor_sums[4]}" 'BEGIN {
            printf "%-11s %7d %7.0f us %7.0f us %7.2f%% %7.0f us %11.2f %10.2f %10.2f\n", what, f,
                w / f / 1000, fl / f / 1000, 100 * c / t, c / f / 1000, (w / f) / (fw / ff),
                (c / t) / (fc / ft), (c / f) / (fc / ff) }' |
            tee "$work/row-$label-$what"
    done
    echo "resident size at the menu after those missions: ${results[$label,rss]} kB"
    results[$label,start]=$(start_up_figures)
    echo "start-up, exec to the first menu frame beyond the ${start_delay_ms} ms wait," \
        "median of $start_runs: ${results[$label,start]} ms"
    echo "load average after $label: $(load_average)"
}

# column LABEL SCREEN FIELD: one figure of a row printed above.
column() { awk -v n="$3" '{ print $n }' "$work/row-$1-$2"; }

declare -A results=()
start_display
echo "machine: $(nproc) cores, load average $(load_average)"
bench_build classic "$build_dir" ""
if (($# == 3)); then
    bench_build compat "$(cd "$2" && pwd)" "$(cd "$3" && pwd)"
    echo "== side by side (load average $(load_average))"
    printf '%-34s %14s %14s\n' "" "classic" "sdl12-compat"
    for what in menu shoot-down rescue floor; do
        printf '%-34s %11s us %11s us\n' "flip, $what" "$(column classic "$what" 5)" \
            "$(column compat "$what" 5)"
    done
    for what in menu shoot-down rescue floor; do
        printf '%-34s %14s %14s\n' "CPU, $what" "$(column classic "$what" 7)" \
            "$(column compat "$what" 7)"
    done
    printf '%-34s %11s ms %11s ms\n' "start-up beyond the wait (median)" \
        "${results[classic,start]%% *}" "${results[compat,start]%% *}"
    printf '%-34s %11s kB %11s kB\n' "resident size at the menu" "${results[classic,rss]}" \
        "${results[compat,rss]}"
fi

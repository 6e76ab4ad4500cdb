#!/usr/bin/env bash
# Frame cost, pacing, start-up and memory of the real game under a private
# Xvfb, beside the floor (a full-screen blit and a paced flip, nothing else)
# on a second one:
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

readonly window_seconds=20 start_runs=5 frames=2000 round_trips=50 start_delay_ms=300
# A player's desktop: the game there takes turns with a copy of itself on the
# 1024x768x16 screen, for this long on each of its screens.
readonly desktop_screen=1920x1080x24 desktop_seconds=10
probe_file=$work/game floor_probe_file=$work/floor # their logs: game-stdout and so on
floor_pid='' desktop_pid='' sixteen_pid=''

load_average() { cut -d' ' -f1-3 /proc/loadavg; }

# The probe's counters: flips, work ns, flip ns, CPU ns, last flip's end
# (monotonic ns), first flip's end (wall-clock ns), long sleeps; then ns in
# draining events, plain blits, keyed blits, fills, and rendering texts and
# freeing surfaces.
read_probe() { od -An -t d8 -v "${1:-$probe_file}" 2>/dev/null | tr -s ' \n' ' '; }

# run_probed PROBE_FILE PROGRAM...: starts a program of the build under test
# with the probe preloaded, from the source folder (data/ lives there); its
# process id is left in probed_pid.
run_probed()
{
    local file=$1
    shift
    rm -f "$file"
    cd "$source_dir"
    HELI_FLIP_PROBE=$file LD_PRELOAD=$probe_library LD_LIBRARY_PATH=$library_dir \
        "$@" >"$file-stdout" 2>"$file-stderr" &
    probed_pid=$!
}

stop_probed()
{
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# The game's copies and the floor, should the script end early.
stop_floor()
{
    local pid
    for pid in "$floor_pid" "$desktop_pid" "$sixteen_pid"; do
        [[ -z $pid ]] || stop_probed "$pid"
    done
}
trap 'stop_floor; cleanup' EXIT

resident_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$game_pid/status"; }

wait_for_flips()
{
    local deadline=$(($(now_ms) + 20000))
    until [[ $(read_probe "$1") =~ ^\ *[1-9] ]]; do
        (($(now_ms) < deadline)) || fail "no frame within 20 s"
        sleep 0.05
    done
}

# slice PID PROBE_FILE: lets a stopped program run alone for a second and stops
# it again. The counters are read a fifth of a second after it goes on, so the
# frame its stop cut in two is not counted. They are left in slice_counts.
slice()
{
    local before after i
    kill -CONT "$1"
    sleep 0.2
    read -r -a before <<<"$(read_probe "$2")"
    sleep 1
    read -r -a after <<<"$(read_probe "$2")"
    kill -STOP "$1"
    for i in "${!after[@]}"; do
        slice_counts[i]=$((after[i] - before[i]))
    done
}

# add_slice NAME: adds the last slice's counters to figures[NAME] (flips, work,
# flip, CPU, wall time, 0, 0, then the times inside the calls).
add_slice()
{
    local sums i
    read -r -a sums <<<"${figures[$1]:-0 0 0 0 0 0 0 0 0 0 0 0}"
    for i in 0 1 2 3 4 7 8 9 10 11; do
        sums[i]=$((sums[i] + slice_counts[i]))
    done
    figures[$1]="${sums[*]}"
}

# measure WHAT SHOWN REOPEN: work and flip per frame and the CPU share of one
# core on a screen of the game, over one-second slices until the window is full,
# each followed by a slice of the floor: the two take turns, so a drift in the
# machine's speed falls on both alike. A game slice counts only with the screen
# (the command SHOWN) up at both ends and no win or end screen's long sleep in
# it; when the screen is gone, REOPEN brings it back. The sums are kept in
# figures[WHAT] and, for the floor's slices beside them, figures[floor-WHAT].
measure()
{
    local what=$1 shown=$2 reopen=$3 sums
    while :; do
        read -r -a sums <<<"${figures[$what]:-0 0 0 0 0}"
        ((sums[4] < window_seconds * 1000000000)) || break
        take_screenshot
        "$shown" || { kill -CONT "$game_pid" && "$reopen"; }
        slice "$game_pid" "$probe_file"
        take_screenshot
        # A slice wholly inside a win or end screen's sleep has no frames.
        "$shown" && ((slice_counts[0] > 0 && slice_counts[6] == 0)) || continue
        add_slice "$what"
        slice "$floor_pid" "$floor_probe_file"
        add_slice "floor-$what"
        add_slice floor
    done
}

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

# as_game desktop|sixteen: points the screen checks, the keys and the slices at
# the game on the desktop or at its copy on the 16-bit screen.
as_game()
{
    if [[ $1 == desktop ]]; then
        DISPLAY=$desktop_display game_pid=$desktop_pid probe_file=$work/desktop
        picture_view=$desktop_view colour_fuzz=$desktop_fuzz
    else
        DISPLAY=$sixteen_display game_pid=$sixteen_pid probe_file=$work/game
        picture_view='' colour_fuzz=0
    fi
}

# measure_desktop WHAT SHOWN REOPEN: like measure, for the game on the desktop
# and its copy on the 16-bit screen in turns; a round counts only when both
# slices do. The sums go to figures[desktop-WHAT] and figures[sixteen-WHAT].
measure_desktop()
{
    local what=$1 shown=$2 reopen=$3 sums side kept
    local -A counts=()
    while :; do
        read -r -a sums <<<"${figures[desktop-$what]:-0 0 0 0 0}"
        ((sums[4] < desktop_seconds * 1000000000)) || break
        kept=1
        for side in desktop sixteen; do
            as_game "$side"
            take_screenshot
            "$shown" || { kill -CONT "$game_pid" && "$reopen"; }
            slice "$game_pid" "$probe_file"
            take_screenshot
            "$shown" && ((slice_counts[0] > 0 && slice_counts[6] == 0)) || { kept=0 && break; }
            counts[$side]="${slice_counts[*]}"
        done
        ((kept)) || continue
        for side in desktop sixteen; do
            read -r -a slice_counts <<<"${counts[$side]}"
            add_slice "$side-$what"
        done
    done
}

# desktop_figures LABEL: CPU and flip of the game on the desktop beside its copy
# on the 16-bit screen, at the menu and in both missions.
desktop_figures()
{
    echo "-- the desktop: the game on $desktop_screen and on 1024x768x16 in turns of one second," \
        "${desktop_seconds} s of each screen (load average $(load_average))"
    # Classic SDL shows the picture 1:1 in the middle of a larger screen, with a
    # 16-bit picture's 255 as 248; sdl12-compat scales it to the screen's height
    # and smooths it, which blends the letters' edges.
    if [[ $1 == classic ]]; then
        desktop_view="-crop 1024x768+$(((desktop_width - 1024) / 2))+$(((desktop_height - 768) / 2)) +repage"
        desktop_fuzz=3%
    else
        desktop_view="-crop $((desktop_height * 4 / 3))x${desktop_height}+$(((desktop_width - desktop_height * 4 / 3) / 2))+0 +repage -resize 1024x768!"
        desktop_fuzz=10%
    fi
    DISPLAY=$desktop_display run_probed "$work/desktop" "$heli_binary"
    desktop_pid=$probed_pid
    DISPLAY=$sixteen_display run_probed "$work/game" "$heli_binary"
    sixteen_pid=$probed_pid
    for side in desktop sixteen; do
        as_game "$side"
        wait_for_flips "$probe_file"
        wait_for "menu" 15 menu_shown
        kill -STOP "$game_pid"
    done
    measure_desktop menu menu_shown menu_lost
    measure_desktop shoot-down shoot_down_shown open_shoot_down
    measure_desktop rescue rescue_shown open_rescue
    stop_probed "$desktop_pid"
    stop_probed "$sixteen_pid"
    as_game sixteen
    game_pid='' desktop_pid='' sixteen_pid=''
    printf '%-11s %7s %10s %8s %7s %10s %8s %10s %10s\n' screen frames "flip" CPU 16-bit: "flip" CPU \
        "CPU ratio" "flip ratio"
    local what desktop sixteen
    for what in menu shoot-down rescue; do
        read -r -a desktop <<<"${figures[desktop-$what]}"
        read -r -a sixteen <<<"${figures[sixteen-$what]}"
        awk -v what="$what" -v f="${desktop[0]}" -v fl="${desktop[2]}" -v c="${desktop[3]}" -v t="${desktop[4]}" \
            -v sf="${sixteen[0]}" -v sfl="${sixteen[2]}" -v sc="${sixteen[3]}" -v st="${sixteen[4]}" 'BEGIN {
            printf "%-11s %7d %7.0f us %7.2f%% %7d %7.0f us %7.2f%% %10.2f %10.2f\n", what, f, fl / f / 1000,
                100 * c / t, sf, sfl / sf / 1000, 100 * sc / st, (c / t) / (sc / st), (fl / f) / (sfl / sf) }' |
            tee "$work/desktop-$1-$what"
    done
}

# Exec to the end of the game's first flip of the menu, less the 300 ms busy
# wait, in ms, over start_runs starts: "median (all runs)".
start_up_figures()
{
    local runs=() probe started_ns
    for ((run = 0; run < start_runs; ++run)); do
        started_ns=${EPOCHREALTIME/./}000
        run_probed "$probe_file" "$heli_binary"
        game_pid=$probed_pid
        # Looking at the counters twenty times a second spawns processes that
        # slowed the very start they measured by 10 to 25 ms; the probe keeps
        # the first flip's time, so one late look is enough.
        sleep 1
        wait_for_flips "$probe_file"
        read -r -a probe <<<"$(read_probe)"
        runs+=($(((probe[5] - started_ns) / 100000 - start_delay_ms * 10)))
        stop_probed "$game_pid"
        game_pid=
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

    results[$label,start]=$(start_up_figures)
    echo "start-up, exec to the end of the first menu frame's flip beyond the ${start_delay_ms} ms wait," \
        "median of $start_runs: ${results[$label,start]} ms"

    echo "-- the game and the floor in turns of one second, ${window_seconds} s of each screen" \
        "(load average $(load_average))"
    run_probed "$floor_probe_file" env DISPLAY="$floor_display" "$dir/bench/floor_bench"
    floor_pid=$probed_pid
    run_probed "$probe_file" "$heli_binary"
    game_pid=$probed_pid
    wait_for_flips "$floor_probe_file"
    kill -STOP "$floor_pid"
    wait_for "menu" 15 menu_shown
    kill -STOP "$game_pid"
    measure menu menu_shown menu_lost
    # The helicopter sits still, so after the start protection a fighter's shot
    # or a landing animal may end the mission; only slices with the mission on
    # screen count, and it is started again.
    measure shoot-down shoot_down_shown open_shoot_down
    measure rescue rescue_shown open_rescue
    kill -CONT "$game_pid"
    back_to_menu
    results[$label,rss]=$(resident_kb)
    stop_probed "$game_pid"
    stop_probed "$floor_pid"
    game_pid='' floor_pid='' desktop_pid='' sixteen_pid=''

    # Each screen's ratios are to the floor's slices that took turns with it.
    # Work is wall time, so a busy machine's preemptions count in it; the CPU
    # time per frame does not, and its ratio to the floor's is the steadier.
    local what sums floor_sums
    printf '%-11s %7s %10s %10s %8s %10s %11s %10s %10s\n' screen frames "work/frame" "flip" \
        CPU "CPU/frame" "work÷floor" "CPU÷floor" "per frame"
    for what in menu shoot-down rescue floor; do
        read -r -a sums <<<"${figures[$what]}"
        read -r -a floor_sums <<<"${figures[floor-$what]:-${figures[floor]}}"
        awk -v what="$what" -v f="${sums[0]}" -v w="${sums[1]}" -v fl="${sums[2]}" \
            -v c="${sums[3]}" -v t="${sums[4]}" -v ff="${floor_sums[0]}" \
            -v fw="${floor_sums[1]}" -v fc="${floor_sums[3]}" -v ft="${floor_sums[4]}" 'BEGIN {
            printf "%-11s %7d %7.0f us %7.0f us %7.2f%% %7.0f us %11.2f %10.2f %10.2f\n", what, f,
                w / f / 1000, fl / f / 1000, 100 * c / t, c / f / 1000, (w / f) / (fw / ff),
                (c / t) / (fc / ft), (c / f) / (fc / ff) }' |
            tee "$work/row-$label-$what"
    done
    echo "where a frame's work goes, us per frame (time inside these calls; the rest is the game's own):"
    printf '%-11s %10s %8s %8s %8s %8s %8s %8s\n' screen work events blits keyed fills texts rest
    for what in menu shoot-down rescue floor; do
        read -r -a sums <<<"${figures[$what]}"
        awk -v what="$what" -v f="${sums[0]}" -v w="${sums[1]}" -v e="${sums[7]}" -v b="${sums[8]}" \
            -v k="${sums[9]}" -v l="${sums[10]}" -v x="${sums[11]}" 'BEGIN {
            printf "%-11s %7.0f us %8.0f %8.0f %8.0f %8.0f %8.0f %8.0f\n", what, w / f / 1000, e / f / 1000,
                b / f / 1000, k / f / 1000, l / f / 1000, x / f / 1000, (w - e - b - k - l - x) / f / 1000 }'
    done
    echo "resident size at the menu after those missions: ${results[$label,rss]} kB"
    desktop_figures "$label"
    echo "load average after $label: $(load_average)"
}

# column LABEL SCREEN FIELD: one figure of a row printed above.
column() { awk -v n="$3" '{ print $n }' "$work/row-$1-$2"; }

declare -A results=()
slice_counts=()
start_display
sixteen_display=$DISPLAY
# The floor runs on an X server of its own, so that it can take turns with the
# game without the two windows covering each other.
start_server floor-xvfb
floor_display=$started_display
# The desktop has a window manager, as a player's has: sdl12-compat's full
# screen needs one to cover the screen.
start_server desktop-xvfb "$desktop_screen"
desktop_display=$started_display
desktop_width=${desktop_screen%%x*} desktop_height=${desktop_screen#*x}
desktop_height=${desktop_height%x*}
DISPLAY=$desktop_display openbox >"$work/openbox-log" 2>&1 &
xvfb_pids+=("$!") # stopped with the servers
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
    for what in menu shoot-down rescue; do
        printf '%-34s %14s %14s\n' "desktop ÷ 16-bit: CPU, flip, $what" \
            "$(awk '{ print $9 ", " $10 }' "$work/desktop-classic-$what")" \
            "$(awk '{ print $9 ", " $10 }' "$work/desktop-compat-$what")"
    done
    printf '%-34s %11s ms %11s ms\n' "start-up beyond the wait (median)" \
        "${results[classic,start]%% *}" "${results[compat,start]%% *}"
    printf '%-34s %11s kB %11s kB\n' "resident size at the menu" "${results[classic,rss]}" \
        "${results[compat,rss]}"
fi

#!/usr/bin/env bash
# Start-up measurement: the editor against a minimal JUCE window program built
# with the same flags (tests/benchmarks/MinimalWindow.cpp), N runs of each
# (default 10, after one warm-up run each), under an Xvfb of its own.
#
#   first paint: wall time from launching the process to the end of its first
#                painted frame (TRAVIK_QUIT_AFTER_FIRST_PAINT=1 makes both
#                programs print that moment and quit)
#   peak memory: maximum resident set size of the whole run (/usr/bin/time)
#
# Prints the medians and the ratios editor / minimal; the goal is below 1.2 for
# both. The editor runs with the system's MIDI service unless TRAVIK_MIDI says
# otherwise, and with its settings in a temporary folder.
#
# usage: scripts/startup-bench.sh [N]
#   TRAVIK_BUILD_DIR        build folder (default build)
#   TRAVIK_BENCH_NO_BUILD=1 use the programs as they are built
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
build_dir=${TRAVIK_BUILD_DIR:-build}
editor="$build_dir/app/shell/DalviVPlusTravik"
minimal="$build_dir/tests/benchmarks/travik_minimal_window"

if [ "${TRAVIK_BENCH_NO_BUILD:-0}" != 1 ]; then
    bash scripts/install-deps.sh
    [ -f "$build_dir/CMakeCache.txt" ] || bash scripts/build.sh
    cmake --build "$build_dir" --target DalviVPlusTravik travik_minimal_window
fi

for program in "$editor" "$minimal"; do
    [ -x "$program" ] || { echo "not built: $program" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/travik-startup.XXXXXX")
xvfb_pid=""

source scripts/lib/x11.sh

cleanup()
{
    stop_processes $xvfb_pid
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb "$work"

if lslocks -n -o PATH 2>/dev/null | grep -q 'juceAppLock_Dalvi V+ Travik'; then
    echo "another Dalvi V+ Travik is running on this machine; it would take the editor's starts" >&2
    exit 1
fi

mkdir -p "$work/settings"
export TRAVIK_SETTINGS_DIR="$work/settings"

# Runs program $2 once and appends "<first paint in µs> <max RSS in KiB>" to $work/$1.
measure()
{
    local name=$1 program=$2 launched painted
    launched=$EPOCHREALTIME
    if ! TRAVIK_QUIT_AFTER_FIRST_PAINT=1 timeout 60 /usr/bin/time -f %M -o "$work/rss" "$program" \
            >"$work/out" 2>"$work/err"; then
        echo "$name failed:" >&2
        cat "$work/out" "$work/err" >&2
        exit 1
    fi
    painted=$(awk '$1 == "first-paint-us" { print $2; exit }' "$work/out")
    [ -n "$painted" ] || { echo "$name printed no first paint" >&2; cat "$work/out" "$work/err" >&2; exit 1; }
    echo "$((painted - ${launched//[.,]/})) $(tail -n1 "$work/rss")" >>"$work/$name"
}

median() # column file
{
    cut -d' ' -f"$1" "$2" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "display $DISPLAY, $runs runs each"
measure warmup "$editor"
measure warmup "$minimal"
for ((i = 1; i <= runs; ++i)); do
    measure editor "$editor"
    measure minimal "$minimal"
done

editor_us=$(median 1 "$work/editor");   minimal_us=$(median 1 "$work/minimal")
editor_kb=$(median 2 "$work/editor");   minimal_kb=$(median 2 "$work/minimal")

awk -v eu="$editor_us" -v mu="$minimal_us" -v ek="$editor_kb" -v mk="$minimal_kb" 'BEGIN {
    printf "%-10s %18s %18s\n", "", "first paint (ms)", "peak memory (MiB)"
    printf "%-10s %18.1f %18.1f\n", "editor", eu / 1000, ek / 1024
    printf "%-10s %18.1f %18.1f\n", "minimal", mu / 1000, mk / 1024
    printf "%-10s %18.2f %18.2f\n", "ratio", eu / mu, ek / mk
    printf "goal: ratios below 1.2 -> %s\n", (eu / mu < 1.2 && ek / mk < 1.2) ? "met" : "NOT met"
}'

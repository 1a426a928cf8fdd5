#!/usr/bin/env bash
# Plays the same clip for 10 s in korvel and in plain mpv with the same video output (the
# OpenGL renderer), alternating, three times each, and prints their CPU time, peak memory
# and the ratios. Usage: playback-vs-mpv.sh BUILD_DIR CLIP
set -euo pipefail
build=$1
clip=$2
seconds=10
rounds=3

runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT

# Prints "cpu_seconds peak_kib" of one run.
measure() {
    /usr/bin/time -f '%U %S %M' -o "$runtime/time" timeout -s TERM "$seconds" "$@" \
        >/dev/null 2>&1 || true
    tail -n 1 "$runtime/time" | awk '{ printf "%.3f %d\n", $1 + $2, $3 }'
}

korvel_cpu=0 korvel_mem=0 mpv_cpu=0 mpv_mem=0
for round in $(seq 1 "$rounds"); do
    read -r cpu mem < <(XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb measure "$build/korvel" "$clip")
    echo "round $round korvel: ${cpu} s CPU, ${mem} KiB peak"
    korvel_cpu=$(awk -v a="$korvel_cpu" -v b="$cpu" 'BEGIN { print a + b }')
    korvel_mem=$((mem > korvel_mem ? mem : korvel_mem))
    read -r cpu mem < <(measure mpv --no-config --vo=gpu --gpu-sw=yes --really-quiet "$clip")
    echo "round $round mpv:    ${cpu} s CPU, ${mem} KiB peak"
    mpv_cpu=$(awk -v a="$mpv_cpu" -v b="$cpu" 'BEGIN { print a + b }')
    mpv_mem=$((mem > mpv_mem ? mem : mpv_mem))
done
awk -v kc="$korvel_cpu" -v mc="$mpv_cpu" -v km="$korvel_mem" -v mm="$mpv_mem" -v n="$rounds" 'BEGIN {
    printf "korvel: %.3f s CPU per %d s of play, %d KiB peak\n", kc / n, '"$seconds"', km
    printf "mpv:    %.3f s CPU per %d s of play, %d KiB peak\n", mc / n, '"$seconds"', mm
    printf "%-58s %8.2fx  (goal: within 1.15)\n", "CPU time, korvel vs plain mpv", kc / mc
    printf "%-58s %8.2fx  (goal: within 1.2)\n", "peak memory, korvel vs plain mpv", km / mm
}'

#!/usr/bin/env bash
# Plays the same clip for 10 s in korvel and in plain mpv, alternating, three rounds, and
# prints CPU time, peak memory and the ratios. Korvel draws with OpenGL on a hardware
# renderer and draws frames itself on a software one (as here, without a GPU), so mpv runs
# twice: with its x11 output, which also draws on the processor, and with whatever output it
# picks by itself. Usage: playback-vs-mpv.sh BUILD_DIR CLIP
set -euo pipefail
build=$1
clip=$2
seconds=10
rounds=3

runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT

# Prints "cpu_seconds peak_kib" of one run of the command.
measure() {
    /usr/bin/time -f '%U %S %M' -o "$runtime/time" timeout -s TERM "$seconds" "$@" \
        >/dev/null 2>&1 || true
    tail -n 1 "$runtime/time" | awk '{ printf "%.3f %d\n", $1 + $2, $3 }'
}

declare -A cpu mem
players=(korvel mpv-x11 mpv-default)
run() {
    case $1 in
    korvel) XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb measure "$build/korvel" "$clip" ;;
    mpv-x11) measure mpv --no-config --really-quiet --vo=x11 "$clip" ;;
    mpv-default) measure mpv --no-config --really-quiet "$clip" ;;
    esac
}

for round in $(seq 1 "$rounds"); do
    for player in "${players[@]}"; do
        read -r c m < <(run "$player")
        echo "round $round $player: ${c} s CPU, ${m} KiB peak"
        cpu[$player]=$(awk -v a="${cpu[$player]:-0}" -v b="$c" 'BEGIN { print a + b }')
        mem[$player]=$((m > ${mem[$player]:-0} ? m : ${mem[$player]:-0}))
    done
done
for player in "${players[@]}"; do
    awk -v c="${cpu[$player]}" -v m="${mem[$player]}" -v n="$rounds" -v p="$player" \
        'BEGIN { printf "%-12s %.3f s CPU per '"$seconds"' s of play, %d KiB peak\n", p, c / n, m }'
done
for other in mpv-x11 mpv-default; do
    awk -v kc="${cpu[korvel]}" -v oc="${cpu[$other]}" -v km="${mem[korvel]}" -v om="${mem[$other]}" \
        -v o="$other" 'BEGIN {
        printf "%-58s %8.2fx  (goal: within 1.15)\n", "CPU time, korvel vs " o, kc / oc
        printf "%-58s %8.2fx  (goal: within 1.2)\n", "peak memory, korvel vs " o, km / om
    }'
done

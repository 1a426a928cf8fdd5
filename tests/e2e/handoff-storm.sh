#!/usr/bin/env bash
# A hundred second starts at once, each with a clip of its own, against a player that plays:
# every start ends with 0 and its clip taken, or with a clear failure on stderr; the player
# lives on, shows no error box, and plays the clip it took last. Then connections that say
# nothing or garbage hold up no real start. Prints how many were taken, how many failed, how
# long the slowest start took, and the starts beside idle connections.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
source "$(dirname "$0")/support/storm.sh"
e2e_init "$1"

starts=100
clips=$(make_titled_clips storm "$starts" 30) || fail "cannot make the clips"

start_korvel korvel.log "$build/test-media/e2e/storm-base.avi"
pid=$!
panel=$(panel_of "$pid") || exit 1
window_named 'Storm clip 000' >/dev/null || exit 1

# Each start writes its exit code and its start and end times (ms) to $runtime/start-N.
storm_start() {
    local n=$1 began code
    began=$(now_ms)
    timeout 60 "$build/korvel" "$clips/storm-$n.avi" >"$runtime/out-$n" 2>"$runtime/err-$n"
    code=$?
    echo "$code $began $(now_ms)" >"$runtime/start-$n"
}
storm_pids=()
for n in $(seq -f %03g 1 "$starts"); do
    storm_start "$n" &
    storm_pids+=($!)
done
for storm_pid in "${storm_pids[@]}"; do wait "$storm_pid"; done

# Which hand-offs the player took, and in what order, are events its state does not keep:
# its log tells them.
taken=0 failed=0 worst=0 first_began="" last_ended=0
for n in $(seq -f %03g 1 "$starts"); do
    read -r code began ended <"$runtime/start-$n" || fail "start $n left no result"
    took=$((ended - began))
    [ "$took" -gt "$worst" ] && worst=$took
    [ -z "$first_began" ] || [ "$began" -lt "$first_began" ] && first_began=$began
    [ "$ended" -gt "$last_ended" ] && last_ended=$ended
    received=$(grep -cF "hand-off received: $clips/storm-$n.avi" "$runtime/korvel.log")
    if [ "$code" = 0 ]; then
        taken=$((taken + 1))
        [ "$received" = 1 ] || fail "start $n exited 0, but the player took its clip $received times"
        [ ! -s "$runtime/err-$n" ] || fail "start $n exited 0 and said: $(cat "$runtime/err-$n")"
    else
        failed=$((failed + 1))
        grep -q '^korvel: ' "$runtime/err-$n" ||
            fail "start $n exited $code without saying why: '$(cat "$runtime/err-$n")'"
        echo "start $n failed ($code): $(cat "$runtime/err-$n")"
        [ "$received" = 0 ] || fail "start $n failed, but the player took its clip"
    fi
done
echo "handoff-storm: $starts starts, $taken taken, $failed failed clearly;" \
    "the slowest took $worst ms, all of them $((last_ended - first_began)) ms"

kill -0 "$pid" 2>/dev/null || fail "the player ended during the storm"
[ "$taken" -ge 1 ] || fail "no start was taken"
last=$(grep -o 'hand-off received: .*/storm-[0-9]*\.avi$' "$runtime/korvel.log" | tail -n 1)
number=${last##*storm-}
number=${number%.avi}
[ -n "$number" ] || fail "the player's log names no clip taken"
window_named "Storm clip $number" >/dev/null || fail "the clip taken last, $number, is not shown"
timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null || fail "cannot bring the panel up"
clock_runs "$panel" || fail "the clip taken last, $number, does not play"
[ "$(xdotool getwindowname "$(xdotool search --onlyvisible --name "^Storm clip $number\$" | head -n 1)")" = \
    "Storm clip $number" ] || fail "another clip replaced the one taken last"
boxes=$(dialogs_of "$pid")
[ -z "$boxes" ] || fail "the storm left $(echo "$boxes" | wc -l) dialogs open"

# A second start while twenty connections to the player's endpoint say nothing or garbage
# and hold on: it takes no longer than one without them, give or take 100 ms (a receiver
# that waited for them would take its read timeout, seconds). The quickest of three starts
# each, so that a start held up by the busy machine does not count.
timed_starts() {
    local n began took quickest=""
    for n in "$@"; do
        began=$(now_ms)
        timeout 30 "$build/korvel" "$clips/storm-$n.avi" >/dev/null 2>&1 || fail "start $n failed"
        took=$(($(now_ms) - began))
        [ -z "$quickest" ] || [ "$took" -lt "$quickest" ] && quickest=$took
    done
    echo "$quickest"
}
alone=$(timed_starts 001 002 003)
python3 - "$XDG_RUNTIME_DIR/Korvel2.TForm3" "$runtime/holding" <<'PY' &
import os, socket, sys, time
held = []
for n in range(20):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.connect(sys.argv[1])
    s.send(b"" if n % 2 else b"\x7fgarbage, no request")
    held.append(s)
open(sys.argv[2], "w").close()
time.sleep(8)
PY
holder=$!
wait_within 10 test -e "$runtime/holding" || fail "cannot hold connections to the player"
beside=$(timed_starts 004 005 006)
wait "$holder"
echo "handoff-storm: a second start took $alone ms alone, $beside ms beside 20 idle connections"
[ "$beside" -le $((alone + 100)) ] ||
    fail "idle connections delayed a second start by $((beside - alone)) ms"
kill -0 "$pid" 2>/dev/null || fail "the player ended after the idle connections"

kill -TERM "$pid"
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"
echo "handoff-storm: passed"

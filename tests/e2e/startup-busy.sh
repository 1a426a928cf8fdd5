#!/usr/bin/env bash
# A second start while the running player still shows the error box for its own clip (which
# does not exist): the player takes the handed-over clip at once and plays it, and the second
# start returns 0 only once it has.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"

clip=$(make_test_clip busy.avi "Taken while busy" 20) || fail "ffmpeg could not make the clip"

start_korvel first.log "$runtime/no such clip.avi"
first=$!
box=$(error_box_window) || exit 1

timeout 20 "$build/korvel" "$clip" >"$runtime/second.log" 2>&1
code=$?
[ "$code" = 0 ] || fail "the second start exited with $code: $(cat "$runtime/second.log")"
# The player comes onto the session bus only once its start-up is through, which the box of
# its own clip holds up: its log tells what it took meanwhile.
grep -qF "hand-off received: $clip" "$runtime/first.log" ||
    fail "the running player had not taken the clip when the second start returned"
playback=$(window_named 'Taken while busy') || exit 1

# The box is still the first start's own; closing it leaves the handed-over clip playing.
xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null ||
    xdotool key --window "$box" Return
wait_within 10 error_box_gone ||
    fail "the error box did not close"
[ "$(xdotool getwindowname "$playback")" = "Taken while busy" ] ||
    fail "the handed-over clip is no longer the one shown"

kill -TERM "$first"
wait_exit "$first" 10
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"
echo "startup-busy: passed"

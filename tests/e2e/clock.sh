#!/usr/bin/env bash
# The panel's clock, the position display, as a user watches it: it runs while the clip
# plays and stands after pause and stop, from the buttons and the keys alike; it runs again
# after play; a press on the position track seeks; play after a stop goes on from where the
# clip was, not from its beginning.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
skin="$(cd "$(dirname "$0")/../../resources" && pwd)/Skin.ini"

clip=$(make_test_clip clock-60s.avi "Clock clip" 60) || fail "ffmpeg could not make the clip"

start_korvel korvel.log "$clip"
pid=$!

panel=$(panel_window) || exit 1
window_named "Clock clip" >/dev/null || exit 1
rest_pointer "$pid"

# Fault: the clock does not run while the clip plays.
clock_runs "$panel" || fail "the clock does not run while the clip plays"

# Fault: pause leaves the clock running, or play does not continue after a pause.
click BUTTON_PAUSE
wait_within 10 clock_holds "$panel" 1.5 || fail "the clock runs on after the pause button"
panel_keys ctrl+p
clock_runs "$panel" || fail "the clock stands after Ctrl+P"
panel_keys ctrl+a
wait_within 10 clock_holds "$panel" 1.5 || fail "the clock runs on after Ctrl+A"

# Fault: a press on the position track at its middle does not seek there.
press_position_track "$panel" "$skin" 50 || fail "a press on the position track did not move the clock"
rest_pointer "$pid"
wait_within 10 clock_holds "$panel" 1.5 || fail "the clock runs after a seek while paused"
cp "$runtime/clock-held.rgb" "$runtime/middle.rgb"
# The thumb, near the start of the track before, has left its first 100 pixels for the rest.
read -r tx ty tlength _ <<<"$(skin_rect "$skin" TRACKBAR_POS)"
[ "$(compare_pixels "$runtime/before-press.rgb" "$runtime/middle.rgb" 273 "$tx" "$ty" 100 11)" \
    = different ] || fail "after the seek to the middle the thumb is still near the start"
[ "$(compare_pixels "$runtime/before-press.rgb" "$runtime/middle.rgb" 273 $((tx + 100)) "$ty" \
    $((tlength - 100)) 11)" = different ] || fail "after the seek to the middle no thumb is there"
# With the thumb at the middle or later, the first 100 pixels of the track are bare; from the
# start of the clip the thumb takes 26 s to leave them.
bare_start() {
    grab_window "$panel" "$runtime/track.rgb" &&
        [ "$(compare_pixels "$runtime/middle.rgb" "$runtime/track.rgb" 273 \
            "$tx" "$ty" 100 11)" = same ]
}

# Fault: stop leaves the clock running, or play after it starts the clip from the beginning.
click BUTTON_STOP
wait_within 10 clock_holds "$panel" 1.5 || fail "the clock runs on after the stop button"
click BUTTON_PLAY
clock_runs "$panel" || fail "the play button after the stop button did not start the clip again"
wait_within 5 bare_start || fail "play after stop began the clip again near its start"

# Fault: Ctrl+S leaves the clock running, or Ctrl+P does not start the clip again.
panel_keys ctrl+s
wait_within 10 clock_holds "$panel" 1.5 || fail "the clock runs on after Ctrl+S"
panel_keys ctrl+p
clock_runs "$panel" || fail "Ctrl+P after Ctrl+S did not start the clip again"
wait_within 5 bare_start || fail "Ctrl+P after Ctrl+S began the clip again near its start"

kill -TERM "$pid"
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"
echo "clock: passed"

#!/usr/bin/env bash
# A clip of sound alone: it plays with the panel's clock running, and its playback window
# stays on the screen, framed, captioned and as wide as before, with no picture to show; a
# clip with a picture handed over afterwards gets its full size back.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"

song=$(make_test_clip sound-10s.mp3 "Sound only" 10) || fail "ffmpeg could not make the sound"
clip=$(make_test_clip picture-5s.avi "With a picture" 5) || fail "ffmpeg could not make the clip"

start_korvel korvel.log "$song"
pid=$!

panel=$(panel_window) || exit 1
playback=$(window_named 'Sound only') || exit 1
rest_pointer "$pid"

# Fault: the sound does not play: the clock stands.
clock_runs "$panel" || fail "the clock does not run while the sound plays"

# Fault: without a picture the playback window is unmapped, or loses its frame or its width.
window_viewable "$playback" || fail "the playback window is not on the screen"
frame=$(xprop -id "$playback" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p')
IFS=', ' read -r _ _ frame_top _ <<<"$frame"
[ "${frame_top:-0}" -gt 0 ] || fail "the playback window has no frame with a title bar ($frame)"
[ "$(window_size "$playback" | cut -dx -f1)" = 320 ] ||
    fail "the playback window without a picture is $(window_size "$playback"), not 320 wide"
clock_runs "$panel" || fail "the clock stopped while the sound plays"
window_viewable "$playback" || fail "the playback window left the screen while the sound plays"

# Fault: a clip with a picture after the sound does not get the picture's size.
timeout 10 "$build/korvel" "$clip" >"$runtime/second.log" 2>&1 || fail "the hand-off failed"
caption_is() { [ "$(xdotool getwindowname "$playback")" = "$1" ]; }
wait_within 10 caption_is "With a picture" || fail "the picture clip did not start"
size_is() { [ "$(window_size "$playback")" = "$1" ]; }
wait_within 10 size_is 320x240 || fail "the picture clip plays at $(window_size "$playback")"

kill -TERM "$pid"
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"
echo "sound: passed"

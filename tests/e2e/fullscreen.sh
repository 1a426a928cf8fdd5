#!/usr/bin/env bash
# Full screen from the panel's button: the picture covers the whole screen; Esc, or a double
# click on the picture, gives the playback window its place and size back; sizing from the
# panel works as before afterwards.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
skin="$(cd "$(dirname "$0")/../../resources" && pwd)/Skin.ini"

caption="Full screen clip"
clip=$(make_test_clip fullscreen-20s.avi "$caption" 20) || fail "ffmpeg could not make the clip"

start_korvel korvel.log "$clip"
pid=$!

panel=$(panel_window) || exit 1
window_named "$caption" >/dev/null || exit 1
screen=$(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')

# "X,Y WIDTHxHEIGHT" of the picture area on the screen.
playback_place() {
    local id
    id=$(playback_id "$caption")
    if [ -z "$id" ]; then
        echo "not shown"
        return
    fi
    echo "$(window_origin "$id") $(window_size "$id")"
}
placed_at() { [ "$(playback_place)" = "$1" ]; }
covers_screen() { placed_at "0,0 $screen"; }
rest_pointer "$pid"
normal=$(playback_place)
[ "${normal#* }" = 320x240 ] || fail "the picture starts as $normal"

# Fault: the full-screen button does not make the picture cover the screen.
click BUTTON_FULL
wait_within 10 covers_screen || fail "the full-screen button left the picture at $(playback_place)"

# Fault: Esc does not end full screen, or the window does not get its place and size back.
keys_in "$(playback_id "$caption")" Escape
wait_within 10 placed_at "$normal" ||
    fail "after Esc the picture is at $(playback_place), not $normal"

# Fault: after full screen the size keys no longer size the picture.
keys_in "$panel" Down
larger="${normal% *} 480x360"
wait_within 10 placed_at "$larger" || fail "after Down the picture is at $(playback_place)"

# Fault: a double click on the picture does not end full screen.
click BUTTON_FULL
wait_within 10 covers_screen || fail "full screen again left the picture at $(playback_place)"
xdotool mousemove $((${screen%x*} / 2)) $((${screen#*x} / 2)) click --repeat 2 --delay 80 1
rest_pointer "$pid"
wait_within 10 placed_at "$larger" ||
    fail "after a double click the picture is at $(playback_place), not $larger"

# Fault: the natural-size button does not work after full screen.
click BUTTON_DEFO
wait_within 10 placed_at "$normal" ||
    fail "the natural-size button left the picture at $(playback_place), not $normal"

click_in_front "$panel" "$skin" BUTTON_EXIT
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the close button ended the player with '$exit_code'"
echo "fullscreen: passed"

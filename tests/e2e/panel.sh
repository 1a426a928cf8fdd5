#!/usr/bin/env bash
# The player panel with a clip playing, as a user sees it: F11 flips the mute button's look;
# the size keys, the size slider and the natural-size button size the picture; the hide
# button, and a click or key in the picture bringing the panel back; minimizing and
# restoring the windows together; the stay-on-top toggle; and the close button ending the
# program with code 0.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
skin="$(cd "$(dirname "$0")/../../resources" && pwd)/Skin.ini"

caption="Panel clip"
clip=$(make_test_clip panel-20s.avi "$caption" 20) || fail "ffmpeg could not make the clip"

start_korvel korvel.log "$clip"
pid=$!

panel=$(panel_window) || exit 1
window_named "$caption" >/dev/null || exit 1

playback_size() {
    local id
    id=$(playback_id "$caption")
    if [ -n "$id" ]; then window_size "$id"; else echo "not shown"; fi
}
size_is() { [ "$(playback_size)" = "$1" ]; }
rest_pointer "$pid"

# Fault: F11 mutes without the mute button showing it, or a second F11 leaves it down.
read -r mx my mw mh <<<"$(skin_rect "$skin" BUTTON_MUTE)"
grab_window "$panel" "$runtime/sound.rgb" || fail "cannot grab the panel"
mute_looks() {
    grab_window "$panel" "$runtime/mute.rgb" &&
        [ "$(compare_pixels "$runtime/sound.rgb" "$runtime/mute.rgb" 273 \
            "$mx" "$my" "$mw" "$mh")" = "$1" ]
}
panel_keys F11
wait_within 10 mute_looks different || fail "F11 left the mute button's look as it was"
panel_keys F11
wait_within 10 mute_looks same || fail "a second F11 did not bring the mute button up again"

# Fault: the size keys do not step the slider by 20 (picture (500 + 25 s) / 1000), or pass its ends.
size_is 320x240 || fail "the picture starts at $(playback_size), not 320x240"
for step in "Down 480x360" "Up 320x240" "Up 160x120" "Up 160x120" "Down 320x240" \
    "Down 480x360" "Down 640x480" "Down 800x600" "Down 960x720" "Down 960x720"; do
    read -r key size <<<"$step"
    panel_keys "$key"
    wait_within 5 size_is "$size" || fail "after $key the picture is $(playback_size), not $size"
done

# Fault: the natural-size button does not bring the picture back to the clip's size.
click BUTTON_DEFO
wait_within 5 size_is 320x240 || fail "the natural-size button left the picture at $(playback_size)"

# Fault: the size slider's thumb dragged from 20 to 40 does not make the picture 1.5 times the clip.
read -r sx sy slength _ <<<"$(skin_rect "$skin" TRACKBAR_SIZE)"
# The thumb is 10 pixels wide; at position p its left edge is travel * p / 100 into the track.
travel=$((slength - 10))
timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null ||
    fail "cannot activate the panel"
IFS=, read -r px py <<<"$(window_origin "$panel")"
grab_x=$((px + sx + travel * 20 / 100 + 5))
xdotool mousemove "$grab_x" $((py + sy + 5)) mousedown 1
xdotool mousemove $((grab_x + (travel * 40 + 99) / 100 - travel * 20 / 100)) $((py + sy + 5))
wait_within 5 size_is 480x360
dragged=$?
xdotool mouseup 1
rest_pointer "$pid"
[ "$dragged" = 0 ] || fail "the size slider dragged to 40 left the picture at $(playback_size)"
click BUTTON_DEFO
wait_within 5 size_is 320x240 || fail "the natural-size button after the drag left $(playback_size)"

# Fault: the hide button leaves the panel up, or a click or key in the picture does not bring it.
place=$(window_origin "$panel")
click BUTTON_HIDE
wait_within 10 window_unviewable "$panel" || fail "the hide button left the panel on the screen"
playback=$(playback_id "$caption")
IFS=, read -r vx vy <<<"$(window_origin "$playback")"
xdotool mousemove $((vx + 160)) $((vy + 120)) click 1
rest_pointer "$pid"
wait_within 10 window_viewable "$panel" || fail "a click in the picture left the panel hidden"
[ "$(window_origin "$panel")" = "$place" ] ||
    fail "the panel came back at $(window_origin "$panel"), not at $place"
click BUTTON_HIDE
wait_within 10 window_unviewable "$panel" || fail "the hide button left the panel on the screen"
keys_in "$playback" space
wait_within 10 window_viewable "$panel" || fail "a key in the picture left the panel hidden"
# Fault: after the hide button no key brought the panel back: the keyboard stayed with the
# hidden panel. A key pressed where the keyboard went, with no window chosen, brings it back.
click BUTTON_HIDE
wait_within 10 window_unviewable "$panel" || fail "the hide button left the panel on the screen"
xdotool key --clearmodifiers space
wait_within 10 window_viewable "$panel" || fail "no key brought the panel back after the hide button"

# Fault: minimizing leaves a window on the screen, or restoring one leaves the other away.
click BUTTON_MINIMIZE
wait_within 10 window_unviewable "$panel" || fail "the minimize button left the panel up"
wait_within 10 window_unviewable "$playback" || fail "the minimize button left the picture up"
wmctrl -i -a "$playback"
wait_within 10 window_viewable "$playback" || fail "the playback window was not restored"
wait_within 10 window_viewable "$panel" || fail "restoring the playback window left the panel away"

# The picture goes to the right of the panel first, as a user would move it: kept above the
# others it would hide any part of the panel under it, the top button too.
IFS=, read -r px py <<<"$(window_origin "$panel")"
xdotool windowmove "$(playback_id "$caption")" $((px + 273 + 40)) "$py"
right_of_panel() {
    local vx vy
    IFS=, read -r vx vy <<<"$(window_origin "$(playback_id "$caption")")"
    [ "$vx" -ge $((px + 273 + 20)) ]
}
wait_within 10 right_of_panel || fail "cannot move the playback window off the panel"

# Fault: the stay-on-top toggle does not keep the playback window above others, or not undo it.
above() { xprop -id "$(playback_id "$caption")" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
not_above() { [ -n "$(playback_id "$caption")" ] && ! above; }
click BUTTON_TOP
wait_within 10 above || fail "the top button did not keep the playback window above the others"
click BUTTON_TOP
wait_within 10 not_above || fail "the top button pressed again left the playback window on top"
size_is 320x240 || fail "the top button changed the picture to $(playback_size)"

# Fault: the close button does not end the program, or ends it with a failure code.
click_in_front "$panel" "$skin" BUTTON_EXIT
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the close button ended the player with '$exit_code'"
echo "panel: passed"

#!/usr/bin/env bash
# The pointer on the real player panel under a window manager: the panel first stands clear of
# the playback window's frame, a drag by the bare face moves the panel with the pointer and a
# short click there, or a tap on the position slider, does not, a click on the mute button
# changes that button's look on screen and nothing else, a second click brings the old look
# back, and hovering a button shows a tooltip.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"

start_korvel korvel.log
pid=$!

panel=$(panel_window) || exit 1
[ "$(window_size "$panel")" = 273x116 ] || fail "player panel is $(window_size "$panel")"

# The pointer rests in a screen corner away from both windows, with no tooltip left open
# that could cover the panel.
park_pointer() {
    xdotool mousemove 1279 799
    wait_within 10 tooltip_hidden "$pid" || fail "a tooltip stays open away from the panel"
}

# The panel's corner on the screen, into px and py.
panel_corner() { IFS=, read -r px py <<<"$(window_position "$panel")"; }

# Drags the panel by its logo, outside every button, track and thumb, by ($1, $2), and checks
# that it lands moved by just that.
drag_panel() {
    local dx=$1 dy=$2 from to followed
    panel_corner
    from="$px,$py"
    to="$((px + dx)),$((py + dy))"
    xdotool mousemove $((px + 150)) $((py + 8)) mousedown 1
    # The window manager takes the move over a moment after the press: the pointer keeps
    # moving until the panel follows it.
    follows_pointer() {
        xdotool mousemove $((px + 150 + dx - 1)) $((py + 8 + dy - 1)) \
            mousemove $((px + 150 + dx)) $((py + 8 + dy))
        [ "$(window_position "$panel")" = "$to" ]
    }
    wait_within 10 follows_pointer
    followed=$?
    xdotool mouseup 1
    [ "$followed" = 0 ] ||
        fail "dragged by ($dx,$dy) from $from, the panel went to $(window_position "$panel")"
    park_pointer
    panel_corner
    [ "$px,$py" = "$to" ] || fail "after the drag to $to ended the panel went on to $px,$py"
}

# At the first start the panel stands clear of the playback window's frame: with that window
# kept on top, a frame over the panel would cover its TOP button.
playback=$(window_named 'Korvel mark2') || exit 1
frame_bottom() {
    local extents size x y
    extents=$(xprop -id "$playback" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
    [ -n "$extents" ] || return 1
    IFS=, read -r x y <<<"$(window_origin "$playback")"
    size=$(window_size "$playback")
    echo $((y + ${size#*x} + ${extents##*, }))
}
wait_within 10 frame_bottom >/dev/null || fail "the playback window has no frame extents"
panel_corner
[ "$py" -ge "$(frame_bottom)" ] ||
    fail "the panel at $px,$py stands under the playback window's frame (to $(frame_bottom))"

# (a) A drag by the face moves the panel with the pointer.
panel_corner
start="$px,$py"
drag_panel 60 45
moved="$px,$py"

# A click as xdotool gives it: press and release, each sent when the server has the one before.
short_click() { xdotool mousemove "$1" "$2" mousedown 1 mouseup 1; }

# A click by $4 at ($1, $2) of the panel, on $3, moves no window: the panel stays where it is
# when the pointer then moves.
click_moves_nothing() {
    local x=$((px + $1)) y=$((py + $2)) step
    "$4" "$x" "$y"
    for step in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove $((x + 4 * step)) $((y + 3 * step))
        [ "$(window_position "$panel")" = "$moved" ] ||
            fail "after a $4 on $3 the panel followed the pointer to $(window_position "$panel")"
        sleep 0.1
    done
    park_pointer
}
# On the bare face a short click ends before the window manager takes the move it was asked
# for. On the position slider's track the seek lets events run: a tap's release is taken
# inside the press, before any move is asked for.
click_moves_nothing 150 8 "the bare face" short_click
click_moves_nothing 150 8 "the bare face" touchpad_tap
click_moves_nothing 136 80 "the position slider" touchpad_tap

# (b) A click on BUTTON_MUTE (108, 60, 22 x 14) flips it down: its rectangle changes on
# screen, the rest of the face does not.
up="$runtime/up.rgb" down="$runtime/down.rgb" again="$runtime/again.rgb"
grab_window "$panel" "$up" || fail "cannot grab the panel"

mute_looks() {
    grab_window "$panel" "$2" &&
        [ "$(compare_pixels "$up" "$2" 273 108 60 22 14)" = "$1" ]
}
xdotool mousemove $((px + 119)) $((py + 67)) click 1
park_pointer
wait_within 10 mute_looks different "$down" || fail "a click left the mute button's look as it was"
for rect in "0 0 273 60" "0 74 273 42" "0 60 108 14" "130 60 143 14"; do
    # shellcheck disable=SC2086 # the rectangle's four numbers are four arguments
    [ "$(compare_pixels "$up" "$down" 273 $rect)" = same ] ||
        fail "the click on the mute button changed the face at ($rect)"
done

# A second click brings the button up again: the whole face is as before.
xdotool mousemove $((px + 119)) $((py + 67)) click 1
park_pointer
wait_within 10 mute_looks same "$again" || fail "a second click did not bring the mute button up"
[ "$(compare_pixels "$up" "$again" 273 0 0 273 116)" = same ] ||
    fail "after two clicks on the mute button the face differs from before"

# (c) Resting on BUTTON_PLAY shows a tooltip; leaving the panel hides it.
xdotool mousemove $((px + 66)) $((py + 99)) mousemove $((px + 67)) $((py + 99))
wait_within 10 tooltip_shown "$pid" || fail "no tooltip over the play button"
park_pointer

panel_corner
[ "$px,$py" = "$moved" ] || fail "the clicks moved the panel to $px,$py"
# A drag back brings the panel to where it started, so a run leaves no moved panel behind.
drag_panel -60 -45
[ "$px,$py" = "$start" ] || fail "dragged back, the panel is at $px,$py, not $start"

wmctrl -c 'Korvel mark2'
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "closing the playback window ended with '$exit_code'"
echo "pointer: passed"

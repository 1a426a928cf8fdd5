#!/usr/bin/env bash
# The window checks under each window manager of the table, each on a private Xvfb with a
# tint2 task bar, one display per window manager and one player start per picture path: the
# windows appear (the panel shaped), the task bar has one entry, the panel; every window stays
# while another program is active and is there once the panel is active again; the panel
# hidden and brought back by a click into the picture still shows the list; the panel follows
# a drag, full screen covers the screen and ends by Esc and by a double click with the panel
# still on the task bar, the top button keeps the playback window above the others, also
# pressed while full screen, and the minimize button takes every window off the screen and
# the task-bar entry brings them back.
set -uo pipefail
here=$(dirname "$0")
source "$here/support/common.sh"
# Each row makes its own display.
e2e_init "$1" --no-display
skin="$(cd "$here/../../resources" && pwd)/Skin.ini"

# The table: a window manager, whether the panel is dragged under it, and the picture paths
# the player is started with under it, one after the other: the other tests run the software
# one under openbox. Both pictures are a window of the window system's own inside the
# playback window, which a compositing window manager (mutter) composes and which input must
# pass through. KORVEL_WINDOW_MANAGERS picks rows by name.
table="openbox drag sw
xfwm4 drag gl
kwin_x11 drag gl,sw
mutter drag sw
icewm drag gl"
rows=$(awk -v only=" ${KORVEL_WINDOW_MANAGERS:-} " 'only == "  " || index(only, " " $1 " ")' <<<"$table")

caption="Desktop clip"
clip=$(make_test_clip desktops-60s.avi "$caption" 60) || fail "ffmpeg could not make the clip"

# "X,Y WIDTHxHEIGHT" of the picture area on the screen.
playback_place() {
    local id
    id=$(playback_id "$caption")
    [ -n "$id" ] || { echo "not shown"; return; }
    echo "$(window_origin "$id") $(window_size "$id")"
}
placed_at() { [ "$(playback_place)" = "$1" ]; }
covers_screen() { placed_at "0,0 1280x800"; }
above() { xprop -id "$(playback_id "$caption")" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
not_above() { [ -n "$(playback_id "$caption")" ] && ! above; }
off_task_bar() { xprop -id "$(playback_id "$caption")" _NET_WM_STATE 2>/dev/null | grep -q SKIP_TASKBAR; }

# The entries the task bar shows: its red boxes (with the window's icon and title) on its
# black bar, counted as runs of columns in which the bar is lit.
task_bar_entries() {
    ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size 1280x24 -i "$DISPLAY+0,776" \
        -frames:v 1 -f rawvideo -pix_fmt rgb24 "$runtime/bar.rgb" || return 1
    python3 - "$runtime/bar.rgb" <<'PY'
import sys
bar = open(sys.argv[1], "rb").read()
lit = [any(max(bar[(y * 1280 + x) * 3:(y * 1280 + x) * 3 + 3]) > 40 for y in range(24))
       for x in range(1280)]
print(sum(1 for x, on in enumerate(lit) if on and (x == 0 or not lit[x - 1])))
PY
}
entries_are() { [ "$(task_bar_entries)" = "$1" ]; }
# The windows a task bar lists, with the states that keep them off it, for the failure notes.
client_states() {
    local id
    for id in $(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'); do
        echo "$(xprop -id "$id" WM_NAME | cut -d= -f2):$(xprop -id "$id" _NET_WM_STATE | cut -d= -f2)"
    done
}

# Succeeds when the window manager stacks window $1 above window $2 (its stacking list names
# the lowest first).
stacked_over() {
    local id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*'); do
        echo $((id))
    done | awk -v a="$(($1))" -v b="$(($2))" '$1 == a { at = NR } $1 == b { other = NR }
        END { exit !(at && other && at > other) }'
}
# Whether the playback window is stacked above window $1.
stacked_above() { stacked_over "$(playback_id "$caption")" "$1"; }
covers_list() { ! window_viewable "$list" || stacked_above "$list"; }

# Succeeds when the window manager shapes window $1 to the outline its client asked for.
shaped() { xwininfo -shape -id "$1" 2>/dev/null | grep -q 'Window shape extents'; }


# Drags the panel by its logo, outside every button and track, by ($1, $2).
drag_panel() {
    local px py to
    # The move starts once the press has reached the panel: it is the active window first.
    timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null || fail "$wm: cannot activate the panel"
    IFS=, read -r px py <<<"$(window_position "$panel")"
    to="$((px + $1)),$((py + $2))"
    xdotool mousemove $((px + 150)) $((py + 8)) mousedown 1
    follows_pointer() {
        xdotool mousemove $((px + 150 + $1 - 1)) $((py + 8 + $2 - 1)) \
            mousemove $((px + 150 + $1)) $((py + 8 + $2))
        [ "$(window_position "$panel")" = "$to" ]
    }
    wait_within 10 follows_pointer "$1" "$2"
    local followed=$?
    xdotool mouseup 1
    rest_pointer "$pid"
    [ "$followed" = 0 ] || fail "$wm: dragged to $to, the panel went to $(window_position "$panel")"
}

# Fault: a press and release read in one go on the bare face left the window manager's move
# running: the panel followed the pointer (openbox, xfwm4) and xfwm4 took the next keys.
tap_moves_nothing() {
    local px py placed step
    IFS=, read -r px py <<<"$(window_position "$panel")"
    placed="$px,$py"
    touchpad_tap $((px + 150)) $((py + 8))
    for step in 1 2 3 4 5 6; do
        xdotool mousemove $((px + 150 + 4 * step)) $((py + 8 + 3 * step))
        sleep 0.1
        [ "$(window_position "$panel")" = "$placed" ] ||
            fail "$wm: after a tap on the bare face the panel followed the pointer to $(window_position "$panel")"
    done
    input_free || fail "$wm: after a tap on the bare face a move holds the pointer and the keys"
    rest_pointer "$pid"
}

# Another program's window becomes the active one and then the panel again. Fault: KWin took
# the playlist and the playback window, tool windows of the program, off the screen while
# another program was active (a file could not be dropped on the list from it).
activate_another_program() {
    local other other_pid playback
    playback=$(playback_id "$caption")
    xmessage -geometry +900+40 "Another program" >/dev/null 2>&1 &
    other_pid=$!
    started_pids+=("$other_pid")
    other=$(window_named xmessage) || exit 1
    timeout 10 xdotool windowactivate --sync "$other" 2>/dev/null ||
        fail "$wm: cannot activate another program"
    # Then a click into its text, as a user works in it: KWin hides a program's tool windows
    # on that, not on an activation a pager asks for.
    local ox oy
    IFS=, read -r ox oy <<<"$(window_origin "$other")"
    sleep 0.5
    xdotool mousemove $((ox + 50)) $((oy + 20)) click 1
    # The window manager has had time to act on the change, and the player to answer it.
    sleep 1
    all_viewable "$panel" "$playback" "$list" ||
        fail "$wm: activating another program took a window off the screen:" "$(client_states)"
    kill "$other_pid"
    timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null || fail "$wm: cannot activate the panel"
    wait_within 10 all_viewable "$panel" "$playback" "$list" ||
        fail "$wm: activating the panel did not bring back every window:" "$(client_states)"
}

# A click at the middle of the playback window's picture.
click_picture() {
    local x y width height
    IFS=', x' read -r x y width height <<<"$(playback_place)"
    xdotool mousemove $((x + width / 2)) $((y + height / 2)) click 1
}

# Fault (KWin): after the panel's HIDE and a click into the picture, which brings the panel
# back, Ctrl+L did not show the list while the panel was active.
hide_then_show_list() {
    keys_in "$list" Escape
    wait_within 10 window_unviewable "$list" || fail "$wm: Esc did not hide the list"
    click BUTTON_HIDE
    wait_within 10 window_unviewable "$panel" || fail "$wm: the panel's HIDE left the panel"
    click_picture
    wait_within 10 window_viewable "$panel" || fail "$wm: a click into the picture did not bring the panel"
    panel_keys ctrl+l
    wait_within 10 window_viewable "$list" ||
        fail "$wm: after HIDE and a click into the picture Ctrl+L did not show the list:" "$(client_states)"
    sleep 1
    window_viewable "$list" || fail "$wm: the list shown by Ctrl+L went off again:" "$(client_states)"
}

# Whether none of the windows is shown: each is unmapped or kept as an icon (mutter keeps an
# icon's window mapped, off the screen).
none_shown() {
    local id
    for id in "$@"; do
        window_unviewable "$id" || xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'state: Iconic' ||
            return 1
    done
}

# Whether the window manager stacks the panel above the playback window.
panel_over_picture() { stacked_over "$panel" "$(playback_id "$caption")"; }

# Succeeds when the window manager manages window $1 (lists it among its clients).
managed() { xprop -root _NET_CLIENT_LIST | grep -qw "$(printf '%#x' "$1")"; }

# Fault (icewm): full screen ended by Esc or a double click brought the panel forward by
# hiding and showing it, which icewm lost: no panel, no task-bar entry. $1 names how it ended.
panel_kept() {
    wait_within 10 window_viewable "$panel" ||
        fail "$wm: full screen ended by $1 took the panel off the screen:" "$(client_states)"
    managed "$panel" || fail "$wm: full screen ended by $1 lost the panel:" "$(client_states)"
    wait_within 10 entries_are 1 ||
        fail "$wm: after full screen ended by $1 the task bar shows $(task_bar_entries);" "$(client_states)"
}

# Whether the picture moves: two grabs of the playback window a moment apart differ.
picture_moves() {
    local id
    id=$(playback_id "$caption")
    grab_window "$id" "$runtime/picture1.rgb" && sleep 0.3 &&
        grab_window "$id" "$runtime/picture2.rgb" &&
        ! cmp -s "$runtime/picture1.rgb" "$runtime/picture2.rgb"
}

# One player's checks on the display of window manager $1 ($2: whether the panel is dragged),
# with picture path $3; $4 is "first" for the display's first player, which also checks what
# the picture path does not change (the drag, a tap, the list kept while the panel is hidden).
check_under() {
    wm=$1
    rm -rf "$XDG_CONFIG_HOME"
    KORVEL_PICTURE=$3 start_korvel korvel.log "$clip"
    pid=$!

    panel=$(panel_window) || exit 1
    window_named "$caption" >/dev/null || exit 1
    wait_within 10 picture_moves || fail "$wm: the picture ($3) does not move"
    wait_within 10 shaped "$panel" || fail "$wm: the panel is not shaped"
    rest_pointer "$pid"
    click BUTTON_OPEN
    list=$(window_named 'Korvel PlayList') || exit 1

    # Fault: the playback window and the playlist had task-bar entries of their own.
    wait_within 10 entries_are 1 ||
        fail "$wm: the task bar shows $(task_bar_entries) entries;" "$(client_states)"

    activate_another_program

    # Away from the other windows' default places, which overlap it.
    xdotool windowmove "$panel" 400 420
    wait_within 10 test "$(window_position "$panel")" = 400,420 || fail "$wm: cannot place the panel"
    if [ "$4" = first ]; then
        [ "$2" = drag ] && drag_panel 40 30
        tap_moves_nothing
        hide_then_show_list
    fi

    # Fault (xfwm4): the top button pressed and released had the playback window made anew
    # when full screen showed it again, without the picture and the state that keeps it off
    # the task bar: black, with an entry of its own, for the rest of the run.
    click BUTTON_TOP
    wait_within 10 above || fail "$wm: the top button did not keep the picture above"
    click BUTTON_TOP
    wait_within 10 not_above || fail "$wm: the top button pressed again left the picture above"

    # Fault: full screen left the picture where it was (xfwm4).
    normal=$(playback_place)
    click BUTTON_FULL
    wait_within 10 covers_screen || fail "$wm: full screen left the picture at $(playback_place)"
    wait_within 10 picture_moves || fail "$wm: in full screen the picture ($3) does not move"
    # Fault (xfwm4): the open list stayed above the full-screen picture.
    wait_within 5 covers_list || fail "$wm: in full screen the list stands above the picture"
    keys_in "$(playback_id "$caption")" Escape
    wait_within 10 placed_at "$normal" ||
        fail "$wm: after Esc the picture is at $(playback_place), not $normal:" "$(client_states)"
    wait_within 10 picture_moves || fail "$wm: after full screen the picture ($3) does not move"
    panel_kept Esc

    # Fault: the top button pressed while full screen made a framed, screen-sized window
    # that Esc and a double click no longer brought back, over the panel.
    click BUTTON_FULL
    wait_within 10 covers_screen || fail "$wm: full screen again left the picture at $(playback_place)"
    # Fault: the picture, made an ordinary window for full screen, got a task-bar entry.
    off_task_bar || fail "$wm: in full screen the picture is on the task bar:" "$(client_states)"
    click BUTTON_TOP
    # Some window managers (xfwm4) show a full-screen window above all others anyway, and
    # report it above only once full screen ends.
    sleep 1
    covers_screen || fail "$wm: the top button ended full screen: $(playback_place)"
    keys_in "$(playback_id "$caption")" Escape
    wait_within 10 placed_at "$normal" ||
        fail "$wm: after Esc the picture is at $(playback_place), not $normal"
    wait_within 10 above || fail "$wm: the top button in full screen did not keep the picture above"
    off_task_bar || fail "$wm: after full screen the picture is on the task bar:" "$(client_states)"
    click BUTTON_FULL
    wait_within 10 covers_screen || fail "$wm: full screen on top left the picture at $(playback_place)"
    # Fault: a double click where the panel sits under the picture did not end full screen:
    # the first click brought the panel over the picture, and the second went to it.
    local px py
    IFS=, read -r px py <<<"$(window_position "$panel")"
    xdotool mousemove $((px + 150)) $((py + 8)) click --repeat 2 --delay 80 1
    rest_pointer "$pid"
    wait_within 10 placed_at "$normal" ||
        fail "$wm: after a double click the picture is at $(playback_place), not $normal"
    above || fail "$wm: full screen took the picture off the top"
    panel_kept "a double click"
    # Fault: with the picture on top in full screen, a click into it did not bring the panel
    # over it.
    if [ "$4" = first ]; then
        click BUTTON_FULL
        wait_within 10 covers_screen || fail "$wm: full screen on top left the picture at $(playback_place)"
        xdotool mousemove 640 200 click 1
        wait_within 10 panel_over_picture ||
            fail "$wm: a click into the full-screen picture on top left the panel under it:" "$(client_states)"
        keys_in "$(playback_id "$caption")" Escape
        wait_within 10 placed_at "$normal" || fail "$wm: after Esc the picture is at $(playback_place)"
    fi
    click BUTTON_TOP
    wait_within 10 not_above ||
        fail "$wm: the top button pressed again left the picture above:" "$(client_states)"
    wait_within 10 picture_moves || fail "$wm: after the top button the picture ($3) does not move"

    # The windows leave the screen together and come back with the task-bar entry. Fault: Esc
    # in the picture ended full screen and brought the panel forward by hiding and showing it,
    # a window mapped anew to kwin, which from then on hid the list while the panel was active.
    playback=$(playback_id "$caption")
    click BUTTON_MINIMIZE
    wait_within 10 none_shown "$panel" "$playback" "$list" ||
        fail "$wm: the minimize button left a window on the screen:" "$(client_states)"
    timeout 10 wmctrl -i -a "$panel" || fail "$wm: cannot activate the panel's entry"
    wait_within 10 all_viewable "$panel" "$playback" "$list" ||
        fail "$wm: activating the entry did not bring back every window:" "$(client_states)"
    wait_within 10 entries_are 1 ||
        fail "$wm: after the restore the task bar shows $(task_bar_entries);" "$(client_states)"
    # Fault (mutter): after the restore, a click into the full-screen picture ended full
    # screen and minimized the panel.
    if [ "$4" = first ]; then
        # The frame may have changed its caption's height (mutter frames a tool window anew).
        normal=$(playback_place)
        click BUTTON_FULL
        wait_within 10 covers_screen || fail "$wm: full screen after the restore left the picture at $(playback_place)"
        click_picture
        sleep 1
        covers_screen || fail "$wm: a click ended full screen after the restore: $(playback_place)"
        keys_in "$(playback_id "$caption")" Escape
        wait_within 10 placed_at "$normal" ||
            fail "$wm: after Esc the picture is at $(playback_place), not $normal:" "$(client_states)"
    fi

    kill -TERM "$pid"
    wait_exit "$pid" 10
    [ "$exit_code" = 0 ] || fail "$wm: the player ended with '$exit_code'"
    echo "$wm, $3 picture: passed"
}

while read -r name drag pictures <&3; do
    korvel_start_display "$name" "$runtime/window-manager.log" --bus --taskbar "$here/support/tint2rc" ||
        fail "$name: no display"
    first=first
    for picture in ${pictures//,/ }; do
        check_under "$name" "$drag" "$picture" "$first"
        first=''
    done
    korvel_stop_display
done 3<<<"$rows"
echo "window-managers: passed"

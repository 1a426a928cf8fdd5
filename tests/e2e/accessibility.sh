#!/usr/bin/env bash
# The player panel to a screen reader, over the desktop's accessibility bus (AT-SPI): every
# element listed with its role, name, states and value; Tab moving the focus that the reader
# follows; PAUSE pressed through its action pausing the clip, as a click would; the playlist
# window walked and used by the keyboard alone.
set -uo pipefail

# The whole test runs on a session bus of its own.
source "$(dirname "$0")/support/private-bus.sh"

source "$(dirname "$0")/support/common.sh"
launcher=/usr/libexec/at-spi-bus-launcher
client="$(dirname "$0")/support/a11y-client.py"
[ -x "$launcher" ] || { echo "no at-spi2-core: skipped"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "no python3-pyatspi: skipped"; exit 77; }
e2e_init "$1"

"$launcher" --launch-immediately >"$runtime/at-spi.log" 2>&1 &
started_pids+=("$!")
a11y_bus_up() {
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress >/dev/null 2>&1
}
wait_within 20 a11y_bus_up || fail "the accessibility bus did not start"

a11y() { timeout 60 /usr/bin/python3 "$client" "$@"; }
status_is() {
    [ "$(gdbus call --session --dest org.mpris.MediaPlayer2.korvel \
        --object-path /org/mpris/MediaPlayer2 --method org.freedesktop.DBus.Properties.Get \
        org.mpris.MediaPlayer2.Player PlaybackStatus 2>/dev/null)" = "(<'$1'>,)" ]
}

clip=$(make_test_clip a11y-30s.avi "Spoken clip" 30) || fail "ffmpeg could not make the clip"
# The C locale keeps the panel's hints as the skin gives them, whatever the machine's language.
LC_ALL=C LANGUAGE='' QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_korvel korvel.log "$clip"
pid=$!
panel=$(panel_window) || exit 1
wait_within 20 status_is Playing || fail "the clip does not play"

# Fault: the panel is only a picture to the reader, or its elements are unnamed or mistaken.
a11y list "$app_title" >"$runtime/elements.txt" || fail "the reader cannot list the panel"
expect_element() {
    grep -qxF -- "$1" "$runtime/elements.txt" ||
        fail "the reader sees no element '$1'; it sees: $(cat "$runtime/elements.txt")"
}
pause_name='一時停止(Ctrl+A)'
elements=$(wc -l <"$runtime/elements.txt")
[ "$elements" -eq 27 ] || fail "the reader sees $elements elements, not 27"
expect_element "push button|$pause_name|enabled,focusable,sensitive,showing,visible||Press"
expect_element "check box|ミュート(F11)|enabled,focusable,sensitive,showing,visible||Toggle,Press"
grep -qE '^slider\|ボリューム\|[^|]*\|[0-9]+ \(0\.\.100\)\|' "$runtime/elements.txt" ||
    fail "the volume slider has no value from 0 to 100: $(grep -F 'ボリューム' "$runtime/elements.txt")"
grep -qE '^(label|static)\|Spoken clip\|' "$runtime/elements.txt" ||
    fail "the title display does not read 'Spoken clip'"

# Fault: Tab moves no focus the reader can follow.
focused_is() { [ "$(a11y focused "$app_title")" = "$1" ]; }
panel_keys Tab
wait_within 20 focused_is '常に前面' || fail "after Tab the reader sees the focus on '$(a11y focused "$app_title")'"

# Fault: the reader's press does not run the button's command.
a11y act "$app_title" "$pause_name" Press || fail "the reader cannot press PAUSE"
wait_within 20 status_is Paused || fail "PAUSE pressed by the reader did not pause the clip"
# Fault: a toggle flipped by the reader does not show its new state to it.
a11y act "$app_title" 'ミュート(F11)' Toggle || fail "the reader cannot toggle mute"
mute_checked() {
    a11y list "$app_title" >"$runtime/elements.txt" &&
        grep -qF '|ミュート(F11)|checked,' "$runtime/elements.txt"
}
wait_within 20 mute_checked || fail "mute toggled by the reader is not checked"

# Fault: the playlist window's buttons need the pointer, and a location typed into its field
# and entered hides the window and adds nothing. Here the keyboard alone adds two typed
# locations and moves the second above the first with UP.
list_title='Korvel PlayList'
list_shown() { xdotool search --onlyvisible --name "^$list_title\$" >/dev/null 2>&1; }
panel_keys ctrl+l
wait_within 10 list_shown || fail "Ctrl+L did not show the playlist"
list=$(xdotool search --onlyvisible --name "^$list_title\$" | head -n 1)
# The grid's current cell reads as focused too, wherever the keyboard is.
list_focused_is() { a11y focused "$list_title" | grep -xF -- "$1" >/dev/null; }
# Tabs until the reader sees the focus on button $1; a round of the window is 18 stops.
tab_to() {
    local tabs=0
    while [ "$tabs" -lt 20 ]; do
        list_focused_is "$1" && return 0
        keys_in "$list" Tab
        tabs=$((tabs + 1))
    done
    fail "Tab never took the focus to '$1'; the reader sees it on '$(a11y focused "$list_title")'"
}
# Succeeds when the reader sees location $1 in the list before location $2.
listed_before() {
    a11y list "$list_title" >"$runtime/list.txt" || return 1
    local first second
    first=$(grep -n -F -- "|$1|" "$runtime/list.txt" | head -n 1 | cut -d: -f1)
    second=$(grep -n -F -- "|$2|" "$runtime/list.txt" | head -n 1 | cut -d: -f1)
    [ -n "$first" ] && [ -n "$second" ] && [ "$first" -lt "$second" ]
}
# Types location $1 into the location field, the stop before ADD, and enters it.
add_typed() {
    tab_to ADD
    keys_in "$list" shift+Tab
    xdotool type --delay 20 "$1"
    keys_in "$list" Return
    list_shown || fail "Enter in the location field hid the playlist"
}
first=/nowhere/first-by-keys.mpg
second=/nowhere/second-by-keys.mpg
add_typed "$first"
# The grid is five stops before ADD; its blank end row, one down, takes the next entry.
tab_to ADD
keys_in "$list" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Down
add_typed "$second"
wait_within 10 listed_before "$first" "$second" ||
    fail "the typed locations are not listed in turn: $(grep -F /nowhere "$runtime/list.txt")"
tab_to UP
keys_in "$list" space
wait_within 10 listed_before "$second" "$first" ||
    fail "UP pressed by its key did not move the entry: $(grep -F /nowhere "$runtime/list.txt")"
kill -0 "$pid" 2>/dev/null || fail "the player ended"
echo "accessibility: panel listed, focus followed, PAUSE pressed, mute toggled, list used by keys"

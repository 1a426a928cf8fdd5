#!/usr/bin/env bash
# The player panel to a screen reader, over the desktop's accessibility bus (AT-SPI): a reader
# started after the player still finds it; every element listed with its role, name, states
# and value; Tab moving the focus that the reader follows; the position slider told at a pace
# a listener can follow while the clip plays; the next clip's title heard, and nothing from
# the hidden list; PAUSE pressed through its action pausing the clip, as a click would; the
# playlist window walked and used by the keyboard alone.
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

# No screen reader runs when the player starts.
a11y_status() {
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.freedesktop.DBus.Properties.Set org.a11y.Status "$1" "<$2>" >/dev/null
}
{ a11y_status IsEnabled false && a11y_status ScreenReaderEnabled false; } ||
    fail "cannot set the accessibility bus's status"

clip=$(make_test_clip a11y-120s.avi "Spoken clip" 120) || fail "ffmpeg could not make the clip"
second=$(make_test_clip a11y-second-30s.avi "Second clip" 30) || fail "ffmpeg could not make the clip"
mkdir -p "$XDG_CONFIG_HOME/korvel"
printf '[Korvel setting]\nListRow=4\nRowData1=On|Default|1|a|||%s\nRowData2=On|Default|1|b|||%s\n' \
    "$clip" "$second" >"$XDG_CONFIG_HOME/korvel/korvel.ini"
# The C locale keeps the panel's hints as the skin gives them, whatever the machine's language.
LC_ALL=C LANGUAGE='' start_korvel korvel.log
pid=$!
panel=$(panel_window) || exit 1
# Fault: the player, joining the accessibility bus with no reader running, measured the
# panel's display texts to order its elements, which read every font (2 MB resident at idle).
joined() {
    timeout 10 /usr/bin/python3 -c 'import pyatspi, sys
sys.exit(0 if any(app is not None and app.get_process_id() == int(sys.argv[1])
                  for app in pyatspi.Registry.getDesktop(0)) else 1)' "$pid" 2>/dev/null
}
wait_within 20 joined || fail "the player did not join the accessibility bus"
fonts=$(grep -oE '[^/ ]*(\.ttf|\.otf|\.pfb|\.pcf(\.gz)?|\.cache-[0-9]+)$' "/proc/$pid/maps" |
    sort -u)
[ -z "$fonts" ] || fail "joining the accessibility bus read fonts no window shows: $fonts"
# The list is played from its top (Ctrl+L, then Enter, which hides it again).
panel_keys ctrl+l
list_window() { xdotool search --onlyvisible --name '^Korvel PlayList$' | head -n 1; }
list_shown() { [ -n "$(list_window)" ]; }
wait_within 20 list_shown || fail "Ctrl+L shows no list"
keys_in "$(list_window)" Return
wait_within 20 status_is Playing || fail "the list does not play"
list_hidden() { [ -z "$(list_window)" ]; }
wait_within 20 list_hidden || fail "the list window stays"
# Fault: a reader started after the player never sees it.
a11y_status ScreenReaderEnabled true || fail "cannot tell the bus that a reader runs"

# Fault: the panel is only a picture to the reader, or its elements are unnamed or mistaken.
a11y list "$app_title" >"$runtime/elements.txt" || fail "the reader cannot list the panel"
expect_element() {
    grep -qxF -- "$1" "$runtime/elements.txt" ||
        fail "the reader sees no element '$1'; it sees: $(cat "$runtime/elements.txt")"
}
pause_name='一時停止(Ctrl+A)'
elements=$(wc -l <"$runtime/elements.txt")
# The skin's 27 elements, and the notice of the title.
[ "$elements" -eq 28 ] || fail "the reader sees $elements elements, not 28"
expect_element "push button|$pause_name|enabled,focusable,sensitive,showing,visible||Press"
expect_element "check box|ミュート(F11)|enabled,focusable,sensitive,showing,visible||Toggle,Press"
grep -qE '^slider\|ボリューム\|[^|]*\|[0-9]+ \(0\.\.100\)\|' "$runtime/elements.txt" ||
    fail "the volume slider has no value from 0 to 100: $(grep -F 'ボリューム' "$runtime/elements.txt")"
# The title comes from the clip's tag, read a moment after the clip starts.
titled() {
    a11y list "$app_title" >"$runtime/title.txt" &&
        grep -qE '^(label|static)\|Spoken clip\|' "$runtime/title.txt"
}
wait_within 10 titled ||
    fail "the title display does not read 'Spoken clip': $(grep -E '^(label|static)' "$runtime/title.txt")"

# Fault: Tab moves no focus the reader can follow.
focused_is() { [ "$(a11y focused "$app_title")" = "$1" ]; }
panel_keys Tab
wait_within 20 focused_is '常に前面' || fail "after Tab the reader sees the focus on '$(a11y focused "$app_title")'"

# The reader listens while the focus is on the position slider and the clip plays on; then
# Page Down plays the next entry of the list, whose window stays hidden.
a11y listen 120 >"$runtime/heard.txt" 2>"$runtime/listener.log" &
listener=$!
started_pids+=("$listener")
wait_within 20 file_has_text "$runtime/heard.txt" listening || fail "the reader does not listen"
on_position_slider() { [ "$(a11y focused "$app_title")" = '再生位置' ]; }
for _ in $(seq 30); do
    on_position_slider && break
    panel_keys Tab
done
on_position_slider || fail "Tab does not reach the position slider"
heard() { grep -c -- "$1" "$runtime/heard.txt"; }
slider_told() { heard '^object:property-change:accessible-value|.*|slider|再生位置|'; }
before=$(slider_told)
sleep 8
# Fault: every 1 % of the clip (0.3 s here) is spoken.
told=$(($(slider_told) - before))
[ "$told" -le 1 ] || fail "the position slider was told $told times in 8 s of play"
panel_keys Next
# Fault: the new title reaches the reader only as a label's new name, which it does not speak.
announced() { grep -q '^object:state-changed:showing|1|notification|Second clip|' "$runtime/heard.txt"; }
wait_within 10 announced ||
    fail "the new clip's title was not announced: $(cat "$runtime/heard.txt")"
# Fault: the hidden list's grid takes the focus at each change of entry.
sleep 1
grep -E '^(focus:|object:state-changed:focused\|1)' "$runtime/heard.txt" |
    grep -F '|Korvel PlayList' && fail "the hidden list window sent a focus notice"
# The reader has heard what it listened for; its questions would only slow the player.
kill "$listener" 2>/dev/null

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
# The location field edits the grid's current row, which is the list's last entry: the one
# playing, or the one just added. The blank end row below it takes a new entry; the grid is
# five stops before ADD.
to_end_row() {
    tab_to ADD
    keys_in "$list" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Down
}
first=/nowhere/first-by-keys.mpg
second=/nowhere/second-by-keys.mpg
to_end_row
add_typed "$first"
to_end_row
add_typed "$second"
wait_within 10 listed_before "$first" "$second" ||
    fail "the typed locations are not listed in turn: $(grep -F /nowhere "$runtime/list.txt")"
tab_to UP
keys_in "$list" space
wait_within 10 listed_before "$second" "$first" ||
    fail "UP pressed by its key did not move the entry: $(grep -F /nowhere "$runtime/list.txt")"

# The list saved by keys alone: RAM by its key opens the save dialog, whose name field has the
# keyboard; a typed name and Enter save the list, every entry in the list's order.
saved="$runtime/saved by keys.ram"
tab_to RAM
keys_in "$list" space
save_dialog() { xdotool search --onlyvisible --name '^Save As$' 2>/dev/null | head -n 1; }
dialog_shown() { [ -n "$(save_dialog)" ]; }
wait_within 10 dialog_shown || fail "RAM pressed by its key opened no save dialog"
dialog=$(save_dialog)
timeout 10 xdotool windowactivate --sync "$dialog" type --delay 20 "$saved" ||
    fail "cannot type into the save dialog"
keys_in "$dialog" Return
dialog_gone() { [ -z "$(save_dialog)" ]; }
wait_within 10 dialog_gone || fail "Enter in the save dialog did not close it"
# The keyboard is back where it was, for the next key.
wait_within 10 list_focused_is RAM ||
    fail "after the save the reader sees the focus on '$(a11y focused "$list_title")'," \
        "the active window is '$(xdotool getactivewindow getwindowname 2>&1)'"
wait_within 10 test -s "$saved" || fail "the list was not saved as $saved"
mapfile -t lines < <(tr -d '\r' <"$saved")
# The two clips the list started with, the two typed ones, in the order the reader sees.
[ "${#lines[@]}" -eq 4 ] && printf '%s\n' "${lines[@]}" | grep -qxF -- "$clip" &&
    printf '%s\n' "${lines[@]}" | grep -qxF -- "$(dirname "$clip")/a11y-second-30s.avi" ||
    fail "the saved list holds: ${lines[*]}"
for i in 0 1 2; do
    listed_before "${lines[i]}" "${lines[i + 1]}" ||
        fail "the saved list's order (${lines[*]}) is not the list's: $(cat "$runtime/list.txt")"
done
kill -0 "$pid" 2>/dev/null || fail "the player ended"
echo "accessibility: found when the reader came later, panel listed, focus followed," \
    "slider paced ($told), title announced, PAUSE pressed, mute toggled, list used by keys," \
    "saved by keys"

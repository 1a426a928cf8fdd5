#!/usr/bin/env bash
# The player panel to a screen reader, over the desktop's accessibility bus (AT-SPI): every
# element listed with its role, name, states and value; Tab moving the focus that the reader
# follows; PAUSE pressed through its action pausing the clip, as a click would.
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
kill -0 "$pid" 2>/dev/null || fail "the player ended"
echo "accessibility: panel listed, focus followed, PAUSE pressed, mute toggled"

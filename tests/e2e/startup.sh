#!/usr/bin/env bash
# The first start shows the playback window and the skinned panel at their sizes with the
# playlist hidden; a second start hands its argument over and exits (the running player says
# in its error box that no such file exists); closing the playback
# window ends the program with code 0.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"

start_korvel first.log
first=$!

playback=$(window_named 'Korvel mark2') || exit 1
panel=$(panel_window) || exit 1
# The show handler sizes the picture area for a 320 x 240 picture.
[ "$(window_size "$playback")" = 320x240 ] || fail "playback window is $(window_size "$playback")"
[ "$(window_size "$panel")" = 273x116 ] || fail "player panel is $(window_size "$panel")"
if xdotool search --onlyvisible --name '^Korvel PlayList$' >/dev/null 2>&1; then
    fail "the playlist window is visible at start"
fi
# Fault: the start loads libraries nothing shown needs: image plugins (GIF, ICO, JPEG readers
# of the toolkit) only to ask them about the program's icon, the toolkit's network library
# (with its proxy and Kerberos chain) only for the local hand-off socket.
unneeded=$(grep -oE '[^/ ]*(imageformats/[^ ]*|libQt6Network[^ ]*|libgssapi[^ ]*)' \
    "/proc/$first/maps" | sort -u)
[ -z "$unneeded" ] || fail "the start loaded what it does not use: $unneeded"
# Fault: the hidden playlist's grid and fields laid out their text at start, which read the
# font configuration and the fonts (about 2 MB resident) for a window nobody had opened.
fonts=$(grep -oE '[^/ ]*(\.ttf|\.otf|\.pfb|\.pcf(\.gz)?|\.cache-[0-9]+)$' "/proc/$first/maps" |
    sort -u)
[ -z "$fonts" ] || fail "the start read fonts no window shows: $fonts"
# Fault: the launcher wrote through the standard streams, and making the first of them builds
# the standard library's whole locale (0.3 MB resident for the player's whole run).
streams=$(nm -D --undefined-only "$build/korvel" |
    grep -oE '_ZNSt8ios_base4InitC1Ev|_ZNSt8ios_baseC2Ev|_ZNSt6localeC1Ev' | sort -u)
[ -z "$streams" ] || fail "the launcher makes standard streams or locales: $streams"
# Fault: a write to a connection whose other end had gone (the X server at a session's end)
# ended the player by its signal (exit 141) before it could save or close.
sigign=$(awk '/^SigIgn:/ { print $2 }' "/proc/$first/status")
(((16#$sigign >> 12) & 1)) || fail "the player does not ignore SIGPIPE (SigIgn $sigign)"

# A second start: only the first argument counts, the text arrives whole, and the sender
# exits 0 only after the running instance has taken it.
clip="$runtime/a clip with spaces and 日本語 $(printf 'x%.0s' $(seq 1 300)).avi"
timeout 10 "$build/korvel" "$clip" "ignored" >"$runtime/second.log" 2>&1
code=$?
[ "$code" = 0 ] || fail "second start exited with $code"
# No such clip exists, so the player's state keeps nothing of it: its log tells what came.
grep -qF -- "$clip" "$runtime/first.log" || fail "the running instance did not get the whole text"
if grep -qF -- "ignored" "$runtime/first.log"; then fail "a second argument was handed over"; fi
kill -0 "$first" 2>/dev/null || fail "the first instance ended after the hand-off"

# No such file exists: the running player says so in its error box and goes on.
box=$(error_box_window) || exit 1
xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null ||
    xdotool key --window "$box" Return
wait_within 10 error_box_gone ||
    fail "the error box did not close"

wmctrl -c 'Korvel mark2'
wait_exit "$first" 10
[ "$exit_code" = 0 ] || fail "closing the playback window ended with '$exit_code'"
echo "startup: passed"

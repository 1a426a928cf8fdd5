#!/usr/bin/env bash
# The player's menu as a new user meets it: a right click on each of the three windows opens
# it (About shows the version); Ctrl+O opens the file dialog, where a typed path plays the
# clip; Open location takes a typed path; and a clip's second sound track is chosen in it.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1" --bus

clips="$build/test-media/e2e"
mkdir -p "$clips"
first=$(make_test_clip menu-first.avi "Menu first" 20) || fail "ffmpeg could not make the clip"
# Two sound tracks (eng, then jpn titled "Second") and a subtitle track.
tracks="$clips/menu-tracks.mkv"
if [ ! -s "$tracks" ]; then
    printf '1\n00:00:00,000 --> 00:00:20,000\nHello\n' >"$runtime/tracks.srt"
    ffmpeg -loglevel error -y -f lavfi -i "testsrc=duration=20:size=320x240:rate=25" \
        -f lavfi -i "sine=frequency=440:duration=20" -f lavfi -i "sine=frequency=880:duration=20" \
        -i "$runtime/tracks.srt" -map 0:v -map 1:a -map 2:a -map 3:s -c:v mpeg4 -q:v 12 \
        -c:a mp2 -c:s srt -metadata:s:a:0 language=eng -metadata:s:a:1 language=jpn \
        -metadata:s:a:1 title=Second -metadata title="Menu tracks" -shortest \
        -f matroska "$runtime/part.mkv" && mv "$runtime/part.mkv" "$tracks" ||
        fail "ffmpeg could not make the clip with tracks"
fi

KORVEL_ENGINE_LOG=1 start_korvel korvel.log
pid=$!
panel=$(panel_window) || exit 1
playback=$(window_named "Korvel mark2") || exit 1

# A right click at the window's centre ($1), then the keys ($2...) in the menu.
menu_at() {
    local id=$1 x y w h
    shift
    IFS=, read -r x y <<<"$(window_origin "$id")"
    read -r w h <<<"$(window_size "$id" | tr x ' ')"
    timeout 10 xdotool windowactivate --sync "$id" 2>/dev/null || fail "cannot activate $id"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
    wait_within 10 menu_shown || fail "a right click on window $id opened no menu"
    # The keys alone choose, wherever the pointer would hover.
    xdotool mousemove 0 0
    xdotool key --clearmodifiers "$@"
}
# A popup of the player's process (the window manager frames none) shows.
menu_shown() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
    done
    return 1
}
about_shown() { first_window_named "About Korvel" >/dev/null; }
about_gone() { ! about_shown; }

# Fault: a window without the menu, or a right click that reaches no menu. Up twice from the
# end is About.
for window in "$panel" "$playback"; do
    menu_at "$window" Up Up Return
    wait_within 10 about_shown || fail "a right click on window $window opened no menu"
    keys_in "$(window_named "About Korvel")" Return
    wait_within 10 about_gone || fail "the About box did not close"
done

# Fault: Ctrl+O opens no dialog, or of two files typed in it the first does not play or the
# second does not join the list (which the settings file keeps as it changes).
keys_in "$panel" ctrl+o
dialog=$(window_named "Open files") || exit 1
xdotool windowactivate --sync "$dialog" type --delay 10 "\"$first\" \"$tracks\""
xdotool key --clearmodifiers Return
wait_within 20 player_has_file "$first" || fail "the first file typed in the dialog did not play"
settings="$XDG_CONFIG_HOME/korvel/korvel.ini"
wait_within 10 file_has_text "$settings" "|$tracks" || fail "the second file did not join the list"
file_has_text "$settings" "OpenFolder=$clips" || fail "the dialog's folder was not kept"

# Open location, chosen in the menu of the playlist window (second entry).
keys_in "$panel" ctrl+l
list=$(window_named "Korvel PlayList") || exit 1
menu_at "$list" Down Down Return
location=$(window_named "Open location") || exit 1
xdotool windowactivate --sync "$location" type --delay 20 "$tracks"
xdotool key --clearmodifiers Return
wait_within 20 player_has_file "$tracks" || fail "the location typed did not play"

# Fault: the second sound track cannot be chosen, or the choice does not reach the engine.
wait_within 10 file_has_text "$runtime/korvel.log" "'Second'" || fail "the engine told no tracks"
menu_at "$panel" Down Down Down Right Down Return
wait_within 10 file_has_text "$runtime/korvel.log" "(+) Audio --aid=2" ||
    fail "the second sound track was not chosen"

kill -TERM "$pid"
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"

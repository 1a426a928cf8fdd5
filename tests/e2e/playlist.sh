#!/usr/bin/env bash
# The playlist as a user fills and plays it: the panel's list button and Ctrl+L show it, Esc
# and CANCEL hide it; entries made with URL, PlayCount, the PLAY toggle and ADD; Enter plays
# them from the top, each enabled entry as often as its count, skipping a disabled one, and
# stops at the end; PageUp goes back to the previous enabled entry; with LOOP on, OK plays
# the list round again. The player's title, as the desktop hears it, shows what plays.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1" --bus
resources="$(cd "$(dirname "$0")/../../resources" && pwd)"
skin="$resources/Skin.ini"
list_skin="$resources/ListSkin.ini"

one=$(make_test_clip entry-one-3s.avi "Entry one" 3) || fail "ffmpeg could not make clip one"
two=$(make_test_clip entry-two-3s.avi "Entry two" 3) || fail "ffmpeg could not make clip two"
three=$(make_test_clip entry-three-3s.avi "Entry three" 3) ||
    fail "ffmpeg could not make clip three"

start_korvel korvel.log
pid=$!
wait_within 10 player_state PlaybackStatus >/dev/null || fail "the player is not on the session bus"
player_listen "$runtime/announced.log"
started_pids+=("$!")

playback=$(window_named 'Korvel mark2') || exit 1
panel=$(panel_window) || exit 1

# The clips that began playing, in order: a clip opens titled with its file's name and gets
# its title once it plays, so a clip played twice shows its title twice. The titles are
# those the player announced on the bus, where every change is told: the window system may
# show two quick changes of the caption as one.
plays() {
    player_titles_heard "$runtime/announced.log" | uniq | grep '^Entry ' | paste -sd , -
}
plays_are() { [ "$(plays)" = "$1" ]; }
plays_begin_with() { case "$(plays)" in "$1"*) return 0 ;; *) return 1 ;; esac }

list_shown() { xdotool search --onlyvisible --name '^Korvel PlayList$' >/dev/null 2>&1; }
list_hidden() { ! list_shown; }
list_window() { xdotool search --onlyvisible --name '^Korvel PlayList$' | head -n 1; }
on_panel() {
    click_in_front "$panel" "$skin" "$1"
    rest_pointer "$pid"
}
on_list() {
    click_in_front "$list" "$list_skin" "$1"
    rest_pointer "$pid"
}
# A left click at ($1, $2) in the list window.
in_list() {
    local x y
    timeout 10 xdotool windowactivate --sync "$list" 2>/dev/null ||
        fail "cannot bring the playlist to the front"
    IFS=, read -r x y <<<"$(window_origin "$list")"
    xdotool mousemove $((x + $1)) $((y + $2)) click 1
}
# The list's grid sits at (10, 25) under a 15-pixel header, one row of 13 pixels per entry;
# a click on row $1 (1 for the first entry) makes it current.
click_row() { in_list 220 $((25 + 15 + ($1 - 1) * 13 + 6)); }
# Replaces the text of the field around ($1, $2) with $3: URL at (205, 176), PlayCount's text
# at (160, 173).
type_into() {
    in_list "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 -- "$3"
}
url_field() { type_into 300 186 "$1"; }
count_field() { type_into 175 185 "$1"; }
rest_pointer "$pid"

# Fault: the list button or Ctrl+L does not show the list, or Esc or CANCEL does not hide it.
on_panel BUTTON_OPEN
wait_within 10 list_shown || fail "the list button did not show the playlist"
list=$(list_window)
keys_in "$list" Escape
wait_within 10 list_hidden || fail "Esc did not hide the playlist"
keys_in "$panel" ctrl+l
wait_within 10 list_shown || fail "Ctrl+L did not show the playlist"
list=$(list_window)
on_list CANCEL
wait_within 10 list_hidden || fail "CANCEL did not hide the playlist"
[ "$(plays)" = "" ] || fail "hiding the empty list played '$(plays)'"
keys_in "$panel" ctrl+l
wait_within 10 list_shown || fail "Ctrl+L did not show the playlist a second time"
list=$(list_window)

# Three entries: one with a count of 2 (composed on the end row, current in an empty list),
# two switched off by its PLAY toggle once it is current, three switched on again.
url_field "$one"
count_field 2
on_list ADD
click_row 2
url_field "$two"
count_field 1
on_list ADD
on_list PLAY
click_row 3
on_list PLAY
url_field "$three"
on_list ADD

# Fault: a count not repeating its entry, a disabled entry played, or the walk not ending.
# Enter comes to the Group field (Enter in the location field adds what it holds).
in_list 100 186
keys_in "$list" Return
wait_within 10 list_hidden || fail "Enter did not hide the playlist"
wait_within 30 plays_are "Entry one,Entry one,Entry three" ||
    fail "the list played '$(plays)', not entry one twice and then entry three"
wait_within 10 clock_holds "$panel" 1.5 || fail "after the last entry the list went on: '$(plays)'"
plays_are "Entry one,Entry one,Entry three" || fail "after the last entry it played '$(plays)'"
[ "$(xdotool getwindowname "$playback")" = "Entry three" ] ||
    fail "at the end of the list the caption is '$(xdotool getwindowname "$playback")'"

# Fault: play at the end of the list replays its last entry over and over.
before=$(plays)
keys_in "$panel" ctrl+p
wait_within 15 clock_holds "$panel" 1.5 || fail "play at the end of the list keeps playing: '$(plays)'"
case "$(plays)" in
"$before" | "$before,Entry three") ;;
*) fail "play at the end of the list played '$(plays)' after '$before'" ;;
esac

# Fault: the last entry played to its end again after the list ended replays it over and over.
before=$(plays)
press_position_track "$panel" "$skin" 50 || fail "a press on the position track did not seek back"
rest_pointer "$pid"
keys_in "$panel" ctrl+p
clock_runs "$panel" || fail "Ctrl+P after a seek back into the last entry did not play it"
wait_within 15 clock_holds "$panel" 1.5 || fail "the last entry played out again keeps playing: '$(plays)'"
case "$(plays)" in
"$before" | "$before,Entry three") ;;
*) fail "the last entry played out again led to '$(plays)' after '$before'" ;;
esac

# Fault: PageUp does not go back past the disabled entry to the previous enabled one.
before=$(plays)
keys_in "$panel" Page_Up
wait_within 10 plays_are "$before,Entry one" || fail "PageUp after entry three played '$(plays)'"
keys_in "$panel" ctrl+s

# Fault: OK not playing the list from its top, or LOOP not going round to the first entry again.
before=$(plays)
keys_in "$panel" ctrl+l
wait_within 10 list_shown || fail "Ctrl+L did not show the playlist after playing"
list=$(list_window)
on_list LOOP
on_list OK
wait_within 10 list_hidden || fail "OK did not hide the playlist"
expected="$before,Entry one,Entry one,Entry three,Entry one"
wait_within 40 plays_begin_with "$expected" ||
    fail "with LOOP on the list played '$(plays)' after '$before'"

on_panel BUTTON_EXIT
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the close button ended the player with '$exit_code'"
echo "playlist: passed"

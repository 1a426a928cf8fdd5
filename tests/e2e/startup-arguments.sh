#!/usr/bin/env bash
# The clip is the first argument in a first start as in a later one, whatever it looks like:
# files named "-reverse" and "-style" play, the toolkit never takes them as its options.
# --version answers without touching the running player. An empty clip name is told in the
# first start's error box. Without a runtime folder the player still starts, and says once why
# there is no single instance.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1" --bus

first_clip=$(make_test_clip option-a.avi "Option-like name" 20) || fail "ffmpeg failed"
second_clip=$(make_test_clip option-b.avi "Another option name" 20) || fail "ffmpeg failed"
work="$runtime/work"
mkdir -p "$work"
cp "$first_clip" "$work/-reverse" && cp "$second_clip" "$work/-style" || fail "cannot copy"
cd "$work" || fail "cannot enter $work"

start_korvel first.log -reverse
first=$!
playback=$(window_named 'Option-like name') || exit 1

timeout 20 "$build/korvel" -style >"$runtime/second.log" 2>&1
code=$?
[ "$code" = 0 ] || fail "the second start exited with $code: $(cat "$runtime/second.log")"
player_has_file "$work/-style" ||
    fail "the running player did not get the file -style: $(player_state Metadata)"
caption_is() { [ "$(xdotool getwindowname "$playback")" = "$1" ]; }
wait_within 10 caption_is "Another option name" || fail "the file -style does not play"

version=$(timeout 10 "$build/korvel" --version) || fail "--version failed"
[ "$version" = "korvel 2.8" ] || fail "--version printed '$version'"
# The player would take a --version that reached it as a clip.
player_has_file "$work/-style" || fail "--version reached the running player: $(player_state Metadata)"

kill -TERM "$first"
wait_exit "$first" 10
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"

# Fault: a first start given an empty clip name said nothing of it. The error box tells it,
# and the player runs with nothing to play.
start_korvel empty.log ""
empty=$!
error_box_window >/dev/null || exit 1
# What the box says is no part of the player's state: its log holds it.
wait_within 10 file_has_text "$runtime/empty.log" "error box: The location is empty" ||
    fail "the error box does not say that the clip's name is empty"
kill -TERM "$empty"
wait_exit "$empty" 10
[ "$exit_code" = 0 ] || fail "the player given an empty name ended with '$exit_code'"

# No runtime folder and no cache folder that can be made: the player runs all the same.
touch "$runtime/plain"
unset XDG_RUNTIME_DIR
XDG_CACHE_HOME="$runtime/plain/cache" start_korvel alone.log -reverse
alone=$!
export XDG_RUNTIME_DIR="$runtime"
window_named 'Option-like name' >/dev/null || exit 1
# What the player says is no part of its state: its log holds it.
[ "$(grep -c 'single-instance guard' "$runtime/alone.log")" = 1 ] ||
    fail "the player did not say once why it runs alone"
kill -TERM "$alone"
wait_exit "$alone" 10
[ "$exit_code" = 0 ] || fail "the lone player ended with '$exit_code'"
echo "startup-arguments: passed"

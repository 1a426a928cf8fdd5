#!/usr/bin/env bash
# The player on the desktop's media controls, driven over a private session bus as a desktop
# shell would: what plays and its title, pause and the position, opening another clip (one
# whose name is not UTF-8, and a file that is no clip), an empty location, the volume, the list's loop and
# shuffle, seeking, a refused location, and ending the program.
set -uo pipefail

# The whole test runs on a session bus of its own.
source "$(dirname "$0")/support/private-bus.sh"

source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
skin="$(cd "$(dirname "$0")/../../resources" && pwd)/Skin.ini"

first=$(make_test_clip mpris-first.avi "Bus first clip" 30) || fail "ffmpeg could not make a clip"
second=$(make_test_clip mpris-second.avi "Bus second clip" 30) || fail "ffmpeg could not make a clip"

bus_call() {
    gdbus call --session --dest org.mpris.MediaPlayer2.korvel \
        --object-path /org/mpris/MediaPlayer2 --method "$@"
}
name_owned() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.mpris.MediaPlayer2.korvel |
        grep -qF '(true,)'
}
position_moves() {
    local before
    before=$(position_us)
    wait_within 3 position_differs_from "$before"
}
position_differs_from() { [ "$(position_us)" != "$1" ]; }
# Succeeds when the position read over the bus stays the same for $1 seconds.
position_holds() {
    local deadline held
    deadline=$(deadline_after "$1")
    held=$(position_us)
    while before_ms "$deadline"; do
        sleep 0.2
        [ "$(position_us)" = "$held" ] || return 1
    done
}
# Clicks the middle of the panel's slider $1 until $2 holds, up to three times: a click on
# the panel is at times not taken, and that is not what this test is about.
click_slider_until() {
    for _ in 1 2 3; do
        click_in_front "$panel" "$skin" "$1"
        rest_pointer "$pid"
        wait_within 2 "$2" && return 0
    done
    return 1
}
caption_is() { [ "$(xdotool getwindowname "$playback")" = "$1" ]; }

start_korvel korvel.log "$first"
pid=$!
panel=$(panel_window) || exit 1
playback=$(window_named 'Bus first clip') || exit 1

# Fault: the player does not appear on the session bus.
wait_within 10 name_owned || fail "org.mpris.MediaPlayer2.korvel is not on the bus"
gdbus monitor --session --dest org.mpris.MediaPlayer2.korvel >"$runtime/monitor.log" 2>&1 &
started_pids+=("$!")

identity=$(bus_call org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2 Identity)
[ "$identity" = "(<'Korvel'>,)" ] || fail "the identity reads $identity"
schemes=$(bus_call org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2 SupportedUriSchemes)
grep -qF "'file'" <<<"$schemes" && grep -qF "'rtsp'" <<<"$schemes" ||
    fail "the offered schemes read $schemes"

# Fault: a playing clip not shown as playing, or without its title.
wait_within 10 player_status_is Playing || fail "the status reads $(player_state PlaybackStatus)"
wait_within 10 player_title_is "Bus first clip" || fail "the metadata reads $(player_state Metadata)"
player_state Metadata | grep -qF "'mpris:trackid': <objectpath '/" ||
    fail "the track id is no object path: $(player_state Metadata)"
position_moves || fail "the position does not advance while playing"

# Fault: Pause over the bus leaves the clip playing, the status unchanged or unannounced,
# or the panel's clock disagreeing with the bus.
bus_call org.mpris.MediaPlayer2.Player.Pause >/dev/null || fail "Pause was refused"
wait_within 10 player_status_is Paused || fail "the status reads $(player_state PlaybackStatus)"
wait_within 10 position_holds 1.5 || fail "the position advances after Pause"
wait_within 10 clock_holds "$panel" 1.5 || fail "the panel's clock runs on after Pause"
wait_within 10 file_has_text "$runtime/monitor.log" "'PlaybackStatus': <'Paused'>" ||
    fail "the pause was not announced"

# Fault: after a quiet while with nothing playing (the position and the clock held for three
# seconds), the panel's volume slider or a key on the panel is not announced: nothing but
# the change itself may tell the bus of it, and nothing moves on its own then. The
# press on the slider's bare track sets the volume near 0 and lets the window manager move
# the panel until the release, so the pointer stays put until then.
announced_volumes() { grep -cF "'Volume':" "$runtime/monitor.log"; }
more_volumes_announced() { [ "$(announced_volumes)" -gt "$1" ]; }
before=$(announced_volumes)
read -r tx ty _ <<<"$(skin_rect "$skin" TRACKBAR_VOLUME)"
timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null || fail "cannot bring the panel up"
IFS=, read -r px py <<<"$(window_origin "$panel")"
xdotool mousemove $((px + tx + 5)) $((py + ty + 5)) mousedown 1
wait_within 10 more_volumes_announced "$before"
announced=$?
xdotool mouseup 1
rest_pointer "$pid"
[ "$announced" = 0 ] ||
    fail "the volume slider after a quiet while was not announced: $(player_state Volume)"
announced_playing() { grep -cF "'PlaybackStatus': <'Playing'>" "$runtime/monitor.log"; }
more_playing_announced() { [ "$(announced_playing)" -gt "$1" ]; }
before=$(announced_playing)
keys_in "$panel" ctrl+p
wait_within 10 more_playing_announced "$before" ||
    fail "Ctrl+P after a quiet while was not announced: $(player_state PlaybackStatus)"
bus_call org.mpris.MediaPlayer2.Player.Pause >/dev/null || fail "Pause was refused"
wait_within 10 player_status_is Paused || fail "Pause left $(player_state PlaybackStatus)"

# Fault: PlayPause does not resume a paused clip.
bus_call org.mpris.MediaPlayer2.Player.PlayPause >/dev/null || fail "PlayPause was refused"
wait_within 10 player_status_is Playing || fail "PlayPause left $(player_state PlaybackStatus)"
position_moves || fail "the position does not advance after PlayPause"

# Fault: ordinary play, pause and resume announced as seeks.
seeks() { grep -cF "Player.Seeked" "$runtime/monitor.log"; }
[ "$(seeks)" = 0 ] || fail "Seeked was sent without a seek"

# Fault: a seek from the panel's position track (not asked for over the bus) not announced.
seeks_before=0
more_seeks() { [ "$(seeks)" -gt "$seeks_before" ]; }
position_past_ten() { [ "$(position_us)" -ge 10000000 ]; }
click_slider_until TRACKBAR_POS position_past_ten ||
    fail "the panel's position track did not seek: $(position_us)"
wait_within 5 more_seeks || fail "the seek from the panel was not announced with Seeked"
seeks_before=$(seeks)

# Fault: OpenUri does not switch clips, or a file URI is not taken as a local file.
uri=$(python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' "$second")
bus_call org.mpris.MediaPlayer2.Player.OpenUri "$uri" >/dev/null || fail "OpenUri was refused"
wait_within 10 caption_is "Bus second clip" || fail "the caption reads $(xdotool getwindowname "$playback")"
wait_within 10 player_title_is "Bus second clip" || fail "the metadata reads $(player_state Metadata)"
wait_within 10 file_has_text "$runtime/monitor.log" "'xesam:title': <'Bus second clip'>" ||
    fail "the new clip's metadata was not announced"

# Fault: a location the player cannot open is answered as success, or shown in an error box
# on the user's screen instead of being told to the program that asked.
if bus_call org.mpris.MediaPlayer2.Player.OpenUri "file:///no/such/clip.avi" \
    >"$runtime/refused.txt" 2>&1; then
    fail "OpenUri of a missing file answered success"
fi
grep -qF "no such file" "$runtime/refused.txt" || fail "the refusal reads $(cat "$runtime/refused.txt")"
! error_box_shown || fail "a refused OpenUri showed an error box"
caption_is "Bus second clip" || fail "a refused OpenUri changed the clip"

# Fault: OpenUri of an empty location was never answered (the caller waited until its own time
# ran out), and the list played no further. It is refused at once, with no box on the screen,
# and the clip plays on.
if gdbus call --session --timeout 10 --dest org.mpris.MediaPlayer2.korvel \
    --object-path /org/mpris/MediaPlayer2 --method org.mpris.MediaPlayer2.Player.OpenUri "" \
    >"$runtime/empty-uri.txt" 2>&1; then
    fail "OpenUri of an empty location answered success"
fi
grep -qF "The location is empty" "$runtime/empty-uri.txt" ||
    fail "the refusal of an empty location reads $(cat "$runtime/empty-uri.txt")"
! error_box_shown || fail "a refused empty location showed an error box"
caption_is "Bus second clip" || fail "a refused empty location changed the clip"

# Fault: a clip that opens announced as a seek (its position starts anew).
[ "$(seeks)" = "$seeks_before" ] || fail "the new clip's start was announced as a seek"

# Fault: a file URI of a name that is not UTF-8 refused as "no such file" (its byte taken for
# another character), or given back in xesam:url as the escapes of that character.
latin1="$(dirname "$first")/mpris-caf"$'\xe9'".avi"
if [ ! -s "$latin1" ]; then
    third=$(make_test_clip mpris-third.avi "Bus third clip" 30) || fail "ffmpeg could not make a clip"
    cp "$third" "$latin1" || fail "cannot write a name that is not UTF-8"
fi
latin1_uri="file://$(dirname "$first")/mpris-caf%E9.avi"
bus_call org.mpris.MediaPlayer2.Player.OpenUri "$latin1_uri" >"$runtime/latin1.txt" 2>&1 ||
    fail "OpenUri of a name that is not UTF-8 was refused: $(cat "$runtime/latin1.txt")"
wait_within 10 player_state Metadata | grep -qF "'xesam:url': <'$latin1_uri'>" ||
    fail "xesam:url is not the name's bytes: $(player_state Metadata)"

# Fault: a readable file that is no clip answered as success, shown in a modal box, or
# stopping what played: the caller hears the failure and the clip before plays on.
wait_within 10 player_status_is Playing || fail "the third clip does not play"
printf 'These are notes, no clip.\n' >"$runtime/notes.avi"
notes_uri=$(python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' \
    "$runtime/notes.avi")
if bus_call org.mpris.MediaPlayer2.Player.OpenUri "$notes_uri" >"$runtime/notes.txt" 2>&1; then
    fail "OpenUri of a file that is no clip answered success"
fi
grep -qF "notes.avi" "$runtime/notes.txt" || fail "the refusal reads $(cat "$runtime/notes.txt")"
wait_within 10 caption_is "Bus third clip" ||
    fail "the clip that could not be opened left the caption $(xdotool getwindowname "$playback")"
wait_within 10 player_status_is Playing || fail "the clip before was left $(player_state PlaybackStatus)"
position_moves || fail "the clip before does not play on"
! error_box_shown || fail "OpenUri of a file that is no clip showed an error box"
seeks_before=$(seeks)

# Fault: Seek does not move the clip, or the jump is not announced with Seeked.
wait_within 10 player_status_is Playing || fail "the third clip does not play"
bus_call org.mpris.MediaPlayer2.Player.Seek 10000000 >/dev/null || fail "Seek was refused"
wait_within 10 position_past_ten || fail "the position after Seek reads $(position_us)"
wait_within 10 more_seeks || fail "no Seeked after the seek"

# Fault: a volume set over the bus does not reach the panel's slider.
bus_call org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player Volume "<0.3>" \
    >/dev/null || fail "setting the volume was refused"
volume_is_three_tenths() {
    player_state Volume | awk '{ gsub(/[^0-9.]/, ""); exit !($0 > 0.295 && $0 < 0.305) }'
}
wait_within 5 volume_is_three_tenths || fail "the volume reads $(player_state Volume)"
volume_announced() { grep -qE "'Volume': <0\.(3|29999)" "$runtime/monitor.log"; }
wait_within 10 volume_announced || fail "the volume change was not announced"

# Fault: a volume that is no number taken silently, as if it had been set.
if dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.korvel /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Set string:org.mpris.MediaPlayer2.Player string:Volume \
    variant:double:nan >"$runtime/nan.txt" 2>&1; then
    fail "a volume of NaN answered success"
fi
grep -qF "org.freedesktop.DBus.Error.InvalidArgs" "$runtime/nan.txt" ||
    fail "the refused volume reads $(cat "$runtime/nan.txt")"
volume_is_three_tenths || fail "a refused volume changed it to $(player_state Volume)"

# Fault: the list's LOOP and SHUFFLE not offered, not set from the bus, or their change not
# announced; a loop or rate the player does not have taken as if it were set.
set_player() {
    bus_call org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player "$1" "$2"
}
all=$(bus_call org.freedesktop.DBus.Properties.GetAll org.mpris.MediaPlayer2.Player)
grep -qF "'LoopStatus': <'None'>" <<<"$all" && grep -qF "'Shuffle': <false>" <<<"$all" &&
    grep -qF "'xesam:title': <'Bus third clip'>" <<<"$all" || fail "GetAll reads $all"
set_player LoopStatus "<'Playlist'>" >/dev/null || fail "setting LoopStatus was refused"
set_player Shuffle "<true>" >/dev/null || fail "setting Shuffle was refused"
[ "$(player_state LoopStatus)" = "(<'Playlist'>,)" ] || fail "LoopStatus reads $(player_state LoopStatus)"
[ "$(player_state Shuffle)" = "(<true>,)" ] || fail "Shuffle reads $(player_state Shuffle)"
wait_within 10 file_has_text "$runtime/monitor.log" "'LoopStatus': <'Playlist'>" || fail "LOOP was not announced"
wait_within 10 file_has_text "$runtime/monitor.log" "'Shuffle': <true>" || fail "SHUFFLE was not announced"
if set_player LoopStatus "<'Track'>" >"$runtime/track.txt" 2>&1; then
    fail "a loop of one track answered success"
fi
[ "$(player_state LoopStatus)" = "(<'Playlist'>,)" ] || fail "LoopStatus reads $(player_state LoopStatus)"
if set_player Rate "<2.0>" >"$runtime/rate.txt" 2>&1; then fail "a rate of 2 answered success"; fi
[ "$(player_state Rate)" = "(<1.0>,)" ] || fail "Rate reads $(player_state Rate)"

# Fault: SetPosition honoured for another clip's track id, or ignored for this one's.
trackid=$(player_state Metadata | grep -oE "objectpath '[^']+'" | cut -d"'" -f2)
[ -n "$trackid" ] || fail "no track id in $(player_state Metadata)"
bus_call org.mpris.MediaPlayer2.Player.SetPosition /org/korvel/Korvel/Track/t0 2000000 \
    >/dev/null || fail "SetPosition with another track id was refused"
position_stays_past_ten() {
    local deadline
    deadline=$(deadline_after "$1")
    while before_ms "$deadline"; do
        position_past_ten || return 1
        sleep 0.2
    done
}
position_stays_past_ten 1 || fail "SetPosition for another clip moved this one to $(position_us)"
bus_call org.mpris.MediaPlayer2.Player.SetPosition "$trackid" 2000000 >/dev/null ||
    fail "SetPosition was refused"
position_near_start() { [ "$(position_us)" -lt 6000000 ]; }
wait_within 10 position_near_start || fail "the position after SetPosition reads $(position_us)"

# Fault: Stop over the bus leaves the clip playing or still offering a pause; Play after it
# does not start it again.
bus_call org.mpris.MediaPlayer2.Player.Stop >/dev/null || fail "Stop was refused"
wait_within 10 player_status_is Stopped || fail "Stop left $(player_state PlaybackStatus)"
[ "$(player_state CanPause)" = "(<false>,)" ] || fail "a stopped clip offers a pause"
bus_call org.mpris.MediaPlayer2.Player.Play >/dev/null || fail "Play was refused"
wait_within 10 player_status_is Playing || fail "Play after Stop left $(player_state PlaybackStatus)"

# Fault: Raise does not bring back a minimized playback window.
xdotool windowminimize --sync "$playback" 2>/dev/null || fail "cannot minimize the playback window"
bus_call org.mpris.MediaPlayer2.Raise >/dev/null || fail "Raise was refused"
wait_within 10 window_viewable "$playback" || fail "Raise left the playback window hidden"

# Fault: a second player that finds the name taken fails to start, shows an error box, or
# takes the name from the first.
mkdir -m 700 "$runtime/other"
XDG_RUNTIME_DIR="$runtime/other" start_korvel other.log "$first"
other=$!
wait_within 20 xdotool search --onlyvisible --pid "$other" >/dev/null 2>&1 ||
    fail "the second player shows no window"
# What the second player says is no part of any state on the bus: its log holds it.
wait_within 10 file_has_text "$runtime/other.log" "org.mpris.MediaPlayer2.korvel belongs to another program" ||
    fail "the second player did not say why it has no media controls"
! error_box_shown || fail "the second player showed an error box"
owner=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID org.mpris.MediaPlayer2.korvel)
[ "$owner" = "(uint32 $pid,)" ] || fail "the name went from the first player to $owner"
kill -TERM "$other"
wait_exit "$other" 10
[ "$exit_code" = 0 ] || fail "the second player ended with '$exit_code'"

# Fault: after a quiet while with nothing playing, a clip that a second start opens is not
# announced: nothing moves on its own then, and the engine's events alone tell of it.
bus_call org.mpris.MediaPlayer2.Player.Pause >/dev/null || fail "Pause was refused"
wait_within 10 player_status_is Paused || fail "Pause left $(player_state PlaybackStatus)"
sleep 2
before=$(announced_playing)
timeout 20 "$build/korvel" "$first" >"$runtime/handoff.log" 2>&1 || fail "the second start failed"
wait_within 10 more_playing_announced "$before" ||
    fail "the clip a second start opened after a quiet while was not announced"

# Fault: Quit leaves the player running, or ends it with a failure.
bus_call org.mpris.MediaPlayer2.Quit >/dev/null || fail "Quit was refused"
wait_exit "$pid" 15
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code' after Quit"
echo "mpris: passed"

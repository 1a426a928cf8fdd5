#!/usr/bin/env bash
# Korvel in a Wayland session: weston's headless back end with Xwayland beside it. Started as
# a desktop starts it, the player runs through the X server: its three windows show there,
# the panel with its outline at its stored place, which is stored again. Run on Wayland itself
# (the user's QT_QPA_PLATFORM), where no window can be placed, it still starts and plays the
# clip, and the places stored stay as they were.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
for program in weston Xwayland; do
    if ! command -v "$program" >/dev/null; then
        echo "no $program (scripts/setup installs it): skipped"
        exit 77
    fi
done
# Weston gives Xwayland its runtime folder; the player keeps its settings in this test's.
e2e_init "$1" --no-display
unset QT_QPA_PLATFORM
settings="$XDG_CONFIG_HOME/korvel/korvel.ini"

# Weston makes its X server's socket in the system's X socket folder, which only an X server
# started earlier may have made.
if [ ! -d /tmp/.X11-unix ]; then
    mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
fi
weston --backend=headless-backend.so --xwayland --socket=korvel-wayland --width=1280 \
    --height=800 --idle-time=0 --log="$runtime/weston.log" >"$runtime/weston-out.log" 2>&1 &
started_pids+=("$!")
# Weston says which X display it opened; Xwayland itself starts at the first client.
x_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/weston.log"; }
weston_ready() { [ -S "$runtime/korvel-wayland" ] && [ -n "$(x_display)" ]; }
if ! wait_within 20 weston_ready 2>/dev/null; then
    cat "$runtime"/weston*.log
    echo "weston did not start: skipped"
    exit 77
fi
DISPLAY=$(x_display)
export WAYLAND_DISPLAY=korvel-wayland XDG_SESSION_TYPE=wayland DISPLAY
# A session bus of the test's own, on which it sees what the player plays.
command -v gdbus >/dev/null || { echo "no gdbus: skipped"; exit 77; }
session_bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=${session_bus%%$'\n'*}
started_pids+=("${session_bus##*$'\n'}")

caption="Wayland clip"
clip=$(make_test_clip wayland-20s.avi "$caption" 20) || fail "ffmpeg could not make the clip"
mkdir -p "$(dirname "$settings")"
stored_places=$'ImageWindowPosX=60\nImageWindowPosY=70\nPlayListPosX=700\nPlayListPosY=80\n'
stored_places+=$'PlayerPosX=420\nPlayerPosY=360'
printf '[Korvel setting]\n%s\n' "$stored_places" >"$settings"
places_in_file() { grep -E '^(ImageWindow|PlayList|Player)Pos[XY]=' "$settings"; }

start_player() {
    start_korvel "korvel-$1.log" "$clip"
    pid=$!
}

# A termination signal closes the player as its close box does, saving the settings.
end_player() {
    kill -TERM "$pid"
    wait_exit "$pid" 15
    [ "$exit_code" = 0 ] || fail "the player ended with '$exit_code' on $1"
}

# Through Xwayland: the three windows show on the X server, the panel where the settings put
# it (weston itself places the tool windows, the playback window and the list, wherever it
# likes) and with its outline.
start_player x
panel=$(panel_window) || exit 1
window_named "$caption" >/dev/null || exit 1
# Ctrl+L only shows the list; pressed again when weston gave the key to no window yet.
list_shown() { xdotool search --onlyvisible --name '^Korvel PlayList$' >/dev/null 2>&1; }
ask_for_list() { list_shown || { keys_in "$panel" ctrl+l && wait_within 2 list_shown; }; }
wait_within 20 ask_for_list || fail "Ctrl+L showed no playlist on Xwayland"
panel_at() { [ "$(window_origin "$panel")" = 420,360 ]; }
wait_within 10 panel_at || fail "the panel stands at $(window_origin "$panel"), not at 420,360"
# The built-in panel's outline is its whole face; a window without one has no shape at all.
xwininfo -shape -id "$panel" | grep -q 'Window shape extents: *273x116+0+0' ||
    fail "the panel has no outline on Xwayland: $(xwininfo -shape -id "$panel" | grep -i shape)"
end_player "Xwayland"
grep -q '^Volume=' "$settings" || fail "the settings were not saved: $(cat "$settings")"
grep -qx 'PlayerPosX=420' "$settings" && grep -qx 'PlayerPosY=360' "$settings" ||
    fail "the panel's place came back as $(places_in_file | tr '\n' ' ')"

# On Wayland itself: no window reaches the X server, the clip plays, the places stay.
printf '[Korvel setting]\n%s\n' "$stored_places" >"$settings"
QT_QPA_PLATFORM=wayland start_player wayland
wait_within 10 player_title_is "$caption" || fail "the clip did not start on Wayland: $(player_state Metadata)"
kill -0 "$pid" 2>/dev/null || fail "the player ended on Wayland"
[ -z "$(xdotool search --name "^$app_title\$" 2>/dev/null)" ] ||
    fail "the player's windows went to the X server though Wayland was asked for"
end_player "Wayland"
grep -q '^Volume=' "$settings" || fail "the settings were not saved on Wayland"
[ "$(places_in_file)" = "$stored_places" ] ||
    fail "the stored places were changed on Wayland: $(places_in_file | tr '\n' ' ')"

# The OpenGL picture on Wayland, a surface of its own inside the playback window's that the
# drawing thread draws into: the clip plays on with no frame left waiting for a picture, and
# the player lets the surface go as it ends.
KORVEL_PICTURE=gl KORVEL_ENGINE_LOG=1 QT_QPA_PLATFORM=wayland start_player wayland-gl
gl_log="$runtime/korvel-wayland-gl.log"
wait_within 10 player_title_is "$caption" ||
    fail "the clip did not start on Wayland with OpenGL: $(player_state Metadata)"
grep -qF "picture: drawn with OpenGL" "$gl_log" || fail "no OpenGL picture on Wayland: $(tail "$gl_log")"
first=$(position_us)
moved_on() { [ "$(position_us)" -gt $((first + 1000000)) ]; }
wait_within 10 moved_on || fail "the clip stood still on Wayland with OpenGL at $(position_us) us"
! grep -qF "not being called or stuck" "$gl_log" || fail "frames waited for the OpenGL picture on Wayland"
end_player "Wayland with OpenGL"

# The toolkit's own teardown on Wayland reads memory it has freed, and crashed the player now
# and then at its end; the player ends before it. Memcheck sees the read whether or not it
# crashes. No clip: the end is what is looked at.
if command -v valgrind >/dev/null; then
    memcheck_log="$runtime/memcheck.log"
    QT_QPA_PLATFORM=wayland valgrind --log-file="$memcheck_log" --num-callers=30 \
        "$build/korvel" >"$runtime/korvel-memcheck.log" 2>&1 &
    pid=$!
    started_pids+=("$pid")
    player_up() { player_state PlaybackStatus >/dev/null; }
    wait_within 120 player_up || fail "the player did not start under memcheck"
    end_player "Wayland under memcheck"
    ! grep -q 'QWaylandDisplay::~QWaylandDisplay' "$memcheck_log" ||
        fail "the end on Wayland touched freed memory: $(grep -m1 -B12 -A2 '~QWaylandDisplay' "$memcheck_log")"
fi
echo "wayland: passed"

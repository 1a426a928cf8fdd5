# Helpers of the end-to-end tests. Each test gets its own runtime folder, so it never meets
# another Korvel instance, and its own X display under openbox, so tests run side by side;
# they talk to real windows through xdotool and wmctrl.
#
# e2e_init sets what every helper may use: build (the build folder), runtime (the test's own
# folder, where the players' logs go) and app_title; every other input is an argument.

e2e_lib="$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib"
# shellcheck source=../../../scripts/lib/wait.sh
source "$e2e_lib/wait.sh"
# shellcheck source=../../../scripts/lib/xserver.sh
source "$e2e_lib/xserver.sh"
# shellcheck source=../../../scripts/lib/player.sh
source "$e2e_lib/player.sh"
# shellcheck source=../../../scripts/lib/clips.sh
source "$e2e_lib/clips.sh"

# e2e_init BUILD [--no-display | --bus]: the test's runtime and settings folders, and a
# private X display under openbox unless the test makes its own displays (--no-display); with
# --bus the display has a session bus of its own, on which the test sees the player's state
# (player_state). Skips the test (77) where no X server can be started.
e2e_init() {
    build=$(cd "$1" && pwd)
    app_title=$(korvel_app_title "$build") || exit 1
    command -v Xvfb >/dev/null || { echo "no Xvfb: skipped"; exit 77; }
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    # The player keeps its settings here, never in the settings of whoever runs the tests.
    export XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$runtime/config" QT_QPA_PLATFORM=xcb
    export QT_LOGGING_RULES="korvel.*.debug=true"
    started_pids=()
    trap e2e_cleanup EXIT
    unset DISPLAY
    # Tests running side by side never meet on a bus: a test has the bus it starts itself
    # (the MPRIS test, the window managers' displays) or none.
    [ -n "${KORVEL_E2E_PRIVATE_BUS:-}" ] || unset DBUS_SESSION_BUS_ADDRESS
    [ "${2:-}" = --no-display ] && return 0
    local bus=()
    if [ "${2:-}" = --bus ]; then
        command -v gdbus >/dev/null || { echo "no gdbus: skipped"; exit 77; }
        bus=(--bus)
    fi
    korvel_start_display openbox "$runtime/window-manager.log" "${bus[@]}" || fail "no X display"
}

e2e_cleanup() {
    local pid
    for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null; done
    # A bare wait would wait for the display too: a test that failed before it started a
    # player then hung until its time ran out.
    ((${#started_pids[@]} == 0)) || wait "${started_pids[@]}" 2>/dev/null
    korvel_stop_display
    rm -rf "$runtime"
}

# start_korvel LOG [ARGUMENT...]: starts the player of the build with the arguments in the
# background, its output in $runtime/LOG; $! is its process id. The cleanup ends it.
# Environment assignments before the call reach the player.
start_korvel() {
    local log=$1
    shift
    "$build/korvel" "$@" >"$runtime/$log" 2>&1 &
    started_pids+=("$!")
}

# Says what the test saw, for a failure: whether each player it started still runs, its
# windows as the window manager lists them, and the last lines of every log.
e2e_report() {
    local pid log
    for pid in "${started_pids[@]}"; do
        if kill -0 "$pid" 2>/dev/null; then
            echo "--- player $pid runs; its windows (id, desktop, pid, x, y, width, height, name):"
            wmctrl -lpG 2>/dev/null | awk -v pid="$pid" '$3 == pid'
        else
            echo "--- player $pid has ended"
        fi
    done
    if [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && player_state PlaybackStatus >/dev/null; then
        echo "--- the player's state on the bus: $(player_state PlaybackStatus)" \
            "$(player_state Metadata) position $(player_state Position)"
    fi
    for log in "$runtime"/*.log; do
        [ -f "$log" ] || continue
        echo "--- the last lines of $(basename "$log"):"
        tail -n 30 "$log"
    done
}

fail() {
    echo "FAIL: $*" >&2
    e2e_report >&2
    exit 1
}

# One search per try: xdotool ends a search at the first X error, and a window that goes away
# while it looks (Qt makes and drops windows as a player starts) is one, so --sync is no wait.
first_window_named() {
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)
    [ -n "$id" ] && echo "${id%%$'\n'*}"
}

# The id of the visible window whose name is exactly $1, waiting up to 20 s.
window_named() {
    local id
    id=$(wait_within 20 first_window_named "$1") || fail "no visible window named '$1'"
    echo "$id"
}

# The application title (app_title, set by e2e_init) is the player panel's, the text of the
# program's one task-bar entry, and the error box's caption. The two are told apart by their
# window type.
# The visible windows titled with the application title: error boxes ($1 box) or the panel
# ($1 panel).
titled_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name "^${app_title//./\\.}\$" 2>/dev/null); do
        if window_is_dialog "$id"; then
            [ "$1" = box ] && echo "$id"
        else
            [ "$1" = panel ] && echo "$id"
        fi
    done
    return 0
}

# Prints the first visible window of kind $1 (as titled_windows); fails when there is none.
first_titled_window() {
    local id
    id=$(titled_windows "$1")
    [ -n "$id" ] && echo "${id%%$'\n'*}"
}

# The id of the first visible window of kind $1 (as titled_windows), waiting up to 20 s; $2
# names it for the failure.
titled_window() {
    wait_within 20 first_titled_window "$1" || fail "no visible $2 titled '$app_title'"
}

# The id of the player panel.
panel_window() { titled_window panel "player panel"; }

# The id of an error box, and whether one shows.
error_box_window() { titled_window box "error box"; }
error_box_shown() { [ -n "$(titled_windows box)" ]; }
error_box_gone() { ! error_box_shown; }

# Waits up to $2 seconds (default 10) for our child $1 to end; sets exit_code to its exit
# code, or to "timeout". Call it in this shell, not in a subshell: only a parent can wait.
wait_exit() {
    local pid=$1 limit=${2:-10}
    exit_code=timeout
    wait_within "$limit" process_ended "$pid" || return 0
    wait "$pid"
    # shellcheck disable=SC2034 # the caller's result
    exit_code=$?
}

process_ended() { ! kill -0 "$1" 2>/dev/null; }

# Succeeds when file $1 holds the fixed text $2.
file_has_text() { grep -qF -- "$2" "$1" 2>/dev/null; }

# Succeeds when process $1 shows a tooltip window.
tooltip_shown() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP &&
            return 0
    done
    return 1
}

tooltip_hidden() { ! tooltip_shown "$1"; }

# Writes what the screen shows inside window $1's client area to $2, as raw RGB bytes (three
# per pixel, rows top to bottom), without the pointer.
grab_window() {
    # shellcheck disable=SC2034 # xdotool's --shell sets all six
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size "${WIDTH}x${HEIGHT}" \
        -i "${DISPLAY}+${X},${Y}" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$2"
}

# Prints "same" or "different": how two grabs of width $3 compare inside the rectangle
# x $4, y $5, width $6, height $7. Grabs that do not hold the rectangle fail the test.
compare_pixels() {
    python3 - "$@" <<'PY' || fail "cannot compare $1 and $2"
import sys
a, b = (open(name, "rb").read() for name in sys.argv[1:3])
width, x, y, w, h = (int(v) for v in sys.argv[3:8])
if len(a) != len(b) or len(a) < (y + h) * width * 3 or x + w > width:
    sys.exit("grabs of different or too small sizes")
rows = (slice(((y + r) * width + x) * 3, ((y + r) * width + x + w) * 3) for r in range(h))
print("same" if all(a[s] == b[s] for s in rows) else "different")
PY
}

# Whether every window of a list is on the screen, or none is.
all_viewable() {
    local id
    for id in "$@"; do window_viewable "$id" || return 1; done
}
none_viewable() {
    local id
    for id in "$@"; do window_unviewable "$id" || return 1; done
}

# The screen point at the middle of element $3 (of skin $2) on the borderless window $1,
# into ex and ey.
element_centre() {
    local x y left top width height
    IFS=, read -r x y <<<"$(window_origin "$1")"
    read -r left top width height <<<"$(skin_rect "$2" "$3")" ||
        fail "no element $3 in $2"
    ex=$((x + left + width / 2))
    ey=$((y + top + height / 2))
}

# A left click on element $3 of skin $2 on window $1.
click_element() {
    element_centre "$1" "$2" "$3"
    xdotool mousemove "$ex" "$ey" click 1
}

# The same, with window $1 brought to the front first, as a click on a free spot of it would:
# another window may have been moved over it.
click_in_front() {
    timeout 10 xdotool windowactivate --sync "$1" 2>/dev/null ||
        fail "cannot bring window $1 to the front"
    click_element "$@"
}

# Makes a clip once per build folder and prints its path: $1 its file name, $2 its title, $3
# its length in seconds (see korvel_make_clip).
make_test_clip() { korvel_make_clip "$build/test-media/e2e" "$@"; }

# Presses keys ($2...) in window $1, made the active window first as a user's click would.
keys_in() {
    local id=$1
    shift
    timeout 10 xdotool windowactivate --sync "$id" key --clearmodifiers "$@" 2>/dev/null ||
        fail "cannot press '$*' in window $id"
}

# Rests the pointer in the screen's bottom left corner, away from the player's windows, and
# waits for process $1's tooltips to go, so that grabs see the faces as they are.
rest_pointer() {
    local height
    height=$(xwininfo -root | awk '/Height:/ { print $2 }')
    xdotool mousemove 0 $((height - 1))
    wait_within 10 tooltip_hidden "$1" || fail "a tooltip stays open away from the windows"
}

# The position display (TEXT_POS) of the player panel: "hh:mm:ss" drawn from the skin's
# point (15, 39), 58 x 16 pixels.
panel_clock="15 39 58 16"

# Succeeds when the clock of panel $1 shows something else than in grab $2.
clock_moved_from() {
    grab_window "$1" "$runtime/clock-now.rgb" || return 1
    # shellcheck disable=SC2086 # the rectangle's four numbers are four arguments
    [ "$(compare_pixels "$2" "$runtime/clock-now.rgb" 273 $panel_clock)" = different ]
}

# Succeeds when the clock of panel $1 shows the same for $2 seconds; a running clock changes
# every second. Leaves the grab it held in $runtime/clock-held.rgb.
clock_holds() {
    local deadline
    deadline=$(deadline_after "$2")
    grab_window "$1" "$runtime/clock-held.rgb" || return 1
    while before_ms "$deadline"; do
        sleep 0.2
        ! clock_moved_from "$1" "$runtime/clock-held.rgb" || return 1
    done
}

# Succeeds when the clock of panel $1 changes within 5 s.
clock_runs() {
    grab_window "$1" "$runtime/clock-was.rgb" || return 1
    wait_within 5 clock_moved_from "$1" "$runtime/clock-was.rgb"
}

# With the clock standing, presses the position track (TRACKBAR_POS of skin $2) of panel $1
# where the thumb's middle stands at position $3 (0..100), which seeks there, and releases
# once the clock has moved; fails when it does not. A press on the bare track also lets the
# window manager move the panel until the release: the release waits until the press has
# acted, and the pointer does not move in between.
press_position_track() {
    local panel=$1 tx ty tlength travel px py moved
    read -r tx ty tlength _ <<<"$(skin_rect "$2" TRACKBAR_POS)"
    # The thumb is 10 pixels wide; at position p its left edge is travel * p / 100 in.
    travel=$((tlength - 10))
    timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null ||
        fail "cannot bring the panel to the front"
    grab_window "$panel" "$runtime/before-press.rgb" || return 1
    IFS=, read -r px py <<<"$(window_origin "$panel")"
    xdotool mousemove $((px + tx + travel * $3 / 100 + 5)) $((py + ty + 5)) mousedown 1
    wait_within 10 clock_moved_from "$panel" "$runtime/before-press.rgb"
    moved=$?
    xdotool mouseup 1
    return $moved
}

# The shorthand of the tests that drive one player: a click on element $1 of the panel, or
# keys pressed in it, with the pointer then at rest and the tooltips gone. The test names
# that player in panel, skin and pid before the first use.
click() {
    # shellcheck disable=SC2154 # the calling test's panel, skin and pid
    click_in_front "$panel" "$skin" "$1"
    rest_pointer "$pid"
}
panel_keys() {
    keys_in "$panel" "$@"
    rest_pointer "$pid"
}

# The playback window captioned $1, as the screen shows it now.
playback_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }

# A touchpad's tap: press and release sent together, so the player reads them in one go.
touchpad_tap() {
    xdotool mousemove "$1" "$2"
    python3 - <<'PY' || fail "cannot tap through the XTest extension"
import ctypes
x11, xtest = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
if not display.value:
    raise SystemExit(1)
for down in (1, 0):
    xtest.XTestFakeButtonEvent(display, 1, down, 0)
x11.XCloseDisplay(display)
PY
}

# Succeeds when no program holds the pointer or the keyboard (a window manager moving a window
# holds both): a grab of our own is granted, and given back at once.
input_free() {
    python3 - <<'PY'
import ctypes
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint,
                             ctypes.c_int, ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong,
                             ctypes.c_ulong]
x11.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_int, ctypes.c_ulong]
display = ctypes.c_void_p(x11.XOpenDisplay(None))
if not display.value:
    raise SystemExit(2)
root = x11.XDefaultRootWindow(display)
pointer = x11.XGrabPointer(display, root, 0, 0, 1, 1, 0, 0, 0)
keyboard = x11.XGrabKeyboard(display, root, 0, 1, 1, 0)
x11.XCloseDisplay(display)  # gives back what was granted
raise SystemExit(0 if pointer == 0 and keyboard == 0 else 1)
PY
}

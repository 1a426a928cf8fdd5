#!/usr/bin/env bash
# The panel and the playlist on a display scaled by two: each window is twice its size, its
# outline is the mask's doubled, the panel shows its face with every skin pixel as a sharp
# 2 x 2 block, and the pointer hits the same elements, to the last screen pixel of a button.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
resources="$(cd "$(dirname "$0")/../../resources" && pwd)"
skin="$resources/Skin.ini"

# The outline of window $1 as the X server keeps it, into file $2: one "X Y W H" line per
# rectangle, in the window's pixels.
write_shape() {
    python3 - "$1" >"$2" <<'PY' || fail "cannot read the outline of window $1"
import ctypes, ctypes.util, sys

class Rect(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort)]

x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
xext = ctypes.CDLL(ctypes.util.find_library("Xext"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
xext.XShapeGetRectangles.restype = ctypes.POINTER(Rect)
xext.XShapeGetRectangles.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                     ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no display")
count, order = ctypes.c_int(), ctypes.c_int()
rects = xext.XShapeGetRectangles(display, int(sys.argv[1]), 0, ctypes.byref(count),
                                 ctypes.byref(order))
for i in range(count.value):
    print(rects[i].x, rects[i].y, rects[i].width, rects[i].height)
PY
}

# Succeeds when outline $runtime/${1}2.shape covers exactly the pixels of ${1}1.shape
# doubled.
outline_doubled() {
    python3 - "$runtime/${1}1.shape" "$runtime/${1}2.shape" <<'PY'
import sys

def cells(path, scale):
    inside = set()
    for line in open(path):
        x, y, w, h = (int(v) * scale for v in line.split())
        inside.update((i, j) for j in range(y, y + h) for i in range(x, x + w))
    return inside

wanted, doubled = cells(sys.argv[1], 2), cells(sys.argv[2], 1)
if not wanted or doubled != wanted:
    sys.exit(f"{len(doubled ^ wanted)} of {len(wanted)} pixels differ")
PY
}

# Starts the player with the environment given ($@, NAME=VALUE each), and sets pid and panel.
starts=0
start_player() {
    (($#)) && local -x "$@"
    start_korvel "korvel-$((++starts)).log"
    pid=$!
    panel=$(panel_window) || exit 1
    # Clear of the playback window, whatever size the scale gives it.
    timeout 10 xdotool windowmove --sync "$panel" 700 560 2>/dev/null ||
        fail "cannot move the panel"
    rest_pointer "$pid"
}

stop_player() {
    kill -TERM "$pid"
    wait_exit "$pid" 10
    [ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"
}

list_window() { xdotool search --onlyvisible --name '^Korvel PlayList$' 2>/dev/null | head -n 1; }
list_shown() { [ -n "$(list_window)" ]; }

# A left click on screen pixel ($2, $3) of window $1's client area.
click_at() {
    local x y
    IFS=, read -r x y <<<"$(window_origin "$1")"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
}

# The panel now shown on a display scaled by two ($1 says how) against the one at scale 1.
check_doubled_panel() {
    # Fault: the panel keeps its size on the scaled display, or is scaled by another factor.
    [ "$(window_size "$panel")" = 546x232 ] || fail "the panel is $(window_size "$panel") $1"

    # Fault: the outline is not the mask's doubled (rounded, shifted, or left at its old size).
    write_shape "$panel" "$runtime/panel2.shape"
    outline_doubled panel || fail "the panel's outline $1 is not its mask doubled"

    # Fault: the doubled face is smoothed (blurred edges and text), shifted by half a pixel,
    # or drawn at its old size: inside the outline each screen pixel must be the skin pixel
    # it doubles.
    grab_window "$panel" "$runtime/face2.rgb" || fail "cannot grab the panel $1"
    python3 - "$runtime" <<'PY' || fail "the panel $1 is not its face doubled"
import sys
runtime, width = sys.argv[1], 273
one, two = (open(f"{runtime}/face{n}.rgb", "rb").read() for n in (1, 2))
wrong = total = 0
for line in open(f"{runtime}/panel2.shape"):
    left, top, w, h = (int(v) for v in line.split())
    for y in range(top, top + h):
        for x in range(left, left + w):
            a, b = (y * 2 * width + x) * 3, ((y // 2) * width + x // 2) * 3
            total += 1
            wrong += two[a:a + 3] != one[b:b + 3]
if wrong or not total:
    sys.exit(f"{wrong} of {total} pixels differ from the face doubled")
PY
}

# The panel and the playlist as they are at the usual scale.
start_player
[ "$(window_size "$panel")" = 273x116 ] || fail "the panel is $(window_size "$panel") at scale 1"
grab_window "$panel" "$runtime/face1.rgb" || fail "cannot grab the panel"
write_shape "$panel" "$runtime/panel1.shape"
click BUTTON_OPEN
wait_within 10 list_shown || fail "the list button did not show the playlist at scale 1"
list=$(list_window)
[ "$(window_size "$list")" = 600x200 ] || fail "the playlist is $(window_size "$list") at scale 1"
write_shape "$list" "$runtime/list1.shape"
stop_player

# A screen of 192 dots per inch, as the desktop tells it to programs (Xft.dpi). Only on a
# display whose resources are not someone's own: they are removed again at the end.
if ! xprop -root RESOURCE_MANAGER | grep -q '='; then
    trap 'xprop -root -remove RESOURCE_MANAGER; e2e_cleanup' EXIT
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER $'Xft.dpi:\t192\n'
    start_player
    check_doubled_panel "on a 192-dpi screen"
    stop_player
    xprop -root -remove RESOURCE_MANAGER
    trap e2e_cleanup EXIT
fi

start_player QT_SCALE_FACTOR=2
check_doubled_panel "with QT_SCALE_FACTOR=2"

# Fault: a press is taken at the wrong face pixel: the last screen column and row of the
# list button are still the button (rounding gave them to the bare face beside it, and the
# press dragged the window instead).
read -r left top width height <<<"$(skin_rect "$skin" BUTTON_OPEN)"
timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null ||
    fail "cannot bring the panel to the front"
click_at "$panel" $((2 * (left + width) - 1)) $((2 * (top + height) - 1))
wait_within 10 list_shown || fail "a click on the doubled list button did not show the playlist"
rest_pointer "$pid"
list=$(list_window)

# Fault: the playlist keeps its size, or its outline is not its mask doubled.
[ "$(window_size "$list")" = 1200x400 ] || fail "the doubled playlist is $(window_size "$list")"
write_shape "$list" "$runtime/list2.shape"
outline_doubled list || fail "the doubled playlist's outline is not its mask doubled"

stop_player
echo "hidpi: passed"

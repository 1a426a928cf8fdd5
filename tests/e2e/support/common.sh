# Helpers of the end-to-end tests. Each test gets its own runtime folder, so it never meets
# another Korvel instance, and talks to real windows through xdotool and wmctrl.

# shellcheck source=../../../scripts/lib/player.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib/player.sh"

e2e_init() {
    build=$(cd "$1" && pwd)
    app_title=$(korvel_app_title "$build") || exit 1
    if [ -z "${DISPLAY:-}" ]; then
        echo "no display: skipped"
        exit 77
    fi
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    # The player keeps its settings here, never in the settings of whoever runs the tests.
    export XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$runtime/config" QT_QPA_PLATFORM=xcb
    export QT_LOGGING_RULES="korvel.*.debug=true"
    started_pids=()
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$runtime"
}

fail() {
    echo "FAIL: $*" >&2
    for log in "$runtime"/*.log; do
        [ -f "$log" ] && { echo "--- $log"; cat "$log"; } >&2
    done
    exit 1
}

# The id of the visible window whose name is exactly $1, waiting up to 20 s.
window_named() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] || fail "no visible window named '$1'"
    echo "$id"
}

# The application title (app_title, set by e2e_init) is the player panel's, the text of the
# program's one task-bar entry, and the error box's caption. The two are told apart by their
# window type.
window_is_dialog() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG
}

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

# The id of the first visible window of kind $1 (as titled_windows), waiting up to 20 s; $2
# names it for the failure.
titled_window() {
    local id
    for _ in $(seq 1 200); do
        id=$(titled_windows "$1" | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "no visible $2 titled '$app_title'"
}

# The id of the player panel.
panel_window() { titled_window panel "player panel"; }

# The id of an error box, and whether one shows.
error_box_window() { titled_window box "error box"; }
error_box_shown() { [ -n "$(titled_windows box)" ]; }
error_box_gone() { ! error_box_shown; }

# "WIDTHxHEIGHT" of a window's client area.
window_size() {
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "${WIDTH}x${HEIGHT}"
}

# "X,Y" of a window's client area on the screen.
window_position() {
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "${X},${Y}"
}

# Waits up to $2 seconds (default 10) for our child $1 to end; sets exit_code to its exit
# code, or to "timeout". Call it in this shell, not in a subshell: only a parent can wait.
wait_exit() {
    local pid=$1 limit=${2:-10}
    exit_code=timeout
    for _ in $(seq 1 $((limit * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            exit_code=$?
            return 0
        fi
        sleep 0.1
    done
}

# Waits up to 10 s for a file to contain a fixed string.
wait_for_text() {
    local file=$1 text=$2
    for _ in $(seq 1 100); do
        grep -qF -- "$text" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Runs a command every 0.1 s until it succeeds, for up to $1 seconds; fails after that.
wait_until() {
    local limit=$1
    shift
    for _ in $(seq 1 $((limit * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

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

# Gives the player a settings folder of this test's own: a run neither reads nor changes the
# user's settings, nor meets what an earlier run left there. e2e_init does so already.
e2e_own_settings() {
    export XDG_CONFIG_HOME="$runtime/config"
}

# "X,Y" of window $1's client area as the X server places it. Right also for a window inside
# a window manager's frame, where xdotool's position is off by the frame.
window_origin() {
    xwininfo -id "$1" 2>/dev/null |
        awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
             END { if (x != "" && y != "") print x "," y }'
}

# Succeeds when window $1 is mapped and all its ancestors are: the user can see it.
window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

window_unviewable() { ! window_viewable "$1"; }

# Whether every window of a list is on the screen, or none is.
all_viewable() {
    local id
    for id in "$@"; do window_viewable "$id" || return 1; done
}
none_viewable() {
    local id
    for id in "$@"; do window_unviewable "$id" || return 1; done
}

# The time in milliseconds since the epoch $1 seconds (fractions too) from now.
deadline_after() {
    awk -v now="$(date +%s%3N)" -v s="$1" 'BEGIN { printf "%.0f", now + s * 1000 }'
}

# Runs a command until it succeeds, for up to $1 seconds by the clock however long each try
# takes; fails after that with the last try's status.
wait_within() {
    local deadline
    deadline=$(deadline_after "$1")
    shift
    while [ "$(date +%s%3N)" -lt "$deadline" ]; do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

# The rectangle "LEFT TOP WIDTH HEIGHT" of element $2 in skin description $1: a hot area's
# own, or a track bar's track (its length along, the thumb's 11 pixels across).
skin_rect() {
    tr -d '\r' <"$1" | awk -F', *' -v id="$2" '
        { sub(/^[0-9]+=/, "", $1) }
        $1 == id && NF >= 6 && $2 ~ /^[0-9]+$/ { print $2, $3, $4, $5; found = 1; exit }
        $1 == id && $2 ~ /\./ { print $4, $5, $6, 11; found = 1; exit }
        END { exit !found }'
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
# its length in seconds; a name ending in .mp3 gets sound alone, any other a 320 x 240
# picture with a tone.
make_test_clip() {
    local clips="$build/test-media/e2e" name=$1 title=$2 seconds=$3
    mkdir -p "$clips"
    if [ ! -s "$clips/$name" ]; then
        local sound=(-f lavfi -i "sine=frequency=440:duration=$seconds")
        if [ "${name##*.}" = mp3 ]; then
            ffmpeg -loglevel error -y "${sound[@]}" -metadata title="$title" -c:a libmp3lame \
                -f mp3 "$clips/part-$name" || return 1
        else
            ffmpeg -loglevel error -y -f lavfi -i "testsrc=duration=$seconds:size=320x240:rate=25" \
                "${sound[@]}" -metadata title="$title" -c:v mpeg4 -q:v 12 -c:a mp2 -shortest \
                -f avi "$clips/part-$name" || return 1
        fi
        mv "$clips/part-$name" "$clips/$name" || return 1
    fi
    echo "$clips/$name"
}

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
    wait_until 10 tooltip_hidden "$1" || fail "a tooltip stays open away from the windows"
}

# The position display (TEXT_POS) of the player panel, whose id is in $panel: "hh:mm:ss"
# drawn from the skin's point (15, 39), 58 x 16 pixels.
panel_clock="15 39 58 16"

# Succeeds when the panel's clock shows something else than in grab $1.
clock_moved_from() {
    grab_window "$panel" "$runtime/clock-now.rgb" || return 1
    # shellcheck disable=SC2086 # the rectangle's four numbers are four arguments
    [ "$(compare_pixels "$1" "$runtime/clock-now.rgb" 273 $panel_clock)" = different ]
}

# Succeeds when the panel's clock shows the same for $1 seconds; a running clock changes
# every second. Leaves the grab it held in $runtime/clock-held.rgb.
clock_holds() {
    local deadline
    deadline=$(deadline_after "$1")
    grab_window "$panel" "$runtime/clock-held.rgb" || return 1
    while [ "$(date +%s%3N)" -lt "$deadline" ]; do
        sleep 0.2
        ! clock_moved_from "$runtime/clock-held.rgb" || return 1
    done
}

# Succeeds when the panel's clock changes within 5 s.
clock_runs() {
    grab_window "$panel" "$runtime/clock-was.rgb" || return 1
    wait_within 5 clock_moved_from "$runtime/clock-was.rgb"
}

# With the clock standing, presses the position track (TRACKBAR_POS of skin $1) of the panel
# whose id is in $panel where the thumb's middle stands at position $2 (0..100), which seeks
# there, and releases once the clock has moved; fails when it does not. A press on the bare
# track also lets the window manager move the panel until the release: the release waits
# until the press has acted, and the pointer does not move in between.
press_position_track() {
    local tx ty tlength travel px py moved
    read -r tx ty tlength _ <<<"$(skin_rect "$1" TRACKBAR_POS)"
    # The thumb is 10 pixels wide; at position p its left edge is travel * p / 100 in.
    travel=$((tlength - 10))
    timeout 10 xdotool windowactivate --sync "$panel" 2>/dev/null ||
        fail "cannot bring the panel to the front"
    grab_window "$panel" "$runtime/before-press.rgb" || return 1
    IFS=, read -r px py <<<"$(window_origin "$panel")"
    xdotool mousemove $((px + tx + travel * $2 / 100 + 5)) $((py + ty + 5)) mousedown 1
    wait_within 10 clock_moved_from "$runtime/before-press.rgb"
    moved=$?
    xdotool mouseup 1
    return $moved
}

# A click on element $1 of the panel, or keys pressed in it, with the pointer then at rest
# and the tooltips gone. They use the test's $panel, $skin and $pid.
click() {
    click_in_front "$panel" "$skin" "$1"
    rest_pointer "$pid"
}
panel_keys() {
    keys_in "$panel" "$@"
    rest_pointer "$pid"
}

# The playback window by the test's $caption; looked up each time, since the top button
# gives it a new window id.
playback_id() { xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1; }

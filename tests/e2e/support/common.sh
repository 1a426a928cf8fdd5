# Helpers of the end-to-end tests. Each test gets its own runtime folder, so it never meets
# another Korvel instance, and talks to real windows through xdotool and wmctrl.

e2e_init() {
    build=$(cd "$1" && pwd)
    if [ -z "${DISPLAY:-}" ]; then
        echo "no display: skipped"
        exit 77
    fi
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb
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

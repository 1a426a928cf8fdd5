# Helpers of the end-to-end tests. Each test gets its own runtime folder, so it never meets
# another Korvel instance, and talks to real windows through xdotool and wmctrl.

e2e_init() {
    build=$1
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

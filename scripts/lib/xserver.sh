# Sourced by the scripts that need an X display. Without DISPLAY it starts a private Xvfb
# with openbox as the window manager and stops both when the calling script exits.

korvel_ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local number=99
    while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
        number=$((number + 1))
    done
    Xvfb ":${number}" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    KORVEL_XVFB_PID=$!
    export DISPLAY=":${number}"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; return 1; }
    openbox >/dev/null 2>&1 &
    KORVEL_OPENBOX_PID=$!
    # openbox is ready once it has claimed the window manager selection.
    for _ in $(seq 1 100); do
        wmctrl -m >/dev/null 2>&1 && break
        sleep 0.1
    done
    trap korvel_stop_display EXIT
}

korvel_stop_display() {
    [ -n "${KORVEL_OPENBOX_PID:-}" ] && kill "$KORVEL_OPENBOX_PID" 2>/dev/null
    [ -n "${KORVEL_XVFB_PID:-}" ] && kill "$KORVEL_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}

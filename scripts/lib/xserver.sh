# Sourced by the scripts that need an X display. Without DISPLAY it starts a private Xvfb
# with openbox as the window manager and stops both when the calling script exits.

korvel_ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    # Xvfb picks a free display number itself and writes it down once it listens, so two
    # scripts starting at once never race for the same number. It never resets: a server
    # resets when its last client leaves, and a client coming in then (the window manager
    # right after the check below) is turned away.
    local number_file number=''
    number_file=$(mktemp)
    Xvfb -displayfd 1 -noreset -screen 0 1280x800x24 -nolisten tcp >"$number_file" 2>/dev/null &
    KORVEL_XVFB_PID=$!
    for _ in $(seq 1 100); do
        number=$(tr -dc 0-9 <"$number_file")
        [ -n "$number" ] && break
        kill -0 "$KORVEL_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number_file"
    if [ -z "$number" ]; then
        echo "Xvfb did not start within 10 s" >&2
        korvel_stop_display
        return 1
    fi
    export DISPLAY=":${number}"
    if ! xdpyinfo >/dev/null 2>&1; then
        echo "Xvfb on $DISPLAY does not answer" >&2
        korvel_stop_display
        return 1
    fi
    trap korvel_stop_display EXIT
    local wm_log
    wm_log=$(mktemp)
    openbox >"$wm_log" 2>&1 &
    KORVEL_OPENBOX_PID=$!
    # openbox is ready once it has claimed the window manager selection. Without a window
    # manager nothing that the player and its tests do with windows would mean anything.
    for _ in $(seq 1 100); do
        wmctrl -m >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! wmctrl -m >/dev/null 2>&1 || ! kill -0 "$KORVEL_OPENBOX_PID" 2>/dev/null; then
        echo "the window manager openbox did not come up on $DISPLAY within 10 s:" >&2
        cat "$wm_log" >&2
        rm -f "$wm_log"
        korvel_stop_display
        return 1
    fi
    rm -f "$wm_log"
}

korvel_stop_display() {
    # Also called by scripts under set -e: a server that has gone already is no failure.
    if [ -n "${KORVEL_OPENBOX_PID:-}" ]; then kill "$KORVEL_OPENBOX_PID" 2>/dev/null || true; fi
    if [ -n "${KORVEL_XVFB_PID:-}" ]; then kill "$KORVEL_XVFB_PID" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    KORVEL_OPENBOX_PID='' KORVEL_XVFB_PID=''
    return 0
}

# A private X display under a chosen window manager, with a task bar, for the tests that run
# the same checks under several window managers. Each display has its own session bus, which
# some window managers need to start at all. Needs common.sh, sourced first.

wm_display_pids=()

# The window managers the suite knows, by name: the command that starts one on the display.
wm_command() {
    case "$1" in
    openbox) echo "openbox" ;;
    xfwm4) echo "xfwm4 --compositor=off --sm-client-disable" ;;
    kwin_x11) echo "kwin_x11 --replace" ;;
    *) return 1 ;;
    esac
}

# Starts Xvfb (1280 x 800) on a free display, a session bus, window manager $1 and, when $2
# names a tint2 configuration, a tint2 task bar; exports DISPLAY. Fails loudly when one of
# them does not come up within its time.
wm_display_start() {
    local name=$1 taskbar_config=${2:-} command fifo number
    command=$(wm_command "$name") || { echo "unknown window manager $name" >&2; return 1; }
    wm_display_pids=()
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    wm_display_pids+=($!)
    number=$(timeout 20 head -n 1 "$fifo")
    rm -f "$fifo"
    [ -n "$number" ] || { echo "Xvfb did not start within 20 s" >&2; return 1; }
    export DISPLAY=":$number"
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) ||
        { echo "no session bus" >&2; return 1; }
    export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
    wm_display_pids+=("${bus##*$'\n'}")
    # kwin draws without compositing, as the other two do here.
    KWIN_COMPOSE=N $command >"$wm_display_log" 2>&1 &
    wm_display_pids+=($!)
    wait_within 30 wm_display_managed ||
        { echo "$name did not come up within 30 s:" >&2; cat "$wm_display_log" >&2; return 1; }
    if [ -n "$taskbar_config" ]; then
        tint2 -c "$taskbar_config" >>"$wm_display_log" 2>&1 &
        wm_display_pids+=($!)
        wait_within 20 wm_display_has_taskbar ||
            { echo "tint2 did not come up within 20 s:" >&2; cat "$wm_display_log" >&2; return 1; }
    fi
}

# Succeeds when a window manager that follows EWMH runs on the display.
wm_display_managed() {
    local check
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*')
    [ -n "$check" ] && xprop -root _NET_CLIENT_LIST_STACKING >/dev/null 2>&1 &&
        xprop -id "$check" _NET_WM_NAME >/dev/null 2>&1
}

wm_display_has_taskbar() { xdotool search --classname '^tint2$' >/dev/null 2>&1; }


wm_display_stop() {
    local pid
    for pid in "${wm_display_pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${wm_display_pids[@]}"; do
        for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null
    done
    wm_display_pids=()
    unset DISPLAY DBUS_SESSION_BUS_ADDRESS
}

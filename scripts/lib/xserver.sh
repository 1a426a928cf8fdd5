# Sourced by the scripts and tests that need an X display: a private Xvfb (1280 x 800) under
# a chosen window manager, optionally with a session bus and a tint2 task bar of its own.
# Needs wait.sh, sourced first.

korvel_display_pids=()
korvel_xserver_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The window managers known here, by name: the command that starts one on the display.
korvel_wm_command() {
    case "$1" in
    openbox) echo "openbox" ;;
    xfwm4) echo "xfwm4 --compositor=off --sm-client-disable" ;;
    kwin_x11) echo "kwin_x11 --replace" ;;
    # GNOME's window manager on X11, which composites; it needs the session bus.
    mutter) echo "mutter --x11 --replace --sm-disable" ;;
    icewm) echo "env ICEWM_PRIVCFG=$korvel_xserver_dir/icewm icewm" ;;
    *) return 1 ;;
    esac
}

# Succeeds when a window manager that follows EWMH runs on the display.
korvel_display_managed() {
    local check
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*')
    [ -n "$check" ] && xprop -root _NET_CLIENT_LIST_STACKING >/dev/null 2>&1 &&
        xprop -id "$check" _NET_WM_NAME >/dev/null 2>&1
}

korvel_display_has_taskbar() { xdotool search --classname '^tint2$' >/dev/null 2>&1; }

# korvel_start_display WM LOG [--bus] [--taskbar CONFIG]
# Starts Xvfb on a free display, then window manager WM (its output and the task bar's in
# file LOG), with --bus a session bus first (some window managers need one to start at all)
# and with --taskbar a tint2 task bar; exports DISPLAY (and DBUS_SESSION_BUS_ADDRESS). Fails
# loudly, with what the window manager said, when one of them does not come up in time;
# korvel_stop_display stops them all.
korvel_start_display() {
    local name=$1 log=$2 command fifo number bus='' taskbar=''
    shift 2
    while (($#)); do
        case $1 in
        --bus) bus=1 ;;
        --taskbar) taskbar=$2 && shift ;;
        *) echo "korvel_start_display: unknown option $1" >&2 && return 1 ;;
        esac
        shift
    done
    command=$(korvel_wm_command "$name") || { echo "unknown window manager $name" >&2; return 1; }
    korvel_display_pids=()
    # Xvfb picks a free display number itself and writes it down once it listens, so two
    # scripts starting at once never race for the same number. It never resets: a server
    # resets when its last client leaves, and a client coming in then (the window manager
    # right after the first check) would be turned away.
    fifo=$(mktemp -u)
    mkfifo "$fifo" || return 1
    Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    korvel_display_pids+=($!)
    number=$(timeout 20 head -n 1 "$fifo")
    rm -f "$fifo"
    [ -n "$number" ] || { echo "Xvfb did not start within 20 s" >&2; korvel_stop_display; return 1; }
    export DISPLAY=":$number"
    if [ -n "$bus" ]; then
        bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) ||
            { echo "no session bus" >&2; korvel_stop_display; return 1; }
        export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
        korvel_display_pids+=("${bus##*$'\n'}")
    fi
    # kwin draws without compositing, as the others do here.
    KWIN_COMPOSE=N $command >"$log" 2>&1 &
    korvel_display_pids+=($!)
    if ! wait_within 30 korvel_display_managed; then
        echo "the window manager $name did not come up on $DISPLAY within 30 s:" >&2
        cat "$log" >&2
        korvel_stop_display
        return 1
    fi
    [ -n "$taskbar" ] || return 0
    tint2 -c "$taskbar" >>"$log" 2>&1 &
    korvel_display_pids+=($!)
    if ! wait_within 20 korvel_display_has_taskbar; then
        echo "tint2 did not come up on $DISPLAY within 20 s:" >&2
        cat "$log" >&2
        korvel_stop_display
        return 1
    fi
}

# Stops what korvel_start_display started, each given 5 s to end. Also called by scripts
# under set -e: what has gone already is no failure.
korvel_stop_display() {
    local pid
    for pid in "${korvel_display_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${korvel_display_pids[@]}"; do
        wait_within 5 eval "! kill -0 $pid 2>/dev/null" || kill -9 "$pid" 2>/dev/null || true
    done
    korvel_display_pids=()
    unset DISPLAY DBUS_SESSION_BUS_ADDRESS
    return 0
}

# For the scripts a user runs: keeps the display there is, and without one starts a private
# display under openbox that goes when the calling script exits.
korvel_ensure_display() {
    [ -z "${DISPLAY:-}" ] || return 0
    local log status=0
    log=$(mktemp)
    trap korvel_stop_display EXIT
    korvel_start_display openbox "$log" || status=1
    # What the window manager says later is of no interest once it runs.
    rm -f "$log"
    return $status
}

# Sourced by the scripts and tests that look for the player's windows and their elements.

# The application title that the player panel and the error boxes carry ("Korvel" and the
# version), asked of the player in build folder $1, so that no script spells the version.
korvel_app_title() {
    local version
    version=$(timeout 10 "$1/korvel" --version) || {
        echo "cannot ask $1/korvel for its version" >&2
        return 1
    }
    echo "Korvel ${version#korvel }"
}

# Prints the id of a visible window of process $1 whose name matches the regular expression
# $2; fails when there is none.
korvel_window_of() {
    local id
    id=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null)
    [ -n "$id" ] && echo "${id%%$'\n'*}"
}

# Succeeds once process $1 shows such a window, or has ended.
korvel_window_or_end() { korvel_window_of "$1" "$2" >/dev/null || ! kill -0 "$1" 2>/dev/null; }

# Waits up to $2 seconds for a visible window of process $1 whose name matches the regular
# expression $3, and prints its id; says what it waited for when none came. Needs wait.sh.
korvel_wait_window() {
    local pid=$1 limit=$2 pattern=$3
    wait_within "$limit" korvel_window_or_end "$pid" "$pattern" &&
        korvel_window_of "$pid" "$pattern" && return 0
    if kill -0 "$pid" 2>/dev/null; then
        echo "no window named /$pattern/ showed within $limit s" >&2
    else
        echo "the player (process $pid) ended before a window named /$pattern/ showed" >&2
    fi
    return 1
}

# The player panel and the error boxes both carry the application title; they are told apart
# by their window type.
window_is_dialog() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG
}

# "WIDTHxHEIGHT" of a window's client area.
window_size() {
    # shellcheck disable=SC2034 # xdotool's --shell sets all six
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "${WIDTH}x${HEIGHT}"
}

# "X,Y" of a window's client area on the screen.
window_position() {
    # shellcheck disable=SC2034 # xdotool's --shell sets all six
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "${X},${Y}"
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

# The rectangle "LEFT TOP WIDTH HEIGHT" of element $2 in skin description $1: a hot area's
# own, or a track bar's track (its length along, the thumb's 11 pixels across).
skin_rect() {
    tr -d '\r' <"$1" | awk -F', *' -v id="$2" '
        { sub(/^[0-9]+=/, "", $1) }
        $1 == id && NF >= 6 && $2 ~ /^[0-9]+$/ { print $2, $3, $4, $5; found = 1; exit }
        $1 == id && $2 ~ /\./ { print $4, $5, $6, 11; found = 1; exit }
        END { exit !found }'
}

# The element names that element header $1 (skin/PlayerSkinElements.h, skin/ListSkinElements.h)
# gives, one a line, in its order: the program's own vocabulary, never a copy of it.
skin_element_names() {
    sed -n 's/^inline constexpr QStringView [A-Za-z]* = u"\([A-Z_]*\)";$/\1/p' "$1"
}

# The player's state as the desktop sees it: the properties of its media-control (MPRIS)
# player on the session bus, which it announces as they change. Scripts observe the player
# through these rather than through its log. Needs gdbus and a session bus that the player
# was started on (korvel_start_display --bus).

# Property $1 of the player (PlaybackStatus, Metadata, Position, Volume, LoopStatus,
# Shuffle, ...) as gdbus prints it, "(<'Playing'>,)" for example; fails while no player is on
# the bus.
player_state() {
    gdbus call --session --dest org.mpris.MediaPlayer2.korvel --object-path /org/mpris/MediaPlayer2 \
        --method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player "$1" 2>/dev/null
}

# Where the player is in its clip, in microseconds.
position_us() { player_state Position | sed -E 's/^\(<int64 (-?[0-9]+)>,\)$/\1/'; }

# Whether the player is Playing, Paused or Stopped ($1).
player_status_is() { [ "$(player_state PlaybackStatus)" = "(<'$1'>,)" ]; }

# Whether the clip the player has is titled $1.
player_title_is() { player_state Metadata | grep -qF "'xesam:title': <'$1'>"; }

# Whether the clip the player has is the local file $1, an absolute path of characters a URL
# keeps as they are (letters, digits, "/", "-", "_", ".").
player_has_file() { player_state Metadata | grep -qF "'xesam:url': <'file://$1'>"; }

# Writes what the player announces on the bus to file $1 from now on, in the background (its
# process id in $!); `player_titles_heard FILE` then prints the titles announced, in order.
# Every change is announced, also two in quick succession that a window's caption would show
# as one.
player_listen() {
    gdbus monitor --session --dest org.mpris.MediaPlayer2.korvel >"$1" 2>&1 &
}
player_titles_heard() { grep -o "'xesam:title': <'[^']*'>" "$1" | sed -E "s/^'xesam:title': <'(.*)'>$/\1/"; }

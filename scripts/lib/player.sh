# Sourced by the scripts and tests that look for the player's windows.

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

# Waits up to $2 seconds for a visible window of process $1 whose name matches the regular
# expression $3, and prints its id; says what it waited for when none came.
korvel_wait_window() {
    local pid=$1 limit=$2 pattern=$3 id
    for _ in $(seq 1 $((limit * 10))); do
        id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$pattern" 2>/dev/null |
            head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$pid" 2>/dev/null || {
            echo "the player (process $pid) ended before a window named /$pattern/ showed" >&2
            return 1
        }
        sleep 0.1
    done
    echo "no window named /$pattern/ showed within $limit s" >&2
    return 1
}

# Sourced by the scripts and the end-to-end tests: the one way they wait.

# The time in milliseconds since the epoch $1 seconds (fractions too) from now.
deadline_after() {
    awk -v now="$(date +%s%3N)" -v s="$1" 'BEGIN { printf "%.0f", now + s * 1000 }'
}

# Runs a command until it succeeds, for up to $1 seconds (fractions too) by the clock however
# long each try takes, a tenth of a second apart; fails after that with the last try's status.
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

# Sourced by the scripts and the end-to-end tests: the one way they wait.

# Waiting loops poll many times a second, four at a time in the suite: the clock is read from
# the shell itself, as a process started for each reading would cost more than the poll.

# The time in milliseconds since the epoch.
now_ms() {
    local us=${EPOCHREALTIME/[.,]/}
    echo "${us%???}"
}

# Succeeds while the time in milliseconds since the epoch is before $1.
before_ms() {
    local us=${EPOCHREALTIME/[.,]/}
    ((${us%???} < $1))
}

# The time in milliseconds since the epoch $1 seconds (fractions too) from now.
deadline_after() {
    awk -v now="$(now_ms)" -v s="$1" 'BEGIN { printf "%.0f", now + s * 1000 }'
}

# Runs a command until it succeeds, for up to $1 seconds (fractions too) by the clock however
# long each try takes, a tenth of a second apart; fails after that with the last try's status.
wait_within() {
    local deadline
    deadline=$(deadline_after "$1")
    shift
    while before_ms "$deadline"; do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

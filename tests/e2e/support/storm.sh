# Helpers of the hand-off storm: the panel found by its title, and many clips that differ by
# their titles alone, made from one clip in an instant. Needs common.sh, sourced first.
# shellcheck disable=SC2154 # app_title and build, which e2e_init sets

# Prints the player panel of process $1: of the windows titled with the program's name, which
# an error box shares, the one that is not a dialog. Fails when there is none.
panel_now() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name "^${app_title//./\\.}\$" 2>/dev/null); do
        window_is_dialog "$id" || { echo "$id"; return 0; }
    done
    return 1
}

# The id of the player panel of process $1, waiting up to 20 s.
panel_of() { wait_within 20 panel_now "$1" || fail "no visible player panel"; }

# The ids of the dialogs process $1 shows, one a line.
dialogs_of() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '.*' 2>/dev/null); do
        window_is_dialog "$id" && echo "$id"
    done
    return 0
}

# Makes $2 clips named $1-001.avi ... from one clip of $3 seconds, titled "Storm clip 001" and
# so on, and prints their folder (see korvel_make_titled_clips).
make_titled_clips() { korvel_make_titled_clips "$build/test-media/e2e" "$@"; }

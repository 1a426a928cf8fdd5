# Helpers of the hand-off storm and the soak: the panel found by its title, and many clips
# that differ by their titles alone, made from one clip in an instant.

# The id of the player panel of process $1, waiting up to 20 s. Its title is the program's
# name, which an error box shares; the panel is the one that is not a dialog.
panel_of() {
    local id
    for _ in $(seq 1 200); do
        for id in $(xdotool search --all --onlyvisible --pid "$1" --name "^${app_title//./\\.}\$" 2>/dev/null); do
            window_is_dialog "$id" || { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    fail "no visible player panel"
}

# (window_is_dialog comes from common.sh, which is sourced first.)

# The ids of the dialogs process $1 shows, one a line.
dialogs_of() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '.*' 2>/dev/null); do
        window_is_dialog "$id" && echo "$id"
    done
    return 0
}

# Makes $2 clips named $1-001.avi ... from one clip of $3 seconds, clip n titled
# "Storm clip 001" and so on, and prints their folder. The title is the same number of bytes
# in each, so each copy is the first clip with its digits changed.
make_titled_clips() {
    local stem=$1 count=$2 seconds=$3 base folder
    base=$(make_test_clip "$stem-base.avi" "Storm clip 000" "$seconds") || return 1
    folder="$build/test-media/e2e/$stem"
    mkdir -p "$folder"
    python3 - "$base" "$folder" "$stem" "$count" <<'PY' || return 1
import os, sys
base, folder, stem, count = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
data = open(base, "rb").read()
if data.count(b"Storm clip 000") != 1:
    sys.exit("the title is not in the clip once")
for n in range(1, count + 1):
    path = os.path.join(folder, "%s-%03d.avi" % (stem, n))
    if not os.path.exists(path):
        with open(path + ".part", "wb") as out:
            out.write(data.replace(b"Storm clip 000", b"Storm clip %03d" % n))
        os.rename(path + ".part", path)
PY
    echo "$folder"
}

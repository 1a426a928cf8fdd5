# Sourced by the scripts and tests that play generated clips: clips made with ffmpeg once per
# folder, and kept there for the next run.

# Makes a clip in folder $1 unless it is there, and prints its path: $2 its file name, $3 its
# title, $4 its length in seconds; a name ending in .mp3 gets sound alone, any other a
# 320 x 240 picture with a tone. Scripts running at once may make the same clip: each writes
# a file of its own and renames it into place.
korvel_make_clip() {
    local clips=$1 name=$2 title=$3 seconds=$4
    mkdir -p "$clips"
    if [ ! -s "$clips/$name" ]; then
        local sound=(-f lavfi -i "sine=frequency=440:duration=$seconds") part="$clips/part-$$-$name"
        if [ "${name##*.}" = mp3 ]; then
            ffmpeg -loglevel error -y "${sound[@]}" -metadata title="$title" -c:a libmp3lame \
                -f mp3 "$part" || return 1
        else
            ffmpeg -loglevel error -y -f lavfi -i "testsrc=duration=$seconds:size=320x240:rate=25" \
                "${sound[@]}" -metadata title="$title" -c:v mpeg4 -q:v 12 -c:a mp2 -shortest \
                -f avi "$part" || return 1
        fi
        mv "$part" "$clips/$name" || return 1
    fi
    echo "$clips/$name"
}

# Makes $3 clips named $2-001.avi ... in folder $1 from one clip of $4 seconds, clip n titled
# "Storm clip 001" and so on, and prints their folder. The title is the same number of bytes
# in each, so each copy is the first clip with its digits changed.
korvel_make_titled_clips() {
    local clips=$1 stem=$2 count=$3 seconds=$4 base folder
    base=$(korvel_make_clip "$clips" "$stem-base.avi" "Storm clip 000" "$seconds") || return 1
    folder="$clips/$stem"
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
        part = "%s.%d.part" % (path, os.getpid())
        with open(part, "wb") as out:
            out.write(data.replace(b"Storm clip 000", b"Storm clip %03d" % n))
        os.rename(part, path)
PY
    echo "$folder"
}

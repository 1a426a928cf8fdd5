#!/usr/bin/env bash
# A normal run says nothing on the terminal, on either picture path: the engine, its
# decoders and its sound libraries keep their complaints to the engine's log, which an
# environment variable turns on. A clip without a title tag is captioned with its file's name.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
unset QT_LOGGING_RULES

clip=$(make_test_clip untitled-6s.avi "" 6) || fail "ffmpeg could not make the clip"

# What this machine itself lacks is said, once each: no session bus, no sound output.
expected='^korvel: no (desktop media controls|sound output could be opened)'

run_player() {
    start_korvel "$1.log" "$clip"
    pid=$!
    panel=$(panel_window) || exit 1
    window_named 'untitled-6s\.avi' >/dev/null || exit 1
    rest_pointer "$pid"
    clock_runs "$panel" || fail "the clip does not play"
    kill -TERM "$pid"
    wait_exit "$pid" 10
    [ "$exit_code" = 0 ] || fail "the player ended with $exit_code"
}

# Fault: every clip printed the decoders' and the sound libraries' lines; on the OpenGL
# picture, the engine's look for a graphics card's decoders printed "Cannot load libcuda.so.1".
for picture in sw gl; do
    KORVEL_PICTURE=$picture run_player "quiet-$picture"
    noise=$(grep -Ev "$expected" "$runtime/quiet-$picture.log")
    [ -z "$noise" ] || fail "a normal run on the picture path $picture printed: $noise"
done

# The engine's log, asked for, tells what it did.
KORVEL_ENGINE_LOG=1 run_player engine
grep -q '^korvel\.engine: ' "$runtime/engine.log" || fail "the engine's log stayed empty"
echo "ok: quiet by default, $(grep -c '^korvel\.engine: ' "$runtime/engine.log") lines of engine log on request"

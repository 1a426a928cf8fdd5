#!/usr/bin/env bash
# The README's first command on a machine without a display: scripts/demo starts an X server
# of its own, plays its demo clip, saves a screenshot that shows the player and returns on its
# own, the player closed normally.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1" --no-display
root=$(cd "$(dirname "$0")/../.." && pwd)

shot="$runtime/demo.png"
env -u DISPLAY KORVEL_BUILD="$build" KORVEL_NO_BUILD=1 KORVEL_DEMO_SCREENSHOT="$shot" \
    timeout 100 "$root/scripts/demo" >"$runtime/demo.log" 2>&1
code=$?
[ "$code" = 0 ] || fail "scripts/demo ended with $code"
grep -qxF "demo: screenshot saved to $shot" "$runtime/demo.log" || fail "the demo did not say where"

# The screen holds the windows, not a bare background: the picture has many shades.
shades=$(ffmpeg -loglevel error -i "$shot" -vf scale=160:100 -f rawvideo -pix_fmt gray - |
    od -An -v -tu1 | tr -s ' ' '\n' | grep -v '^$' | sort -u | wc -l)
[ "$shades" -ge 32 ] || fail "the screenshot shows $shades shades of grey only"

#!/usr/bin/env bash
# The player closed while its settings folder lies on a full disk: the user is told in the
# error box that the settings could not be saved and why, the program still ends with 0, and
# the settings file stands as it was. Needs root to mount a small file system; skips without.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
source "$(dirname "$0")/support/storm.sh"
e2e_init "$1"

disk="$runtime/config"
mkdir -p "$disk"
mount -t tmpfs -o size=256k,mode=0700 tmpfs "$disk" 2>/dev/null || {
    echo "cannot mount a small file system (needs root): skipped"
    exit 77
}
trap 'umount -l "$disk" 2>/dev/null; e2e_cleanup' EXIT
mkdir -p "$disk/korvel"
printf '[Korvel setting]\r\nPlayerPosX=40\r\nPlayerPosY=250\r\nListRow=3\r\nRowData1=On|Default|1|kept.avi|||/clips/kept.avi\r\n' \
    >"$disk/korvel/korvel.ini"
cp "$disk/korvel/korvel.ini" "$runtime/before.ini"

start_korvel korvel.log
pid=$!
playback=$(window_named 'Korvel mark2') || exit 1
# The disk fills up while the player runs.
dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null

wmctrl -i -c "$(printf '0x%x' "$playback")"
box=""
wait_within 20 eval 'box=$(dialogs_of "$pid" | head -n 1); [ -n "$box" ]' ||
    fail "no error box told of the failed save"
[[ "$(xdotool getwindowname "$box")" =~ ^Korvel( 2\.8)?$ ]] || fail "dialog $box is no error box"
# The box's text is no part of the player's state: the log keeps every box's text.
grep -qF "error box: Cannot save the settings to $disk/korvel/korvel.ini: No space left on device" \
    "$runtime/korvel.log" || fail "the error box does not say why the settings were not saved"
xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null ||
    xdotool key --window "$box" Return
wait_exit "$pid" 10
[ "$exit_code" = 0 ] || fail "the player ended with '$exit_code'"
cmp -s "$runtime/before.ini" "$disk/korvel/korvel.ini" || fail "the settings file changed"
[ "$(ls -A "$disk/korvel")" = korvel.ini ] || fail "the failed save left $(ls -A "$disk/korvel")"
echo "settings-full-disk: passed"

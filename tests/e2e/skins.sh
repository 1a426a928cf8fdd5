#!/usr/bin/env bash
# A skin of the user's own under a real window manager: the skin named in the settings (the
# wider Slate, copied into the user's data folder under another name) is taken by the panel at
# start, at its own size, kept on the screen near its right edge, and its buttons answer where
# its description puts them; it is stored at the close and taken again at the next start.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
resources="$(cd "$(dirname "$0")/../../resources" && pwd)"
export XDG_DATA_HOME="$runtime/data" XDG_DATA_DIRS="$runtime/no-data"
skin_folder="$XDG_DATA_HOME/korvel/skins/Wide"
mkdir -p "$skin_folder" "$XDG_CONFIG_HOME/korvel"
cp "$resources"/skins/Slate/* "$skin_folder/"
skin="$skin_folder/Skin.ini"
settings="$XDG_CONFIG_HOME/korvel/korvel.ini"

read -r screen_width _ <<<"$(xdotool getdisplaygeometry)"
# Where the built-in panel (273 wide) fits and the wider one would not.
printf '[Korvel setting]\r\nPlayerPosX=%d\r\nPlayerPosY=300\r\nSkin=Wide\r\n' \
    "$((screen_width - 300))" >"$settings"

panel_size() { window_size "$panel"; }
panel_fits() {
    local x
    IFS=, read -r x _ <<<"$(window_origin "$panel")"
    [ -n "$x" ] && [ "$((x + 353))" -le "$screen_width" ]
}

# $1: the run's name.
run_with_the_skin() {
    start_korvel "korvel-$1.log"
    pid=$!
    panel=$(panel_window) || exit 1
    wait_within 10 eval '[ "$(panel_size)" = 353x116 ]' ||
        fail "$1: the panel is $(panel_size), not the skin's 353x116"
    wait_within 5 panel_fits || fail "$1: the panel at $(window_origin "$panel") leaves the screen"
    error_box_gone || fail "$1: an error box shows"
    # The exit button stands where this skin puts it, 80 pixels right of the built-in one's.
    click_in_front "$panel" "$skin" BUTTON_EXIT
    wait_exit "$pid" 10
    [ "$exit_code" = 0 ] || fail "$1: the skin's exit button ended the player with '$exit_code'"
}

run_with_the_skin first
grep -q '^Skin=Wide' "$settings" || fail "the skin was not stored: $(cat "$settings")"
run_with_the_skin second
grep -q '^Skin=Wide' "$settings" || fail "the skin was not stored again: $(cat "$settings")"
echo "ok: the user's skin was taken at its size, stored, and taken again"

#!/usr/bin/env bash
# The installed tree stands on its own: `cmake --install` into a fresh prefix, moved elsewhere
# afterwards and started through a symbolic link, gives a player that loads its GUI library
# from the prefix, shows the clip's title, carries the window class its desktop entry names,
# and writes nothing into the prefix. Every icon size lands where its size says; the desktop
# entry and the metadata pass their validators where those are installed; the manual page is
# there in English and in Japanese. The skin installed beside the built-in one is found in the
# moved tree, and taken when the settings name it.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"

cmake --install "$build" --prefix "$runtime/prefix" >"$runtime/install.log" 2>&1 ||
    fail "cmake --install failed"
# Nothing may point back at the place it was installed to.
prefix="$runtime/moved prefix"
mv "$runtime/prefix" "$prefix" || fail "cannot move the installed tree"

share="$prefix/share"
desktop="$share/applications/korvel.desktop"
metainfo=$(find "$share/metainfo" -name '*.metainfo.xml' 2>/dev/null | head -n 1)
for file in "$prefix/bin/korvel" "$prefix/lib/korvel/libkorvel_gui.so" "$desktop" "$metainfo" \
    "$share/icons/hicolor/scalable/apps/korvel.svg"; do
    [ -n "$file" ] && [ -s "$file" ] || fail "not installed: ${file:-the AppStream metadata}"
done
extra=$(cd "$prefix" && find . -path '*test*' -o -path '*bench*' -o -path '*skinart*')
[ -z "$extra" ] || fail "tests, benchmarks or tools were installed: $extra"

# Each PNG is as wide and as high as the folder it lies in says (the header's IHDR fields).
for size in 16 32 48 64 128 256; do
    png="$share/icons/hicolor/${size}x${size}/apps/korvel.png"
    [ -s "$png" ] || fail "no ${size}x${size} icon"
    got=$(python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read(24)
png = data[:8] == b"\x89PNG\r\n\x1a\n"
print("%dx%d" % struct.unpack(">II", data[16:24]) if png else "no PNG")' "$png")
    [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done

entry() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(entry Exec)" = "korvel %U" ] || fail "the desktop entry runs '$(entry Exec)'"
[ -f "$share/icons/hicolor/scalable/apps/$(entry Icon).svg" ] ||
    fail "no installed icon is named '$(entry Icon)'"
grep -qF "<launchable type=\"desktop-id\">korvel.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not name korvel.desktop"
# What the menus and software centres show is there in Japanese too.
for key in 'Name\[ja\]' 'Comment\[ja\]'; do
    grep -q "^$key=." "$desktop" || fail "the desktop entry has no $key"
done
grep -q '<summary xml:lang="ja">' "$metainfo" || fail "the metadata has no Japanese summary"
# The manual page in English and in Japanese, said the same: both list the same options,
# keys, files and variables in the same order, and each is set without a warning.
man_en="$share/man/man1/korvel.1.gz"
man_ja="$share/man/ja/man1/korvel.1.gz"
terms() {
    zcat "$1" | awk '/^\.SH/ { sections++ } /^\.TP/ { getline; print } END { print sections }'
}
for page in "$man_en" "$man_ja"; do
    [ -s "$page" ] || fail "not installed: $page"
    if command -v man >/dev/null; then
        warned=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" \
            2>&1 >/dev/null)
        [ -z "$warned" ] || fail "the manual page $page is set with warnings: $warned"
    fi
done
[ "$(terms "$man_ja")" = "$(terms "$man_en")" ] ||
    fail "the Japanese manual page lists other terms: $(diff <(terms "$man_en") <(terms "$man_ja"))"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" >"$runtime/desktop-file-validate.log" 2>&1 ||
        fail "desktop-file-validate rejects the desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >"$runtime/appstreamcli.log" 2>&1 ||
        fail "appstreamcli rejects the metadata"
fi

[ -s "$share/korvel/skins/Slate/Skin.ini" ] || fail "the skin Slate was not installed"
export XDG_DATA_HOME="$runtime/data" XDG_DATA_DIRS="$runtime/no-data"
mkdir -p "$XDG_CONFIG_HOME/korvel"
printf '[Korvel setting]\r\nSkin=Slate\r\n' >"$XDG_CONFIG_HOME/korvel/korvel.ini"

clip=$(make_test_clip install.avi "Installed clip" 20) || fail "ffmpeg could not make the clip"
before=$(find "$prefix" -printf '%p %s %T@ %m\n' | sort)
mkdir -p "$runtime/links"
ln -s "$prefix/bin/korvel" "$runtime/links/korvel"
# From an unrelated folder, with the build folder nowhere on any search path.
(cd / && exec env -u LD_LIBRARY_PATH "$runtime/links/korvel" "$clip") >"$runtime/player.log" 2>&1 &
player=$!
started_pids+=("$player")

playback=$(window_named 'Installed clip') || exit 1
panel=$(panel_window) || exit 1
panel_size() { window_size "$panel"; }
wait_within 10 eval '[ "$(panel_size)" = 353x116 ]' ||
    fail "the installed skin Slate was not taken: the panel is $(panel_size)"
grep -qF "$prefix/lib/korvel/libkorvel_gui.so" "/proc/$player/maps" ||
    fail "the player did not load the installed GUI library"
# WM_CLASS(STRING) = "instance", "class": the desktop matches StartupWMClass to the class.
class=$(xprop -id "$playback" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p')
[ "$class" = "$(entry StartupWMClass)" ] ||
    fail "the window's class is '$class', the desktop entry says '$(entry StartupWMClass)'"

# The desktop starts the entry's Exec line with the file as a URL (%U); a running player takes it.
second=$(make_test_clip "install second.avi" "From the desktop" 20) ||
    fail "ffmpeg could not make the second clip"
uri=$(python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' "$second")
exec_line=$(entry Exec)
(cd / && exec env PATH="$prefix/bin:$PATH" ${exec_line/\%U/"$uri"}) >"$runtime/desktop.log" 2>&1 ||
    fail "the desktop entry's command failed"
caption_is() { [ "$(xdotool getwindowname "$playback")" = "$1" ]; }
wait_within 10 caption_is "From the desktop" || fail "the player did not play the file URL"

kill -TERM "$player"
wait_exit "$player" 10
[ "$exit_code" = 0 ] || fail "the installed player ended with '$exit_code'"
[ "$(find "$prefix" -printf '%p %s %T@ %m\n' | sort)" = "$before" ] ||
    fail "the player changed its installed tree: $(diff <(echo "$before") \
        <(find "$prefix" -printf '%p %s %T@ %m\n' | sort))"
[ -s "$XDG_CONFIG_HOME/korvel/korvel.ini" ] ||
    fail "the settings were not kept in the user's folder"
echo "install: passed"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a distribution expects it: lintian finds no error in it; it ships the
# manual page, a machine-readable copyright file and a change log; the maintainer is the
# packager from the environment (and without one no package is made); the GUI library is
# stripped and, being private, gets no ldconfig run.
set -uo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v lintian >/dev/null || { echo "no lintian: skipped"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if env -u DEBEMAIL -u EMAIL -u DEBFULLNAME -u NAME "$root/scripts/package" "$build" \
    >"$work/refused.log" 2>&1; then
    fail "a package was made with no packager's address"
fi
grep -q DEBEMAIL "$work/refused.log" || fail "the refusal does not say what to set: $(cat "$work/refused.log")"

deb=$(env -u EMAIL -u NAME DEBFULLNAME="Packager Test" DEBEMAIL="packager@example.org" \
    "$root/scripts/package" "$build" 2>"$work/package.log" | tail -n 1)
[ -f "$deb" ] || fail "no package: $(cat "$work/package.log")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Maintainer)" = "Packager Test <packager@example.org>" ] ||
    fail "the maintainer is '$(field Maintainer)'"
dpkg-deb --contents "$deb" >"$work/contents"
for path in ./usr/bin/korvel ./usr/lib/korvel/libkorvel_gui.so \
    ./usr/share/man/man1/korvel.1.gz ./usr/share/man/ja/man1/korvel.1.gz \
    ./usr/share/doc/korvel/copyright \
    ./usr/share/doc/korvel/changelog.gz; do
    grep -q " $path\$" "$work/contents" || fail "the package lacks $path"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -t >"$work/control-files"
if grep -qE 'triggers|postinst|postrm' "$work/control-files"; then
    fail "the package runs maintainer scripts or triggers: $(tr '\n' ' ' <"$work/control-files")"
fi
dpkg-deb --extract "$deb" "$work/tree"
file -L "$work/tree/usr/lib/korvel/libkorvel_gui.so" | grep -q ', stripped' ||
    fail "the GUI library is not stripped"
zcat "$work/tree/usr/share/man/man1/korvel.1.gz" | grep -q '^\.SH ENVIRONMENT' ||
    fail "the manual page has no ENVIRONMENT section"

lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"
cat "$work/lintian.log"
echo "package: passed"

#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The catalogues' routine update (scripts/update-translations, lupdate -no-obsolete) changes
nothing in them: no text is dropped (the skins' hints, which no C++ source holds, included),
none comes in unfinished, no translation changes. Run on copies; the checkout is untouched."""
import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

root = pathlib.Path(__file__).resolve().parents[2]
folder = root / "resources" / "translations"
names = ["korvel_ja.ts", "korvel_en.ts"]


def entries(path):
    found = set()
    for context in ElementTree.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            found.add((name, message.findtext("source"), translation.text or "",
                       translation.get("type", "finished")))
    return found


if shutil.which("lupdate") is None and not pathlib.Path("/usr/lib/qt6/bin/lupdate").exists():
    print("no lupdate: skipped")
    sys.exit(77)
with tempfile.TemporaryDirectory() as work:
    for name in names:
        shutil.copy(folder / name, work)
    subprocess.run([str(root / "scripts" / "update-translations"), work], check=True)
    failed = False
    for name in names:
        before, after = entries(folder / name), entries(pathlib.Path(work) / name)
        for entry in sorted(before - after):
            print(f"{name}: the update drops or changes {entry}")
            failed = True
        for entry in sorted(after - before):
            print(f"{name}: the update brings {entry}")
            failed = True
sys.exit(1 if failed else 0)

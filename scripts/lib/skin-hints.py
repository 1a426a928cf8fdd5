#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the built-in skins' hints as C++ lines lupdate reads (QT_TRANSLATE_NOOP in the
"SkinHints" context), so that updating the catalogues keeps them: they live in the skin
descriptions, which lupdate cannot read, and `lupdate -no-obsolete` drops every text it
finds no source for.

Usage: skin-hints.py OUTPUT.cpp DESCRIPTION.ini...
"""
import sys

# The field that holds the hint, by section: a hot area's sixth, a slider's ninth.
HINT_FIELD = {"hotareainfo": 5, "trackbarinfo": 8}


def hints(path):
    text = open(path, "rb").read().decode("utf-8-sig")
    section = ""
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].strip().lower()
            continue
        key, equals, value = line.partition("=")
        if not equals or section not in HINT_FIELD or not key.strip().isdigit():
            continue
        fields = [field.strip() for field in value.split(",")]
        index = HINT_FIELD[section]
        if index < len(fields) and fields[index]:
            yield fields[index]


def main():
    output, descriptions = sys.argv[1], sys.argv[2:]
    seen = []
    for path in descriptions:
        for hint in hints(path):
            if hint not in seen:
                seen.append(hint)
    with open(output, "w", encoding="utf-8") as out:
        out.write("// Made by scripts/lib/skin-hints.py for lupdate; not compiled.\n")
        for hint in seen:
            quoted = hint.replace("\\", "\\\\").replace('"', '\\"')
            out.write(f'QT_TRANSLATE_NOOP("SkinHints", "{quoted}");\n')


if __name__ == "__main__":
    main()

#pragma once

#include "playlist/SettingsData.h"

#include <QString>
#include <QStringView>

namespace korvel {

// The text of one stored entry (a "RowData" value of the settings file) and back.
//
// Plain form, what every row has always been stored as: the seven cells joined by "|", an
// empty row being six "|" and nothing else. Reading it, each "|" moves on to the next cell;
// fewer than six leave the later cells empty, text after a seventh is dropped.
//
// The plain form cannot carry every cell: a "|" inside a cell would end that cell, a line
// break would end the INI line, and blanks at either end of the value are dropped by the INI
// reader. A row that the plain form would not give back exactly is written in the marked
// form instead:
//
//     "%%" followed by the seven cells joined by "|", each cell percent-encoded
//
// where a cell's "%", "|" and control characters (below U+0020, and U+007F) are written as
// "%" and two upper-case hexadecimal digits of their byte, and so is a blank that would be
// the value's last character. A file name's bytes that are not UTF-8 (PathBytes keeps them
// as U+DC80..U+DCFF) are written the same way, as the bytes they stand for. Every other character,
// non-ASCII text included, is written as it is (the file is UTF-8), so a Japanese location stays
// readable in the file.
//
// Why this form: the Play cell that starts every plain value is "On", "Off" or empty in
// every file the program writes, so no stored plain value starts with "%%"; a plain row
// whose Play cell does start so is itself written in the marked form. A reader that only
// knows the plain form (an earlier Korvel) still gets seven cells, with "%%" ahead of the
// Play text (so the entry reads as not On and is never played by mistake) and "%7C" where a
// cell had its "|".
//
// Reading the marked form is lenient: a "%" not followed by two hexadecimal digits stays a
// "%"; bytes that are not UTF-8 are kept as PathBytes keeps them, so such a name opens again.
class RowDataCodec {
public:
    static inline const QString Marker = QStringLiteral("%%");

    static QString encode(const SettingsRow& row);
    static SettingsRow decode(QStringView value);

private:
    static bool needsMarkedForm(const SettingsRow& row, const QString& plain);
    static QString encodeCell(const QString& cell);
    static QString decodeCell(QStringView cell);
};

} // namespace korvel

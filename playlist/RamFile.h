#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace korvel {

class ListCapacity;
class PlayListModel;

// Playlist files of the .ram kind: one location (a local path or a URL) per line and nothing
// else. Written in UTF-8 with CR LF line ends; read with any of CR, CR LF or LF.
//
// Everything runs on the user-interface thread. Files are read whole before any entry is
// added, so a file that cannot be read adds nothing.
class RamFile {
public:
    // The extension of a path: the text from its last "." to the end, when that "." comes
    // after the last "/", "\" and ":"; else empty. Letter case is kept.
    static QString Extension(QStringView path);
    // The name the save dialog gave, as the file to write: ".ram" appended when the name has
    // no extension; a name with any extension, and the empty name, stay as they are.
    static QString WithRamExtension(const QString& name);

    // The text of a playlist file: UTF-8 when the bytes are valid UTF-8 (a leading byte-order
    // mark dropped); else the 8-bit encoding of `locale` (the encoding the C library's locale
    // names when it is not UTF-8, else the Windows code page of the locale's language, in
    // which the older lists were written); else Latin-1, so that no byte is lost.
    static QString DecodeRamBytes(QByteArrayView bytes, const QLocale& locale = QLocale());
    // The locations in a playlist file's text, in file order. Before each line every
    // character with a code 0..32 is skipped, so blank lines and indents are dropped; a line
    // ends at CR, LF or CR LF; trailing blanks stay; Ctrl-Z (code 26) ends the text; lines
    // have no length limit.
    static QStringList ParseRam(QStringView text);
    // Decode and parse together.
    static QStringList ReadRamBytes(QByteArrayView bytes, const QLocale& locale = QLocale());
    // The bytes of the list as a playlist file: the Path or URL of rows 1..N in list order,
    // each followed by CR LF (an empty location gives an empty line), in UTF-8.
    static QByteArray FormatRam(const PlayListModel& list);

    // Appends one entry per location of the file at `path`, in file order, as far as
    // `capacity` has room; the rest are counted there, and the caller raises its message.
    // Rows are not renumbered. A file that cannot be opened or read raises a KorvelError
    // ("Cannot read the playlist <path>: <reason>") and adds nothing; entries already in
    // the list stay.
    static void LoadRamFile(const QString& path, ListCapacity& capacity);
    // The same for a load on its own: takes what fits, numbers the rows, then raises the
    // left-out message when something did not fit.
    static void LoadRamFile(const QString& path, PlayListModel& list);

    // Writes FormatRam(list) to `path` exactly as given (see WithRamExtension), creating the
    // file or replacing it without asking. The file is replaced whole or not at all: a file
    // that cannot be created or written raises a KorvelError ("Cannot write the playlist
    // <path>: <reason>") and leaves a file already there as it was.
    static void SaveRamFile(const QString& path, const PlayListModel& list);
};

} // namespace korvel

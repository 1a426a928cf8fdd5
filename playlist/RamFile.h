#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace korvel {

class ListCapacity;
class PlayListModel;

// Playlist files of the .ram kind: one location (a local path or a URL) per line and nothing
// else. Written with CR LF line ends, each location as its bytes (UTF-8, and a file name's
// bytes that are not UTF-8 as they are); read with any of CR, CR LF or LF.
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

    // The text of a playlist file, decoded as LegacyText decodes.
    static QString DecodeRamBytes(QByteArrayView bytes, const QLocale& locale = QLocale());
    // The locations in a playlist file's text, in file order. Before each line every
    // character with a code 0..32 is skipped, so blank lines and indents are dropped; a line
    // ends at CR, LF or CR LF; trailing blanks stay; Ctrl-Z (code 26) ends the text; lines
    // have no length limit.
    static QStringList ParseRam(QStringView text);
    // Decode and parse together. A file that is not UTF-8 as a whole is taken line by line:
    // a line that is UTF-8 is UTF-8 (a list Korvel wrote, with a file name that is not); a
    // line that is a local path ("/...") is this system's file name as bytes, unless `exists`
    // finds a file by its decoded name and none by its bytes (an older list whose files were
    // renamed to UTF-8); any other line is decoded in the locale's code page.
    static QStringList ReadRamBytes(QByteArrayView bytes, const QLocale& locale = QLocale(),
                                    const std::function<bool(const QString&)>& exists = {});
    // Whether a location reads back the same from a line of its own: no CR, LF or Ctrl-Z in
    // it, and no blank or control character first (the reader skips those).
    static bool FitsOnALine(QStringView location);
    // The bytes of the list as a playlist file: the Path or URL of rows 1..N in list order,
    // each followed by CR LF (an empty location gives an empty line), as their bytes. A
    // location that does not fit on a line is left out and added to `refused`.
    static QByteArray FormatRam(const PlayListModel& list, QStringList* refused = nullptr);

    // Appends one entry per location of the file at `path`, in file order, as far as
    // `capacity` has room; the rest are counted there, and the caller raises its message.
    // Rows are not renumbered. A file that cannot be opened or read (a pipe or a device is
    // refused unread), or is larger than ListFile::MaxFileBytes, raises a KorvelError ("Cannot
    // read the playlist <path>: <reason>") and adds nothing; entries already in the list stay.
    static void LoadRamFile(const QString& path, ListCapacity& capacity);
    // The same for a load on its own: takes what fits, numbers the rows, then raises the
    // left-out message when something did not fit.
    static void LoadRamFile(const QString& path, PlayListModel& list);

    // Writes FormatRam(list) to `path` exactly as given (see WithRamExtension), or
    // M3uFile::FormatM3u8(list) when the name ends in ".m3u8", creating the
    // file or replacing it without asking. The file is replaced whole or not at all: a file
    // that cannot be created or written raises a KorvelError ("Cannot write the playlist
    // <path>: <reason>") and leaves a file already there as it was. Locations that do not fit
    // on a line are raised afterwards, one line of the message each, the rest written.
    static void SaveRamFile(const QString& path, const PlayListModel& list);
};

} // namespace korvel

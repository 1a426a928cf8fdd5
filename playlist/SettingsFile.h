#pragma once

#include "playlist/SettingsData.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

namespace korvel {

class IniFile;
class PlayListModel;

// The settings file: an INI text, UTF-8, one section "Korvel setting", written as these
// keys (SettingsKeys.h) in this order:
//
//     ImageWindowPosX, ImageWindowPosY   playback window, outer top-left     default 5, 5
//     PlayListPosX, PlayListPosY         playlist window                     default 325, 5
//     PlayerPosX, PlayerPosY             player panel                        default 40, 300
//     WindowFix                          "1" when FIX is on, else "0"        default 0
//     ClientWidth, ClientHeight          playback window's client size       default 320, 240
//     ScrSize, Volume                    the panel's size and volume sliders default 0, 0
//     ListRow                            the list's row count, entries + 2   default 2
//     RowData1 .. RowDataN               the entries (RowDataCodec)          default blank
//
// Reading is forgiving and never loses the stored list: a position, size or slider that is
// not a number takes its default (a client size below 1 too); WindowFix is on only for the
// value 1. When ListRow is not a number or lies below 2, or is missing while RowData1 stands
// in the file, the entries are RowData1 upwards up to the first missing key; a ListRow above
// 256 (written by hand) gives the RowData keys that stand up to it. Within a ListRow of
// 2..256 a missing RowData key gives a blank entry. The list holds the first 254 entries;
// those past them are told once and stay in the file, and a save writes them back after the
// list's own entries (with ListRow counting them), so a later start reaches every one, and
// takes them in as the list gets room. Rows are read whole,
// however long. A value that is not UTF-8 is read in the locale's code page (LegacyText), as
// a file edited or carried over from another system may hold it; such a row, unchanged, is
// written back byte for byte. A leading byte-order mark and CR, CR LF or LF line ends are
// all taken (IniFile); lines that mean something but are never read (a second section of
// the program's, keys before any section, lines that are no INI at all) are told once and
// kept as they stand.
//
// Writing changes the program's keys one by one in the text that stands in the file and keeps
// every other line byte for byte: other sections, comments, unknown keys, and RowData keys
// numbered beyond the present list, left from an earlier, longer list (they are not read
// back, because reading stops at ListRow). The new text is saved atomically: written to a
// temporary file in the same folder, flushed to the disk and renamed over the old file, so a
// crash, a kill or a full disk at any moment leaves the old file or the new one, whole. A text
// larger than the reader takes is never written.
//
// All functions run on the calling thread and keep no state; the file is read or written
// within the call.
class SettingsFile {
public:
    static inline const QString Section = QStringLiteral("Korvel setting");
    // A settings file is a few kilobytes; a larger one than this is not a settings file.
    // The reader and the writer hold to it alike.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
    // What the list's entries may take of it; the rest is left for the window places and
    // for lines the file holds besides.
    static constexpr qint64 MaxListBytes = MaxFileBytes - 1024 * 1024;

    // Whether a save writes the list (ListRow and RowData1..N) or leaves those lines as
    // they stand in the file.
    enum class ListPart { Write, KeepStored };
    // Whether a save writes the three windows' places or leaves those lines as they stand in
    // the file: where the window system does not tell where a window stands, the places the
    // program has are not places on the screen, and the user's own stay.
    enum class PlacePart { Write, KeepStored };

    struct ReadResult {
        SettingsData settings;
        // False when a file stands at the path but could not be read (no permission, an I/O
        // error, a folder, too large): `settings` are then the defaults, the stored list was
        // not taken in, and the save at exit must use ListPart::KeepStored so that it does
        // not write an empty list over the stored one. A missing file is not an error.
        bool listTaken = true;
        // "Cannot read the settings from <path>: <reason>" when !listTaken, else empty; for
        // the error box.
        QString error;
        // What the user is told once about a file that was read: "The settings file <path>
        // holds N entries ..." when its list is longer than the list holds, and "Some lines
        // of the settings file <path> were not understood ..." when it holds lines that are
        // never read, a line each; both kinds are kept at the save. Else empty.
        QString notice;

        // What the save at exit may write of the list after this read.
        ListPart listPart() const { return listTaken ? ListPart::Write : ListPart::KeepStored; }
    };

    // Reads the file at `path`. Never raises: a missing file gives the defaults, an
    // unreadable one the defaults with listTaken false.
    static ReadResult read(const QString& path);
    // Reads a settings text held in memory; rows that are not UTF-8 in `locale`'s code page.
    static SettingsData parse(const QByteArray& text, const QLocale& locale = QLocale());

    // Saves `settings` to `path`, keeping the other lines of the file that stands there, and
    // makes the missing folders on the way (mode 0700). Raises "Cannot save the settings to
    // <path>: <reason>" when the old file cannot be read (its lines would be lost), a folder
    // cannot be made, the new text would be larger than MaxFileBytes, or it cannot be
    // written, flushed or renamed (a full disk, a read-only folder); the old file is then
    // left as it was.
    static void write(const QString& path, const SettingsData& settings,
                      ListPart list = ListPart::Write, PlacePart places = PlacePart::Write);
    // The text a save writes: `existing` (the file's text, or empty) with the keys changed.
    static QByteArray compose(const QByteArray& existing, const SettingsData& settings,
                              ListPart list = ListPart::Write, PlacePart places = PlacePart::Write,
                              const QLocale& locale = QLocale());
    // The bytes one entry takes in the file, its key and line end included.
    static qint64 storedBytes(const SettingsRow& row);

    // Makes `list` hold exactly `rows` (row count rows + 2, columns 1..7 of each entry) and
    // numbers them. More than 254 rows raise the full-list text and change nothing.
    static void loadRows(const std::vector<SettingsRow>& rows, PlayListModel& list);
    // Columns 1..7 of the entries 1..N of `list`, for a save.
    static std::vector<SettingsRow> storedRows(const PlayListModel& list);

private:
    // The settings of a text, its list the first 254 of the stored one.
    static SettingsData settingsOf(const IniFile& ini,
                                   const std::vector<std::optional<QByteArray>>& stored,
                                   const QLocale& locale);
};

} // namespace korvel

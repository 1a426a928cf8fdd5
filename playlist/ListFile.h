#pragma once

#include "playlist/DroppedFiles.h"

#include <QByteArray>
#include <QString>

namespace korvel {

class ListCapacity;
class PlayListModel;

// Lists that other players wrote (M3U, M3U8, PLS, XSPF) and Korvel's own .ram lists, read
// into the list. The list's kind is its name's extension (DroppedFiles::kindOf).
// User-interface thread.
class ListFile {
public:
    // A list file larger than this is no list a user keeps: it is refused unread.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // Whether `kind` is one of the lists other players write, which Korvel takes into its
    // list wherever it is given (not .ram, which the player windows hand to the engine).
    static bool IsForeignList(DroppedFiles::Kind kind);

    // The locations of the list `bytes` read from `path`, in list order, made locations of
    // entries (ListLocation; relative ones against the list's folder, but for a .ram list,
    // whose lines are taken as they stand). `wrongCount` receives the count a PLS list gives
    // of itself when that is wrong. Raises a KorvelError with the reason when the bytes are
    // not a list of that kind.
    static QStringList Locations(const QString& path, DroppedFiles::Kind kind,
                                 const QByteArray& bytes, QString* wrongCount = nullptr);

    // Appends one entry per location of the list at `path` (of kind `kind`, a list kind),
    // as far as `capacity` has room; rows are not renumbered. A local list that the list
    // names stands for its own entries, in its place, up to a few lists deep; one that holds
    // the list naming it is left out. An M3U list with the stream tags "#EXT-X-" is one entry,
    // the list itself (HlsList). A list that cannot be read (a pipe or device included), is
    // larger than MaxFileBytes or is not of its kind raises a KorvelError ("Cannot read the
    // playlist <path>: <reason>", the path cleaned of "." and "..") and adds nothing. What
    // went wrong inside (a list inside that cannot be read, a count that is wrong) is raised
    // at the end, a line each, after the rest was added. Entries already there stay.
    static void Load(const QString& path, DroppedFiles::Kind kind, ListCapacity& capacity);

    struct Appended {
        int firstRow = 0; // the first new entry; 0 when none was added
        QString problem;  // what the error box is to say; empty when all went well
    };
    // The list at `path` given on the command line or by a second start: its entries are
    // appended in list order and the rows numbered; nothing is raised, so that the caller
    // can start the first new entry before it tells what went wrong.
    static Appended Append(const QString& path, PlayListModel& list);
};

} // namespace korvel

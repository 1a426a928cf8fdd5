#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <span>

namespace korvel {

class PlayListModel;

// Files dropped on the playlist window: which of them join the list, and the steps of a
// drop over the list. The window turns the drop event into local paths and shows the row;
// everything else is here. User-interface thread.
class DroppedFiles {
public:
    enum class Kind { Media, RamList, M3uList, M3u8List, PlsList, XspfList, Other };
    struct Extension {
        QStringView text; // lower case, with the dot
        Kind kind;
    };

    // The one table of extensions that join the list: the media files the engine plays,
    // Korvel's .ram lists and the lists other players write.
    static std::span<const Extension> extensions();
    // What a dropped path is, by its extension (RamFile::Extension) compared without regard
    // to letter case; a path without a listed extension is Other.
    static Kind kindOf(QStringView path);

    // A drop of `paths` (local paths, in the order the shell gave them) on the list:
    //  1. each media file is appended as an entry and each playlist file is loaded
    //     (ListFile::Load), as far as the list has room; other files are ignored without a
    //     message;
    //  2. the whole list is sorted by location and numbered, also when nothing was added;
    //  3. row 1 is selected (selectRow, which may run the list's click notification) and
    //     `showCurrentRow` runs: the window's part, showing the current row in its fields;
    //  4. the rows are numbered.
    // A playlist file that cannot be read does not stop the drop: the files after it are
    // still taken and every step runs. At the end one KorvelError reports, one line each,
    // every playlist file that could not be read, a failure of step 3, and how many entries
    // were left out for want of room; nothing is raised when all went well.
    static void Drop(PlayListModel& list, const QStringList& paths,
                     const std::function<void()>& showCurrentRow);
};

} // namespace korvel

#include "playlist/DroppedFiles.h"

#include "base/KorvelError.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListFile.h"
#include "playlist/ListSort.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <algorithm>
#include <iterator>

namespace korvel {

namespace {

using Kind = DroppedFiles::Kind;

constexpr DroppedFiles::Extension Extensions[] = {
    // What the list has always taken.
    {u".avi", Kind::Media},
    {u".mpg", Kind::Media},
    {u".mpeg", Kind::Media},
    {u".ra", Kind::Media},
    {u".rm", Kind::Media},
    {u".ram", Kind::RamList},
    // Lists other players write.
    {u".m3u", Kind::M3uList},
    {u".m3u8", Kind::M3u8List},
    {u".pls", Kind::PlsList},
    {u".xspf", Kind::XspfList},
    // Video the engine plays.
    {u".mp4", Kind::Media},
    {u".m4v", Kind::Media},
    {u".mkv", Kind::Media},
    {u".webm", Kind::Media},
    {u".mov", Kind::Media},
    {u".wmv", Kind::Media},
    {u".flv", Kind::Media},
    {u".ts", Kind::Media},
    {u".m2ts", Kind::Media},
    {u".ogv", Kind::Media},
    // Audio the engine plays.
    {u".mp3", Kind::Media},
    {u".m4a", Kind::Media},
    {u".ogg", Kind::Media},
    {u".opus", Kind::Media},
    {u".flac", Kind::Media},
    {u".wav", Kind::Media},
    {u".aac", Kind::Media},
    {u".wma", Kind::Media},
};

// A playlist file that cannot be read is noted and the drop goes on.
void loadList(const QString& path, Kind kind, ListCapacity& capacity, QStringList& failures) {
    try {
        ListFile::Load(path, kind, capacity);
    } catch (const KorvelError& error) {
        failures.append(error.text());
    }
}

// Step 1: takes every file it can; the failures of playlist files are gathered.
void takeFiles(ListCapacity& capacity, const QStringList& paths, QStringList& failures) {
    for (const QString& path : paths) {
        const Kind kind = DroppedFiles::kindOf(path);
        if (kind == Kind::Media) capacity.add(path);
        if (kind != Kind::Media && kind != Kind::Other) loadList(path, kind, capacity, failures);
    }
}

} // namespace

std::span<const DroppedFiles::Extension> DroppedFiles::extensions() { return Extensions; }

DroppedFiles::Kind DroppedFiles::kindOf(QStringView path) {
    const QString extension = RamFile::Extension(path);
    const auto* found = std::find_if(
        std::begin(Extensions), std::end(Extensions), [&extension](const Extension& entry) {
            return entry.text.compare(extension, Qt::CaseInsensitive) == 0;
        });
    return found != std::end(Extensions) ? found->kind : Kind::Other;
}

void DroppedFiles::Drop(PlayListModel& list, const QStringList& paths,
                        const std::function<void()>& showCurrentRow) {
    ListCapacity capacity(list);
    QStringList failures;
    takeFiles(capacity, paths, failures);
    ListSort::SortByLocation(list);
    try {
        list.selectRow(1);
        if (showCurrentRow) showCurrentRow();
    } catch (const KorvelError& error) {
        // Reported with the rest below; the rows are still numbered.
        failures.append(error.text());
    }
    list.NumberRows();
    if (capacity.leftOut() > 0) failures.append(capacity.message());
    if (!failures.isEmpty()) throw KorvelError::ofLines(failures);
}

} // namespace korvel

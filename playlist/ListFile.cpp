#include "playlist/ListFile.h"

#include "base/FixedTexts.h"
#include "base/HlsList.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "base/RegularFile.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListLocation.h"
#include "playlist/M3uFile.h"
#include "playlist/PlayListModel.h"
#include "playlist/PlsFile.h"
#include "playlist/RamFile.h"
#include "playlist/XspfFile.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace korvel {

namespace {

using Kind = DroppedFiles::Kind;

bool fileExists(const QString& name) {
    struct stat info {};
    return ::stat(PathBytes::toBytes(name).constData(), &info) == 0;
}

// A list's name in a message, as a person would write it: "/m/x/../a.pls" is "/m/a.pls".
QString shownPath(const QString& path) { return PathBytes::displayed(QDir::cleanPath(path)); }

KorvelError listReadError(const QString& path, const QString& reason) {
    return KorvelError(FixedTexts::CannotReadList.arg(shownPath(path), reason));
}

// The whole file, or a reason not to take it. At most one byte past the limit is read, so a
// file that grows cannot make the list take all memory; a pipe or a device is refused
// unread, and a file that does not come is given up (RegularFile).
QByteArray readList(const QString& path) {
    QByteArray bytes;
    try {
        bytes = RegularFile::read(path, ListFile::MaxFileBytes);
    } catch (const KorvelError& error) {
        throw listReadError(path, error.text());
    }
    if (bytes.size() > ListFile::MaxFileBytes)
        throw listReadError(path, FixedTexts::ListFileTooLarge.arg(ListFile::MaxFileBytes));
    return bytes;
}

QStringList lines(Kind kind, const QByteArray& bytes, QString* wrongCount) {
    switch (kind) {
    case Kind::M3uList: return M3uFile::ReadM3uBytes(bytes, false, QLocale(), fileExists);
    case Kind::M3u8List: return M3uFile::ReadM3uBytes(bytes, true);
    case Kind::PlsList: {
        PlsFile::Read read = PlsFile::ReadPlsBytes(bytes);
        if (wrongCount) *wrongCount = read.wrongCount;
        return read.locations;
    }
    default: return {};
    }
}

} // namespace

bool ListFile::IsForeignList(Kind kind) {
    return kind == Kind::M3uList || kind == Kind::M3u8List || kind == Kind::PlsList ||
           kind == Kind::XspfList;
}

QStringList ListFile::Locations(const QString& path, Kind kind, const QByteArray& bytes,
                                QString* wrongCount) {
    const QString folder = QFileInfo(path).absolutePath();
    QStringList locations;
    if (kind == Kind::XspfList) {
        for (const QString& uri : XspfFile::ReadXspfBytes(bytes))
            locations.append(ListLocation::fromUri(uri, folder));
        return locations;
    }
    for (const QString& line : lines(kind, bytes, wrongCount))
        locations.append(ListLocation::fromLine(line, folder, fileExists));
    return locations;
}

void ListFile::Load(const QString& path, Kind kind, ListCapacity& capacity) {
    if (kind == Kind::RamList) {
        RamFile::LoadRamFile(path, capacity);
        return;
    }
    const QByteArray bytes = readList(path);
    if ((kind == Kind::M3uList || kind == Kind::M3u8List) && HlsList::isHls(bytes)) {
        capacity.add(QDir::cleanPath(path));
        return;
    }
    QString wrongCount;
    QStringList locations;
    try {
        locations = Locations(path, kind, bytes, &wrongCount);
    } catch (const KorvelError& error) {
        throw listReadError(path, error.text());
    }
    for (const QString& location : locations) capacity.add(location);
    if (!wrongCount.isEmpty()) {
        throw KorvelError(FixedTexts::ListCountWrong.arg(shownPath(path), wrongCount,
                                                         QString::number(locations.size())));
    }
}

ListFile::Appended ListFile::Append(const QString& path, PlayListModel& list) {
    const int before = list.entryCount();
    ListCapacity capacity(list);
    QStringList problems;
    try {
        Load(path, DroppedFiles::kindOf(path), capacity);
    } catch (const KorvelError& error) {
        problems.append(error.text());
    }
    list.NumberRows();
    if (capacity.leftOut() > 0) problems.append(capacity.message());
    Appended appended;
    if (list.entryCount() > before) appended.firstRow = before + 1;
    appended.problem = problems.join(QStringLiteral(".\n"));
    return appended;
}

} // namespace korvel

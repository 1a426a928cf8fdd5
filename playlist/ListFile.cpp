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

// How many lists deep an entry may stand: a list naming a list naming a list... A list
// naming itself is stopped before that, by its name.
constexpr int MaxNesting = 8;
// How many lists one load takes in besides the first, as many as the list has entries: lists
// that name each other many times over would otherwise be read without end.
constexpr int MaxInnerLists = 254;

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

bool isList(Kind kind) { return kind == Kind::RamList || ListFile::IsForeignList(kind); }

// One load of a list with the lists inside it.
class NestedLoad {
public:
    NestedLoad(ListCapacity& capacity, const QString& path) : m_capacity(capacity), m_top(path) {}

    // Adds the entries of the list at `path`, those of the lists it names in their place.
    // Raises when the list itself cannot be read; what goes wrong inside is gathered.
    void load(const QString& path, Kind kind) {
        const QByteArray bytes = readList(path);
        if ((kind == Kind::M3uList || kind == Kind::M3u8List) && HlsList::isHls(bytes)) {
            m_capacity.add(QDir::cleanPath(path));
            return;
        }
        QString wrongCount;
        QStringList locations;
        try {
            locations = ListFile::Locations(path, kind, bytes, &wrongCount);
        } catch (const KorvelError& error) {
            throw listReadError(path, error.text());
        }
        m_open.append(QDir::cleanPath(path));
        for (const QString& location : locations) {
            const QString inner = ListLocation::localFile(location);
            const Kind innerKind = DroppedFiles::kindOf(inner);
            if (!inner.isEmpty() && isList(innerKind))
                loadInner(inner, innerKind, path);
            else
                m_capacity.add(location);
        }
        m_open.removeLast();
        if (!wrongCount.isEmpty()) {
            tell(FixedTexts::ListCountWrong.arg(shownPath(path), wrongCount,
                                                QString::number(locations.size())));
        }
    }

    // What went wrong, each told once.
    QStringList problems;

private:
    void tell(const QString& problem) {
        if (!problems.contains(problem)) problems.append(problem);
    }

    void loadInner(const QString& inner, Kind kind, const QString& outer) {
        if (++m_innerLists > MaxInnerLists) {
            tell(FixedTexts::TooManyInnerLists.arg(shownPath(m_top),
                                                   QString::number(MaxInnerLists)));
            return;
        }
        // By name alone: a name that leads back through a link is stopped by the depth.
        if (m_open.contains(QDir::cleanPath(inner))) {
            tell(FixedTexts::ListHoldsItself.arg(shownPath(outer), shownPath(inner)));
            return;
        }
        if (m_open.size() >= MaxNesting) {
            tell(FixedTexts::ListsTooDeep.arg(shownPath(inner), QString::number(MaxNesting)));
            return;
        }
        try {
            load(inner, kind);
        } catch (const KorvelError& error) {
            tell(error.text());
        }
    }

    ListCapacity& m_capacity;
    const QString m_top;
    QStringList m_open; // the lists being read, outermost first
    int m_innerLists = 0;
};

} // namespace

bool ListFile::IsForeignList(Kind kind) {
    return kind == Kind::M3uList || kind == Kind::M3u8List || kind == Kind::PlsList ||
           kind == Kind::XspfList;
}

QStringList ListFile::Locations(const QString& path, Kind kind, const QByteArray& bytes,
                                QString* wrongCount) {
    // Korvel's own lists name their clips as the user gave them.
    if (kind == Kind::RamList) return RamFile::ReadRamBytes(bytes, QLocale(), fileExists);
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
    NestedLoad load(capacity, path);
    load.load(path, kind);
    if (!load.problems.isEmpty()) throw KorvelError::ofLines(load.problems);
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

#include "playlist/ListCapacity.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "playlist/PlayListColumns.h"
#include "playlist/PlayListModel.h"
#include "playlist/SettingsFile.h"

#include <QStringList>

#include <algorithm>

namespace korvel {

namespace {

// "1 was left out" for one, "N were left out" for more.
QString leftOutText(const QString& one, const QString& many, qint64 limit, int count) {
    if (count == 1) return one.arg(limit);
    return many.arg(limit).arg(count);
}

} // namespace

ListCapacity::ListCapacity(PlayListModel& list) : m_list(list) {
    for (const SettingsRow& row : SettingsFile::storedRows(list)) {
        m_bytes += SettingsFile::storedBytes(row);
    }
}

int ListCapacity::room() const {
    return std::max(0, PlayListModel::MaxEntries - m_list.entryCount());
}

int ListCapacity::admit(const std::vector<SettingsRow>& rows) {
    const int wanted = int(rows.size());
    const int byCount = std::min(wanted, room());
    int taken = 0;
    while (taken < byCount) {
        const qint64 bytes = SettingsFile::storedBytes(rows[std::size_t(taken)]);
        if (m_bytes + bytes > SettingsFile::MaxListBytes) break;
        m_bytes += bytes;
        ++taken;
    }
    m_leftOutBySize += byCount - taken;
    m_leftOutByCount += wanted - byCount;
    return taken;
}

bool ListCapacity::add(const QString& location) {
    const SettingsRow row{PlayListColumns::PlayOn,
                          PlayListColumns::DefaultGroup,
                          PlayListColumns::DefaultCount,
                          PlayListModel::FileName(location),
                          QString(),
                          QString(),
                          location};
    if (admit({row}) == 0) return false;
    m_list.AddEntry(location);
    return true;
}

QString ListCapacity::message() const {
    QStringList lines;
    if (m_leftOutByCount > 0) {
        lines.append(leftOutText(FixedTexts::ListLeftOutOne, FixedTexts::ListLeftOut,
                                 PlayListModel::MaxEntries, m_leftOutByCount));
    }
    if (m_leftOutBySize > 0) {
        lines.append(leftOutText(FixedTexts::ListTooLargeOne, FixedTexts::ListTooLarge,
                                 SettingsFile::MaxListBytes, m_leftOutBySize));
    }
    return lines.join(QStringLiteral(".\n"));
}

void ListCapacity::raiseIfLeftOut() const {
    if (leftOut() > 0) throw KorvelError(message());
}

} // namespace korvel

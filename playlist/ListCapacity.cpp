#include "playlist/ListCapacity.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "playlist/PlayListModel.h"

#include <algorithm>

namespace korvel {

int ListCapacity::room() const {
    return std::max(0, PlayListModel::MaxEntries - m_list.entryCount());
}

int ListCapacity::admit(int wanted) {
    wanted = std::max(0, wanted);
    const int taken = std::min(wanted, room());
    m_leftOut += wanted - taken;
    return taken;
}

bool ListCapacity::add(const QString& location) {
    if (admit(1) == 0) return false;
    m_list.AddEntry(location);
    return true;
}

QString ListCapacity::message() const {
    if (m_leftOut == 0) return {};
    return FixedTexts::ListLeftOut.arg(PlayListModel::MaxEntries).arg(m_leftOut);
}

void ListCapacity::raiseIfLeftOut() const {
    if (m_leftOut > 0) throw KorvelError(message());
}

} // namespace korvel

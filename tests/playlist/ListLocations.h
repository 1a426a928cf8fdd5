#pragma once

#include "playlist/PlayListModel.h"

#include <QStringList>

namespace korvel::test {

// The list's locations, first entry to last.
inline QStringList locations(const PlayListModel& list) {
    QStringList texts;
    for (int row = 1; row <= list.entryCount(); ++row) {
        texts << list.cell(PlayListModel::Column::LocationColumn, row);
    }
    return texts;
}

} // namespace korvel::test

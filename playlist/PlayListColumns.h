#pragma once

#include <QString>

#include <array>

namespace korvel {

// The list's one column vocabulary, shared by the list, its grid, the playback logic and the
// tests: eight text columns in this order, with the titles of the header row.
struct PlayListColumns {
    enum Column : int {
        NoColumn,
        PlayColumn,
        GroupColumn,
        CountColumn,
        FileNameColumn,
        StartColumn,
        EndColumn,
        LocationColumn,
    };
    static constexpr int ColumnCount = 8;

    // A Play cell enables its entry only when it is exactly this text.
    static inline const QString PlayOn = QStringLiteral("On");
    static inline const QString PlayOff = QStringLiteral("Off");
    // What a new entry gets.
    static inline const QString DefaultGroup = QStringLiteral("Default");
    static inline const QString DefaultCount = QStringLiteral("1");

    static inline const std::array<QString, ColumnCount> Titles = {
        QStringLiteral("No."),   QStringLiteral("Play"),        QStringLiteral("Group"),
        QStringLiteral("Count"), QStringLiteral("FileName"),    QStringLiteral("Start"),
        QStringLiteral("End"),   QStringLiteral("Path or URL"),
    };
};

} // namespace korvel

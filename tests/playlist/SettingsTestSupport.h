#pragma once

#include "../support/ErrorText.h"
#include "base/KorvelError.h"
#include "playlist/SettingsData.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <ostream>

namespace korvel {

inline void PrintTo(const SettingsRow& row, std::ostream* out) {
    *out << '{';
    for (const QString& cell : row) *out << " \"" << cell.toStdString() << '"';
    *out << " }";
}

} // namespace korvel

namespace korvel::test {

// An entry as the list makes it, with its marks and location.
inline SettingsRow entry(const QString& location, const QString& start = {},
                         const QString& end = {}) {
    const QString name = location.mid(location.lastIndexOf(u'/') + 1);
    return {QStringLiteral("On"),
            QStringLiteral("Default"),
            QStringLiteral("1"),
            name,
            start,
            end,
            location};
}

// A list of `count` entries whose cells are long enough that a save takes a while.
inline SettingsData bigSettings(int count, const QString& tag) {
    SettingsData data;
    data.imageWindowPos = {-8, 12};
    data.playerPos = {count, 3};
    for (int i = 1; i <= count; ++i) {
        data.rows.push_back(entry(QStringLiteral("/media/%1/%2/").arg(tag).arg(i) +
                                  QString(280, u'x') + QStringLiteral(".avi")));
    }
    return data;
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void putFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw KorvelError(QStringLiteral("test setup cannot write ") + path);
    }
}

} // namespace korvel::test

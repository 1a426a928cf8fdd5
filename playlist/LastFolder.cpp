#include "playlist/LastFolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace korvel {

QString LastFolder::folder(const QString& fallback) const {
    if (!m_folder.isEmpty() && QFileInfo(m_folder).isDir()) return m_folder;
    if (!fallback.isEmpty() && QFileInfo(fallback).isDir()) return fallback;
    return QDir::homePath();
}

void LastFolder::remember(const QString& file) {
    if (file.isEmpty()) return;
    const QString folder = QFileInfo(file).absolutePath();
    const bool plain = std::none_of(folder.begin(), folder.end(),
                                    [](QChar c) { return c.category() == QChar::Other_Control; });
    if (plain) m_folder = folder;
}

} // namespace korvel

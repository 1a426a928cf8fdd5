#include "base/HlsList.h"

#include "base/KorvelError.h"
#include "base/RegularFile.h"

#include <algorithm>

namespace korvel {

bool HlsList::isHls(QByteArrayView bytes) {
    constexpr QByteArrayView Tag = "#EXT-X-";
    constexpr QByteArrayView Mark = "\xEF\xBB\xBF";
    qsizetype at = bytes.startsWith(Mark) ? Mark.size() : 0;
    while (at < bytes.size()) {
        qsizetype end = at;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        QByteArrayView line = bytes.sliced(at, end - at);
        while (!line.isEmpty() && quint8(line.front()) <= 32) line = line.sliced(1);
        if (line.startsWith(Tag)) return true;
        at = end + 1;
    }
    return false;
}

bool HlsList::hasListName(QStringView path) {
    return path.endsWith(u".m3u", Qt::CaseInsensitive) ||
           path.endsWith(u".m3u8", Qt::CaseInsensitive);
}

bool HlsList::isHlsFile(const QString& path, qint64 maxBytes) {
    if (!hasListName(path)) return false;
    try {
        const QByteArray bytes = RegularFile::read(path, maxBytes);
        return isHls(QByteArrayView(bytes).first(std::min(bytes.size(), qsizetype(maxBytes))));
    } catch (const KorvelError&) {
        // Not to be read as a list: whatever opens it tells why.
        return false;
    }
}

} // namespace korvel

#include "playlist/M3uFile.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "playlist/LegacyText.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr QByteArrayView Mark = "\xEF\xBB\xBF";

// An XSPF or PLS list, or a page, saved under an M3U name.
bool isOtherList(const QStringList& lines) {
    if (lines.isEmpty()) return false;
    const QString& first = lines.front();
    return first.startsWith(u'<') || first.compare(u"[playlist]", Qt::CaseInsensitive) == 0;
}

// A title on one line of the list.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c.unicode() < 32) c = u' ';
    }
    return text;
}

} // namespace

QStringList M3uFile::ReadM3uBytes(QByteArrayView bytes, bool utf8, const QLocale& locale,
                                  const std::function<bool(const QString&)>& exists) {
    if (LegacyText::isBinary(bytes)) throw KorvelError(FixedTexts::ListNotOfItsKind.arg(u"M3U"));
    const QByteArrayView body = bytes.startsWith(Mark) ? bytes.sliced(Mark.size()) : bytes;
    const QStringList lines = utf8 ? RamFile::ParseRam(PathBytes::toText(body))
                                   : RamFile::ReadRamBytes(bytes, locale, exists);
    if (isOtherList(lines)) throw KorvelError(FixedTexts::ListNotOfItsKind.arg(u"M3U"));
    QStringList locations;
    for (const QString& line : lines) {
        // A code page may decode a line's first bytes to blanks or control characters.
        qsizetype start = 0;
        while (start < line.size() && line[start].unicode() <= 32) ++start;
        if (start < line.size() && line[start] != u'#') locations.append(line.sliced(start));
    }
    return locations;
}

QByteArray M3uFile::FormatM3u8(const PlayListModel& list, QStringList* refused) {
    QByteArray bytes = "#EXTM3U\n";
    for (int row = 1; row <= list.entryCount(); ++row) {
        const QString location = list.cell(PlayListModel::LocationColumn, row);
        // A comment's "#" would also hide the location.
        if (!RamFile::FitsOnALine(location) || location.startsWith(u'#')) {
            if (refused) refused->append(location);
            continue;
        }
        bytes += "#EXTINF:-1,";
        bytes += PathBytes::toBytes(oneLine(list.cell(PlayListModel::FileNameColumn, row)));
        bytes += '\n';
        bytes += PathBytes::toBytes(location);
        bytes += '\n';
    }
    return bytes;
}

bool M3uFile::IsM3u8Name(const QString& path) {
    return path.endsWith(u".m3u8", Qt::CaseInsensitive);
}

} // namespace korvel

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

namespace {

// Whether other players would misread a local path written on a plain line: "#" and "?" in a
// name start a URL's fragment and query for some, "%" an escape ("%23" is "#"), a blank at
// the end is dropped, a byte that is not UTF-8 is dropped or changed (and would make the list
// no UTF-8 text), and a control character such as a line break ends the line or is no text.
bool misreadPlain(const QByteArray& path) {
    if (!LegacyText::isUtf8(path) || quint8(path.back()) <= ' ') return true;
    return std::any_of(path.begin(), path.end(), [](char c) {
        return quint8(c) < ' ' || c == '\x7F' || c == '#' || c == '?' || c == '%';
    });
}

} // namespace

std::optional<QByteArray> M3uFile::M3u8Line(const QString& location) {
    const QByteArray bytes = PathBytes::toBytes(location);
    if (location.startsWith(u'/')) {
        if (!misreadPlain(bytes)) return bytes;
        // Every byte but the unreserved ones and the folders' "/" as %XX: readers undo the
        // escapes of a file URI byte for byte.
        return "file://" + bytes.toPercentEncoding("/");
    }
    // A URL or a name relative to wherever the list is read: a line holds it as it is or not
    // at all. A comment's "#" would hide it, and a blank at its end is dropped.
    const bool holds = RamFile::FitsOnALine(location) && !location.startsWith(u'#') &&
                       LegacyText::isUtf8(bytes) && (bytes.isEmpty() || quint8(bytes.back()) > ' ');
    if (!holds) return std::nullopt;
    return bytes;
}

QByteArray M3uFile::FormatM3u8(const PlayListModel& list, QStringList* refused) {
    QByteArray bytes = "#EXTM3U\n";
    for (int row = 1; row <= list.entryCount(); ++row) {
        const QString location = list.cell(PlayListModel::LocationColumn, row);
        const std::optional<QByteArray> line = M3u8Line(location);
        if (!line) {
            if (refused) refused->append(location);
            continue;
        }
        // The title is only shown: a name that is not UTF-8 shows its bytes as U+FFFD.
        bytes += "#EXTINF:-1,";
        bytes +=
            PathBytes::displayed(oneLine(list.cell(PlayListModel::FileNameColumn, row))).toUtf8();
        bytes += '\n';
        bytes += *line;
        bytes += '\n';
    }
    return bytes;
}

bool M3uFile::IsM3u8Name(const QString& path) {
    return path.endsWith(u".m3u8", Qt::CaseInsensitive);
}

} // namespace korvel

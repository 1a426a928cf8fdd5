#include "playlist/PlsFile.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "playlist/LegacyText.h"
#include "playlist/RamFile.h"

#include <QRegularExpression>

#include <map>
#include <utility>

namespace korvel {

namespace {

const QRegularExpression& fileKeyPattern() {
    static const QRegularExpression pattern(QStringLiteral("^file([0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// INI's comments; a "#" line first is another kind of list (an M3U).
bool isComment(const QString& line) { return line.startsWith(u';'); }

// The entries' numbers in the order of numbers, however many digits: "File007" is entry 7,
// and a longer number without leading zeros is the larger one.
using NumberKey = std::pair<qsizetype, QString>;
NumberKey numberKey(const QString& digits) {
    QString key = digits;
    while (key.size() > 1 && key.front() == u'0') key.remove(0, 1);
    return {key.size(), key};
}

// A location as its bytes when the list is UTF-8 or the location is this system's path (a
// name that is not UTF-8 stays the file's name); else in the locale's code page.
QString location(const QString& value, const QLocale& locale) {
    const QByteArray bytes = PathBytes::toBytes(value);
    if (LegacyText::isUtf8(bytes) || value.startsWith(u'/')) return value;
    return LegacyText::decode(bytes, locale);
}

} // namespace

PlsFile::Read PlsFile::ReadPlsBytes(QByteArrayView bytes, const QLocale& locale) {
    // A NUL in a name is binary data, as it is in M3U and XSPF lists.
    if (LegacyText::isBinary(bytes)) throw KorvelError(FixedTexts::ListNotOfItsKind.arg(u"PLS"));
    constexpr QByteArrayView Mark = "\xEF\xBB\xBF";
    const QByteArrayView body = bytes.startsWith(Mark) ? bytes.sliced(Mark.size()) : bytes;
    const QStringList lines = RamFile::ParseRam(PathBytes::toText(body));
    qsizetype at = 0;
    while (at < lines.size() && isComment(lines[at])) ++at;
    if (at == lines.size() || lines[at].trimmed().compare(u"[playlist]", Qt::CaseInsensitive))
        throw KorvelError(FixedTexts::ListNotOfItsKind.arg(u"PLS"));
    std::map<NumberKey, QString> files; // by number; the first line of a number counts
    QString declared;
    for (++at; at < lines.size(); ++at) {
        const QString& line = lines[at];
        if (line.startsWith(u'[')) break; // the list's section ends
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || isComment(line)) continue;
        const QString key = line.first(equals).trimmed();
        const QString value = line.sliced(equals + 1).trimmed();
        if (key.compare(u"NumberOfEntries", Qt::CaseInsensitive) == 0) declared = value;
        const QRegularExpressionMatch file = fileKeyPattern().match(key);
        // Trimmed again once decoded: a code page's byte may be a blank (Latin-1's 0xA0).
        const QString decoded = location(value, locale).trimmed();
        if (file.hasMatch() && !decoded.isEmpty())
            files.emplace(numberKey(file.captured(1)), decoded);
    }
    Read read;
    for (const auto& [number, location] : files) read.locations.append(location);
    bool isNumber = false;
    const qlonglong count = declared.toLongLong(&isNumber);
    if (!declared.isEmpty() && (!isNumber || count != read.locations.size())) {
        read.wrongCount = declared;
    }
    return read;
}

} // namespace korvel

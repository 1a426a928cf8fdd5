#include "base/TimeText.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QList>
#include <QLocale>

#include <algorithm>
#include <optional>

namespace korvel {

namespace {

constexpr std::int64_t MsPerDay = 24LL * 3600 * 1000;
constexpr qsizetype ReadLength = 12;

QString twoDigits(std::int64_t value) {
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

KorvelError notATime(const QString& text) { return KorvelError(FixedTexts::NotATime.arg(text)); }

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool allDigits(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// A whole number of one or two ASCII digits within 0..limit, or -1.
int field(QStringView text, int limit) {
    if (text.size() > 2 || !allDigits(text)) return -1;
    const int value = text.toInt();
    return value <= limit ? value : -1;
}

// The separator a text uses: the first ":" or "." in it, ":" when there is none.
QChar separatorIn(QStringView text) {
    for (const QChar c : text) {
        if (c == u':' || c == u'.') return c;
    }
    return QChar(u':');
}

// A trimmed time text in milliseconds, or none when it is not a time.
std::optional<std::int64_t> readTime(QStringView text) {
    const QChar separator = separatorIn(text);
    // Milliseconds may follow the seconds, and are dropped; only after ":" fields, where a
    // "." cannot be a separator.
    const qsizetype dot = separator == u':' ? text.indexOf(u'.') : -1;
    if (dot >= 0 && !allDigits(text.mid(dot + 1))) return std::nullopt;
    const QList<QStringView> parts = text.left(dot >= 0 ? dot : text.size()).split(separator);
    // "00:01.250" could be minutes and seconds as well as hours, minutes and milliseconds.
    if (parts.size() != 3 && (dot >= 0 || parts.size() != 2)) return std::nullopt;
    const int hours = field(parts[0], 23);
    const int minutes = field(parts[1], 59);
    const int seconds = parts.size() == 3 ? field(parts[2], 59) : 0;
    if (hours < 0 || minutes < 0 || seconds < 0) return std::nullopt;
    return hours * 3600000LL + minutes * 60000LL + seconds * 1000LL;
}

// The character right after the hours of a time format ("H.mm" gives "."), skipping quoted
// literal text ("'Kl'. H.mm"); a null character when the format has no hours.
QChar afterHours(QStringView format) {
    qsizetype i = 0;
    for (bool quoted = false; i < format.size(); ++i) {
        if (format[i] == u'\'')
            quoted = !quoted;
        else if (!quoted && (format[i] == u'h' || format[i] == u'H'))
            break;
    }
    while (i < format.size() && (format[i] == u'h' || format[i] == u'H')) ++i;
    return i < format.size() ? format[i] : QChar();
}

} // namespace

QChar TimeText::separatorFor(const QLocale& locale) {
    const QChar found = afterHours(locale.timeFormat(QLocale::ShortFormat));
    return found == u'.' ? found : QChar(u':');
}

QChar TimeText::separator() {
    static const QChar cached = separatorFor(QLocale::system());
    return cached;
}

QString TimeText::fromMs(std::int64_t ms) { return fromMs(ms, separator()); }

QString TimeText::fromMs(std::int64_t ms, QChar separator) {
    const std::int64_t ofDay = std::max<std::int64_t>(ms, 0) % MsPerDay / 1000;
    return twoDigits(ofDay / 3600) + separator + twoDigits(ofDay / 60 % 60) + separator +
           twoDigits(ofDay % 60);
}

std::int64_t TimeText::toMs(const QString& text) {
    const QString cut = text.left(ReadLength);
    if (const auto ms = readTime(QStringView(cut).trimmed())) return *ms;
    throw notATime(cut);
}

} // namespace korvel

#include "playback/TimeText.h"

#include "app/KorvelError.h"

#include <QLocale>
#include <QStringList>

namespace korvel {

namespace {

constexpr std::int64_t MsPerDay = 24LL * 3600 * 1000;

QString twoDigits(std::int64_t value) { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); }

KorvelError notATime(const QString& text) {
    return KorvelError(QStringLiteral("'%1' は正しい時刻ではありません").arg(text));
}

// A whole number of one or two digits within 0..limit, or -1.
int field(const QString& text, int limit) {
    if (text.isEmpty() || text.size() > 2) return -1;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && text[0].isDigit() && text.back().isDigit() && value <= limit ? value : -1;
}

} // namespace

QChar TimeText::separator() {
    static const QChar cached = [] {
        for (const QChar c : QLocale::system().timeFormat(QLocale::ShortFormat)) {
            if (!c.isLetter() && !c.isSpace()) return c;
        }
        return QChar(u':');
    }();
    return cached;
}

QString TimeText::fromMs(std::int64_t ms) {
    const std::int64_t ofDay = ((ms % MsPerDay) + MsPerDay) % MsPerDay / 1000;
    const QChar sep = separator();
    return twoDigits(ofDay / 3600) + sep + twoDigits(ofDay / 60 % 60) + sep + twoDigits(ofDay % 60);
}

std::int64_t TimeText::toMs(const QString& text) {
    const QString cut = text.left(12);
    QString body = cut.trimmed();
    // Milliseconds may follow the seconds; they are dropped.
    if (const qsizetype dot = body.indexOf(u'.'); dot >= 0) {
        const QString fraction = body.mid(dot + 1);
        bool digits = !fraction.isEmpty();
        for (const QChar c : fraction) digits = digits && c.isDigit();
        if (!digits) throw notATime(cut);
        body.truncate(dot);
    }
    const QStringList parts = body.split(separator());
    if (parts.size() < 2 || parts.size() > 3) throw notATime(cut);
    const int hours = field(parts[0], 23);
    const int minutes = field(parts[1], 59);
    const int seconds = parts.size() == 3 ? field(parts[2], 59) : 0;
    if (hours < 0 || minutes < 0 || seconds < 0) throw notATime(cut);
    return hours * 3600000LL + minutes * 60000LL + seconds * 1000LL;
}

} // namespace korvel

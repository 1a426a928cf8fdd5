#pragma once

#include <QChar>
#include <QString>

#include <cstdint>

class QLocale;

namespace korvel {

// Times as the displays and the Start and End cells show them: "hh:mm:ss", the count taken
// as a time of day (hours wrap at 24, milliseconds dropped, a position before the start
// shows as "00:00:00"), with the locale's time separator when it is ":" or ".".
class TimeText {
public:
    // With the system locale's separator.
    static QString fromMs(std::int64_t ms);
    static QString fromMs(std::int64_t ms, QChar separator);

    // Reads the first 12 characters, blanks around them ignored, as hours, minutes and
    // optional seconds, separated all by ":" or all by ".", whatever the locale: a cell
    // written under one locale reads back under any other. After three ":"-separated fields
    // a "." and digits give milliseconds, which are dropped. Anything else raises
    // "'%s' は正しい時刻ではありません".
    static std::int64_t toMs(const QString& text);

    // The separator times are written with under `locale`: its own when that is ":" or ".",
    // otherwise ":" (a separator toMs could not read back would lose the marks).
    static QChar separatorFor(const QLocale& locale);
    // separatorFor the system locale, looked up once.
    static QChar separator();
};

} // namespace korvel

#pragma once

#include <QString>

#include <cstdint>

namespace korvel {

// Times as the displays and the Start and End cells show them: "hh:mm:ss", the count taken
// as a time of day (hours wrap at 24, milliseconds dropped), with the locale's time
// separator.
class TimeText {
public:
    static QString fromMs(std::int64_t ms);

    // Reads the first 12 characters as hours, minutes and optional seconds (and dropped
    // milliseconds); anything else raises "'%s' は正しい時刻ではありません".
    static std::int64_t toMs(const QString& text);

    // The locale's separator between hours, minutes and seconds.
    static QChar separator();
};

} // namespace korvel

#pragma once

#include <QString>

namespace korvel {

// The system's reason for a failed call, told in the language Korvel shows. The system's own
// texts follow the locale's messages, which may be a language Korvel has no catalogue for (a
// German reason inside an English sentence): Korvel says the common reasons in its own words
// and any other in the system's English words with the reason's short name.
class SystemErrorText {
public:
    // The reason for the error number `error` (errno).
    static QString of(int error);

    // The reason a Qt file class gave (QFile::errorString), which is the system's text for
    // the call's error number where there was one: that reason in Korvel's words. Qt's own
    // texts are kept as they are.
    static QString fromSystem(const QString& systemText);
};

} // namespace korvel

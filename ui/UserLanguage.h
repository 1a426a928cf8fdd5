#pragma once

#include <QLocale>
#include <QString>

#include <memory>
#include <vector>

class QTranslator;

namespace korvel {

// The user's language for every text Korvel shows, chosen once at start from the locale the
// way Qt chooses (LANGUAGE, then LC_ALL, LC_MESSAGES and LANG, through QLocale::uiLanguages).
// A language with a catalogue of its own (Japanese, English) takes it; any other takes the
// English one; the C and POSIX locales take none, so every text is its source text there.
// The catalogues are installed while this lives.
class UserLanguage {
public:
    explicit UserLanguage(const QLocale& locale = QLocale());
    ~UserLanguage();
    UserLanguage(const UserLanguage&) = delete;
    UserLanguage& operator=(const UserLanguage&) = delete;

    // The catalogue taken ("ja" or "en"), or empty when none is.
    const QString& catalogue() const { return m_catalogue; }

    // Where the program's catalogues are built in.
    static inline const QString Folder = QStringLiteral(":/i18n");

private:
    void install(std::unique_ptr<QTranslator> translator);

    QString m_catalogue;
    std::vector<std::unique_ptr<QTranslator>> m_installed;
};

} // namespace korvel

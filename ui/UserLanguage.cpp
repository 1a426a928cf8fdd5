#include "ui/UserLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace korvel {

namespace {

const QString Prefix = QStringLiteral("korvel");
const QString English = QStringLiteral("en");

bool isPlainC(const QLocale& locale) {
    const QStringList languages = locale.uiLanguages();
    return languages.isEmpty() || languages.first() == u"C" || languages.first() == u"POSIX";
}

} // namespace

UserLanguage::UserLanguage(const QLocale& locale) {
    if (isPlainC(locale)) return;
    auto own = std::make_unique<QTranslator>();
    if (own->load(locale, Prefix, QStringLiteral("_"), Folder)) {
        m_catalogue = own->language().section(u'_', 0, 0);
        install(std::move(own));
        // Qt's own dialogs (the save dialog's buttons and labels) in the same language,
        // where the system has their catalogue.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            install(std::move(qt));
        }
        return;
    }
    // A language Korvel has no catalogue for reads English, never a mix of two languages.
    if (own->load(Prefix + u'_' + English, Folder)) {
        m_catalogue = English;
        install(std::move(own));
    }
}

UserLanguage::~UserLanguage() {
    for (const auto& translator : m_installed) {
        QCoreApplication::removeTranslator(translator.get());
    }
}

void UserLanguage::install(std::unique_ptr<QTranslator> translator) {
    QCoreApplication::installTranslator(translator.get());
    m_installed.push_back(std::move(translator));
}

} // namespace korvel

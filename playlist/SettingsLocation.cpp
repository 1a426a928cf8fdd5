#include "playlist/SettingsLocation.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace korvel {

QString SettingsLocation::choose(const QString& executableDir, const QString& xdgConfigHome,
                                 const QString& home) {
    if (!executableDir.isEmpty() && isPortable(executableDir)) {
        return QDir(executableDir).filePath(FileName);
    }
    QString configHome = xdgConfigHome;
    if (configHome.isEmpty() || QDir::isRelativePath(configHome)) {
        if (home.isEmpty()) throw KorvelError(FixedTexts::NoSettingsFolder);
        configHome = QDir(home).filePath(QStringLiteral(".config"));
    }
    return QDir::cleanPath(configHome + QStringLiteral("/korvel/") + FileName);
}

QString SettingsLocation::forThisProcess() {
    return choose(QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_CONFIG_HOME"),
                  qEnvironmentVariable("HOME"));
}

bool SettingsLocation::isPortable(const QString& executableDir) {
    const QFileInfo file(QDir(executableDir).filePath(FileName));
    return file.isFile() && file.isWritable() && QFileInfo(executableDir).isWritable();
}

} // namespace korvel

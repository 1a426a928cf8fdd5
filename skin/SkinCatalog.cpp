#include "skin/SkinCatalog.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace korvel {

namespace {

const QString SkinsFolder = QStringLiteral("korvel/skins");

bool holdsSkin(const QDir& folder) {
    return QFileInfo(folder.filePath(QStringLiteral("Skin.ini"))).isFile() &&
           QFileInfo(folder.filePath(QStringLiteral("ListSkin.ini"))).isFile();
}

} // namespace

QStringList SkinCatalog::searchFolders(const QStringList& extra) {
    QStringList folders;
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(QDir(data).filePath(SkinsFolder));
    for (const QString& folder : extra) {
        const QString clean = QDir::cleanPath(folder);
        if (!folders.contains(clean)) folders.append(clean);
    }
    return folders;
}

std::vector<SkinCatalog::Entry> SkinCatalog::list(const QStringList& folders) {
    std::vector<Entry> skins;
    for (const QString& path : folders) {
        const QDir folder(path);
        for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const auto taken = std::find_if(skins.begin(), skins.end(), [&name](const Entry& skin) {
                return skin.name == name;
            });
            if (taken != skins.end() || !holdsSkin(QDir(folder.filePath(name)))) continue;
            skins.push_back({name, folder.filePath(name)});
        }
    }
    std::sort(skins.begin(), skins.end(), [](const Entry& a, const Entry& b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return skins;
}

std::optional<SkinCatalog::Entry> SkinCatalog::find(const QString& name,
                                                    const QStringList& folders) {
    if (name.isEmpty() || name.contains(u'/') || name == u"." || name == u"..") return {};
    for (const QString& path : folders) {
        const QDir folder(QDir(path).filePath(name));
        if (folder.exists() && holdsSkin(folder)) return Entry{name, folder.path()};
    }
    return {};
}

} // namespace korvel

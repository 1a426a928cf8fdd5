#include "skin/SkinExport.h"

#include "base/FixedTexts.h"
#include "base/IniFile.h"
#include "base/KorvelError.h"
#include "base/SystemErrorText.h"
#include "skin/SkinImageName.h"
#include "skin/SkinResources.h"
#include "skin/SkinRow.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace korvel {

namespace {

// The pictures a description names, in the order the loader reads them.
QStringList pictureNames(const QByteArray& description) {
    const IniFile ini(description);
    QStringList names;
    const QString bitmaps = QStringLiteral("BITMAPINFO");
    for (const char* key : {"MaskBitmap", "MouseUpBitmap", "MouseDownBitmap", "MouseOnBitmap",
                            "NumbersBitmap", "TextBitmap"}) {
        names.append(ini.readString(bitmaps, QString::fromLatin1(key), QString()));
    }
    const QString bars = QStringLiteral("TRACKBARINFO");
    for (int n = 1, count = ini.readInteger(bars, u"Count", 0); n <= count; ++n) {
        const SkinRow row(ini.readString(bars, QString::number(n), QString()));
        for (qsizetype field = 1; field <= 2 && field < row.count(); ++field)
            names.append(row.text(field));
    }
    names.removeAll(QString());
    names.removeDuplicates();
    return names;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw KorvelError(FixedTexts::SkinExportWrite.arg(
            QDir::toNativeSeparators(path), SystemErrorText::fromSystem(file.errorString())));
    }
}

} // namespace

std::vector<SkinExport::File> SkinExport::builtInFiles() {
    std::vector<File> files;
    for (const QString& skin : {QStringLiteral("Skin"), QStringLiteral("ListSkin")}) {
        const QByteArray description = SkinResources::find(u"INI", skin);
        files.emplace_back(skin + QStringLiteral(".ini"), description);
        for (const QString& picture : pictureNames(description)) {
            const auto known = std::find_if(files.begin(), files.end(), [&](const File& file) {
                return file.first == picture;
            });
            if (known != files.end()) continue;
            const SkinImageName name = SkinImageName::parse(picture);
            files.emplace_back(picture,
                               SkinResources::find(name.resourceType(), name.resourceName));
        }
    }
    return files;
}

void SkinExport::write(const QString& folder) {
    const std::vector<File> files = builtInFiles();
    const QDir dir(folder);
    for (const File& file : files) {
        const QString path = dir.filePath(file.first);
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
            throw KorvelError(FixedTexts::SkinExportExists.arg(QDir::toNativeSeparators(path)));
    }
    errno = 0;
    if (!dir.mkpath(QStringLiteral("."))) {
        throw KorvelError(FixedTexts::SkinExportWrite.arg(
            QDir::toNativeSeparators(folder), SystemErrorText::of(errno ? errno : ENOTDIR)));
    }
    for (const File& file : files) writeFile(dir.filePath(file.first), file.second);
}

} // namespace korvel

#include "skin/SkinSource.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/RegularFile.h"
#include "skin/BmpReader.h"
#include "skin/JpegReader.h"
#include "skin/SkinImageName.h"
#include "skin/SkinResources.h"

#include <QDir>
#include <QFileInfo>

namespace korvel {

namespace {

// A skin made on another system may name "PlayerMain.jpg" for a file saved as "playermain.JPG":
// the exact name first, else the one file of the folder whose name differs only in case.
QString entryNamed(const QDir& folder, const QString& fileName) {
    if (QFileInfo::exists(folder.filePath(fileName))) return fileName;
    const QStringList entries =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return entry;
    }
    return fileName;
}

QImage decode(const QString& fileName, QByteArrayView bytes) {
    const bool bmp = SkinImageName::parse(fileName).resourceType() == u"BMP";
    return bmp ? BmpReader::read(bytes) : JpegReader::read(bytes);
}

} // namespace

SkinSource SkinSource::folder(const QString& path) {
    SkinSource source;
    source.m_folder = QDir::cleanPath(path);
    return source;
}

QString SkinSource::filePath(const QString& fileName) const {
    return QDir(m_folder).filePath(fileName);
}

// The names come from the description: one that would reach beyond the skin's own folder
// (a path, "..") is refused, as is what is not a regular file or is too large to be a skin's.
QByteArray SkinSource::folderFile(const QString& fileName) const {
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(QChar(0)) ||
        fileName == u"." || fileName == u"..") {
        throw KorvelError(FixedTexts::SkinFileUnusable.arg(fileName, FixedTexts::SkinNameOutside));
    }
    const QDir folder(m_folder);
    const QString path = folder.filePath(entryNamed(folder, fileName));
    try {
        QByteArray bytes = RegularFile::read(path, MaxFileBytes);
        if (bytes.size() > MaxFileBytes)
            throw KorvelError(FixedTexts::ListFileTooLarge.arg(MaxFileBytes));
        return bytes;
    } catch (const KorvelError& error) {
        throw KorvelError(
            FixedTexts::SkinFileUnusable.arg(QDir::toNativeSeparators(path), error.text()));
    }
}

QByteArray SkinSource::description(const QString& name) const {
    if (isBuiltIn()) return SkinResources::find(u"INI", name);
    return folderFile(name + QStringLiteral(".ini"));
}

QImage SkinSource::image(const QString& fileName) const {
    if (isBuiltIn()) {
        const SkinImageName name = SkinImageName::parse(fileName);
        return decode(fileName, SkinResources::find(name.resourceType(), name.resourceName));
    }
    const QByteArray bytes = folderFile(fileName);
    try {
        return decode(fileName, bytes);
    } catch (const KorvelError& error) {
        throw KorvelError(FixedTexts::SkinFileUnusable.arg(
            QDir::toNativeSeparators(filePath(fileName)), error.text()));
    }
}

} // namespace korvel

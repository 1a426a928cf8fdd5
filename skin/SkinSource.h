#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace korvel {

// Where a skin's description and pictures come from: the skins built into the program, or a
// folder on the user's disk that holds the same files under the names the descriptions give
// (Skin.ini, ListSkin.ini and the pictures they name). Both go through the same readers; what
// a folder holds is untrusted, read with a size limit, and only from regular files in it.
class SkinSource {
public:
    // The largest description or picture read from a folder; larger ones are refused unread.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // The built-in skins.
    SkinSource() = default;
    static SkinSource folder(const QString& path);

    bool isBuiltIn() const { return m_folder.isEmpty(); }
    const QString& folderPath() const { return m_folder; }

    // The description of a skin ("Skin", "ListSkin"). A folder's failure names the file.
    QByteArray description(const QString& name) const;
    // The picture a description names, decoded as its name's extension says (BMP or JPEG).
    QImage image(const QString& fileName) const;
    // The path a folder's file of that name has, as the messages name it.
    QString filePath(const QString& fileName) const;

    bool operator==(const SkinSource&) const = default;

private:
    QByteArray folderFile(const QString& fileName) const;

    QString m_folder;
};

} // namespace korvel

#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

namespace korvel::test {

inline QByteArray builtIn(const char* typeAndName) {
    QFile file(QStringLiteral(":/skins/") + QLatin1String(typeAndName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeTo(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// A skin folder as --export-skins writes it: the built-in skins' own files.
inline void writeBuiltInSkins(const QDir& folder) {
    const struct {
        const char* resource;
        const char* file;
    } files[] = {{"INI/SKIN", "Skin.ini"},
                 {"INI/LISTSKIN", "ListSkin.ini"},
                 {"JPG/PLAYERMASK", "PlayerMask.jpg"},
                 {"JPG/PLAYERMAIN", "PlayerMain.jpg"},
                 {"JPG/PLAYERSEL", "PlayerSel.jpg"},
                 {"JPG/LISTMASK", "ListMask.jpg"},
                 {"JPG/LISTMAIN", "ListMain.jpg"},
                 {"JPG/LISTSEL", "ListSel.jpg"},
                 {"BMP/TRACKBAR", "TrackBar.bmp"}};
    for (const auto& file : files)
        writeTo(folder.filePath(QLatin1String(file.file)), builtIn(file.resource));
}

// A player skin of another face size: its own BMP pictures (the mask cut away at its top
// right corner), a play button, the title display and the volume slider; no other element.
inline void writeWidePlayerSkin(const QDir& folder, QSize face) {
    QImage mask(face, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (int y = 0; y < 10; ++y)
        for (int x = face.width() - 10; x < face.width(); ++x) mask.setPixel(x, y, 0xFFFFFFFF);
    mask.save(folder.filePath(QStringLiteral("WideMask.bmp")), "BMP");
    QImage main(face, QImage::Format_RGB32);
    main.fill(QColor(20, 40, 90));
    main.save(folder.filePath(QStringLiteral("WideMain.bmp")), "BMP");
    main.fill(QColor(90, 40, 20));
    main.save(folder.filePath(QStringLiteral("WideSel.bmp")), "BMP");
    writeTo(folder.filePath(QStringLiteral("Skin.ini")),
            "[VERSION]\r\nVer=150\r\n[BITMAPINFO]\r\nMaskBitmap=WideMask.bmp\r\n"
            "MouseUpBitmap=WideMain.bmp\r\nMouseDownBitmap=WideSel.bmp\r\n"
            "MouseOnBitmap=WideSel.bmp\r\n"
            "[HOTAREAINFO]\r\nCount=2\r\n1=BUTTON_PLAY, 10, 100, 30, 20, Play\r\n"
            "2=BUTTON_TOP, 50, 100, 30, 20, Top, FALSE\r\n"
            "[DISPLAYINFO]\r\nCount=1\r\nCharset=0\r\n"
            "1=TEXT_TITLE, Arial, FALSE, FALSE, 9, $FFFFFF, 10, 10, Normal\r\n"
            "[TRACKBARINFO]\r\nCount=1\r\n1=TRACKBAR_VOLUME, TrackBar.bmp, TrackBar.bmp, 10, 60, "
            "200, H, 50, Volume\r\n");
}

} // namespace korvel::test

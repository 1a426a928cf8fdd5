#include "tools/skinart/SelfCheck.h"

#include "base/KorvelError.h"
#include "skin/ListSkinElements.h"
#include "skin/PlayerSkinElements.h"
#include "tools/skinart/ImageFiles.h"
#include "tools/skinart/ThumbArt.h"

#include <QDir>
#include <QStringList>

#include <cstdlib>

namespace korvel::skinart {

namespace {

// The mean per-channel difference a face may gain from JPEG compression.
constexpr double MaxMeanJpegError = 3.0;

QString rectText(const QRect& r) {
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void checkLayout(const SkinLayout& layout, const QString& skin, QStringList& failures) {
    const QRect face = layout.faceRect();
    for (const HotArea& area : layout.hotAreas()) {
        if (area.rect.isEmpty() || !face.contains(area.rect))
            failures << QStringLiteral("%1: %2 %3 is not inside the face")
                            .arg(skin, area.id, rectText(area.rect));
    }
    for (const Track& track : layout.tracks()) {
        const QRect band = track.horizontal
                               ? QRect(track.left, track.top, track.length, ThumbSize.height())
                               : QRect(track.left, track.top, ThumbSize.width(), track.length);
        if (!face.contains(band))
            failures << QStringLiteral("%1: track %2 %3 is not inside the face")
                            .arg(skin, track.id, rectText(band));
    }
    for (const Display& display : layout.displays()) {
        if (!face.contains(display.origin))
            failures
                << QStringLiteral("%1: display %2 starts outside the face").arg(skin, display.id);
    }
}

bool inAnyArea(const SkinLayout& layout, QPoint point) {
    for (const HotArea& area : layout.hotAreas())
        if (area.rect.contains(point)) return true;
    return false;
}

void checkPressedFace(const SkinLayout& layout, const QImage& normal, const QImage& pressed,
                      const QString& skin, QStringList& failures) {
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            if (normal.pixel(x, y) != pressed.pixel(x, y) && !inAnyArea(layout, {x, y})) {
                failures << QStringLiteral("%1: the faces differ outside every button at %2,%3")
                                .arg(skin)
                                .arg(x)
                                .arg(y);
                return;
            }
        }
    }
    for (const HotArea& area : layout.hotAreas()) {
        const QRect r = area.rect & layout.faceRect();
        int changed = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                changed += normal.pixel(x, y) != pressed.pixel(x, y) ? 1 : 0;
        if (changed * 2 < r.width() * r.height())
            failures << QStringLiteral("%1: %2 is not lit on the pressed face").arg(skin, area.id);
    }
}

double meanError(const QImage& a, const QImage& b) {
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return static_cast<double>(sum) / (3.0 * a.width() * a.height());
}

bool allBlack(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) != 0) return false;
    return true;
}

// What the program requires of each file, stated here apart from how the files are drawn.
struct Expected {
    enum class Of { Player, List, Thumb };
    const char* name;
    Of face;
    bool jpeg;
    bool progressive;
    bool mask;
};
constexpr Expected Expectations[] = {
    {"PlayerMask.jpg", Expected::Of::Player, true, false, true},
    {"PlayerMain.jpg", Expected::Of::Player, true, false, false},
    {"PlayerSel.jpg", Expected::Of::Player, true, false, false},
    {"ListMask.jpg", Expected::Of::List, true, true, true},
    {"ListMain.jpg", Expected::Of::List, true, false, false},
    {"ListSel.jpg", Expected::Of::List, true, false, false},
    {"TrackBar.bmp", Expected::Of::Thumb, false, false, false},
};

// The size the file must have: the face sizes are the skin's, the thumb's is fixed.
QSize sizeOf(Expected::Of of, const SkinArtSet& art) {
    switch (of) {
    case Expected::Of::Player: return art.player.faceSize();
    case Expected::Of::List: return art.list.faceSize();
    case Expected::Of::Thumb: break;
    }
    return ThumbSize;
}

void checkJpeg(const Expected& expected, QSize size, const QImage& drawn, const QByteArray& bytes,
               QStringList& failures) {
    const QString name = QString::fromLatin1(expected.name);
    const JpegFrame frame = readJpegFrame(bytes);
    if (QSize(frame.width, frame.height) != size)
        failures
            << QStringLiteral("%1: frame is %2x%3").arg(name).arg(frame.width).arg(frame.height);
    if (frame.components != 3 || frame.precision != 8)
        failures << QStringLiteral("%1: not 8-bit with three components").arg(name);
    if (expected.progressive && !frame.progressive)
        failures << QStringLiteral("%1: not progressive (no SOF2 frame)").arg(name);
    const QImage decoded = QImage::fromData(bytes, "JPG").convertToFormat(QImage::Format_RGB32);
    if (decoded.size() != size) {
        failures << QStringLiteral("%1: does not decode to its size").arg(name);
    } else if (expected.mask && !allBlack(decoded)) {
        failures << QStringLiteral("%1: not entirely black").arg(name);
    } else if (!expected.mask && meanError(decoded, drawn) > MaxMeanJpegError) {
        failures << QStringLiteral("%1: does not hold the face drawn").arg(name);
    }
}

void checkBmp(const Expected& expected, QSize size, const QImage& drawn, const QByteArray& bytes,
              QStringList& failures) {
    const QString name = QString::fromLatin1(expected.name);
    const BmpHeader h = readBmpHeader(bytes);
    const qint64 stride = (size.width() * 3 + 3) / 4 * 4;
    if (h.fileSize != bytes.size() || h.pixelOffset != 54 || h.infoSize != 40 || h.planes != 1 ||
        h.compression != 0 || bytes.size() != 54 + stride * h.height)
        failures << QStringLiteral("%1: malformed headers").arg(name);
    if (h.bitsPerPixel != 24)
        failures << QStringLiteral("%1: %2 bits per pixel, not 24").arg(name).arg(h.bitsPerPixel);
    if (h.width != size.width() || h.height != size.height())
        failures << QStringLiteral("%1: %2x%3, not a bottom-up %4x%5")
                        .arg(name)
                        .arg(h.width)
                        .arg(h.height)
                        .arg(size.width())
                        .arg(size.height());
    const QImage decoded = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    if (decoded != drawn.convertToFormat(QImage::Format_RGB32))
        failures << QStringLiteral("%1: does not decode to the thumb drawn").arg(name);
}

QImage drawnImage(const SkinArtSet& art, const QString& name) {
    for (const SkinPicture& picture : art.pictures())
        if (picture.fileName == name) return picture.image;
    throw KorvelError(QStringLiteral("%1 is not among the pictures drawn").arg(name));
}

void raiseIfAny(const QStringList& failures) {
    if (!failures.isEmpty())
        throw KorvelError(QStringLiteral("self-check failed:\n  ") + failures.join(u"\n  "));
}

} // namespace

void checkDrawn(const SkinArtSet& art) {
    QStringList failures;
    checkLayout(art.player, QStringLiteral("Skin"), failures);
    checkLayout(art.list, QStringLiteral("ListSkin"), failures);
    checkPressedFace(art.player, art.playerMain, art.playerSel, QStringLiteral("Skin"), failures);
    checkPressedFace(art.list, art.listMain, art.listSel, QStringLiteral("ListSkin"), failures);
    if (art.thumb.size() != ThumbSize) failures << QStringLiteral("the thumb is not 10x11");
    raiseIfAny(failures);
}

void checkWritten(const SkinArtSet& art, const QString& outDir) {
    QStringList failures;
    const QDir dir(outDir);
    for (const Expected& expected : Expectations) {
        const QString name = QString::fromLatin1(expected.name);
        const QImage drawn = drawnImage(art, name);
        const QByteArray bytes = readFile(dir.filePath(name));
        const QSize size = sizeOf(expected.face, art);
        if (expected.jpeg)
            checkJpeg(expected, size, drawn, bytes, failures);
        else
            checkBmp(expected, size, drawn, bytes, failures);
    }
    raiseIfAny(failures);
}

} // namespace korvel::skinart

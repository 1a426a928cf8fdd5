#include "tools/skinart/Preview.h"

#include "base/KorvelError.h"
#include "skin/PlayerSkinElements.h"

#include <QDir>
#include <QPainter>

#include <map>

namespace korvel::skinart {

namespace {

QImage decoded(const QString& outDir, const QString& name) {
    QImage image(QDir(outDir).filePath(name));
    if (image.isNull()) throw KorvelError(QStringLiteral("cannot decode %1").arg(name));
    return image.convertToFormat(QImage::Format_RGB32);
}

QString sampleText(const QString& id) {
    static const std::map<QString, QString> samples = {
        {PlayerElement::TextTitle.toString(), QStringLiteral("Night Drive — Lumen Quartet (Live)")},
        {PlayerElement::TextPos.toString(), QStringLiteral("00:01:05")},
        {PlayerElement::TextTotal.toString(), QStringLiteral("/ 00:03:00")},
        {PlayerElement::TextNo.toString(), QStringLiteral("No. 01/12  ")},
    };
    const auto it = samples.find(id);
    return it == samples.end() ? id : it->second;
}

// The face as the program composes it: pressed looks copied area by area, thumbs drawn
// opaque, display texts drawn transparently at their origins (points at 96 dots per inch).
QImage compose(const SkinLayout& layout, const QImage& main, const QImage& pressed,
               const QImage& thumb, bool allPressed) {
    QImage face = main;
    QPainter p(&face);
    for (const HotArea& area : layout.hotAreas())
        if (allPressed) p.drawImage(area.rect.topLeft(), pressed, area.rect);
    for (const Track& track : layout.tracks()) {
        const int offset = (track.length - thumb.width()) * track.position / 100;
        p.drawImage(QPoint(track.left + offset, track.top), thumb);
    }
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const Display& display : layout.displays()) {
        QFont font(display.fontFace);
        font.setPixelSize(display.pointSize * 96 / 72);
        font.setBold(display.bold);
        p.setFont(font);
        p.setPen(display.colour);
        const QRect line(display.origin, QSize(layout.faceSize().width(), 40));
        p.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, sampleText(display.id));
    }
    return face;
}

void save(const QImage& image, const QString& previewDir, const QString& stem) {
    const QDir dir(previewDir);
    const QImage large =
        image.scaled(image.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!image.save(dir.filePath(stem + QStringLiteral(".png"))) ||
        !large.save(dir.filePath(stem + QStringLiteral("-x3.png"))))
        throw KorvelError(QStringLiteral("cannot write the preview %1").arg(stem));
}

} // namespace

void writePreviews(const SkinArtSet& art, const QString& outDir, const QString& previewDir) {
    // The display fonts' stand-ins, as the program installs them.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    if (!QDir().mkpath(previewDir))
        throw KorvelError(QStringLiteral("cannot create %1").arg(previewDir));
    const QImage thumb = decoded(outDir, QStringLiteral("TrackBar.bmp"));
    const QImage playerMain = decoded(outDir, QStringLiteral("PlayerMain.jpg"));
    const QImage playerSel = decoded(outDir, QStringLiteral("PlayerSel.jpg"));
    const QImage listMain = decoded(outDir, QStringLiteral("ListMain.jpg"));
    const QImage listSel = decoded(outDir, QStringLiteral("ListSel.jpg"));
    save(thumb.scaled(thumb.size() * 8), previewDir, QStringLiteral("thumb"));
    save(compose(art.player, playerMain, playerSel, thumb, false), previewDir,
         QStringLiteral("player"));
    save(compose(art.player, playerMain, playerSel, thumb, true), previewDir,
         QStringLiteral("player-pressed"));
    save(compose(art.list, listMain, listSel, thumb, false), previewDir, QStringLiteral("list"));
    save(compose(art.list, listMain, listSel, thumb, true), previewDir,
         QStringLiteral("list-pressed"));
}

} // namespace korvel::skinart

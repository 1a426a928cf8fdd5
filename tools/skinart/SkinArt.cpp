#include "tools/skinart/SkinArt.h"

#include "skin/ListSkinElements.h"
#include "skin/PlayerSkinElements.h"
#include "tools/skinart/ImageFiles.h"
#include "tools/skinart/ListFace.h"
#include "tools/skinart/PlayerFace.h"
#include "tools/skinart/ThumbArt.h"

#include <QDir>

namespace korvel::skinart {

namespace {

QImage black(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

} // namespace

SkinArtSet SkinArtSet::draw(const QString& skinDir, QSize playerFace, QSize listFace) {
    const QDir dir(skinDir);
    SkinArtSet art{SkinLayout::read(dir.filePath(QStringLiteral("Skin.ini")), playerFace),
                   SkinLayout::read(dir.filePath(QStringLiteral("ListSkin.ini")), listFace),
                   {},
                   {},
                   {},
                   {},
                   {}};
    art.playerMain = paintPlayerFace(art.player, false);
    art.playerSel = paintPlayerFace(art.player, true);
    art.listMain = paintListFace(art.list, false);
    art.listSel = paintListFace(art.list, true);
    art.thumb = paintThumb(art.playerMain, art.player.track(PlayerElement::TrackBarPos));
    return art;
}

std::vector<SkinPicture> SkinArtSet::pictures() const {
    using Kind = SkinPicture::Kind;
    return {
        {QStringLiteral("PlayerMask.jpg"), Kind::Jpeg, black(player.faceSize()), true},
        {QStringLiteral("PlayerMain.jpg"), Kind::Jpeg, playerMain, false},
        {QStringLiteral("PlayerSel.jpg"), Kind::Jpeg, playerSel, false},
        {QStringLiteral("ListMask.jpg"), Kind::ProgressiveJpeg, black(list.faceSize()), true},
        {QStringLiteral("ListMain.jpg"), Kind::Jpeg, listMain, false},
        {QStringLiteral("ListSel.jpg"), Kind::Jpeg, listSel, false},
        {QStringLiteral("TrackBar.bmp"), Kind::Bmp24, thumb, false},
    };
}

void writePictures(const SkinArtSet& art, const QString& outDir) {
    const QDir dir(outDir);
    for (const SkinPicture& picture : art.pictures()) {
        const QByteArray bytes =
            picture.kind == SkinPicture::Kind::Bmp24
                ? encodeBmp24(picture.image)
                : encodeJpeg(picture.image, JpegQuality,
                             picture.kind == SkinPicture::Kind::ProgressiveJpeg);
        writeFile(dir.filePath(picture.fileName), bytes);
    }
}

} // namespace korvel::skinart

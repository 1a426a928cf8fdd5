#pragma once

#include "tools/skinart/SkinLayout.h"

#include <QImage>
#include <QString>

#include <vector>

namespace korvel::skinart {

inline constexpr int JpegQuality = 92;

// One picture file of the built-in skins.
struct SkinPicture {
    enum class Kind { Jpeg, ProgressiveJpeg, Bmp24 };
    QString fileName;
    Kind kind = Kind::Jpeg;
    QImage image;
    bool mask = false; // entirely black: the window keeps its full rectangle
};

// Everything one run draws, from the two skin descriptions.
struct SkinArtSet {
    SkinLayout player;
    SkinLayout list;
    QImage playerMain;
    QImage playerSel;
    QImage listMain;
    QImage listSel;
    QImage thumb;

    // Reads Skin.ini and ListSkin.ini from `skinDir` and draws every picture, the faces at
    // these sizes (another skin's may differ from the built-in one's).
    static SkinArtSet draw(const QString& skinDir, QSize playerFace, QSize listFace);

    // The seven files, in the order they are written.
    std::vector<SkinPicture> pictures() const;
};

// Encodes and writes the seven files into `outDir`; raises KorvelError on failure.
void writePictures(const SkinArtSet& art, const QString& outDir);

} // namespace korvel::skinart

#pragma once

#include "skin/SkinModel.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringView>

namespace korvel {

// Composes a skin's face: the picture the component shows, always exactly the component's
// size. Every drawing is an opaque, unscaled copy cut only at the face's edges, except font
// text, which draws its glyphs alone over what is there.
class FaceComposer {
public:
    // A new face of this size, black, at 96 dots per inch so point sizes come out as the
    // skins were designed for.
    static QImage newFace(QSize size);

    // The whole face from the current element states: the normal look, the pressed or down
    // look of each hot area that is pressed or a down toggle, the thumbs, then the displays.
    // Clears FaceStale.
    static void PaintFace(SkinModel& model, QImage& face);

    // Copies one rectangle of a look image to the same rectangle of the face.
    static void copyArea(QImage& face, const QImage& look, const QRect& area);

    // Writes text with the cells of a glyph strip: 11 cells "0123456789 ".
    static void DrawNumberText(QImage& face, const QImage& numbers, int x, int y, QStringView text);
    // Writes text with the cells of a glyph sheet: three rows of 30 cells.
    static void DrawLetterText(QImage& face, const QImage& letters, int x, int y, QStringView text);

private:
    static void blit(QImage& face, QPoint to, const QImage& source, QRect from);
    static void drawDisplays(const SkinModel& model, QImage& face);
};

} // namespace korvel

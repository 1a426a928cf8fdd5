#pragma once

#include "tools/skinart/SkinArt.h"

#include <QString>

namespace korvel::skinart {

// Checks the pictures as drawn: every element lies inside its face, and the pressed face
// differs from the normal face inside every button and nowhere else. Raises KorvelError
// listing every failure.
void checkDrawn(const SkinArtSet& art);

// Reads the written files back: sizes, JPEG frames (8-bit, three components, progressive
// exactly where required), masks entirely black after decoding, faces close to what was
// drawn, the thumb a 24-bit bottom-up BMP equal to what was drawn. Raises KorvelError
// listing every failure.
void checkWritten(const SkinArtSet& art, const QString& outDir);

} // namespace korvel::skinart

#pragma once

#include "tools/skinart/SkinArt.h"

#include <QString>

namespace korvel::skinart {

// Writes PNG previews of the written pictures into `previewDir`: each face as decoded, and
// the player and list faces composed the way the running program composes them (thumbs at
// their initial positions, sample display texts), once with every button up and once with
// every button pressed. Each also at three times the size. Raises KorvelError on failure.
void writePreviews(const SkinArtSet& art, const QString& outDir, const QString& previewDir);

} // namespace korvel::skinart

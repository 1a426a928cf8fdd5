#pragma once

#include "tools/skinart/SkinLayout.h"

#include <QImage>

namespace korvel::skinart {

// The player panel's face: title and time display, the three slider tracks, the transport
// row and the window buttons, drawn where the layout puts them. `lit` gives the pressed face,
// the same picture with every button lit.
QImage paintPlayerFace(const SkinLayout& layout, bool lit);

} // namespace korvel::skinart

#pragma once

#include "tools/skinart/SkinLayout.h"

#include <QImage>
#include <QRect>

namespace korvel::skinart {

// The recessed boxes of the three edit fields in the bottom row of the playlist window's face
// (the grid's place is the skin's, ListSkin::GridPlace).
struct ListWidgetPlaces {
    static constexpr QRect group{64, 176, 60, 20};
    static constexpr QRect count{130, 176, 40, 20};
    static constexpr QRect url{176, 176, 254, 20};
};

// The playlist window's face: caption, labelled buttons, the grid's frame and the labelled
// edit boxes. `lit` gives the pressed face, the same picture with every button lit.
QImage paintListFace(const SkinLayout& layout, bool lit);

} // namespace korvel::skinart

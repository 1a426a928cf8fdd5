#pragma once

#include "tools/skinart/SkinLayout.h"

#include <QImage>
#include <QSize>

namespace korvel::skinart {

inline constexpr QSize ThumbSize{10, 11};

// The slider thumb: a bright knob on a copy of the face under the middle of `track`, so the
// opaque thumb rectangle blends into the groove it slides along.
QImage paintThumb(const QImage& face, const Track& track);

} // namespace korvel::skinart

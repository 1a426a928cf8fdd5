#pragma once

#include <QSize>

namespace korvel {

// The picture size the playback window takes before any clip has told its own: its client
// size when it is first shown, and the size the settings give it when none was stored.
inline constexpr QSize FirstPictureSize{320, 240};

} // namespace korvel

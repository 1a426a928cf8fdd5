#pragma once

#include "engine/MediaTrack.h"

#include <QByteArray>

namespace korvel {

// The engine's list of a clip's tracks, read from the JSON text it gives of its "track-list"
// property: an array of objects with "type" ("video", "audio", "sub"), "id", "lang",
// "title", "selected" and "external".
class TrackList {
public:
    // The sound and subtitle tracks in the engine's order; pictures and anything that is not
    // a track with a positive id are left out. Text that is not such an array gives none:
    // the menu then offers no track rather than failing the whole menu.
    static MediaTracks parse(const QByteArray& json);
};

} // namespace korvel

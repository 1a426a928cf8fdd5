#pragma once

#include "engine/MediaTrack.h"

struct mpv_handle;

namespace korvel {

// The clip's sound and subtitle tracks on a libmpv core: read, switched and added. Each
// operation takes the core of the media control, none when no clip was ever loaded.
class MpvTracks {
public:
    // None without a core.
    static MediaTracks read(mpv_handle* mpv);
    // Sound track `id` (1 upward), or subtitle track `id` (0 for none), at once. Raises
    // KorvelError without a core, for a number below those and for a track the clip lacks.
    static void select(mpv_handle* mpv, MediaTrack::Kind kind, int id);
    // Loads subtitles from `location` (through the location gate) and shows them. Raises
    // KorvelError without a core and when the engine cannot read them.
    static void add(mpv_handle* mpv, const QString& location);
};

} // namespace korvel

#pragma once

#include <QList>
#include <QString>

namespace korvel {

// One sound or subtitle track of the clip that is open, as the engine reports it.
struct MediaTrack {
    enum class Kind { Audio, Subtitle };

    Kind kind = Kind::Audio;
    // The engine's number of the track among those of its kind, 1 upward.
    int id = 0;
    // The language tag the clip gives ("eng", "ja"); empty when it gives none.
    QString language;
    QString title;
    // The track plays (or shows) now.
    bool selected = false;
    // Loaded from a file of its own beside the clip.
    bool external = false;

    bool operator==(const MediaTrack&) const = default;
};

using MediaTracks = QList<MediaTrack>;

} // namespace korvel

#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <cstdint>
#include <optional>

namespace korvel {

struct PlaybackState;

// What the desktop's media controls see of the player, as plain values, and how they map to
// the bus's names and units: the bus counts time in microseconds and volume from 0.0 to 1.0,
// the player in milliseconds and slider steps 0..100.
class MprisValues {
public:
    // One look at the player: the engine's state code, the clip as the engine has it, the
    // position as the panel shows it, the volume (0..100), whether the panel's next and
    // previous would start an entry now, and the list's LOOP and SHUFFLE.
    struct Snapshot {
        int state = 0;
        QString source;
        QString title;
        std::int64_t lengthMs = 0;
        std::int64_t positionMs = 0;
        int volume = 0;
        bool canGoNext = false;
        bool canGoPrevious = false;
        bool loop = false;
        bool shuffle = false;
    };

    // The track id of no clip at all, which the desktop knows.
    static inline const QString NoTrack =
        QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
    // A seek that moved the position less than this is no jump (a resume where it paused).
    static constexpr std::int64_t JumpToleranceMs = 500;

    // The player's published state as the bus sees it.
    static Snapshot snapshotOf(const PlaybackState& state);

    // "Playing", "Paused" or "Stopped" for an engine state code; a clip that opens is on
    // its way to play.
    static QString statusText(int state);
    // An object path that stands for `source` alone, NoTrack for none.
    static QString trackId(const QString& source);
    // `source` as a URL: local paths as file URLs of the name's very bytes, stream URLs as
    // they are.
    static QString urlOf(const QString& source);
    // The location an OpenUri call names: a file URL of this machine as its local path, byte
    // for byte, anything else as given (the player's own gate refuses what it does not play).
    static QString locationOfUri(const QString& uri);
    // "Playlist" while the list starts again after its last entry, "None" otherwise.
    static QString loopStatusText(bool loop);
    // The LOOP a loop status asks for; none for a status the list cannot show ("Track").
    static std::optional<bool> loopOf(const QString& status);

    // The position as told: within the clip (a skip may take the player's own past its end).
    static std::int64_t shownPosition(std::int64_t positionMs, std::int64_t lengthMs);
    static std::int64_t toMicroseconds(std::int64_t ms) { return ms * 1000; }
    // Rounded toward minus infinity, so a position a little before a millisecond stays there.
    static std::int64_t toMilliseconds(std::int64_t us);
    static double volumeOf(int slider);
    // The slider step for a bus volume, within 0..100; none for a value that is no number.
    static std::optional<int> sliderOf(double volume);

    // The metadata map of the clip (empty keys left out); the track id is an object path.
    static QVariantMap metadata(const Snapshot& snapshot);
    // The player's properties that follow from a snapshot, by their bus names.
    static QVariantMap playerProperties(const Snapshot& snapshot);
    // Those of `after` that differ from `before`.
    static QVariantMap changedProperties(const Snapshot& before, const Snapshot& after);

    // The URL schemes the player opens: file and the stream schemes its gate lets through.
    static QStringList uriSchemes();
    static QStringList mimeTypes();
};

} // namespace korvel

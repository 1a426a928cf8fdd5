#pragma once

#include <QObject>
#include <QVariantMap>

#include <cstdint>

namespace korvel {

class Playback;
struct PlaybackState;

// Turns the playback state's change notices into what the desktop's media controls are told:
// the player properties that changed, and Seeked for a seek that moved the position. The
// position itself is never announced (the desktop reads it when it needs it), so a playing
// clip causes no announcements of its own.
class MprisAnnouncer : public QObject {
    Q_OBJECT

public:
    explicit MprisAnnouncer(const Playback& playback, QObject* parent = nullptr);

signals:
    // The player interface's properties that changed, by their bus names and values.
    void propertiesChanged(const QVariantMap& changed);
    void seeked(qlonglong positionUs);

private:
    void heardChange(const PlaybackState& before, const PlaybackState& now);
    void heardSeek(std::int64_t fromMs, std::int64_t toMs);

    const Playback& m_playback;
};

} // namespace korvel

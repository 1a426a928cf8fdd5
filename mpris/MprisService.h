#pragma once

#include "command/PlayerCommand.h"
#include "mpris/MprisValues.h"
#include "playback/PlaybackState.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QMetaProperty>
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

namespace korvel {

class CommandTaker;
class MprisAnnouncer;
class MprisPlayer;
class Playback;

// The player on the desktop's media controls: the object the session bus reaches under the
// player's well-known name, holding the root and player interfaces. Its methods and writable
// properties map to the player's verbs, which every other door runs too, so the panel and the
// bus never disagree; what it shows it reads from the playback state. What changed is
// announced from the playback state's change notices as it happens; nothing is looked at
// on a clock, and an idle player is not woken at all.
//
// Without a session bus, or when the name belongs to another program, the player runs as
// before: one line on stderr says why the media controls are missing.
class MprisService : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    static inline const QString ServiceName = QStringLiteral("org.mpris.MediaPlayer2.korvel");
    static inline const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

    MprisService(Playback& playback, CommandTaker& commands);
    ~MprisService() override;
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    // What the interfaces read and call; a failed command becomes the caller's error.
    MprisValues::Snapshot snapshot() const;
    void raise();
    void quit();
    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void seek(std::int64_t offsetUs);
    void setPosition(const QString& trackId, std::int64_t positionUs);
    void openUri(const QString& uri);
    void setVolume(double volume);
    void setRate(double rate);
    void setLoopStatus(const QString& status);
    void setShuffle(bool shuffle);
    // The properties of the interface named `interfaceName`; a name the interface does not
    // have, or a value it refuses, is the caller's error.
    QVariant readProperty(const QString& interfaceName, const QString& name);
    QVariantMap readAllProperties(const QString& interfaceName);
    void writeProperty(const QString& interfaceName, const QString& name, QVariant value);

private:
    bool registerOnBus();
    // Runs the verb as runCommand does; false when it failed.
    bool verb(Verb verb, std::int64_t number = 0, const QString& text = QString());
    // Runs a command; its failure goes to the bus caller, or to the error box otherwise.
    // False when it failed.
    bool runCommand(const std::function<void()>& command);
    void refuseCall(const QString& why);
    // The interface object that answers for `interfaceName`; none, with the caller told so.
    QObject* interfaceNamed(const QString& interfaceName);
    // The property `name` of `adaptor`; an invalid one, with the caller told so.
    QMetaProperty propertyNamed(QObject* adaptor, const QString& interfaceName,
                                const QString& name);
    // An OpenUri is answered once the engine has opened its clip or failed to.
    struct PendingOpen {
        QDBusMessage call;
        QString location;
        // What played before, to come back to when the new clip cannot be opened.
        PlaybackState before;
        // The engine told that this clip opens.
        bool opening = false;
        // The clip stopped while it opened: the engine's failure, if any, follows with the
        // same events.
        bool stopped = false;
        int serial = 0;
    };
    void heardChange(const PlaybackState& before, const PlaybackState& now);
    void heardState(int newState);
    // True when the failure was the answer to an OpenUri and is told to its caller alone.
    bool heardFailure(const QString& text);
    void answerOpen(const QString& failure);
    void announce(const QVariantMap& changed);

    Playback& m_playback;
    CommandTaker& m_commands;
    MprisPlayer* m_player = nullptr;
    MprisAnnouncer* m_announcer = nullptr;
    bool m_registered = false;
    std::optional<PendingOpen> m_open;
    int m_openSerial = 0;
};

} // namespace korvel

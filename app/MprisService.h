#pragma once

#include "app/MprisValues.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMetaProperty>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

namespace korvel {

class MprisPlayer;
class PlayerWindows;

// The player on the desktop's media controls: the object the session bus reaches under the
// player's well-known name, holding the root and player interfaces. Every call runs the
// command the panel's button, key or slider runs, so the panel and the bus never disagree.
// While a clip plays or opens, or a seek is on its way, the player's state is looked at four
// times a second and what changed is announced. Otherwise nothing changes on its own: the
// look sleeps until an input event, an engine event or a bus call wakes it, so an idle
// player is not woken at all.
//
// Without a session bus, or when the name belongs to another program, the player runs as
// before: one line on stderr says why the media controls are missing.
class MprisService : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    static inline const QString ServiceName = QStringLiteral("org.mpris.MediaPlayer2.korvel");
    static inline const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
    static constexpr int PollIntervalMs = 250;

    // The engine's state code (MediaControl::State); the windows' engine is asked when unset.
    using StateReader = std::function<int()>;

    explicit MprisService(PlayerWindows& windows, StateReader state = {});
    ~MprisService() override;
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    bool isRegistered() const { return m_registered; }

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
    void registerOnBus();
    void button(QStringView id);
    void seekTo(std::int64_t ms);
    // Runs a command; its failure goes to the bus caller, or to the error box otherwise.
    // False when it failed.
    bool runCommand(const std::function<void()>& command);
    void refuseCall(const QString& why);
    // The interface object that answers for `interfaceName`; none, with the caller told so.
    QObject* interfaceNamed(const QString& interfaceName);
    // The property `name` of `adaptor`; an invalid one, with the caller told so.
    QMetaProperty propertyNamed(QObject* adaptor, const QString& interfaceName,
                                const QString& name);
    void setListButton(QStringView id, bool down);
    // What played before an OpenUri, to come back to when the new clip cannot be opened.
    struct Before {
        QString source;
        int state = 0;
        std::int64_t positionMs = 0;
        bool listMode = false;
    };
    // An OpenUri is answered once the engine has opened its clip or failed to.
    struct PendingOpen {
        QDBusMessage call;
        QString location;
        Before before;
        // The engine told that this clip opens.
        bool opening = false;
    };
    void heardState(int newState);
    // True when the failure was the answer to an OpenUri and is told to its caller alone.
    bool heardFailure(const QString& text);
    void answerOpen(const QString& failure);
    void restore(const Before& before);
    void poll();
    void announce(const QVariantMap& changed);
    // Looks four times a second until the player is quiet again: at once when it slept or
    // when asked to, else at the next tick.
    void wake(bool lookNow = false);
    void sleepWhenQuiet(const MprisValues::Snapshot& now);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The engine's state changes and completed seeks wake the look, and answer an OpenUri
    // that waits, as does a failure, which then goes to that caller instead of the error box.
    // The windows' own handlers run first, and get their events back alone when the service
    // goes.
    void hearEngine();
    void stopHearingEngine();

    PlayerWindows& m_windows;
    StateReader m_state;
    MprisPlayer* m_player = nullptr;
    bool m_registered = false;
    QTimer m_poll;
    QElapsedTimer m_sinceLastPoll;
    // Looks in a row that found nothing that changes on its own.
    int m_quietPolls = 0;
    std::function<void(int, int)> m_windowsStateChange;
    std::function<void(std::int64_t, std::int64_t)> m_windowsPostSeek;
    std::function<void(const QString&)> m_windowsAsyncFailure;
    std::optional<PendingOpen> m_open;
    // A clip stopped while it opened: the engine's failure, if any, follows at once.
    QTimer m_openStopped;
    // Answers an OpenUri whose clip neither opened nor failed before the caller gives up.
    QTimer m_openGuard;
    MprisValues::Snapshot m_last;
    // A seek asked for over the bus, announced once the position got there (or in time).
    std::optional<std::int64_t> m_seekTarget;
    QElapsedTimer m_seekClock;
    // Set from a clip's change until its position first moves: the old clip's position then.
    std::optional<std::int64_t> m_settleFrom;
};

} // namespace korvel

#include "app/MprisService.h"

#include "app/MprisPlayer.h"
#include "app/MprisProperties.h"
#include "app/MprisRoot.h"
#include "app/PlayerWindows.h"
#include "base/KorvelError.h"
#include "engine/MpvMediaControl.h"
#include "playback/ClipTitle.h"
#include "skin/ListSkinElements.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMouseEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace korvel {

namespace {

namespace Panel = PlayerElement;

Q_LOGGING_CATEGORY(lcMpris, "korvel.mpris", QtWarningMsg)

const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
// A seek asked for over the bus is announced with wherever the position is by then.
constexpr int SeekSettleMs = 3000;
// A second of quiet looks, and the look sleeps.
constexpr int QuietPollsBeforeSleep = 4;
// The engine gives up on a clip that does not open well before a bus caller gives up on its
// answer (25 s); this only ends a wait that nothing else ends.
constexpr int OpenAnswerMs = 24000;
// After a clip's stop while it opened, the engine's failure comes with the same events.
constexpr int StopSettleMs = 1000;

// What a user does to the player: each may change what the bus shows, so each wakes the look.
bool isUserInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Drop: return true;
    case QEvent::MouseMove: // a slider dragged
        return static_cast<const QMouseEvent*>(event)->buttons() != Qt::NoButton;
    default: return false;
    }
}

void tellOnce(const QString& why) {
    std::fprintf(stderr, "korvel: no desktop media controls: %s\n", qPrintable(why));
}

MprisService::StateReader engineState(MediaControl& control) {
    if (auto* engine = dynamic_cast<MpvMediaControl*>(&control))
        return [engine] { return int(engine->state()); };
    return [] { return int(MediaControl::Stopped); };
}

// Without a bus named in the environment or at its usual place the library would start one
// of its own, which no desktop listens to: that costs a start-up and helps no one.
bool sessionBusExpected() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

} // namespace

MprisService::MprisService(PlayerWindows& windows, StateReader state)
    : m_windows(windows),
      m_state(state ? std::move(state) : engineState(windows.playback().RealAudio1())) {
    new MprisRoot(this);
    m_player = new MprisPlayer(this);
    new MprisProperties(this);
    for (QTimer* timer : {&m_openStopped, &m_openGuard}) timer->setSingleShot(true);
    m_openStopped.setInterval(StopSettleMs);
    m_openGuard.setInterval(OpenAnswerMs);
    connect(&m_openStopped, &QTimer::timeout, this,
            [this] { answerOpen(QStringLiteral("The clip was stopped before it opened.")); });
    connect(&m_openGuard, &QTimer::timeout, this,
            [this] { answerOpen(QStringLiteral("The clip has not opened yet.")); });
    registerOnBus();
    if (!m_registered) return;
    m_last = snapshot();
    m_sinceLastPoll.start();
    m_poll.setInterval(PollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &MprisService::poll);
    m_poll.start();
    hearEngine();
    QCoreApplication::instance()->installEventFilter(this);
}

MprisService::~MprisService() {
    if (!m_registered) return;
    QCoreApplication::instance()->removeEventFilter(this);
    stopHearingEngine();
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(ServiceName);
    bus.unregisterObject(ObjectPath);
}

void MprisService::registerOnBus() {
    if (!sessionBusExpected()) {
        tellOnce(QStringLiteral("no session bus"));
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        tellOnce(QStringLiteral("no session bus (%1)").arg(bus.lastError().message()));
        return;
    }
    // The object stands before the name is taken: whoever sees the name finds it.
    if (!bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors)) {
        tellOnce(QStringLiteral("%1 is taken on the session bus").arg(ObjectPath));
        return;
    }
    if (!bus.registerService(ServiceName)) {
        bus.unregisterObject(ObjectPath);
        tellOnce(QStringLiteral("%1 belongs to another program").arg(ServiceName));
        return;
    }
    m_registered = true;
}

MprisValues::Snapshot MprisService::snapshot() const {
    TForm3& window = m_windows.playback();
    const MediaControl& control = window.RealAudio1();
    const Playback& playback = window.playback();
    MprisValues::Snapshot values;
    values.state = m_state();
    values.source = control.QuerySource();
    values.title = ClipTitle::of(control);
    values.lengthMs = control.QueryLength();
    values.positionMs = MprisValues::shownPosition(playback.CurrentPos, values.lengthMs);
    values.volume =
        m_windows.panel().SkinForm1()->engine().GetTrackBarPosition(Panel::TrackBarVolume);
    values.canGoNext = playback.canMoveOn(+1);
    values.canGoPrevious = playback.canMoveOn(-1);
    const SkinElements& list = m_windows.playlist().SkinForm1()->engine();
    values.loop = list.GetButtonState(ListElement::Loop);
    values.shuffle = list.GetButtonState(ListElement::Shuffle);
    return values;
}

bool MprisService::runCommand(const std::function<void()>& command) {
    QString failure;
    try {
        command();
    } catch (const KorvelError& error) {
        failure = error.text();
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    // The change shows on the bus as soon as the events it causes are handled.
    wake(true);
    if (failure.isEmpty()) return true;
    // A program asked: it gets the failure as its answer, with no box on the user's screen.
    if (calledFromDBus()) {
        sendErrorReply(QDBusError::Failed, ErrorBox::withFullStop(failure));
    } else {
        ErrorBox::show(failure);
    }
    return false;
}

// A value the player has no place for is the caller's error, not a silent no.
void MprisService::refuseCall(const QString& why) {
    if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, why);
}

QObject* MprisService::interfaceNamed(const QString& interfaceName) {
    for (QObject* child : children()) {
        const QMetaObject* type = child->metaObject();
        const int info = type->indexOfClassInfo("D-Bus Interface");
        if (info >= 0 && interfaceName == QLatin1String(type->classInfo(info).value()))
            return child;
    }
    sendErrorReply(QDBusError::UnknownInterface,
                   QStringLiteral("No interface %1.").arg(interfaceName));
    return nullptr;
}

QMetaProperty MprisService::propertyNamed(QObject* adaptor, const QString& interfaceName,
                                          const QString& name) {
    const QMetaObject* type = adaptor->metaObject();
    const int index = type->indexOfProperty(name.toUtf8().constData());
    if (index >= QDBusAbstractAdaptor::staticMetaObject.propertyCount())
        return type->property(index);
    sendErrorReply(QDBusError::UnknownProperty,
                   QStringLiteral("No property %1 in %2.").arg(name, interfaceName));
    return {};
}

QVariant MprisService::readProperty(const QString& interfaceName, const QString& name) {
    QObject* adaptor = interfaceNamed(interfaceName);
    if (!adaptor) return QVariant(0);
    const QMetaProperty property = propertyNamed(adaptor, interfaceName, name);
    return property.isValid() ? property.read(adaptor) : QVariant(0);
}

QVariantMap MprisService::readAllProperties(const QString& interfaceName) {
    QVariantMap all;
    QObject* adaptor = interfaceNamed(interfaceName);
    if (!adaptor) return all;
    const QMetaObject* type = adaptor->metaObject();
    for (int i = QDBusAbstractAdaptor::staticMetaObject.propertyCount(); i < type->propertyCount();
         ++i) {
        all.insert(QString::fromLatin1(type->property(i).name()), type->property(i).read(adaptor));
    }
    return all;
}

// The setters answer a value they refuse themselves.
void MprisService::writeProperty(const QString& interfaceName, const QString& name,
                                 QVariant value) {
    QObject* adaptor = interfaceNamed(interfaceName);
    if (!adaptor) return;
    const QMetaProperty property = propertyNamed(adaptor, interfaceName, name);
    if (!property.isValid()) return;
    if (!property.isWritable()) {
        sendErrorReply(QDBusError::PropertyReadOnly, QStringLiteral("%1 is read-only.").arg(name));
    } else if (!value.convert(property.metaType())) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("Not a value for %1.").arg(name));
    } else {
        property.write(adaptor, std::move(value));
    }
}

void MprisService::button(QStringView id) {
    runCommand(
        [this, id] { m_windows.panelCommands().SkinForm1MouseUpNotify(id, Qt::LeftButton); });
}

void MprisService::raise() {
    for (QWidget* window : {static_cast<QWidget*>(&m_windows.playback()),
                            static_cast<QWidget*>(&m_windows.panel())}) {
        if (window->isMinimized()) window->showNormal();
        window->show();
        window->raise();
    }
    m_windows.playback().activateWindow();
}

// Closing the playback window ends the program; the caller gets its answer first.
void MprisService::quit() {
    TForm3& window = m_windows.playback();
    QTimer::singleShot(0, &window, [&window] { window.close(); });
}

void MprisService::play() { button(Panel::ButtonPlay); }
void MprisService::pause() { button(Panel::ButtonPause); }
void MprisService::stop() { button(Panel::ButtonStop); }
void MprisService::next() { button(Panel::ButtonNext); }
void MprisService::previous() { button(Panel::ButtonPrev); }

void MprisService::playPause() {
    if (MprisValues::statusText(m_state()) == u"Playing") {
        pause();
    } else {
        play();
    }
}

void MprisService::seek(std::int64_t offsetUs) {
    const MprisValues::Snapshot now = snapshot();
    if (!MprisValues::playerProperties(now).value(QStringLiteral("CanSeek")).toBool()) return;
    const std::int64_t target =
        std::max<std::int64_t>(0, now.positionMs + MprisValues::toMilliseconds(offsetUs));
    // Beyond the end the clip is over: the list moves on as at the end of any clip.
    if (target > now.lengthMs) {
        next();
        return;
    }
    seekTo(target);
}

void MprisService::setPosition(const QString& trackId, std::int64_t positionUs) {
    const MprisValues::Snapshot now = snapshot();
    // A position meant for another clip, or outside this one, is no position here.
    if (trackId != MprisValues::trackId(now.source) || now.source.isEmpty()) return;
    const std::int64_t target = MprisValues::toMilliseconds(positionUs);
    if (positionUs < 0 || target > now.lengthMs) return;
    if (!MprisValues::playerProperties(now).value(QStringLiteral("CanSeek")).toBool()) return;
    seekTo(target);
}

// As the panel's skips do: a repeating seek ends, and the position is taken as the target
// until the engine reports it.
void MprisService::seekTo(std::int64_t ms) {
    runCommand([this, ms] {
        Playback& playback = m_windows.playback().playback();
        playback.SeekRepeat = false;
        playback.CurrentPos = ms;
        m_windows.playback().RealAudio1().SeekTo(ms);
    });
    m_seekTarget = ms;
    m_seekClock.start();
}

// The caller is answered once the clip has opened or failed to; a clip that cannot be opened
// is its error, and what played before plays on.
void MprisService::openUri(const QString& uri) {
    const MprisValues::Snapshot now = snapshot();
    const Before before = m_open ? m_open->before
                                 : Before{now.source, now.state, now.positionMs,
                                          m_windows.playback().playback().PlaylistMode};
    const bool loading = runCommand(
        [this, &uri] { m_windows.playback().ReceiveHandOff(MprisValues::locationOfUri(uri)); });
    if (!loading || !calledFromDBus()) return;
    if (m_open) answerOpen(QStringLiteral("Another clip was opened first."));
    // A state report still on its way from before the call is no answer about this clip.
    m_open = PendingOpen{message(), m_windows.playback().RealAudio1().QuerySource(), before,
                         m_state() == MediaControl::Opening};
    setDelayedReply(true);
    m_openGuard.start();
}

void MprisService::heardState(int newState) {
    if (!m_open) return;
    if (m_windows.playback().RealAudio1().QuerySource() != m_open->location) {
        // A drop, the list or a second start took its place before it opened.
        answerOpen(QStringLiteral("Another clip was opened first."));
    } else if (newState == MediaControl::Opening) {
        m_open->opening = true;
        m_openStopped.stop();
    } else if (newState == MediaControl::Playing || newState == MediaControl::Paused) {
        if (m_open->opening) answerOpen(QString());
    } else {
        m_openStopped.start();
    }
}

bool MprisService::heardFailure(const QString& text) {
    if (!m_open) return false;
    const Before before = m_open->before;
    answerOpen(text);
    restore(before);
    return true;
}

void MprisService::answerOpen(const QString& failure) {
    if (!m_open) return;
    const QDBusMessage call = std::exchange(m_open, std::nullopt)->call;
    m_openStopped.stop();
    m_openGuard.stop();
    QDBusConnection::sessionBus().send(
        failure.isEmpty()
            ? call.createReply()
            : call.createErrorReply(QDBusError::Failed, ErrorBox::withFullStop(failure)));
}

// The clip comes back where it was and as it was: playing, paused or stopped.
void MprisService::restore(const Before& before) {
    if (before.source.isEmpty()) return;
    runCommand([this, &before] {
        Playback& playback = m_windows.playback().playback();
        MediaControl& control = m_windows.playback().RealAudio1();
        playback.OpenEntry(false, before.source);
        playback.PlaylistMode = before.listMode;
        playback.CurrentPos = before.positionMs;
        control.SeekTo(before.positionMs);
        if (before.state == MediaControl::Paused) control.PausePlay();
        if (before.state == MediaControl::Stopped || before.state == MediaControl::Closed)
            control.StopPlay();
    });
}

void MprisService::setVolume(double volume) {
    const std::optional<int> slider = MprisValues::sliderOf(volume);
    if (!slider) {
        refuseCall(QStringLiteral("Not a volume."));
        return;
    }
    runCommand([this, position = *slider] {
        m_windows.panel().SkinForm1()->engine().SetTrackBarPosition(Panel::TrackBarVolume,
                                                                    position);
        m_windows.panelCommands().SkinForm1TrackBarNotify(Panel::TrackBarVolume, position);
    });
}

// Only the normal rate is played; a rate of 0 asks for a pause.
void MprisService::setRate(double rate) {
    if (rate == 0.0) {
        pause();
    } else if (rate != 1.0) {
        refuseCall(QStringLiteral("Only the normal rate is played."));
    }
}

void MprisService::setLoopStatus(const QString& status) {
    const std::optional<bool> loop = MprisValues::loopOf(status);
    if (!loop) {
        refuseCall(QStringLiteral("The list loops as a whole or not at all."));
        return;
    }
    setListButton(ListElement::Loop, *loop);
}

void MprisService::setShuffle(bool shuffle) { setListButton(ListElement::Shuffle, shuffle); }

// As a click on the list's toggle: the play order reads it at its next step.
void MprisService::setListButton(QStringView id, bool down) {
    TSkinForm* face = m_windows.playlist().SkinForm1();
    face->SetButtonState(id, down);
    face->update();
    wake(true);
}

void MprisService::poll() {
    const MprisValues::Snapshot now = snapshot();
    const std::int64_t elapsed = m_sinceLastPoll.restart();
    announce(MprisValues::changedProperties(m_last, now));
    const bool sameClip = now.source == m_last.source;
    // A clip that opens shows the old clip's position until its own first report: that
    // change is its start, not a seek.
    if (MprisValues::isClipChange(m_last, now)) {
        m_settleFrom = m_last.positionMs;
    } else if (m_settleFrom && now.positionMs != *m_settleFrom) {
        m_settleFrom.reset();
        m_last.positionMs = now.positionMs;
    }
    const std::int64_t nowUs = MprisValues::toMicroseconds(now.positionMs);
    if (m_seekTarget) {
        const bool arrived =
            std::abs(now.positionMs - *m_seekTarget) <= MprisValues::JumpToleranceMs;
        if (arrived || m_seekClock.elapsed() > SeekSettleMs || !sameClip) {
            if (sameClip) emit m_player->Seeked(nowUs);
            qCDebug(lcMpris) << "seek asked for on the bus ended at" << now.positionMs;
            m_seekTarget.reset();
        }
    } else if (!m_settleFrom) {
        const bool running =
            m_last.state == MediaControl::Playing || now.state == MediaControl::Playing;
        if (MprisValues::isJump(m_last.positionMs, now.positionMs, elapsed, running)) {
            qCDebug(lcMpris) << "position jumped from" << m_last.positionMs << "to"
                             << now.positionMs << "in" << elapsed << "ms";
            emit m_player->Seeked(nowUs);
        }
    }
    m_last = now;
    sleepWhenQuiet(now);
}

void MprisService::sleepWhenQuiet(const MprisValues::Snapshot& now) {
    const bool moving = now.state == MediaControl::Playing || now.state == MediaControl::Opening;
    const bool waiting = m_seekTarget.has_value() || m_settleFrom.has_value();
    m_quietPolls = moving || waiting ? 0 : m_quietPolls + 1;
    if (m_quietPolls >= QuietPollsBeforeSleep) m_poll.stop();
}

void MprisService::wake(bool lookNow) {
    if (!m_registered) return;
    m_quietPolls = 0;
    const bool asleep = !m_poll.isActive();
    if (asleep) {
        // Nothing moved while the look slept: the last one is as good as one taken now, and
        // the time asleep is no time the position could have run.
        m_sinceLastPoll.restart();
        m_poll.start();
    }
    if (asleep || lookNow) QTimer::singleShot(0, this, &MprisService::poll);
}

// Sees the event before the window it is for: the look comes after the event is handled.
bool MprisService::eventFilter(QObject* watched, QEvent* event) {
    if (isUserInput(event)) wake();
    return QObject::eventFilter(watched, event);
}

void MprisService::hearEngine() {
    MediaControl& control = m_windows.playback().RealAudio1();
    m_windowsStateChange = control.OnStateChange;
    m_windowsPostSeek = control.OnPostSeek;
    m_windowsAsyncFailure = control.OnAsyncFailure;
    control.OnStateChange = [this](int oldState, int newState) {
        if (m_windowsStateChange) m_windowsStateChange(oldState, newState);
        heardState(newState);
        wake();
    };
    control.OnAsyncFailure = [this](const QString& text) {
        if (heardFailure(text)) return;
        if (m_windowsAsyncFailure) {
            m_windowsAsyncFailure(text);
        } else {
            throw KorvelError(text);
        }
    };
    control.OnPostSeek = [this](std::int64_t oldTime, std::int64_t newTime) {
        if (m_windowsPostSeek) m_windowsPostSeek(oldTime, newTime);
        wake();
    };
}

void MprisService::stopHearingEngine() {
    MediaControl& control = m_windows.playback().RealAudio1();
    control.OnStateChange = m_windowsStateChange;
    control.OnPostSeek = m_windowsPostSeek;
    control.OnAsyncFailure = m_windowsAsyncFailure;
}

void MprisService::announce(const QVariantMap& changed) {
    if (changed.isEmpty()) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace korvel

#include "mpris/MprisService.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "command/CommandTaker.h"
#include "engine/MediaControl.h"
#include "mpris/MprisAnnouncer.h"
#include "mpris/MprisPlayer.h"
#include "mpris/MprisProperties.h"
#include "mpris/MprisRoot.h"
#include "playback/Playback.h"
#include "ui/ErrorBox.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace korvel {

namespace {

const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

void tellOnce(const QString& why) {
    std::fprintf(stderr, "korvel: %s\n", qUtf8Printable(FixedTexts::NoDesktopControls.arg(why)));
}

// Without a bus named in the environment or at its usual place the library would start one
// of its own, which no desktop listens to: that costs a start-up and helps no one.
bool sessionBusExpected() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

} // namespace

MprisService::MprisService(Playback& playback, CommandTaker& commands)
    : m_playback(playback), m_commands(commands) {
    new MprisRoot(this);
    m_player = new MprisPlayer(this);
    new MprisProperties(this);
    m_registered = registerOnBus();
    if (!m_registered) return;
    m_announcer = new MprisAnnouncer(playback, this);
    connect(m_announcer, &MprisAnnouncer::propertiesChanged, this, &MprisService::announce);
    connect(m_announcer, &MprisAnnouncer::seeked, m_player, &MprisPlayer::Seeked);
    connect(&playback.notices(), &PlaybackNotices::changed, this, &MprisService::heardChange);
    playback.takeFailuresWith([this](const QString& text) { return heardFailure(text); });
}

MprisService::~MprisService() {
    if (!m_registered) return;
    m_playback.takeFailuresWith(nullptr);
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(ServiceName);
    bus.unregisterObject(ObjectPath);
}

bool MprisService::registerOnBus() {
    if (!sessionBusExpected()) {
        tellOnce(FixedTexts::NoSessionBus);
        return false;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // The bus library's message is English only; its error's name is no language.
        tellOnce(FixedTexts::NoSessionBusNamed.arg(bus.lastError().name()));
        return false;
    }
    // The object stands before the name is taken: whoever sees the name finds it.
    if (!bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors)) {
        tellOnce(FixedTexts::BusPathTaken.arg(ObjectPath));
        return false;
    }
    if (!bus.registerService(ServiceName)) {
        bus.unregisterObject(ObjectPath);
        tellOnce(FixedTexts::BusNameTaken.arg(ServiceName));
        return false;
    }
    return true;
}

MprisValues::Snapshot MprisService::snapshot() const {
    return MprisValues::snapshotOf(m_playback.state());
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

bool MprisService::verb(Verb verb, std::int64_t number, const QString& text) {
    return runCommand([&] { m_commands.run(PlayerCommand{verb, number, text}); });
}

void MprisService::raise() { verb(Verb::Raise); }

// Closing the playback window ends the program; the caller gets its answer first.
void MprisService::quit() {
    QMetaObject::invokeMethod(
        this, [this] { verb(Verb::Quit); }, Qt::QueuedConnection);
}

void MprisService::play() { verb(Verb::Play); }
void MprisService::pause() { verb(Verb::Pause); }
void MprisService::stop() { verb(Verb::Stop); }
void MprisService::next() { verb(Verb::Next); }
void MprisService::previous() { verb(Verb::Previous); }

void MprisService::playPause() {
    if (MprisValues::statusText(m_playback.state().engineState) == u"Playing") {
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
    verb(Verb::SeekTo, target);
}

void MprisService::setPosition(const QString& trackId, std::int64_t positionUs) {
    const MprisValues::Snapshot now = snapshot();
    // A position meant for another clip, or outside this one, is no position here.
    if (trackId != MprisValues::trackId(now.source) || now.source.isEmpty()) return;
    const std::int64_t target = MprisValues::toMilliseconds(positionUs);
    if (positionUs < 0 || target > now.lengthMs) return;
    if (!MprisValues::playerProperties(now).value(QStringLiteral("CanSeek")).toBool()) return;
    verb(Verb::SeekTo, target);
}

// The caller is answered once the clip has opened or failed to; a clip that cannot be opened
// is its error, and what played before plays on. The engine gives up on a clip that does not
// open (20 s) before a bus caller gives up on its answer (25 s). The player comes to the front
// as for a second start's clip.
void MprisService::openUri(const QString& uri) {
    const PlaybackState before = m_open ? m_open->before : m_playback.state();
    const QString location = MprisValues::locationOfUri(uri);
    if (!location.isEmpty()) verb(Verb::Raise);
    const bool loading = verb(Verb::Open, 0, location);
    if (!loading || !calledFromDBus()) return;
    if (m_open) answerOpen(QStringLiteral("Another clip was opened first."));
    // A state report still on its way from before the call is no answer about this clip.
    const PlaybackState now = m_playback.state();
    m_open = PendingOpen{message(), now.source,    before, now.engineState == MediaControl::Opening,
                         false,     ++m_openSerial};
    setDelayedReply(true);
}

void MprisService::heardChange(const PlaybackState& before, const PlaybackState& now) {
    if (before.engineState != now.engineState || before.source != now.source)
        heardState(now.engineState);
}

void MprisService::heardState(int newState) {
    if (!m_open) return;
    if (m_playback.state().source != m_open->location) {
        // A drop, the list or a second start took its place before it opened.
        answerOpen(QStringLiteral("Another clip was opened first."));
    } else if (newState == MediaControl::Opening) {
        m_open->opening = true;
        m_open->stopped = false;
    } else if (newState == MediaControl::Playing || newState == MediaControl::Paused) {
        if (m_open->opening) answerOpen(QString());
    } else if (!m_open->stopped) {
        // Once the events that came with the stop are handled, no failure is coming.
        m_open->stopped = true;
        QMetaObject::invokeMethod(
            this,
            [this, serial = m_open->serial] {
                if (m_open && m_open->serial == serial && m_open->stopped)
                    answerOpen(QStringLiteral("The clip was stopped before it opened."));
            },
            Qt::QueuedConnection);
    }
}

bool MprisService::heardFailure(const QString& text) {
    if (!m_open) return false;
    const PlaybackState before = m_open->before;
    answerOpen(text);
    runCommand([this, &before] { m_playback.ReturnTo(before); });
    return true;
}

void MprisService::answerOpen(const QString& failure) {
    if (!m_open) return;
    const QDBusMessage call = std::exchange(m_open, std::nullopt)->call;
    QDBusConnection::sessionBus().send(
        failure.isEmpty()
            ? call.createReply()
            : call.createErrorReply(QDBusError::Failed, ErrorBox::withFullStop(failure)));
}

void MprisService::setVolume(double volume) {
    const std::optional<int> slider = MprisValues::sliderOf(volume);
    if (!slider) {
        refuseCall(QStringLiteral("Not a volume."));
        return;
    }
    verb(Verb::Volume, *slider);
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
    verb(Verb::Loop, *loop);
}

void MprisService::setShuffle(bool shuffle) { verb(Verb::Shuffle, shuffle); }

void MprisService::announce(const QVariantMap& changed) {
    if (changed.isEmpty()) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace korvel

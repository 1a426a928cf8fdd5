#include "mpris/MprisPlayer.h"

#include "mpris/MprisService.h"
#include "mpris/MprisValues.h"

namespace korvel {

MprisPlayer::MprisPlayer(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service) {
    // Seeked is sent by the service alone, when the position jumped.
    setAutoRelaySignals(false);
}

QString MprisPlayer::playbackStatus() const {
    return MprisValues::statusText(m_service->snapshot().state);
}

void MprisPlayer::setRate(double rate) { m_service->setRate(rate); }

QVariantMap MprisPlayer::metadata() const { return MprisValues::metadata(m_service->snapshot()); }

double MprisPlayer::volume() const { return MprisValues::volumeOf(m_service->snapshot().volume); }

void MprisPlayer::setVolume(double volume) { m_service->setVolume(volume); }

QString MprisPlayer::loopStatus() const {
    return MprisValues::loopStatusText(m_service->snapshot().loop);
}

void MprisPlayer::setLoopStatus(const QString& status) { m_service->setLoopStatus(status); }

void MprisPlayer::setShuffle(bool shuffle) { m_service->setShuffle(shuffle); }

qlonglong MprisPlayer::position() const {
    return MprisValues::toMicroseconds(m_service->snapshot().positionMs);
}

bool MprisPlayer::flag(const QString& name) const {
    return MprisValues::playerProperties(m_service->snapshot()).value(name).toBool();
}

void MprisPlayer::Play() { m_service->play(); }
void MprisPlayer::Pause() { m_service->pause(); }
void MprisPlayer::PlayPause() { m_service->playPause(); }
void MprisPlayer::Stop() { m_service->stop(); }
void MprisPlayer::Next() { m_service->next(); }
void MprisPlayer::Previous() { m_service->previous(); }
void MprisPlayer::Seek(qlonglong Offset) { m_service->seek(Offset); }

void MprisPlayer::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    m_service->setPosition(TrackId.path(), Position);
}

void MprisPlayer::OpenUri(const QString& Uri) { m_service->openUri(Uri); }

} // namespace korvel

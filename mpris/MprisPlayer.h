#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace korvel {

class MprisService;

// The player interface of the desktop's media controls: the panel's transport buttons,
// seeking, opening a location and the volume, and what is playing. Values are read afresh at
// each call; the service announces their changes.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    explicit MprisPlayer(MprisService* service);

    QString playbackStatus() const;
    double rate() const { return 1.0; }
    void setRate(double rate);
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    QString loopStatus() const;
    void setLoopStatus(const QString& status);
    bool shuffle() const { return flag(QStringLiteral("Shuffle")); }
    void setShuffle(bool shuffle);
    qlonglong position() const;
    bool canGoNext() const { return flag(QStringLiteral("CanGoNext")); }
    bool canGoPrevious() const { return flag(QStringLiteral("CanGoPrevious")); }
    bool canPlay() const { return flag(QStringLiteral("CanPlay")); }
    bool canPause() const { return flag(QStringLiteral("CanPause")); }
    bool canSeek() const { return flag(QStringLiteral("CanSeek")); }
    bool canControl() const { return true; }

public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString& Uri);

signals:
    void Seeked(qlonglong Position);

private:
    bool flag(const QString& name) const;

    MprisService* m_service;
};

} // namespace korvel

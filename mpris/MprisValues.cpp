#include "mpris/MprisValues.h"

#include "base/PathBytes.h"
#include "engine/MediaControl.h"
#include "engine/MediaLocation.h"
#include "playback/PlaybackState.h"

#include <QCryptographicHash>
#include <QDBusObjectPath>
#include <QDir>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

bool hasScheme(const QString& location) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return pattern.match(location).hasMatch();
}

bool hasClip(const MprisValues::Snapshot& snapshot) { return !snapshot.source.isEmpty(); }

bool isStarted(int state) {
    return state == MediaControl::Opening || state == MediaControl::Paused ||
           state == MediaControl::Playing;
}

} // namespace

QString MprisValues::statusText(int state) {
    switch (state) {
    case MediaControl::Opening:
    case MediaControl::Playing: return QStringLiteral("Playing");
    case MediaControl::Paused: return QStringLiteral("Paused");
    default: return QStringLiteral("Stopped");
    }
}

// A digest of the location: the same clip keeps its id, and a call naming the clip that
// played before a switch is told apart from one naming the clip now loaded.
QString MprisValues::trackId(const QString& source) {
    if (source.isEmpty()) return NoTrack;
    const QByteArray digest =
        QCryptographicHash::hash(PathBytes::toBytes(source), QCryptographicHash::Sha1)
            .left(8)
            .toHex();
    return QStringLiteral("/org/korvel/Korvel/Track/t") + QString::fromLatin1(digest);
}

QString MprisValues::urlOf(const QString& source) {
    if (source.isEmpty() || hasScheme(source)) return source;
    // QUrl would write a byte that is not UTF-8 as the escape character that stands for it.
    // QFileInfo might pass the name through the file system's encoding and back.
    const QString absolute = QDir::cleanPath(
        source.startsWith(u'/') ? source : QDir::currentPath() + QLatin1Char('/') + source);
    const QByteArray bytes = PathBytes::toBytes(absolute);
    return QStringLiteral("file://") +
           QString::fromLatin1(bytes.toPercentEncoding("/!$&'()*+,;=:@"));
}

QString MprisValues::locationOfUri(const QString& uri) {
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().compare(u"file", Qt::CaseInsensitive) != 0) return uri;
    // A file on another machine stays a URL, for the gate to refuse: as a path it would name
    // a file of this one.
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0) return uri;
    const QString path = PathBytes::fromFileUrl(url);
    return path.isEmpty() ? uri : path;
}

QString MprisValues::loopStatusText(bool loop) {
    return loop ? QStringLiteral("Playlist") : QStringLiteral("None");
}

std::optional<bool> MprisValues::loopOf(const QString& status) {
    if (status == u"None") return false;
    if (status == u"Playlist") return true;
    return std::nullopt;
}

std::int64_t MprisValues::shownPosition(std::int64_t positionMs, std::int64_t lengthMs) {
    const std::int64_t position = std::max<std::int64_t>(0, positionMs);
    return lengthMs > 0 ? std::min(position, lengthMs) : position;
}

std::int64_t MprisValues::toMilliseconds(std::int64_t us) {
    return us >= 0 ? us / 1000 : -((-(us + 1)) / 1000) - 1;
}

double MprisValues::volumeOf(int slider) { return std::clamp(slider, 0, 100) / 100.0; }

std::optional<int> MprisValues::sliderOf(double volume) {
    if (std::isnan(volume)) return std::nullopt;
    return int(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
}

MprisValues::Snapshot MprisValues::snapshotOf(const PlaybackState& state) {
    Snapshot values;
    values.state = state.engineState;
    values.source = state.source;
    values.title = state.title;
    values.lengthMs = state.lengthMs;
    values.positionMs = shownPosition(state.positionMs, state.lengthMs);
    values.volume = state.volume;
    values.canGoNext = state.canGoNext;
    values.canGoPrevious = state.canGoPrevious;
    values.loop = state.loop;
    values.shuffle = state.shuffle;
    return values;
}

QVariantMap MprisValues::metadata(const Snapshot& snapshot) {
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(trackId(snapshot.source))));
    if (!hasClip(snapshot)) return map;
    if (snapshot.lengthMs > 0)
        map.insert(QStringLiteral("mpris:length"), qlonglong(toMicroseconds(snapshot.lengthMs)));
    if (!snapshot.title.isEmpty()) map.insert(QStringLiteral("xesam:title"), snapshot.title);
    map.insert(QStringLiteral("xesam:url"), urlOf(snapshot.source));
    return map;
}

QVariantMap MprisValues::playerProperties(const Snapshot& snapshot) {
    const bool clip = hasClip(snapshot);
    return {
        {QStringLiteral("PlaybackStatus"), statusText(snapshot.state)},
        {QStringLiteral("Metadata"), metadata(snapshot)},
        {QStringLiteral("Volume"), volumeOf(snapshot.volume)},
        {QStringLiteral("CanGoNext"), snapshot.canGoNext},
        {QStringLiteral("CanGoPrevious"), snapshot.canGoPrevious},
        {QStringLiteral("LoopStatus"), loopStatusText(snapshot.loop)},
        {QStringLiteral("Shuffle"), snapshot.shuffle},
        {QStringLiteral("CanPlay"), clip},
        {QStringLiteral("CanPause"), clip && isStarted(snapshot.state)},
        // A live stream has no length to seek in.
        {QStringLiteral("CanSeek"), clip && snapshot.lengthMs > 0},
    };
}

QVariantMap MprisValues::changedProperties(const Snapshot& before, const Snapshot& after) {
    const QVariantMap old = playerProperties(before);
    QVariantMap changed = playerProperties(after);
    for (auto it = changed.begin(); it != changed.end();) {
        if (old.value(it.key()) == it.value()) {
            it = changed.erase(it);
        } else {
            ++it;
        }
    }
    return changed;
}

QStringList MprisValues::uriSchemes() {
    // Only those the gate really lets through are told, whatever it comes to allow.
    static const QStringList candidates{
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("rtsp"),
        QStringLiteral("rtmp"), QStringLiteral("mms"),   QStringLiteral("mmsh"),
        QStringLiteral("udp"),  QStringLiteral("rtp"),   QStringLiteral("ftp")};
    QStringList schemes{QStringLiteral("file")};
    for (const QString& scheme : candidates) {
        if (MediaLocation::isStream(scheme + QStringLiteral("://host/"))) schemes << scheme;
    }
    return schemes;
}

QStringList MprisValues::mimeTypes() {
    return {QStringLiteral("video/mp4"),
            QStringLiteral("video/x-msvideo"),
            QStringLiteral("video/mpeg"),
            QStringLiteral("video/quicktime"),
            QStringLiteral("video/x-matroska"),
            QStringLiteral("video/webm"),
            QStringLiteral("video/ogg"),
            QStringLiteral("video/x-flv"),
            QStringLiteral("video/x-ms-wmv"),
            QStringLiteral("application/vnd.rn-realmedia"),
            QStringLiteral("audio/x-pn-realaudio"),
            QStringLiteral("audio/vnd.rn-realaudio"),
            QStringLiteral("audio/mpeg"),
            QStringLiteral("audio/mp4"),
            QStringLiteral("audio/ogg"),
            QStringLiteral("audio/flac"),
            QStringLiteral("audio/x-wav"),
            QStringLiteral("application/ogg"),
            QStringLiteral("audio/x-mpegurl"),
            QStringLiteral("application/vnd.apple.mpegurl"),
            QStringLiteral("audio/x-scpls"),
            QStringLiteral("application/xspf+xml"),
            QStringLiteral("application/ram")};
}

} // namespace korvel

#include "engine/TrackList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace korvel {

MediaTracks TrackList::parse(const QByteArray& json) {
    MediaTracks tracks;
    const QJsonDocument document = QJsonDocument::fromJson(json);
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        const QString type = object.value(u"type").toString();
        if (type != u"audio" && type != u"sub") continue;
        MediaTrack track;
        track.kind = type == u"audio" ? MediaTrack::Kind::Audio : MediaTrack::Kind::Subtitle;
        track.id = object.value(u"id").toInt();
        if (track.id <= 0) continue;
        track.language = object.value(u"lang").toString();
        track.title = object.value(u"title").toString();
        track.selected = object.value(u"selected").toBool();
        track.external = object.value(u"external").toBool();
        tracks.append(track);
    }
    return tracks;
}

} // namespace korvel

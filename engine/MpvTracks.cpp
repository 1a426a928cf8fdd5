#include "engine/MpvTracks.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "engine/EngineFailure.h"
#include "engine/MediaLocation.h"
#include "engine/TrackList.h"

#include <mpv/client.h>

#include <algorithm>

namespace korvel {

namespace {

void require(int status, const char* name) {
    if (status < 0)
        throw KorvelError(
            FixedTexts::EngineRefused.arg(QString::fromUtf8(name), EngineFailure::text(status)));
}

} // namespace

MediaTracks MpvTracks::read(mpv_handle* mpv) {
    char* json = mpv ? mpv_get_property_string(mpv, "track-list") : nullptr;
    if (!json) return {};
    const MediaTracks tracks = TrackList::parse(QByteArray(json));
    mpv_free(json);
    return tracks;
}

// The engine takes a number it has no track for and shows nothing: asked for by number, a
// track the clip lacks is refused before the sound goes silent.
void MpvTracks::select(mpv_handle* mpv, MediaTrack::Kind kind, int id) {
    const bool audio = kind == MediaTrack::Kind::Audio;
    if (!mpv) throw KorvelError(FixedTexts::NoClipOpen);
    const MediaTracks tracks = read(mpv);
    const bool known = std::any_of(tracks.begin(), tracks.end(), [&](const MediaTrack& track) {
        return track.kind == kind && track.id == id;
    });
    if (!known && !(id == 0 && !audio)) throw KorvelError(FixedTexts::NoSuchTrack.arg(id));
    const QByteArray value = id == 0 ? QByteArray("no") : QByteArray::number(id);
    const char* name = audio ? "aid" : "sid";
    require(mpv_set_property_string(mpv, name, value.constData()), name);
}

// Subtitles pass the same gate as clips: a name the engine would take for one of its own
// sources is refused.
void MpvTracks::add(mpv_handle* mpv, const QString& location) {
    const QByteArray target = MediaLocation::engineTarget(location).toUtf8();
    if (!mpv) throw KorvelError(FixedTexts::NoClipOpen);
    const char* arguments[] = {"sub-add", target.constData(), "select", nullptr};
    require(mpv_command(mpv, arguments), "sub-add");
}

} // namespace korvel

#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace korvel {

// XSPF lists: XML with the root "playlist" holding "trackList", whose "track" elements each
// give their clip by a "location" URI (the first one when there are several) and maybe a
// "title". Everything else, other players' "extension" and "meta" elements among it, is
// passed over. An xml:base on the playlist, the track list, a track or a location is the
// base its locations are resolved against, each resolved against the one around it.
class XspfFile {
public:
    // The location URIs of the tracks, in list order, as the list gives them resolved against
    // their bases (percent escapes kept; ListLocation::fromUri makes them locations; one still
    // relative is relative to the list's folder). Tracks without a location are passed over.
    // Raises a KorvelError with the reason when the bytes are not well-formed XML, their root
    // is not "playlist", or they use an entity from outside the list (which is never read).
    static QStringList ReadXspfBytes(QByteArrayView bytes);
};

} // namespace korvel

#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace korvel {

// XSPF lists: XML with the root "playlist" holding "trackList", whose "track" elements each
// give their clip by a "location" URI (the first one when there are several) and maybe a
// "title". Everything else, other players' "extension" and "meta" elements among it, is
// passed over.
class XspfFile {
public:
    // The location URIs of the tracks, in list order, as the list gives them (percent
    // escapes kept; ListLocation::fromUri makes them locations). Tracks without a location
    // are passed over. Raises a KorvelError with the reason when the bytes are not
    // well-formed XML or their root is not "playlist".
    static QStringList ReadXspfBytes(QByteArrayView bytes);
};

} // namespace korvel

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace korvel {

// An HTTP Live Streaming list: an M3U list whose "#EXT-X-" tags make it the description of
// one stream (its segments, or the variants of one programme), not a list of clips. Players
// play such a list as a whole, so it is one entry, played by the engine from the list itself.
class HlsList {
public:
    // Whether an M3U list's bytes carry a tag of the stream lists: a line that starts, after
    // its blanks, with "#EXT-X-".
    static bool isHls(QByteArrayView bytes);
    // Whether `path` is named as an M3U list is (".m3u" or ".m3u8", in any letter case).
    static bool hasListName(QStringView path);
    // Whether the local file `path` is a stream list: named as one and, in its first
    // `maxBytes` bytes, tagged as one. A file that cannot be read is none.
    static bool isHlsFile(const QString& path, qint64 maxBytes);
};

} // namespace korvel

#pragma once

#include <QString>

namespace korvel {

// The gate between what a user, a list entry or a second start names and what the media
// engine is given. Only plain media reaches the engine: readable local files and streams of
// the allowed network schemes. Engine-specific sources (filter graphs, edit lists, memory,
// file descriptors, discs, other programs' helpers) would let a dropped name run filters or
// touch the system, so they are refused.
class MediaLocation {
public:
    // What the engine is to open for `location`:
    // - a local path (absolute, or relative to the current folder) or a file URL of this
    //   machine: the absolute path of an existing, readable regular file. An absolute path
    //   can never be mistaken for an engine prefix ("av:x", "a:b.mp4", "-x" stay files);
    // - a URL of http, https, rtsp, rtmp, mms, mmsh, udp, rtp or ftp (scheme in any letter
    //   case): the URL, its scheme in lower case.
    // Anything else raises KorvelError with a text for the error box.
    static QString engineTarget(const QString& location);

    // True when `target` (a result of engineTarget) is a network stream.
    static bool isStream(const QString& target);
};

} // namespace korvel

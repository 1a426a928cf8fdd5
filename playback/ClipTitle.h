#pragma once

#include <QString>

namespace korvel {

class MediaControl;

// What the user sees as a clip's title: its own title tag, or, for a clip without one, the
// name of its file (the last part of a stream's address), as every player shows it.
class ClipTitle {
public:
    static QString of(const MediaControl& control);
    static QString fileNameOf(const QString& location);
};

} // namespace korvel

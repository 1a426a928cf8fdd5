#pragma once

#include <QPainterPath>
#include <QPointF>

namespace korvel::skinart {

// The vector icons of the skins, each about nine pixels tall.
enum class Glyph {
    None,
    Play,
    Pause,
    Stop,
    Next,
    Prev,
    FastForward,
    Rewind,
    Playlist,
    Minimize,
    Close,
    Hide,
    SkipBack,
    SkipForward,
    FullScreen,
    Speaker,
    SpeakerMuted,
    PictureSize,
    ArrowUp,
    ArrowDown,
    Logo,
};

// The icon as one fillable outline (strokes already widened), centred on `centre`.
QPainterPath glyphPath(Glyph glyph, QPointF centre);

// Horizontal room the icon takes, for laying it out beside a label.
qreal glyphWidth(Glyph glyph);

} // namespace korvel::skinart

#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace korvel {

// Where a window goes when it is placed at a remembered place: there, to the pixel, when the
// user can reach it there; otherwise onto the nearest screen. A window is reachable when one
// screen shows enough of the part the user takes it by (a borderless window's whole face, or
// a framed window's caption bar): places remembered on a screen that is gone, or on a larger
// one, would otherwise leave it where nobody can move it back. A window brought back lies
// wholly in the part of the screen the desktop's panels leave free, where it fits there: at
// a screen's very edge a task bar would cover the caption it is taken by.
class ReachablePlace {
public:
    // A screen in the desktop's coordinates: the whole of it, against which a remembered
    // place is judged, and the part its panels leave free, where a window is brought back.
    struct Screen {
        // A screen without panels is free everywhere.
        Screen(QRect area) : whole(area), available(area) {}
        Screen(QRect area, QRect freePart) : whole(area), available(freePart) {}
        QRect whole;
        QRect available;
    };

    // A borderless window of `size`: all of its face must show on one screen.
    static ReachablePlace face(QSize size);
    // A framed window with a client area of `client`, taken by its caption bar: a piece of
    // the bar wide and tall enough to grab must show on one screen.
    static ReachablePlace caption(QSize client);

    // The outer top-left corner for a window remembered at `stored`, among `screens`.
    // Without screens the place is kept.
    QPoint placeFor(QPoint stored, const QList<Screen>& screens) const;

    // The caption bar the check assumes: the window system tells a frame's size only once the
    // window is on the screen, after it has been placed.
    static constexpr int CaptionHeight = 20;
    static constexpr QSize CaptionGrip{64, 8};
    // What a frame adds to a client area, as far as a window brought back makes room for it:
    // the caption bars and edges of the common window managers are within it.
    static constexpr QSize FrameAllowance{8, 40};

private:
    ReachablePlace(QRect part, QSize grip, QSize outer)
        : m_part(part), m_grip(grip), m_outer(outer) {}

    bool reachableOn(const QRect& part, const QRect& screen) const;

    // The part relative to the window's outer top-left corner, how much of it must show, and
    // the window's outer size with its frame.
    QRect m_part;
    QSize m_grip;
    QSize m_outer;
};

} // namespace korvel

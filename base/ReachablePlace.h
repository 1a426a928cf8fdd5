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
// one, would otherwise leave it where nobody can move it back.
class ReachablePlace {
public:
    // A borderless window of `size`: all of its face must show on one screen.
    static ReachablePlace face(QSize size);
    // A framed window `width` wide, taken by its caption bar: a piece of the bar wide and
    // tall enough to grab must show on one screen.
    static ReachablePlace caption(int width);

    // The outer top-left corner for a window remembered at `stored`, among `screens` (their
    // rectangles in the desktop's coordinates). Without screens the place is kept.
    QPoint placeFor(QPoint stored, const QList<QRect>& screens) const;

    // The caption bar the check assumes: the window system tells a frame's size only once the
    // window is on the screen, after it has been placed.
    static constexpr int CaptionHeight = 20;
    static constexpr QSize CaptionGrip{64, 8};

private:
    ReachablePlace(QRect part, QSize grip) : m_part(part), m_grip(grip) {}

    bool reachableOn(const QRect& part, const QRect& screen) const;

    // The part relative to the window's outer top-left corner, and how much of it must show.
    QRect m_part;
    QSize m_grip;
};

} // namespace korvel

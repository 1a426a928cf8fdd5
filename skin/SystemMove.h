#pragma once

#include <Qt>

class QWindow;

namespace korvel {

// The window manager's own move of a window, as a press on a skin face starts it.
class SystemMove {
public:
    // Ends the move the window manager was asked to begin for `window`, where the button was
    // already up when it got the request: it would otherwise take the move on with no button
    // held, the window following the pointer until the next click, which it swallows. Does
    // nothing where the window system has no such request (it then sees the release itself).
    static void cancel(const QWindow* window);
    // Whether `button` is down as the window system sees it now, not as the events read so far
    // say: a press and its release sent together (a touchpad's tap) are both there before the
    // press is handled, and a move asked for then would start with the button up.
    static bool buttonDown(Qt::MouseButton button);
};

} // namespace korvel

#pragma once

class QWindow;

namespace korvel {

// The state a window asks the window manager for each time it is mapped. The toolkit asks
// for "minimized" from the moment a window is minimized and forgets to take that back when
// the window manager restores the window (a task-bar entry, a window list): the window would
// come back minimized the next time it is hidden and shown.
class StartStateHint {
public:
    // From now on `window` is mapped normal. Does nothing where the window system keeps no
    // such hint.
    static void setNormal(const QWindow* window);
};

} // namespace korvel

#pragma once

namespace korvel {

// Which program the window manager has made active, as the window manager itself publishes it
// (the root window's _NET_ACTIVE_WINDOW). The toolkit learns of a lost focus only some
// hundred milliseconds later, too late for a decision taken as the window manager acts.
class ActiveProgram {
public:
    // True when the active window is another program's. False when it is one of ours, when no
    // window is active, and where the window system publishes nothing of the kind (offscreen,
    // Wayland).
    static bool isOther();
};

} // namespace korvel

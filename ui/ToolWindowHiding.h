#pragma once

namespace korvel {

// Whether the running window manager takes a program's tool windows off the screen by itself.
// KWin does, by default, while another program (or none) is active, and shows them again once
// the program is active; it reports them minimized meanwhile. It never lets the user minimize
// such a window while the program's main window shows, so every minimize of one is its own.
class ToolWindowHiding {
public:
    // Asked of the window manager each time: it can be replaced while the program runs. False
    // where there is no X window manager to ask (offscreen, Wayland).
    static bool byWindowManager();
};

} // namespace korvel

#pragma once

#include <QList>

#include <cstdint>
#include <optional>

struct xcb_connection_t;

class QWidget;

namespace korvel {

// What an X window manager says of a window: the states it lists on it (_NET_WM_STATE). The
// toolkit takes a request for a state for the fact; a window manager may refuse it, and only
// its own word tells.
class WindowManagerState {
public:
    // The states (atoms) listed on `window` of `connection`; none when it lists none.
    static QList<std::uint32_t> statesOf(xcb_connection_t* connection, std::uint32_t window);
    // Whether the window manager lists `window` as full screen; nullopt where no X window
    // manager can say: another platform, a window not yet made, or no window manager.
    static std::optional<bool> fullScreen(const QWidget* window);
};

} // namespace korvel

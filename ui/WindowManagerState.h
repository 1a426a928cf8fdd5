#pragma once

#include <QList>

#include <cstdint>
#include <initializer_list>
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
    // Whether the window manager keeps `window` as an icon (ICCCM's iconic state) rather than
    // on the screen; nullopt where no X window manager can say, as for fullScreen.
    static std::optional<bool> iconified(const QWidget* window);
    // Asks for `states` (their atoms' names) on `window`, or for their end when `on` is
    // false: listed on the window itself while no window manager has taken it on (`mapped`
    // false: before it is mapped), else as a request to the window manager, which owns the
    // window's states from then on. Nothing of the toolkit's own window changes, so it is never
    // made anew. False where there is no X window manager's state to ask for (another
    // platform, a window not yet made).
    static bool ask(QWidget* window, std::initializer_list<const char*> states, bool on,
                    bool mapped);
};

} // namespace korvel

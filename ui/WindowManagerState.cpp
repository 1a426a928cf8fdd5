#include "ui/WindowManagerState.h"

#include "ui/XcbReply.h"

#include <QGuiApplication>
#include <QWidget>

namespace korvel {

namespace {

// The window manager's own window, which it names on the root window while it runs.
bool windowManagerRuns(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t check = xcbAtomNamed(connection, "_NET_SUPPORTING_WM_CHECK");
    const auto cookie = xcb_get_property(connection, 0, screen->root, check, XCB_ATOM_WINDOW, 0, 1);
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    return reply && reply->format == 32 && reply->value_len == 1;
}

} // namespace

QList<std::uint32_t> WindowManagerState::statesOf(xcb_connection_t* connection,
                                                  std::uint32_t window) {
    const xcb_atom_t state = xcbAtomNamed(connection, "_NET_WM_STATE");
    const auto cookie = xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024);
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    QList<xcb_atom_t> states;
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM) return states;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    states = QList<xcb_atom_t>(values, values + reply->value_len);
    return states;
}

std::optional<bool> WindowManagerState::fullScreen(const QWidget* window) {
    // Other platforms (offscreen) may answer for X11 without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != u"xcb" || !window->internalWinId() ||
        !windowManagerRuns(connection))
        return std::nullopt;
    const auto id = xcb_window_t(window->internalWinId());
    return statesOf(connection, id).contains(xcbAtomNamed(connection, "_NET_WM_STATE_FULLSCREEN"));
}

std::optional<bool> WindowManagerState::iconified(const QWidget* window) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != u"xcb" || !window->windowHandle() ||
        !window->windowHandle()->handle() || !windowManagerRuns(connection))
        return std::nullopt;
    // The window manager's own record of the window, which it keeps as it changes the state.
    const xcb_atom_t wmState = xcbAtomNamed(connection, "WM_STATE");
    const auto cookie = xcb_get_property(
        connection, 0, xcb_window_t(window->windowHandle()->winId()), wmState, wmState, 0, 1);
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    constexpr std::uint32_t IconicState = 3;
    return reply && reply->format == 32 && reply->value_len >= 1 &&
           *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())) == IconicState;
}

bool WindowManagerState::ask(QWidget* window, std::initializer_list<const char*> states, bool on,
                             bool mapped) {
    // Other platforms (offscreen) may answer for X11 without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != u"xcb" || !window->windowHandle())
        return false;
    // The toolkit's window as it is now: the widget keeps the first one's id when the toolkit
    // makes its window anew.
    const auto id = xcb_window_t(window->windowHandle()->winId());
    const xcb_atom_t state = xcbAtomNamed(connection, "_NET_WM_STATE");
    QList<xcb_atom_t> asked;
    for (const char* name : states) asked.append(xcbAtomNamed(connection, name));
    if (!mapped) {
        QList<xcb_atom_t> listed = statesOf(connection, id);
        for (const xcb_atom_t one : asked) {
            listed.removeAll(one);
            if (on) listed.append(one);
        }
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                            std::uint32_t(listed.size()), listed.constData());
        xcb_flush(connection);
        return true;
    }
    // One message changes two states at most.
    for (qsizetype first = 0; first < asked.size(); first += 2) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = state;
        message.data.data32[0] = on ? 1 : 0; // add or remove
        message.data.data32[1] = asked[first];
        message.data.data32[2] = first + 1 < asked.size() ? asked[first + 1] : 0;
        message.data.data32[3] = 1; // asked by the program itself
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_send_event(connection, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    }
    xcb_flush(connection);
    return true;
}

} // namespace korvel

#include "skin/SystemMove.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace korvel {

namespace {

// The window-manager protocol's value for "end the move or resize now".
constexpr std::uint32_t MoveResizeCancel = 11;

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// The X server's connection where the windows are X windows; none on other platforms (the
// offscreen one may speak to an X server of its own, for OpenGL only).
xcb_connection_t* xcbConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

bool SystemMove::buttonDown(Qt::MouseButton button) {
    const bool seen = QGuiApplication::mouseButtons().testFlag(button);
    xcb_connection_t* connection = xcbConnection();
    const xcb_screen_t* screen =
        connection ? xcb_setup_roots_iterator(xcb_get_setup(connection)).data : nullptr;
    if (!seen || !screen) return seen;
    const auto cookie = xcb_query_pointer(connection, screen->root);
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection, cookie, nullptr);
    if (!reply) return seen;
    // The core protocol's masks of buttons 1 to 3 (left, middle, right).
    std::uint16_t mask = 0;
    if (button == Qt::LeftButton) mask = XCB_BUTTON_MASK_1;
    if (button == Qt::MiddleButton) mask = XCB_BUTTON_MASK_2;
    if (button == Qt::RightButton) mask = XCB_BUTTON_MASK_3;
    const bool down = mask == 0 || (reply->mask & mask) != 0;
    std::free(reply);
    return down;
}

void SystemMove::cancel(const QWindow* window) {
    xcb_connection_t* connection = xcbConnection();
    if (!window || !connection) return;
    const xcb_atom_t moveResize = atomNamed(connection, "_NET_WM_MOVERESIZE");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (moveResize == XCB_ATOM_NONE || !screen) return;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window->winId());
    message.type = moveResize;
    message.data.data32[2] = MoveResizeCancel;
    message.data.data32[4] = 1; // a normal application asks
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace korvel

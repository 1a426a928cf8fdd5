#include "ui/ToolWindowHiding.h"

#include <QByteArray>
#include <QGuiApplication>

#include "ui/XcbReply.h"

namespace korvel {

namespace {

using PropertyReply = XcbReply<xcb_get_property_reply_t>;

PropertyReply property(xcb_connection_t* connection, xcb_window_t window, const char* name,
                       xcb_atom_t type) {
    return PropertyReply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, xcbAtomNamed(connection, name), type, 0, 64),
        nullptr));
}

// The name the window manager gives itself on the window that proves it runs (EWMH).
QByteArray windowManagerName(xcb_connection_t* connection) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const PropertyReply check =
        property(connection, root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    if (!check || check->format != 32 || check->value_len != 1) return {};
    const auto manager = *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));
    const PropertyReply name =
        property(connection, manager, "_NET_WM_NAME", xcbAtomNamed(connection, "UTF8_STRING"));
    if (!name || name->format != 8) return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(name.get())),
                      xcb_get_property_value_length(name.get()));
}

} // namespace

bool ToolWindowHiding::byWindowManager() {
    // Other platforms (offscreen) may answer for X11 with a connection of their own.
    if (QGuiApplication::platformName() != u"xcb") return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    return connection && windowManagerName(connection) == "KWin";
}

} // namespace korvel

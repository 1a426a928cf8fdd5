#include "ui/ActiveProgram.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace korvel {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

xcb_window_t activeWindow(xcb_connection_t* connection) {
    constexpr const char* Name = "_NET_ACTIVE_WINDOW";
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(Name)), Name),
        nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) return XCB_WINDOW_NONE;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::unique_ptr<xcb_get_property_reply_t, FreeReply> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!reply || reply->format != 32 || reply->value_len != 1) return XCB_WINDOW_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

} // namespace

bool ActiveProgram::isOther() {
    // Other platforms (offscreen) may answer for X11 with a connection of their own.
    if (QGuiApplication::platformName() != u"xcb") return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    const xcb_window_t active = activeWindow(connection);
    if (active == XCB_WINDOW_NONE) return false;
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle() && xcb_window_t(window->winId()) == active) return false;
    }
    return true;
}

} // namespace korvel

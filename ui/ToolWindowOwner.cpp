#include "ui/ToolWindowOwner.h"

#include "ui/XcbReply.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

namespace korvel {

namespace {

xcb_connection_t* listOwnerConnection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && QGuiApplication::platformName() == u"xcb" ? x11->connection() : nullptr;
}

// The window system's window as it is now (the widget keeps the first one's id).
xcb_window_t currentWindowOf(const QWidget* window) {
    return window->windowHandle() && window->windowHandle()->handle()
               ? xcb_window_t(window->windowHandle()->winId())
               : xcb_window_t(XCB_WINDOW_NONE);
}

std::uint32_t transientOwnerOf(xcb_connection_t* connection, xcb_window_t window) {
    const auto cookie =
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1);
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->value_len != 1) return XCB_WINDOW_NONE;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

void setTransientOwner(xcb_connection_t* connection, xcb_window_t window, std::uint32_t owner) {
    if (owner == XCB_WINDOW_NONE) {
        xcb_delete_property(connection, window, XCB_ATOM_WM_TRANSIENT_FOR);
    } else {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_TRANSIENT_FOR,
                            XCB_ATOM_WINDOW, 32, 1, &owner);
    }
    xcb_flush(connection);
}

} // namespace

ToolWindowOwner::ToolWindowOwner(QWidget* picture, QWidget* tool, QWidget* owner, QObject* parent)
    : QObject(parent), m_picture(picture), m_tool(tool), m_owner(owner) {
    picture->installEventFilter(this);
}

bool ToolWindowOwner::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picture && event->type() == QEvent::WindowStateChange)
        follow(m_picture->isFullScreen());
    return false;
}

void ToolWindowOwner::follow(bool fullScreen) {
    xcb_connection_t* connection = listOwnerConnection();
    if (!connection || !m_tool || fullScreen == m_before.has_value()) return;
    const xcb_window_t tool = currentWindowOf(m_tool);
    if (tool == XCB_WINDOW_NONE) return;
    if (fullScreen) {
        const xcb_window_t owner =
            m_owner ? currentWindowOf(m_owner) : xcb_window_t(XCB_WINDOW_NONE);
        if (owner == XCB_WINDOW_NONE) return;
        m_before = transientOwnerOf(connection, tool);
        setTransientOwner(connection, tool, owner);
        return;
    }
    setTransientOwner(connection, tool, *std::exchange(m_before, std::nullopt));
}

} // namespace korvel

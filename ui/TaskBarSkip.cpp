#include "ui/TaskBarSkip.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QList>
#include <QThread>
#include <QWidget>

#include "ui/WindowManagerState.h"
#include "ui/XcbReply.h"

namespace korvel {

TaskBarSkip::TaskBarSkip(QWidget* window) : QObject(window) { window->installEventFilter(this); }

void TaskBarSkip::keepOff(QWidget* window) {
    new TaskBarSkip(window);
    if (window->isVisible()) askFor(window, true);
}

// The show event comes before the window is mapped: a window manager reads the state it
// finds on the window as it takes it on, and the toolkit adds its own states to it.
bool TaskBarSkip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) askFor(static_cast<QWidget*>(watched), false);
    return false;
}

void TaskBarSkip::hideAndRelease(QWidget* window) {
    window->hide();
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != u"xcb" || !window->internalWinId())
        return;
    const auto id = xcb_window_t(window->internalWinId());
    const xcb_atom_t wmState = xcbAtomNamed(connection, "WM_STATE");
    // The window manager removes WM_STATE, or marks it withdrawn, once it has let go.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 500) {
        const auto cookie = xcb_get_property(connection, 0, id, wmState, wmState, 0, 1);
        const XcbReply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection, cookie, nullptr));
        if (!reply || reply->value_len == 0 ||
            *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())) == 0)
            return;
        QThread::msleep(5);
    }
}

// On the window itself for a window manager yet to take it on; as a request to the window
// manager for one it has already taken on, which owns the window's state from then on.
void TaskBarSkip::askFor(QWidget* window, bool mapped) {
    // Other platforms (offscreen) may answer for X11 without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != u"xcb" || !window->windowHandle()) return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t state = xcbAtomNamed(connection, "_NET_WM_STATE");
    const xcb_atom_t skips[] = {xcbAtomNamed(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                xcbAtomNamed(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (!mapped) {
        QList<xcb_atom_t> states = WindowManagerState::statesOf(connection, id);
        for (const xcb_atom_t skip : skips) {
            if (!states.contains(skip)) states.append(skip);
        }
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                            std::uint32_t(states.size()), states.constData());
        xcb_flush(connection);
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = state;
    message.data.data32[0] = 1; // add
    message.data.data32[1] = skips[0];
    message.data.data32[2] = skips[1];
    message.data.data32[3] = 1; // asked by the program itself
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace korvel

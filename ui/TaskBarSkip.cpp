#include "ui/TaskBarSkip.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
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

void TaskBarSkip::askFor(QWidget* window, bool mapped) {
    WindowManagerState::ask(window, {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"},
                            true, mapped);
}

} // namespace korvel

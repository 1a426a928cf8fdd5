#include "ui/FreeToolWindow.h"

#include "ui/ToolWindowHiding.h"
#include "ui/XcbReply.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace korvel {

FreeToolWindow::FreeToolWindow(QWidget* window) : QObject(window) {
    window->installEventFilter(this);
}

void FreeToolWindow::keepFree(QWidget* window) {
    new FreeToolWindow(window);
    if (window->isVisible()) release(window);
}

// The show event comes before the toolkit writes the window's owner and maps it: the owner is
// taken away once that is done.
bool FreeToolWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show) return false;
    QPointer<QWidget> window = static_cast<QWidget*>(watched);
    QTimer::singleShot(0, this, [window] {
        if (window) release(window);
    });
    return false;
}

void FreeToolWindow::release(QWidget* window) {
    // Other platforms (offscreen) may answer for X11 without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    const QWindow* shown = window->windowHandle();
    if (!connection || QGuiApplication::platformName() != u"xcb" || !shown || !shown->handle() ||
        shown->type() != Qt::Tool || !ToolWindowHiding::byWindowManager())
        return;
    xcb_delete_property(connection, xcb_window_t(shown->winId()), XCB_ATOM_WM_TRANSIENT_FOR);
    xcb_flush(connection);
}

} // namespace korvel

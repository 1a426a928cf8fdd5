#include "ui/WindowGroup.h"

#include "ui/StartStateHint.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

namespace korvel {

void WindowGroup::add(QWidget* window) {
    m_windows.append(window);
    window->installEventFilter(this);
}

void WindowGroup::minimizeAll() {
    for (const QPointer<QWidget>& window : std::as_const(m_windows)) {
        if (!window || !window->isVisible()) continue;
        if (!isMinimizedMember(window)) m_minimized.append(window);
        if (!window->isMinimized()) window->showMinimized();
    }
}

// The window manager reports state changes later than they were asked for: a window that
// went off the screen with the others is told apart by its membership, not by a flag.
bool WindowGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::WindowStateChange) return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window) return false;
    const auto previous = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const bool minimized = window->windowState() & Qt::WindowMinimized;
    if (minimized == bool(previous & Qt::WindowMinimized)) return false;
    if (minimized) {
        if (!isMinimizedMember(window) && !isHiddenByWindowManager(window)) {
            m_minimized.append(window);
            minimizeAll();
        }
        return false;
    }
    // Restored by the window manager, not by the group: the hint that made it minimized
    // would minimize it again when it is next hidden and shown.
    StartStateHint::setNormal(window->windowHandle());
    if (isMinimizedMember(window)) restoreAll();
    return false;
}

void WindowGroup::restoreAll() {
    const QList<QPointer<QWidget>> windows = std::exchange(m_minimized, {});
    for (const QPointer<QWidget>& window : windows) {
        if (window && window->isMinimized()) window->showNormal();
    }
}

// Which program is active does not tell it: the window manager hides the tool windows also
// while none is (when the playback window is made anew), and the toolkit's focus lags behind.
bool WindowGroup::isHiddenByWindowManager(const QWidget* window) const {
    return window->windowType() == Qt::Tool && m_toolsHiddenByWindowManager();
}

bool WindowGroup::isMinimizedMember(const QWidget* window) const {
    for (const QPointer<QWidget>& member : m_minimized) {
        if (member == window) return true;
    }
    return false;
}

} // namespace korvel

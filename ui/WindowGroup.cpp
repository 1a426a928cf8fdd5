#include "ui/WindowGroup.h"

#include "ui/StartStateHint.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

namespace korvel {

namespace {

// How often the window manager's record is read after a minimize, and how long it is given:
// a window manager answers the requests of one minimize in the order they came, so once one
// window has gone, a short while settles the others.
constexpr int CheckInterval = 25;
constexpr int SettleAfterFirst = 150;
constexpr int GiveUpAfter = 1500;

} // namespace

WindowGroup::WindowGroup(std::function<bool()> toolsHiddenByWindowManager, Iconified iconified,
                         QObject* parent)
    : QObject(parent), m_toolsHiddenByWindowManager(std::move(toolsHiddenByWindowManager)),
      m_iconified(std::move(iconified)) {
    m_check.setInterval(CheckInterval);
    connect(&m_check, &QTimer::timeout, this, &WindowGroup::checkIconified);
}

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
    m_asked.start();
    m_firstIconified.reset();
    m_check.start();
    checkIconified();
}

// A window still on the screen once the others have gone to their icons is hidden. When none
// goes, none is hidden: nothing would be left to bring the group back.
void WindowGroup::checkIconified() {
    QList<QWidget*> refused;
    bool someIconified = false;
    for (const QPointer<QWidget>& window : std::as_const(m_minimized)) {
        if (!window || !window->isVisible()) continue;
        if (m_iconified(window).value_or(true)) {
            someIconified = true;
        } else {
            refused.append(window);
        }
    }
    if (someIconified && !m_firstIconified) m_firstIconified = m_asked.elapsed();
    const bool settled =
        m_firstIconified && m_asked.elapsed() - *m_firstIconified >= SettleAfterFirst;
    if (!refused.isEmpty() && !settled && m_asked.elapsed() < GiveUpAfter) return;
    m_check.stop();
    if (!someIconified) return;
    // The toolkit maps a window as it leaves the minimized state, and a window manager takes
    // a window mapped so without the states asked for at its showing: the state goes while the
    // window is still on the screen, where taking it away changes nothing.
    m_hiding = true;
    for (QWidget* window : refused) {
        m_hidden.append(window);
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->hide();
    }
    m_hiding = false;
}

// The window manager reports state changes later than they were asked for: a window that
// went off the screen with the others is told apart by its membership, not by a flag.
bool WindowGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::WindowStateChange || m_hiding) return false;
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

// Each window comes back as it left: from its icon, or shown again where it was hidden.
void WindowGroup::restoreAll() {
    m_check.stop();
    const QList<QPointer<QWidget>> windows = std::exchange(m_minimized, {});
    const QList<QPointer<QWidget>> hidden = std::exchange(m_hidden, {});
    for (const QPointer<QWidget>& window : windows) {
        if (!window) continue;
        if (hidden.contains(window)) {
            window->show();
        } else if (window->isMinimized()) {
            window->showNormal();
        }
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

#include "engine/picture/PictureControls.h"

#include "ui/TaskBarSkip.h"
#include "ui/WindowManagerState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace korvel {

namespace {

// How long a window manager has to grant full screen before it counts as refused.
constexpr int RefusalWait = 500;

bool isEscape(QEvent* event) { return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape; }

} // namespace

PictureControls::PictureControls(QWidget* picture, QObject* owner)
    : QObject(owner), m_picture(picture) {
    picture->setFocusPolicy(Qt::StrongFocus);
    // One filter for the picture and, while full screen, every other widget: a filter on
    // the picture as well would see the picture's events twice.
    qApp->installEventFilter(this);
}

PictureControls::~PictureControls() {
    if (qApp) qApp->removeEventFilter(this);
}

// Qt takes a request for full screen for the fact; the window manager's word, where one can
// give it, and the window's size tell what the window manager made of it. A window that
// refused full screen may still be as large as the screen (xfwm4 leaves it so), and then it
// is an ordinary window that sizing goes on to follow. (Its place may be reported late; a
// full-screen window is at the screen's corner.)
bool PictureControls::isFullScreen() const {
    if (!m_picture) return false;
    const QWidget* window = m_picture->window();
    const QScreen* screen = window->screen();
    return window->isVisible() && window->isFullScreen() && screen &&
           window->width() >= screen->size().width() &&
           window->height() >= screen->size().height() &&
           WindowManagerState::fullScreen(window).value_or(true);
}

void PictureControls::enterFullScreen() {
    if (!m_picture || isFullScreen()) return;
    QWidget* window = m_picture->window();
    if (!m_entered) {
        m_entered = true;
        m_wasMaximized = window->isMaximized();
    }
    // The window system's window changes its type in place: no new window, so the picture's
    // drawing context and the window's place survive.
    window->winId();
    setSystemType(window->windowHandle(), Qt::Window);
    window->showFullScreen();
    window->activateWindow();
    m_picture->setFocus(Qt::OtherFocusReason);
    // Some window managers (xfwm4) judge a window's type only as they take it on, and never
    // grant full screen to a tool window: refused, the window leaves the screen and comes
    // back as the ordinary window it now is.
    QTimer::singleShot(RefusalWait, this, [this] {
        if (!m_entered || !m_picture || isFullScreen()) return;
        QWidget* refused = m_picture->window();
        TaskBarSkip::hideAndRelease(refused);
        refused->showFullScreen();
        refused->activateWindow();
        m_picture->setFocus(Qt::OtherFocusReason);
    });
}

// The window manager restores the place and size it had before; a place set here as well
// would race with it. The type changes in place: a window manager that judges a window's
// type only as it takes it on keeps treating it as an ordinary one, but the states that keep
// it off the task bar stay, and a window shown again would race with the window manager
// over them.
void PictureControls::leaveFullScreen() {
    if (!m_picture) return;
    QWidget* window = m_picture->window();
    const bool entered = std::exchange(m_entered, false);
    if (!entered && !window->isFullScreen()) return;
    if (entered && m_wasMaximized) {
        window->showMaximized();
    } else {
        window->showNormal();
    }
    // Sent after the request to end full screen, so the window manager ends it first.
    setSystemType(window->windowHandle(), window->windowType());
    if (onLeave) onLeave();
}

// Every other flag (stays on top, say) is kept.
void PictureControls::setSystemType(QWindow* window, Qt::WindowFlags type) {
    if (window) window->setFlags((window->flags() & ~Qt::WindowType_Mask) | type);
}

bool PictureControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picture) return pictureEvent(event);
    return m_entered && applicationEvent(watched, event);
}

bool PictureControls::pictureEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (m_forwarding && onClick && mouse->button() == Qt::LeftButton)
            onClick(static_cast<int>(mouse->modifiers()), at.x(), at.y());
        return false;
    }
    case QEvent::MouseButtonDblClick: leaveFullScreen(); return false;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) leaveFullScreen();
        if (m_forwarding && onKey) onKey(static_cast<int>(key->modifiers()), key->key());
        return false;
    }
    default: return false;
    }
}

// While full screen: Esc on any other widget ends it, and goes no further (it would
// otherwise also act there, closing a list or a box). The shortcut check before a key press
// is answered too, so no Esc shortcut elsewhere takes the key first.
bool PictureControls::applicationEvent(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) return false;
    if (event->type() == QEvent::ShortcutOverride && isEscape(event)) {
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress || !isEscape(event)) return false;
    leaveFullScreen();
    return true;
}

} // namespace korvel

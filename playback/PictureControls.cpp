#include "playback/PictureControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <utility>

namespace korvel {

namespace {

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

// Qt takes a request for full screen for the fact; the window's size tells what the window
// manager made of it. (Its place may be reported late; a full-screen window is at the
// screen's corner.)
bool PictureControls::isFullScreen() const {
    if (!m_picture) return false;
    const QWidget* window = m_picture->window();
    const QScreen* screen = window->screen();
    return window->isVisible() && window->isFullScreen() && screen &&
           window->width() >= screen->size().width() && window->height() >= screen->size().height();
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
}

// The window manager restores the place and size it had before; a place set here as well
// would race with it.
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

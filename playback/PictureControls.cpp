#include "playback/PictureControls.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace korvel {

PictureControls::PictureControls(QWidget* picture, QObject* owner)
    : QObject(owner), m_picture(picture) {
    picture->setFocusPolicy(Qt::StrongFocus);
    picture->installEventFilter(this);
}

bool PictureControls::isFullScreen() const {
    return m_picture && m_picture->window()->isFullScreen();
}

void PictureControls::enterFullScreen() {
    if (!m_picture || isFullScreen()) return;
    QWidget* window = m_picture->window();
    m_wasMaximized = window->isMaximized();
    m_normalGeometry = window->geometry();
    window->showFullScreen();
    m_picture->setFocus(Qt::OtherFocusReason);
}

void PictureControls::leaveFullScreen() {
    if (!isFullScreen()) return;
    QWidget* window = m_picture->window();
    if (m_wasMaximized) {
        window->showMaximized();
        return;
    }
    window->showNormal();
    if (m_normalGeometry.isValid()) window->setGeometry(m_normalGeometry);
}

bool PictureControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_picture) return false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (m_forwarding && onClick && mouse->button() == Qt::LeftButton)
            onClick(static_cast<int>(mouse->modifiers()), at.x(), at.y());
        return false;
    }
    case QEvent::MouseButtonDblClick:
        leaveFullScreen();
        return false;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) leaveFullScreen();
        if (m_forwarding && onKey) onKey(static_cast<int>(key->modifiers()), key->key());
        return false;
    }
    default:
        return false;
    }
}

} // namespace korvel

#include "engine/picture/WindowPictureView.h"

#include "engine/picture/WindowRenderer.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPlatformSurfaceEvent>
#include <QVBoxLayout>
#include <QWindow>

#include <utility>

namespace korvel {

WindowPictureView::WindowPictureView(QSurface::SurfaceType surface,
                                     std::unique_ptr<WindowRenderer> renderer, QWidget* parent)
    : QWidget(parent), m_window(new QWindow), m_renderer(std::move(renderer)) {
    m_window->setSurfaceType(surface);
    if (surface == QSurface::OpenGLSurface) m_window->setFormat(QSurfaceFormat::defaultFormat());
    m_window->setFlags(m_window->flags() | Qt::WindowTransparentForInput);
    m_window->installEventFilter(this);
    QWidget* container = QWidget::createWindowContainer(m_window, this);
    container->setFocusPolicy(Qt::NoFocus);
    // The window covers the view: nothing of the widgets behind it is painted, so their
    // window's backing store, as large as the picture, is never written to and costs no memory.
    setAttribute(Qt::WA_OpaquePaintEvent);
    container->setAttribute(Qt::WA_OpaquePaintEvent);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    if (m_renderer && !m_renderer->isValid()) m_renderer.reset();
}

// The drawing thread stops before its window goes.
WindowPictureView::~WindowPictureView() {
    m_window->removeEventFilter(this);
    detach();
}

void WindowPictureView::detach() { m_renderer.reset(); }

void WindowPictureView::clear() {
    if (m_renderer) m_renderer->clear();
}

bool WindowPictureView::drawsWithOpenGl() const {
    return m_window->surfaceType() == QSurface::OpenGLSurface;
}

void WindowPictureView::redraw() {
    if (m_renderer) m_renderer->redraw();
}

// Frames are drawn at the window's size in device pixels while it is exposed, and while it is
// on its way to the screen: a clip's first frame may come before the window system has shown
// the window, and the engine's clock starts once that frame is drawn. Let go instead, the
// frame would start the clock with the picture's setup (its shaders, without a graphics
// processor a tenth of a second) still to come, and the frames falling due meanwhile would
// be dropped. Once exposed and then no longer (minimised), frames are let go again.
void WindowPictureView::updateTarget() {
    if (!m_renderer) return;
    const QSize size = (QSizeF(m_window->size()) * m_window->devicePixelRatio()).toSize();
    const bool exposed = m_window->isExposed();
    m_wasExposed = m_wasExposed || exposed;
    m_renderer->setTarget(size, exposed || (m_window->isVisible() && !m_wasExposed), exposed);
}

bool WindowPictureView::event(QEvent* event) {
    if (event->type() == QEvent::Show) watchTopLevel();
    return QWidget::event(event);
}

void WindowPictureView::watchTopLevel() {
    QWindow* topLevel = window()->windowHandle();
    if (topLevel == m_topLevel) return;
    if (m_topLevel) m_topLevel->removeEventFilter(this);
    m_topLevel = topLevel;
    m_topLevelId = topLevel && topLevel->handle() ? topLevel->winId() : 0;
    if (topLevel) topLevel->installEventFilter(this);
}

// The toolkit makes a top-level window anew as it shows it again after some changes (its
// stays-on-top flag); the X server destroys the view's window with the old one, while the
// toolkit goes on holding it. It is made anew in the new one, and the drawing follows it.
void WindowPictureView::followTopLevel() {
    const WId id = m_topLevel->handle() ? m_topLevel->winId() : 0;
    if (id == m_topLevelId) return;
    const bool remake = m_topLevelId != 0 && id != 0 && m_window->handle();
    m_topLevelId = id;
    if (!remake) return;
    const bool shown = m_window->isVisible();
    m_window->destroy();
    m_window->create();
    if (shown) m_window->show();
}

// The window system's window comes and goes with the widget's (a move to another window
// makes it anew on some platforms): the drawing thread lets go of it before it goes.
bool WindowPictureView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_topLevel && watched != m_window) {
        if (event->type() == QEvent::Expose || event->type() == QEvent::Show) followTopLevel();
        return false;
    }
    if (watched != m_window) return false;
    switch (event->type()) {
    case QEvent::PlatformSurface:
        if (m_renderer) {
            const bool made = static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                              QPlatformSurfaceEvent::SurfaceCreated;
            m_renderer->setWindow(made ? m_window : nullptr);
        }
        // A new window of the window system is on its way to the screen again.
        m_wasExposed = false;
        return false;
    case QEvent::Expose:
        updateTarget();
        // What the window showed may be gone (parts of it newly uncovered, or made larger).
        if (m_renderer && m_window->isExposed()) m_renderer->repaint();
        return false;
    case QEvent::Show:
    case QEvent::Resize: updateTarget(); return false;
    default: return passInput(event);
    }
}

// The pointer at the same place in the widget that holds the view, the keys as they are.
bool WindowPictureView::passInput(QEvent* event) {
    QWidget* holder = parentWidget() ? parentWidget() : this;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = QPointF(mapTo(holder, QPoint(0, 0))) + mouse->position();
        QMouseEvent passed(mouse->type(), at, mouse->globalPosition(), mouse->button(),
                           mouse->buttons(), mouse->modifiers(), mouse->pointingDevice());
        QCoreApplication::sendEvent(holder, &passed);
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: QCoreApplication::sendEvent(holder, event); return true;
    default: return false;
    }
}

} // namespace korvel

#include "engine/GlPictureView.h"

#include "engine/GlFrameRenderer.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <mpv/client.h>

namespace korvel {

GlPictureView::GlPictureView(mpv_handle* mpv, QWidget* parent)
    : QOpenGLWidget(parent), m_mpv(mpv) {}

GlPictureView::~GlPictureView() {
    // The base class destroys the context later, when this part is gone.
    if (QOpenGLContext* gl = context()) disconnect(gl, nullptr, this, nullptr);
    contextGone();
    m_mpv = nullptr;
}

void GlPictureView::detach() {
    freeRenderContext();
    m_mpv = nullptr;
}

int GlPictureView::framesDrawn() const { return m_renderer ? m_renderer->framesDrawn() : 0; }

void GlPictureView::initializeGL() {
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlPictureView::contextGone,
            Qt::DirectConnection);
    m_blitter = std::make_unique<QOpenGLTextureBlitter>();
    m_blitter->create();
    if (!m_mpv) return;
    const bool replaced = m_ready;
    m_renderer =
        std::make_unique<GlFrameRenderer>(m_mpv, context(), [this] { m_frameShown.request(); });
    const bool created = m_renderer->isValid();
    if (!created) m_renderer.reset();
    updateTarget();
    if (replaced) {
        // The engine gave up the video track with the old context: take it up again.
        bool number = false;
        m_track.toInt(&number);
        if (created && number) mpv_set_property_string(m_mpv, "vid", m_track.constData());
        return;
    }
    m_ready = true;
    if (onReady) onReady();
}

// The track is read while the render context still stands: freeing it ends the engine's
// video output.
void GlPictureView::freeRenderContext() {
    if (!m_renderer) return;
    char* track = m_mpv ? mpv_get_property_string(m_mpv, "vid") : nullptr;
    m_track = track ? QByteArray(track) : QByteArray("no");
    mpv_free(track);
    m_renderer.reset();
}

// The frames live in the share group of the context that goes: they go first.
void GlPictureView::contextGone() {
    freeRenderContext();
    if (!m_blitter) return;
    makeCurrent();
    m_blitter.reset();
    doneCurrent();
}

void GlPictureView::clear() {
    if (m_renderer) m_renderer->clear();
    update();
}

void GlPictureView::redraw() {
    if (m_renderer) m_renderer->redraw();
}

// Frames are drawn at the view's size in device pixels, and only while it is shown.
void GlPictureView::updateTarget() {
    if (!m_renderer) return;
    m_renderer->setTarget((QSizeF(size()) * devicePixelRatioF()).toSize(), isVisible());
}

void GlPictureView::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
    updateTarget();
}

void GlPictureView::showEvent(QShowEvent* event) {
    QOpenGLWidget::showEvent(event);
    updateTarget();
}

void GlPictureView::hideEvent(QHideEvent* event) {
    QOpenGLWidget::hideEvent(event);
    updateTarget();
}

// The frame is read to the end before the drawing thread may draw into its texture again.
void GlPictureView::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (!m_renderer || !m_blitter || !m_blitter->isCreated()) return;
    const QRect viewport(QPoint(0, 0), (QSizeF(size()) * devicePixelRatioF()).toSize());
    m_renderer->withFrame([&](GLuint texture, const QSize&) {
        if (texture == 0) return;
        m_blitter->bind();
        m_blitter->blit(texture, QOpenGLTextureBlitter::targetTransform(viewport, viewport),
                        QOpenGLTextureBlitter::OriginBottomLeft);
        m_blitter->release();
        gl->glFinish();
    });
}

} // namespace korvel

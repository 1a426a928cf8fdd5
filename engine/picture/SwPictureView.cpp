#include "engine/picture/SwPictureView.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "engine/EngineFailure.h"
#include "engine/picture/SwFrameRenderer.h"

#include <QPaintEvent>
#include <QPainter>

#include <mpv/client.h>
#include <mpv/render.h>

namespace korvel {

SwPictureView::SwPictureView(mpv_handle* mpv, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    const int status = mpv_render_context_create(&m_render, mpv, params);
    if (status < 0) {
        m_render = nullptr;
        throw KorvelError(FixedTexts::CannotShowPicture.arg(EngineFailure::text(status)));
    }
    m_renderer =
        std::make_unique<SwFrameRenderer>(mpv, m_render, [this] { m_frameShown.request(); });
    mpv_render_context_set_update_callback(m_render, &SwPictureView::requestUpdate, this);
}

SwPictureView::~SwPictureView() { detach(); }

// The drawing thread stops before the context goes; clearing the callback waits for one
// that is running, and none comes after.
void SwPictureView::detach() {
    if (!m_render) return;
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    m_renderer.reset();
    mpv_render_context_free(m_render);
    m_render = nullptr;
    update();
}

void SwPictureView::clear() {
    if (m_renderer) m_renderer->clear();
    update();
}

void SwPictureView::redraw() {
    if (m_renderer) m_renderer->redraw();
}

// Runs on an engine thread.
void SwPictureView::requestUpdate(void* context) {
    static_cast<SwPictureView*>(context)->m_renderer->frameDue();
}

// Frames are drawn at the view's size in device pixels, and only while it is shown.
void SwPictureView::updateTarget() {
    if (!m_renderer) return;
    m_renderer->setTarget((QSizeF(size()) * devicePixelRatioF()).toSize(), isVisible());
}

void SwPictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    bool shown = false;
    if (m_renderer) {
        m_renderer->withFrame([&](const QImage& image, const QSize& frameSize) {
            if (image.isNull() || frameSize.isEmpty()) return;
            painter.drawImage(QRectF(rect()), image, QRectF(QPointF(0, 0), QSizeF(frameSize)));
            shown = true;
        });
    }
    if (!shown) painter.fillRect(event->rect(), Qt::black);
}

// The engine draws the current frame again at the new size.
void SwPictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateTarget();
}

void SwPictureView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateTarget();
}

void SwPictureView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateTarget();
}

} // namespace korvel

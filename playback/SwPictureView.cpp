#include "playback/SwPictureView.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QPaintEvent>
#include <QPainter>

#include <mpv/client.h>
#include <mpv/render.h>

namespace korvel {

namespace {

// The engine's "rgb0" has the same bytes as Format_RGBX8888. Rows padded to 16 pixels give
// the 64-byte stride the engine's fast paths want.
constexpr int RowAlignment = 16;

} // namespace

SwPictureView::SwPictureView(mpv_handle* mpv, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    const int status = mpv_render_context_create(&m_render, mpv, params);
    if (status < 0) {
        m_render = nullptr;
        throw KorvelError(
            FixedTexts::CannotShowPicture.arg(QString::fromUtf8(mpv_error_string(status))));
    }
    mpv_render_context_set_update_callback(m_render, &SwPictureView::requestUpdate, this);
}

SwPictureView::~SwPictureView() { detach(); }

void SwPictureView::detach() {
    if (!m_render) return;
    // Clearing the callback waits for one that is running; none comes after.
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    mpv_render_context_free(m_render);
    m_render = nullptr;
    update();
}

// Runs on an engine thread: only hand the work to the GUI thread, once per burst.
void SwPictureView::requestUpdate(void* context) {
    static_cast<SwPictureView*>(context)->m_frameWakeup.request();
}

void SwPictureView::takeFrame() {
    if (!m_render) return;
    if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) draw();
}

bool SwPictureView::prepareImage(const QSize& size) {
    if (size.isEmpty()) return false;
    const int padded = (size.width() + RowAlignment - 1) / RowAlignment * RowAlignment;
    if (m_image.width() != padded || m_image.height() != size.height()) {
        m_image = QImage(padded, size.height(), QImage::Format_RGBX8888);
        m_image.fill(Qt::black);
    }
    m_frameSize = size;
    return true;
}

// Renders the current frame at the widget's size in device pixels; a hidden or empty view
// only lets the frame go.
void SwPictureView::draw() {
    const QSize size = (QSizeF(this->size()) * devicePixelRatioF()).toSize();
    if (!isVisible() || !prepareImage(size)) {
        int skip = 1;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_render(m_render, params);
        return;
    }
    int frameSize[2] = {size.width(), size.height()};
    char format[] = "rgb0";
    size_t stride = static_cast<size_t>(m_image.bytesPerLine());
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, frameSize},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, m_image.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(m_render, params) >= 0) ++m_framesDrawn;
    update();
}

void SwPictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (m_render && !m_image.isNull() && !m_frameSize.isEmpty()) {
        painter.drawImage(QRectF(rect()), m_image, QRectF(QPointF(0, 0), QSizeF(m_frameSize)));
    } else {
        painter.fillRect(event->rect(), Qt::black);
    }
}

// The engine redraws the last frame at the new size.
void SwPictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_render) draw();
}

// Frames that came while hidden were let go: draw the current one.
void SwPictureView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_render) draw();
}

} // namespace korvel

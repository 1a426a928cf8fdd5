#include "engine/picture/SwFrameRenderer.h"

#include "engine/picture/SoftwareFrame.h"

#include <utility>

namespace korvel {

namespace {

// The engine's "bgr0" (SoftwareFrame) in an image.
constexpr QImage::Format ImageFormat = QImage::Format_RGB32;

} // namespace

SwFrameRenderer::SwFrameRenderer(mpv_handle* mpv, mpv_render_context* render,
                                 std::function<void()> frameReady)
    : m_render(render), m_frameReady(std::move(frameReady)), m_frames(mpv),
      m_thread([this] { run(); }) {}

SwFrameRenderer::~SwFrameRenderer() {
    m_exchange.stop();
    m_thread.join();
}

void SwFrameRenderer::withFrame(
    const std::function<void(const QImage& image, const QSize& size)>& show) {
    m_exchange.withFront(show);
}

void SwFrameRenderer::run() {
    m_exchange.serve(m_render, [this](const Work& work) { draw(work); });
}

void SwFrameRenderer::draw(const Work& work) {
    prepareImage(work.size);
    if (!m_frames.render(m_render, work.size, static_cast<int>(m_back.bytesPerLine()),
                         m_back.bits(), work.frameDue) ||
        !m_exchange.finish(work, m_back))
        return;
    m_frameReady();
}

void SwFrameRenderer::prepareImage(const QSize& size) {
    const int padded = SoftwareFrame::stride(size.width()) / 4;
    if (m_back.width() == padded && m_back.height() == size.height()) return;
    m_back = QImage(padded, size.height(), ImageFormat);
    m_back.fill(Qt::black);
}

} // namespace korvel

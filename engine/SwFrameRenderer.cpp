#include "engine/SwFrameRenderer.h"

#include <mpv/render.h>

#include <utility>

namespace korvel {

namespace {

// The engine's "bgr0" has the bytes of Format_RGB32 on little-endian machines, the backing
// store's own format: showing a frame is a plain copy. Rows padded to 16 pixels give the
// 64-byte stride the engine's fast paths want.
constexpr char FrameFormat[] = "bgr0";
constexpr QImage::Format ImageFormat = QImage::Format_RGB32;
constexpr int RowAlignment = 16;

} // namespace

SwFrameRenderer::SwFrameRenderer(mpv_render_context* render, std::function<void()> frameReady)
    : m_render(render), m_frameReady(std::move(frameReady)), m_thread([this] { run(); }) {}

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
    int frameSize[2] = {work.size.width(), work.size.height()};
    char format[sizeof FrameFormat];
    std::copy(std::begin(FrameFormat), std::end(FrameFormat), format);
    size_t stride = static_cast<size_t>(m_back.bytesPerLine());
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, frameSize},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, m_back.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(m_render, params) < 0 || !m_exchange.finish(work, m_back)) return;
    ++m_framesDrawn;
    m_frameReady();
}

void SwFrameRenderer::prepareImage(const QSize& size) {
    const int padded = (size.width() + RowAlignment - 1) / RowAlignment * RowAlignment;
    if (m_back.width() == padded && m_back.height() == size.height()) return;
    m_back = QImage(padded, size.height(), ImageFormat);
    m_back.fill(Qt::black);
}

} // namespace korvel

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
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SwFrameRenderer::frameDue() {
    {
        const std::lock_guard lock(m_mutex);
        m_frameDue = true;
    }
    m_wake.notify_one();
}

void SwFrameRenderer::setTarget(const QSize& size, bool shown) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_size == size && m_shown == shown) return;
        m_size = size;
        m_shown = shown;
        m_redraw = true;
    }
    m_wake.notify_one();
}

void SwFrameRenderer::withFrame(
    const std::function<void(const QImage& image, const QSize& size)>& show) {
    const std::lock_guard lock(m_mutex);
    show(m_front, m_frontSize);
}

void SwFrameRenderer::clear() {
    const std::lock_guard lock(m_mutex);
    m_frontSize = QSize();
    ++m_clears;
}

void SwFrameRenderer::run() {
    Work work;
    while (takeWork(work)) {
        const bool newFrame =
            work.frameDue && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME);
        if (!newFrame && !work.redraw) continue;
        if (!work.shown || work.size.isEmpty()) {
            if (newFrame) letGo();
            continue;
        }
        draw(work);
    }
}

// Waits for something to do; false when the renderer stops.
bool SwFrameRenderer::takeWork(Work& work) {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || m_frameDue || m_redraw; });
    if (m_stop) return false;
    work.frameDue = std::exchange(m_frameDue, false);
    work.redraw = std::exchange(m_redraw, false);
    work.size = m_size;
    work.shown = m_shown;
    work.clears = m_clears;
    return true;
}

// Frames that come while nobody sees them are taken and let go, so playback never waits
// for a picture.
void SwFrameRenderer::letGo() {
    int skip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_render, params);
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
    if (mpv_render_context_render(m_render, params) < 0) return;
    {
        const std::lock_guard lock(m_mutex);
        if (work.clears != m_clears) return;
        std::swap(m_front, m_back);
        m_frontSize = work.size;
    }
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

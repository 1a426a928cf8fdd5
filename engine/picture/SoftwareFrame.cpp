#include "engine/picture/SoftwareFrame.h"

#include "engine/EngineLog.h"

#include <mpv/client.h>
#include <mpv/render.h>

#include <cstddef>
#include <string_view>
#include <thread>

namespace korvel {

SoftwareFrame::SoftwareFrame(mpv_handle* mpv)
    : m_mpv(mpv), m_threads(std::thread::hardware_concurrency()) {}

int SoftwareFrame::stride(int width) {
    constexpr int RowAlignment = 16;
    return (width + RowAlignment - 1) / RowAlignment * RowAlignment * 4;
}

bool SoftwareFrame::render(mpv_render_context* render, QSize size, int stride, void* bits,
                           bool newFrame) {
    int frameSize[2] = {size.width(), size.height()};
    char format[] = "bgr0";
    auto rowBytes = static_cast<std::size_t>(stride);
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, frameSize},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &rowBytes},
                                 {MPV_RENDER_PARAM_SW_POINTER, bits},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    const auto began = std::chrono::steady_clock::now();
    const bool drawn = mpv_render_context_render(render, params) >= 0;
    if (drawn && newFrame) timed(size, began);
    return drawn;
}

// The engine takes a new count with its next frame. It is asked without waiting for its
// answer: the engine may be waiting for this very thread's frame. An engine built without
// that converter refuses, and converts as it always does.
void SoftwareFrame::timed(QSize size, std::chrono::steady_clock::time_point began) {
    const auto took = std::chrono::steady_clock::now() - began;
    const auto since = m_lastBegan == decltype(began){} ? took.zero() : began - m_lastBegan;
    m_lastBegan = began;
    const char* threads = m_threads.converted(size, took, since);
    if (!threads) return;
    char* value = const_cast<char*>(threads);
    mpv_set_property_async(m_mpv, 0, "zimg-threads", MPV_FORMAT_STRING, &value);
    qCInfo(EngineLog::category(), "software frames converted on %s",
           std::string_view(threads) == "1" ? "one thread" : "the engine's count of threads");
}

} // namespace korvel

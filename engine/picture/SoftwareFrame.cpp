#include "engine/picture/SoftwareFrame.h"

#include <mpv/render.h>

#include <cstddef>

namespace korvel {

int SoftwareFrame::stride(int width) {
    constexpr int RowAlignment = 16;
    return (width + RowAlignment - 1) / RowAlignment * RowAlignment * 4;
}

bool SoftwareFrame::render(mpv_render_context* render, QSize size, int stride, void* bits) {
    int frameSize[2] = {size.width(), size.height()};
    char format[] = "bgr0";
    auto rowBytes = static_cast<std::size_t>(stride);
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, frameSize},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &rowBytes},
                                 {MPV_RENDER_PARAM_SW_POINTER, bits},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(render, params) >= 0;
}

} // namespace korvel

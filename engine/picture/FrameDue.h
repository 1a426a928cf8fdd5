#pragma once

#include <chrono>
#include <cstdint>

#include <mpv/render.h>

namespace korvel {

// When a frame the engine hands over is to reach the screen. The engine gives a new frame up
// to a lead ahead of its time; the renderer draws it at once and shows it when due, so that
// its drawing overlaps the wait.
class FrameDue {
public:
    // How long to wait from `now` (the engine's clock, in microseconds) before showing the
    // frame `next` tells of: until its time for a new frame, at most `longest`; nothing for a
    // redraw, a frame already late, or where the engine names no time.
    static std::chrono::microseconds wait(const mpv_render_frame_info& next, std::int64_t now,
                                          std::chrono::microseconds longest);
};

} // namespace korvel

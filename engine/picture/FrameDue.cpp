#include "engine/picture/FrameDue.h"

#include <algorithm>

namespace korvel {

// A redraw (a resize, a paused frame shown again) is shown at once, as the engine's own
// timing would. A time further off than any lead (a clock the engine reset) is not waited
// for beyond it: the frame would only show late.
std::chrono::microseconds FrameDue::wait(const mpv_render_frame_info& next, std::int64_t now,
                                         std::chrono::microseconds longest) {
    const bool timed = (next.flags & MPV_RENDER_FRAME_INFO_PRESENT) != 0 &&
                       (next.flags & MPV_RENDER_FRAME_INFO_REDRAW) == 0 && next.target_time > 0;
    if (!timed || next.target_time <= now) return std::chrono::microseconds(0);
    return std::min(std::chrono::microseconds(next.target_time - now), longest);
}

} // namespace korvel

#include "engine/picture/FrameDue.h"

#include <gtest/gtest.h>

using namespace korvel;
using std::chrono::microseconds;

// A frame shown before its time runs ahead of the sound; one held past it (or held for a
// redraw) shows late. Times are the engine's clock in microseconds; the lead is 50 ms.
TEST(FrameDue, ANewFrameWaitsForItsTimeAndNothingElseWaits) {
    constexpr std::uint64_t present = MPV_RENDER_FRAME_INFO_PRESENT;
    constexpr std::uint64_t redraw = present | MPV_RENDER_FRAME_INFO_REDRAW;
    const struct {
        const char* what;
        std::uint64_t flags;
        std::int64_t target;
        std::int64_t now;
        long long wait;
    } rows[] = {
        {"a new frame due in 20 ms", present, 1'020'000, 1'000'000, 20'000},
        {"a new frame due now", present, 1'000'000, 1'000'000, 0},
        {"a new frame already late", present, 990'000, 1'000'000, 0},
        {"a redraw, timed or not", redraw, 1'020'000, 1'000'000, 0},
        {"no frame told of", 0, 1'020'000, 1'000'000, 0},
        {"a frame the engine names no time for", present, 0, 1'000'000, 0},
        {"a time further off than the lead", present, 6'000'000, 1'000'000, 50'000},
    };
    for (const auto& row : rows) {
        const mpv_render_frame_info next{row.flags, row.target};
        EXPECT_EQ(FrameDue::wait(next, row.now, microseconds(50'000)).count(), row.wait)
            << row.what;
    }
}

#pragma once

#include "engine/picture/ConversionThreads.h"

#include <QSize>

#include <chrono>

struct mpv_handle;
struct mpv_render_context;

namespace korvel {

// Frames the engine draws on the processor into memory of ours, in "bgr0": the bytes of
// QImage::Format_RGB32 and of the X server's 24-bit true colour on little-endian machines, so
// showing one is a plain copy either way. Lives on the drawing thread.
class SoftwareFrame {
public:
    // For the engine `mpv`, whose conversion threads it sets as ConversionThreads decides.
    explicit SoftwareFrame(mpv_handle* mpv);

    // The bytes a row of `width` pixels takes: rows padded to 16 pixels give the 64-byte
    // stride the engine's fast paths want.
    static int stride(int width);
    // Draws the engine's current frame at `size` into `bits`, `stride` bytes a row; false when
    // the engine could not. `newFrame`: the engine handed over a frame for it (a redraw of
    // the same one tells nothing of the clip's pace).
    bool render(mpv_render_context* render, QSize size, int stride, void* bits, bool newFrame);

private:
    void timed(QSize size, std::chrono::steady_clock::time_point began);

    mpv_handle* m_mpv;
    ConversionThreads m_threads;
    std::chrono::steady_clock::time_point m_lastBegan{};
};

} // namespace korvel

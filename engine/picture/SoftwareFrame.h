#pragma once

#include <QSize>

struct mpv_render_context;

namespace korvel {

// A frame the engine draws on the processor into memory of ours, in "bgr0": the bytes of
// QImage::Format_RGB32 and of the X server's 24-bit true colour on little-endian machines, so
// showing it is a plain copy either way.
class SoftwareFrame {
public:
    // The bytes a row of `width` pixels takes: rows padded to 16 pixels give the 64-byte
    // stride the engine's fast paths want.
    static int stride(int width);
    // Draws the engine's current frame at `size` into `bits`, `stride` bytes a row; false when
    // the engine could not.
    static bool render(mpv_render_context* render, QSize size, int stride, void* bits);
};

} // namespace korvel

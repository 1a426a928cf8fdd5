#pragma once

#include "engine/picture/FrameExchange.h"
#include "engine/picture/SoftwareFrame.h"

#include <QImage>
#include <QSize>

#include <atomic>
#include <functional>
#include <thread>

struct mpv_handle;
struct mpv_render_context;

namespace korvel {

// Draws the engine's frames into images on a thread of its own. The engine's video output
// waits for its frames to be drawn; drawn on the GUI thread, every engine call the GUI thread
// makes meanwhile (loading a clip, reading a property) stalls until the engine gives up
// waiting, a fifth of a second at a time. Here the drawing thread calls nothing but the
// render functions, and the GUI thread only shows finished frames.
class SwFrameRenderer {
public:
    // Starts drawing for `render`, made on `mpv`; `frameReady` is called on the drawing thread
    // after each frame that is ready to be shown. Both must outlive the renderer.
    SwFrameRenderer(mpv_handle* mpv, mpv_render_context* render, std::function<void()> frameReady);
    ~SwFrameRenderer(); // stops the drawing thread; no call comes after

    SwFrameRenderer(const SwFrameRenderer&) = delete;
    SwFrameRenderer& operator=(const SwFrameRenderer&) = delete;

    // The engine has a new frame (from the engine's update callback; any thread).
    void frameDue() { m_exchange.frameDue(); }
    // Frames are drawn at `size` in device pixels while shown, and let go otherwise; a
    // change draws the current frame again.
    void setTarget(const QSize& size, bool shown) { m_exchange.setTarget(size, shown); }
    // Calls `show` with the last finished frame and its size, which stay unchanged meanwhile.
    void withFrame(const std::function<void(const QImage& image, const QSize& size)>& show);
    // Forgets the last frame, and the one being drawn now: nothing is shown until the next.
    void clear() { m_exchange.clear(); }
    void redraw() { m_exchange.redraw(); }

private:
    using Work = FrameExchange<QImage>::Work;

    void run();
    void draw(const Work& work);
    void prepareImage(const QSize& size);

    mpv_render_context* m_render;
    std::function<void()> m_frameReady;

    FrameExchange<QImage> m_exchange;
    QImage m_back;          // the drawing thread's own
    SoftwareFrame m_frames; // the drawing thread's own
    std::thread m_thread;
};

} // namespace korvel

#pragma once

#include "engine/FrameExchange.h"

#include <QSize>
#include <QtGui/qopengl.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <thread>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
struct mpv_handle;
struct mpv_render_context;

namespace korvel {

// Draws the engine's frames with OpenGL on a thread of its own, into textures that the view's
// context shares. The engine's video output waits for each frame to be drawn; drawn on the
// GUI thread, every engine call the GUI thread makes meanwhile (loading a clip, reading a
// property, pausing) waits until the engine gives up waiting, a fifth of a second at a time.
// Here the drawing thread calls nothing but the render functions, and the view only shows
// finished frames.
class GlFrameRenderer {
public:
    // Makes the engine's render context on `mpv` in a new context shared with `share` (the
    // view's), current on the drawing thread; `frameReady` is called on the drawing thread
    // after each frame that is ready to be shown. Made and destroyed on the GUI thread;
    // `mpv` and `share` must outlive the renderer.
    GlFrameRenderer(mpv_handle* mpv, QOpenGLContext* share, std::function<void()> frameReady);
    ~GlFrameRenderer(); // frees the render context and stops the drawing thread

    GlFrameRenderer(const GlFrameRenderer&) = delete;
    GlFrameRenderer& operator=(const GlFrameRenderer&) = delete;

    // Whether the render context was made; without it the clip plays with no picture, and
    // why was logged.
    bool isValid() const { return m_valid; }
    // Frames are drawn at `size` in device pixels while shown, and let go otherwise; a
    // change draws the current frame again.
    void setTarget(const QSize& size, bool shown) { m_exchange.setTarget(size, shown); }
    // Calls `show` with the texture of the last finished frame (0 when there is none) and
    // its size; the texture is not drawn into until `show` returns, so it must have finished
    // reading it by then (glFinish).
    void withFrame(const std::function<void(GLuint texture, const QSize& size)>& show);
    // Forgets the last frame, and the one being drawn now: nothing is shown until the next.
    void clear() { m_exchange.clear(); }
    void redraw() { m_exchange.redraw(); }
    int framesDrawn() const { return m_framesDrawn.load(); }

private:
    using Frame = std::unique_ptr<QOpenGLFramebufferObject>;
    using Work = FrameExchange<Frame>::Work;

    static void requestUpdate(void* renderer);
    void frameDue() { m_exchange.frameDue(); }
    void run(mpv_handle* mpv, QOpenGLContext* share, std::promise<bool>& started);
    bool setUp(mpv_handle* mpv, QOpenGLContext& context);
    void draw(const Work& work);

    std::function<void()> m_frameReady;
    std::unique_ptr<QOffscreenSurface> m_surface;
    mpv_render_context* m_render = nullptr;
    bool m_valid = false;

    FrameExchange<Frame> m_exchange;
    Frame m_back; // the drawing thread's own
    std::atomic_int m_framesDrawn{0};
    std::thread m_thread;
};

} // namespace korvel

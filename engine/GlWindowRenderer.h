#pragma once

#include "engine/FrameExchange.h"

#include <QSize>

#include <future>
#include <memory>
#include <mutex>
#include <thread>

class QOffscreenSurface;
class QOpenGLContext;
class QWindow;
struct mpv_handle;
struct mpv_render_context;

namespace korvel {

// Draws the engine's frames with OpenGL on a thread of its own, straight into a window of
// the window system: the engine scales and converts each frame once, into the window's own
// back buffer, and the swap shows it, as the engine's own video output does. Nothing is
// copied through the toolkit, which matters where the driver is a software rasteriser and
// every pass over a frame is processor time.
//
// The engine's video output waits for each frame to be drawn; drawn on the GUI thread, every
// engine call the GUI thread makes meanwhile (loading a clip, reading a property, pausing)
// would wait until the engine gives up waiting. Here the drawing thread calls nothing but the
// render functions.
class GlWindowRenderer {
public:
    // Makes the engine's render context on `mpv`, in a context of the default format current
    // on the drawing thread. Made and destroyed on the GUI thread; `mpv` must outlive the
    // renderer.
    explicit GlWindowRenderer(mpv_handle* mpv);
    ~GlWindowRenderer(); // frees the render context and stops the drawing thread

    GlWindowRenderer(const GlWindowRenderer&) = delete;
    GlWindowRenderer& operator=(const GlWindowRenderer&) = delete;

    // Whether the render context was made; without it the clip plays with no picture, and
    // why was logged.
    bool isValid() const { return m_valid; }
    // The window drawn into while it has a surface of the window system, or none. Once this
    // returns, the drawing thread no longer uses the window it had: the window may lose its
    // surface. GUI thread only.
    void setWindow(QWindow* window);
    // Frames are drawn at `size` in device pixels while shown, and let go otherwise; a
    // change draws again what the window shows, black or the frame.
    void setTarget(const QSize& size, bool shown) { m_exchange.setTarget(size, shown); }
    // A new clip starts: the window shows black until the engine's next frame or a redraw.
    void clear() { m_exchange.blank(); }
    // Draws the engine's current frame again.
    void redraw() { m_exchange.redraw(); }
    // Draws what the window shows again, black or the frame, when the window system lost it.
    void repaint() { m_exchange.repaint(); }

private:
    using Work = FrameExchange<int>::Work;

    static void requestUpdate(void* renderer);
    void frameDue() { m_exchange.frameDue(); }
    void run(mpv_handle* mpv, std::promise<bool>& started);
    bool setUp(mpv_handle* mpv, QOpenGLContext& context);
    void draw(QOpenGLContext& context, const Work& work);

    std::unique_ptr<QOffscreenSurface> m_surface; // current when no window is
    mpv_render_context* m_render = nullptr;
    bool m_valid = false;

    FrameExchange<int> m_exchange; // its frames are unused: the window holds the frame
    std::mutex m_windowMutex;      // held while the drawing thread draws into m_window
    QWindow* m_window = nullptr;
    std::thread m_thread;
};

} // namespace korvel

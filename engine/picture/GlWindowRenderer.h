#pragma once

#include "engine/picture/WindowRenderer.h"
#include "ui/DisplayLoss.h"

#include <QMutex>
#include <QSize>

#include <future>
#include <memory>
#include <optional>
#include <thread>

class QOffscreenSurface;
class QOpenGLContext;
class QWindow;
struct mpv_handle;
struct mpv_render_context;

namespace korvel {

// Draws the engine's frames with OpenGL straight into a window: the engine scales and
// converts each frame once, into the window's own back buffer, and the swap shows it, as the
// engine's own video output does. That matters where the driver is a software rasteriser and
// every pass over a frame is processor time.
class GlWindowRenderer : public WindowRenderer {
public:
    // Makes the engine's render context on `mpv`, in a context of the default format current
    // on the drawing thread. `mpv` must outlive the renderer.
    explicit GlWindowRenderer(mpv_handle* mpv);
    ~GlWindowRenderer() override; // frees the render context and stops the drawing thread

    GlWindowRenderer(const GlWindowRenderer&) = delete;
    GlWindowRenderer& operator=(const GlWindowRenderer&) = delete;

    bool isValid() const override { return m_valid; }
    void setWindow(QWindow* window) override;

private:
    using Work = FrameExchange<int>::Work;

    static void requestUpdate(void* renderer);
    void frameDue() { m_exchange.frameDue(); }
    void run(mpv_handle* mpv, std::promise<bool>& started);
    bool setUp(mpv_handle* mpv, QOpenGLContext& context);
    void settle(QOpenGLContext& context);
    bool onWindow(QOpenGLContext& context);
    void draw(QOpenGLContext& context, const Work& work);
    bool drawFrame(QOpenGLContext& context, const Work& work);
    void drop(QOpenGLContext& context, const Work& work);
    void letGo();
    // Waits for `ready`, ending the process should the display go meanwhile: the drawing
    // thread may then never come back from the dead connection.
    template <typename Ready>
    static void waitUnlessLost(Ready ready);

    mpv_handle* m_mpv;                            // for the engine's clock
    std::unique_ptr<QOffscreenSurface> m_surface; // current when no window is
    void* m_x11Display = nullptr;                 // the toolkit's, read on the GUI thread
    mpv_render_context* m_render = nullptr;
    bool m_valid = false;

    // Held while the drawing thread draws into m_window. A QMutex: its timed wait is one the
    // race detector follows, where std::timed_mutex's (on the steady clock) is not.
    QMutex m_windowMutex;
    QWindow* m_window = nullptr;
    QWindow* m_current = nullptr;             // the window the context is current on, if any
    std::promise<void>* m_released = nullptr; // told once the drawing thread let go of it
    std::thread m_thread;
    std::future<void> m_ended; // ready once the drawing thread has let go of everything
    std::optional<DisplayLoss::DrawingThread> m_drawing;
    bool m_primed = false; // a frame was drawn: the picture's shaders are built (drawing thread)
};

} // namespace korvel

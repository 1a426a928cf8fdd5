#include "engine/picture/GlWindowRenderer.h"

#include "base/FixedTexts.h"
#include "engine/EngineFailure.h"
#include "engine/EngineOptions.h"
#include "engine/picture/FrameDue.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWindow>

#include <chrono>
#include <thread>
#include <utility>

#include <mpv/client.h>
#include <mpv/render_gl.h>

namespace korvel {

namespace {

Q_LOGGING_CATEGORY(lcPicture, "korvel.picture", QtWarningMsg)

void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

} // namespace

// The surface is made here: only the GUI thread may make one. The render context must exist
// before the engine opens a clip, so the constructor waits until the thread has it.
GlWindowRenderer::GlWindowRenderer(mpv_handle* mpv)
    : m_mpv(mpv), m_surface(std::make_unique<QOffscreenSurface>()) {
    m_surface->setFormat(QSurfaceFormat::defaultFormat());
    m_surface->create();
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        m_x11Display = x11->display();
    std::promise<bool> started;
    std::promise<void> ended;
    m_ended = ended.get_future();
    m_thread = std::thread([this, mpv, &started, ended = std::move(ended)]() mutable {
        run(mpv, started);
        ended.set_value();
    });
    m_valid = started.get_future().get();
    if (m_valid) m_drawing.emplace();
}

GlWindowRenderer::~GlWindowRenderer() {
    m_exchange.stop();
    waitUnlessLost([this] {
        return m_ended.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready;
    });
    m_thread.join();
}

template <typename Ready>
void GlWindowRenderer::waitUnlessLost(Ready ready) {
    while (!ready()) DisplayLoss::endIfLost();
}

// The context stays current on its window between frames: a window on its way out is let go
// by the drawing thread before the toolkit destroys it.
void GlWindowRenderer::setWindow(QWindow* window) {
    waitUnlessLost([this] { return m_windowMutex.tryLock(100); });
    m_window = window;
    std::promise<void> released;
    const bool held = m_current && m_current != window;
    if (held) m_released = &released;
    m_windowMutex.unlock();
    if (held) {
        m_exchange.repaint(); // wakes the drawing thread, shown or not
        const std::future<void> done = released.get_future();
        waitUnlessLost([&done] {
            return done.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready;
        });
    }
    // What the window showed, black included, is drawn into the new surface.
    if (window) m_exchange.repaint();
}

// Runs on an engine thread.
void GlWindowRenderer::requestUpdate(void* renderer) {
    static_cast<GlWindowRenderer*>(renderer)->frameDue();
}

// The context lives and dies on this thread, current on the window it draws into, or on the
// offscreen surface while there is none; the render context (with the engine's own objects in
// it) is freed in it last.
void GlWindowRenderer::run(mpv_handle* mpv, std::promise<bool>& started) {
    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    const bool made = setUp(mpv, context);
    started.set_value(made); // the constructor's promise: not to be touched after
    if (!made) return;
    m_exchange.serve(
        m_render, [&](const Work& work) { draw(context, work); },
        [&](const Work& work) { drop(context, work); }, [&] { settle(context); });
    context.makeCurrent(m_surface.get());
    // Clearing the callback waits for one that is running; none comes after.
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    mpv_render_context_free(m_render);
    context.doneCurrent();
}

bool GlWindowRenderer::setUp(mpv_handle* mpv, QOpenGLContext& context) {
    if (!context.create() || !context.makeCurrent(m_surface.get())) {
        qCWarning(lcPicture).noquote() << FixedTexts::NoGlContext.text();
        return false;
    }
    mpv_opengl_init_params init{&procAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    // A hardware decoder hands its frames over in the display's own buffers: the engine
    // needs the connection to the X server to take them without a copy.
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
                                 {MPV_RENDER_PARAM_INVALID, nullptr},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (m_x11Display) params[2] = {MPV_RENDER_PARAM_X11_DISPLAY, m_x11Display};
    const int status = mpv_render_context_create(&m_render, mpv, params);
    if (status < 0) {
        // The clip still plays, without a picture.
        qCWarning(lcPicture).noquote() << FixedTexts::NoGlPicture.arg(EngineFailure::text(status));
        m_render = nullptr;
        context.doneCurrent();
        return false;
    }
    mpv_render_context_set_update_callback(m_render, &GlWindowRenderer::requestUpdate, this);
    // The engine waits for a frame to be on screen (its swap told) only once it has been told
    // of one swap: told now, it waits for the first frame too, so a clip's clock starts once
    // that frame is shown. Drawing the first frame of all compiles the shaders (about 90 ms
    // without a graphics processor), and frames falling due meanwhile were dropped.
    mpv_render_context_report_swap(m_render);
    return true;
}

// The first frame of all, should it come while no window shows (a clip opened as the player
// starts, before its windows are up), is drawn where nobody sees it: that builds the picture's
// shaders, without a graphics processor a tenth of a second, while the engine waits for the
// frame as it does for any first frame. Let go, the engine's clock would start at once and the
// frames falling due while the first frame seen is drawn would be dropped. Any later frame
// nobody sees is let go.
void GlWindowRenderer::drop(QOpenGLContext& context, const Work& work) {
    // Drawn as into a window, where the context is now (a hidden window, or the surface of
    // none): the driver builds what it draws with for the kind of surface and the way up.
    // The window it may be current on is held, as for any frame.
    const QMutexLocker lock(&m_windowMutex);
    Work unseen = work;
    if (unseen.size.isEmpty()) unseen.size = QSize(320, 240);
    const bool heldWindow = !m_current || m_current == m_window;
    if (std::exchange(m_primed, true) || !heldWindow || !drawFrame(context, unseen)) {
        letGo();
        return;
    }
    mpv_render_context_report_swap(m_render);
}

// A frame nobody sees is taken and told done at once, so the engine never waits for its swap.
void GlWindowRenderer::letGo() {
    FrameExchange<int>::letGo(m_render);
    mpv_render_context_report_swap(m_render);
}

// Lets go of a window the GUI thread has taken away, before anything else is done: the
// engine sets up its textures and shaders outside drawing as well (when it is asked for
// updates), and the context must then be current on a surface that is still there. The GUI
// thread is told at the wake-up it asked for, whether or not a frame drawn in the meantime
// already moved the context to its new window.
void GlWindowRenderer::settle(QOpenGLContext& context) {
    const QMutexLocker lock(&m_windowMutex);
    if (m_current && m_current != m_window) {
        context.makeCurrent(m_surface.get());
        m_current = nullptr;
    }
    if (m_released) std::exchange(m_released, nullptr)->set_value();
}

// Making the context current on another surface costs a round trip to the X server and, with
// GLX, the shared memory its frames reach the server through: it stays on the window.
bool GlWindowRenderer::onWindow(QOpenGLContext& context) {
    if (m_current == m_window) return true;
    if (context.makeCurrent(m_window)) {
        m_current = m_window;
        return true;
    }
    context.makeCurrent(m_surface.get());
    m_current = nullptr;
    return false;
}

// The window is held for the whole frame: the GUI thread may take its surface away between
// frames. The engine draws upside down, as OpenGL keeps its windows.
void GlWindowRenderer::draw(QOpenGLContext& context, const Work& work) {
    // A frame on a dead connection may never come back.
    DisplayLoss::endIfLost();
    const QMutexLocker lock(&m_windowMutex);
    if (!m_window || !onWindow(context)) {
        if (work.frameDue) letGo();
        return;
    }
    if (work.blank) {
        QOpenGLFunctions* gl = context.functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        if (work.frameDue) letGo();
    } else if (!drawFrame(context, work)) {
        return;
    }
    // A window not yet on the screen keeps the frame until it gets there (then it is drawn
    // again, the setup done): the toolkit calls a swap before that undefined.
    if (work.onScreen) context.swapBuffers(m_window);
    if (!work.blank) mpv_render_context_report_swap(m_render);
}

// The engine draws the frame at once, the driver is sent on its way (glFlush), and the frame
// waits here for its time. Were it held inside the engine's render call, as by default, the
// driver would start on it only once due: without a graphics processor the frame would reach
// the screen a whole rasterisation late, about 14 ms at 1920x1080.
bool GlWindowRenderer::drawFrame(QOpenGLContext& context, const Work& work) {
    mpv_render_frame_info next{};
    mpv_render_context_get_info(m_render, {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &next});
    mpv_opengl_fbo target{static_cast<int>(context.defaultFramebufferObject()), work.size.width(),
                          work.size.height(), 0};
    int flip = 1;
    int block = 0;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(m_render, params) < 0) return false;
    m_primed = true;
    context.functions()->glFlush();
    const std::chrono::microseconds lead(static_cast<long long>(FrameLeadSeconds * 1e6));
    std::this_thread::sleep_for(FrameDue::wait(next, mpv_get_time_us(m_mpv), lead));
    return true;
}

} // namespace korvel

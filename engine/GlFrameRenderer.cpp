#include "engine/GlFrameRenderer.h"

#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <utility>

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
GlFrameRenderer::GlFrameRenderer(mpv_handle* mpv, QOpenGLContext* share,
                                 std::function<void()> frameReady)
    : m_frameReady(std::move(frameReady)), m_surface(std::make_unique<QOffscreenSurface>()) {
    m_surface->setFormat(share->format());
    m_surface->create();
    m_thread = std::thread([this, mpv, share] { run(mpv, share); });
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_started; });
}

GlFrameRenderer::~GlFrameRenderer() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

// Runs on an engine thread.
void GlFrameRenderer::requestUpdate(void* renderer) {
    static_cast<GlFrameRenderer*>(renderer)->frameDue();
}

void GlFrameRenderer::frameDue() {
    {
        const std::lock_guard lock(m_mutex);
        m_frameDue = true;
    }
    m_wake.notify_all();
}

void GlFrameRenderer::setTarget(const QSize& size, bool shown) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_size == size && m_shown == shown) return;
        m_size = size;
        m_shown = shown;
        m_redraw = true;
    }
    m_wake.notify_all();
}

void GlFrameRenderer::withFrame(
    const std::function<void(GLuint texture, const QSize& size)>& show) {
    const std::lock_guard lock(m_mutex);
    show(m_front && !m_frontSize.isEmpty() ? m_front->texture() : 0, m_frontSize);
}

void GlFrameRenderer::clear() {
    const std::lock_guard lock(m_mutex);
    m_frontSize = QSize();
    ++m_clears;
}

// The context lives and dies on this thread; what it made goes before it, the render context
// (with the engine's own objects in it) last.
void GlFrameRenderer::run(mpv_handle* mpv, QOpenGLContext* share) {
    QOpenGLContext context;
    context.setFormat(share->format());
    context.setShareContext(share);
    const bool made = setUp(mpv, context);
    startUp(made);
    if (!made) return;
    Work work;
    while (takeWork(work)) {
        const bool newFrame =
            work.frameDue && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME);
        if (!newFrame && !work.redraw) continue;
        if (!work.shown || work.size.isEmpty()) {
            if (newFrame) letGo();
            continue;
        }
        draw(work);
    }
    // Clearing the callback waits for one that is running; none comes after.
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    m_back.reset();
    {
        const std::lock_guard lock(m_mutex);
        m_front.reset();
    }
    mpv_render_context_free(m_render);
    context.doneCurrent();
}

bool GlFrameRenderer::setUp(mpv_handle* mpv, QOpenGLContext& context) {
    if (!context.create() || !context.makeCurrent(m_surface.get())) {
        qCWarning(lcPicture) << "no OpenGL picture: no OpenGL context for the drawing thread";
        return false;
    }
    mpv_opengl_init_params init{&procAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    const int status = mpv_render_context_create(&m_render, mpv, params);
    if (status < 0) {
        // The clip still plays, without a picture.
        qCWarning(lcPicture) << "no OpenGL picture:" << mpv_error_string(status);
        m_render = nullptr;
        context.doneCurrent();
        return false;
    }
    mpv_render_context_set_update_callback(m_render, &GlFrameRenderer::requestUpdate, this);
    return true;
}

void GlFrameRenderer::startUp(bool made) {
    {
        const std::lock_guard lock(m_mutex);
        m_valid = made;
        m_started = true;
    }
    m_wake.notify_all();
}

// Waits for something to do; false when the renderer stops.
bool GlFrameRenderer::takeWork(Work& work) {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || m_frameDue || m_redraw; });
    if (m_stop) return false;
    work.frameDue = std::exchange(m_frameDue, false);
    work.redraw = std::exchange(m_redraw, false);
    work.size = m_size;
    work.shown = m_shown;
    work.clears = m_clears;
    return true;
}

// Frames that come while nobody sees them are taken and let go, so playback never waits
// for a picture.
void GlFrameRenderer::letGo() {
    int skip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_render, params);
}

// The frame is drawn upside down, as OpenGL keeps its framebuffers, and whole before the
// view's context may read it.
void GlFrameRenderer::draw(const Work& work) {
    if (!m_back || m_back->size() != work.size)
        m_back = std::make_unique<QOpenGLFramebufferObject>(work.size);
    mpv_opengl_fbo target{static_cast<int>(m_back->handle()), work.size.width(), work.size.height(),
                          0};
    int flip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(m_render, params) < 0) return;
    QOpenGLContext::currentContext()->functions()->glFinish();
    {
        const std::lock_guard lock(m_mutex);
        if (work.clears != m_clears) return;
        std::swap(m_front, m_back);
        m_frontSize = work.size;
    }
    ++m_framesDrawn;
    m_frameReady();
}

} // namespace korvel

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
    std::promise<bool> started;
    m_thread = std::thread([this, mpv, share, &started] { run(mpv, share, started); });
    m_valid = started.get_future().get();
}

GlFrameRenderer::~GlFrameRenderer() {
    m_exchange.stop();
    m_thread.join();
}

// Runs on an engine thread.
void GlFrameRenderer::requestUpdate(void* renderer) {
    static_cast<GlFrameRenderer*>(renderer)->frameDue();
}

void GlFrameRenderer::withFrame(
    const std::function<void(GLuint texture, const QSize& size)>& show) {
    m_exchange.withFront([&show](const Frame& front, const QSize& size) {
        show(front && !size.isEmpty() ? front->texture() : 0, size);
    });
}

// The context lives and dies on this thread; what it made goes before it, the render context
// (with the engine's own objects in it) last.
void GlFrameRenderer::run(mpv_handle* mpv, QOpenGLContext* share, std::promise<bool>& started) {
    QOpenGLContext context;
    context.setFormat(share->format());
    context.setShareContext(share);
    const bool made = setUp(mpv, context);
    started.set_value(made); // the constructor's promise: not to be touched after
    if (!made) return;
    m_exchange.serve(m_render, [this](const Work& work) { draw(work); });
    // Clearing the callback waits for one that is running; none comes after.
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    m_back.reset();
    m_exchange.dropFront();
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
    if (!m_exchange.finish(work, m_back)) return;
    ++m_framesDrawn;
    m_frameReady();
}

} // namespace korvel

#include "engine/GlPictureView.h"

#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <mpv/client.h>
#include <mpv/render_gl.h>

namespace korvel {

namespace {
Q_LOGGING_CATEGORY(lcPicture, "korvel.picture", QtWarningMsg)
} // namespace

GlPictureView::GlPictureView(mpv_handle* mpv, QWidget* parent)
    : QOpenGLWidget(parent), m_mpv(mpv) {}

GlPictureView::~GlPictureView() {
    detach();
    // The base class destroys the context later, when this part is gone.
    if (QOpenGLContext* gl = context()) disconnect(gl, nullptr, this, nullptr);
}

void GlPictureView::detach() {
    freeRenderContext();
    m_mpv = nullptr;
}

void* GlPictureView::procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

void GlPictureView::requestUpdate(void* context) {
    static_cast<GlPictureView*>(context)->m_frameWakeup.request();
}

bool GlPictureView::createRenderContext() {
    mpv_opengl_init_params init{&GlPictureView::procAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    const int status = mpv_render_context_create(&m_render, m_mpv, params);
    if (status < 0) {
        // The clip still plays, without a picture.
        qCWarning(lcPicture) << "no OpenGL picture:" << mpv_error_string(status);
        m_render = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(m_render, &GlPictureView::requestUpdate, this);
    return true;
}

void GlPictureView::initializeGL() {
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlPictureView::freeRenderContext,
            Qt::DirectConnection);
    if (!m_mpv) return;
    const bool replaced = m_ready;
    const bool created = createRenderContext();
    if (replaced) {
        // The engine gave up the video track with the old context: take it up again.
        bool number = false;
        m_track.toInt(&number);
        if (created && number) mpv_set_property_string(m_mpv, "vid", m_track.constData());
        return;
    }
    m_ready = true;
    if (onReady) onReady();
}

void GlPictureView::freeRenderContext() {
    if (!m_render) return;
    char* track = m_mpv ? mpv_get_property_string(m_mpv, "vid") : nullptr;
    m_track = track ? QByteArray(track) : QByteArray("no");
    mpv_free(track);
    // Clearing the callback waits for one that is running; none comes after.
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    makeCurrent();
    mpv_render_context_free(m_render);
    m_render = nullptr;
    doneCurrent();
}

// A hidden widget is never painted: let the frame go so playback does not wait for it.
void GlPictureView::takeFrame() {
    if (!m_render) return;
    if (isVisible()) {
        update();
        return;
    }
    if (!(mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME)) return;
    makeCurrent();
    int skip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_render, params);
    doneCurrent();
}

void GlPictureView::clear() {
    m_cleared = true;
    update();
}

void GlPictureView::paintGL() {
    const bool newFrame =
        m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME);
    if (newFrame) m_cleared = false;
    if (!m_render || m_cleared) {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo target{static_cast<int>(defaultFramebufferObject()),
                          static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), 0};
    int flip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_render, params);
}

} // namespace korvel

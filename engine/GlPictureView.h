#pragma once

#include "engine/PictureView.h"
#include "engine/QueuedWakeup.h"

#include <QByteArray>
#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

namespace korvel {

// The picture drawn by the engine with OpenGL into the widget's framebuffer (scaling and
// colour conversion on the GPU). The render context can only be made once the widget's GL
// context exists, that is when the widget is first shown; isReady() tells, and onReady runs
// then. When the GL context is replaced (the widget moved to another window) the render
// context is made again and the engine reloads its video output.
class GlPictureView : public QOpenGLWidget, public PictureView {
    Q_OBJECT

public:
    // `mpv` must outlive the view or be detached first.
    explicit GlPictureView(mpv_handle* mpv, QWidget* parent = nullptr);
    ~GlPictureView() override;

    QWidget* widget() override { return this; }
    bool isReady() const override { return m_ready; }
    void detach() override;
    void clear() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void* procAddress(void* context, const char* name);
    static void requestUpdate(void* context);
    bool createRenderContext();
    void takeFrame();
    void freeRenderContext();

    mpv_handle* m_mpv;
    mpv_render_context* m_render = nullptr;
    bool m_ready = false;
    // Black until the engine has a new frame.
    bool m_cleared = false;
    QByteArray m_track;
    QueuedWakeup m_frameWakeup{this, [this] { takeFrame(); }};
};

} // namespace korvel

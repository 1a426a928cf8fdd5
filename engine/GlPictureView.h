#pragma once

#include "engine/PictureView.h"
#include "engine/QueuedWakeup.h"

#include <QByteArray>
#include <QOpenGLTextureBlitter>
#include <QOpenGLWidget>

#include <memory>

struct mpv_handle;

namespace korvel {

class GlFrameRenderer;

// The picture drawn by the engine with OpenGL (scaling and colour conversion on the GPU), on
// a thread of its own (GlFrameRenderer) into textures this widget's context shares; the
// widget only shows finished frames. The render context can only be made once the widget's
// GL context exists, that is when the widget is first shown; isReady() tells, and onReady
// runs then. When the GL context is replaced (the widget moved to another window) the render
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
    void redraw() override;

    // Frames drawn by the engine so far (by the current render context).
    int framesDrawn() const;

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateTarget();
    void freeRenderContext();
    void contextGone();

    mpv_handle* m_mpv;
    std::unique_ptr<GlFrameRenderer> m_renderer;
    std::unique_ptr<QOpenGLTextureBlitter> m_blitter; // one per GL context
    bool m_ready = false;
    QByteArray m_track;
    QueuedWakeup m_frameShown{this, [this] { update(); }};
};

} // namespace korvel

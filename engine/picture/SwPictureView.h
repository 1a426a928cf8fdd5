#pragma once

#include "engine/QueuedWakeup.h"
#include "engine/picture/PictureView.h"

#include <QWidget>

#include <memory>

struct mpv_handle;
struct mpv_render_context;

namespace korvel {

class SwFrameRenderer;

// The picture drawn by the engine on the CPU into an image: works wherever widgets work
// (no OpenGL, the offscreen platform), at the cost of scaling and colour conversion on the
// CPU. The frames are drawn on a thread of their own (SwFrameRenderer) and shown here; they
// are taken from the engine even while the view is hidden, so playback never waits for a
// picture nobody sees.
class SwPictureView : public QWidget, public PictureView {
    Q_OBJECT

public:
    // Sets up the render context on `mpv` at once; raises KorvelError when the engine
    // refuses it. `mpv` must outlive the view or be detached first.
    explicit SwPictureView(mpv_handle* mpv, QWidget* parent = nullptr);
    ~SwPictureView() override;

    QWidget* widget() override { return this; }
    void detach() override;
    void clear() override;
    void redraw() override;
    bool drawsWithOpenGl() const override { return false; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static void requestUpdate(void* context);
    void updateTarget();

    mpv_render_context* m_render = nullptr;
    QueuedWakeup m_frameShown{this, [this] { update(); }};
    std::unique_ptr<SwFrameRenderer> m_renderer;
};

} // namespace korvel

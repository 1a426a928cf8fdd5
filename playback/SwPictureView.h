#pragma once

#include "playback/PictureView.h"
#include "playback/QueuedWakeup.h"

#include <QImage>
#include <QWidget>

struct mpv_handle;
struct mpv_render_context;

namespace korvel {

// The picture drawn by the engine on the CPU into an image: works wherever widgets work
// (no OpenGL, the offscreen platform), at the cost of scaling and colour conversion on the
// CPU. Frames are taken from the engine even while the view is hidden, so playback never
// waits for a picture nobody sees.
class SwPictureView : public QWidget, public PictureView {
    Q_OBJECT

public:
    // Sets up the render context on `mpv` at once; raises KorvelError when the engine
    // refuses it. `mpv` must outlive the view or be detached first.
    explicit SwPictureView(mpv_handle* mpv, QWidget* parent = nullptr);
    ~SwPictureView() override;

    QWidget* widget() override { return this; }
    bool isReady() const override { return true; }
    void detach() override;

    // Frames drawn into the image so far.
    int framesDrawn() const { return m_framesDrawn; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static void requestUpdate(void* context);
    void takeFrame();
    void draw();
    bool prepareImage(const QSize& size);

    mpv_render_context* m_render = nullptr;
    QImage m_image;
    QSize m_frameSize;
    int m_framesDrawn = 0;
    QueuedWakeup m_frameWakeup{this, [this] { takeFrame(); }};
};

} // namespace korvel

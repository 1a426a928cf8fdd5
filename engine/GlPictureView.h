#pragma once

#include "engine/PictureView.h"

#include <QWidget>

#include <memory>

class QWindow;
struct mpv_handle;

namespace korvel {

class GlWindowRenderer;

// The picture drawn by the engine with OpenGL (scaling and colour conversion on the GPU), on
// a thread of its own (GlWindowRenderer), straight into a window of the window system that
// fills this widget. That window takes no input: the pointer and the keys go to the widgets
// around it, as they do around the software view; what a window system hands it all the same
// is passed on to the widget that holds the view.
//
// The render context is made with the view, in a context of its own: the view is ready at
// once, and nothing is lost when the widget moves to another window.
class GlPictureView : public QWidget, public PictureView {
    Q_OBJECT

public:
    // `mpv` must outlive the view or be detached first.
    explicit GlPictureView(mpv_handle* mpv, QWidget* parent = nullptr);
    ~GlPictureView() override;

    QWidget* widget() override { return this; }
    void detach() override;
    void clear() override;
    void redraw() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateTarget();
    bool passInput(QEvent* event);

    QWindow* m_window; // owned by its container, a child of this view
    std::unique_ptr<GlWindowRenderer> m_renderer;
};

} // namespace korvel

#pragma once

#include "engine/picture/PictureView.h"

#include <QPointer>
#include <QSurface>
#include <QWidget>

#include <memory>

class QWindow;

namespace korvel {

class WindowRenderer;

// The picture drawn by the engine on a thread of its own (a WindowRenderer: with OpenGL, or
// in software into images shared with the X server) straight into a window of the window
// system that fills this widget. That window takes no input: the pointer and the keys go to
// the widgets around it, as they do around the software view; what a window system hands it
// all the same is passed on to the widget that holds the view.
//
// The renderer is made with the view: the view is ready at once, and nothing is lost when the
// widget moves to another window, nor when the toolkit makes the top-level window anew.
class WindowPictureView : public QWidget, public PictureView {
    Q_OBJECT

public:
    // The view's window is of the `surface` kind that `renderer` draws into; without a valid
    // renderer the view stays black. The renderer's engine must outlive the view or the view
    // be detached first.
    WindowPictureView(QSurface::SurfaceType surface, std::unique_ptr<WindowRenderer> renderer,
                      QWidget* parent = nullptr);
    ~WindowPictureView() override;

    QWidget* widget() override { return this; }
    void detach() override;
    void clear() override;
    void redraw() override;
    bool drawsWithOpenGl() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateTarget();
    bool passInput(QEvent* event);
    void watchTopLevel();
    void followTopLevel();

    QWindow* m_window; // owned by its container, a child of this view
    std::unique_ptr<WindowRenderer> m_renderer;
    // The window system's top-level window the view's window is in, as last seen.
    QPointer<QWindow> m_topLevel;
    WId m_topLevelId = 0;
    bool m_wasExposed = false; // since the window system's window was made
};

} // namespace korvel

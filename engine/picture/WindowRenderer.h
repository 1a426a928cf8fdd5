#pragma once

#include "engine/picture/FrameExchange.h"

#include <QSize>

class QWindow;

namespace korvel {

// Draws the engine's frames on a thread of its own straight into a window of the window
// system (WindowPictureView's), with nothing copied through the toolkit. The engine's video
// output waits for each frame to be drawn; drawn on the GUI thread, every engine call the GUI
// thread makes meanwhile (loading a clip, reading a property, pausing) would wait until the
// engine gives up waiting. The drawing thread calls nothing but the render functions.
//
// Made and destroyed on the GUI thread; the calls below come from it.
class WindowRenderer {
public:
    virtual ~WindowRenderer() = default;

    // Whether the renderer can draw; without it the clip plays with no picture, and why was
    // logged.
    virtual bool isValid() const = 0;
    // The window drawn into while it has a surface of the window system, or none. Once this
    // returns, the drawing thread no longer uses the window it had: the window may lose its
    // surface.
    virtual void setWindow(QWindow* window) = 0;
    // Frames are drawn at `size` in device pixels while shown, and let go otherwise; a
    // change draws again what the window shows, black or the frame. A window on its way to
    // the screen (shown, not `onScreen`) is drawn into and shows it once there.
    void setTarget(const QSize& size, bool shown, bool onScreen) {
        m_exchange.setTarget(size, shown, onScreen);
    }
    // A new clip starts: the window shows black until the engine's next frame or a redraw.
    void clear() { m_exchange.blank(); }
    // Draws the engine's current frame again.
    void redraw() { m_exchange.redraw(); }
    // Draws what the window shows again, black or the frame, when the window system lost it.
    void repaint() { m_exchange.repaint(); }

protected:
    // What the drawing thread owes; its frames are unused, the window holds the frame. The
    // drawing thread is stopped (stop()) by the renderer that runs it.
    FrameExchange<int> m_exchange;
};

} // namespace korvel

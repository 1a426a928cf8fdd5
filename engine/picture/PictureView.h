#pragma once

class QWidget;
struct mpv_handle;

namespace korvel {

// A widget that draws the engine's picture through the engine's render API. The engine
// can only show a picture if the view's render context exists before a clip is opened: both
// views make it as they are made.
//
// The view belongs to whoever holds its widget (the playback window once it takes it); it
// never owns the engine and must be detached before the engine goes.
class PictureView {
public:
    enum class Choice {
        Automatic, // OpenGL on a graphics processor, else the software view
        OpenGl,    // OpenGL wherever a context can be made, a software rasteriser included
        Software,  // always the software view
    };

    // A new view on `mpv` as chosen, the software one wherever OpenGL cannot be had. Raises
    // KorvelError when the engine refuses.
    static PictureView* create(mpv_handle* mpv, Choice choice);
    // Whether the machine has a graphics processor to draw or decode with.
    static bool hasGraphicsProcessor();

    virtual ~PictureView() = default;

    virtual QWidget* widget() = 0;
    // Frees the render context; the view stays black from then on. Idempotent.
    virtual void detach() = 0;
    // A new clip starts: the view shows black until the engine's next frame, so a clip
    // without a picture shows nothing of the one before it.
    virtual void clear() = 0;
    // Draws the engine's current frame again: the first frame of a clip can be drawn before
    // the clip's start is heard and cleared away, and a paused clip sends no other.
    virtual void redraw() = 0;
    // Whether the frames are drawn with OpenGL (not into images of our own).
    virtual bool drawsWithOpenGl() const = 0;
};

} // namespace korvel

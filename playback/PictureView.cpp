#include "playback/PictureView.h"

#include "playback/GlPictureView.h"
#include "playback/SwPictureView.h"

#include <QGuiApplication>
#include <QOpenGLContext>

namespace korvel {

namespace {

// The offscreen and minimal platforms have no OpenGL widgets, even where a context exists.
bool openGlUsable() {
    const QString platform = QGuiApplication::platformName();
    if (platform == u"offscreen" || platform == u"minimal") return false;
    QOpenGLContext probe;
    return probe.create();
}

} // namespace

PictureView* PictureView::create(mpv_handle* mpv, bool preferOpenGl) {
    if (preferOpenGl && openGlUsable()) return new GlPictureView(mpv);
    return new SwPictureView(mpv);
}

} // namespace korvel

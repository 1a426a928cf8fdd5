#include "engine/picture/PictureView.h"

#include "engine/EngineLog.h"
#include "engine/picture/GlWindowRenderer.h"
#include "engine/picture/ShmWindowRenderer.h"
#include "engine/picture/SwPictureView.h"
#include "engine/picture/WindowPictureView.h"

#include <QDir>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <memory>
#include <utility>

namespace korvel {

namespace {

// A rasteriser that runs on the processor makes OpenGL dearer than drawing frames into an
// image ourselves; the engine's own OpenGL output refuses such renderers for that reason.
bool isSoftwareRenderer(const QByteArray& renderer) {
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"}) {
        if (renderer.contains(name)) return true;
    }
    return false;
}

// The offscreen and minimal platforms have no OpenGL widgets, even where a context exists.
bool openGlUsable(bool hardwareOnly) {
    const QString platform = QGuiApplication::platformName();
    if (platform == u"offscreen" || platform == u"minimal") return false;
    // Without a graphics processor, any question put to the driver would load a software
    // rasteriser (tens of megabytes, and a good part of the clip's opening time) only to
    // find that out; asking whether threads may draw makes a context too, on X11.
    if (hardwareOnly && !PictureView::hasGraphicsProcessor()) return false;
    // The frames are drawn in a context of their own on another thread; where the toolkit
    // knows the driver to fail at that, the software view draws instead.
    if (!QOpenGLContext::supportsThreadedOpenGL()) return false;
    QOpenGLContext probe;
    if (!probe.create()) return false;
    if (!hardwareOnly) return true;
    QOffscreenSurface surface;
    surface.setFormat(probe.format());
    surface.create();
    if (!probe.makeCurrent(&surface)) return false;
    const auto* renderer =
        reinterpret_cast<const char*>(probe.functions()->glGetString(GL_RENDERER));
    const bool hardware = renderer && !isSoftwareRenderer(QByteArray(renderer));
    probe.doneCurrent();
    return hardware;
}

} // namespace

// A graphics processor has a render node.
bool PictureView::hasGraphicsProcessor() {
    const QDir dri(QStringLiteral("/dev/dri"));
    return !dri.entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
}

PictureView* PictureView::create(mpv_handle* mpv, Choice choice) {
    if (choice != Choice::Software && openGlUsable(choice == Choice::Automatic)) {
        qCInfo(EngineLog::category(), "picture: drawn with OpenGL");
        return new WindowPictureView(QSurface::OpenGLSurface,
                                     std::make_unique<GlWindowRenderer>(mpv));
    }
    // On X the software picture goes into images the X server shares, as the engine's own
    // X11 output does; elsewhere, and where the server cannot share them, through the toolkit.
    if (QGuiApplication::platformName() == u"xcb") {
        auto renderer = std::make_unique<ShmWindowRenderer>(mpv);
        if (renderer->isValid()) {
            qCInfo(EngineLog::category(), "picture: drawn in software, shared with the X server");
            return new WindowPictureView(QSurface::RasterSurface, std::move(renderer));
        }
    }
    qCInfo(EngineLog::category(), "picture: drawn in software");
    return new SwPictureView(mpv);
}

} // namespace korvel

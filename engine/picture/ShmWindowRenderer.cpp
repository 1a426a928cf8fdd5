#include "engine/picture/ShmWindowRenderer.h"

#include "engine/EngineLog.h"
#include "engine/picture/SoftwareFrame.h"

#include <QWindow>

#include <mpv/client.h>
#include <mpv/render.h>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

namespace korvel {

namespace {

// The engine's frames (SoftwareFrame) are the X server's 24-bit true colour.
constexpr int ScreenDepth = 24;

const xcb_screen_t* defaultScreen(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screens.rem > 0; xcb_screen_next(&screens), --number)
        if (number == 0) return screens.data;
    return nullptr;
}

// The screen's own visual, where the frames' pixels are what the window's are.
bool takesFramePixels(const xcb_screen_t& screen) {
    if (screen.root_depth != ScreenDepth) return false;
    xcb_depth_iterator_t depths = xcb_screen_allowed_depths_iterator(&screen);
    for (; depths.rem > 0; xcb_depth_next(&depths)) {
        xcb_visualtype_iterator_t visuals = xcb_depth_visuals_iterator(depths.data);
        for (; visuals.rem > 0; xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t& visual = *visuals.data;
            if (visual.visual_id != screen.root_visual) continue;
            return visual._class == XCB_VISUAL_CLASS_TRUE_COLOR && visual.red_mask == 0xff0000 &&
                   visual.green_mask == 0xff00 && visual.blue_mask == 0xff;
        }
    }
    return false;
}

} // namespace

ShmWindowRenderer::ShmWindowRenderer(mpv_handle* mpv) : m_frames(mpv) {
    if (!connect()) return;
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, apiType},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, mpv, params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &ShmWindowRenderer::requestUpdate, this);
    m_thread = std::thread([this] { run(); });
}

// Clearing the callback waits for one that is running; none comes after. The drawing thread
// has shown its last image when it ends, and its images go with the connection.
ShmWindowRenderer::~ShmWindowRenderer() {
    if (m_render) mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    m_exchange.stop();
    if (m_thread.joinable()) m_thread.join();
    if (m_render) mpv_render_context_free(m_render);
    if (m_connection) {
        for (Image& image : m_images) release(image);
        xcb_disconnect(m_connection);
    }
}

// The server must see the player's memory (it runs on this machine and allows it): one small
// image is shared with it to learn that.
bool ShmWindowRenderer::connect() {
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    const char* missing = nullptr;
    if (xcb_connection_has_error(m_connection)) {
        missing = "no connection to the X server";
    } else if (const auto* shm = xcb_get_extension_data(m_connection, &xcb_shm_id);
               !shm || !shm->present) {
        missing = "the X server shares no memory";
    } else if (const xcb_screen_t* screen = defaultScreen(m_connection, screenNumber);
               !screen || !takesFramePixels(*screen)) {
        missing = "the screen is not 24-bit true colour";
    } else {
        Image probe;
        const bool shared = prepare(probe, QSize(1, 1));
        release(probe);
        if (!shared) missing = "the X server cannot reach the player's memory";
    }
    if (!missing) return true;
    qCInfo(EngineLog::category(), "picture: no shared images (%s)", missing);
    xcb_disconnect(m_connection);
    m_connection = nullptr;
    return false;
}

void ShmWindowRenderer::setWindow(QWindow* window) {
    {
        const std::lock_guard lock(m_windowMutex);
        m_window = window ? static_cast<std::uint32_t>(window->winId()) : 0;
    }
    // What the window showed, black included, is drawn into the new surface.
    if (window) m_exchange.repaint();
}

// Runs on an engine thread.
void ShmWindowRenderer::requestUpdate(void* renderer) {
    static_cast<ShmWindowRenderer*>(renderer)->m_exchange.frameDue();
}

void ShmWindowRenderer::run() {
    m_exchange.serve(m_render, [this](const Work& work) { draw(work); });
    for (Image& image : m_images) waitShown(image);
    if (m_gc) xcb_free_gc(m_connection, m_gc);
    xcb_flush(m_connection);
}

// The window is held for the whole frame and let go with it: the GUI thread may take its
// surface away between frames.
void ShmWindowRenderer::draw(const Work& work) {
    const std::lock_guard lock(m_windowMutex);
    if (!useWindow()) {
        if (work.frameDue) FrameExchange<int>::letGo(m_render);
        return;
    }
    const int width = work.size.width();
    const int height = work.size.height();
    Image& image = m_images[m_next];
    if (work.blank) {
        const xcb_rectangle_t all{0, 0, static_cast<std::uint16_t>(width),
                                  static_cast<std::uint16_t>(height)};
        xcb_poly_fill_rectangle(m_connection, m_drawnWindow, m_gc, 1, &all);
        if (work.frameDue) FrameExchange<int>::letGo(m_render);
    } else {
        waitShown(image);
        if (!prepare(image, work.size)) {
            if (work.frameDue) FrameExchange<int>::letGo(m_render);
            return;
        }
        if (!m_frames.render(m_render, work.size, image.stride, image.bits, work.frameDue)) return;
        xcb_shm_put_image(m_connection, m_drawnWindow, m_gc,
                          static_cast<std::uint16_t>(image.stride / 4),
                          static_cast<std::uint16_t>(height), 0, 0,
                          static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                          0, ScreenDepth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, image.segment, 0);
        // Answered once the server has shown it: then the image may be drawn into again.
        image.synced = xcb_get_input_focus(m_connection).sequence;
        image.pending = true;
        m_next = (m_next + 1) % m_images.size();
    }
    xcb_flush(m_connection);
    dropEvents();
}

// A new window gets a graphics context of its own, black and without exposure events.
bool ShmWindowRenderer::useWindow() {
    if (m_window == m_drawnWindow) return m_drawnWindow != 0;
    if (m_gc) xcb_free_gc(m_connection, m_gc);
    m_gc = 0;
    m_drawnWindow = m_window;
    if (!m_drawnWindow) return false;
    m_gc = xcb_generate_id(m_connection);
    const std::uint32_t values[] = {0, 0};
    xcb_create_gc(m_connection, m_gc, m_drawnWindow, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                  values);
    return true;
}

// Shares a new image with the server where the size changed. The segment is marked for
// removal once both sides hold it, so it goes when both let go, also if the player dies.
bool ShmWindowRenderer::prepare(Image& image, const QSize& size) {
    if (image.bits && image.size == size) return true;
    release(image);
    const int stride = SoftwareFrame::stride(size.width());
    const int id =
        shmget(IPC_PRIVATE, static_cast<size_t>(stride) * size.height(), IPC_CREAT | 0600);
    if (id < 0) return false;
    void* bits = shmat(id, nullptr, 0);
    if (bits == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const std::uint32_t segment = xcb_generate_id(m_connection);
    xcb_generic_error_t* refused =
        xcb_request_check(m_connection, xcb_shm_attach_checked(m_connection, segment,
                                                               static_cast<std::uint32_t>(id), 1));
    shmctl(id, IPC_RMID, nullptr);
    if (refused) {
        std::free(refused);
        shmdt(bits);
        return false;
    }
    image = Image{segment, static_cast<unsigned char*>(bits), size, stride, 0, false};
    return true;
}

void ShmWindowRenderer::release(Image& image) {
    if (!image.bits) return;
    waitShown(image);
    xcb_shm_detach(m_connection, image.segment);
    shmdt(image.bits);
    image = Image{};
}

void ShmWindowRenderer::waitShown(Image& image) {
    if (!image.pending) return;
    std::free(xcb_get_input_focus_reply(m_connection, {image.synced}, nullptr));
    image.pending = false;
}

// Errors of a window that went while a frame was on its way, and nothing else, come here.
void ShmWindowRenderer::dropEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) std::free(event);
}

} // namespace korvel

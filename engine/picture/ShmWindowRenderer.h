#pragma once

#include "engine/picture/SoftwareFrame.h"
#include "engine/picture/WindowRenderer.h"

#include <QSize>

#include <array>
#include <cstdint>
#include <mutex>
#include <thread>

struct mpv_handle;
struct mpv_render_context;
struct xcb_connection_t;

namespace korvel {

// Draws the engine's frames in software into images the X server shares with the player
// (MIT-SHM), and puts each straight into a window, as the engine's own X11 video output does:
// a frame is drawn once and copied once, by the X server, and the images are no memory of
// the player's own. Two images take turns, so the next frame is drawn while the X server
// copies the last. The drawing thread speaks to the X server on a connection of its own.
class ShmWindowRenderer : public WindowRenderer {
public:
    // Connects to the X server of $DISPLAY and makes the engine's render context on `mpv`.
    // Invalid where the server cannot share images with the player (another machine's, or one
    // reached through the network: the server attaches only what the client's user may read,
    // and it knows no user of a network client) or its screen is not the 24-bit true colour
    // the frames are drawn in. `mpv` must outlive the renderer.
    explicit ShmWindowRenderer(mpv_handle* mpv);
    ~ShmWindowRenderer() override; // stops the drawing thread, frees the render context

    ShmWindowRenderer(const ShmWindowRenderer&) = delete;
    ShmWindowRenderer& operator=(const ShmWindowRenderer&) = delete;

    bool isValid() const override { return m_render != nullptr; }
    void setWindow(QWindow* window) override;

private:
    using Work = FrameExchange<int>::Work;

    // One image the X server shares; `synced` asks the server when it has shown it.
    struct Image {
        std::uint32_t segment = 0;
        unsigned char* bits = nullptr;
        QSize size;
        int stride = 0;
        unsigned synced = 0;
        bool pending = false;
    };

    bool connect();
    static void requestUpdate(void* renderer);
    void run();
    void draw(const Work& work);
    bool useWindow();
    bool prepare(Image& image, const QSize& size);
    void release(Image& image);
    void waitShown(Image& image);
    void dropEvents();

    xcb_connection_t* m_connection = nullptr;
    mpv_render_context* m_render = nullptr;

    std::mutex m_windowMutex; // guards m_window, set by the GUI thread
    std::uint32_t m_window = 0;

    // The drawing thread's own.
    std::uint32_t m_drawnWindow = 0;
    std::uint32_t m_gc = 0;
    std::array<Image, 2> m_images;
    std::size_t m_next = 0;
    SoftwareFrame m_frames;
    std::thread m_thread;
};

} // namespace korvel

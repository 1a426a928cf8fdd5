#pragma once

#include <QSize>

#include <mpv/render.h>

#include <condition_variable>
#include <mutex>
#include <utility>

namespace korvel {

// The meeting point of a drawing thread and the GUI thread, for frames of type `Frame` (an
// image; a mere placeholder where the drawing thread draws straight into a window): what the
// drawing thread owes (a new frame from the engine, or the current one again at another size),
// and the last finished frame, which the GUI thread shows. The drawing thread keeps a frame of
// its own to draw into and trades it for the finished one, so neither side ever waits for the
// other's drawing.
template <typename Frame>
class FrameExchange {
public:
    // What the drawing thread took on at one wake-up.
    struct Work {
        bool frameDue = false;
        bool redraw = false;
        QSize size;
        bool shown = false;
        bool onScreen = false; // shown, and not merely on its way to the screen
        unsigned clears = 0;
        bool blank = false; // black is to be shown, not the engine's frame (see blank())
    };

    // The engine has a new frame (from the engine's update callback; any thread).
    void frameDue() {
        change([this] {
            m_frameDue = true;
            m_blank = false;
        });
    }
    // Frames are drawn at `size` in device pixels while shown, and let go otherwise; a
    // change draws the current frame again. A window that is shown but not yet on the screen
    // (`onScreen`) is drawn into all the same, and shows what it has once it gets there.
    void setTarget(const QSize& size, bool shown, bool onScreen = true) {
        onScreen = shown && onScreen;
        const std::lock_guard lock(m_mutex);
        if (m_size == size && m_shown == shown && m_onScreen == onScreen) return;
        m_size = size;
        m_shown = shown;
        m_onScreen = onScreen;
        m_redraw = true;
        m_wake.notify_all();
    }
    // Draws the current frame again at the next wake-up.
    void redraw() {
        change([this] {
            m_redraw = true;
            m_blank = false;
        });
    }
    // Draws again what is shown now (the window system lost it) at the next wake-up.
    void repaint() {
        change([this] { m_redraw = true; });
    }
    // For a drawing thread that draws straight into a window: forgets the last frame as
    // clear() does, and has the thread show black instead of the engine's current frame from
    // its next wake-up, until the engine has a new frame or a redraw is asked for.
    void blank() {
        change([this] {
            m_frontSize = QSize();
            ++m_clears;
            m_blank = true;
            m_redraw = true;
        });
    }
    // The drawing thread's loop ends at its next wake-up.
    void stop() {
        change([this] { m_stop = true; });
    }

    // The drawing thread's loop for the engine's `render`, until stop(): anything to be seen
    // goes to `draw`. Frames that come while nobody would see them are taken and let go
    // (`drop`, given the work, letGo by default), so playback never waits for a picture.
    template <typename Draw>
    void serve(mpv_render_context* render, Draw draw) {
        serve(render, draw, [render](const Work&) { letGo(render); });
    }
    template <typename Draw, typename Drop>
    void serve(mpv_render_context* render, Draw draw, Drop drop) {
        serve(render, draw, drop, [] {});
    }
    // As above, with `settle` called at every wake-up before the work is looked at.
    template <typename Draw, typename Drop, typename Settle>
    void serve(mpv_render_context* render, Draw draw, Drop drop, Settle settle) {
        Work work;
        while (take(work)) {
            settle();
            const bool newFrame =
                work.frameDue && (mpv_render_context_update(render) & MPV_RENDER_UPDATE_FRAME) != 0;
            if (!newFrame && !work.redraw) continue;
            if (work.shown && !work.size.isEmpty())
                draw(work);
            else if (newFrame)
                drop(work);
        }
    }

    // Takes the engine's new frame without drawing it: the engine goes on as if it had been.
    static void letGo(mpv_render_context* render) {
        int skip = 1;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_render(render, params);
    }

    // Puts the drawing thread's finished `back` in front and gives it the frame that was
    // there; a frame begun before a clear() is not shown. True when it was put in front.
    bool finish(const Work& work, Frame& back) {
        const std::lock_guard lock(m_mutex);
        if (work.clears != m_clears) return false;
        std::swap(m_front, back);
        m_frontSize = work.size;
        return true;
    }
    // Calls `show` with the last finished frame and its size (empty after a clear), which
    // stay unchanged meanwhile.
    template <typename Show>
    void withFront(Show show) {
        const std::lock_guard lock(m_mutex);
        show(m_front, m_frontSize);
    }
    // Forgets the last frame, and the one being drawn now: nothing is shown until the next.
    void clear() {
        const std::lock_guard lock(m_mutex);
        m_frontSize = QSize();
        ++m_clears;
    }

private:
    template <typename Change>
    void change(Change apply) {
        {
            const std::lock_guard lock(m_mutex);
            apply();
        }
        m_wake.notify_all();
    }

    // Waits for something to do; false when the loop is to end.
    bool take(Work& work) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_stop || m_frameDue || m_redraw; });
        if (m_stop) return false;
        work.frameDue = std::exchange(m_frameDue, false);
        work.redraw = std::exchange(m_redraw, false);
        work.size = m_size;
        work.shown = m_shown;
        work.onScreen = m_onScreen;
        work.clears = m_clears;
        work.blank = m_blank;
        return true;
    }

    std::mutex m_mutex; // guards all that follows
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_frameDue = false;
    bool m_redraw = false;
    bool m_blank = false;
    QSize m_size;
    bool m_shown = false;
    bool m_onScreen = false;
    Frame m_front{};
    QSize m_frontSize;
    unsigned m_clears = 0;
};

} // namespace korvel

// The engine floor: a libmpv client with nothing else, as small as a player of the engine can
// be. It makes its own X window, has the engine play the clip into it, and titles the window
// with the clip's title at the engine's first playback restart, when a player shows the clip
// as open. Korvel's clip open is judged beside it, in the same run.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>

#include <mpv/client.h>
#include <unistd.h>

namespace {

// The benchmark finds a program's windows by the process that owns them.
void markOwner(Display* display, Window window) {
    const unsigned long pid = static_cast<unsigned long>(::getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

void playUntilTheEnd(mpv_handle* mpv, Display* display, Window window) {
    bool titled = false;
    for (;;) {
        const mpv_event* event = mpv_wait_event(mpv, -1);
        if (event->event_id == MPV_EVENT_SHUTDOWN || event->event_id == MPV_EVENT_END_FILE) return;
        if (event->event_id != MPV_EVENT_PLAYBACK_RESTART || titled) continue;
        char* title = mpv_get_property_string(mpv, "media-title");
        XStoreName(display, window, title ? title : "");
        XFlush(display);
        mpv_free(title);
        titled = true;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: engine_floor CLIP\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "engine_floor: no X display\n");
        return 1;
    }
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, 0, 0);
    markOwner(display, window);
    XMapWindow(display, window);
    XFlush(display);
    mpv_handle* mpv = mpv_create();
    auto wid = static_cast<int64_t>(window);
    mpv_set_option(mpv, "wid", MPV_FORMAT_INT64, &wid);
    mpv_set_option_string(mpv, "vo", "x11");
    mpv_set_option_string(mpv, "ao", "pulse");
    const char* load[] = {"loadfile", argv[1], nullptr};
    if (mpv_initialize(mpv) < 0 || mpv_command(mpv, load) < 0) {
        std::fprintf(stderr, "engine_floor: the engine did not start\n");
        return 1;
    }
    playUntilTheEnd(mpv, display, window);
    mpv_terminate_destroy(mpv);
    XCloseDisplay(display);
    return 0;
}

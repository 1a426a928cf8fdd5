#pragma once

#include <QString>

#include <functional>

namespace korvel {

// What the playback logic asks of the window it runs in.
class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    // Sizes the client area; the picture follows it.
    virtual void setClientSize(int width, int height) = 0;
    // Lets pending events run: user commands and engine events may be handled here, nested.
    virtual void letEventsRun() = 0;
    // Runs `step` once, `ms` milliseconds from now, from the event loop.
    virtual void runLater(int ms, std::function<void()> step) = 0;
    // Brings the player panel to the front as the active window, so its keys work after a
    // click into the picture.
    virtual void bringPanelForward() = 0;
    // Keeps the window above all others, or puts it back in the normal order; the panel and
    // the playlist keep theirs.
    virtual void setTopmost(bool topmost) = 0;
};

} // namespace korvel

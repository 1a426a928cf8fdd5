#pragma once

#include <QObject>

class QWidget;

namespace korvel {

// Keeps a window off the desktop's task bars and pagers, so that the program has one entry
// there. The window asks for it each time it goes onto the screen: a window manager drops
// the state of a window that leaves the screen, and the toolkit may make the window anew.
// Without an X display (the offscreen platform, a Wayland session) there is nothing to ask.
class TaskBarSkip : public QObject {
    Q_OBJECT

public:
    // Watches `window`, which owns the watcher.
    static void keepOff(QWidget* window);
    // Takes `window` off the screen and waits, a short while at most, until the window manager
    // has let go of it. A window manager clears the state of a window it lets go of: shown
    // again sooner, the window would lose the state asked for at that showing.
    static void hideAndRelease(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TaskBarSkip(QWidget* window);
    static void askFor(QWidget* window, bool mapped);
};

} // namespace korvel

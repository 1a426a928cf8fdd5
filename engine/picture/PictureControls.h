#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QWindow;

namespace korvel {

// What the user does on the picture: left-button releases and key presses are passed on
// while forwarding is on; Esc or a double click ends full screen, always, so the user can
// never be stuck in it. Full screen is the full screen of the picture's window: the
// playback window holds nothing but the picture, so the picture covers the screen.
//
// Window managers grant full screen to ordinary top-level windows only, not to tool windows
// (which the playback window is): while full screen, the window system's window is an
// ordinary one, and it is the widget's own type again when full screen ends; the window
// manager then gives it back its place and size. While full screen, Esc in any window of the
// application ends it, wherever the focus went.
class PictureControls : public QObject {
    Q_OBJECT

public:
    // Watches `picture` (not owned). Lives as long as its owner; the picture may go first.
    explicit PictureControls(QWidget* picture, QObject* owner);
    ~PictureControls() override;

    void setForwarding(bool on) { m_forwarding = on; }
    // Whether the picture's window really covers its screen now, as the window system shows
    // it; not merely asked for (a window manager may refuse, or not have answered yet).
    bool isFullScreen() const;
    void enterFullScreen();
    void leaveFullScreen();

    std::function<void(int flags, int x, int y)> onClick;
    std::function<void(int flags, int key)> onKey;
    // The user ended full screen.
    std::function<void()> onLeave;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pictureEvent(QEvent* event);
    bool applicationEvent(QObject* watched, QEvent* event);
    static void setSystemType(QWindow* window, Qt::WindowFlags type);

    QPointer<QWidget> m_picture;
    bool m_forwarding = false;
    // Full screen was asked for and not yet ended; whether the window was maximized before.
    bool m_entered = false;
    bool m_wasMaximized = false;
};

} // namespace korvel

#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

namespace korvel {

// What the user does on the picture: left-button releases and key presses are passed on
// while forwarding is on; Esc or a double click ends full screen, always, so the user can
// never be stuck in it. Full screen is the full screen of the picture's window: the
// playback window holds nothing but the picture, so the picture covers the screen.
class PictureControls : public QObject {
    Q_OBJECT

public:
    // Watches `picture` (not owned). Lives as long as its owner; the picture may go first.
    explicit PictureControls(QWidget* picture, QObject* owner);

    void setForwarding(bool on) { m_forwarding = on; }
    bool isFullScreen() const;
    void enterFullScreen();
    void leaveFullScreen();

    std::function<void(int flags, int x, int y)> onClick;
    std::function<void(int flags, int key)> onKey;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_picture;
    bool m_forwarding = false;
    QRect m_normalGeometry;
    bool m_wasMaximized = false;
};

} // namespace korvel

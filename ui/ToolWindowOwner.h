#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace korvel {

// The toolkit makes a tool window without a parent transient for the whole program, and some
// window managers (xfwm4) keep such a window above every window of the program, a full-screen
// one too. While `picture`'s window is full screen, `tool` is transient for `owner` alone, so
// the picture covers it; when full screen ends it is the program's again. Without an X
// display there is nothing to change.
class ToolWindowOwner : public QObject {
    Q_OBJECT

public:
    // Watches `picture`; the three are not owned, and may go first.
    ToolWindowOwner(QWidget* picture, QWidget* tool, QWidget* owner, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(bool fullScreen);

    QPointer<QWidget> m_picture;
    QPointer<QWidget> m_tool;
    QPointer<QWidget> m_owner;
    // What the tool window was transient for before full screen, while it is the owner's.
    std::optional<std::uint32_t> m_before;
};

} // namespace korvel

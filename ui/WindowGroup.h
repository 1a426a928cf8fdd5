#pragma once

#include "ui/ToolWindowHiding.h"
#include "ui/WindowManagerState.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

namespace korvel {

// The program's windows leave the screen together and come back together: minimizing one of
// them (by the panel's button or the window manager) minimizes every other that is showing,
// and restoring any of them restores all that went with it. Hidden windows stay hidden.
// Some window managers (mutter, icewm) refuse to take tool windows and windows kept off the
// task bar to an icon: those are hidden instead, once another window of the group has gone to
// its icon, from where the group comes back; the toolkit's word is no proof, the window
// manager's record is.
// A window manager that takes the tool windows off the screen by itself (KWin, while another
// program is active) brings them back itself: the group leaves that to it.
class WindowGroup : public QObject {
    Q_OBJECT

public:
    // Whether the window manager keeps a window as an icon; nullopt where none can say.
    using Iconified = std::function<std::optional<bool>(const QWidget*)>;

    // `toolsHiddenByWindowManager` tells whether the window manager minimizes tool windows
    // by itself.
    explicit WindowGroup(
        std::function<bool()> toolsHiddenByWindowManager = ToolWindowHiding::byWindowManager,
        Iconified iconified = WindowManagerState::iconified, QObject* parent = nullptr);

    // Watches `window` (not owned); it may be destroyed first.
    void add(QWidget* window);
    // Takes every showing window off the screen, also one that is off already, so that the
    // next restore brings it back with the others.
    void minimizeAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkIconified();
    void restoreAll();
    bool isMinimizedMember(const QWidget* window) const;
    bool isHiddenByWindowManager(const QWidget* window) const;

    std::function<bool()> m_toolsHiddenByWindowManager;
    Iconified m_iconified;
    QList<QPointer<QWidget>> m_windows;
    QList<QPointer<QWidget>> m_minimized;
    // Those of m_minimized that the window manager would not take to an icon.
    QList<QPointer<QWidget>> m_hidden;
    QTimer m_check;
    QElapsedTimer m_asked;
    std::optional<qint64> m_firstIconified;
    bool m_hiding = false;
};

} // namespace korvel

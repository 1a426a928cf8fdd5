#pragma once

#include "ui/ToolWindowHiding.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace korvel {

// The program's windows leave the screen together and come back together: minimizing one of
// them (by the panel's button or the window manager) minimizes every other that is showing,
// and restoring any of them restores all that went with it. Hidden windows stay hidden.
// A window manager that takes the tool windows off the screen by itself (KWin, while another
// program is active) brings them back itself: the group leaves that to it.
class WindowGroup : public QObject {
    Q_OBJECT

public:
    // `toolsHiddenByWindowManager` tells whether the window manager minimizes tool windows
    // by itself.
    explicit WindowGroup(
        std::function<bool()> toolsHiddenByWindowManager = ToolWindowHiding::byWindowManager,
        QObject* parent = nullptr)
        : QObject(parent), m_toolsHiddenByWindowManager(std::move(toolsHiddenByWindowManager)) {}

    // Watches `window` (not owned); it may be destroyed first.
    void add(QWidget* window);
    // Takes every showing window off the screen, also one that is off already, so that the
    // next restore brings it back with the others.
    void minimizeAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restoreAll();
    bool isMinimizedMember(const QWidget* window) const;
    bool isHiddenByWindowManager(const QWidget* window) const;

    std::function<bool()> m_toolsHiddenByWindowManager;
    QList<QPointer<QWidget>> m_windows;
    QList<QPointer<QWidget>> m_minimized;
};

} // namespace korvel

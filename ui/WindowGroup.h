#pragma once

#include "ui/ActiveProgram.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace korvel {

// The program's windows leave the screen together and come back together: minimizing one of
// them (by the panel's button or the window manager) minimizes every other that is showing,
// and restoring any of them restores all that went with it. Hidden windows stay hidden.
// Some window managers (KWin, by default) take a program's tool windows off the screen while
// another program is active and bring them back when it is active again, reporting them
// minimized meanwhile: the group leaves that to the window manager.
class WindowGroup : public QObject {
    Q_OBJECT

public:
    // `otherProgramActive` tells whether the window manager's active window is another
    // program's.
    explicit WindowGroup(std::function<bool()> otherProgramActive = ActiveProgram::isOther,
                         QObject* parent = nullptr)
        : QObject(parent), m_otherProgramActive(std::move(otherProgramActive)) {}

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
    bool isHiddenForAnotherProgram(const QWidget* window) const;

    std::function<bool()> m_otherProgramActive;
    QList<QPointer<QWidget>> m_windows;
    QList<QPointer<QWidget>> m_minimized;
};

} // namespace korvel

#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace korvel {

// The program's windows leave the screen together and come back together: minimizing one of
// them (by the panel's button or the window manager) minimizes every other that is showing,
// and restoring any of them restores all that went with it. Hidden windows stay hidden.
class WindowGroup : public QObject {
    Q_OBJECT

public:
    explicit WindowGroup(QObject* parent = nullptr) : QObject(parent) {}

    // Watches `window` (not owned); it may be destroyed first.
    void add(QWidget* window);
    void minimizeAll();
    // The windows now off the screen together.
    int minimizedCount() const { return int(m_minimized.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restoreAll();
    bool isMinimizedMember(const QWidget* window) const;

    QList<QPointer<QWidget>> m_windows;
    QList<QPointer<QWidget>> m_minimized;
};

} // namespace korvel

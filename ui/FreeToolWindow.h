#pragma once

#include <QObject>

class QWidget;

namespace korvel {

// Keeps a tool window free of the program's other windows. The toolkit marks every tool window
// transient for the whole program as it shows it, and KWin takes a program's transient tool
// windows off the screen whenever another program is active: the picture would vanish while
// the user works elsewhere. A tool window that is transient for nothing stays where it is,
// with the look of a tool window. Only where the window manager hides tool windows by itself:
// others (openbox) keep a tool window with the program's windows, and judge its stacking by
// that. Without an X display there is nothing to change.
class FreeToolWindow : public QObject {
    Q_OBJECT

public:
    // Watches `window`, which owns the watcher.
    static void keepFree(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FreeToolWindow(QWidget* window);
    static void release(QWidget* window);
};

} // namespace korvel

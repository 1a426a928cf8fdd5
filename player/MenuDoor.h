#pragma once

#include "command/PlayerMenu.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace korvel {

class CommandTaker;
class OpenDialogs;

// The player's menu as a door: a right click on a watched window (anywhere on it, the
// picture and the panel's elements included), or the Menu key or Shift+F10 there, opens the
// menu; the menu's own keys (Ctrl+O, Ctrl+U) run their entries on any watched window. Each
// choice runs the player's verbs, after asking the user where the entry says so. Text fields
// keep their own menu and editing keys.
class MenuDoor : public QObject {
    Q_OBJECT

public:
    using Source = std::function<PlayerMenu::Input()>;

    // `source` tells what the menu shows each time it opens.
    MenuDoor(CommandTaker& commands, OpenDialogs& dialogs, Source source);
    ~MenuDoor() override;

    void watch(QWidget* window);
    // One more submenu (the skins, say), asked for each time the menu opens; none when unset
    // or when it gives no submenu.
    std::function<MenuEntry()> extra;

    // The menu as it would open now.
    MenuEntries entries() const;
    // Opens the menu at `global` over `window` and runs what is chosen.
    void popup(QWidget* window, QPoint global);
    // Runs an entry as a choice in the menu would, over `window`. Failures are shown.
    void choose(const MenuEntry& entry, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* watchedWindowOf(QObject* object) const;
    bool keyPress(QWidget* window, QObject* receiver, int key, Qt::KeyboardModifiers modifiers);
    void popupLater(QWidget* window, QPoint global);
    static QPoint keyboardPlace(QWidget* window);
    void fill(QMenu& menu, const MenuEntries& entries, QList<QPair<QAction*, MenuEntry>>& chosen);
    void openFiles(QWidget* window);

    CommandTaker& m_commands;
    OpenDialogs& m_dialogs;
    Source m_source;
    QList<QPointer<QWidget>> m_windows;
    bool m_open = false;
};

} // namespace korvel

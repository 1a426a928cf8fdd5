#include "player/MenuDoor.h"

#include "base/KorvelError.h"
#include "command/CommandTaker.h"
#include "player/OpenDialogs.h"
#include "ui/ErrorBox.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>

namespace korvel {

namespace {

// A text field keeps its own menu and its editing keys (Ctrl+U clears its line).
bool isTextField(QObject* object) {
    return qobject_cast<QLineEdit*>(object) || qobject_cast<QAbstractSpinBox*>(object) ||
           qobject_cast<QTextEdit*>(object);
}

// The entry of the menu's own key, in the top level of the menu.
const MenuEntry* ownerOf(const MenuEntries& entries, const QKeySequence& pressed) {
    for (const MenuEntry& entry : entries) {
        if (entry.ownsKey && QKeySequence(entry.key) == pressed) return &entry;
    }
    return nullptr;
}

} // namespace

MenuDoor::MenuDoor(CommandTaker& commands, OpenDialogs& dialogs, Source source)
    : m_commands(commands), m_dialogs(dialogs), m_source(std::move(source)) {
    // The picture and the list's grid are made and remade inside the windows: the whole
    // application is watched, and what happens in the watched windows is taken.
    qApp->installEventFilter(this);
}

MenuDoor::~MenuDoor() { qApp->removeEventFilter(this); }

void MenuDoor::watch(QWidget* window) { m_windows.append(window); }

MenuEntries MenuDoor::entries() const {
    const MenuEntry more = extra ? extra() : MenuEntry{};
    return PlayerMenu::entries(m_source(), more);
}

QWidget* MenuDoor::watchedWindowOf(QObject* object) const {
    QWidget* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    QWidget* window = widget->window();
    for (const QPointer<QWidget>& watched : m_windows) {
        if (watched == window) return window;
    }
    return nullptr;
}

bool MenuDoor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ContextMenu && type != QEvent::KeyPress) return false;
    QWidget* window = watchedWindowOf(watched);
    if (!window || m_open) return false;
    if (type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return keyPress(window, watched, key->key(), key->modifiers());
    }
    if (isTextField(watched)) return false;
    const auto* menu = static_cast<QContextMenuEvent*>(event);
    popupLater(window, menu->reason() == QContextMenuEvent::Mouse ? menu->globalPos()
                                                                  : keyboardPlace(window));
    return true;
}

bool MenuDoor::keyPress(QWidget* window, QObject* receiver, int key,
                        Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    const bool menuKey = (key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                         (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
    if (menuKey && !isTextField(receiver)) {
        popupLater(window, keyboardPlace(window));
        return true;
    }
    // Only keys with Ctrl are the menu's own: others never ask the engine for its tracks.
    if (!modifiers.testFlag(Qt::ControlModifier)) return false;
    const MenuEntries menu = entries();
    const MenuEntry* entry = ownerOf(menu, QKeySequence(key | modifiers));
    if (!entry || (isTextField(receiver) && entry->ask == MenuEntry::Ask::Location)) return false;
    const MenuEntry chosen = *entry;
    QMetaObject::invokeMethod(
        this, [this, chosen, window = QPointer<QWidget>(window)] { choose(chosen, window); },
        Qt::QueuedConnection);
    return true;
}

// The menu opens once the event that asked for it is done: the press that opened it has
// then ended on the face it was made on.
void MenuDoor::popupLater(QWidget* window, QPoint global) {
    QMetaObject::invokeMethod(
        this,
        [this, global, window = QPointer<QWidget>(window)] {
            if (window) popup(window, global);
        },
        Qt::QueuedConnection);
}

// At the focused element: the one a screen reader is told of (an element of a skin's face,
// which the window holding the keyboard passes its keys to; a cell of the grid), else the
// focused widget, else the window's centre.
QPoint MenuDoor::keyboardPlace(QWidget* window) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != window) return window->mapToGlobal(window->rect().center());
    QList<QWidget*> widgets{focus};
    widgets.append(focus->findChildren<QWidget*>());
    for (QWidget* widget : widgets) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        const QAccessibleInterface* element = face ? face->focusChild() : nullptr;
        if (element && element != face && element->rect().isValid())
            return element->rect().center();
    }
    return focus->mapToGlobal(focus->rect().center());
}

void MenuDoor::fill(QMenu& menu, const MenuEntries& entries,
                    QList<QPair<QAction*, MenuEntry>>& chosen) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Kind::Separator: menu.addSeparator(); break;
        case MenuEntry::Kind::Note: menu.addAction(entry.text)->setEnabled(false); break;
        case MenuEntry::Kind::Submenu:
            fill(*menu.addMenu(entry.text), entry.entries, chosen);
            break;
        case MenuEntry::Kind::Command: {
            QAction* action = menu.addAction(entry.text);
            action->setCheckable(entry.checkable);
            action->setChecked(entry.checked);
            // Shown beside the entry; the key itself is taken by this door or the panel's.
            action->setShortcut(QKeySequence(entry.key));
            action->setShortcutVisibleInContextMenu(true);
            chosen.append({action, entry});
            break;
        }
        }
    }
}

void MenuDoor::popup(QWidget* window, QPoint global) {
    if (m_open) return;
    m_open = true;
    QMenu menu(window);
    menu.setObjectName(QStringLiteral("PlayerMenu"));
    menu.setWindowTitle(QStringLiteral("Korvel menu"));
    QList<QPair<QAction*, MenuEntry>> actions;
    ErrorBox::run([&] { fill(menu, entries(), actions); });
    QAction* picked = actions.isEmpty() ? nullptr : menu.exec(global);
    m_open = false;
    for (const auto& [action, entry] : actions) {
        if (action == picked) choose(entry, window);
    }
}

void MenuDoor::choose(const MenuEntry& entry, QWidget* window) {
    ErrorBox::run([&] {
        switch (entry.ask) {
        case MenuEntry::Ask::Nothing: m_commands.run(entry.command); break;
        case MenuEntry::Ask::Files: openFiles(window); break;
        case MenuEntry::Ask::About: m_dialogs.showAbout(window); break;
        case MenuEntry::Ask::Location: {
            const QString location = m_dialogs.askLocation(window);
            if (!location.isNull()) m_commands.run({entry.command.verb, 0, location});
            break;
        }
        case MenuEntry::Ask::Subtitles: {
            const QString file = m_dialogs.askSubtitles(window);
            if (!file.isEmpty()) m_commands.run({entry.command.verb, 0, file});
            break;
        }
        }
    });
}

// Every file is offered to the list, also after one that could not be taken; the first one
// taken plays. What went wrong is told once, a line each.
void MenuDoor::openFiles(QWidget* window) {
    QStringList problems;
    bool playing = false;
    for (const QString& file : m_dialogs.askFiles(window)) {
        try {
            m_commands.run({Verb::Add, playing ? 0 : 1, file});
            playing = true;
        } catch (const KorvelError& error) {
            problems.append(error.text());
        }
    }
    if (!problems.isEmpty()) throw KorvelError::ofLines(problems);
}

} // namespace korvel

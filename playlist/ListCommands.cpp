#include "playlist/ListCommands.h"

#include "playlist/ListEditor.h"
#include "skin/ListSkinElements.h"

#include <array>

namespace korvel {

// The tables, in the order the list has always tested them.
struct ListTables {
    using L = ListCommands;
    static constexpr std::array<L::Button, 12> Buttons{{
        {ListElement::Up, &L::up},
        {ListElement::Down, &L::down},
        {ListElement::Cut, &L::cut},
        {ListElement::Copy, &L::copy},
        {ListElement::Paste, &L::paste},
        {ListElement::History, &L::history},
        {ListElement::Clear, &L::clear},
        {ListElement::Ok, &L::ok},
        {ListElement::Cancel, &L::cancel},
        {ListElement::Add, &L::add},
        {ListElement::Ram, &L::ram},
        {ListElement::Play, &L::play},
    }};
    // Enter comes from the main keyboard or the keypad.
    static constexpr std::array<L::Key, 4> Keys{{
        {Qt::Key_Delete, &L::deleteKey},
        {Qt::Key_Return, &L::enterKey},
        {Qt::Key_Enter, &L::enterKey},
        {Qt::Key_Escape, &L::cancel},
    }};
};

std::span<const ListCommands::Button> ListCommands::buttons() { return ListTables::Buttons; }

std::span<const ListCommands::Key> ListCommands::keys() { return ListTables::Keys; }

void ListCommands::SkinForm1MouseUpNotify(QStringView id, Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    for (const Button& row : buttons()) {
        if (row.id == id) (this->*row.run)();
    }
}

void ListCommands::FormKeyDown(int key) {
    for (const Key& row : keys()) {
        if (row.key == key) (this->*row.run)();
    }
}

void ListCommands::up() { m_editor.MoveRowsUp(); }
void ListCommands::down() { m_editor.MoveRowsDown(); }
void ListCommands::cut() { m_editor.CutRows(); }
void ListCommands::copy() { m_editor.CopyRows(); }
void ListCommands::paste() { m_editor.PasteRows(); }
void ListCommands::history() { m_actions.PasteHistory(); }
void ListCommands::clear() { m_editor.ClearList(); }

void ListCommands::ok() {
    m_actions.HideList();
    m_actions.PlayFromTop();
}

void ListCommands::cancel() { m_actions.HideList(); }
void ListCommands::add() { m_actions.AddFromFields(); }
void ListCommands::ram() { m_actions.SaveRamFile(); }
void ListCommands::play() { m_actions.StorePlayFlag(); }

// Enter in the location field adds what was typed there, as ADD does; anywhere else it plays
// the list, as OK does.
void ListCommands::enterKey() {
    if (m_actions.typingLocation()) {
        add();
    } else {
        ok();
    }
}

// While a text field has the keyboard, Delete deletes a character there and nothing else:
// a keystroke in a field must never take rows out of the list.
void ListCommands::deleteKey() {
    if (!m_actions.editing()) m_editor.CutRows();
}

} // namespace korvel

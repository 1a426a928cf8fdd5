#include "playlist/ListCommands.h"

#include "skin/ListSkinElements.h"

#include <array>

namespace korvel {

// The tables, in the order the list has always tested them.
struct ListTables {
    using L = ListCommands;
    static constexpr std::array<L::Button, 4> Buttons{{
        {ListElement::Ok, &L::ok},
        {ListElement::Cancel, &L::cancel},
        {ListElement::Add, &L::add},
        {ListElement::Play, &L::play},
    }};
    // Enter comes from the main keyboard or the keypad.
    static constexpr std::array<L::Key, 3> Keys{{
        {Qt::Key_Return, &L::ok},
        {Qt::Key_Enter, &L::ok},
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

void ListCommands::ok() {
    m_actions.HideList();
    m_actions.PlayFromTop();
}

void ListCommands::cancel() { m_actions.HideList(); }

void ListCommands::add() { m_actions.AddFromFields(); }

void ListCommands::play() { m_actions.StorePlayFlag(); }

} // namespace korvel

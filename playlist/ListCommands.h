#pragma once

#include <QStringView>
#include <Qt>

#include <span>

namespace korvel {

class ListEditor;

// What the playlist window's commands need of the window itself.
class ListActions {
public:
    virtual ~ListActions() = default;
    // Hides the playlist window; the list stays as it is.
    virtual void HideList() = 0;
    // Plays the list from its top entry (the playback window carries it out).
    virtual void PlayFromTop() = 0;
    // Play of the current entry from the PLAY toggle, which has flipped already.
    virtual void StorePlayFlag() = 0;
    // Appends an entry for the URL field, makes it current and writes the fields into it.
    virtual void AddFromFields() = 0;
    // Pastes the recently played sources as new entries.
    virtual void PasteHistory() = 0;
    // Asks for a file name and writes the list there as a .ram list.
    virtual void SaveRamFile() = 0;
    // A text field has the keyboard: keys such as Delete edit its text, not the list.
    virtual bool editing() const = 0;
    // The location field has the keyboard: Enter there adds what was typed.
    virtual bool typingLocation() const = 0;
};

// The playlist window's commands: the elements of its skin and its keys mapped to what they
// do. Each table is walked in its order and every row that matches runs; a failure ends the
// walk, with the rows after it untested. Names match exactly; keys ignore the modifiers.
class ListCommands {
public:
    using Command = void (ListCommands::*)();
    struct Button {
        QStringView id;
        Command run;
    };
    struct Key {
        int key; // Qt key code
        Command run;
    };

    ListCommands(ListActions& actions, ListEditor& editor) : m_actions(actions), m_editor(editor) {}

    // A left-button release on an element; any other mouse button does nothing.
    void SkinForm1MouseUpNotify(QStringView id, Qt::MouseButton button);
    // A key pressed anywhere in the window, before the focused field handles it.
    void FormKeyDown(int key);

    static std::span<const Button> buttons();
    static std::span<const Key> keys();

private:
    friend struct ListTables;

    void up();
    void down();
    void cut();
    void copy();
    void paste();
    void history();
    void clear();
    void ok();
    void cancel();
    void add();
    void ram();
    void play();
    void deleteKey();
    void enterKey();

    ListActions& m_actions;
    ListEditor& m_editor;
};

} // namespace korvel

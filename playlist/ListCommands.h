#pragma once

#include <QStringView>
#include <Qt>

#include <span>

namespace korvel {

// What the playlist window's commands act on; the window provides it.
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

    explicit ListCommands(ListActions& actions) : m_actions(actions) {}

    // A left-button release on an element; any other mouse button does nothing.
    void SkinForm1MouseUpNotify(QStringView id, Qt::MouseButton button);
    // A key pressed anywhere in the window, before the focused field handles it.
    void FormKeyDown(int key);

    static std::span<const Button> buttons();
    static std::span<const Key> keys();

private:
    friend struct ListTables;

    void ok();
    void cancel();
    void add();
    void play();

    ListActions& m_actions;
};

} // namespace korvel

#pragma once

#include "command/PlayerCommand.h"

#include <QList>
#include <QString>

namespace korvel {

// One entry of the player's menu as plain values: what it shows and what choosing it does.
// A door that shows the menu runs `command`, or first asks the user what `ask` names and
// runs the verb with the answer.
struct MenuEntry {
    enum class Kind {
        Command,   // runs `command` (or asks first, see `ask`)
        Submenu,   // holds `entries`
        Separator, //
        Note,      // a text that cannot be chosen ("No tracks")
    };
    // What the user is asked before the verb runs.
    enum class Ask {
        Nothing,
        Files,     // media files and lists: each joins the list (Verb::Add), the first plays
        Location,  // a path or URL typed or pasted (Verb::Open)
        Subtitles, // a subtitle file (Verb::LoadSubtitles)
        About,     // shows the program's version and licence; runs nothing
    };

    Kind kind = Kind::Command;
    QString text;
    // The key shown beside the text, in the portable form of QKeySequence ("Ctrl+O").
    QString key;
    // The key is the menu's own: no other door of the window takes it, so the menu's door
    // binds it. Otherwise it is shown only, for the key another door already takes.
    bool ownsKey = false;
    bool checkable = false;
    bool checked = false;
    PlayerCommand command;
    Ask ask = Ask::Nothing;
    QList<MenuEntry> entries;

    bool operator==(const MenuEntry&) const = default;
};

using MenuEntries = QList<MenuEntry>;

} // namespace korvel

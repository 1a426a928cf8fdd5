#pragma once

#include "command/PlayerCommand.h"

#include <QList>
#include <QStringView>
#include <QUrl>
#include <Qt>

#include <cstdint>
#include <span>

namespace korvel {

class CommandTaker;
class SkinElements;

// The player panel's door: its buttons, sliders and keys mapped to the player's verbs. Each
// table is walked in its order and every row that matches runs its command; a failure ends
// the walk (and is shown by the caller) with the rows after it untested. Names match exactly.
class PanelCommands {
public:
    // Where a row's argument comes from.
    struct Argument {
        enum class From {
            None,   // the verb takes none
            Number, // `number`
            Down,   // 1 when the toggle `toggle` is down now (the click has flipped it), else 0
            Up,     // 1 when the toggle `toggle` is up now, else 0
        };
        From from = From::None;
        std::int64_t number = 0;
        QStringView toggle;
    };
    struct Button {
        QStringView id;
        Verb verb;
        Argument argument;
    };
    // A slider's verb takes the slider's new position, 0..100.
    struct Slider {
        QStringView id;
        Verb verb;
    };
    struct Key {
        int key;   // Qt key code
        bool ctrl; // needs Ctrl among the modifiers; other keys ignore the modifiers
        Verb verb;
        Argument argument;
    };

    PanelCommands(CommandTaker& commands, const SkinElements& skin);

    // A left-button release on a button; any other mouse button does nothing.
    void SkinForm1MouseUpNotify(QStringView id, Qt::MouseButton button);
    // A slider moved to `position`, 0..100.
    void SkinForm1TrackBarNotify(QStringView id, int position);
    void HandleKey(int key, Qt::KeyboardModifiers modifiers);
    // Files dropped on the panel: the first one is opened; a drop that names none changes
    // nothing.
    void FilesDropped(const QList<QUrl>& urls);
    // Whether some row of the key table runs for that key.
    static bool takesKey(int key, Qt::KeyboardModifiers modifiers);

    static std::span<const Button> buttons();
    static std::span<const Slider> sliders();
    static std::span<const Key> keys();

private:
    void run(Verb verb, const Argument& argument);
    void settleToggles();

    CommandTaker& m_commands;
    const SkinElements& m_skin;
};

} // namespace korvel

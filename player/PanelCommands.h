#pragma once

#include <QStringView>
#include <Qt>

#include <cstdint>
#include <span>

namespace korvel {

class PanelWindows;
class Playback;
class SkinElements;

// The player panel's commands: its buttons, sliders and keys mapped to what they do. Each
// table is walked in its order and every row that matches runs; a failure ends the walk
// (and is shown by the caller) with the rows after it untested. Names match exactly.
class PanelCommands {
public:
    using Command = void (PanelCommands::*)();
    struct Button {
        QStringView id;
        Command run;
    };
    using SliderCommand = void (PanelCommands::*)(int position);
    struct Slider {
        QStringView id;
        SliderCommand run;
    };
    struct Key {
        int key;   // Qt key code
        bool ctrl; // needs Ctrl among the modifiers; other keys ignore the modifiers
        Command run;
    };

    PanelCommands(Playback& playback, SkinElements& skin, PanelWindows& windows);

    // A left-button release on a button; any other mouse button does nothing.
    void SkinForm1MouseUpNotify(QStringView id, Qt::MouseButton button);
    // A slider moved to `position`, 0..100.
    void SkinForm1TrackBarNotify(QStringView id, int position);
    void HandleKey(int key, Qt::KeyboardModifiers modifiers);
    // Whether some row of the key table runs for that key.
    static bool takesKey(int key, Qt::KeyboardModifiers modifiers);

    static std::span<const Button> buttons();
    static std::span<const Slider> sliders();
    static std::span<const Key> keys();

private:
    friend struct PanelTables;

    void exit();
    void minimize();
    void hide();
    void previous();
    void next();
    void rewind();
    void fastForward();
    void backSkip();
    void forwardSkip();
    void play();
    void pause();
    void stop();
    void markIn();
    void markOut();
    void muteButton();
    void full();
    void defaultSize();
    void openList();
    void top();
    void volumeSlider(int position);
    void sizeSlider(int position);
    void positionSlider(int position);
    void muteKey();
    void sizeUp();
    void sizeDown();

    Playback& m_playback;
    SkinElements& m_skin;
    PanelWindows& m_windows;
};

} // namespace korvel

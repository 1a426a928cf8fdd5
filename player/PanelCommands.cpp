#include "player/PanelCommands.h"

#include "playback/Playback.h"
#include "player/PanelWindows.h"
#include "playlist/PlayListColumns.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinElements.h"

#include <algorithm>
#include <array>

namespace korvel {

namespace Panel = PlayerElement;

namespace {

constexpr std::int32_t SkipMs = 5000;
constexpr std::int32_t MinuteMs = 60000;

} // namespace

// The tables, in the order the panel has always tested them.
struct PanelTables {
    using P = PanelCommands;
    static constexpr std::array<P::Button, 19> Buttons{{
        {Panel::ButtonExit, &P::exit},
        {Panel::ButtonMinimize, &P::minimize},
        {Panel::ButtonHide, &P::hide},
        {Panel::ButtonPrev, &P::previous},
        {Panel::ButtonNext, &P::next},
        {Panel::ButtonRewind, &P::rewind},
        {Panel::ButtonFastForward, &P::fastForward},
        {Panel::ButtonBackSkip, &P::backSkip},
        {Panel::ButtonForwardSkip, &P::forwardSkip},
        {Panel::ButtonPlay, &P::play},
        {Panel::ButtonPause, &P::pause},
        {Panel::ButtonStop, &P::stop},
        {Panel::ButtonMarkIn, &P::markIn},
        {Panel::ButtonMarkOut, &P::markOut},
        {Panel::ButtonMute, &P::muteButton},
        {Panel::ButtonFull, &P::full},
        {Panel::ButtonDefault, &P::defaultSize},
        {Panel::ButtonOpen, &P::openList},
        {Panel::ButtonTop, &P::top},
    }};
    static constexpr std::array<P::Slider, 3> Sliders{{
        {Panel::TrackBarVolume, &P::volumeSlider},
        {Panel::TrackBarSize, &P::sizeSlider},
        {Panel::TrackBarPos, &P::positionSlider},
    }};
    static constexpr std::array<P::Key, 11> Keys{{
        {Qt::Key_P, true, &P::play},
        {Qt::Key_A, true, &P::pause},
        {Qt::Key_S, true, &P::stop},
        {Qt::Key_F11, false, &P::muteKey},
        {Qt::Key_PageUp, false, &P::previous},
        {Qt::Key_PageDown, false, &P::next},
        {Qt::Key_L, true, &P::openList},
        {Qt::Key_Right, false, &P::fastForward},
        {Qt::Key_Left, false, &P::rewind},
        {Qt::Key_Up, false, &P::sizeUp},
        {Qt::Key_Down, false, &P::sizeDown},
    }};
};

PanelCommands::PanelCommands(Playback& playback, SkinElements& skin, PanelWindows& windows)
    : m_playback(playback), m_skin(skin), m_windows(windows) {}

std::span<const PanelCommands::Button> PanelCommands::buttons() { return PanelTables::Buttons; }

std::span<const PanelCommands::Slider> PanelCommands::sliders() { return PanelTables::Sliders; }

std::span<const PanelCommands::Key> PanelCommands::keys() { return PanelTables::Keys; }

void PanelCommands::SkinForm1MouseUpNotify(QStringView id, Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    for (const Button& row : buttons()) {
        if (row.id == id) (this->*row.run)();
    }
}

void PanelCommands::SkinForm1TrackBarNotify(QStringView id, int position) {
    for (const Slider& row : sliders()) {
        if (row.id == id) (this->*row.run)(position);
    }
}

namespace {
bool matches(const PanelCommands::Key& row, int key, Qt::KeyboardModifiers modifiers) {
    return row.key == key && (!row.ctrl || modifiers.testFlag(Qt::ControlModifier));
}
} // namespace

void PanelCommands::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    for (const Key& row : keys()) {
        if (matches(row, key, modifiers)) (this->*row.run)();
    }
}

bool PanelCommands::takesKey(int key, Qt::KeyboardModifiers modifiers) {
    return std::any_of(keys().begin(), keys().end(),
                       [&](const Key& row) { return matches(row, key, modifiers); });
}

void PanelCommands::exit() { m_windows.closePlayer(); }
void PanelCommands::minimize() { m_windows.minimizeAll(); }
void PanelCommands::hide() { m_windows.hidePanel(); }
void PanelCommands::previous() { m_playback.PlayNextEntry(-1); }
void PanelCommands::next() { m_playback.PlayNextEntry(+1); }
void PanelCommands::rewind() { m_playback.SeekBy(true, -SkipMs); }
void PanelCommands::fastForward() { m_playback.SeekBy(true, SkipMs); }
void PanelCommands::backSkip() { m_playback.SeekBy(false, -MinuteMs); }
void PanelCommands::forwardSkip() { m_playback.SeekBy(false, MinuteMs); }
void PanelCommands::play() { m_playback.ResumePlay(); }
void PanelCommands::pause() { m_playback.PauseCommand(); }
void PanelCommands::stop() { m_playback.StopPlayback(); }
void PanelCommands::markIn() { m_playback.MarkPosition(PlayListColumns::StartColumn); }
void PanelCommands::markOut() { m_playback.MarkPosition(PlayListColumns::EndColumn); }
// The click has flipped the button already: the sound follows its new state.
void PanelCommands::muteButton() { m_playback.ApplyMute(m_skin.GetButtonState(Panel::ButtonMute)); }
void PanelCommands::full() { m_playback.EnterFullScreen(); }
void PanelCommands::defaultSize() { m_playback.DefaultSize(); }
void PanelCommands::openList() { m_windows.showPlayList(); }
void PanelCommands::top() { m_windows.setTopmost(m_skin.GetButtonState(Panel::ButtonTop)); }
void PanelCommands::volumeSlider(int position) { m_playback.VolumeSlider(position); }
// The size follows the slider's position, which the skin has set already.
void PanelCommands::sizeSlider(int) { m_playback.ApplySize(); }
void PanelCommands::positionSlider(int position) { m_playback.PositionSlider(position); }

// The button shows the new state once it is the playback's.
void PanelCommands::muteKey() { m_playback.ApplyMute(!m_skin.GetButtonState(Panel::ButtonMute)); }

void PanelCommands::sizeUp() { m_playback.StepSize(-1); }
void PanelCommands::sizeDown() { m_playback.StepSize(+1); }

} // namespace korvel

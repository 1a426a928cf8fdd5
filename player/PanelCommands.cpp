#include "player/PanelCommands.h"

#include "base/PathBytes.h"
#include "command/CommandTaker.h"
#include "playback/PlaybackState.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinElements.h"

#include <algorithm>
#include <array>

namespace korvel {

namespace Panel = PlayerElement;

namespace {

using From = PanelCommands::Argument::From;

constexpr PanelCommands::Argument none() { return {}; }
constexpr PanelCommands::Argument number(std::int64_t n) { return {From::Number, n, {}}; }
constexpr PanelCommands::Argument down(QStringView toggle) { return {From::Down, 0, toggle}; }
constexpr PanelCommands::Argument up(QStringView toggle) { return {From::Up, 0, toggle}; }

constexpr std::int64_t SkipMs = 5000;
constexpr std::int64_t MinuteMs = 60000;

// The tables, in the order the panel has always tested them.
constexpr std::array<PanelCommands::Button, 20> Buttons{{
    {Panel::ButtonExit, Verb::Quit, none()},
    {Panel::ButtonMinimize, Verb::Minimize, none()},
    {Panel::ButtonHide, Verb::HidePanel, none()},
    {Panel::ButtonPrev, Verb::Previous, none()},
    {Panel::ButtonNext, Verb::Next, none()},
    {Panel::ButtonRewind, Verb::Scan, number(-SkipMs)},
    {Panel::ButtonFastForward, Verb::Scan, number(SkipMs)},
    {Panel::ButtonBackSkip, Verb::SeekBy, number(-MinuteMs)},
    {Panel::ButtonForwardSkip, Verb::SeekBy, number(MinuteMs)},
    {Panel::ButtonPlay, Verb::Play, none()},
    {Panel::ButtonPause, Verb::Pause, none()},
    {Panel::ButtonStop, Verb::Stop, none()},
    {Panel::ButtonMarkIn, Verb::MarkStart, none()},
    {Panel::ButtonMarkOut, Verb::MarkEnd, none()},
    {Panel::ButtonMute, Verb::Mute, down(Panel::ButtonMute)},
    {Panel::ButtonFull, Verb::FullScreen, none()},
    {Panel::ButtonDefault, Verb::Size, number(PlaybackState::NaturalSize)},
    {Panel::ButtonOpen, Verb::ShowList, none()},
    {Panel::ButtonTop, Verb::Top, down(Panel::ButtonTop)},
    {Panel::ButtonFix, Verb::Fix, down(Panel::ButtonFix)},
}};
constexpr std::array<PanelCommands::Slider, 3> Sliders{{
    {Panel::TrackBarVolume, Verb::Volume},
    {Panel::TrackBarSize, Verb::Size},
    {Panel::TrackBarPos, Verb::SeekShare},
}};
// F11 turns the sound to the opposite of what the button shows; the button follows the state.
constexpr std::array<PanelCommands::Key, 11> Keys{{
    {Qt::Key_P, true, Verb::Play, none()},
    {Qt::Key_A, true, Verb::Pause, none()},
    {Qt::Key_S, true, Verb::Stop, none()},
    {Qt::Key_F11, false, Verb::Mute, up(Panel::ButtonMute)},
    {Qt::Key_PageUp, false, Verb::Previous, none()},
    {Qt::Key_PageDown, false, Verb::Next, none()},
    {Qt::Key_L, true, Verb::ShowList, none()},
    {Qt::Key_Right, false, Verb::Scan, number(SkipMs)},
    {Qt::Key_Left, false, Verb::Scan, number(-SkipMs)},
    {Qt::Key_Up, false, Verb::StepSize, number(-1)},
    {Qt::Key_Down, false, Verb::StepSize, number(+1)},
}};

// The panel's toggles and the values of the playback state they show.
struct Toggle {
    QStringView id;
    Verb verb;
    bool PlaybackState::*shown;
};
constexpr std::array<Toggle, 3> Toggles{{
    {Panel::ButtonMute, Verb::Mute, &PlaybackState::mute},
    {Panel::ButtonTop, Verb::Top, &PlaybackState::top},
    {Panel::ButtonFix, Verb::Fix, &PlaybackState::fix},
}};

bool matches(const PanelCommands::Key& row, int key, Qt::KeyboardModifiers modifiers) {
    return row.key == key && (!row.ctrl || modifiers.testFlag(Qt::ControlModifier));
}

} // namespace

PanelCommands::PanelCommands(CommandTaker& commands, const SkinElements& skin)
    : m_commands(commands), m_skin(skin) {}

std::span<const PanelCommands::Button> PanelCommands::buttons() { return Buttons; }

std::span<const PanelCommands::Slider> PanelCommands::sliders() { return Sliders; }

std::span<const PanelCommands::Key> PanelCommands::keys() { return Keys; }

void PanelCommands::run(Verb verb, const Argument& argument) {
    PlayerCommand command{verb, argument.number, QString()};
    if (argument.from == From::Down) command.number = m_skin.GetButtonState(argument.toggle);
    if (argument.from == From::Up) command.number = !m_skin.GetButtonState(argument.toggle);
    m_commands.run(command);
}

void PanelCommands::SkinForm1MouseUpNotify(QStringView id, Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    for (const Button& row : buttons()) {
        if (row.id == id) run(row.verb, row.argument);
    }
    settleToggles();
}

// A press flips a toggle, and the release may come down elsewhere (outside every button, or on
// another one): what the toggle shows is the player's all the same, so the sound, the window's
// order and its size never disagree with the panel.
void PanelCommands::settleToggles() {
    const PlaybackState shown = m_commands.state();
    for (const Toggle& toggle : Toggles) {
        const bool down = m_skin.GetButtonState(toggle.id);
        if (down != shown.*toggle.shown) m_commands.run({toggle.verb, down, QString()});
    }
}

void PanelCommands::SkinForm1TrackBarNotify(QStringView id, int position) {
    for (const Slider& row : sliders()) {
        if (row.id == id) run(row.verb, number(position));
    }
}

void PanelCommands::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    for (const Key& row : keys()) {
        if (matches(row, key, modifiers)) run(row.verb, row.argument);
    }
}

void PanelCommands::FilesDropped(const QList<QUrl>& urls) {
    const QString location = urls.isEmpty() ? QString() : PathBytes::locationOf(urls.first());
    if (!location.isEmpty()) m_commands.run({Verb::Open, 0, location});
}

bool PanelCommands::takesKey(int key, Qt::KeyboardModifiers modifiers) {
    return std::any_of(keys().begin(), keys().end(),
                       [&](const Key& row) { return matches(row, key, modifiers); });
}

} // namespace korvel

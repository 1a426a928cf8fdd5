#include "command/PlayerMenu.h"

#include "base/FixedTexts.h"

#include <algorithm>

namespace korvel {

namespace {

using Kind = MenuEntry::Kind;
using Ask = MenuEntry::Ask;

MenuEntry command(const QString& text, PlayerCommand verb, const QString& key = QString()) {
    MenuEntry entry;
    entry.text = text;
    entry.command = verb;
    entry.key = key;
    return entry;
}

MenuEntry asking(const QString& text, Ask ask, Verb verb, const QString& key = QString()) {
    MenuEntry entry = command(text, verb, key);
    entry.ask = ask;
    entry.ownsKey = !key.isEmpty();
    return entry;
}

// A toggle runs its verb with the opposite of what it shows.
MenuEntry toggle(const QString& text, Verb verb, bool on, const QString& key = QString()) {
    MenuEntry entry = command(text, {verb, on ? 0 : 1}, key);
    entry.checkable = true;
    entry.checked = on;
    return entry;
}

MenuEntry separator() {
    MenuEntry entry;
    entry.kind = Kind::Separator;
    return entry;
}

MenuEntry submenu(const QString& text, MenuEntries entries) {
    MenuEntry entry;
    entry.kind = Kind::Submenu;
    entry.text = text;
    entry.entries = std::move(entries);
    return entry;
}

MenuEntries tracksOf(const MediaTracks& tracks, MediaTrack::Kind kind, Verb verb) {
    MenuEntries entries;
    for (const MediaTrack& track : tracks) {
        if (track.kind != kind) continue;
        MenuEntry entry = toggle(PlayerMenu::trackText(track), verb, track.selected);
        // Choosing the track that plays keeps it: a track is never turned off by itself.
        entry.command.number = track.id;
        entries.append(entry);
    }
    return entries;
}

} // namespace

MenuEntries PlayerMenu::entries(const Input& input) { return entries(input, MenuEntry{}); }

MenuEntry PlayerMenu::skins(const QStringList& names, const QString& current) {
    MenuEntries entries;
    for (const QString& name : QStringList{QString()} + names) {
        MenuEntry entry = command(name.isEmpty() ? QString(FixedTexts::SkinBuiltIn) : name,
                                  {Verb::Skin, 0, name});
        entry.checkable = true;
        entry.checked = name == current;
        entries.append(entry);
    }
    return submenu(FixedTexts::MenuSkin, entries);
}

MenuEntries PlayerMenu::entries(const Input& input, const MenuEntry& extra) {
    const PlaybackState& state = input.state;
    MenuEntries menu{
        asking(FixedTexts::MenuOpenFiles, Ask::Files, Verb::Add, QStringLiteral("Ctrl+O")),
        asking(FixedTexts::MenuOpenLocation, Ask::Location, Verb::Open, QStringLiteral("Ctrl+U")),
        separator(),
        audioTracks(input.tracks),
        subtitles(input.tracks),
    };
    if (extra.kind == Kind::Submenu) menu.append(extra);
    menu.append({
        separator(),
        toggle(FixedTexts::MenuTop, Verb::Top, state.top),
        toggle(FixedTexts::MenuFix, Verb::Fix, state.fix),
        toggle(FixedTexts::MenuMute, Verb::Mute, state.mute, QStringLiteral("F11")),
        command(FixedTexts::MenuPlayList, Verb::ShowList, QStringLiteral("Ctrl+L")),
        command(FixedTexts::MenuFullScreen, Verb::FullScreen),
        separator(),
        asking(FixedTexts::MenuAbout, Ask::About, Verb::Raise),
        command(FixedTexts::MenuQuit, Verb::Quit),
    });
    return menu;
}

QString PlayerMenu::trackText(const MediaTrack& track) {
    QStringList parts;
    if (!track.language.isEmpty()) parts.append(track.language);
    if (!track.title.isEmpty()) parts.append(track.title);
    const QString number = FixedTexts::MenuTrack.arg(track.id);
    return parts.isEmpty() ? number : number + QStringLiteral(": ") + parts.join(u" – ");
}

MenuEntry PlayerMenu::audioTracks(const MediaTracks& tracks) {
    MenuEntries entries = tracksOf(tracks, MediaTrack::Kind::Audio, Verb::AudioTrack);
    if (entries.isEmpty()) {
        MenuEntry none;
        none.kind = Kind::Note;
        none.text = FixedTexts::MenuNoTracks;
        entries.append(none);
    }
    return submenu(FixedTexts::MenuAudioTrack, entries);
}

MenuEntry PlayerMenu::subtitles(const MediaTracks& tracks) {
    MenuEntries entries = tracksOf(tracks, MediaTrack::Kind::Subtitle, Verb::SubtitleTrack);
    const bool shown = std::any_of(entries.begin(), entries.end(),
                                   [](const MenuEntry& entry) { return entry.checked; });
    MenuEntry off = toggle(FixedTexts::MenuSubtitlesOff, Verb::SubtitleTrack, !shown);
    off.command.number = 0;
    entries.prepend(off);
    entries.append(separator());
    entries.append(asking(FixedTexts::MenuLoadSubtitles, Ask::Subtitles, Verb::LoadSubtitles));
    return submenu(FixedTexts::MenuSubtitles, entries);
}

} // namespace korvel

#include "command/PlayerMenu.h"

#include "base/FixedTexts.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

using Ask = MenuEntry::Ask;
using Kind = MenuEntry::Kind;

const MenuEntry* find(const MenuEntries& entries, const QString& text) {
    for (const MenuEntry& entry : entries) {
        if (entry.text == text) return &entry;
    }
    return nullptr;
}

const MediaTracks Film{
    {MediaTrack::Kind::Audio, 1, "eng", "Stereo", false, false},
    {MediaTrack::Kind::Audio, 2, "jpn", QString(), true, false},
    {MediaTrack::Kind::Subtitle, 1, QString(), QString(), false, false},
};

} // namespace

// Fault: an entry that runs another verb than it says, a toggle that shows one state and
// sets the same one again, or keys the panel already takes bound a second time.
TEST(PlayerMenu, EachEntryRunsItsVerbAndTogglesShowTheState) {
    PlayerMenu::Input input;
    input.state.mute = true;
    input.state.fix = false;
    input.state.top = true;
    const MenuEntries menu = PlayerMenu::entries(input);
    const struct {
        FixedText text;
        PlayerCommand command;
        Ask ask;
        const char* key;
        bool ownsKey;
        bool checkable;
        bool checked;
    } rows[] = {
        {FixedTexts::MenuOpenFiles, {Verb::Add}, Ask::Files, "Ctrl+O", true, false, false},
        {FixedTexts::MenuOpenLocation, {Verb::Open}, Ask::Location, "Ctrl+U", true, false, false},
        {FixedTexts::MenuTop, {Verb::Top, 0}, Ask::Nothing, "", false, true, true},
        {FixedTexts::MenuFix, {Verb::Fix, 1}, Ask::Nothing, "", false, true, false},
        {FixedTexts::MenuMute, {Verb::Mute, 0}, Ask::Nothing, "F11", false, true, true},
        {FixedTexts::MenuPlayList, {Verb::ShowList}, Ask::Nothing, "Ctrl+L", false, false, false},
        {FixedTexts::MenuFullScreen, {Verb::FullScreen}, Ask::Nothing, "", false, false, false},
        {FixedTexts::MenuAbout, {Verb::Raise}, Ask::About, "", false, false, false},
        {FixedTexts::MenuQuit, {Verb::Quit}, Ask::Nothing, "", false, false, false},
    };
    for (const auto& row : rows) {
        const MenuEntry* entry = find(menu, row.text);
        ASSERT_TRUE(entry) << row.text.source();
        EXPECT_EQ(entry->command, row.command) << row.text.source();
        EXPECT_EQ(entry->ask, row.ask) << row.text.source();
        EXPECT_EQ(entry->key, QString::fromLatin1(row.key)) << row.text.source();
        EXPECT_EQ(entry->ownsKey, row.ownsKey) << row.text.source();
        EXPECT_EQ(entry->checkable, row.checkable) << row.text.source();
        EXPECT_EQ(entry->checked, row.checked) << row.text.source();
    }

    // Room for one more submenu, before the toggles.
    MenuEntry skins;
    skins.kind = Kind::Submenu;
    skins.text = "Skin";
    const MenuEntries more = PlayerMenu::entries(input, skins);
    ASSERT_EQ(more.size(), menu.size() + 1);
    EXPECT_EQ(more[5].text, "Skin");
}

// Fault: the engine's tracks shown without the current one checked, choosing the track that
// plays turning it off, or subtitles without a way to turn them off or load a file.
TEST(PlayerMenu, TracksAsTheEngineReportsThem) {
    PlayerMenu::Input input;
    input.tracks = Film;
    const MenuEntries menu = PlayerMenu::entries(input);
    const MenuEntry* audio = find(menu, FixedTexts::MenuAudioTrack);
    ASSERT_TRUE(audio);
    ASSERT_EQ(audio->entries.size(), 2);
    EXPECT_EQ(audio->entries[0].text, "Track 1: eng – Stereo");
    EXPECT_EQ(audio->entries[1].text, "Track 2: jpn");
    EXPECT_FALSE(audio->entries[0].checked);
    EXPECT_TRUE(audio->entries[1].checked);
    EXPECT_EQ(audio->entries[1].command, (PlayerCommand{Verb::AudioTrack, 2}));

    const MenuEntry* subtitles = find(menu, FixedTexts::MenuSubtitles);
    ASSERT_TRUE(subtitles);
    ASSERT_EQ(subtitles->entries.size(), 4);
    EXPECT_EQ(subtitles->entries[0].text, FixedTexts::MenuSubtitlesOff.text());
    EXPECT_TRUE(subtitles->entries[0].checked);
    EXPECT_EQ(subtitles->entries[0].command, (PlayerCommand{Verb::SubtitleTrack, 0}));
    EXPECT_EQ(subtitles->entries[1].text, "Track 1");
    EXPECT_EQ(subtitles->entries[1].command, (PlayerCommand{Verb::SubtitleTrack, 1}));
    EXPECT_EQ(subtitles->entries[2].kind, Kind::Separator);
    EXPECT_EQ(subtitles->entries[3].ask, Ask::Subtitles);
    EXPECT_EQ(subtitles->entries[3].command.verb, Verb::LoadSubtitles);

    input.tracks = {};
    const MenuEntries bare = PlayerMenu::entries(input);
    const MenuEntry* none = find(bare, FixedTexts::MenuAudioTrack);
    ASSERT_TRUE(none);
    ASSERT_EQ(none->entries.size(), 1);
    EXPECT_EQ(none->entries[0].kind, Kind::Note);
}

// Fault: the skin in use unchecked, the built-in skin missing from the choice, or a choice
// that gives another skin than it names.
TEST(PlayerMenu, SkinsToChooseFromBeforeTheToggles) {
    PlayerMenu::Input input;
    const MenuEntries menu =
        PlayerMenu::entries(input, PlayerMenu::skins({"Slate", "Mine"}, "Slate"));
    const MenuEntry* skins = find(menu, FixedTexts::MenuSkin);
    ASSERT_TRUE(skins);
    EXPECT_LT(skins - menu.data(), find(menu, FixedTexts::MenuTop) - menu.data());
    ASSERT_EQ(skins->entries.size(), 3);
    EXPECT_EQ(skins->entries[0].text, FixedTexts::SkinBuiltIn.text());
    EXPECT_EQ(skins->entries[0].command, (PlayerCommand{Verb::Skin, 0, QString()}));
    EXPECT_FALSE(skins->entries[0].checked);
    EXPECT_TRUE(skins->entries[1].checked);
    EXPECT_EQ(skins->entries[1].command, (PlayerCommand{Verb::Skin, 0, "Slate"}));
    EXPECT_EQ(skins->entries[2].command, (PlayerCommand{Verb::Skin, 0, "Mine"}));
    EXPECT_TRUE(PlayerMenu::skins({}, QString()).entries[0].checked) << "the built-in in use";
}

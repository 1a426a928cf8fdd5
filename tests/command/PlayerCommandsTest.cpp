#include "../support/CommandTestSupport.h"
#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "app/PlayListModelCells.h"
#include "base/KorvelError.h"
#include "engine/TrackList.h"
#include "playback/Playback.h"
#include "player/PanelCommands.h"
#include "player/PanelDisplays.h"
#include "playlist/PlayListColumns.h"
#include "skin/SkinEngine.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::test::FakeHost;
using korvel::test::FakeList;
using korvel::test::FakeMediaControl;
using korvel::test::FakeWindows;
using korvel::test::localTime;

namespace {

// The verbs run on a playback over a scripted engine; the panel's door and displays are the
// real ones where a test needs what the user sees.
class PlayerCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin.LoadSkin(QStringLiteral("Skin"));
        QObject::connect(&playback.notices(), &PlaybackNotices::changed,
                         [this](const PlaybackState& before, const PlaybackState& now) {
                             displays.show(before, now);
                         });
        playback.attachPlayList(&list);
        playback.FormShow(QString());
        control.source = "/clips/a.mpg";
        control.length = 600000;
        at(70000);
        control.log.clear();
        host.sizes.clear();
        host.eventRuns = 0;
    }
    void run(Verb verb, std::int64_t number = 0, const QString& text = QString()) {
        commands.run(PlayerCommand{verb, number, text});
    }
    void click(const QString& id) { panel.SkinForm1MouseUpNotify(id, Qt::LeftButton); }
    // The engine reports the clip at `ms`.
    void at(std::int64_t ms) { playback.RealAudio1PositionChange(ms, control.length); }
    int size() const { return skin.GetTrackBarPosition(u"TRACKBAR_SIZE"); }

    FakeMediaControl control;
    FakeHost host;
    FakeList list = FakeList::withFlags({"On", "On"});
    SkinEngine skin;
    PanelDisplays displays{skin};
    FakeWindows windows;
    Playback playback{control, host, [](int) { return 0; }};
    PlayerCommands commands{playback, windows};
    PanelCommands panel{commands, skin};
};

} // namespace

// Fault: a verb reaching the wrong operation, or an argument out of its range taken.
TEST_F(PlayerCommandsTest, VerbsRunTheirOperations) {
    const struct {
        Verb verb;
        std::int64_t number;
        QStringList engine;
        QStringList windows;
    } rows[] = {
        {Verb::Quit, 0, {}, {"closePlayer"}},
        {Verb::Minimize, 0, {}, {"minimizeAll"}},
        {Verb::HidePanel, 0, {}, {"hidePanel"}},
        {Verb::ShowList, 0, {}, {"showPlayList"}},
        {Verb::Raise, 0, {}, {"raise"}},
        {Verb::Scan, -5000, {"SeekTo:65000"}, {}},
        {Verb::SeekBy, 60000, {"SeekTo:130000"}, {}},
        {Verb::SeekTo, 12000, {"SeekTo:12000"}, {}},
        {Verb::Play, 0, {"StartPlay", "SeekTo:70000"}, {}},
        {Verb::Pause, 0, {"PausePlay"}, {}},
        {Verb::Stop, 0, {"StopPlay"}, {}},
        {Verb::FullScreen, 0, {"EnterFullScreen"}, {}},
        {Verb::Mute, 1, {"ApplyMute:1"}, {}},
        {Verb::Volume, 40, {"ApplyVolume:40"}, {}},
        {Verb::AudioTrack, 2, {"SelectTrack:0,2"}, {}},
        {Verb::SubtitleTrack, 0, {"SelectTrack:1,0"}, {}},
    };
    for (const auto& row : rows) {
        at(70000);
        control.log.clear();
        windows.calls.clear();
        control.fullScreen = false;
        run(row.verb, row.number);
        EXPECT_EQ(control.log, row.engine) << int(row.verb);
        EXPECT_EQ(windows.calls, row.windows) << int(row.verb);
    }
    control.log.clear();
    const struct {
        Verb verb;
        std::int64_t number;
    } refused[] = {{Verb::Volume, 101},   {Verb::Size, -1},          {Verb::SeekShare, 200},
                   {Verb::Mute, 2},       {Verb::StepSize, 3},       {Verb::SeekBy, 1LL << 40},
                   {Verb::AudioTrack, 0}, {Verb::SubtitleTrack, -1}, {Verb::LoadSubtitles, 0}};
    for (const auto& row : refused) EXPECT_THROW(run(row.verb, row.number), KorvelError);
    EXPECT_TRUE(control.log.isEmpty());
    windows.calls.clear();
    run(Verb::Skin, 0, QStringLiteral("Night"));
    EXPECT_EQ(windows.calls, QStringList{QStringLiteral("applySkin:Night")});
}

// Pause at 1:10 then play continues there; fast-forward's repetition ends with pause, play
// and stop alike.
TEST_F(PlayerCommandsTest, PlayContinuesWhereItWasAndCutsARepeat) {
    for (const char* cut : {"BUTTON_PAUSE", "BUTTON_PLAY", "BUTTON_STOP"}) {
        click("BUTTON_FF");
        EXPECT_TRUE(playback.seekRepeat());
        click(QString::fromLatin1(cut));
        EXPECT_FALSE(playback.seekRepeat()) << cut;
    }
    at(70000);
    control.log.clear();
    click("BUTTON_PAUSE");
    click("BUTTON_PLAY");
    EXPECT_EQ(control.log, QStringList({"PausePlay", "StartPlay", "SeekTo:70000"}));

    // Fault: a clip that has played out is held at its end, and play (after a stop too)
    // went straight back there. The last 100 ms are the end; before them play continues.
    const struct {
        std::int64_t position, length, seek;
    } ends[] = {{600000, 600000, 0},
                {599901, 600000, 0},
                {599900, 600000, 599900},
                {600016, 600000, 0},
                {70000, 0, 70000}};
    for (const auto& end : ends) {
        control.length = end.length;
        at(end.position);
        control.log.clear();
        run(Verb::Stop);
        run(Verb::Play);
        EXPECT_EQ(control.log,
                  QStringList({"StopPlay", "StartPlay", QStringLiteral("SeekTo:%1").arg(end.seek)}))
            << end.position << " of " << end.length;
    }
}

// F11 turns the sound off and puts the button down, and again back; Shift makes no
// difference.
TEST_F(PlayerCommandsTest, F11FlipsTheMuteButtonAndTheSound) {
    panel.HandleKey(Qt::Key_F11, Qt::NoModifier);
    EXPECT_TRUE(skin.GetButtonState(u"BUTTON_MUTE"));
    panel.HandleKey(Qt::Key_F11, Qt::ShiftModifier);
    EXPECT_FALSE(skin.GetButtonState(u"BUTTON_MUTE"));
    EXPECT_EQ(control.log, QStringList({"ApplyMute:1", "ApplyMute:0"}));
}

// Fault: TOP asked for by another door (the menu) left the panel's button up; a toggle the
// pointer flipped without a release on it left the sound or the order as they were, to
// follow at the next clip.
TEST_F(PlayerCommandsTest, TheTogglesShowWhatThePlayerDoes) {
    run(Verb::Top, 1);
    EXPECT_EQ(host.topmost, QList<bool>({true}));
    EXPECT_TRUE(playback.state().top);
    EXPECT_TRUE(skin.GetButtonState(u"BUTTON_TOP"));

    skin.SetButtonState(u"BUTTON_MUTE", true); // pressed, released outside every button
    click(QString());
    EXPECT_EQ(control.log, QStringList({"ApplyMute:1"}));
    EXPECT_TRUE(playback.state().mute);
    skin.SetButtonState(u"BUTTON_TOP", false); // pressed, released on STOP
    click(QStringLiteral("BUTTON_STOP"));
    EXPECT_EQ(host.topmost, QList<bool>({true, false}));
    click(QString());
    EXPECT_EQ(host.topmost.size(), 2);
    EXPECT_EQ(control.log.count("ApplyMute:1"), 1);
}

// Fault: the size kept in the slider instead of the state (the slider and the picture, or
// the bus and the settings, then disagree). The arrows step it by 20 within 0..100, natural
// size is 20, and the slider shows each.
TEST_F(PlayerCommandsTest, SizeIsTheStatesAndTheSliderShowsIt) {
    run(Verb::Size, 10);
    panel.HandleKey(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(playback.state().size, 0);
    EXPECT_EQ(size(), 0);
    run(Verb::Size, 90);
    panel.HandleKey(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(size(), 100);
    click("BUTTON_DEFO");
    EXPECT_EQ(playback.state().size, 20);
    EXPECT_EQ(size(), 20);
    EXPECT_EQ(host.sizes,
              QList<QSize>({{240, 180}, {160, 120}, {880, 660}, {960, 720}, {320, 240}}));
}

// The position slider seeks to its share of the clip's length, in 64 bits; the volume
// remembers the engine's own volume before it sets its first.
TEST_F(PlayerCommandsTest, SeekShareAndVolume) {
    run(Verb::SeekShare, 50);
    control.length = 30 * 3600000LL;
    run(Verb::SeekShare, 99);
    EXPECT_EQ(control.calls("SeekTo"), QStringList({"SeekTo:300000", "SeekTo:106920000"}));
    EXPECT_EQ(host.eventRuns, 2);
    EXPECT_EQ(playback.state().positionMs, 106920000);

    control.volume = 200;
    EXPECT_EQ(playback.savedVolume(), 0);
    run(Verb::Volume, 30);
    EXPECT_EQ(playback.savedVolume(), 200);
    control.volume = 120;
    run(Verb::Volume, 60);
    EXPECT_EQ(playback.savedVolume(), 200);
    EXPECT_EQ(control.calls("ApplyVolume"), QStringList({"ApplyVolume:30", "ApplyVolume:60"}));
    EXPECT_EQ(skin.GetTrackBarPosition(u"TRACKBAR_VOLUME"), 60);
}

// Marks only land in the list while a list entry plays; next and previous step through the
// list once it plays from the top.
TEST_F(PlayerCommandsTest, MarksAndStepsNeedListMode) {
    list.current = 1;
    run(Verb::MarkStart);
    EXPECT_EQ(list.cell(5, 1), "");
    run(Verb::PlayList);
    at(61000);
    run(Verb::MarkStart);
    at(122000);
    run(Verb::MarkEnd);
    EXPECT_EQ(list.cell(5, 1), localTime("00:01:01"));
    EXPECT_EQ(list.cell(6, 1), localTime("00:02:02"));
    run(Verb::Next);
    run(Verb::Previous);
    EXPECT_EQ(control.calls("LoadSource"),
              QStringList({"LoadSource:/clips/1.mpg", "LoadSource:/clips/2.mpg",
                           "LoadSource:/clips/1.mpg"}));
}

// Fault: "list or clip?" answered differently by the doors, or a relative list on the command
// line taken for a clip. Another player's list is a local file by its kind; a .ram list and a
// stream's list are clips; a clip keeps its name as given.
TEST(PlayerCommandsOpening, ListOrClipIsDecidedOnce) {
    const struct {
        const char* location;
        const char* folder;
        const char* clip;
        const char* list;
    } rows[] = {
        {"/clips/a.avi", "", "/clips/a.avi", ""},
        {"/lists/b.M3U8", "", "", "/lists/b.M3U8"},
        {"file:///lists/c%20d.pls", "", "", "/lists/c d.pls"},
        {"e.xspf", "/home/u", "", "/home/u/e.xspf"},
        {"e.avi", "/home/u", "e.avi", ""},
        {"http://h/f.m3u", "/home/u", "http://h/f.m3u", ""},
        {"/lists/g.ram", "", "/lists/g.ram", ""},
    };
    for (const auto& row : rows) {
        const PlayerCommands::Opening opening = PlayerCommands::opening(
            QString::fromLatin1(row.location), QString::fromLatin1(row.folder));
        EXPECT_EQ(opening.clip, QString::fromLatin1(row.clip)) << row.location;
        EXPECT_EQ(opening.list, QString::fromLatin1(row.list)) << row.location;
    }
}

// Fault: files chosen together taken one at a time (each playing alone), or played when
// they should only have joined. Each joins after what the list holds; the first plays.
TEST(PlayerCommandsAdd, FilesJoinTheListAndTheFirstPlays) {
    FakeMediaControl control;
    FakeHost host;
    FakeWindows windows;
    PlayListModel model;
    PlayListModelCells cells(model);
    Playback playback{control, host, [](int) { return 0; }};
    playback.attachPlayList(&cells);
    PlayerCommands commands{playback, windows, &model};
    commands.run({Verb::Add, 0, "/clips/old.mpg"});
    EXPECT_TRUE(control.calls("LoadSource").isEmpty());
    commands.run({Verb::Add, 1, "/clips/a.mpg"});
    commands.run({Verb::Add, 0, "/clips/b.mpg"});
    ASSERT_EQ(model.entryCount(), 3);
    EXPECT_EQ(model.cell(PlayListColumns::LocationColumn, 3), "/clips/b.mpg");
    EXPECT_EQ(model.cell(PlayListColumns::NoColumn, 3), "3");
    EXPECT_EQ(control.calls("LoadSource"), QStringList({"LoadSource:/clips/a.mpg"}));
    EXPECT_THROW(commands.run({Verb::Add, 1, QString()}), KorvelError);
    EXPECT_THROW(commands.run({Verb::Add, 2, "/clips/c.mpg"}), KorvelError);
    EXPECT_EQ(model.entryCount(), 3);
}

// Fault: the engine's track list misread (pictures offered as sound, the current track not
// marked), or a broken answer failing the menu.
TEST(TrackListParse, SoundAndSubtitleTracksInTheEnginesOrder) {
    const QByteArray json = R"([
        {"id":1,"type":"video","selected":true},
        {"id":1,"type":"audio","lang":"eng","title":"Stereo","selected":false},
        {"id":2,"type":"audio","lang":"jpn","selected":true},
        {"id":1,"type":"sub","title":"Signs","external":true,"selected":true},
        {"id":0,"type":"sub"}, "nonsense"])";
    const MediaTracks tracks = TrackList::parse(json);
    using K = MediaTrack::Kind;
    ASSERT_EQ(tracks.size(), 3);
    EXPECT_EQ(tracks[0], (MediaTrack{K::Audio, 1, "eng", "Stereo", false, false}));
    EXPECT_EQ(tracks[1], (MediaTrack{K::Audio, 2, "jpn", QString(), true, false}));
    EXPECT_EQ(tracks[2], (MediaTrack{K::Subtitle, 1, QString(), "Signs", true, true}));
    EXPECT_TRUE(TrackList::parse("{\"id\":1}").isEmpty());
    EXPECT_TRUE(TrackList::parse("not json").isEmpty());
}

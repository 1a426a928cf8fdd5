#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "playback/Playback.h"
#include "player/PanelCommands.h"
#include "player/PanelDisplays.h"
#include "player/PanelWindows.h"
#include "skin/SkinEngine.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::test::FakeHost;
using korvel::test::FakeList;
using korvel::test::FakeMediaControl;
using korvel::test::localTime;

namespace {

class FakeWindows : public PanelWindows {
public:
    void closePlayer() override { calls << "closePlayer"; }
    void minimizeAll() override { calls << "minimizeAll"; }
    void hidePanel() override { calls << "hidePanel"; }
    void showPlayList() override { calls << "showPlayList"; }
    void setTopmost(bool on) override { calls << QStringLiteral("setTopmost:%1").arg(on); }
    QStringList calls;
};

class PanelCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin.LoadSkin(QStringLiteral("Skin"));
        playback.attachPanel(&skin);
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
    void click(const QString& id) { commands.SkinForm1MouseUpNotify(id, Qt::LeftButton); }
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
    PanelCommands commands{playback, skin, windows};
};

} // namespace

// Fault: a button or slider of the skin without its command, or the commands tested in
// another order (a failure then leaves other rows run or unrun).
TEST_F(PanelCommandsTest, EveryButtonAndSliderOfTheSkinHasItsRowInOrder) {
    const QStringList order = {"BUTTON_EXIT",   "BUTTON_MINIMIZE", "BUTTON_HIDE",  "BUTTON_PREV",
                               "BUTTON_NEXT",   "BUTTON_REW",      "BUTTON_FF",    "BUTTON_BKSKIP",
                               "BUTTON_FWSKIP", "BUTTON_PLAY",     "BUTTON_PAUSE", "BUTTON_STOP",
                               "BUTTON_MKIN",   "BUTTON_MKOUT",    "BUTTON_MUTE",  "BUTTON_FULL",
                               "BUTTON_DEFO",   "BUTTON_OPEN",     "BUTTON_TOP"};
    QStringList rows;
    for (const auto& row : PanelCommands::buttons()) rows << row.id.toString();
    EXPECT_EQ(rows, order);
    for (const HotAreaInfoRec& area : skin.model().HotAreas) {
        if (area.ID == u"BUTTON_FIX") continue; // read by the sizing, no command of its own
        EXPECT_TRUE(rows.contains(area.ID)) << area.ID.toStdString();
    }
    QStringList sliders;
    for (const auto& row : PanelCommands::sliders()) sliders << row.id.toString();
    EXPECT_EQ(sliders, QStringList({"TRACKBAR_VOLUME", "TRACKBAR_SIZE", "TRACKBAR_POS"}));
    for (const TrackBarInfoRec& bar : skin.model().TrackBars) {
        EXPECT_TRUE(sliders.contains(bar.ID)) << bar.ID.toStdString();
    }
}

// Fault: a button reaching the wrong operation. Each row against what it must do.
TEST_F(PanelCommandsTest, ButtonsRunTheirCommands) {
    const struct {
        const char* id;
        QStringList engine;
        QStringList windows;
    } rows[] = {
        {"BUTTON_EXIT", {}, {"closePlayer"}},
        {"BUTTON_MINIMIZE", {}, {"minimizeAll"}},
        {"BUTTON_HIDE", {}, {"hidePanel"}},
        {"BUTTON_OPEN", {}, {"showPlayList"}},
        {"BUTTON_REW", {"SeekTo:65000"}, {}},
        {"BUTTON_FF", {"SeekTo:75000"}, {}},
        {"BUTTON_BKSKIP", {"SeekTo:10000"}, {}},
        {"BUTTON_FWSKIP", {"SeekTo:130000"}, {}},
        {"BUTTON_PLAY", {"StartPlay", "SeekTo:70000"}, {}},
        {"BUTTON_PAUSE", {"PausePlay"}, {}},
        {"BUTTON_STOP", {"StopPlay"}, {}},
        {"BUTTON_FULL", {"EnterFullScreen"}, {}},
        {"BUTTON_MUTE", {"ApplyMute:0"}, {}},
        {"BUTTON_TOP", {}, {"setTopmost:0"}},
        {"BUTTON_FIX", {}, {}},
        {"button_play", {}, {}},
        {"", {}, {}},
    };
    for (const auto& row : rows) {
        at(70000);
        control.log.clear();
        windows.calls.clear();
        control.fullScreen = false;
        click(QString::fromLatin1(row.id));
        EXPECT_EQ(control.log, row.engine) << row.id;
        EXPECT_EQ(windows.calls, row.windows) << row.id;
    }
}

// Fault: other mouse buttons running commands.
TEST_F(PanelCommandsTest, OnlyTheLeftButtonCounts) {
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        commands.SkinForm1MouseUpNotify(u"BUTTON_EXIT", button);
        commands.SkinForm1MouseUpNotify(u"BUTTON_STOP", button);
    }
    EXPECT_TRUE(windows.calls.isEmpty());
    EXPECT_TRUE(control.log.isEmpty());
}

// Pause at 1:10 then play continues there; fast-forward's repetition ends with pause, play
// and stop alike.
TEST_F(PanelCommandsTest, PlayContinuesWhereItWasAndCutsARepeat) {
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
        click("BUTTON_STOP");
        click("BUTTON_PLAY");
        EXPECT_EQ(control.log,
                  QStringList({"StopPlay", "StartPlay", QStringLiteral("SeekTo:%1").arg(end.seek)}))
            << end.position << " of " << end.length;
    }
}

// The keys: Ctrl where the key needs it (others held too), the rest whatever is held.
TEST_F(PanelCommandsTest, KeysRunTheirCommands) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        QStringList engine;
        QStringList windows;
    } rows[] = {
        {Qt::Key_P, Qt::ControlModifier, {"StartPlay", "SeekTo:70000"}, {}},
        {Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, {"StartPlay", "SeekTo:70000"}, {}},
        {Qt::Key_P, Qt::NoModifier, {}, {}},
        {Qt::Key_A, Qt::ControlModifier, {"PausePlay"}, {}},
        {Qt::Key_S, Qt::ControlModifier, {"StopPlay"}, {}},
        {Qt::Key_S, Qt::AltModifier, {}, {}},
        {Qt::Key_L, Qt::ControlModifier, {}, {"showPlayList"}},
        {Qt::Key_Right, Qt::ShiftModifier, {"SeekTo:75000"}, {}},
        {Qt::Key_Left, Qt::NoModifier, {"SeekTo:65000"}, {}},
        {Qt::Key_X, Qt::ControlModifier, {}, {}},
    };
    for (const auto& row : rows) {
        at(70000);
        control.log.clear();
        windows.calls.clear();
        commands.HandleKey(row.key, row.modifiers);
        EXPECT_EQ(control.log, row.engine) << row.key;
        EXPECT_EQ(windows.calls, row.windows) << row.key;
    }
}

// F11 turns the sound off and puts the button down, and again back; Shift makes no
// difference.
TEST_F(PanelCommandsTest, F11FlipsTheMuteButtonAndTheSound) {
    commands.HandleKey(Qt::Key_F11, Qt::NoModifier);
    EXPECT_TRUE(skin.GetButtonState(u"BUTTON_MUTE"));
    commands.HandleKey(Qt::Key_F11, Qt::ShiftModifier);
    EXPECT_FALSE(skin.GetButtonState(u"BUTTON_MUTE"));
    EXPECT_EQ(control.log, QStringList({"ApplyMute:1", "ApplyMute:0"}));
}

// The arrows step the size slider by 20 within 0..100; natural size is 20.
TEST_F(PanelCommandsTest, SizeKeysStayWithinTheSlider) {
    skin.SetTrackBarPosition(u"TRACKBAR_SIZE", 10);
    commands.HandleKey(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(size(), 0);
    skin.SetTrackBarPosition(u"TRACKBAR_SIZE", 90);
    commands.HandleKey(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(size(), 100);
    click("BUTTON_DEFO");
    EXPECT_EQ(size(), 20);
    EXPECT_EQ(host.sizes, QList<QSize>({{160, 120}, {960, 720}, {320, 240}}));
}

// The position slider seeks to its share of the clip's length, in 64 bits; the volume
// slider remembers the engine's own volume before it sets its first; the size slider sizes.
TEST_F(PanelCommandsTest, SlidersSeekSetTheVolumeAndSize) {
    commands.SkinForm1TrackBarNotify(u"TRACKBAR_POS", 50);
    control.length = 30 * 3600000LL;
    commands.SkinForm1TrackBarNotify(u"TRACKBAR_POS", 99);
    EXPECT_EQ(control.calls("SeekTo"), QStringList({"SeekTo:300000", "SeekTo:106920000"}));
    EXPECT_EQ(host.eventRuns, 2);
    // The same move as a seek from the desktop's controls: the target is the position shown.
    EXPECT_EQ(playback.state().positionMs, 106920000);

    control.volume = 200;
    EXPECT_EQ(playback.savedVolume(), 0);
    commands.SkinForm1TrackBarNotify(u"TRACKBAR_VOLUME", 30);
    EXPECT_EQ(playback.savedVolume(), 200);
    control.volume = 120;
    commands.SkinForm1TrackBarNotify(u"TRACKBAR_VOLUME", 60);
    EXPECT_EQ(playback.savedVolume(), 200);
    EXPECT_EQ(control.calls("ApplyVolume"), QStringList({"ApplyVolume:30", "ApplyVolume:60"}));

    // The size slider sizes the picture from where the skin has put it; no other slider does.
    skin.SetTrackBarPosition(u"TRACKBAR_SIZE", 60);
    commands.SkinForm1TrackBarNotify(u"TRACKBAR_SIZE", 60);
    EXPECT_EQ(host.sizes, QList<QSize>({{640, 480}}));
}

// Marks only land in the list while a list entry plays.
TEST_F(PanelCommandsTest, MarksNeedListMode) {
    list.current = 1;
    click("BUTTON_MKIN");
    EXPECT_EQ(list.cell(5, 1), "");
    playback.PlayFromTop();
    at(61000);
    click("BUTTON_MKIN");
    at(122000);
    click("BUTTON_MKOUT");
    EXPECT_EQ(list.cell(5, 1), localTime("00:01:01"));
    EXPECT_EQ(list.cell(6, 1), localTime("00:02:02"));
}

// Next and previous step through the list once it plays from the top.
TEST_F(PanelCommandsTest, NextAndPreviousFollowTheList) {
    playback.PlayFromTop();
    commands.HandleKey(Qt::Key_PageDown, Qt::NoModifier);
    click("BUTTON_PREV");
    EXPECT_EQ(control.calls("LoadSource"),
              QStringList({"LoadSource:/clips/1.mpg", "LoadSource:/clips/2.mpg",
                           "LoadSource:/clips/1.mpg"}));
}

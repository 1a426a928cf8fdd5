#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "base/TimeText.h"
#include "playback/PlayListCells.h"
#include "playback/Playback.h"
#include "playback/PlaybackHost.h"
#include "player/PanelDisplays.h"
#include "skin/SkinEngine.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

using namespace korvel;
using korvel::test::FakeHost;
using korvel::test::FakeList;
using korvel::test::FakeMediaControl;
using korvel::test::localTime;

namespace {

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel.LoadSkin(QStringLiteral("Skin"));
        QObject::connect(&playback.notices(), &PlaybackNotices::changed,
                         [this](const PlaybackState& before, const PlaybackState& now) {
                             displays.show(before, now);
                         });
        playback.attachPlayList(&list);
        playback.FormShow(QString());
        control.log.clear();
        host.sizes.clear();
    }

    QString display(const char* id) const {
        const SkinModel& m = panel.model();
        return m.Displays[std::size_t(m.findDisplay(QString(id)))].Text;
    }
    int slider(const char* id) const { return panel.GetTrackBarPosition(QString(id)); }
    void clip(const QString& source, std::int64_t length, const QString& title = "A clip") {
        control.source = source;
        control.length = length;
        control.title = title;
    }

    FakeMediaControl control;
    FakeHost host;
    FakeList list{3};
    SkinEngine panel;
    PanelDisplays displays{panel};
    Playback playback{control, host};
};

QString t(const char* text) { return QString::fromUtf8(text); }

} // namespace

// The show handler switches the engine's options on, starts at 320 x 240 and plays the
// command-line clip only when there is one.
TEST(PlaybackShow, ShowPlaysTheArgument) {
    FakeMediaControl control;
    FakeHost host;
    Playback playback(control, host);
    playback.FormShow(QString());
    EXPECT_EQ(control.log, QStringList({"OptionSwitch1:1", "OptionSwitch2:1", "OptionSwitch3:1"}));
    EXPECT_EQ(host.sizes, QList<QSize>({QSize(320, 240)}));
    EXPECT_EQ(playback.endPoint(), 200);
    EXPECT_EQ(playback.historyNext(), 1);
    playback.FormShow(t("/clips/日本語 clip.mp4"));
    EXPECT_EQ(control.log.mid(6),
              QStringList({t("LoadSource:/clips/日本語 clip.mp4"), "StartPlay"}));
}

// A clip without a title tag shows its file's name in the caption and on the panel, never
// an empty caption.
TEST_F(PlaybackTest, ClipWithoutTitleShowsItsFileName) {
    playback.OpenEntry(false, "/clips/untagged holiday.mp4");
    clip("/clips/untagged holiday.mp4", 60000, QString());
    playback.RealAudio1StateChange(1, 4);
    EXPECT_EQ(host.caption(), "untagged holiday.mp4");
    EXPECT_EQ(display("TEXT_TITLE"), "untagged holiday.mp4");
}

// Fault: a radio stream's caption, title display and published title kept the first song's
// while the stream told the next.
TEST_F(PlaybackTest, AStreamsNewTitleIsShownAndPublished) {
    playback.OpenEntry(false, "http://radio.example/live");
    clip("http://radio.example/live", 0, t("最初の曲"));
    playback.RealAudio1StateChange(1, 4);
    control.title = QStringLiteral("Second song");
    playback.RealAudio1TitleChange();
    EXPECT_EQ(host.caption(), "Second song");
    EXPECT_EQ(display("TEXT_TITLE"), "Second song");
    EXPECT_EQ(playback.state().title, "Second song");
}

// A three-minute single clip: title, entry number and times on the panel, the position
// slider following, and nothing done at the end.
TEST_F(PlaybackTest, SingleClipDrivesThePanel) {
    playback.OpenEntry(false, "/clips/three.avi");
    clip("/clips/three.avi", 180000, t("三分の映像"));
    playback.RealAudio1StateChange(1, 4);
    EXPECT_EQ(host.caption(), t("三分の映像"));
    EXPECT_EQ(display("TEXT_TITLE"), t("三分の映像"));
    EXPECT_EQ(display("TEXT_NO"), "No. --/--  ");
    EXPECT_TRUE(control.log.contains("ApplyVolume:50"));
    EXPECT_TRUE(control.log.contains("ApplyMute:0"));
    playback.RealAudio1PositionChange(65000, 180000);
    EXPECT_EQ(display("TEXT_POS"), localTime("00:01:05"));
    EXPECT_EQ(display("TEXT_TOTAL"), localTime("/ 00:03:00"));
    EXPECT_EQ(slider("TRACKBAR_POS"), 36);
    control.log.clear();
    playback.RealAudio1PositionChange(179950, 180000);
    playback.RealAudio1PositionChange(180000, 180000);
    EXPECT_EQ(slider("TRACKBAR_POS"), 100);
    EXPECT_TRUE(control.log.isEmpty()) << control.log.join(", ").toStdString();
    // A state change puts the position slider back to 0 until the next report.
    playback.RealAudio1StateChange(4, 3);
    EXPECT_EQ(slider("TRACKBAR_POS"), 0);
}

// A dropped clip while the current row has an End time: the displays scale to that time,
// the slider wraps past it, and the clip plays on.
TEST_F(PlaybackTest, EndMarkOfTheCurrentRowScalesASingleClip) {
    list.setEntry(1, "On", "1", "", "00:01:00", "/clips/listed.avi");
    list.current = 1;
    playback.OpenEntry(false, "/clips/dropped.avi");
    clip("/clips/dropped.avi", 180000);
    playback.RealAudio1StateChange(1, 4);
    EXPECT_TRUE(playback.hasEndMark());
    playback.RealAudio1PositionChange(30000, 180000);
    EXPECT_EQ(slider("TRACKBAR_POS"), 50);
    EXPECT_EQ(display("TEXT_TOTAL"), localTime("/ 00:01:00"));
    playback.RealAudio1PositionChange(120000, 180000);
    EXPECT_EQ(slider("TRACKBAR_POS"), 200 % 101);
    EXPECT_FALSE(control.log.contains("StopPlay"));
    EXPECT_EQ(control.calls("LoadSource"), QStringList({"LoadSource:/clips/dropped.avi"}));
}

// The volume the engine had is read once and given back at close on the scale it takes;
// a volume of 0 counts as not read.
TEST_F(PlaybackTest, VolumeIsGivenBackAtClose) {
    control.volume = 255;
    playback.RealAudio1StateChange(1, 4);
    EXPECT_EQ(playback.savedVolume(), 255);
    control.volume = 10;
    playback.RealAudio1StateChange(4, 3);
    EXPECT_EQ(playback.savedVolume(), 255);
    control.log.clear();
    playback.FormClose();
    EXPECT_EQ(control.log, QStringList({"ApplyVolume:100"}));

    FakeMediaControl silent;
    silent.volume = 0;
    Playback other(silent, host);
    other.RealAudio1StateChange(1, 4);
    EXPECT_EQ(other.savedVolume(), 0);
    silent.log.clear();
    other.FormClose();
    EXPECT_TRUE(silent.log.isEmpty());

    control.volume = 300;
    Playback broken(control, host);
    EXPECT_THROW(broken.OpenEntry(false, ""), KorvelError);
}

// An opening clip whose picture size is not known yet leaves the window as it is; a known
// size of nothing (sound alone) collapses the picture. A size the file tells ahead of its
// first frame sizes the window at once.
TEST_F(PlaybackTest, OpeningWithoutAPictureSizeKeepsTheWindow) {
    control.width = control.height = 0;
    playback.RealAudio1StateChange(MediaControl::Closed, MediaControl::Opening);
    playback.pictureSizeKnown();
    EXPECT_EQ(host.sizes, QList<QSize>({QSize(320, 240)}));
    playback.RealAudio1StateChange(MediaControl::Opening, MediaControl::Playing);
    EXPECT_EQ(host.sizes.back(), QSize(0, 0));

    control.width = 1280;
    control.height = 720;
    playback.pictureSizeKnown();
    EXPECT_EQ(host.sizes.back(), QSize(1280, 720));
}

// The mute the player holds is applied to every new clip.
TEST_F(PlaybackTest, MuteCarriesToANewClip) {
    playback.ApplyMute(true);
    control.log.clear();
    playback.RealAudio1StateChange(1, 4);
    EXPECT_TRUE(control.log.contains("ApplyMute:1"));
}

// Rewinding past the start, or skipping past the end, makes no seek and ends the repetition.
// Fault: the refused step still moved the position the desktop was told, and a play then
// started from there (past the end: from the start) instead of where the clip stood.
TEST_F(PlaybackTest, SeekOutOfTheClipIsRefused) {
    control.length = 10000;
    for (const int step : {-5000, 60000}) {
        SCOPED_TRACE(step);
        control.log.clear();
        playback.RealAudio1PositionChange(3480, 10000);
        playback.SeekBy(true, step);
        EXPECT_EQ(playback.state().positionMs, 3480);
        EXPECT_FALSE(playback.seekRepeat());
        EXPECT_TRUE(control.calls("SeekTo").isEmpty());
        playback.ResumePlay();
        EXPECT_EQ(control.calls("SeekTo"), QStringList({"SeekTo:3480"}));
    }
}

// Fault: while a new clip opened (a stream may take many seconds), the desktop was told the
// position of the clip before.
TEST_F(PlaybackTest, ANewClipStartsAtItsStart) {
    playback.RealAudio1PositionChange(42000, 180000);
    playback.OpenEntry(false, QStringLiteral("http://stream.example/live"));
    EXPECT_EQ(playback.state().positionMs, 0);
}

// Fast-forward repeats after each completed seek, half a second apart; a pause during the
// wait still lets one last step happen, and no more.
TEST_F(PlaybackTest, FastForwardRepeatsUntilCut) {
    playback.RealAudio1PositionChange(10000, 180000);
    playback.SeekBy(true, 5000);
    EXPECT_EQ(control.calls("SeekTo"), QStringList({"SeekTo:15000"}));
    playback.RealAudio1PostSeek(10000, 15000);
    EXPECT_EQ(host.delays, QList<int>({500}));
    host.runDue();
    EXPECT_EQ(control.calls("SeekTo"), QStringList({"SeekTo:15000", "SeekTo:20000"}));
    playback.RealAudio1PostSeek(15000, 20000);
    playback.PauseCommand(); // play, pause or stop during the wait
    host.runDue();
    playback.RealAudio1PostSeek(20000, 25000);
    host.runDue();
    EXPECT_EQ(control.calls("SeekTo"),
              QStringList({"SeekTo:15000", "SeekTo:20000", "SeekTo:25000"}));
}

// Eleven state changes: the history holds the sources of changes 2 to 11, oldest first.
TEST_F(PlaybackTest, HistoryKeepsTheLastTen) {
    for (int n = 1; n <= 11; ++n) {
        control.source = QStringLiteral("clip%1.rm").arg(n);
        playback.RealAudio1StateChange(0, 1);
    }
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(playback.history()[slot], QStringLiteral("clip%1.rm").arg(slot + 2));
    }
    const QString longSource = "http://example.invalid/" + QString(400, u'x') + ".rm";
    control.source = longSource;
    playback.RealAudio1StateChange(0, 1);
    EXPECT_EQ(playback.history()[9], longSource); // never cut
}

// A live stream reports no length: only the position text changes.
TEST_F(PlaybackTest, UnknownLengthOnlyMovesThePositionText) {
    playback.RealAudio1PositionChange(5000, 0);
    EXPECT_EQ(display("TEXT_POS"), localTime("00:00:05"));
    EXPECT_EQ(display("TEXT_TOTAL"), "");
    EXPECT_EQ(slider("TRACKBAR_POS"), 0);
}

// Positions past about six hours must not overflow the slider's percentage.
TEST_F(PlaybackTest, LongClipsComputeIn64Bits) {
    playback.RealAudio1PositionChange(25000000, 30000000);
    EXPECT_EQ(slider("TRACKBAR_POS"), 83);
    EXPECT_EQ(display("TEXT_TOTAL"), localTime("/ 08:20:00"));
}

// Reaching the end point remembers full screen for what follows.
TEST_F(PlaybackTest, EndPointRemembersFullScreen) {
    control.fullScreen = true;
    playback.RealAudio1PositionChange(179950, 180000);
    EXPECT_TRUE(playback.resumeFullScreen());
    control.log.clear();
    playback.RealAudio1StateChange(2, 1);
    EXPECT_TRUE(control.log.contains("EnterFullScreen"));
}

// Pending events run before the report is taken in: what they change is read afresh.
TEST_F(PlaybackTest, PositionReportLetsNestedEventsRunFirst) {
    host.nested = [this] { playback.RealAudio1PositionChange(1000, 90000); };
    playback.RealAudio1PositionChange(45000, 90000);
    EXPECT_EQ(playback.state().positionMs, 45000);
    EXPECT_EQ(slider("TRACKBAR_POS"), 50);
    EXPECT_EQ(display("TEXT_POS"), localTime("00:00:45"));
}

// Opening from the list: an enabled row's location, its Count (clamped to 1..99), its
// Start mark; a disabled row opens nothing; a bad Count opens nothing at all.
TEST_F(PlaybackTest, OpenEntryFromTheList) {
    list.setEntry(1, "On", "150", "00:00:10", "", "/clips/one.mpg");
    list.setEntry(2, "on", "2", "", "", "/clips/two.mpg");
    list.setEntry(3, "On", "x", "", "", "/clips/three.mpg");
    list.current = 1;
    playback.OpenEntry(true, "");
    EXPECT_EQ(control.log, QStringList({"LoadSource:/clips/one.mpg", "StartPlay", "SeekTo:10000"}));
    EXPECT_EQ(playback.remainingPlays(), 99);
    EXPECT_TRUE(playback.state().listMode);
    control.log.clear();
    list.current = 2;
    playback.OpenEntry(true, "");
    EXPECT_TRUE(control.log.isEmpty());
    list.current = 3;
    // A stop ends the entry's plays: the next entry's count is read.
    playback.StopPlayback();
    control.log.clear();
    try {
        playback.OpenEntry(true, "");
        FAIL() << "no error";
    } catch (const KorvelError& error) {
        EXPECT_EQ(error.text(), t("'x' は整数ではありません"));
    }
    EXPECT_TRUE(control.log.isEmpty());
    // A hand-off with no text opens nothing and leaves list mode.
    playback.OpenEntry(false, "");
    EXPECT_FALSE(playback.state().listMode);
    EXPECT_TRUE(control.log.isEmpty());
}

// The entry number shows the current row of N entries in list mode.
TEST_F(PlaybackTest, EntryNumberInListMode) {
    list.setEntry(2, "On", "1", "", "", "/clips/two.mpg");
    list.current = 2;
    playback.OpenEntry(true, "");
    playback.RealAudio1StateChange(1, 4);
    EXPECT_EQ(display("TEXT_NO"), "No. 2/3    ");
}

// Marks are written only in list mode with an entry current.
TEST_F(PlaybackTest, MarksOnlyInListMode) {
    list.setEntry(1, "On", "1", "", "", "/clips/one.mpg");
    list.current = 1;
    playback.RealAudio1PositionChange(42500, 180000);
    playback.MarkPosition(5);
    EXPECT_EQ(list.cell(5, 1), "");
    playback.OpenEntry(true, "");
    playback.RealAudio1PositionChange(42500, 180000);
    playback.MarkPosition(6);
    EXPECT_EQ(list.cell(6, 1), localTime("00:00:42"));
    list.current = 4; // the end row
    playback.MarkPosition(5);
    EXPECT_EQ(list.cell(5, 4), "");
}

// Picture size: the factor (500 + 25 s) / 1000 times the clip size, unless fixed or full
// screen.
TEST_F(PlaybackTest, ApplySizeFollowsTheSizeSlider) {
    const struct {
        int clipWidth, clipHeight, s;
        QSize size;
    } cases[] = {
        {320, 240, 0, {160, 120}},   {320, 240, 20, {320, 240}}, {320, 240, 40, {480, 360}},
        {320, 240, 100, {960, 720}}, {176, 144, 30, {220, 180}}, {0, 0, 20, {0, 0}},
    };
    for (const auto& c : cases) {
        control.width = c.clipWidth;
        control.height = c.clipHeight;
        playback.SetSize(c.s);
        playback.RealAudio1StateChange(MediaControl::Opening, MediaControl::Playing);
        host.sizes.clear();
        playback.ApplySize();
        EXPECT_EQ(host.sizes, QList<QSize>({c.size})) << c.s;
    }
    host.sizes.clear();
    playback.SetFix(true);
    playback.ApplySize();
    playback.SetFix(false);
    control.fullScreen = true;
    playback.ApplySize();
    EXPECT_TRUE(host.sizes.isEmpty());
}

// A click or key on the picture brings the panel forward.
TEST_F(PlaybackTest, PictureInputBringsThePanelForward) {
    playback.RealAudio1LButtonUp(0, 5, 5);
    playback.RealAudio1KeyDown(0, Qt::Key_Space);
    EXPECT_EQ(host.panelForward, 2);
}

// Time texts read back what they show; anything else is the conversion error.
TEST(TimeText, ReadsAndWritesTimes) {
    EXPECT_EQ(TimeText::fromMs(65000), localTime("00:01:05"));
    EXPECT_EQ(TimeText::fromMs(25 * 3600000LL + 1999), localTime("01:00:01"));
    const struct {
        const char* text;
        std::int64_t ms;
    } good[] = {{"00:01:05", 65000}, {"1:02", 3720000},          {"23:59:59", 86399000},
                {" 00:00:07", 7000}, {"12:34:56.789", 45296000}, {"00:01:05    beyond", 65000}};
    for (const auto& c : good) EXPECT_EQ(Playback::TimeTextToMs(c.text), c.ms) << c.text;
    const struct {
        const char* text;
        const char* cut;
    } bad[] = {{"abc", "abc"},
               {"", ""},
               {"24:00:00", "24:00:00"},
               {"00:60", "00:60"},
               {"10", "10"},
               {"1:2:3:4", "1:2:3:4"},
               {"00:00:00:00:00", "00:00:00:00:"}};
    for (const auto& c : bad) {
        try {
            Playback::TimeTextToMs(c.text);
            ADD_FAILURE() << c.text << " was read";
        } catch (const KorvelError& error) {
            EXPECT_EQ(error.text(), QStringLiteral("'%1' は正しい時刻ではありません").arg(c.cut));
        }
    }
}

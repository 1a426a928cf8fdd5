#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "playback/Playback.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace korvel;
using korvel::test::FakeHost;
using korvel::test::FakeList;
using korvel::test::FakeMediaControl;

namespace {

class PlaybackNoticesTest : public ::testing::Test {
protected:
    void SetUp() override {
        playback.attachPlayList(&list);
        playback.FormShow(QString());
        QObject::connect(&playback.notices(), &PlaybackNotices::changed,
                         [this](const PlaybackState& before, const PlaybackState& now) {
                             changes.emplace_back(before, now);
                         });
        QObject::connect(
            &playback.notices(), &PlaybackNotices::seeked,
            [this](std::int64_t from, std::int64_t to) { seeks.emplace_back(from, to); });
    }
    void playing(const QString& source, std::int64_t length) {
        playback.OpenEntry(false, source);
        control.length = length;
        control.state = MediaControl::Playing;
        playback.RealAudio1StateChange(MediaControl::Opening, MediaControl::Playing);
        playback.RealAudio1PositionChange(0, length);
        changes.clear();
    }

    FakeMediaControl control;
    FakeHost host;
    FakeList list = FakeList::withFlags({"On", "Off"});
    Playback playback{control, host, [](int) { return 0; }};
    std::vector<std::pair<PlaybackState, PlaybackState>> changes;
    std::vector<std::pair<std::int64_t, std::int64_t>> seeks;
};

} // namespace

// Fault: a listener told of nothing new (a storm of notices ten times a second), told twice
// of one change, or not told at all; a notice whose pair is not what was told before.
TEST_F(PlaybackNoticesTest, EachChangeIsToldOnce) {
    playing("/clips/a.avi", 60000);
    playback.publish();
    playback.RealAudio1PositionChange(0, 60000);
    EXPECT_TRUE(changes.empty());

    playback.RealAudio1PositionChange(1500, 60000);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first.positionMs, 0);
    EXPECT_EQ(changes[0].second.positionMs, 1500);
    EXPECT_EQ(changes[0].second, playback.state());

    playback.ApplyMute(true);
    playback.ApplyMute(true);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_FALSE(changes[1].first.mute);
    EXPECT_TRUE(changes[1].second.mute);

    control.state = MediaControl::Paused;
    playback.RealAudio1StateChange(MediaControl::Playing, MediaControl::Paused);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[2].second.engineState, MediaControl::Paused);
    // Fault: the state change took mute from the panel's button, which the playback does not
    // own, and turned the sound back on.
    EXPECT_TRUE(changes[2].second.mute);

    // The list is the wiring's to tell of: a change there shows at the next publish.
    playback.PlayFromTop();
    const std::size_t told = changes.size();
    EXPECT_TRUE(changes.back().second.listMode);
    EXPECT_EQ(changes.back().second.listRow, 1);
    list.rows[2][1] = "On";
    EXPECT_EQ(changes.size(), told);
    playback.publish();
    ASSERT_EQ(changes.size(), told + 1);
    EXPECT_FALSE(changes.back().first.canGoNext);
    EXPECT_TRUE(changes.back().second.canGoNext);
}

// Fault: a seek told from where the position already stood (the engine's own report comes
// first), a clip's start at its Start mark or the start of another clip told as a seek, or
// one seek told twice.
TEST_F(PlaybackNoticesTest, SeeksAskedForAreToldFromWhereTheyStarted) {
    playing("/clips/a.avi", 60000);
    playback.RealAudio1PositionChange(5000, 60000);
    playback.MoveTo(40000);
    EXPECT_EQ(control.calls("SeekTo"), QStringList({"SeekTo:40000"}));
    EXPECT_EQ(playback.state().positionMs, 40000);
    playback.RealAudio1PositionChange(40000, 60000);
    playback.RealAudio1PostSeek(5000, 40000);
    playback.RealAudio1PostSeek(5000, 40000);
    EXPECT_EQ(seeks, (std::vector<std::pair<std::int64_t, std::int64_t>>{{5000, 40000}}));

    // A skip is told from the position shown before it, not from its target.
    seeks.clear();
    playback.SeekBy(false, 10000);
    playback.RealAudio1PostSeek(40000, 50000);
    EXPECT_EQ(seeks, (std::vector<std::pair<std::int64_t, std::int64_t>>{{40000, 50000}}));

    seeks.clear();
    playback.MoveTo(20000);
    playback.OpenEntry(false, "/clips/b.avi");
    playback.RealAudio1PostSeek(0, 20000);
    // The same clip opened anew starts again: no seek either.
    playback.MoveTo(20000);
    playback.OpenEntry(false, "/clips/b.avi");
    playback.RealAudio1PostSeek(0, 20000);
    list.setEntry(1, "On", "1", korvel::test::localTime("00:00:30"), "", "/clips/a.avi");
    playback.PlayFromTop();
    playback.RealAudio1PostSeek(0, 30000);
    playback.MoveTo(1000);
    playback.StopPlayback();
    playback.RealAudio1PostSeek(0, 1000);
    EXPECT_TRUE(seeks.empty());
}

// Fault: the list's changes published by whoever wired the windows, not by the playback (the
// desktop's controls then showed a stale next and play cursor wherever that wiring was
// missing), or a run of edits told once per edit, or in the middle of the run.
TEST_F(PlaybackNoticesTest, ListChangesAreToldOnceAfterTheirRun) {
    ASSERT_TRUE(list.onChange);
    list.current = 1;
    list.onChange();
    list.setEntry(2, "On", "1", "", "", "/clips/2.mpg");
    list.onChange();
    EXPECT_TRUE(changes.empty());
    host.runDue();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].second.listRow, 1);
    list.onChange();
    host.runDue();
    EXPECT_EQ(changes.size(), 1u); // nothing new to tell
    playback.attachPlayList(nullptr);
    EXPECT_FALSE(list.onChange);
}

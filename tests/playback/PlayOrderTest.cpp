#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "playback/PlayOrder.h"
#include "playback/Playback.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::test::FakeHost;
using korvel::test::FakeList;
using korvel::test::FakeMediaControl;

namespace {

QStringList flags(const char* spaced) {
    return QString::fromLatin1(spaced).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

// Fault: a walk that stops too early, wraps without LOOP, lands on a disabled entry or on
// the row it started from, or never ends on a list without enabled entries.
TEST(PlayOrderWalk, WalksOverTheEnabledEntries) {
    const struct {
        const char* flags;
        int from;
        int direction;
        bool loop;
        int expected;
    } walks[] = {
        {"On Off On", 1, +1, false, 3},
        {"On Off On", 3, +1, false, 0},
        {"On Off On", 3, -1, false, 1},
        {"On Off On", 3, +1, true, 1},
        {"On Off On", 1, -1, false, 0},
        {"On Off On", 1, -1, true, 3},
        {"Off On Off", 2, +1, true, 0},
        {"Off On Off", 2, -1, true, 0},
        {"Off Off Off", 1, +1, true, 0},
        {"Off Off Off", 4, -1, false, 0},
        {"On Off On", 4, +1, false, 1},
        {"On Off On", 4, -1, false, 3},
        {"On", 1, +1, true, 0},
        {"On", 2, +1, false, 1},
        {"", 1, +1, true, 0},
        {"", 1, -1, false, 0},
        {"on ON On", 4, +1, false, 3},
        {"On On On On", 2, +1, false, 3},
    };
    for (const auto& w : walks) {
        const FakeList list = FakeList::withFlags(flags(w.flags));
        EXPECT_EQ(PlayOrder::walk(list, w.from, w.direction, w.loop), w.expected)
            << "[" << w.flags << "] from " << w.from << " by " << w.direction
            << (w.loop ? " with LOOP" : "");
    }
}

// Fault: the shuffle drawing a disabled entry (which then starts nothing) or drawing at all
// when there is nothing to play.
TEST(PlayOrderShuffle, DrawsAmongEnabledEntries) {
    QList<int> counts;
    PlayOrder order([&counts](int count) {
        counts.append(count);
        return count - 1;
    });
    EXPECT_EQ(order.shuffle(FakeList::withFlags(flags("Off On Off On Off"))), 4);
    EXPECT_EQ(order.shuffle(FakeList::withFlags(flags("Off Off"))), 0);
    EXPECT_EQ(order.shuffle(FakeList::withFlags({})), 0);
    EXPECT_EQ(counts, QList<int>({2}));
    for (int n = 0; n < 200; ++n) {
        const int k = PlayOrder::clockDraw(3);
        ASSERT_TRUE(k >= 0 && k < 3) << k;
    }
}

namespace {

class PlayOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        playback.attachPlayList(&list);
        playback.FormShow(QString());
        control.log.clear();
    }
    void fill(const char* spaced) {
        list = FakeList::withFlags(flags(spaced));
        list.current = 1;
    }
    QStringList loads() const { return control.calls("LoadSource"); }
    static QString clip(int row) { return QStringLiteral("LoadSource:/clips/%1.mpg").arg(row); }

    FakeMediaControl control;
    FakeHost host;
    FakeList list{0};
    QList<int> draws{};
    Playback playback{control, host, [this](int count) {
                          draws.append(count);
                          return 0;
                      }};
};

} // namespace

// Fault: OK starting a disabled first entry, or not entering list mode.
TEST_F(PlayOrderTest, FromTheTopStartsTheFirstEnabledEntry) {
    fill("Off On On");
    list.current = 3;
    playback.PlayFromTop();
    EXPECT_EQ(list.selections, QList<int>({4, 2}));
    EXPECT_EQ(loads(), QStringList({clip(2)}));
    EXPECT_TRUE(playback.state().listMode);
    EXPECT_EQ(playback.remainingPlays(), 1);

    fill("Off Off");
    control.log.clear();
    playback.PlayFromTop();
    EXPECT_TRUE(loads().isEmpty());
    EXPECT_EQ(list.current, 3); // the end row, where the walk began
}

// Fault: a Count not honoured: an entry with Count 3 plays three times from its Start mark
// (or its beginning), then the next enabled entry starts with its own Count.
TEST_F(PlayOrderTest, CountsRepeatAnEntryThenMoveOn) {
    fill("On Off On");
    list.setEntry(1, "On", "3", "00:00:05", "", "/clips/1.mpg");
    list.setEntry(3, "On", "2", "", "", "/clips/3.mpg");
    playback.PlayFromTop();
    for (int finish = 0; finish < 3; ++finish) playback.ClipFinished();
    EXPECT_EQ(loads(), QStringList({clip(1), clip(1), clip(1), clip(3)}));
    EXPECT_EQ(control.calls("SeekTo"), QStringList({"SeekTo:5000", "SeekTo:5000", "SeekTo:5000"}));
    EXPECT_EQ(playback.remainingPlays(), 2);
    EXPECT_EQ(list.current, 3);
    // The last entry's plays are used up and the walk finds nothing: everything stays.
    playback.ClipFinished();
    playback.ClipFinished();
    EXPECT_EQ(loads().size(), 5);
    EXPECT_EQ(list.current, 3);
    EXPECT_TRUE(playback.state().listMode);
    EXPECT_EQ(playback.remainingPlays(), 0);
}

// Fault: next during a counted entry's first play waiting for its count, or carrying the
// old count over to the new entry.
TEST_F(PlayOrderTest, NextMovesOnAtOnceAndLoadsTheNewCount) {
    fill("On On");
    list.setEntry(1, "On", "3", "", "", "/clips/1.mpg");
    list.setEntry(2, "On", "5", "", "", "/clips/2.mpg");
    playback.PlayFromTop();
    playback.SeekBy(true, 5000); // a fast-forward under way
    playback.PlayNextEntry(+1);
    EXPECT_FALSE(playback.seekRepeat());
    EXPECT_EQ(loads(), QStringList({clip(1), clip(2)}));
    EXPECT_EQ(playback.remainingPlays(), 5);
    playback.PlayNextEntry(-1);
    EXPECT_EQ(playback.remainingPlays(), 3);
    EXPECT_EQ(list.current, 1);
}

// Fault: next and previous acting on a single clip, or after the list was stopped.
TEST_F(PlayOrderTest, OutsideListModeNextAndPreviousDoNothing) {
    fill("On On");
    playback.OpenEntry(false, "/clips/dropped.mpg");
    playback.PlayNextEntry(+1);
    playback.ClipFinished();
    playback.PlayFromTop();
    playback.StopPlayback();
    playback.PlayNextEntry(+1);
    playback.PlayNextEntry(-1);
    EXPECT_EQ(loads(), QStringList({"LoadSource:/clips/dropped.mpg", clip(1)}));
    EXPECT_EQ(playback.remainingPlays(), 0);
}

// LOOP carries the walk over the end of the list; the walk reads the toggle at each step.
TEST_F(PlayOrderTest, LoopWrapsAtTheEnd) {
    fill("On Off On");
    playback.PlayFromTop();
    playback.ClipFinished();
    EXPECT_EQ(list.current, 3);
    playback.SetLoop(true);
    playback.ClipFinished();
    EXPECT_EQ(loads(), QStringList({clip(1), clip(3), clip(1)}));
}

// Fault: next or previous offered to the desktop where the panel's buttons start nothing
// (the last entry without LOOP, nothing On), or withheld where they would start one.
TEST_F(PlayOrderTest, CanMoveOnTellsWhatNextAndPreviousWouldDo) {
    const struct {
        const char* flags;
        int current;
        bool loop;
        bool shuffle;
        bool next;
        bool previous;
    } cases[] = {
        {"On On On", 3, false, false, false, true},  {"On On On", 1, false, false, true, false},
        {"On Off On", 3, true, false, true, true},   {"On Off Off", 1, true, false, false, false},
        {"Off On Off", 2, false, true, true, true},  {"Off Off", 1, false, true, false, false},
        {"On Off On", 3, false, false, false, true},
    };
    for (const auto& c : cases) {
        for (const int direction : {+1, -1}) {
            fill(c.flags);
            list.current = c.current;
            playback.SetLoop(c.loop);
            playback.SetShuffle(c.shuffle);
            playback.OpenEntry(true, QString());
            const bool offered = playback.canMoveOn(direction);
            const auto where = ::testing::Message()
                               << "[" << c.flags << "] at " << c.current << " by " << direction;
            EXPECT_EQ(offered, direction > 0 ? c.next : c.previous) << where;
            control.log.clear();
            playback.PlayNextEntry(std::int16_t(direction));
            EXPECT_EQ(!loads().isEmpty(), offered) << where;
        }
    }
    fill("On On");
    playback.StopPlayback();
    EXPECT_FALSE(playback.canMoveOn(+1));
}

// SHUFFLE draws among the enabled entries with the injected source; with none enabled
// nothing starts and nothing fails.
TEST_F(PlayOrderTest, ShuffleStartsADrawnEnabledEntry) {
    fill("Off On On");
    playback.SetShuffle(true);
    playback.PlayFromTop();
    EXPECT_EQ(draws, QList<int>({2}));
    EXPECT_EQ(loads(), QStringList({clip(2)}));
    fill("Off Off");
    playback.SetShuffle(true);
    control.log.clear();
    EXPECT_NO_THROW(playback.PlayNextEntry(+1));
    EXPECT_TRUE(loads().isEmpty());
}

// Full screen at the end point comes back for what follows.
TEST_F(PlayOrderTest, FinishInFullScreenResumesIt) {
    fill("On On");
    playback.PlayFromTop();
    control.fullScreen = true;
    control.log.clear();
    playback.RealAudio1PositionChange(59950, 60000);
    EXPECT_TRUE(playback.resumeFullScreen());
    EXPECT_EQ(control.log.mid(0, 3),
              QStringList({"LoadSource:/clips/2.mpg", "StartPlay", "EnterFullScreen"}));
}

// Fault: every report inside the last 100 ms counted as another end, so a count ran down
// twice in one pass; and once the list had ended, each later end started the last entry
// again, without end.
TEST_F(PlayOrderTest, AnEndCountsOnceAndAnEndedListStaysEnded) {
    fill("On Off On");
    list.setEntry(1, "On", "2", "", "", "/clips/1.mpg");
    playback.PlayFromTop();
    playback.RealAudio1PositionChange(59950, 60000);
    playback.RealAudio1PositionChange(60000, 60000); // the engine's own end report
    EXPECT_EQ(loads(), QStringList({clip(1), clip(1)}));
    playback.RealAudio1PositionChange(0, 60000);
    playback.RealAudio1PositionChange(59990, 60000);
    EXPECT_EQ(loads(), QStringList({clip(1), clip(1), clip(3)}));
    playback.RealAudio1PositionChange(0, 60000);
    playback.RealAudio1PositionChange(60000, 60000);
    // The list has ended: play at the end, or a seek back and play, ends it again.
    for (int pass = 0; pass < 3; ++pass) {
        playback.RealAudio1PositionChange(30000, 60000);
        playback.RealAudio1PositionChange(60000, 60000);
    }
    EXPECT_EQ(loads(), QStringList({clip(1), clip(1), clip(3)}));
    EXPECT_EQ(list.current, 3);
    EXPECT_EQ(playback.remainingPlays(), 0);
}

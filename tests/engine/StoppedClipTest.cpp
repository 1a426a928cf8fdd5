#include "MediaTestSupport.h"

using namespace korvel;
using namespace korvel::test;

// Fault: after Stop the clip was forgotten: a seek (a skip, a mark, the position slider, the
// fast-forward step due half a second after a Stop) raised "Nothing is loaded", and play
// started the clip from its beginning whatever the seek said.
TEST(StoppedClip, ASeekAfterStopIsWherePlayBegins) {
    auto control = makeControl();
    Recorder recorder(*control);
    openClip(*control, recorder, QStringLiteral("clip.mp4"));
    const std::int64_t length = control->QueryLength();
    control->StartPlay();
    control->SeekTo(500); // a fast-forward step...
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == 1; }));
    control->StopPlay();   // ...stopped during its wait...
    control->SeekTo(1000); // ...and the step due after it
    ASSERT_TRUE(waitUntil([&] {
        return recorder.lastState() == MediaControl::Stopped && recorder.seeks.size() == 2;
    }));
    EXPECT_EQ(recorder.seeks[1].second, 1000);
    EXPECT_EQ(recorder.positions.back().position, 1000);

    // A drag of the position slider while stopped: one seek per step, each completing.
    for (const std::int64_t ms : {1200, 1400, 1600, 1800}) control->SeekTo(ms);
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == 6; }));
    EXPECT_EQ(recorder.seeks.back(), std::make_pair(std::int64_t(1600), std::int64_t(1800)));
    EXPECT_EQ(control->QueryLength(), length);
    EXPECT_EQ(control->QueryTitle(), QStringLiteral("TestClip"));
    EXPECT_EQ(control->QueryImageWidth(), 320);

    recorder.states.clear();
    const std::size_t stopped = recorder.positions.size();
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] {
        return recorder.positions.size() > stopped + 2 &&
               recorder.lastState() == MediaControl::Playing;
    }));
    EXPECT_EQ(recorder.states.front(),
              std::make_pair(int(MediaControl::Stopped), int(MediaControl::Opening)));
    EXPECT_NEAR(static_cast<double>(recorder.positions[stopped].position), 1800.0, 60.0);
    EXPECT_GT(recorder.positions.back().position, 1800);
    EXPECT_EQ(recorder.seeks.size(), 6u) << "the start there is no seek of the host's";
    EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
}

// Fault: with no clip ever loaded, play, pause, stop and every step of a drag of the position
// slider raised an error box each.
TEST(StoppedClip, NothingLoadedDoesNothing) {
    auto control = makeControl();
    Recorder recorder(*control);
    const std::function<void()> operations[] = {
        [&] { control->StartPlay(); },  [&] { control->PausePlay(); },
        [&] { control->StopPlay(); },   [&] { control->SeekTo(0); },
        [&] { control->SeekTo(1500); }, [&] { control->SeekTo(-20); },
    };
    for (const auto& operation : operations) EXPECT_NO_THROW(operation());
    EXPECT_EQ(control->QuerySource(), QString());
    EXPECT_EQ(control->QueryLength(), 0);
    // Whatever they made due would come before the events of a clip loaded now.
    openClip(*control, recorder, QStringLiteral("clip.mp4"));
    EXPECT_EQ(recorder.states.front(),
              std::make_pair(int(MediaControl::Closed), int(MediaControl::Opening)));
    EXPECT_TRUE(recorder.seeks.empty());
    EXPECT_EQ(recorder.positions.size(), 1u) << "only the opening's report";
    EXPECT_TRUE(recorder.failures.isEmpty());
}

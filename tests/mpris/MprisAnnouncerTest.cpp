#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "mpris/MprisAnnouncer.h"
#include "playback/Playback.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace korvel {
namespace {

using test::FakeHost;
using test::FakeMediaControl;

class MprisAnnouncerTest : public ::testing::Test {
protected:
    void SetUp() override {
        playback.FormShow(QString());
        playback.OpenEntry(false, QStringLiteral("/clips/first.avi"));
        control.length = 60000;
        control.state = MediaControl::Playing;
        playback.RealAudio1StateChange(MediaControl::Opening, MediaControl::Playing);
        playback.RealAudio1PositionChange(1000, 60000);
    }
    // The statuses announced, "" where a change left it as it was.
    QStringList announcedStatuses() const {
        QStringList statuses;
        for (const QList<QVariant>& call : changed)
            statuses << call[0].toMap().value(QStringLiteral("PlaybackStatus")).toString();
        return statuses;
    }

    FakeMediaControl control;
    FakeHost host;
    Playback playback{control, host};
    MprisAnnouncer announcer{playback};
    QSignalSpy changed{&announcer, &MprisAnnouncer::propertiesChanged};
    QSignalSpy seeked{&announcer, &MprisAnnouncer::seeked};
};

// Fault: a change told only at some later look (no event loop runs here, so nothing but the
// notice itself can announce it), the position announced while the clip plays on, or a
// property announced that did not change.
TEST_F(MprisAnnouncerTest, ChangesAreAnnouncedFromTheNoticeAlone) {
    EXPECT_EQ(announcedStatuses(), QStringList({"", "Playing"}));
    changed.clear();

    for (std::int64_t position = 1100; position < 3000; position += 100)
        playback.RealAudio1PositionChange(position, 60000);
    EXPECT_EQ(changed.count(), 0);

    control.state = MediaControl::Paused;
    playback.RealAudio1StateChange(MediaControl::Playing, MediaControl::Paused);
    ASSERT_EQ(changed.count(), 1);
    const QVariantMap told = changed[0][0].toMap();
    EXPECT_EQ(told.keys(), QStringList({"PlaybackStatus"})) << told.keys().join(", ").toStdString();
    EXPECT_EQ(told.value(QStringLiteral("PlaybackStatus")), "Paused");
    EXPECT_EQ(seeked.count(), 0);
}

// Fault: a seek not announced, announced with the position in milliseconds, or a resume
// where the clip paused (a seek to where it stands) announced as a jump.
TEST_F(MprisAnnouncerTest, SeeksThatMoveThePositionAreAnnounced) {
    playback.MoveTo(30000);
    playback.RealAudio1PositionChange(30000, 60000);
    playback.RealAudio1PostSeek(2900, 30000);
    ASSERT_EQ(seeked.count(), 1);
    EXPECT_EQ(seeked[0][0].toLongLong(), 30000000);

    playback.ResumePlay();
    playback.RealAudio1PostSeek(30000, 30000);
    EXPECT_EQ(seeked.count(), 1);
}

} // namespace
} // namespace korvel

#include "MediaTestSupport.h"

#include "engine/picture/PictureView.h"

#include <QLoggingCategory>
#include <QRegularExpression>

#include <algorithm>
#include <iostream>

using namespace korvel;
using namespace korvel::test;

namespace {

// When the first Playing state change came, or -1.
// When playing began: the Playing report, or earlier where an ordinary report shows it (on a
// busy machine any report may be handled late, the Playing one too; the least late one tells
// best when the position was 0).
qint64 playingAt(const Recorder& recorder, int end) {
    qint64 started = -1;
    for (std::size_t i = 0; i < recorder.states.size() && started < 0; ++i)
        if (recorder.states[i].second == MediaControl::Playing) started = recorder.stateTimes[i];
    for (int k = 0; k < end; ++k) {
        const auto& report = recorder.positions[std::size_t(k)];
        if (report.position > 0) started = std::min(started, report.at - report.position);
    }
    return started;
}

} // namespace

// The end is reported as position == length, in time, even where the engine's last position
// lies a whole frame before the end (5 frames a second); ordinary reports keep their pace,
// and nothing is reported after the end but the pause that follows, also where the sound
// outlasts the picture (the end was told twice, and a list played its last entry again).
TEST(Playback, ReportsTheEndOnTime) {
    const char* names[] = {"clip.mp4", "slow.mp4", "clip.rm", "overrun.avi"};
    struct Session {
        std::unique_ptr<MpvMediaControl> control;
        std::unique_ptr<Recorder> recorder;
    };
    std::vector<Session> sessions;
    for (const char* name : names) {
        Session session{makeControl(), nullptr};
        session.recorder = std::make_unique<Recorder>(*session.control);
        session.control->LoadSource(clip(QString::fromUtf8(name)));
        session.control->StartPlay();
        sessions.push_back(std::move(session));
    }
    ASSERT_TRUE(waitUntil(
        [&] {
            for (const Session& s : sessions)
                if (s.recorder->lastState() != MediaControl::Paused || s.recorder->endReport() < 0)
                    return false;
            return true;
        },
        10000));
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Recorder& recorder = *sessions[i].recorder;
        const int end = recorder.endReport();
        const std::int64_t length = sessions[i].control->QueryLength();
        ASSERT_GE(end, 1);
        EXPECT_EQ(end + 1, static_cast<int>(recorder.positions.size())) << "reports after the end";
        const qint64 started = playingAt(recorder, end);
        const qint64 took = recorder.positions[end].at - started;
        const auto& before = recorder.positions[end - 1];
        std::cout << "[ measured ] " << names[i] << ": length " << length << " ms, end report "
                  << took << " ms after playing began, last ordinary report at " << before.position
                  << " ms" << std::endl;
        EXPECT_GE(took, length - 100);
        EXPECT_LE(took, length + 400);
        for (int k = 2; k < end; ++k) {
            EXPECT_GE(recorder.positions[k].at - recorder.positions[k - 1].at, 90) << k;
            EXPECT_GE(recorder.positions[k].position, recorder.positions[k - 1].position);
        }
        // The pause the engine makes at the end comes after the end report.
        EXPECT_EQ(recorder.states.back(),
                  std::make_pair(int(MediaControl::Playing), int(MediaControl::Paused)));
        EXPECT_GE(recorder.stateTimes.back(), recorder.positions[end].at);
    }
}

// One PostSeek per completed seek, two seeks in a row completing as one, a seek past the end
// reported as the end, play at the end starting over, stop then play opening the clip again.
TEST(Playback, SeeksAndRestarts) {
    auto control = makeControl();
    Recorder recorder(*control);
    openClip(*control, recorder, QStringLiteral("clip.mp4"));
    const std::int64_t length = control->QueryLength();

    control->SeekTo(1000);
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == 1; }));
    EXPECT_NEAR(static_cast<double>(recorder.seeks[0].first), 0.0, 40.0);
    EXPECT_NEAR(static_cast<double>(recorder.seeks[0].second), 1000.0, 40.0);
    EXPECT_EQ(recorder.positions.back().position, recorder.seeks[0].second);
    EXPECT_EQ(recorder.lastState(), MediaControl::Paused) << "a paused seek stays paused";

    control->SeekTo(500);
    control->SeekTo(2000);
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == 2; }));
    control->SeekTo(1500);
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() >= 3; }));
    EXPECT_NEAR(static_cast<double>(recorder.seeks[1].first), 1000.0, 40.0);
    EXPECT_NEAR(static_cast<double>(recorder.seeks[1].second), 2000.0, 40.0);
    EXPECT_NEAR(static_cast<double>(recorder.seeks[2].first), 2000.0, 40.0);
    EXPECT_NEAR(static_cast<double>(recorder.seeks[2].second), 1500.0, 40.0);

    // Past the end while paused: the engine sits on the last frame and says nothing more.
    const std::size_t before = recorder.positions.size();
    control->SeekTo(length + 5000);
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == 4; }));
    EXPECT_GE(recorder.endReport(before), 0);

    // Play at the end: from the beginning, without a PostSeek nobody asked for.
    const std::size_t atEnd = recorder.positions.size();
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] {
        return recorder.positions.size() > atEnd + 2 &&
               recorder.lastState() == MediaControl::Playing;
    }));
    EXPECT_LT(recorder.positions[atEnd].position, 100);
    EXPECT_EQ(recorder.seeks.size(), 4u);

    // Stop, then play: the clip is opened again and plays from its start.
    control->StopPlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Stopped; }));
    EXPECT_EQ(control->QueryLength(), length);
    EXPECT_EQ(control->QueryTitle(), QStringLiteral("TestClip"));
    control->PausePlay(); // nothing to pause: not a failure
    recorder.states.clear();
    const std::size_t stopped = recorder.positions.size();
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] {
        return recorder.positions.size() > stopped + 2 &&
               recorder.lastState() == MediaControl::Playing;
    }));
    EXPECT_EQ(recorder.states.front(),
              std::make_pair(int(MediaControl::Stopped), int(MediaControl::Opening)));
    EXPECT_LT(recorder.positions[stopped].position, 100);
    EXPECT_TRUE(recorder.failures.isEmpty());
}

// Past the end while paused, the engine sits on the last frame and, for a clip without
// sound, never says it reached the end: the end is reported all the same.
TEST(Playback, SeekPastTheEndWhilePausedReportsTheEnd) {
    auto control = makeControl();
    Recorder recorder(*control);
    for (const char* name : {"wide.mp4", "clip.mp4"}) {
        SCOPED_TRACE(name);
        openClip(*control, recorder, QString::fromUtf8(name));
        const std::size_t before = recorder.positions.size();
        const std::size_t seeks = recorder.seeks.size();
        control->SeekTo(control->QueryLength() + 1000);
        ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == seeks + 1; }));
        EXPECT_GE(recorder.endReport(before), 0);
        EXPECT_EQ(recorder.lastState(), MediaControl::Paused);
    }
}

// A seek asked for while the clip still opens (a list entry's start mark) is made once the
// clip has opened, and completes like any other.
TEST(Playback, SeekWhileOpeningIsCarriedOut) {
    auto control = makeControl();
    Recorder recorder(*control);
    control->LoadSource(clip(QStringLiteral("clip.avi")));
    control->StartPlay();
    control->SeekTo(2000);
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == 1; }));
    EXPECT_NEAR(static_cast<double>(recorder.seeks[0].second), 2000.0, 60.0);
    EXPECT_EQ(recorder.lastState(), MediaControl::Playing);
    const std::size_t after = recorder.positions.size();
    ASSERT_TRUE(waitUntil([&] { return recorder.positions.size() > after; }));
    EXPECT_GE(recorder.positions.back().position, 2000 - 60);
}

// Pause and play while playing: Playing <-> Paused, and no report moves while paused.
TEST(Playback, PauseAndResume) {
    auto control = makeControl();
    Recorder recorder(*control);
    control->LoadSource(clip(QStringLiteral("clip.mpg")));
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.positions.size() >= 3; }));
    control->PausePlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Paused; }));
    const std::size_t paused = recorder.positions.size();
    recorder.states.clear();
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.positions.size() >= paused + 2; }));
    EXPECT_EQ(recorder.states,
              (std::vector<std::pair<int, int>>{{MediaControl::Paused, MediaControl::Playing}}));
    EXPECT_GT(recorder.positions.back().position, recorder.positions[paused - 1].position);
}

// With the engine log on, a clip's frame counts are told once, when it plays to its end (not
// again when the next clip replaces it) or when it is stopped before, and they are numbers
// the engine gave.
TEST(Playback, EngineLogTellsEachClipsFrameCounts) {
    static QStringList told;
    told.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("korvel.engine.info=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (qstrcmp(context.category, "korvel.engine") == 0 &&
                text.startsWith(u"frames of the clip: "))
                told << text;
        });
    auto control = makeControl();
    Recorder recorder(*control);
    control->LoadSource(clip(QStringLiteral("clip.mp4")));
    control->StartPlay();
    const bool ended = waitUntil([&] { return recorder.endReport() >= 0; }, 10000);
    const bool toldAtTheEnd = waitUntil([&] { return told.size() == 1; });
    openClip(*control, recorder, QStringLiteral("slow.mp4"));
    control->StopPlay();
    const bool toldAtTheStop = waitUntil([&] { return told.size() == 2; });
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("korvel.engine.info=false"));
    ASSERT_TRUE(ended);
    EXPECT_TRUE(toldAtTheEnd);
    EXPECT_TRUE(toldAtTheStop);
    const QRegularExpression counts(
        QStringLiteral(R"(^frames of the clip: dropped \d+ \(decoder \d+\), delayed \d+$)"));
    for (const QString& text : std::as_const(told))
        EXPECT_TRUE(counts.match(text).hasMatch()) << text.toStdString();
    EXPECT_EQ(told.size(), 2);
}

// A large picture is drawn ahead of its time, a small one when due, and a hand-off to a small
// picture draws when due again; the software picture always draws when due. The log tells
// what the engine holds after each change.
TEST(Playback, DrawsOnlyLargePicturesAhead) {
    static QStringList told;
    QLoggingCategory::setFilterRules(QStringLiteral("korvel.engine.info=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (qstrcmp(context.category, "korvel.engine") == 0 &&
                text.startsWith(u"frames drawn "))
                told << text.section(u' ', 2, 3);
        });
    using Picture = MpvMediaControl::Options::Picture;
    const QString atOnce = QStringLiteral("0 ms"), ahead = QStringLiteral("50 ms");
    for (const auto& [picture, expected] :
         {std::pair{Picture::None, QStringList{atOnce, ahead, atOnce}},
          std::pair{Picture::Software, QStringList{atOnce}}}) {
        told.clear();
        auto control = makeControl(picture);
        Recorder recorder(*control);
        for (const char* name : {"clip.mp4", "large.mp4", "clip.mp4"}) {
            openClip(*control, recorder, QString::fromUtf8(name));
            control->SeekTo(1000); // settles where it was
            EXPECT_TRUE(waitUntil([&] { return !recorder.seeks.empty(); })) << name;
            recorder.seeks.clear();
        }
        EXPECT_EQ(told, expected) << told.join(u'|').toStdString();
        EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("korvel.engine.info=false"));
}

// The picture is decoded in software unless a hardware decoder is asked for; one this machine
// lacks, or a name the engine does not know, still plays, and the log says what decoded it.
TEST(Playback, EngineLogTellsWhichDecoderWasUsed) {
    static QStringList told;
    QLoggingCategory::setFilterRules(QStringLiteral("korvel.engine.info=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (qstrcmp(context.category, "korvel.engine") == 0 &&
                text.startsWith(u"picture decoded"))
                told << text;
        });
    const bool hardware = PictureView::hasGraphicsProcessor();
    for (const char* asked : {"", "no", "auto-safe", "no-such-decoder"}) {
        SCOPED_TRACE(asked);
        told.clear();
        MpvMediaControl::Options options;
        options.picture = MpvMediaControl::Options::Picture::None;
        options.audioOutput = QStringLiteral("null");
        options.hardwareDecoder = asked;
        MpvMediaControl control(options);
        control.OptionSwitch3(true);
        Recorder recorder(control);
        openClip(control, recorder, QStringLiteral("clip.mp4"));
        EXPECT_TRUE(waitUntil([] { return !told.isEmpty(); }));
        if (!hardware || qstrcmp(asked, "auto-safe") != 0) {
            EXPECT_EQ(told.value(0), u"picture decoded in software");
        }
        EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("korvel.engine.info=false"));
}

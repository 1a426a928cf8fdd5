#include "MediaTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace korvel::test {

namespace {

// Makes the clips once per test process, before the first test (cheap when they exist).
class ClipsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedChannels);
        script.start(QStringLiteral("bash"),
                     {QStringLiteral(KORVEL_SOURCE_DIR "/tests/engine/make-clips.sh"), clipsDir()});
        ASSERT_TRUE(script.waitForFinished(120000)) << "make-clips.sh did not finish";
        ASSERT_EQ(script.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(script.exitCode(), 0) << "make-clips.sh failed";
    }
};

[[maybe_unused]] ::testing::Environment* const clipsEnvironment =
    ::testing::AddGlobalTestEnvironment(new ClipsEnvironment);

} // namespace

QString clipsDir() { return QStringLiteral(KORVEL_BINARY_DIR "/media-clips"); }

QString clip(const QString& name) { return clipsDir() + u'/' + name; }

Recorder::Recorder(MediaControl& control) {
    clock.start();
    control.OnStateChange = [this](int oldState, int newState) {
        states.emplace_back(oldState, newState);
        stateTimes.push_back(clock.elapsed());
    };
    control.OnPositionChange = [this](std::int64_t position, std::int64_t length) {
        positions.push_back({position, length, clock.elapsed()});
    };
    control.OnPostSeek = [this](std::int64_t oldTime, std::int64_t newTime) {
        seeks.emplace_back(oldTime, newTime);
    };
    control.OnAsyncFailure = [this](const QString& text) { failures.append(text); };
    control.onPictureSize = [this, &control] {
        earlySizes.emplace_back(QSize(control.QueryImageWidth(), control.QueryImageHeight()),
                                lastState());
    };
}

bool Recorder::sawState(int state) const {
    for (const auto& change : states)
        if (change.second == state) return true;
    return false;
}

int Recorder::endReport(std::size_t from) const {
    for (std::size_t i = from; i < positions.size(); ++i) {
        if (positions[i].length > 0 && positions[i].position == positions[i].length)
            return static_cast<int>(i);
    }
    return -1;
}

std::unique_ptr<MpvMediaControl> makeControl(MpvMediaControl::Options::Picture picture,
                                             int openTimeoutMs, const QString& audioOutput) {
    MpvMediaControl::Options options;
    options.picture = picture;
    options.audioOutput = audioOutput;
    options.openTimeoutMs = openTimeoutMs;
    return std::make_unique<MpvMediaControl>(options);
}

// The output writes a WAVE file of 32-bit float samples; the data's length in its header is
// filled in only at the end, so the samples are taken up to the end of the file.
double loudestSound(const QString& folder) {
    QFile dump(folder + QStringLiteral("/audiodump.wav"));
    if (!dump.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = dump.readAll();
    const qsizetype data = bytes.indexOf("data");
    if (data < 0) return -1;
    double loudest = -1;
    for (qsizetype at = data + 8; at + 4 <= bytes.size(); at += 4) {
        float sample = 0;
        std::memcpy(&sample, bytes.constData() + at, sizeof sample);
        loudest = std::max(loudest, double(std::fabs(sample)));
    }
    return loudest;
}

bool waitUntil(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

void openClip(MpvMediaControl& control, Recorder& recorder, const QString& name) {
    recorder.states.clear();
    control.LoadSource(clip(name));
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Paused; }))
        << name.toStdString()
        << " did not open; failures: " << recorder.failures.join(u'|').toStdString();
}

void playThrough(MpvMediaControl& control, Recorder& recorder, const QString& name) {
    openClip(control, recorder, name);
    recorder.states.clear();
    control.StartPlay();
    // A clip that has played is held at its end, paused.
    ASSERT_TRUE(waitUntil(
        [&] {
            return recorder.sawState(MediaControl::Playing) &&
                   recorder.lastState() == MediaControl::Paused;
        },
        10000))
        << name.toStdString() << " did not play to its end";
}

} // namespace korvel::test

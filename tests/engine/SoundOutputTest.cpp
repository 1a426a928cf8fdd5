#include "MediaTestSupport.h"

#include "ui/UserLanguage.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>

using namespace korvel;
using namespace korvel::test;

namespace {

// Set in the run of this test that a run of it starts, to read what that process says: the
// locale whose language that run speaks.
constexpr char ChildRun[] = "KORVEL_SOUND_OUTPUT_CHILD";

QStringList noticesIn(const QByteArray& text) {
    QStringList notices;
    for (const QString& line : QString::fromUtf8(text).split(u'\n'))
        if (line.startsWith(u"korvel: ")) notices << line;
    return notices;
}

} // namespace

// Fault: without a working sound output (no sound server, no device) a clip of sound alone
// failed with "audio output initialization failed" while a clip with a picture played on
// silently; the user was told nothing, or once per clip, or in English under any language.
TEST(SoundOutput, ClipsPlaySilentlyWhenNoOutputWorks) {
    std::optional<UserLanguage> language;
    if (qEnvironmentVariableIsSet(ChildRun))
        language.emplace(QLocale(qEnvironmentVariable(ChildRun)));
    QTemporaryDir dir;
    // A sound server address where nothing listens: the only output asked for cannot work.
    qputenv("PULSE_SERVER", "unix:" + dir.filePath(QStringLiteral("no-server")).toUtf8());
    for (const char* name : {"tone.mp3", "clip.mp4"}) {
        SCOPED_TRACE(name);
        MpvMediaControl::Options options;
        options.picture = MpvMediaControl::Options::Picture::None;
        options.audioOutput = QStringLiteral("pulse");
        MpvMediaControl control(options);
        Recorder recorder(control);
        control.LoadSource(clip(QString::fromUtf8(name)));
        control.StartPlay();
        EXPECT_TRUE(waitUntil([&] {
            return !recorder.positions.empty() && recorder.positions.back().position >= 600;
        })) << "the clock must run; failures: "
            << recorder.failures.join(u'|').toStdString();
        EXPECT_EQ(recorder.lastState(), MediaControl::Playing);
        EXPECT_FALSE(recorder.sawState(MediaControl::Stopped));
        EXPECT_TRUE(recorder.failures.isEmpty());
    }
    qunsetenv("PULSE_SERVER");
    if (qEnvironmentVariableIsSet(ChildRun)) return;

    // The same in a process of its own, to read its stderr: one line, for both clips, in the
    // user's language.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromUtf8(ChildRun), QStringLiteral("ja_JP"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SoundOutput.ClipsPlaySilentlyWhenNoOutputWorks")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    const QByteArray said = child.readAllStandardError();
    EXPECT_EQ(noticesIn(said), QStringList(QStringLiteral(
                                   "korvel: サウンド出力を開けませんでした (pulse を試しました)。"
                                   "音なしで再生します。")))
        << said.toStdString();
}

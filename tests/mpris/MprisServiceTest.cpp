#include "../support/CommandTestSupport.h"
#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "mpris/MprisService.h"
#include "playback/Playback.h"
#include "ui/UserLanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include <unistd.h>

namespace korvel {
namespace {

// What `action` writes on the process's standard error.
QString stderrOf(const std::function<void()>& action) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stderr"));
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "w");
    ::dup2(::fileno(file), STDERR_FILENO);
    action();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::fclose(file);
    QFile told(path);
    return told.open(QIODevice::ReadOnly) ? QString::fromUtf8(told.readAll()) : QString();
}

// Fault: the line that tells why the desktop's media controls are missing was English under
// every language.
TEST(MprisService, TellsAMissingBusInTheUsersLanguage) {
    QTemporaryDir runtime; // no bus stands there
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtimeDir = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const struct {
        const char* locale;
        QString line;
    } rows[] = {
        {"ja_JP",
         QStringLiteral(
             "korvel: デスクトップのメディア操作は使えません: セッションバスがありません。\n")},
        {"en_US", QStringLiteral("korvel: no desktop media controls: no session bus\n")},
    };
    for (const auto& row : rows) {
        const UserLanguage language{QLocale(QLatin1String(row.locale))};
        test::FakeMediaControl control;
        test::FakeHost playbackHost;
        Playback playback(control, playbackHost);
        test::CommandRecorder taker;
        EXPECT_EQ(stderrOf([&] { MprisService service(playback, taker); }), row.line) << row.locale;
    }
    if (!address.isEmpty()) qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    if (!runtimeDir.isEmpty()) qputenv("XDG_RUNTIME_DIR", runtimeDir);
}

using test::CommandRecorder;
using test::describe;
using test::FakeHost;
using test::FakeMediaControl;

// The bus's methods and properties as the player's verbs, without a bus: the service answers
// calls made in-process as a bus caller's would be.
class MprisServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("XDG_RUNTIME_DIR", "/nonexistent");
    }
    void SetUp() override {
        playback.FormShow(QString());
        playback.OpenEntry(false, QStringLiteral("/clips/first.avi"));
        control.source = QStringLiteral("/clips/first.avi");
        control.length = 20000;
        control.state = MediaControl::Playing;
        playback.RealAudio1StateChange(MediaControl::Opening, MediaControl::Playing);
        playback.RealAudio1PositionChange(1500, 20000);
    }

    FakeMediaControl control;
    FakeHost host;
    Playback playback{control, host};
    CommandRecorder taker;
    MprisService service{playback, taker};
};

// Fault: a bus method reaching the player by another road than the panel's verbs (pressing
// its buttons, moving its slider), with another argument, or a refused value run anyway.
TEST_F(MprisServiceTest, MethodsAndPropertiesAreTheVerbs) {
    const QString track = MprisValues::trackId(QStringLiteral("/clips/first.avi"));
    const struct {
        const char* call;
        std::function<void(MprisService&)> run;
        QStringList commands;
    } rows[] = {
        {"Play", [](MprisService& s) { s.play(); }, {"play"}},
        {"Pause", [](MprisService& s) { s.pause(); }, {"pause"}},
        {"PlayPause", [](MprisService& s) { s.playPause(); }, {"pause"}},
        {"Stop", [](MprisService& s) { s.stop(); }, {"stop"}},
        {"Next", [](MprisService& s) { s.next(); }, {"next"}},
        {"Previous", [](MprisService& s) { s.previous(); }, {"previous"}},
        {"Raise", [](MprisService& s) { s.raise(); }, {"raise"}},
        {"Seek +3 s", [](MprisService& s) { s.seek(3000000); }, {"seek-to:4500"}},
        {"Seek -9 s", [](MprisService& s) { s.seek(-9000000); }, {"seek-to:0"}},
        {"Seek past the end", [](MprisService& s) { s.seek(30000000); }, {"next"}},
        {"SetPosition",
         [&track](MprisService& s) { s.setPosition(track, 2000000); },
         {"seek-to:2000"}},
        {"SetPosition other", [](MprisService& s) { s.setPosition("/x", 2000000); }, {}},
        {"OpenUri",
         [](MprisService& s) { s.openUri("file:///clips/b%20c.avi"); },
         {"raise", "open:/clips/b c.avi"}},
        {"OpenUri empty", [](MprisService& s) { s.openUri(""); }, {"open:"}},
        {"Volume", [](MprisService& s) { s.setVolume(0.304); }, {"volume:30"}},
        {"Volume above", [](MprisService& s) { s.setVolume(1.5); }, {"volume:100"}},
        {"Rate 0", [](MprisService& s) { s.setRate(0.0); }, {"pause"}},
        {"Rate 2", [](MprisService& s) { s.setRate(2.0); }, {}},
        {"LoopStatus", [](MprisService& s) { s.setLoopStatus("Playlist"); }, {"loop:1"}},
        {"LoopStatus None", [](MprisService& s) { s.setLoopStatus("None"); }, {"loop:0"}},
        {"LoopStatus Track", [](MprisService& s) { s.setLoopStatus("Track"); }, {}},
        {"Shuffle", [](MprisService& s) { s.setShuffle(true); }, {"shuffle:1"}},
    };
    for (const auto& row : rows) {
        taker.seen.clear();
        row.run(service);
        EXPECT_EQ(describe(taker.seen), row.commands) << row.call;
    }
    // Quit is answered first: the verb runs once the call has returned.
    taker.seen.clear();
    service.quit();
    EXPECT_TRUE(taker.seen.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(describe(taker.seen), QStringList({"quit"}));
}

} // namespace
} // namespace korvel

#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"

#include "mpris/MprisHost.h"
#include "mpris/MprisService.h"
#include "playback/Playback.h"
#include "ui/UserLanguage.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

#include <unistd.h>

namespace korvel {
namespace {

class IdleHost : public MprisHost {
public:
    void pressPanelButton(QStringView) override {}
    void setVolumeSlider(int) override {}
    void setListButton(QStringView, bool) override {}
    void openLocation(const QString&) override {}
    void raise() override {}
    void quit() override {}
};

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
        IdleHost host;
        EXPECT_EQ(stderrOf([&] { MprisService service(playback, host); }), row.line) << row.locale;
    }
    if (!address.isEmpty()) qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    if (!runtimeDir.isEmpty()) qputenv("XDG_RUNTIME_DIR", runtimeDir);
}

} // namespace
} // namespace korvel

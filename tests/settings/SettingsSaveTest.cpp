#include "SettingsTestSupport.h"

#include "playlist/SettingsFile.h"
#include "playlist/SettingsLocation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <iostream>
#include <random>
#include <sys/stat.h>
#include <thread>

using namespace korvel;
using namespace korvel::test;

namespace {

const QString Probe = QStringLiteral(KORVEL_BINARY_DIR "/settings_kill_probe");

int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

// Fault: a missing file is taken for a damaged one, or a long row, Japanese text or the list
// is lost between a save and the next start.
TEST(SettingsSave, SavedFileReadsBackWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("korvel.ini");
    const SettingsFile::ReadResult none = SettingsFile::read(path);
    EXPECT_TRUE(none.listTaken);
    EXPECT_EQ(none.settings, SettingsData{});

    SettingsData data = bigSettings(254, QStringLiteral("動画"));
    data.rows[7][6] = QStringLiteral("/ビデオ/") + QString(4000, u'長') + QStringLiteral("|end");
    SettingsFile::write(path, data);
    const SettingsFile::ReadResult read = SettingsFile::read(path);
    EXPECT_TRUE(read.listTaken);
    EXPECT_TRUE(read.error.isEmpty());
    EXPECT_EQ(read.settings, data);
    EXPECT_TRUE(fileBytes(path).contains(QStringLiteral("/media/動画/1/").toUtf8()));
}

// Fault: a file that is there but cannot be read is taken as an empty list, and the exit
// save then writes that empty list over the stored one.
TEST(SettingsSave, UnreadableFileIsReportedAndNotOverwritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("korvel.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("korvel.ini"));
    const SettingsFile::ReadResult read = SettingsFile::read(path);
    EXPECT_FALSE(read.listTaken);
    EXPECT_TRUE(read.error.startsWith("Cannot read the settings from " + path + ": "))
        << read.error.toStdString();
    EXPECT_TRUE(errorText([&] {
                    SettingsFile::write(path, read.settings);
                }).startsWith("Cannot save the settings to " + path + ": "));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(folderEntries(path), QStringList());
}

// Fault: a save that cannot make its folder (a regular file stands in the way, as a
// read-only folder would for an ordinary user) fails silently or leaves a stray file.
TEST(SettingsSave, SaveIntoAnUnusableFolderRaises) {
    QTemporaryDir dir;
    putFile(dir.filePath("blocker"), "not a folder");
    for (const QString& path :
         {dir.filePath("blocker/korvel.ini"), dir.filePath("blocker/korvel/korvel.ini")}) {
        const QString text = errorText([&] { SettingsFile::write(path, SettingsData{}); });
        EXPECT_EQ(text, "Cannot save the settings to " + path + ": Not a directory");
    }
    EXPECT_EQ(fileBytes(dir.filePath("blocker")), "not a folder");
    EXPECT_EQ(folderEntries(dir.path()), QStringList{"blocker"});
}

// Fault: the configuration folder is not made, or is made readable by other users.
TEST(SettingsSave, MissingFoldersAreMadePrivate) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config/korvel/korvel.ini");
    SettingsFile::write(path, bigSettings(2, QStringLiteral("a")));
    EXPECT_EQ(SettingsFile::read(path).settings, bigSettings(2, QStringLiteral("a")));
    EXPECT_EQ(modeOf(dir.filePath("config")) & 0077, 0);
    EXPECT_EQ(modeOf(dir.filePath("config/korvel")) & 0077, 0);
}

// Fault: a disk that fills up in the middle of a save cuts the settings file, or the failure
// is not reported.
TEST(SettingsSave, FullDiskLeavesTheOldFileAndRaises) {
    QTemporaryDir dir;
    const QString path = dir.filePath("korvel.ini");
    SettingsFile::write(path, bigSettings(10, QStringLiteral("old")));
    const QByteArray old = fileBytes(path);
    SettingsFile::write(dir.filePath("new.ini"), bigSettings(200, QStringLiteral("new")));

    QProcess probe;
    probe.start(Probe, {"limited", path, dir.filePath("new.ini"), "8192"});
    ASSERT_TRUE(probe.waitForFinished(10000)) << probe.errorString().toStdString();
    EXPECT_EQ(probe.exitCode(), 3);
    EXPECT_EQ(QString::fromUtf8(probe.readAllStandardError()),
              "Cannot save the settings to " + path + ": File too large");
    const QByteArray after = fileBytes(path);
    EXPECT_TRUE(after == old) << after.size() << " bytes instead of the old " << old.size();
    EXPECT_EQ(folderEntries(dir.path()), QStringList({"korvel.ini", "new.ini"}));
}

// Fault: a save killed at any moment (a crash, SIGKILL, a power cut before the rename)
// leaves a cut or empty settings file instead of the old one or the new one, whole.
TEST(SettingsSave, KillAtAnyMomentLeavesTheOldOrTheNewFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("korvel.ini");
    const SettingsData first = bigSettings(128, QStringLiteral("first"));
    const SettingsData second = bigSettings(128, QStringLiteral("second"));
    SettingsFile::write(dir.filePath("first.ini"), first);
    SettingsFile::write(dir.filePath("second.ini"), second);
    // The probe starts from the first file and saves the second, then the first, and so on;
    // kills spread over two saves from its start meet every step of both.
    const auto started = std::chrono::steady_clock::now();
    SettingsFile::write(path, second);
    SettingsFile::write(path, first);
    const auto twoSaves = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    const QByteArray firstText = fileBytes(path);
    const QByteArray secondText = SettingsFile::compose(firstText, second);

    const unsigned seed = 20240611;
    std::cout << "kill harness seed " << seed << ", two saves take " << twoSaves.count() << " us\n";
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, twoSaves.count() * 5 / 4);
    int seen[2] = {0, 0};
    for (int round = 0; round < 150; ++round) {
        QProcess probe;
        probe.start(Probe, {"loop", path, dir.filePath("first.ini"), dir.filePath("second.ini")});
        ASSERT_TRUE(probe.waitForReadyRead(10000)) << "round " << round;
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(static_cast<pid_t>(probe.processId()), SIGKILL);
        ASSERT_TRUE(probe.waitForFinished(10000));
        const QByteArray text = fileBytes(path);
        ASSERT_TRUE(text == firstText || text == secondText)
            << "round " << round << ": " << text.size() << " bytes";
        ++seen[text == firstText ? 0 : 1];
        // Every round starts from the first file, as the probe expects.
        if (text != firstText) putFile(path, firstText);
    }
    std::cout << "old/new file after the kill: " << seen[0] << '/' << seen[1] << '\n';
}

// Fault: the settings land in a folder of the wrong name, a relative $XDG_CONFIG_HOME is
// trusted, or a portable install's file beside the program is ignored.
TEST(SettingsLocation, FollowsTheConfigFolderRulesAndPortableInstalls) {
    QTemporaryDir exe;
    const struct {
        const char* xdg;
        const char* home;
        const char* path;
    } cases[] = {
        {"/x/cfg", "/home/u", "/x/cfg/korvel/korvel.ini"},
        {"/x/cfg/", "/home/u", "/x/cfg/korvel/korvel.ini"},
        {"", "/home/u", "/home/u/.config/korvel/korvel.ini"},
        {"relative/cfg", "/home/u", "/home/u/.config/korvel/korvel.ini"},
        {"/x/cfg", "", "/x/cfg/korvel/korvel.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsLocation::choose(exe.path(), c.xdg, c.home), c.path) << c.xdg;
    }
    EXPECT_EQ(errorText([&] { SettingsLocation::choose(exe.path(), "", ""); }),
              "Cannot find a folder for the settings: HOME is not set");

    ASSERT_TRUE(QDir(exe.path()).mkdir("korvel.ini"));
    EXPECT_EQ(SettingsLocation::choose(exe.path(), "/x/cfg", ""), "/x/cfg/korvel/korvel.ini");
    ASSERT_TRUE(QDir(exe.path()).rmdir("korvel.ini"));
    putFile(exe.filePath("korvel.ini"), "");
    EXPECT_EQ(SettingsLocation::choose(exe.path(), "/x/cfg", "/home/u"),
              exe.filePath("korvel.ini"));
}

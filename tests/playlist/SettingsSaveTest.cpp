#include "SettingsTestSupport.h"

#include "playlist/ListCapacity.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"
#include "playlist/SettingsFile.h"
#include "playlist/SettingsLocation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>

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

// Fault: a list of very long locations saved into a file larger than the next start reads,
// which then lost the list and failed every later save. Such a list is never built: what
// would not fit is left out with a message, and what was built saves and reads back; a text
// over the limit is refused before the old file is touched.
TEST(SettingsSave, ReaderAndWriterHoldToOneLimit) {
    QTemporaryDir dir;
    const QString path = dir.filePath("korvel.ini");
    PlayListModel list;
    ListCapacity capacity(list);
    for (int i = 0; i < 80; ++i) {
        capacity.add(QStringLiteral("/long/%1/").arg(i) + QString(99990, u'x') + ".avi");
    }
    ASSERT_GT(capacity.leftOut(), 0);
    EXPECT_EQ(list.entryCount() + capacity.leftOut(), 80);
    EXPECT_EQ(
        capacity.message(),
        QStringLiteral("The playlist's entries are kept in at most %1 bytes: %2 were left out")
            .arg(SettingsFile::MaxListBytes)
            .arg(capacity.leftOut()));
    SettingsData data;
    data.rows = SettingsFile::storedRows(list);
    SettingsFile::write(path, data);
    EXPECT_EQ(SettingsFile::read(path).settings, data);

    const QByteArray before = fileBytes(path);
    data.rows.resize(100, data.rows.front());
    EXPECT_EQ(errorText([&] { SettingsFile::write(path, data); }),
              "Cannot save the settings to " + path + ": the file would be larger than " +
                  QString::number(SettingsFile::MaxFileBytes) +
                  " bytes, more than Korvel reads back");
    EXPECT_EQ(fileBytes(path), before);
}

// Fault: a stored list longer than the list holds (a ListRow above 256 written by hand, or a
// long run of rows without a ListRow) cut to 254 without a word, and the next save lowered
// ListRow so that the rest were never reached again. They are told once, stay in the file
// after the list's entries, and come into the list as it gets room; rows past a ListRow stay
// left over from an earlier list.
TEST(SettingsSave, RowsPastTheListAreToldAndStayReachable) {
    QTemporaryDir dir;
    const QString path = dir.filePath("korvel.ini");
    QByteArray rows;
    for (int n = 1; n <= 300; ++n)
        rows += "RowData" + QByteArray::number(n) + "=On|g" + QByteArray::number(n) + "\n";
    const struct {
        const char* listRow;
        int stored;
    } cases[] = {
        {"ListRow=302\n", 300},
        {"ListRow=282\n", 280},
        {"ListRow=x\n", 300},
        {"", 300},
        {"ListRow=0x00000000012E\n", 300},
    };
    const auto told = [&path](int stored) {
        return QStringLiteral("The settings file %1 holds %2 entries, more than the list's 254: "
                              "the list shows the first 254, and Korvel keeps the others in the "
                              "file after them")
            .arg(path)
            .arg(stored);
    };
    for (const auto& c : cases) {
        putFile(path, "[Korvel setting]\n" + QByteArray(c.listRow) + rows);
        SettingsFile::ReadResult read = SettingsFile::read(path);
        EXPECT_EQ(read.notice, told(c.stored)) << c.listRow;
        ASSERT_EQ(read.settings.rows.size(), 254u) << c.listRow;
        // Ten entries removed: the list takes ten of the others at the next start.
        read.settings.rows.erase(read.settings.rows.begin(), read.settings.rows.begin() + 10);
        SettingsFile::write(path, read.settings);
        SettingsFile::ReadResult next = SettingsFile::read(path);
        EXPECT_EQ(next.notice, told(c.stored - 10)) << c.listRow;
        ASSERT_EQ(next.settings.rows.size(), 254u) << c.listRow;
        EXPECT_EQ(next.settings.rows.front()[1], "g11") << c.listRow;
        EXPECT_EQ(next.settings.rows.back()[1], "g264") << c.listRow;
        // With room for all, all are in the list and nothing is told.
        next.settings.rows.resize(100);
        SettingsFile::write(path, next.settings);
        const SettingsFile::ReadResult last = SettingsFile::read(path);
        EXPECT_EQ(last.notice, "") << c.listRow;
        ASSERT_EQ(last.settings.rows.size(), std::size_t(c.stored - 164)) << c.listRow;
        EXPECT_EQ(last.settings.rows[99][1], "g110") << c.listRow;
        EXPECT_EQ(last.settings.rows.back()[1], "g" + QString::number(c.stored)) << c.listRow;
    }
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
        // The system's reason in the locale's language ("Not a directory" in English).
        EXPECT_EQ(text, "Cannot save the settings to " + path + ": " + qt_error_string(ENOTDIR));
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

// A file system of 256 KiB of its own (root alone may mount one), unmounted at the end.
class SmallFileSystem {
public:
    SmallFileSystem() {
        mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                          "size=256k,mode=0700") == 0;
    }
    ~SmallFileSystem() {
        if (mounted) ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // Writes a filler file until the file system has no room left.
    void fill() const {
        QFile filler(filePath("filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
    bool mounted = false;

private:
    QTemporaryDir m_dir;
};

// Fault: a disk that is really full (no space left, not a size limit) cuts the settings file
// or the playlist, leaves a half-written file beside it, or the failure is not reported.
TEST(SettingsSave, FullFileSystemLeavesTheOldFilesAndRaises) {
    SmallFileSystem disk;
    if (!disk.mounted) GTEST_SKIP() << "cannot mount a small file system (needs root)";
    const QString settingsPath = disk.filePath("korvel.ini");
    const QString listPath = disk.filePath("list.ram");
    SettingsFile::write(settingsPath, bigSettings(2, QStringLiteral("old")));
    const QByteArray oldSettings = fileBytes(settingsPath);
    putFile(listPath, "/old/clip.avi\r\n");
    disk.fill();

    const SettingsData data = bigSettings(100, QStringLiteral("new"));
    EXPECT_EQ(errorText([&] { SettingsFile::write(settingsPath, data); }),
              "Cannot save the settings to " + settingsPath + ": No space left on device");
    PlayListModel list;
    for (const SettingsRow& row : data.rows) list.AddEntry(row[6]);
    EXPECT_EQ(errorText([&] { RamFile::SaveRamFile(listPath, list); }),
              "Cannot write the playlist " + listPath + ": No space left on device");
    EXPECT_EQ(fileBytes(settingsPath), oldSettings);
    EXPECT_EQ(fileBytes(listPath), "/old/clip.avi\r\n");
    EXPECT_EQ(folderEntries(disk.filePath({})), QStringList({"filler", "korvel.ini", "list.ram"}));

    // Room again: both saves go through.
    ASSERT_TRUE(QFile::remove(disk.filePath("filler")));
    SettingsFile::write(settingsPath, data);
    RamFile::SaveRamFile(listPath, list);
    EXPECT_EQ(SettingsFile::read(settingsPath).settings, data);
    EXPECT_EQ(fileBytes(listPath), RamFile::FormatRam(list));
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

#include "MediaTestSupport.h"

#include "engine/MediaLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace korvel;

namespace {

// A folder with awkwardly named media files, made current for the test.
class MediaLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_previous = QDir::currentPath();
        for (const char* name :
             {"a:b.mp4", "av:x", "-x.mp4", "clip with space.mp4", "plain.mp4", ":colon.mp4"})
            touch(QString::fromUtf8(name));
        QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
        QDir::setCurrent(m_dir.path());
    }
    void TearDown() override { QDir::setCurrent(m_previous); }

    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }
    void touch(const QString& name) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("media");
    }

    QTemporaryDir m_dir;
    QString m_previous;
};

} // namespace

// Engine prefixes, other schemes, non-files and cut names must never reach the engine.
TEST_F(MediaLocationTest, RefusesEverythingOutsideTheAllowList) {
    const char* hostile[] = {
        "",
        "av://lavfi:testsrc",
        "AV://lavfi:testsrc",
        "lavfi://testsrc",
        "edl://%10%/etc/passwd,0,1",
        "memory://data",
        "fd://0",
        "fdclose://0",
        "appending:///tmp/x",
        "null://",
        "mf://*.png",
        "dvd://",
        "bd://",
        "cdda://",
        "smb://server/share/clip.mp4",
        "ytdl://search",
        "ffmpeg://lavfi:testsrc",
        "slice://0-10@/etc/passwd",
        "data://text/plain,hello",
        "file://otherhost/tmp/clip.mp4",
        "file:///dev/null",
        "/dev/null",
        "/dev/zero",
        "missing.mp4",
        "av:missing",
        "-missing.mp4",
        "folder",
        "pipe",
    };
    for (const char* location : hostile) {
        EXPECT_THROW(MediaLocation::engineTarget(QString::fromUtf8(location)), KorvelError)
            << location;
    }
    // A NUL would make the engine read a shorter, different name.
    const QString cut = path("plain.mp4") + QChar(0) + QStringLiteral("x");
    EXPECT_THROW(MediaLocation::engineTarget(cut), KorvelError);
    EXPECT_THROW(MediaLocation::engineTarget(QStringLiteral("http://h/a") + QChar(0)), KorvelError);
}

// Local files always reach the engine as absolute paths, so no name reads as a prefix.
TEST_F(MediaLocationTest, GivesLocalFilesAsAbsolutePaths) {
    const struct {
        QString location;
        QString target;
    } cases[] = {
        {QStringLiteral("a:b.mp4"), path("a:b.mp4")},
        {QStringLiteral("av:x"), path("av:x")},
        {QStringLiteral("-x.mp4"), path("-x.mp4")},
        {QStringLiteral("./plain.mp4"), path("plain.mp4")},
        {QStringLiteral("folder/../plain.mp4"), path("plain.mp4")},
        // Fault: a name starting with ":" reached the engine as a relative path.
        {QStringLiteral(":colon.mp4"), path(":colon.mp4")},
        {QStringLiteral(":folder/../plain.mp4"), path("plain.mp4")},
        {path("clip with space.mp4"), path("clip with space.mp4")},
        {QStringLiteral("file://") + path("plain.mp4"), path("plain.mp4")},
        {QStringLiteral("FILE://localhost") + path("plain.mp4"), path("plain.mp4")},
        {QStringLiteral("file://") + path("clip%20with%20space.mp4"), path("clip with space.mp4")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MediaLocation::engineTarget(c.location), c.target) << c.location.toStdString();
}

// Streams pass unchanged but for the scheme's letter case, which the engine matches exactly.
TEST_F(MediaLocationTest, PassesStreamsOfTheAllowedSchemes) {
    const struct {
        const char* location;
        const char* target;
    } cases[] = {
        {"http://127.0.0.1:8000/clip.mp4", "http://127.0.0.1:8000/clip.mp4"},
        {"HTTPS://example.org/a b.rm?x=1", "https://example.org/a b.rm?x=1"},
        {"rtsp://example.org/live", "rtsp://example.org/live"},
        {"Rtmp://example.org/app/stream", "rtmp://example.org/app/stream"},
        {"mms://example.org/s", "mms://example.org/s"},
        {"mmsh://example.org/s", "mmsh://example.org/s"},
        {"udp://239.0.0.1:1234", "udp://239.0.0.1:1234"},
        {"rtp://239.0.0.1:1234", "rtp://239.0.0.1:1234"},
        {"ftp://example.org/clip.avi", "ftp://example.org/clip.avi"},
    };
    for (const auto& c : cases) {
        const QString target = MediaLocation::engineTarget(QString::fromUtf8(c.location));
        EXPECT_EQ(target, QString::fromUtf8(c.target));
        EXPECT_TRUE(MediaLocation::isStream(target)) << c.location;
    }
    EXPECT_FALSE(MediaLocation::isStream(path("plain.mp4")));
}

// The error box names the location and the reason.
TEST_F(MediaLocationTest, RefusalsSayWhat) {
    const struct {
        QString location;
        QString text;
    } cases[] = {
        {QString(), QStringLiteral("Nothing to open")},
        {QStringLiteral("missing.mp4"), QStringLiteral("Cannot open missing.mp4: no such file")},
        {QStringLiteral("folder"), QStringLiteral("Cannot open folder: not a media file")},
        {QStringLiteral("av://lavfi:testsrc"),
         QStringLiteral("Cannot open av://lavfi:testsrc: av locations are not supported")},
    };
    for (const auto& c : cases) {
        try {
            MediaLocation::engineTarget(c.location);
            ADD_FAILURE() << "accepted " << c.location.toStdString();
        } catch (const KorvelError& error) {
            EXPECT_EQ(error.text(), c.text);
        }
    }
}

#include "MediaTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace korvel;
using namespace korvel::test;

namespace {

// Raises the control's failures the way the application does: caught around the event
// handler they escape from.
class CatchingControl : public MpvMediaControl {
public:
    using MpvMediaControl::MpvMediaControl;
    QStringList caught;

protected:
    bool event(QEvent* event) override {
        try {
            return MpvMediaControl::event(event);
        } catch (const KorvelError& error) {
            caught.append(error.text());
            return true;
        }
    }
};

std::unique_ptr<CatchingControl> makeCatchingControl() {
    MpvMediaControl::Options options;
    options.picture = MpvMediaControl::Options::Picture::None;
    options.audioOutput = QStringLiteral("null");
    return std::make_unique<CatchingControl>(options);
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

// Title from the title tag (not the file name), length, and the picture size after aspect
// correction, for every container the player meets; each opening goes Opening -> Paused.
TEST(ClipOpening, ReadsLengthTitleAndPictureSize) {
    const struct {
        const char* name;
        const char* title;
        int width;
        int height;
    } cases[] = {
        {"clip.mp4", "TestClip", 320, 240}, {"clip.avi", "TestClip", 320, 240},
        {"clip.mpg", "", 320, 240},         {"clip.rm", "TestClip", 320, 240},
        {"wide.mp4", "", 426, 240},         {"small.mp4", "", 176, 144},
        {"tone.mp3", "TestTone", 0, 0},     {"stream.m3u8", "", 320, 240},
    };
    auto control = makeControl();
    Recorder recorder(*control);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.positions.clear();
        recorder.earlySizes.clear();
        openClip(*control, recorder, QString::fromUtf8(c.name));
        EXPECT_EQ(recorder.states.front().second, MediaControl::Opening);
        EXPECT_FALSE(recorder.sawState(MediaControl::Stopped));
        EXPECT_NEAR(static_cast<double>(control->QueryLength()), 3000.0, 100.0);
        EXPECT_EQ(control->QueryTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(control->QueryImageWidth(), c.width);
        EXPECT_EQ(control->QueryImageHeight(), c.height);
        // The file's own size is told while the clip opens, and the first frame agrees.
        const auto early =
            c.width > 0
                ? std::vector{std::pair(QSize(c.width, c.height), int(MediaControl::Opening))}
                : std::vector<std::pair<QSize, int>>{};
        EXPECT_EQ(recorder.earlySizes, early);
        EXPECT_EQ(control->QuerySource(), clip(QString::fromUtf8(c.name)));
        // The opening itself reports the start position once (MPEG starts a little late).
        ASSERT_FALSE(recorder.positions.empty());
        EXPECT_LT(recorder.positions.front().position, 50);
        EXPECT_EQ(recorder.positions.front().length, control->QueryLength());
    }
    EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
}

// The first clip's states: nothing -> Opening -> Paused, or -> Playing when started at once.
TEST(ClipOpening, ReportsOpeningThenPausedOrPlaying) {
    auto control = makeControl();
    Recorder recorder(*control);
    EXPECT_EQ(control->QueryImageWidth(), 0);
    control->LoadSource(clip(QStringLiteral("clip.mp4")));
    EXPECT_TRUE(recorder.states.empty()) << "events must come from the event loop";
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Paused; }));
    EXPECT_EQ(recorder.states,
              (std::vector<std::pair<int, int>>{{MediaControl::Closed, MediaControl::Opening},
                                                {MediaControl::Opening, MediaControl::Paused}}));

    recorder.states.clear();
    control->LoadSource(clip(QStringLiteral("clip.avi")));
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Playing; }));
    EXPECT_EQ(recorder.states,
              (std::vector<std::pair<int, int>>{{MediaControl::Paused, MediaControl::Opening},
                                                {MediaControl::Opening, MediaControl::Playing}}));
}

// Replacing a playing clip must not pass through a false Stopped (the engine ends the old
// clip first), and the new clip's title replaces the old one.
TEST(ClipOpening, QuickReloadDoesNotReportStopped) {
    auto control = makeControl();
    Recorder recorder(*control);
    control->LoadSource(clip(QStringLiteral("clip.mp4")));
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Playing; }));
    ASSERT_EQ(control->QueryTitle(), QStringLiteral("TestClip"));
    control->LoadSource(clip(QStringLiteral("clip.avi")));
    control->LoadSource(clip(QStringLiteral("clip.mpg")));
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] {
        return recorder.lastState() == MediaControl::Playing && recorder.states.size() > 3;
    }));
    EXPECT_FALSE(recorder.sawState(MediaControl::Stopped));
    EXPECT_EQ(control->QueryTitle(), QString());
    EXPECT_EQ(control->QuerySource(), clip(QStringLiteral("clip.mpg")));
}

// A missing file is refused at once and leaves the loaded clip as it was.
TEST(ClipOpening, MissingFileIsRefusedAtOnce) {
    auto control = makeControl();
    Recorder recorder(*control);
    openClip(*control, recorder, QStringLiteral("clip.mp4"));
    recorder.states.clear();
    try {
        control->LoadSource(clip(QStringLiteral("missing.mp4")));
        ADD_FAILURE() << "a missing file was accepted";
    } catch (const KorvelError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("Cannot open %1: no such file")
                                    .arg(clip(QStringLiteral("missing.mp4"))));
    }
    EXPECT_EQ(control->QuerySource(), clip(QStringLiteral("clip.mp4")));
    EXPECT_EQ(control->QueryTitle(), QStringLiteral("TestClip"));
    control->SeekTo(1000);
    ASSERT_TRUE(waitUntil([&] { return recorder.seeks.size() == 1; }));
    EXPECT_TRUE(recorder.states.empty());
}

// Volume reads 255 before anything set it, maps 0..100 onto 0..255, and refuses the rest
// without changing; mute stays in force for the next clips: they are silent until it ends.
TEST(ClipOpening, VolumeAndMute) {
    QTemporaryDir sound;
    const QString folder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(sound.path()));
    auto control =
        makeControl(MpvMediaControl::Options::Picture::None, 20000, QStringLiteral("pcm"));
    Recorder recorder(*control);
    EXPECT_EQ(control->QueryVolume(), 255);
    const struct {
        int set;
        int read;
    } cases[] = {{50, 128}, {0, 0}, {1, 3}, {99, 252}, {100, 255}, {30, 77}};
    for (const auto& c : cases) {
        control->ApplyVolume(c.set);
        EXPECT_EQ(control->QueryVolume(), c.read) << c.set;
    }
    EXPECT_THROW(control->ApplyVolume(101), KorvelError);
    EXPECT_THROW(control->ApplyVolume(-1), KorvelError);
    EXPECT_THROW(control->ApplyVolume(255), KorvelError);
    EXPECT_EQ(control->QueryVolume(), 77);

    control->ApplyMute(true);
    openClip(*control, recorder, QStringLiteral("clip.avi"));
    playThrough(*control, recorder, QStringLiteral("clip.mp4"));
    EXPECT_EQ(loudestSound(sound.path()), 0.0);
    EXPECT_EQ(control->QueryVolume(), 77);
    control->ApplyMute(false);
    playThrough(*control, recorder, QStringLiteral("clip.mp4"));
    // The clip's tone at a volume of 30 %: 0.125 times 0.3 cubed.
    EXPECT_GT(loudestSound(sound.path()), 0.002);
    control.reset();
    QDir::setCurrent(folder);
}

// A local file that is a playlist or an edit list is not followed: its filter source and
// the files it names are never played, and the user hears why.
TEST(ClipOpening, PlaylistsAndEditListsAreNotFollowed) {
    QTemporaryDir dir;
    const QByteArray lavfi = "av://lavfi:testsrc=duration=2\n";
    const QByteArray file = clip(QStringLiteral("clip.mp4")).toUtf8() + '\n';
    const struct {
        const char* name;
        QByteArray text;
    } cases[] = {
        {"list.m3u", "#EXTM3U\n" + lavfi + file},
        {"list.pls", "[playlist]\nFile1=" + lavfi + "NumberOfEntries=1\n"},
        {"edit.edl", "# mpv EDL v0\n" + lavfi},
        {"files.edl", "# mpv EDL v0\n" + file.trimmed() + ",0,1\n"},
        {"disguised.mp4", "# mpv EDL v0\n" + file.trimmed() + ",0,1\n"},
        // A stream list is followed, but only to its segments' files and servers.
        {"stream.m3u8",
         "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2,\n" + lavfi + "#EXT-X-ENDLIST\n"},
        {"disguised.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" +
                               dir.filePath(QStringLiteral("edit.edl")).toUtf8() +
                               "\n#EXT-X-ENDLIST\n"},
        {"stream.mp4",
         "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" + file + "#EXT-X-ENDLIST\n"},
    };
    auto control = makeControl();
    Recorder recorder(*control);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromUtf8(c.name));
        writeFile(path, c.text);
        recorder.states.clear();
        recorder.failures.clear();
        control->LoadSource(path);
        ASSERT_TRUE(waitUntil([&] { return !recorder.failures.isEmpty(); }));
        EXPECT_TRUE(recorder.failures.front().startsWith(QStringLiteral("Cannot open ") + path))
            << recorder.failures.front().toStdString();
        EXPECT_EQ(recorder.lastState(), MediaControl::Stopped);
        EXPECT_FALSE(recorder.sawState(MediaControl::Paused));
        EXPECT_FALSE(recorder.sawState(MediaControl::Playing));
    }
}

// Without a failure handler, a late failure is raised from the event loop once the pending
// events are handled, and a handler's own failure does not cut the events short.
TEST(ClipOpening, LateFailuresAreRaisedFromTheEventLoop) {
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.m3u"));
    writeFile(list, "#EXTM3U\nav://lavfi:testsrc\n");
    auto control = makeCatchingControl();
    std::vector<int> states;
    control->OnStateChange = [&](int, int state) {
        states.push_back(state);
        if (state == MediaControl::Opening) throw KorvelError(QStringLiteral("handler failed"));
    };
    control->LoadSource(list);
    ASSERT_TRUE(waitUntil([&] { return control->caught.size() == 2; }));
    EXPECT_EQ(
        control->caught,
        QStringList({QStringLiteral("handler failed"),
                     QStringLiteral("Cannot open %1: its format is not known to the media engine")
                         .arg(list)}));
    EXPECT_EQ(states, (std::vector<int>{MediaControl::Opening, MediaControl::Stopped}));

    // The same handler failure while a good clip opens: the clip still opens.
    control->LoadSource(clip(QStringLiteral("clip.mp4")));
    ASSERT_TRUE(waitUntil([&] { return states.back() == MediaControl::Paused; }));
    EXPECT_EQ(control->caught.size(), 3);
}

#include "../MediaTestSupport.h"

#include "engine/picture/SwPictureView.h"

#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <iostream>

using namespace korvel;
using namespace korvel::test;

namespace {

using Picture = MpvMediaControl::Options::Picture;

// Share of pixels in `area` of the widget's picture that are not black.
double litShare(QWidget* widget, const QRect& area) {
    const QImage image = widget->grab(area).toImage();
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 24) ++lit;
    }
    return double(lit) / double(image.width() * image.height());
}

// The playback window as it will hold the picture: a window with nothing but the picture.
struct PictureWindow {
    QWidget window;
    explicit PictureWindow(QWidget* picture, Qt::WindowFlags type = Qt::Window)
        : window(nullptr, type) {
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(picture);
        window.resize(320, 240);
        window.show();
    }
};

// Another window of the application, counting the Esc presses that reach it.
class EscapeCounter : public QWidget {
public:
    int escapes = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) ++escapes;
        QWidget::keyPressEvent(event);
    }
};

} // namespace

// Without OpenGL (the offscreen platform) the picture is drawn in software, and it is drawn:
// the view turns from black to the clip's picture and follows the frames.
TEST(Picture, SoftwareViewDrawsTheFrames) {
    auto control = makeControl(Picture::Automatic);
    QWidget* area = control->pictureWidget();
    ASSERT_NE(area, nullptr);
    PictureWindow window(area);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.window));
    EXPECT_EQ(litShare(area, area->rect()), 0.0);

    Recorder recorder(*control);
    control->OptionSwitch1(true);
    control->LoadSource(clip(QStringLiteral("clip.mp4")));
    auto* view = area->findChild<SwPictureView*>();
    ASSERT_NE(view, nullptr);
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return litShare(area, area->rect()) > 0.5; }));
    // The frames follow each other; how smoothly is the benchmark's to measure.
    const QImage first = view->grab().toImage();
    ASSERT_TRUE(waitUntil([&] { return view->grab().toImage() != first; }));
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Paused; }, 6000));

    // Fault: a clip without a picture kept the last frame of the clip before in view (the
    // window keeps that size when it is fixed).
    EXPECT_GT(litShare(area, area->rect()), 0.5);
    const std::size_t before = recorder.states.size();
    control->LoadSource(clip(QStringLiteral("tone.mp3")));
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] {
        return recorder.states.size() > before && recorder.lastState() == MediaControl::Playing;
    }));
    EXPECT_EQ(litShare(area, area->rect()), 0.0);
}

// Switch 1 keeps the aspect ratio (black bars in a wide view); off, the picture is stretched.
TEST(Picture, SwitchOneKeepsTheAspectRatio) {
    auto control = makeControl(Picture::Software);
    QWidget* view = control->pictureWidget();
    ASSERT_NE(view, nullptr);
    PictureWindow window(view);
    window.window.resize(640, 240);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.window));
    Recorder recorder(*control);
    openClip(*control, recorder, QStringLiteral("clip.mp4"));
    // The test picture's right edge is white; kept in shape, a bar covers it.
    const QRect rightBar(540, 0, 100, 240);

    control->OptionSwitch1(true);
    ASSERT_TRUE(waitUntil([&] { return litShare(view, rightBar) == 0.0; }));
    control->OptionSwitch1(false);
    ASSERT_TRUE(waitUntil([&] { return litShare(view, rightBar) > 0.5; }));
}

// Clicks and keys on the picture reach the host only with switch 2 on.
TEST(Picture, SwitchTwoPassesClicksAndKeys) {
    auto control = makeControl(Picture::Software);
    QWidget* picture = control->pictureWidget();
    PictureWindow window(picture);
    std::vector<std::vector<int>> clicks;
    std::vector<std::vector<int>> keys;
    control->OnLButtonUp = [&](int flags, int x, int y) { clicks.push_back({flags, x, y}); };
    control->OnKeyDown = [&](int flags, int key) { keys.push_back({flags, key}); };

    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::keyClick(picture, Qt::Key_A);
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(keys.empty());

    control->OptionSwitch2(true);
    QTest::mouseClick(picture, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
    QTest::mouseClick(picture, Qt::RightButton, {}, QPoint(30, 40));
    QTest::keyClick(picture, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(clicks, (std::vector<std::vector<int>>{{int(Qt::ShiftModifier), 10, 20}}));
    EXPECT_EQ(keys, (std::vector<std::vector<int>>{{int(Qt::ControlModifier), Qt::Key_Control},
                                                   {int(Qt::ControlModifier), Qt::Key_A}}));

    control->OptionSwitch2(false);
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_EQ(clicks.size(), 1u);
}

// Fault: full screen left the playback window (a tool window) an ordinary window, or out of
// its place; Esc ended it only with the focus on the picture; Esc elsewhere went on to act
// there as well, or was taken away while not full screen.
TEST(Picture, FullScreenEndsByEscapeAnywhereOrDoubleClick) {
    auto control = makeControl(Picture::Software);
    QWidget* picture = control->pictureWidget();
    PictureWindow window(picture, Qt::Tool);
    window.window.setGeometry(100, 120, 320, 240);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.window));
    EscapeCounter panel;
    panel.setGeometry(500, 120, 200, 100);
    panel.show();
    const QRect normal = window.window.geometry();
    EXPECT_FALSE(control->QueryFullScreen());
    int ends = 0;
    control->OnFullScreenEnd = [&ends] { ++ends; };

    const struct {
        const char* how;
        std::function<void()> act;
    } ways[] = {
        {"Esc on the picture", [&] { QTest::keyClick(picture, Qt::Key_Escape); }},
        {"Esc in another window", [&] { QTest::keyClick(&panel, Qt::Key_Escape); }},
        {"double click on the picture",
         [&] { QTest::mouseDClick(picture, Qt::LeftButton, {}, QPoint(5, 5)); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        control->EnterFullScreen();
        ASSERT_TRUE(waitUntil([&] { return control->QueryFullScreen(); }));
        EXPECT_EQ(window.window.geometry(), window.window.screen()->geometry());
        EXPECT_EQ(window.window.windowHandle()->type(), Qt::Window);
        way.act();
        ASSERT_TRUE(waitUntil([&] { return !control->QueryFullScreen(); }));
        EXPECT_EQ(ends, 1) << "the end of full screen was not told once";
        ends = 0;
        EXPECT_TRUE(waitUntil([&] { return window.window.geometry() == normal; }))
            << "window not back in its place";
        EXPECT_EQ(window.window.windowHandle()->type(), Qt::Tool);
        EXPECT_TRUE(window.window.isVisible());
    }
    EXPECT_EQ(panel.escapes, 0) << "an Esc that ended full screen went on";
    QTest::keyClick(&panel, Qt::Key_Escape);
    EXPECT_EQ(panel.escapes, 1) << "Esc taken while not full screen";
}

// The picture may outlive the control (it belongs to the window) and then stays black; it
// may also go first, and playback goes on without it.
TEST(Picture, PictureAndControlMayGoInEitherOrder) {
    {
        auto control = makeControl(Picture::Software);
        QWidget* picture = control->pictureWidget();
        PictureWindow window(picture);
        Recorder recorder(*control);
        control->LoadSource(clip(QStringLiteral("clip.mp4")));
        control->StartPlay();
        ASSERT_TRUE(waitUntil([&] { return litShare(picture, picture->rect()) > 0.5; }));
        control.reset();
        EXPECT_TRUE(waitUntil([&] { return litShare(picture, picture->rect()) == 0.0; }));
    }
    {
        auto control = makeControl(Picture::Software);
        auto window = std::make_unique<PictureWindow>(control->pictureWidget());
        Recorder recorder(*control);
        control->LoadSource(clip(QStringLiteral("clip.mp4")));
        control->StartPlay();
        ASSERT_TRUE(waitUntil([&] { return recorder.positions.size() >= 2; }));
        window.reset();
        EXPECT_EQ(control->pictureWidget(), nullptr);
        const std::size_t seen = recorder.positions.size();
        ASSERT_TRUE(waitUntil([&] { return recorder.positions.size() > seen + 2; }))
            << "playback must go on without the picture";
        EXPECT_FALSE(control->QueryFullScreen());
        control->EnterFullScreen(); // nothing to show: nothing happens
    }
}

// An X server of a test's own, on a display number it picks itself, for as long as it lives.
struct PrivateDisplay {
    QProcess server;
    QString name; // empty when the server did not start
    // `depth` bits a pixel; `extensions` ("-extension NAME" turns one off) as Xvfb takes them;
    // `network`: reached through the network (its name is the loopback address's), as a
    // display a secure shell forwards is.
    explicit PrivateDisplay(int depth = 24, const QStringList& extensions = {},
                            bool network = false) {
        server.start(QStringLiteral("Xvfb"),
                     QStringList{QStringLiteral("-displayfd"), QStringLiteral("1"),
                                 QStringLiteral("-screen"), QStringLiteral("0"),
                                 QStringLiteral("1280x800x%1").arg(depth),
                                 network ? QStringLiteral("-listen") : QStringLiteral("-nolisten"),
                                 QStringLiteral("tcp")} +
                         extensions);
        // The number is written once the server takes clients.
        if (server.waitForReadyRead(10000))
            name = (network ? QStringLiteral("127.0.0.1:") : QStringLiteral(":")) +
                   QString::fromLatin1(server.readAllStandardOutput()).trimmed();
    }
    ~PrivateDisplay() {
        server.terminate();
        server.waitForFinished(5000);
    }
};

// The picture on a real display (run in a helper, this binary has none), an X server of its own:
// the helper reads what the screen shows, which no other test's window may cover. A clip loaded
// before the picture is shown opens at once, its frames are drawn when it is shown, and they come
// back after the picture moves to another window and fill it when it grows. Clips handed over one
// after another, a seek, a pause and a hidden picture never leave the engine waiting for a frame to
// be drawn; the picture stands upright, a clip without one shows black, and a clip plays on when
// the window that holds its picture goes. OpenGL (through GLX, and through EGL) and the software
// picture shared with the X server draw into a window of their own; where the server cannot share
// memory with the player, or its screen is not the frames' 24-bit colour, or where it is reached
// through the network, the software picture goes through the toolkit.
struct DisplayRow {
    const char* name;
    const char* path;
    int depth;
    const char* extensionOff; // or nullptr
    bool network;
    bool windowView;
    const char* glIntegration = nullptr; // the toolkit's way to OpenGL on X, if not its default
};

void PrintTo(const DisplayRow& row, std::ostream* out) { *out << row.name; }

class WindowPicture : public testing::TestWithParam<DisplayRow> {};

TEST_P(WindowPicture, DrawsOnARealDisplay) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display";
    const DisplayRow row = GetParam();
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QStringList extensions =
        row.extensionOff
            ? QStringList{QStringLiteral("-extension"), QString::fromLatin1(row.extensionOff)}
            : QStringList{};
    const PrivateDisplay display(row.depth, extensions, row.network);
    ASSERT_FALSE(display.name.isEmpty()) << "Xvfb did not start";
    environment.insert(QStringLiteral("DISPLAY"), display.name);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (row.glIntegration)
        environment.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"),
                           QString::fromLatin1(row.glIntegration));
    // The GL driver keeps allocations of its own to the end.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral(KORVEL_BINARY_DIR "/window_picture_check"),
                 {QString::fromLatin1(row.path), clip(QStringLiteral("clip.mp4")),
                  clip(QStringLiteral("clip.avi")), clip(QStringLiteral("tone.mp3"))});
    ASSERT_TRUE(helper.waitForFinished(60000));
    const std::string said = helper.readAllStandardError().toStdString();
    EXPECT_EQ(helper.exitCode(), 0) << said;
    EXPECT_EQ(QString::fromUtf8(helper.readAllStandardOutput()),
              QStringLiteral("window_view=%1\nopened_hidden=1\nset_up_hidden=%3\nplaying=1\n"
                             "drawn=1\nupright=1\ndrawn_again=1\nfills_larger=1\nhanded_over=1\n"
                             "plays_hidden=1\ndrawn_after_hiding=1\nblank_without_picture=1\n"
                             "plays_on_without_window=1\none_conversion_thread=%2\nstalls=0\n")
                  .arg(row.windowView ? 1 : 0)
                  .arg(qstrcmp(row.path, "sw") == 0 ? 1 : 0)
                  .arg(qstrcmp(row.path, "gl") == 0 ? 1 : 0))
        << said;
}

INSTANTIATE_TEST_SUITE_P(
    Displays, WindowPicture,
    testing::Values(DisplayRow{"opengl", "gl", 24, nullptr, false, true, "xcb_glx"},
                    DisplayRow{"opengl_egl", "gl", 24, nullptr, false, true, "xcb_egl"},
                    DisplayRow{"shared", "sw", 24, nullptr, false, true},
                    DisplayRow{"no_shared_memory", "sw", 24, "MIT-SHM", false, false},
                    DisplayRow{"through_the_network", "sw", 24, nullptr, true, false},
                    DisplayRow{"sixteen_bits", "sw", 16, nullptr, false, false}),
    [](const testing::TestParamInfo<DisplayRow>& row) { return std::string(row.param.name); });

#include "../../MediaTestSupport.h"
#include "X11Support.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScreen>

using namespace korvel;
using namespace korvel::test;

namespace {

using Picture = MpvMediaControl::Options::Picture;

// Share of lit pixels of the picture as the display shows it (the OpenGL view draws into a
// window of its own, which only the window system holds the contents of).
double litShare(QWidget* picture) {
    QWidget* window = picture->window();
    const QPoint at = picture->mapTo(window, QPoint(0, 0));
    const QImage image = window->screen()
                             ->grabWindow(window->windowHandle()->winId(), at.x(), at.y(),
                                          picture->width(), picture->height())
                             .toImage();
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) lit += qGray(image.pixel(x, y)) > 24 ? 1 : 0;
    return double(lit) / double(std::max(1, image.width() * image.height()));
}

// The playback window (a tool window holding nothing but the picture) and another window of
// the application, as the player shows them.
struct Windows {
    QWidget playback{nullptr, Qt::Tool};
    QWidget panel;
    // The playback window is placed by its frame, as the player places it.
    explicit Windows(QWidget* picture) {
        auto* layout = new QHBoxLayout(&playback);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(picture);
        playback.resize(320, 240);
        panel.setGeometry(600, 120, 240, 120);
        playback.show();
        panel.show();
        playback.move(100, 120);
    }
};

class FullScreen : public ::testing::TestWithParam<Picture> {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != u"xcb") GTEST_SKIP() << "needs the xcb platform";
        if (!windowManagerRuns()) GTEST_SKIP() << "needs a window manager (wmctrl -m)";
    }
};

} // namespace

// Fault: the playback window is a tool window, for which the window manager refuses full
// screen; QueryFullScreen said true all the same (so nothing was sized from then on), and Esc
// did nothing with the focus on another window of the player.
TEST_P(FullScreen, CoversTheScreenAndGivesTheWindowBack) {
    auto control = makeControl(GetParam());
    QWidget* picture = control->pictureWidget();
    Windows windows(picture);
    QWidget& window = windows.playback;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.panel));
    // Framed by the window manager (the place is its to choose).
    ASSERT_TRUE(waitUntil([&] { return window.frameGeometry() != window.geometry(); }));
    const QRect screen = window.screen()->geometry();
    Recorder recorder(*control);
    openClip(*control, recorder, QStringLiteral("clip.mp4"));
    ASSERT_TRUE(waitUntil([&] { return litShare(picture) > 0.5; }));
    const QRect normal = window.geometry();

    // A tool window's own request for full screen is refused; the control is not fooled.
    const auto refusedAsAToolWindow = [&] {
        SCOPED_TRACE("the window's own request");
        window.showFullScreen();
        EXPECT_FALSE(waitUntil([&] { return window.size() == screen.size(); }, 1000));
        EXPECT_TRUE(window.isFullScreen()) << "Qt takes the request for the fact";
        EXPECT_FALSE(control->QueryFullScreen());
        window.showNormal();
        ASSERT_TRUE(waitUntil([&] { return !window.isFullScreen(); }));
    };
    refusedAsAToolWindow();
    ASSERT_TRUE(waitUntil([&] { return window.geometry() == normal; }));

    control->EnterFullScreen();
    ASSERT_TRUE(waitUntil([&] { return control->QueryFullScreen(); }));
    EXPECT_EQ(window.size(), screen.size());
    EXPECT_EQ(window.windowHandle()->type(), Qt::Window);

    // The focus goes to another window of the player; Esc pressed there ends full screen.
    windows.panel.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &windows.panel; }));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("Escape")}));
    ASSERT_TRUE(waitUntil([&] { return !control->QueryFullScreen(); }));
    EXPECT_TRUE(waitUntil([&] { return window.geometry() == normal; }))
        << ::testing::PrintToString(window.geometry());
    EXPECT_EQ(window.windowHandle()->type(), Qt::Tool);

    // Sizing works again; by the time it has, the window manager has settled the place.
    window.resize(400, 300);
    ASSERT_TRUE(waitUntil([&] { return window.geometry().size() == QSize(400, 300); }));
    const QRect resized = window.geometry();
    EXPECT_EQ(resized.topLeft(), normal.topLeft());

    // A double click on the picture ends it too.
    control->EnterFullScreen();
    ASSERT_TRUE(waitUntil([&] { return control->QueryFullScreen(); }));
    const QPoint middle = screen.center();
    ASSERT_TRUE(xdotool({QStringLiteral("mousemove"), QString::number(middle.x()),
                         QString::number(middle.y()), QStringLiteral("click"),
                         QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                         QStringLiteral("80"), QStringLiteral("1")}));
    ASSERT_TRUE(waitUntil([&] { return !control->QueryFullScreen(); }));
    EXPECT_TRUE(waitUntil([&] { return window.geometry() == resized; }))
        << ::testing::PrintToString(window.geometry());
    window.resize(320, 240);
    ASSERT_TRUE(waitUntil([&] { return window.geometry().size() == QSize(320, 240); }));
    EXPECT_EQ(window.geometry(), normal);

    // The picture came through both changes of the window, which is a tool window again.
    control->SeekTo(1000);
    EXPECT_TRUE(waitUntil([&] { return litShare(picture) > 0.5; }));
    refusedAsAToolWindow();

    // Refused, a window may still be as large as the screen (xfwm4 leaves it so): it is full
    // screen only when the window manager says so, and sizing goes on to follow the clips.
    window.showFullScreen();
    ASSERT_TRUE(xdotool({QStringLiteral("windowsize"), QString::number(window.winId()),
                         QString::number(screen.width()), QString::number(screen.height())}));
    ASSERT_TRUE(waitUntil([&] { return window.size() == screen.size(); }));
    ASSERT_TRUE(window.isFullScreen());
    EXPECT_FALSE(control->QueryFullScreen()) << "a window as large as the screen";
    EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
}

// Fault: the toolkit makes a top-level window anew as it shows it again after its stays-on-top
// flag changed (a full screen refused shows it again); the picture's own window went with the
// old one, and the picture stayed black from then on.
TEST_P(FullScreen, PictureFollowsItsWindowMadeAnew) {
    auto control = makeControl(GetParam());
    QWidget* picture = control->pictureWidget();
    Windows windows(picture);
    QWidget& window = windows.playback;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Recorder recorder(*control);
    openClip(*control, recorder, QStringLiteral("clip.mp4"));
    ASSERT_TRUE(waitUntil([&] { return litShare(picture) > 0.5; }));
    const WId before = window.windowHandle()->winId();
    window.windowHandle()->setFlag(Qt::WindowStaysOnTopHint, true);
    window.hide();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    if (window.windowHandle()->winId() == before) GTEST_SKIP() << "the toolkit kept the window";
    control->SeekTo(1000);
    EXPECT_TRUE(waitUntil([&] { return litShare(picture) > 0.5; }));
    EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pictures, FullScreen,
                         ::testing::Values(Picture::Software, Picture::OpenGl),
                         [](const ::testing::TestParamInfo<Picture>& picture) {
                             return picture.param == Picture::OpenGl ? "OpenGl" : "Software";
                         });

// Plays a clip through a picture drawn into a window of its own (OpenGL, or software shared
// with the X server) on a real display and says what it saw, one "key=value" line each, for
// the media tests (which themselves run without a display).
// Usage: window_picture_check gl|sw CLIP OTHER-CLIP SOUND-CLIP (sw: the software picture,
// shared with the X server where it can be)

#include "engine/MpvMediaControl.h"
#include "engine/picture/SwPictureView.h"
#include "engine/picture/WindowPictureView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <atomic>
#include <cstdio>
#include <memory>

using namespace korvel;

namespace {

// The engine's video output says so each time it gave up waiting for a frame to be drawn, or
// for its swap to be told.
int stalls = 0;
// Told with each stall; the drawing threads log too.
std::atomic<const char*> phase = "starting";

// The engine took the software picture's count of conversion threads (its log says so).
bool oneThread = false;

// The engine drew a frame while no window showed the picture (its log tells each new size
// it draws at).
std::atomic<bool> drawnHidden = false;

void countStalls(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (text.contains(u"Set property: zimg-threads=\"1\" -> 1")) oneThread = true;
    if (qstrcmp(phase.load(), "starting") == 0 && text.contains(u"Window size:"))
        drawnHidden = true;
    if (text.contains(u"not being called")) {
        ++stalls;
        std::fprintf(stderr, "stall while %s\n", phase.load());
    }
    if (type != QtInfoMsg && type != QtDebugMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

// What the display shows of the picture: it is drawn into a window of its own, which only
// the window system holds the contents of.
QImage shown(QWidget* view) {
    QWidget* window = view->window();
    const QPoint at = view->mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), view->width(), view->height())
        .toImage();
}

int litPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) > 24 ? 1 : 0;
    return count;
}

bool lit(QWidget* view) {
    const QImage image = shown(view);
    return litPixels(image) > image.width() * image.height() / 2;
}

bool dark(QWidget* view) { return litPixels(shown(view)) == 0; }

int coloursInRow(const QImage& image, double height) {
    const int y = static_cast<int>(image.height() * height);
    QSet<QRgb> colours;
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

// The test picture's colour bars stand above its band of smoothly changing colours; upside
// down, the band comes first.
bool upright(QWidget* view) {
    const QImage image = shown(view);
    return coloursInRow(image, 0.8) > 100 && coloursInRow(image, 0.2) < 60;
}

void say(const char* key, bool value) { std::printf("%s=%d\n", key, value ? 1 : 0); }

std::unique_ptr<QWidget> windowWith(QWidget* picture) {
    auto window = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    window->resize(320, 240);
    window->show();
    return window;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("KORVEL_ENGINE_LOG", "1");
    qInstallMessageHandler(countStalls);
    QApplication app(argc, argv);
    if (argc < 5) return 2;
    MpvMediaControl::Options options;
    options.audioOutput = QStringLiteral("null");
    // Test machines draw OpenGL with a software rasteriser, which the automatic choice skips.
    options.picture = qstrcmp(argv[1], "gl") == 0 ? MpvMediaControl::Options::Picture::OpenGl
                                                  : MpvMediaControl::Options::Picture::Software;
    const auto clipArgument = [argv](int n) { return QString::fromLocal8Bit(argv[n + 1]); };
    MpvMediaControl control(options);
    QWidget* area = control.pictureWidget();
    int state = MediaControl::Closed;
    int starts = 0;
    control.OnStateChange = [&](int, int newState) {
        state = newState;
        if (newState == MediaControl::Playing) ++starts;
    };
    int seeks = 0;
    control.OnPostSeek = [&](std::int64_t, std::int64_t) { ++seeks; };
    int positions = 0;
    control.OnPositionChange = [&](std::int64_t, std::int64_t) { ++positions; };
    control.OnAsyncFailure = [](const QString& text) {
        std::printf("failure=%s\n", qPrintable(text));
    };

    // Loaded before the picture is shown: the clip opens at once all the same. The view is
    // made with the engine, at the first clip.
    control.LoadSource(clipArgument(1));
    auto* windowView = area ? area->findChild<WindowPictureView*>() : nullptr;
    say("window_view", windowView != nullptr);
    QWidget* view = windowView;
    if (!view && area) view = area->findChild<SwPictureView*>();
    if (!view) return 1;
    control.StartPlay();
    QTest::qWait(200);
    say("opened_hidden", state != MediaControl::Closed);
    // The OpenGL picture sets itself up with the clip's first frame, seen or not: the engine
    // tells so in its log, which may come a moment after the start.
    const bool begun = QTest::qWaitFor([&] { return state == MediaControl::Playing; }, 5000);
    say("set_up_hidden", begun && QTest::qWaitFor([] { return drawnHidden.load(); }, 1000));
    phase = "showing the first picture";
    auto first = windowWith(area);
    say("playing", QTest::qWaitFor([&] { return state == MediaControl::Playing; }, 5000));
    say("drawn", QTest::qWaitFor([&] { return lit(view); }, 5000));
    say("upright", upright(view));

    // Another window means another surface of the window system: the picture must come back.
    phase = "moving to another window";
    auto second = windowWith(area);
    first.reset();
    control.SeekTo(0);
    say("drawn_again", QTest::qWaitFor([&] { return lit(view); }, 5000));

    // Larger, the picture fills its window again: its frames are drawn at the new size.
    phase = "growing";
    second->resize(480, 360);
    say("fills_larger", QTest::qWaitFor([&] { return lit(view); }, 5000));

    // Clips handed over one after another, a seek and a pause, all on a moving picture: the
    // engine never waits for a frame to be drawn. The first frames of each clip's kind of
    // picture make the engine build its shaders, which a software rasteriser on a busy machine
    // may take longer for than the engine waits: both kinds are shown once before counting.
    const auto handOver = [&](int times) {
        bool handled = true;
        for (int n = 0; n < times && handled; ++n) {
            const int started = starts;
            control.LoadSource(clipArgument(2 - n % 2));
            control.StartPlay();
            handled = QTest::qWaitFor([&] { return starts > started; }, 5000);
            QTest::qWait(300);
        }
        return handled;
    };
    phase = "showing each kind of picture once";
    bool handled = handOver(2);
    stalls = 0;
    phase = "handing over";
    handled = handled && handOver(6);
    const auto seekTo = [&](std::int64_t ms) {
        const int done = seeks;
        control.SeekTo(ms);
        return QTest::qWaitFor([&] { return seeks > done; }, 5000);
    };
    phase = "seeking and pausing";
    handled = handled && seekTo(1500);
    control.PausePlay();
    handled = handled && QTest::qWaitFor([&] { return state == MediaControl::Paused; }, 5000);
    control.StartPlay();
    handled = handled && QTest::qWaitFor([&] { return state == MediaControl::Playing; }, 5000);
    QTest::qWait(500);
    say("handed_over", handled);

    // Hidden, the picture lets its frames go and the clip plays on; shown again, it draws.
    phase = "hidden";
    const bool restarted = seekTo(0);
    second->hide();
    const int reported = positions;
    say("plays_hidden",
        restarted && QTest::qWaitFor([&] { return positions >= reported + 8; }, 5000));
    second->show();
    say("drawn_after_hiding", QTest::qWaitFor([&] { return lit(view); }, 5000));

    // A clip without a picture shows nothing of the one before.
    phase = "playing a clip without a picture";
    const int started = starts;
    control.LoadSource(clipArgument(3));
    control.StartPlay();
    say("blank_without_picture", QTest::qWaitFor([&] { return starts > started; }, 5000) &&
                                     QTest::qWaitFor([&] { return dark(view); }, 5000));

    // The window that holds the picture goes while a clip plays: the picture, its window of
    // the window system and its drawing thread go with it, and the clip plays on.
    phase = "closing the picture's window";
    const int startedLast = starts;
    control.LoadSource(clipArgument(1));
    control.StartPlay();
    const bool restartedLast = QTest::qWaitFor([&] { return starts > startedLast; }, 5000);
    QTest::qWait(300);
    second.reset();
    const int heard = positions;
    say("plays_on_without_window",
        restartedLast && control.pictureWidget() == nullptr &&
            QTest::qWaitFor([&] { return positions >= heard + 8; }, 5000));
    say("one_conversion_thread", oneThread);
    std::printf("stalls=%d\n", stalls);
    return 0;
}

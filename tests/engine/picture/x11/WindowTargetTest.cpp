#include "X11Support.h"

#include "engine/picture/WindowPictureView.h"
#include "engine/picture/WindowRenderer.h"

#include <QHBoxLayout>
#include <QTest>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace korvel;
using namespace korvel::test;

namespace {

// Draws nothing; keeps whether its drawing thread's last draw went to a window on the screen.
class DrawRecorder : public WindowRenderer {
public:
    DrawRecorder() {
        m_thread = std::thread([this] {
            m_exchange.serve(nullptr, [this](const FrameExchange<int>::Work& work) {
                const std::lock_guard lock(m_mutex);
                m_last = work.onScreen ? OnScreen : OnItsWay;
                m_drawn.notify_all();
            });
        });
    }
    ~DrawRecorder() override {
        m_exchange.stop();
        m_thread.join();
    }
    bool isValid() const override { return true; }
    void setWindow(QWindow*) override {}

    enum Draw { None, OnItsWay, OnScreen };
    // Waits up to 5 s, without running the event loop, for a draw; the last one.
    Draw drawn() {
        std::unique_lock lock(m_mutex);
        m_drawn.wait_for(lock, std::chrono::seconds(5), [this] { return m_last != None; });
        return m_last;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_drawn;
    Draw m_last = None;
    std::thread m_thread;
};

} // namespace

// A clip's first frame may come before the window system has shown the picture's window:
// it is drawn into the window all the same, so the picture's setup is done before the
// engine's clock starts, and shown once the window is exposed. Fault: the frame was let go,
// the setup came with the next frame, and the frames falling due meanwhile were dropped.
TEST(WindowTarget, AWindowOnItsWayToTheScreenIsDrawnInto) {
    if (!windowManagerRuns()) GTEST_SKIP() << "needs a window manager (wmctrl -m)";
    auto recorder = std::make_unique<DrawRecorder>();
    DrawRecorder* drawing = recorder.get();
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new WindowPictureView(QSurface::RasterSurface, std::move(recorder)));
    window.resize(320, 240);
    window.show(); // no event is handled, the window's exposure neither, until waited for below
    EXPECT_EQ(drawing->drawn(), DrawRecorder::OnItsWay);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawing->drawn() == DrawRecorder::OnScreen; }));
}

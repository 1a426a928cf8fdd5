#include "engine/picture/FrameExchange.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using namespace korvel;

namespace {

using Exchange = FrameExchange<int>;

// What the GUI thread would show now: the front frame, or -1 while it shows nothing.
int shown(Exchange& exchange) {
    int frame = -1;
    exchange.withFront([&frame](int front, const QSize& size) {
        if (!size.isEmpty()) frame = front;
    });
    return frame;
}

} // namespace

// The drawing thread trades its finished frame for the front one, so it never draws into a
// frame being shown; a frame begun before a clear (a new clip) must never be shown after it.
TEST(FrameExchange, FinishedFramesAreTradedAndNoneBegunBeforeAClearIsShown) {
    Exchange exchange;
    Exchange::Work work;
    work.size = QSize(320, 240);
    int back = 7;
    EXPECT_TRUE(exchange.finish(work, back));
    EXPECT_EQ(shown(exchange), 7);
    EXPECT_EQ(back, 0) << "the drawing thread gets the old front frame to draw into";

    exchange.clear();
    EXPECT_EQ(shown(exchange), -1);
    back = 8;
    EXPECT_FALSE(exchange.finish(work, back));
    EXPECT_EQ(back, 8);
    EXPECT_EQ(shown(exchange), -1);

    work.clears = 1; // taken after the clear
    EXPECT_TRUE(exchange.finish(work, back));
    EXPECT_EQ(shown(exchange), 8);
}

// A drawing thread that draws straight into a window shows black after a new clip starts,
// through any repaint the window system asks for, until a redraw asks for the engine's frame.
TEST(FrameExchange, BlackStaysThroughRepaintsUntilARedraw) {
    Exchange exchange;
    std::mutex mutex;
    std::condition_variable drawn;
    std::vector<bool> blanks;
    std::thread drawing([&] {
        exchange.serve(nullptr, [&](const Exchange::Work& work) {
            const std::lock_guard lock(mutex);
            blanks.push_back(work.blank);
            drawn.notify_all();
        });
    });
    const auto next = [&](auto ask) {
        std::unique_lock lock(mutex);
        const std::size_t before = blanks.size();
        lock.unlock();
        ask();
        lock.lock();
        drawn.wait(lock, [&] { return blanks.size() > before; });
        return blanks.back();
    };
    EXPECT_FALSE(next([&] { exchange.setTarget(QSize(320, 240), true); }));
    EXPECT_TRUE(next([&] { exchange.blank(); }));
    EXPECT_EQ(shown(exchange), -1);
    EXPECT_TRUE(next([&] { exchange.repaint(); }));
    EXPECT_TRUE(next([&] { exchange.setTarget(QSize(640, 480), true); }));
    EXPECT_FALSE(next([&] { exchange.redraw(); }));
    EXPECT_FALSE(next([&] { exchange.repaint(); }));
    exchange.stop();
    drawing.join();
}

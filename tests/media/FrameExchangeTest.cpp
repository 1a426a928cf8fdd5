#include "engine/FrameExchange.h"

#include <gtest/gtest.h>

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

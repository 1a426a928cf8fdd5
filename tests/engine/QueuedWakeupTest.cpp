#include "MediaTestSupport.h"

#include "engine/QueuedWakeup.h"

#include <QCoreApplication>
#include <QThread>

#include <thread>

using namespace korvel;
using namespace korvel::test;

namespace {

// A receiver that catches what the work raises, as the application's event handling does.
class Receiver : public QObject {
public:
    QStringList caught;

protected:
    bool event(QEvent* event) override {
        try {
            return QObject::event(event);
        } catch (const KorvelError& error) {
            caught << error.text();
            return true;
        }
    }
};

} // namespace

// Fault: every engine callback queues a call of its own (flooding the event loop), the work
// runs inside the callback's thread, a request made while the work runs is lost, or after the
// work raised once no request runs any more.
TEST(QueuedWakeup, RunsOncePerBurstOnTheReceiversThread) {
    Receiver receiver;
    int runs = 0;
    QThread* ranOn = nullptr;
    std::function<void()> also;
    QueuedWakeup wakeup(&receiver, [&] {
        ++runs;
        ranOn = QThread::currentThread();
        if (also) also();
    });

    std::thread engine([&] {
        for (int i = 0; i < 1000; ++i) wakeup.request();
    });
    engine.join();
    EXPECT_EQ(runs, 0) << "ran inside request()";
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(ranOn, receiver.thread());

    // Asked again while it runs: once more.
    also = [&] {
        if (runs == 2) wakeup.request();
    };
    wakeup.request();
    ASSERT_TRUE(waitUntil([&] { return runs == 3; }));

    // The work raises: the failure leaves through the receiver, and the next request runs.
    also = [&] { throw KorvelError(QStringLiteral("work failed")); };
    wakeup.request();
    ASSERT_TRUE(waitUntil([&] { return runs == 4; }));
    EXPECT_EQ(receiver.caught, QStringList(QStringLiteral("work failed")));
    also = nullptr;
    wakeup.request();
    ASSERT_TRUE(waitUntil([&] { return runs == 5; }));
}

// Fault: a run still queued when its receiver is destroyed runs on a dead object.
TEST(QueuedWakeup, AQueuedRunGoesWithItsReceiver) {
    int runs = 0;
    auto receiver = std::make_unique<QObject>();
    QueuedWakeup wakeup(receiver.get(), [&] { ++runs; });
    wakeup.request();
    receiver.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
}

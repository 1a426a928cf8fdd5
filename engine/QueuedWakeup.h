#pragma once

#include <atomic>
#include <functional>

class QObject;

namespace korvel {

// Hands work from any thread (the engine's callbacks) to the thread of `receiver`, once per
// burst: however often request() is called before the work runs, it runs once, from the
// receiver's event loop, never inside request(). A request made while the work runs gives
// one more run. The work may raise; the exception leaves through the receiver's event
// handling like any other, and later requests still run.
//
// Meant as a member of `receiver`: a run still queued when the receiver goes is dropped with
// it. Whoever calls request() from another thread must stop doing so before the receiver is
// destroyed.
class QueuedWakeup {
public:
    QueuedWakeup(QObject* receiver, std::function<void()> work);
    QueuedWakeup(const QueuedWakeup&) = delete;
    QueuedWakeup& operator=(const QueuedWakeup&) = delete;

    // Safe from any thread.
    void request();

private:
    void run();

    QObject* m_receiver;
    std::function<void()> m_work;
    std::atomic_bool m_queued{false};
};

} // namespace korvel

#include "engine/QueuedWakeup.h"

#include <QMetaObject>
#include <QObject>

#include <utility>

namespace korvel {

QueuedWakeup::QueuedWakeup(QObject* receiver, std::function<void()> work)
    : m_receiver(receiver), m_work(std::move(work)) {}

void QueuedWakeup::request() {
    if (m_queued.exchange(true)) return;
    QMetaObject::invokeMethod(
        m_receiver, [this] { run(); }, Qt::QueuedConnection);
}

// The flag goes down before the work, so what the work (or a thread meanwhile) asks for
// is not lost, even when the work raises.
void QueuedWakeup::run() {
    m_queued.store(false);
    m_work();
}

} // namespace korvel

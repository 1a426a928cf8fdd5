#include "ui/TerminationSignals.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace korvel {

namespace {
constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};
} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw KorvelError(FixedTexts::TerminationWatch);
    }
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(s_pipe[0], drained, sizeof drained) > 0) {
        }
        m_onSignal();
    });
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handle;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : Signals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (int signal : Signals) std::signal(signal, SIG_DFL);
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
}

// Only async-signal-safe work here: one byte into the pipe.
void TerminationSignals::handle(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(s_pipe[1], &byte, 1);
}

} // namespace korvel

#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace korvel {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread, so that a session ending
// or a Ctrl+C closes the player the normal way (the hand-off socket removed, and whatever
// closing saves, saved) instead of killing it mid-way.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    static void handle(int signal);

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
    static inline int s_pipe[2] = {-1, -1};
};

} // namespace korvel

#include "app/Launcher.h"

#include "app/HandOffClient.h"
#include "app/InstanceGuard.h"

#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

#include <unistd.h>

namespace korvel {
namespace {

using Clock = std::chrono::steady_clock;

// How a message names the text; a very long one is shortened there (and only there).
std::string subject(const std::string& text) {
    constexpr std::size_t shown = 120;
    if (text.empty()) {
        return "the hand-off";
    }
    return "\"" + (text.size() > shown ? text.substr(0, shown) + "..." : text) + "\"";
}

} // namespace

Launcher::Launcher(RuntimeDir dir, FirstInstance runFirst, std::ostream& messages,
                   LaunchTiming timing)
    : m_dir(std::move(dir)), m_runFirst(std::move(runFirst)), m_messages(messages),
      m_timing(timing) {}

int Launcher::run(const std::string& argument) {
    InstanceGuard guard(m_dir.guardPath()); // held until the first instance's run has ended
    const HandOffClient client(m_dir.endpointPath(), m_timing.answerTimeout);
    const std::string text = handOffText(argument);
    const auto giveUpAt = Clock::now() + m_timing.patience;
    for (;;) {
        if (guard.tryAcquire()) {
            return m_runFirst(m_dir.endpointPath());
        }
        const HandOffResult result = client.send(text);
        if (result.outcome == HandOffOutcome::Delivered) {
            return 0;
        }
        if (result.outcome == HandOffOutcome::Refused ||
            result.outcome == HandOffOutcome::TimedOut) {
            return reportFailure(text, result.detail);
        }
        // No receiver yet, or it went away: the first instance is starting or has ended.
        if (Clock::now() >= giveUpAt) {
            m_messages << "korvel: Korvel is running but did not answer in time (" << result.detail
                       << "); it did not get " << subject(text) << ".\n";
            return 0;
        }
        std::this_thread::sleep_for(m_timing.retryEvery);
    }
}

int Launcher::reportFailure(const std::string& text, const std::string& reason) {
    m_messages << "korvel: the running Korvel did not take " << subject(text) << ": " << reason
               << ".\n";
    return 1;
}

std::string Launcher::handOffText(const std::string& argument) {
    if (argument.empty() || argument.front() == '/' || argument.find("://") != std::string::npos ||
        ::access(argument.c_str(), F_OK) != 0) {
        return argument;
    }
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    std::string_view relative = argument;
    while (relative.starts_with("./")) {
        relative.remove_prefix(2);
    }
    return error ? argument : folder + "/" + std::string(relative);
}

} // namespace korvel

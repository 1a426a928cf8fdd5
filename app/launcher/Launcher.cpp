#include "app/launcher/Launcher.h"

#include "app/launcher/HandOffClient.h"
#include "app/launcher/HelpText.h"
#include "app/launcher/InstanceGuard.h"
#include "app/launcher/LauncherText.h"

#include <filesystem>
#include <stdexcept>
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
        return LauncherText::text(LauncherText::Id::TheHandOff);
    }
    return "\"" + (text.size() > shown ? text.substr(0, shown) + "..." : text) + "\"";
}

// Said once per start: why this player will not take the clips of later starts.
void tellRunningAlone(const Launcher::Messages& messages, const std::string& reason) {
    messages(LauncherText::text(LauncherText::Id::RunsAlone, {reason}));
}

} // namespace

Launcher::Launcher(std::optional<RuntimeDir> dir, FirstInstance runFirst, Messages messages,
                   LaunchTiming timing)
    : m_dir(std::move(dir)), m_runFirst(std::move(runFirst)), m_messages(std::move(messages)),
      m_timing(timing) {}

std::optional<RuntimeDir> Launcher::locateDir(const Messages& messages) {
    try {
        return RuntimeDir::locate();
    } catch (const std::runtime_error& failure) {
        tellRunningAlone(messages, failure.what());
        return std::nullopt;
    }
}

std::optional<std::string> Launcher::informationFor(const std::string& argument,
                                                    const HelpText::Environment& environment) {
    if (argument == "--version") {
        return std::string("korvel ") + Version + "\n";
    }
    if (argument == "--help") {
        return HelpText::text(HelpText::language(environment));
    }
    return std::nullopt;
}

int Launcher::run(const std::optional<std::string>& clip) {
    if (!m_dir) {
        return m_runFirst({}); // told by locateDir()
    }
    InstanceGuard guard(m_dir->guardPath()); // held until the first instance's run has ended
    const HandOffClient client(m_dir->endpointPath(), m_timing.answerTimeout);
    std::optional<std::string> text; // made once this start is known to be a later one
    const auto giveUpAt = Clock::now() + m_timing.patience;
    for (;;) {
        bool first = false;
        try {
            first = guard.tryAcquire();
        } catch (const std::runtime_error& failure) {
            return runAlone(failure.what());
        }
        if (first) {
            return m_runFirst(m_dir->endpointPath());
        }
        if (!text) {
            text = textFor(clip);
            if (!text) {
                return 1;
            }
        }
        const HandOffResult result = client.send(*text);
        if (result.outcome == HandOffOutcome::Delivered) {
            return 0;
        }
        if (result.outcome == HandOffOutcome::Refused ||
            result.outcome == HandOffOutcome::TimedOut) {
            return reportFailure(*text, result.detail);
        }
        // No receiver yet, or it went away: the first instance is starting or has ended.
        if (Clock::now() >= giveUpAt) {
            m_messages(LauncherText::text(LauncherText::Id::NoAnswerInTime,
                                          {result.detail, subject(*text)}));
            return 1;
        }
        std::this_thread::sleep_for(m_timing.retryEvery);
    }
}

std::optional<std::string> Launcher::textFor(const std::optional<std::string>& clip) {
    if (!clip) {
        return std::string(); // brings the player to the front
    }
    if (clip->empty()) {
        // The empty text would only bring the player forward, as a start without a clip does:
        // the name the user gave is refused here instead.
        m_messages(LauncherText::text(LauncherText::Id::EmptyClipName));
        return std::nullopt;
    }
    try {
        return handOffText(*clip);
    } catch (const std::runtime_error& failure) {
        m_messages(LauncherText::text(LauncherText::Id::NotHandedOver, {failure.what()}));
        return std::nullopt;
    }
}

int Launcher::runAlone(const std::string& reason) {
    tellRunningAlone(m_messages, reason);
    return m_runFirst({});
}

int Launcher::reportFailure(const std::string& text, const std::string& reason) {
    m_messages(LauncherText::text(LauncherText::Id::NotTaken, {subject(text), reason}));
    return 1;
}

std::string Launcher::handOffText(const std::string& argument) {
    if (argument.empty() || argument.front() == '/' || argument.find("://") != std::string::npos) {
        return argument;
    }
    // Also a name that is not here: the player would look for it in its own folder, where
    // another file of that name may stand.
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    if (error) {
        throw std::runtime_error(
            LauncherText::text(LauncherText::Id::CurrentFolderUnreadable,
                               {argument, LauncherText::systemReason(error.value())}));
    }
    std::string_view relative = argument;
    while (relative.starts_with("./")) {
        relative.remove_prefix(2);
    }
    return folder + "/" + std::string(relative);
}

std::string Launcher::guiLibraryFor(const std::string& executable) {
    constexpr const char* library = "libkorvel_gui.so";
    const std::filesystem::path folder = std::filesystem::path(executable).parent_path();
    const std::filesystem::path beside = folder / library;
    const std::filesystem::path installed = folder.parent_path() / "lib" / "korvel" / library;
    for (const std::filesystem::path& candidate : {beside, installed}) {
        if (::access(candidate.c_str(), F_OK) == 0) {
            return candidate.string();
        }
    }
    throw std::runtime_error(
        LauncherText::text(LauncherText::Id::NoGuiLibrary, {beside.string(), installed.string()}));
}

} // namespace korvel

#pragma once

#include "app/launcher/HelpText.h"
#include "app/launcher/RuntimeDir.h"
#include "base/Version.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

namespace korvel {

struct LaunchTiming {
    std::chrono::milliseconds patience{10000};      // how long a later start waits for a receiver
    std::chrono::milliseconds retryEvery{50};       // between two attempts in that time
    std::chrono::milliseconds answerTimeout{30000}; // for the running instance's handler
};

// What a start of the program decides before any GUI exists: be the first instance and run
// the player, or hand the argument to the running instance and end.
class Launcher {
public:
    // Runs the player with the hand-off endpoint it must listen on (empty: none, the player
    // runs alone); returns the exit code.
    using FirstInstance = std::function<int(const std::string& endpointPath)>;
    // Where the launcher's messages go, each a whole text (standard error). Not a stream: the
    // first stream a process makes builds the standard library's whole locale, 0.3 MB that
    // the player would hold for as long as it runs.
    using Messages = std::function<void(const std::string& text)>;

    static constexpr const char* Version = KORVEL_VERSION;

    // Without a runtime folder (`dir` empty) every start runs a player of its own.
    Launcher(std::optional<RuntimeDir> dir, FirstInstance runFirst, Messages messages,
             LaunchTiming timing = {});

    // The runtime folder, or none when no safe one can be found or made; then `messages`
    // says why, and that this start runs without the single-instance guard.
    static std::optional<RuntimeDir> locateDir(const Messages& messages);

    // What `korvel --help` (in the user's language, read from `environment`) and
    // `korvel --version` print; nothing for any other argument, which is a clip.
    static std::optional<std::string>
    informationFor(const std::string& argument,
                   const HelpText::Environment& environment = ::getenv);

    // Takes the guard and runs the first instance while holding it, or hands `clip` over
    // (the empty text when no clip was given, which brings the player to the front).
    // While the guard is held but no receiver answers yet (the first instance is starting),
    // it keeps trying for timing.patience, taking the guard itself should its holder end.
    // A guard that cannot be used at all is told on `messages`, and the player runs alone.
    // Returns the exit code: 0 when handed over; 1, told on `messages`, when a later start
    // cannot hand the clip over (see textFor(); a first instance tells an empty name itself),
    // or when the running instance did not answer in time, refused or lost the text.
    int run(const std::optional<std::string>& clip);

    // The text a later start hands over: a relative path is made absolute here, in this
    // start's working folder, since the running instance has another. Throws
    // std::runtime_error when that folder cannot be told (it was removed).
    static std::string handOffText(const std::string& argument);

    // The GUI library of the launcher whose real path is `executable`: beside it, as in the
    // build folder, else in ../lib/korvel/ as installed, so an installed tree runs from any
    // prefix. Throws std::runtime_error naming both places when neither holds it.
    static std::string guiLibraryFor(const std::string& executable);

private:
    // What a later start hands over: the empty text without a clip. None, told on
    // `messages`, for an empty clip name or a relative one that cannot be made absolute.
    std::optional<std::string> textFor(const std::optional<std::string>& clip);
    int reportFailure(const std::string& text, const std::string& reason);
    int runAlone(const std::string& reason);

    std::optional<RuntimeDir> m_dir;
    FirstInstance m_runFirst;
    Messages m_messages;
    LaunchTiming m_timing;
};

} // namespace korvel

#pragma once

#include "app/RuntimeDir.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace korvel {

struct LaunchTiming {
    std::chrono::milliseconds patience{3000};       // how long a later start waits for a receiver
    std::chrono::milliseconds retryEvery{50};       // between two attempts in that time
    std::chrono::milliseconds answerTimeout{30000}; // for the running instance's handler
};

// What a start of the program decides before any GUI exists: be the first instance and run
// the player, or hand the argument to the running instance and end.
class Launcher {
public:
    // Runs the player with the hand-off endpoint it must listen on; returns the exit code.
    using FirstInstance = std::function<int(const std::string& endpointPath)>;

    Launcher(RuntimeDir dir, FirstInstance runFirst, std::ostream& messages,
             LaunchTiming timing = {});

    // Takes the guard and runs the first instance while holding it, or hands `argument` over.
    // While the guard is held but no receiver answers yet (the first instance is starting),
    // it keeps trying for timing.patience, taking the guard itself should its holder end.
    // Returns the exit code: 0 when handed over or when nobody answered in time (told on
    // `messages`), 1 when the running instance refused or lost the text.
    int run(const std::string& argument);

    // The text a later start hands over: a relative path naming an existing file is made
    // absolute here, since the running instance has a different working folder.
    static std::string handOffText(const std::string& argument);

private:
    int reportFailure(const std::string& text, const std::string& reason);

    RuntimeDir m_dir;
    FirstInstance m_runFirst;
    std::ostream& m_messages;
    LaunchTiming m_timing;
};

} // namespace korvel

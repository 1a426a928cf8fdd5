#pragma once

#include <QLoggingCategory>

namespace korvel {

// What the media engine and the libraries it brings have to say goes to the log category
// "korvel.engine", off by default so a normal run prints nothing: on with
// KORVEL_ENGINE_LOG=1, or QT_LOGGING_RULES="korvel.engine.info=true".
class EngineLog {
public:
    static const QLoggingCategory& category();
    static bool enabled() { return category().isInfoEnabled(); }
    // The least level of the engine's own messages worth asking for.
    static const char* engineLevel() { return enabled() ? "v" : "error"; }
    // Takes over what the engine's sound and decoding libraries would write to the terminal;
    // called once the engine's library is open (they come with it). Writes the environment
    // only the first time, so that a call made before the library opens on another thread
    // leaves that thread nothing to write.
    static void quietenCompanions();
};

} // namespace korvel

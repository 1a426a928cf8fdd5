#pragma once

#include <QString>

#include <thread>

namespace korvel {

// The media engine's library is opened the first time an engine is made, not when the
// program starts: it brings a few hundred decoder, sound and network libraries with it,
// which a player that shows its windows and waits for a clip has no use for yet. Every
// engine function the program calls goes through this loader (the engine's own header
// declares them; the loader defines them and forwards to the library once it is open).
class MpvLibrary {
public:
    // Opens the library if it is not open yet; false when it cannot be opened or lacks a
    // function the program needs (failure() says why). Safe from any thread.
    static bool load();
    // Opens the library on a thread of its own while the windows come up, for a player that
    // was started with a clip and will need it within moments; the returned thread is joined
    // when it goes. Called on the main thread, before any other thread reads the environment
    // that the library's companions are told through.
    [[nodiscard]] static std::jthread preload();
    // Why the library could not be opened; empty while it could.
    static QString failure();
};

} // namespace korvel

#pragma once

#include <cstdint>

struct mpv_event;

namespace korvel {

// What the adapter keeps of an engine event: the engine's event is valid only until the next
// wait, and its handlers may wait again, so each is copied out as it is taken.
struct EngineNotice {
    int id = 0;
    std::int64_t entry = 0;
    int reason = 0;
    int error = 0;
    std::int64_t insertedEntry = 0;
    int inserted = 0;
    std::uint64_t property = 0;
    bool available = false;
    double number = 0;

    // The engine's log messages are told to the engine log as they are taken.
    static EngineNotice of(const mpv_event& event);
};

} // namespace korvel

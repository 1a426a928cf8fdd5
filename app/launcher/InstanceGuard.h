#pragma once

#include <string>

namespace korvel {

// The single-instance guard "Korvel2": an exclusive flock() on a lock file, held by the first
// instance for its whole run. The kernel drops the lock when the holder ends in any way, so a
// guard left by a crashed instance is seen as free. The descriptor is close-on-exec: programs
// that the player starts never keep the guard alive after it has ended.
class InstanceGuard {
public:
    explicit InstanceGuard(std::string lockPath);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when this object holds the guard now (taken by this call or an earlier one);
    // false when another holder is alive. Never waits.
    // Throws std::runtime_error when the lock file cannot be opened or locked at all.
    bool tryAcquire();
    bool held() const { return m_fd >= 0; }
    // Gives the guard up; a later tryAcquire() may take it again.
    void release();

private:
    std::string m_lockPath;
    int m_fd = -1;
};

} // namespace korvel

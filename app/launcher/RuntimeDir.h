#pragma once

#include <string>

namespace korvel {

// The per-user directory that holds the single-instance guard and the hand-off endpoint.
//
// It is $XDG_RUNTIME_DIR when that is set to an absolute path naming a directory owned by
// this user with no group or other permissions; a missing one is made so (mode 0700, with its
// missing parents), for the place must not depend on whether it exists yet at a start.
// Otherwise it is the private folder "korvel-runtime" under $XDG_CACHE_HOME (or
// $HOME/.cache), created with mode 0700; an existing one must be a real directory owned by
// this user and is tightened to 0700. A name in the shared /tmp is never used, so no other
// user can take or fake the guard.
//
// Files inside: the guard "Korvel2.lock" and the endpoint socket "Korvel2.TForm3".
class RuntimeDir {
public:
    // Finds, or makes, the directory for the current environment and user.
    // Throws std::runtime_error with a message for the user when no safe directory exists.
    static RuntimeDir locate();

    const std::string& path() const { return m_path; }
    std::string guardPath() const;
    std::string endpointPath() const;

private:
    explicit RuntimeDir(std::string path);

    std::string m_path;
};

} // namespace korvel

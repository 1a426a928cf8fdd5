#include "app/launcher/RuntimeDir.h"

#include "app/launcher/LauncherText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace korvel {
namespace {

constexpr mode_t kPrivateMode = S_IRWXU;
constexpr mode_t kSharedBits = S_IRWXG | S_IRWXO;

std::runtime_error systemError(LauncherText::Id what, const std::string& path, int error) {
    return std::runtime_error(LauncherText::text(what, {path, LauncherText::systemReason(error)}));
}

bool isPrivateDirectory(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & kSharedBits) == 0;
}

// Creates the missing folders of an absolute path; new ones are private.
void makeFolders(const std::string& path) {
    std::string::size_type slash = 0;
    do {
        slash = path.find('/', slash + 1);
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), kPrivateMode) != 0 && errno != EEXIST) {
            throw systemError(LauncherText::Id::CannotCreateFolder, part, errno);
        }
    } while (slash != std::string::npos);
}

// $XDG_RUNTIME_DIR when it is safe to use, otherwise empty. One that is missing is made,
// private: passed over, it would send this start to the fallback folder, and once another
// program of the session made it (a sound library keeps its sockets there), a later start
// would look for the guard in it and become a second player. Where this user cannot make it,
// the user's other programs cannot either, and the fallback stays the place for every start.
std::string xdgRuntimeDir() {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    struct stat info {};
    if (::stat(value, &info) != 0 && errno == ENOENT) {
        try {
            makeFolders(value);
        } catch (const std::runtime_error&) {
            return {};
        }
    }
    if (::stat(value, &info) != 0 || !isPrivateDirectory(info)) {
        return {};
    }
    return value;
}

std::string homeDir() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    const passwd* entry = ::getpwuid(::geteuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') {
        return entry->pw_dir;
    }
    throw std::runtime_error(LauncherText::text(LauncherText::Id::NoHomeFolder));
}

std::string cacheHome() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return cache;
    }
    return homeDir() + "/.cache";
}

// The folder must be a real directory of this user; group and other permissions are removed.
// Checked through a descriptor opened without following links, so it cannot be swapped.
void ensurePrivateFolder(const std::string& path) {
    makeFolders(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        throw systemError(LauncherText::Id::CannotUseFolder, path, errno);
    }
    struct stat info {};
    const bool owned = ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid();
    const bool shared = owned && (info.st_mode & kSharedBits) != 0;
    const int error = shared && ::fchmod(fd, kPrivateMode) != 0 ? errno : 0;
    ::close(fd);
    if (!owned) {
        throw std::runtime_error(LauncherText::text(LauncherText::Id::FolderOfAnotherUser, {path}));
    }
    if (error != 0) {
        throw systemError(LauncherText::Id::CannotMakePrivate, path, error);
    }
}

} // namespace

RuntimeDir::RuntimeDir(std::string path) : m_path(std::move(path)) {}

RuntimeDir RuntimeDir::locate() {
    std::string path = xdgRuntimeDir();
    if (path.empty()) {
        path = cacheHome() + "/korvel-runtime";
        ensurePrivateFolder(path);
    }
    RuntimeDir dir(path);
    if (dir.endpointPath().size() >= sizeof(sockaddr_un::sun_path)) {
        throw std::runtime_error(LauncherText::text(LauncherText::Id::FolderPathTooLong, {path}));
    }
    return dir;
}

std::string RuntimeDir::guardPath() const { return m_path + "/Korvel2.lock"; }

std::string RuntimeDir::endpointPath() const { return m_path + "/Korvel2.TForm3"; }

} // namespace korvel

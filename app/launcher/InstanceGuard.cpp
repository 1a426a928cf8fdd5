#include "app/launcher/InstanceGuard.h"

#include "app/launcher/LauncherText.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace korvel {
namespace {

std::runtime_error guardError(const std::string& path, int error) {
    return std::runtime_error(LauncherText::text(LauncherText::Id::GuardUnusable,
                                                 {path, LauncherText::systemReason(error)}));
}

int lockOrErrno(int fd) {
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? 0 : errno;
}

} // namespace

InstanceGuard::InstanceGuard(std::string lockPath) : m_lockPath(std::move(lockPath)) {}

InstanceGuard::~InstanceGuard() { release(); }

bool InstanceGuard::tryAcquire() {
    if (held()) {
        return true;
    }
    const int fd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        throw guardError(m_lockPath, errno);
    }
    const int error = lockOrErrno(fd);
    if (error != 0) {
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return false;
        }
        throw guardError(m_lockPath, error);
    }
    m_fd = fd;
    return true;
}

void InstanceGuard::release() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace korvel

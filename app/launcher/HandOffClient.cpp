#include "app/launcher/HandOffClient.h"

#include "app/launcher/LauncherText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace korvel {
namespace {

using Clock = std::chrono::steady_clock;
using Id = LauncherText::Id;

// Closes the socket on every way out of send().
struct SocketCloser {
    int fd;
    ~SocketCloser() { ::close(fd); }
};

// 1 when the socket is ready, 0 when the deadline has passed, -1 when poll() itself failed.
int waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return 0;
        }
        pollfd entry{fd, events, 0};
        const int rc =
            ::poll(&entry, 1, static_cast<int>(std::min<long long>(left.count(), INT_MAX)));
        if (rc >= 0 || errno != EINTR) {
            return rc;
        }
    }
}

// 0 when connected, else the errno that says why not.
int connectTo(int fd, const std::string& path, Clock::time_point deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return ENAMETOOLONG;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        return 0;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        return errno; // ENOENT, ECONNREFUSED (stale socket), EAGAIN (backlog full), ...
    }
    if (waitFor(fd, POLLOUT, deadline) <= 0) {
        return ETIMEDOUT;
    }
    int error = 0;
    socklen_t length = sizeof(error);
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 ? error : errno;
}

// Why the receiver was not reached. A folder or a file standing where the socket belongs
// refuses every connection, which alone would read as a player that is not listening yet.
std::string whyNotConnected(const std::string& path, int error) {
    struct stat info {};
    if (error == ECONNREFUSED && ::lstat(path.c_str(), &info) == 0 && !S_ISSOCK(info.st_mode)) {
        return LauncherText::text(LauncherText::Id::NotOurSocket, {path});
    }
    return LauncherText::systemReason(error);
}

std::string encode(std::string_view text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    std::string message(handoff::kMagic.begin(), handoff::kMagic.end());
    for (int shift = 24; shift >= 0; shift -= 8) {
        message += static_cast<char>((length >> shift) & 0xFFu);
    }
    message += text;
    return message;
}

// False only when the deadline passed; a receiver that closed early ends the writing too,
// and its answer (if any) is read next.
bool writeAll(int fd, std::string_view data, Clock::time_point deadline) {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            data.remove_prefix(static_cast<std::size_t>(sent));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            const int ready = waitFor(fd, POLLOUT, deadline);
            if (ready <= 0) {
                return ready < 0;
            }
        } else if (errno != EINTR) {
            return true; // EPIPE, ECONNRESET: the receiver has closed
        }
    }
    return true;
}

HandOffResult readAnswer(int fd, Clock::time_point deadline) {
    for (;;) {
        char answer = 0;
        const ssize_t got = ::recv(fd, &answer, 1, 0);
        if (got == 1) {
            if (answer == handoff::kDone) {
                return {HandOffOutcome::Delivered, {}};
            }
            return {HandOffOutcome::Refused, answer == handoff::kRefused
                                                 ? LauncherText::text(Id::TooLongOrMalformed)
                                                 : LauncherText::text(Id::AnswerNotUnderstood)};
        }
        if (got == 0) {
            return {HandOffOutcome::Lost, LauncherText::text(Id::ClosedWithoutAnswer)};
        }
        if (errno == EINTR) {
            continue;
        }
        const int ready =
            errno == EAGAIN || errno == EWOULDBLOCK ? waitFor(fd, POLLIN, deadline) : -1;
        if (ready == 0) {
            return {HandOffOutcome::TimedOut, LauncherText::text(Id::NoAnswer)};
        }
        if (ready < 0) {
            return {HandOffOutcome::Lost, LauncherText::systemReason(errno)};
        }
    }
}

} // namespace

HandOffClient::HandOffClient(std::string endpointPath, std::chrono::milliseconds answerTimeout)
    : m_endpointPath(std::move(endpointPath)), m_answerTimeout(answerTimeout) {}

HandOffResult HandOffClient::send(std::string_view text) const {
    if (text.size() > UINT32_MAX) {
        return {HandOffOutcome::Refused, LauncherText::text(Id::TextTooLong)};
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return {HandOffOutcome::NoReceiver, LauncherText::systemReason(errno)};
    }
    const SocketCloser closer{fd};
    const auto deadline = Clock::now() + m_answerTimeout;
    if (const int error = connectTo(fd, m_endpointPath, deadline); error != 0) {
        return {HandOffOutcome::NoReceiver, whyNotConnected(m_endpointPath, error)};
    }
    if (!writeAll(fd, encode(text), deadline)) {
        return {HandOffOutcome::TimedOut, LauncherText::text(Id::NotSentInTime)};
    }
    HandOffResult result = readAnswer(fd, deadline);
    if (result.outcome == HandOffOutcome::Refused && text.size() > handoff::kMaxText) {
        result.detail = LauncherText::text(Id::LongerThan, {std::to_string(handoff::kMaxText)});
    }
    return result;
}

} // namespace korvel

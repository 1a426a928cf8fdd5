#include "base/RegularFile.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "base/SystemErrorText.h"

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

// What the reading thread hands back. Shared with it: a read given up still ends into it.
struct Outcome {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool notRegular = false;
    int error = 0;
    QByteArray bytes;
};

// The whole read, on the reading thread. Opened without waiting for a writer (a pipe's open
// would wait for one for ever), and checked by what was opened, not by the name, so nothing
// can be put in the file's place between the look and the read.
void readInto(Outcome& outcome, const QByteArray& name, qint64 maxBytes) {
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        outcome.error = errno;
        return;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        outcome.error = errno;
    } else if (!S_ISREG(status.st_mode)) {
        outcome.notRegular = true;
    } else {
        // A regular file is then read as any other, waiting for its bytes.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        QByteArray bytes(qsizetype(std::min<qint64>(maxBytes + 1, status.st_size + 1)), '\0');
        qint64 filled = 0;
        for (;;) {
            if (filled == bytes.size()) {
                // A file that grew since the look: room for more, up to one past the limit.
                if (filled > maxBytes) break;
                bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, filled * 2 + 4096)));
            }
            const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                outcome.error = errno;
                break;
            }
            if (got == 0) break;
            filled += got;
        }
        bytes.truncate(qsizetype(filled));
        outcome.bytes = std::move(bytes);
    }
    ::close(fd);
}

} // namespace

QByteArray RegularFile::read(const QString& path, qint64 maxBytes,
                             std::chrono::milliseconds limit) {
    auto outcome = std::make_shared<Outcome>();
    const QByteArray name = PathBytes::toBytes(path);
    std::thread([outcome, name, maxBytes] {
        readInto(*outcome, name, maxBytes);
        const std::lock_guard lock(outcome->mutex);
        outcome->done = true;
        outcome->ended.notify_all();
    }).detach();
    std::unique_lock lock(outcome->mutex);
    if (!outcome->ended.wait_for(lock, limit, [&] { return outcome->done; })) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
        throw KorvelError(FixedTexts::NoAnswer.arg(qMax<qint64>(seconds, 1)));
    }
    if (outcome->notRegular) throw KorvelError(FixedTexts::NotARegularFile);
    if (outcome->error != 0) throw KorvelError(SystemErrorText::of(outcome->error));
    return std::move(outcome->bytes);
}

} // namespace korvel

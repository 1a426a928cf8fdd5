#include "app/HandOffServer.h"

#include "app/launcher/HandOffClient.h"
#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "base/SystemErrorText.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <utility>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace korvel {
namespace {

constexpr qsizetype kHeaderSize = handoff::kHeaderSize;
constexpr qsizetype kLongestRequest = kHeaderSize + handoff::kMaxText;

// The hand-off speaks over a local socket by the system's own calls: the toolkit's socket
// classes would bring its network library (with its proxy and Kerberos chain) into every
// start, for one local socket.

// One incoming hand-off, from its connection to its answer. Owns the connection and deletes
// itself when done; while the handler runs, nothing else ends it.
class Reception : public QObject {
public:
    Reception(int connection, std::chrono::milliseconds readTimeout, HandOffServer* server);
    ~Reception() override { ::close(m_connection); }

private:
    enum class State { Reading, Waiting, Handling, Answered };

    void read();
    bool take();
    void deliver(const QString& text);
    void waitForHandler(const QString& text);
    void answer(char reply);
    void finish();

    int m_connection;
    HandOffServer* m_server;
    QSocketNotifier m_readable;
    QTimer m_timer;
    QByteArray m_request;
    State m_state = State::Reading;
    bool m_finished = false;
};

Reception::Reception(int connection, std::chrono::milliseconds readTimeout, HandOffServer* server)
    : QObject(server), m_connection(connection), m_server(server),
      m_readable(connection, QSocketNotifier::Read) {
    connect(&m_readable, &QSocketNotifier::activated, this, [this] { read(); });
    m_timer.setSingleShot(true);
    m_timer.callOnTimeout(this, [this] { finish(); });
    m_timer.start(readTimeout);
}

// Takes what has arrived, never more than one whole request and a byte to tell it is too
// long; false once the sender has gone (or its connection failed).
bool Reception::take() {
    char buffer[4096];
    for (;;) {
        const qsizetype room = std::max<qsizetype>(kLongestRequest + 1 - m_request.size(), 1);
        const ssize_t got =
            ::read(m_connection, buffer, std::min<size_t>(sizeof buffer, size_t(room)));
        if (got > 0) {
            // Bytes past one whole request only tell that it is too long.
            if (m_state == State::Reading && m_request.size() <= kLongestRequest)
                m_request.append(buffer, got);
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

void Reception::read() {
    if (!take()) {
        // The sender has gone: unless its text is being handled, there is nobody to answer.
        if (m_state != State::Handling) finish();
        return;
    }
    if (m_state != State::Reading) return;
    const HandOffServer::Request request = HandOffServer::parseRequest(m_request);
    if (request.status == HandOffServer::Request::Status::Refused) {
        answer(handoff::kRefused);
    } else if (request.status == HandOffServer::Request::Status::Complete) {
        deliver(request.text);
    }
}

void Reception::deliver(const QString& text) {
    m_timer.stop();
    const HandOffServer::Handler handler = m_server->handler(); // outlives this object
    if (!handler) {
        waitForHandler(text);
        return;
    }
    m_state = State::Handling;
    const QPointer<Reception> alive(this);
    std::exception_ptr failure;
    try {
        handler(text);
    } catch (...) {
        failure = std::current_exception();
    }
    if (alive) {
        answer(handoff::kDone);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

// The sender keeps waiting for its answer meanwhile; one that gives up ends this.
void Reception::waitForHandler(const QString& text) {
    m_state = State::Waiting;
    connect(
        m_server, &HandOffServer::handlerSet, this,
        [this, text] {
            if (m_state == State::Waiting) deliver(text);
        },
        Qt::QueuedConnection);
}

// One byte always fits the connection's empty buffer; the sender reads it before the end of
// the connection. A sender that has gone gets nothing, and no signal is raised for it.
void Reception::answer(char reply) {
    m_state = State::Answered;
    while (::send(m_connection, &reply, 1, MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
    finish();
}

void Reception::finish() {
    if (!m_finished) {
        m_finished = true;
        m_timer.stop();
        m_readable.setEnabled(false);
        deleteLater();
    }
}

KorvelError listenFailure(const QString& endpointPath, int error) {
    return KorvelError(FixedTexts::HandOffListen.arg(
        endpointPath, error != 0 ? SystemErrorText::of(error) : FixedTexts::SystemNoReason));
}

} // namespace

HandOffServer::HandOffServer(const QString& endpointPath, Handler handler, QObject* parent)
    : QObject(parent), m_endpointPath(endpointPath), m_handler(std::move(handler)) {}

// The socket file goes with the listener: a later start then finds nobody, not a dead socket.
HandOffServer::~HandOffServer() {
    delete m_pending;
    if (m_socket < 0) return;
    ::close(m_socket);
    ::unlink(QFile::encodeName(m_endpointPath).constData());
}

void HandOffServer::setHandler(Handler handler) {
    m_handler = std::move(handler);
    if (m_handler) emit handlerSet();
}

void HandOffServer::listen() {
    const QByteArray path = QFile::encodeName(m_endpointPath);
    // Only a socket is ours to replace (one left by an instance that crashed). Anything else
    // standing there, a folder, a file or a link, is no leftover of the player: it is told,
    // and kept.
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode))
            throw KorvelError(FixedTexts::HandOffNotASocket.arg(m_endpointPath));
        ::unlink(path.constData());
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        throw listenFailure(m_endpointPath, ENAMETOOLONG);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0) throw listenFailure(m_endpointPath, errno);
    // Reachable by this user alone: the file loses every other user's rights at once, and a
    // connection from another user before that is refused by its peer's id.
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(socket, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(socket);
        throw listenFailure(m_endpointPath, error);
    }
    m_socket = socket;
    m_pending = new QSocketNotifier(socket, QSocketNotifier::Read);
    connect(m_pending, &QSocketNotifier::activated, this, [this] { acceptPending(); });
}

HandOffServer::Request HandOffServer::parseRequest(QByteArrayView received) {
    using Status = Request::Status;
    if (received.size() < kHeaderSize) return {};
    const QByteArrayView magic(handoff::kMagic.data(), handoff::kMagic.size());
    const auto length = qFromBigEndian<quint32>(received.data() + magic.size());
    const qsizetype total = kHeaderSize + length;
    if (!received.startsWith(magic) || length > handoff::kMaxText || received.size() > total) {
        return {Status::Refused, {}};
    }
    if (received.size() < total) return {};
    // The bytes of a file name are kept as they are, UTF-8 or not.
    return {Status::Complete, PathBytes::toText(received.sliced(kHeaderSize))};
}

std::optional<uid_t> HandOffServer::peerUid(qintptr socketDescriptor) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    if (::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials,
                     &length) != 0 ||
        length != sizeof(credentials)) {
        return std::nullopt;
    }
    return credentials.uid;
}

void HandOffServer::acceptPending() {
    for (;;) {
        const int connection = ::accept4(m_socket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return;
            // Out of descriptors or memory: the connection stays queued, and is taken once
            // some are free, without spinning on it meanwhile.
            m_pending->setEnabled(false);
            QTimer::singleShot(RetryAccept, this, [this] { m_pending->setEnabled(true); });
            return;
        }
        if (peerUid(connection) != ::geteuid()) {
            ::close(connection);
            continue;
        }
        new Reception(connection, ReadTimeout, this);
    }
}

} // namespace korvel

#include "app/HandOffServer.h"

#include "app/HandOffClient.h"
#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "base/SystemErrorText.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
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

// One incoming hand-off, from its connection to its answer. Owns the socket and deletes
// itself when done; while the handler runs, nothing else ends it.
class Reception : public QObject {
public:
    Reception(QLocalSocket* socket, std::chrono::milliseconds readTimeout, HandOffServer* server);

private:
    enum class State { Reading, Waiting, Handling, Answered };

    void read();
    void deliver(const QString& text);
    void waitForHandler(const QString& text);
    void answer(char reply);
    void finish();

    QLocalSocket* m_socket;
    HandOffServer* m_server;
    QTimer m_timer;
    QByteArray m_request;
    State m_state = State::Reading;
    bool m_finished = false;
};

Reception::Reception(QLocalSocket* socket, std::chrono::milliseconds readTimeout,
                     HandOffServer* server)
    : QObject(server), m_socket(socket), m_server(server) {
    m_socket->setParent(this);
    // Qt never buffers more than one whole request (and a byte to tell it is too long).
    m_socket->setReadBufferSize(kLongestRequest + 1);
    connect(m_socket, &QLocalSocket::readyRead, this, [this] { read(); });
    connect(m_socket, &QLocalSocket::disconnected, this, [this] {
        if (m_state != State::Handling) {
            finish();
        }
    });
    m_timer.setSingleShot(true);
    m_timer.callOnTimeout(this, [this] { finish(); });
    m_timer.start(readTimeout);
}

void Reception::read() {
    if (m_state != State::Reading) {
        return;
    }
    m_request += m_socket->readAll();
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

void Reception::answer(char reply) {
    m_state = State::Answered;
    if (m_socket->state() != QLocalSocket::ConnectedState) {
        finish(); // the sender has gone
        return;
    }
    m_socket->write(&reply, 1);
    m_socket->flush();
    m_timer.start();                  // ends this should the answer never be written
    m_socket->disconnectFromServer(); // finish() follows once the answer is written
}

void Reception::finish() {
    if (!m_finished) {
        m_finished = true;
        m_timer.stop();
        m_socket->abort();
        deleteLater();
    }
}

} // namespace

HandOffServer::HandOffServer(const QString& endpointPath, Handler handler, QObject* parent)
    : QObject(parent), m_endpointPath(endpointPath), m_handler(std::move(handler)),
      m_server(new QLocalServer(this)) {
    connect(m_server, &QLocalServer::newConnection, this, [this] { acceptPending(); });
}

void HandOffServer::setHandler(Handler handler) {
    m_handler = std::move(handler);
    if (m_handler) emit handlerSet();
}

void HandOffServer::listen() {
    // Only a socket is ours to replace (one left by an instance that crashed). Anything else
    // standing there, a folder, a file or a link, is no leftover of the player: it is told,
    // and kept.
    struct stat info {};
    if (::lstat(QFile::encodeName(m_endpointPath).constData(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode))
            throw KorvelError(FixedTexts::HandOffNotASocket.arg(m_endpointPath));
        QLocalServer::removeServer(m_endpointPath);
    }
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_endpointPath)) {
        const int error =
            listenError(m_endpointPath, m_server->serverError(), m_server->errorString());
        throw KorvelError(FixedTexts::HandOffListen.arg(
            m_endpointPath, error != 0 ? SystemErrorText::of(error) : FixedTexts::SystemNoReason));
    }
}

// The toolkit tells a failed listen in its own words (English, or its catalogue's) and keeps
// no error number: "Name error" stands for several. The causes are found again here, on the
// name and its folder, so that the reason is said in Korvel's words.
int HandOffServer::listenError(const QString& endpointPath, QAbstractSocket::SocketError error,
                               const QString& toolkitText) {
    if (error == QAbstractSocket::AddressInUseError) return EADDRINUSE;
    // The toolkit needs room for a leading and a trailing zero byte in the address.
    if (QFile::encodeName(endpointPath).size() + 2 > qsizetype(sizeof(sockaddr_un::sun_path)))
        return ENAMETOOLONG;
    const QByteArray folder = QFile::encodeName(QFileInfo(endpointPath).absolutePath());
    if (::access(folder.constData(), W_OK | X_OK) != 0) return errno;
    if (error == QAbstractSocket::SocketAccessError) return EACCES;
    // Any other: the toolkit's text ends with the call's error number ("Unknown error 24").
    qsizetype digits = toolkitText.size();
    while (digits > 0 && toolkitText.at(digits - 1).isDigit()) --digits;
    return toolkitText.sliced(digits).toInt();
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
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (peerUid(socket->socketDescriptor()) != ::geteuid()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        new Reception(socket, ReadTimeout, this);
    }
}

} // namespace korvel

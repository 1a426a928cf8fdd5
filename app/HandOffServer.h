#pragma once

#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

#include <sys/types.h>

class QSocketNotifier;

namespace korvel {

// The running instance's side of the hand-off; the protocol is described in HandOffClient.h.
//
// It listens from the first moment of the player on, before there is anyone to give a text
// to: a request that is complete while no handler is set waits, its sender too, and is
// handled once setHandler() gives one, in the order the requests came. Nothing is dropped.
//
// Connections are read without blocking the GUI thread, several at a time. One from another
// user, a malformed request, a text longer than the bound, or a request not complete within
// the read timeout is closed without calling the handler. A well-formed request calls the
// handler on the GUI thread with its text (possibly empty), then answers the sender, which
// has waited for that answer, and closes.
//
// A handler that throws: the sender still gets its answer and the connection is closed, then
// the exception leaves the socket's slot, for the application's notify() to show it. A
// handler that runs a nested event loop may meanwhile be entered again for another sender.
class HandOffServer : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const QString& text)>;

    explicit HandOffServer(const QString& endpointPath, Handler handler = {},
                           QObject* parent = nullptr);

    // Sets the handler; requests that have been waiting for one are handled from the event
    // loop, not inside this call.
    void setHandler(Handler handler);
    const Handler& handler() const { return m_handler; }

    // Listens at the endpoint, reachable by this user alone. A socket file left there by an
    // instance that crashed is replaced: only the guard's holder listens, so none is live.
    // Anything else standing there is left alone. Throws KorvelError when listening fails.
    void listen();
    ~HandOffServer() override;

    // How long a connection may take to deliver its request.
    static constexpr std::chrono::milliseconds ReadTimeout{2000};
    // How long accepting waits after the system had no descriptor for a connection.
    static constexpr std::chrono::milliseconds RetryAccept{100};

    // What the bytes received so far on one connection make: not yet a whole request, one to
    // refuse (a wrong header, a text over the bound, bytes beyond the announced text), or a
    // whole request and its text, every byte of a file name kept (PathBytes).
    struct Request {
        enum class Status { Incomplete, Refused, Complete };
        Status status = Status::Incomplete;
        QString text;
    };
    static Request parseRequest(QByteArrayView received);

    // The user id of the peer of a connected local socket, when the system tells it.
    static std::optional<uid_t> peerUid(qintptr socketDescriptor);

signals:
    void handlerSet();

private:
    void acceptPending();

    QString m_endpointPath;
    Handler m_handler;
    int m_socket = -1;                    // listening, from listen() on
    QSocketNotifier* m_pending = nullptr; // a connection waits to be accepted
};

} // namespace korvel

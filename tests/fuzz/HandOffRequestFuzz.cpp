// The receiving side of the hand-off over any bytes a connection may bring: a request is
// taken only when it is whole and well formed, and then its text is every byte sent, never
// cut. A request made from any text is taken whole, its prefixes wait for more, one byte
// more is refused.

#include "FuzzInput.h"

#include "app/HandOffServer.h"
#include "app/launcher/HandOffClient.h"
#include "base/PathBytes.h"

#include <QtEndian>

using korvel::HandOffServer;
using korvel::PathBytes;
using korvel::fuzz::check;
using Status = HandOffServer::Request::Status;
namespace handoff = korvel::handoff;

namespace {

QByteArray requestFor(QByteArrayView text) {
    QByteArray request(handoff::kMagic.data(), handoff::kMagic.size());
    char length[4];
    qToBigEndian<quint32>(quint32(text.size()), length);
    return request + QByteArray(length, 4) + text.toByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView received(reinterpret_cast<const char*>(data), qsizetype(size));
    const HandOffServer::Request request = HandOffServer::parseRequest(received);
    if (request.status == Status::Complete) {
        const QByteArrayView text = received.sliced(handoff::kHeaderSize);
        check(received.startsWith(requestFor(text)), "a whole, well-formed request");
        check(PathBytes::toBytes(request.text) == text, "every byte of the text");
    } else {
        check(request.text.isEmpty(), "no text from an unfinished request");
    }

    const QByteArray made = requestFor(received.first(qMin<qsizetype>(size, handoff::kMaxText)));
    const HandOffServer::Request taken = HandOffServer::parseRequest(made);
    check(taken.status == Status::Complete, "a made request is taken");
    check(PathBytes::toBytes(taken.text) == made.sliced(handoff::kHeaderSize),
          "the text is never cut");
    for (const qsizetype cut : {qsizetype(0), qsizetype(4), qsizetype(7), made.size() - 1}) {
        if (cut < made.size())
            check(HandOffServer::parseRequest(made.first(cut)).status == Status::Incomplete,
                  "a part of a request waits");
    }
    check(HandOffServer::parseRequest(made + 'x').status == Status::Refused,
          "bytes beyond the text are refused");
    return 0;
}

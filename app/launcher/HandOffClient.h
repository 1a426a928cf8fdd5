#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// The hand-off between a later start (client) and the running instance (receiver), over the
// AF_UNIX stream socket at RuntimeDir::endpointPath(). One message per connection:
//
//   request  4 bytes  handoff::kMagic: "KRV" and the protocol version 1
//            4 bytes  length of the text in bytes, unsigned, big-endian
//            n bytes  the text: the first command-line argument byte for byte, unterminated
//                     (UTF-8 as a rule, but a file name need not be)
//   answer   1 byte   handoff::kDone once the receiver's handler has returned (also when the
//                     handler failed: the receiver shows that failure itself), or
//                     handoff::kRefused when the request was malformed or its text longer than
//                     handoff::kMaxText; the receiver closes the connection after either.
//
// The text is never cut, and the empty text is a valid message.
namespace handoff {
inline constexpr std::array<char, 4> kMagic{'K', 'R', 'V', '\x01'};
inline constexpr std::size_t kHeaderSize = 8;
inline constexpr std::uint32_t kMaxText = 64 * 1024;
inline constexpr char kDone = '\x06';
inline constexpr char kRefused = '\x15';
} // namespace handoff

enum class HandOffOutcome {
    Delivered,  // the receiver's handler has run
    NoReceiver, // nobody listens at the endpoint: not yet, or not any more
    Lost,       // the receiver went away before it answered
    Refused,    // the receiver turned the message down
    TimedOut,   // no answer within the time limit
};

struct HandOffResult {
    HandOffOutcome outcome;
    std::string detail; // why, for a message; empty when delivered
};

// Sends one hand-off with plain POSIX calls (no Qt): usable before any GUI exists.
class HandOffClient {
public:
    // answerTimeout bounds the whole exchange, handler included, so a frozen receiver cannot
    // hold a later start forever.
    explicit HandOffClient(std::string endpointPath,
                           std::chrono::milliseconds answerTimeout = std::chrono::seconds(30));

    // Sends the whole text and waits until the receiver's handler has finished. Failures of
    // the receiver come back as the outcome; never raises SIGPIPE, never throws.
    HandOffResult send(std::string_view text) const;

private:
    std::string m_endpointPath;
    std::chrono::milliseconds m_answerTimeout;
};

} // namespace korvel

#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

namespace korvel {

// Reading a file that the user named and that Korvel takes as text (a list), where a pipe,
// a device or a stalled network mount standing at the name must not hold the windows.
class RegularFile {
public:
    // How long the windows wait for a file before telling the user it did not come.
    static constexpr std::chrono::milliseconds AnswerLimit{std::chrono::seconds(10)};

    // The first `maxBytes` + 1 bytes of the file at `path` (all of it when it is smaller),
    // so that the caller can tell a file that is too large. The file is opened without
    // waiting and looked at before a byte is read: what is not a regular file (a pipe, a
    // device, a folder) is refused unread. Opening and reading run on a thread of their own;
    // when they have not ended within `limit` the read is given up and left to end by itself.
    // Raises a KorvelError whose text is the reason alone (the caller names the file).
    static QByteArray read(const QString& path, qint64 maxBytes,
                           std::chrono::milliseconds limit = AnswerLimit);
};

} // namespace korvel

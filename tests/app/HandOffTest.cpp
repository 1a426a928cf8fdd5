#include "AppTestSupport.h"

#include "app/HandOffServer.h"
#include "app/launcher/HandOffClient.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvel;
using namespace korvel::test;
using namespace std::chrono_literals;

namespace {

int connectRaw(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string request(const std::string& magic, std::uint32_t length, const std::string& body) {
    std::string bytes = magic;
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((length >> shift) & 0xFFu);
    }
    return bytes + body;
}

// Sends raw bytes (then ends its side when asked) and returns all it reads until the end.
std::string exchangeRaw(const std::string& path, const std::string& bytes, bool endWriting) {
    const int fd = connectRaw(path);
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (endWriting) {
        ::shutdown(fd, SHUT_WR);
    }
    std::string answer;
    char byte = 0;
    pollfd entry{fd, POLLIN, 0};
    while (::poll(&entry, 1, 5000) == 1 && ::recv(fd, &byte, 1, 0) == 1) {
        answer += byte;
    }
    ::close(fd);
    return answer;
}

bool isClosedByPeer(int fd) {
    pollfd entry{fd, POLLIN, 0};
    char byte = 0;
    return ::poll(&entry, 1, 0) == 1 && ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

class HandOffTest : public ::testing::Test {
protected:
    HandOffResult send(const std::string& text) {
        return whileServing(
            [this, text] { return HandOffClient(runtime.endpoint(), 5s).send(text); });
    }

    TestRuntime runtime;
    QStringList received;
    HandOffServer server{runtime.endpointFile(), [this](const QString& text) { received << text; }};
};

// Fault: a text is cut or mangled on the way, however long it is up to the bound.
TEST_F(HandOffTest, DeliversEveryTextWhole) {
    server.listen();
    const std::string longest(handoff::kMaxText, 'y');
    const std::string texts[] = {"",
                                 "/home/user/Videos/clip.avi",
                                 std::string(300, 'x'),
                                 "http://example.com/live.rm?a=1&b=2",
                                 "/home/ユーザー/動画/テスト 1.rm",
                                 longest};
    for (const std::string& text : texts) {
        EXPECT_EQ(send(text).outcome, HandOffOutcome::Delivered) << text.size();
        EXPECT_EQ(received.value(received.size() - 1), QString::fromStdString(text));
    }
    EXPECT_EQ(received.size(), qsizetype{std::size(texts)});
}

// Fault: a file name that is not UTF-8 reaches the handler with its odd bytes replaced.
TEST_F(HandOffTest, KeepsTheBytesOfANameThatIsNotUtf8) {
    server.listen();
    const std::string names[] = {"/tmp/caf\xe9.avi", "/tmp/\x83\x65\x83\x58\x83\x67.rm"};
    for (const std::string& name : names) {
        EXPECT_EQ(send(name).outcome, HandOffOutcome::Delivered);
        EXPECT_EQ(PathBytes::toBytes(received.value(received.size() - 1)).toStdString(), name);
    }
}

// Fault: a hand-off that arrives before the player has a window to give it to is dropped or
// answered as taken before it was.
TEST(HandOffWaiting, HoldsTextsUntilThereIsAHandler) {
    TestRuntime runtime;
    HandOffServer server(runtime.endpointFile());
    server.listen();
    auto sendLater = [&runtime](const std::string& text) {
        return std::async(std::launch::async, [endpoint = runtime.endpoint(), text] {
            return HandOffClient(endpoint, 10s).send(text).outcome;
        });
    };
    auto first = sendLater("one.avi");
    auto second = sendLater("two.avi");
    const auto bothAnswered = [&] {
        return first.wait_for(0s) == std::future_status::ready &&
               second.wait_for(0s) == std::future_status::ready;
    };
    EXPECT_FALSE(QTest::qWaitFor(bothAnswered, 500)); // no handler: nobody is answered
    QStringList received;
    server.setHandler([&received](const QString& text) { received << text; });
    EXPECT_TRUE(received.isEmpty()); // taken from the event loop, not inside setHandler()
    ASSERT_TRUE(QTest::qWaitFor(bothAnswered, 10000));
    EXPECT_EQ(first.get(), HandOffOutcome::Delivered);
    EXPECT_EQ(second.get(), HandOffOutcome::Delivered);
    received.sort();
    EXPECT_EQ(received, (QStringList{"one.avi", "two.avi"}));
}

// Fault: a text beyond the bound fills the receiver's memory, reaches the handler, or leaves
// the sender hanging instead of being refused.
TEST_F(HandOffTest, RefusesTextsBeyondTheBound) {
    server.listen();
    for (const std::size_t size : {std::size_t{handoff::kMaxText} + 1, std::size_t{100000}}) {
        const HandOffResult result = send(std::string(size, 'z'));
        EXPECT_EQ(result.outcome, HandOffOutcome::Refused) << size;
        EXPECT_NE(result.detail.find("longer than 65536 bytes"), std::string::npos);
    }
    EXPECT_EQ(send("after").outcome, HandOffOutcome::Delivered);
    EXPECT_EQ(received, QStringList{"after"});
}

// Fault: a malformed request reaches the handler or stalls the receiver.
TEST_F(HandOffTest, DropsMalformedRequests) {
    server.listen();
    const std::string magic(handoff::kMagic.begin(), handoff::kMagic.end());
    const std::string refused(1, handoff::kRefused);
    struct Case {
        std::string bytes;
        bool endWriting;
        std::string answer;
    };
    const Case cases[] = {
        {request("KRVX", 3, "abc"), false, refused},    // unknown magic
        {request("KRV\x02", 3, "abc"), false, refused}, // unknown version
        {request(magic, 3, "abcdef"), false, refused},  // more than announced
        {request(magic, 10, "abc"), true, ""},          // ends before its text
        {magic.substr(0, 2), true, ""},                 // ends inside the header
    };
    for (const Case& c : cases) {
        const std::string path = runtime.endpoint();
        EXPECT_EQ(whileServing([&] { return exchangeRaw(path, c.bytes, c.endWriting); }), c.answer);
    }
    EXPECT_EQ(send("next").outcome, HandOffOutcome::Delivered);
    EXPECT_EQ(received, QStringList{"next"});
}

// Fault: a client that connects and sends nothing blocks later senders or is never dropped.
TEST_F(HandOffTest, ServesOthersWhileASilentClientWaitsAndDropsItLater) {
    server.listen();
    const int silent = connectRaw(runtime.endpoint());
    ASSERT_GE(silent, 0);
    EXPECT_EQ(send("meanwhile").outcome, HandOffOutcome::Delivered);
    EXPECT_FALSE(isClosedByPeer(silent));
    EXPECT_TRUE(QTest::qWaitFor([&] { return isClosedByPeer(silent); }, 5000));
    ::close(silent);
    EXPECT_EQ(received, QStringList{"meanwhile"});
}

// Fault: a socket file left by a crashed instance keeps the next instance from listening.
TEST_F(HandOffTest, ReplacesAStaleSocketFile) {
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, runtime.endpoint().c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(stale);
    EXPECT_EQ(send("early").outcome, HandOffOutcome::NoReceiver);
    server.listen();
    EXPECT_EQ(send("clip.rm").outcome, HandOffOutcome::Delivered);
    EXPECT_EQ(received, QStringList{"clip.rm"});
}

// Fault: the endpoint is open to other users, or a failure to listen goes unnoticed.
TEST_F(HandOffTest, ListensForThisUserAloneAndReportsFailure) {
    server.listen();
    struct stat info {};
    ASSERT_EQ(::lstat(runtime.endpoint().c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & (S_IRWXG | S_IRWXO), 0u);

    HandOffServer nowhere(runtime.path() + "/missing/Korvel2.TForm3", [](const QString&) {});
    try {
        nowhere.listen();
        ADD_FAILURE() << "listening in a missing folder succeeded";
    } catch (const KorvelError& error) {
        EXPECT_TRUE(error.text().contains(runtime.path() + "/missing/Korvel2.TForm3"));
    }
}

// Fault: a folder standing at the endpoint was told as "Unknown error 21" by the receiver and
// as "Connection refused" by a later start, and a file there was deleted. Whatever stands
// there that is not a socket is named and left alone.
TEST(HandOffEndpoint, TellsOfWhatStandsInPlaceOfItsSocket) {
    TestRuntime runtime;
    const QString endpoint = runtime.endpointFile();
    HandOffServer server(endpoint, [](const QString&) {});
    const auto listenFailure = [&server]() -> QString {
        try {
            server.listen();
        } catch (const KorvelError& error) {
            return error.text();
        }
        return {};
    };
    ASSERT_TRUE(QDir().mkdir(endpoint));
    const QString folder = listenFailure();
    EXPECT_TRUE(folder.contains(endpoint + " is not Korvel's socket")) << folder.toStdString();
    EXPECT_TRUE(QFileInfo(endpoint).isDir());
    const HandOffResult sent = HandOffClient(runtime.endpoint(), 1s).send("clip.avi");
    EXPECT_EQ(sent.outcome, HandOffOutcome::NoReceiver);
    EXPECT_NE(sent.detail.find(runtime.endpoint() + " is not Korvel's socket"), std::string::npos)
        << sent.detail;
    ASSERT_TRUE(QDir().rmdir(endpoint));
    QFile file(endpoint);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("notes") == 5);
    file.close();
    EXPECT_TRUE(listenFailure().contains(endpoint + " is not Korvel's socket"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "notes");
}

// Fault: the peer's user is misread, so other users' connections would pass the check.
TEST(HandOffPeer, TellsThePeersUser) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_EQ(HandOffServer::peerUid(pair[0]), ::geteuid());
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    EXPECT_EQ(HandOffServer::peerUid(pipeEnds[0]), std::nullopt);
    for (const int fd : {pair[0], pair[1], pipeEnds[0], pipeEnds[1]}) {
        ::close(fd);
    }
}

// Runs a client as another user: 2 when it cannot connect, 1 when answered, 0 when dropped.
int exchangeAsOtherUser(const std::string& path, const std::string& bytes) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        const int fd = connectRaw(path);
        if (fd < 0) {
            ::_exit(2);
        }
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        char answer = 0;
        ::_exit(::recv(fd, &answer, 1, 0) == 1 ? 1 : 0);
    }
    int status = -1;
    if (!QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 10000)) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Fault: another user's process hands texts to this user's player.
TEST_F(HandOffTest, IgnoresOtherUsers) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    server.listen();
    const std::string endpoint = runtime.endpoint();
    ASSERT_EQ(::chmod(runtime.path().toLocal8Bit().constData(), 0711), 0);
    const std::string magic(handoff::kMagic.begin(), handoff::kMagic.end());
    const std::string bytes = request(magic, 5, "other");
    EXPECT_EQ(exchangeAsOtherUser(endpoint, bytes), 2); // the socket's mode keeps it out
    ASSERT_EQ(::chmod(endpoint.c_str(), 0666), 0);
    EXPECT_EQ(exchangeAsOtherUser(endpoint, bytes), 0); // the peer check drops it
    EXPECT_TRUE(received.isEmpty());
}

} // namespace

#include "MediaTestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <iostream>

using namespace korvel;
using namespace korvel::test;

namespace {

// A loopback server that answers each connection with `reply` and then, when asked, closes
// it. What it sends is up to each test: garbage in place of an answer, or the head of an
// answer whose body stops half way.
class ReplyServer {
public:
    ReplyServer(QByteArray reply, bool closeAfter) : m_reply(std::move(reply)) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this, closeAfter] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++connections;
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket, closeAfter] {
                                     socket->readAll();
                                     socket->write(m_reply);
                                     if (closeAfter) socket->disconnectFromHost();
                                 });
            }
        });
    }
    QString url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
    }
    int connections = 0;

private:
    QTcpServer m_server;
    QByteArray m_reply;
};

QByteArray clipBytes(const QString& name) {
    QFile file(clip(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray noise(qsizetype size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(20240611);
    for (char& byte : bytes) byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

bool putFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An HTTP answer that announces the whole of `body` and carries `sent` bytes of it.
QByteArray cutAnswer(const QByteArray& body, qsizetype sent) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body.left(sent);
}

// True once the clip has come to rest: failed, stopped, or at its end.
bool settled(const Recorder& recorder) {
    return !recorder.failures.isEmpty() || recorder.lastState() == MediaControl::Stopped ||
           (recorder.lastState() == MediaControl::Paused && recorder.endReport() >= 0);
}

// After a fault: what the control did is at most one failure, it comes to rest and stays
// quiet, and the next clip then opens and plays with nothing more told.
void expectRestThenNextClipPlays(MpvMediaControl& control, Recorder& recorder, const char* fault) {
    SCOPED_TRACE(fault);
    ASSERT_TRUE(waitUntil([&] { return settled(recorder); }, 15000))
        << "still in state " << recorder.lastState();
    const qint64 restedAt = recorder.clock.elapsed();
    // Whatever the engine still has to say about the fault says it within this time.
    waitUntil([] { return false; }, 1000);
    std::cout << "[ measured ] " << fault << ": at rest after " << restedAt << " ms, state "
              << recorder.lastState()
              << ", failures: " << recorder.failures.join(u'|').toStdString() << std::endl;
    EXPECT_LE(recorder.failures.size(), 1) << recorder.failures.join(u'|').toStdString();
    for (const QString& text : recorder.failures) EXPECT_TRUE(text.startsWith("Cannot "));

    const qsizetype failuresBefore = recorder.failures.size();
    const std::size_t reportsBefore = recorder.positions.size();
    control.LoadSource(clip(QStringLiteral("clip.mp4")));
    control.StartPlay();
    ASSERT_TRUE(waitUntil(
        [&] {
            return recorder.lastState() == MediaControl::Playing &&
                   recorder.positions.size() >= reportsBefore + 3 &&
                   recorder.positions.back().position > 300;
        },
        10000))
        << "the next clip did not play; state " << recorder.lastState();
    EXPECT_EQ(recorder.failures.size(), failuresBefore);
    EXPECT_EQ(control.QueryTitle(), QStringLiteral("TestClip"));
}

} // namespace

// Fault: a server that accepts and never answers holds the control past its open timeout,
// tells the failure more than once, or leaves the control unable to play the next clip.
TEST(EngineFault, SilentServerFailsOnceAndTheNextClipPlays) {
    ReplyServer server({}, false);
    auto control = makeControl(MpvMediaControl::Options::Picture::None, 1500);
    Recorder recorder(*control);
    const QString url = server.url("clip.mp4");
    control->LoadSource(url);
    control->StartPlay();
    expectRestThenNextClipPlays(*control, recorder, "a server that never answers");
    EXPECT_EQ(recorder.failures.value(0),
              QStringLiteral("Cannot open %1: no answer within 1.5 s").arg(url));
    EXPECT_GE(server.connections, 1);
}

// Fault: a server that answers with garbage instead of HTTP, or with an HTTP answer whose
// body is garbage, freezes the control, raises a failure per retry, or spoils the next clip.
TEST(EngineFault, GarbageFromTheServerFailsOnceAndTheNextClipPlays) {
    const struct {
        const char* fault;
        QByteArray reply;
    } cases[] = {
        {"garbage in place of an answer", noise(64 * 1024)},
        {"an answer whose body is garbage", cutAnswer(noise(256 * 1024), 256 * 1024)},
    };
    for (const auto& c : cases) {
        ReplyServer server(c.reply, true);
        auto control = makeControl(MpvMediaControl::Options::Picture::None, 4000);
        Recorder recorder(*control);
        control->LoadSource(server.url("clip.mp4"));
        control->StartPlay();
        expectRestThenNextClipPlays(*control, recorder, c.fault);
        EXPECT_EQ(recorder.failures.size(), 1) << c.fault << ": nothing was told";
        EXPECT_GE(server.connections, 1);
    }
}

// Fault: a server that closes the connection half way through a clip leaves the control
// playing nothing forever or tells the failure more than once; the next clip then fails.
TEST(EngineFault, ServerClosingMidStreamEndsOnceAndTheNextClipPlays) {
    for (const char* name : {"live.ts", "clip.avi"}) {
        const QByteArray body = clipBytes(QString::fromUtf8(name));
        ASSERT_FALSE(body.isEmpty()) << name;
        ReplyServer server(cutAnswer(body, body.size() / 2), true);
        auto control = makeControl(MpvMediaControl::Options::Picture::None, 4000);
        Recorder recorder(*control);
        control->LoadSource(server.url(name));
        control->StartPlay();
        expectRestThenNextClipPlays(*control, recorder, name);
    }
}

// Fault: a clip cut off in the middle, or whose second half is garbage (a clip that fails
// after it started), hangs the control at the cut or tells its failure again and again.
TEST(EngineFault, DamagedClipsComeToRestAndTheNextClipPlays) {
    QTemporaryDir dir;
    for (const char* name : {"clip.avi", "clip.mp4", "live.ts"}) {
        const QByteArray whole = clipBytes(QString::fromUtf8(name));
        ASSERT_FALSE(whole.isEmpty()) << name;
        const qsizetype half = whole.size() / 2;
        const QByteArray damaged[] = {whole.left(half), whole.left(half) + noise(half)};
        for (const QByteArray& bytes : damaged) {
            const QString path = dir.filePath(QString::fromUtf8(name));
            ASSERT_TRUE(putFile(path, bytes));
            auto control = makeControl(MpvMediaControl::Options::Picture::None, 4000);
            Recorder recorder(*control);
            control->LoadSource(path);
            control->StartPlay();
            const std::string fault =
                std::string(name) + (bytes.size() == half ? " cut in half" : " half garbage");
            expectRestThenNextClipPlays(*control, recorder, fault.c_str());
        }
    }
}

// Fault: the file that plays is deleted, overwritten with garbage where it stands, or
// replaced by another file of its name; the control crashes, freezes, or tells more than one
// failure, and the next clip does not play.
TEST(EngineFault, PlayingFileDeletedOrReplacedComesToRest) {
    QTemporaryDir dir;
    const QString path = dir.filePath("playing.avi");
    const QByteArray bytes = clipBytes(QStringLiteral("clip.avi"));
    const struct {
        const char* fault;
        std::function<bool()> change;
    } cases[] = {
        {"deleted", [&] { return QFile::remove(path); }},
        {"overwritten in place", [&] { return putFile(path, noise(bytes.size())); }},
        {"replaced by another file",
         [&] {
             const QString other = dir.filePath("other.avi");
             return putFile(other, clipBytes(QStringLiteral("tone.mp3"))) &&
                    ::rename(QFile::encodeName(other).constData(),
                             QFile::encodeName(path).constData()) == 0;
         }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(putFile(path, bytes));
        auto control = makeControl(MpvMediaControl::Options::Picture::None, 4000);
        Recorder recorder(*control);
        control->LoadSource(path);
        control->StartPlay();
        ASSERT_TRUE(waitUntil([&] {
            return !recorder.positions.empty() && recorder.positions.back().position >= 500;
        })) << c.fault;
        ASSERT_TRUE(c.change()) << c.fault;
        expectRestThenNextClipPlays(*control, recorder, c.fault);
    }
}

#include "MediaTestSupport.h"
#include "ui/UserLanguage.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

#include <iostream>

using namespace korvel;
using namespace korvel::test;

namespace {

// python3's file server on a free loopback port, serving the clips; stopped at the end.
class FileServer {
public:
    FileServer() {
        m_process.setProgram(QStringLiteral("python3"));
        m_process.setArguments({QStringLiteral("-u"), QStringLiteral("-m"),
                                QStringLiteral("http.server"), QStringLiteral("0"),
                                QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                                QStringLiteral("--directory"), clipsDir()});
        m_process.start();
    }
    ~FileServer() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    // The port it listens on, once it says so; 0 when it does not start.
    int port() {
        const QRegularExpression said(QStringLiteral("port (\\d+)"));
        waitUntil([&] {
            m_said += m_process.readAllStandardOutput();
            return said.match(QString::fromUtf8(m_said)).hasMatch() ||
                   m_process.state() == QProcess::NotRunning;
        });
        return said.match(QString::fromUtf8(m_said)).captured(1).toInt();
    }

private:
    QProcess m_process;
    QByteArray m_said;
};

// A loopback server that accepts connections and then either stays silent or answers every
// request with `body` and no length, keeping the connection open like a live stream.
class RawServer {
public:
    explicit RawServer(QByteArray body = {}) : m_body(std::move(body)) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    }
    QString url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
    }
    int connections = 0;

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++connections;
            if (m_body.isEmpty()) continue;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().contains("\r\n\r\n")) return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: video/mp2t\r\n\r\n" + m_body);
            });
        }
    }

    QTcpServer m_server;
    QByteArray m_body;
};

} // namespace

// A clip over http from a loopback server opens and plays like a local one.
TEST(Network, PlaysAClipOverHttp) {
    FileServer server;
    const int port = server.port();
    ASSERT_GT(port, 0) << "python3 -m http.server did not start";
    auto control = makeControl();
    Recorder recorder(*control);
    const QString url = QStringLiteral("http://127.0.0.1:%1/clip.mp4").arg(port);
    control->LoadSource(url);
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.positions.size() >= 3; }))
        << recorder.failures.join(u'|').toStdString();
    EXPECT_EQ(recorder.lastState(), MediaControl::Playing);
    EXPECT_NEAR(static_cast<double>(control->QueryLength()), 3000.0, 100.0);
    EXPECT_EQ(control->QueryTitle(), QStringLiteral("TestClip"));
    EXPECT_EQ(control->QueryImageWidth(), 320);
    EXPECT_EQ(control->QuerySource(), url);
}

// A refused connection is told after LoadSource returned, and the control stops. The
// engine's reason is told in the message's language (its own text is English only).
TEST(Network, RefusedConnectionIsALateFailure) {
    const QString url = QStringLiteral("http://127.0.0.1:1/x.mp4");
    const std::pair<QLocale, QString> rows[] = {
        {QLocale::c(), QStringLiteral("Cannot open %1: it could not be loaded").arg(url)},
        {QLocale(QStringLiteral("ja_JP")),
         QStringLiteral("%1 を開けません: 読み込めませんでした").arg(url)},
    };
    for (const auto& [locale, told] : rows) {
        const UserLanguage language(locale);
        auto control = makeControl();
        Recorder recorder(*control);
        control->LoadSource(url);
        control->StartPlay();
        ASSERT_TRUE(waitUntil([&] { return !recorder.failures.isEmpty(); }));
        EXPECT_EQ(recorder.failures, QStringList(told));
        EXPECT_EQ(recorder.lastState(), MediaControl::Stopped);
    }
}

// A server that accepts and never answers would hold the engine for minutes: the open
// timeout gives up in time, and tearing the control down during such an open is quick.
TEST(Network, SilentServerTimesOut) {
    RawServer server;
    auto control = makeControl(MpvMediaControl::Options::Picture::None, 1500);
    Recorder recorder(*control);
    const QString url = server.url("clip.mp4");
    control->LoadSource(url);
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return !recorder.failures.isEmpty(); }, 6000));
    const qint64 took = recorder.clock.elapsed();
    std::cout << "[ measured ] silent server given up after " << took << " ms" << std::endl;
    EXPECT_GE(took, 1400);
    EXPECT_EQ(recorder.failures,
              QStringList(QStringLiteral("Cannot open %1: no answer within 1.5 s").arg(url)));
    EXPECT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Stopped; }));
    EXPECT_GE(server.connections, 1);

    control->LoadSource(url);
    ASSERT_TRUE(waitUntil([&] { return server.connections >= 2; }));
    QElapsedTimer teardown;
    teardown.start();
    control.reset();
    std::cout << "[ measured ] control destroyed during a stalled open in " << teardown.elapsed()
              << " ms" << std::endl;
    EXPECT_LT(teardown.elapsed(), 1000);
}

// A live stream (network, not seekable, no size) has no length: 0, also in the reports.
TEST(Network, LiveStreamHasNoLength) {
    QFile file(clip(QStringLiteral("live.ts")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    RawServer server(file.readAll());
    auto control = makeControl();
    Recorder recorder(*control);
    control->LoadSource(server.url("live.ts"));
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return recorder.positions.size() >= 3; }))
        << recorder.failures.join(u'|').toStdString();
    EXPECT_EQ(control->QueryLength(), 0);
    for (const auto& report : recorder.positions) EXPECT_EQ(report.length, 0);
    EXPECT_GT(recorder.positions.back().position, 0);
    EXPECT_EQ(control->QueryImageWidth(), 320);
}

#include "MediaTestSupport.h"
#include "ui/UserLanguage.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

#include <iostream>
#include <vector>

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

// An internet radio as such servers send it: the sound in blocks of MetaInterval bytes, each
// followed by the stream's metadata (the title where a song starts, nothing elsewhere), sent
// to every listener as the test asks.
class RadioServer {
public:
    static constexpr int MetaInterval = 8192;

    explicit RadioServer(QByteArray sound) : m_sound(std::move(sound)) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/radio").arg(port()); }
    int port() const { return m_server.serverPort(); }
    bool listening() const { return !m_listeners.empty(); }
    // A song of `blocks` blocks of sound, its title told with the first.
    void sendSong(const QByteArray& title, int blocks) {
        for (int i = 0; i < blocks; ++i) {
            QByteArray block = m_sound.mid(m_sent % m_sound.size(), MetaInterval);
            m_sent += block.size();
            QByteArray meta = i == 0 ? "StreamTitle='" + title + "';" : QByteArray();
            meta.append((16 - meta.size() % 16) % 16, '\0');
            block.append(char(meta.size() / 16)).append(meta);
            for (QTcpSocket* socket : m_listeners) socket->write(block);
        }
    }

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QByteArray request = socket->readAll();
                if (!request.contains("\r\n\r\n") || !request.toLower().contains("icy-metadata: 1"))
                    return;
                socket->write("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n"
                              "icy-name: Korvel test radio\r\nicy-metaint: " +
                              QByteArray::number(MetaInterval) + "\r\n\r\n");
                m_listeners.push_back(socket);
            });
        }
    }

    QTcpServer m_server;
    QByteArray m_sound;
    qsizetype m_sent = 0;
    std::vector<QTcpSocket*> m_listeners;
};

} // namespace

// Fault: a radio stream showed the first song's title (or the station's address) for as long
// as it played: each new title the stream tells is the clip's title, told once.
TEST(Network, ARadioStreamTellsEachNewTitle) {
    QFile sound(clip(QStringLiteral("radio.mp3")));
    ASSERT_TRUE(sound.open(QIODevice::ReadOnly));
    RadioServer radio(sound.readAll());
    auto control = makeControl();
    Recorder recorder(*control);
    QStringList told;
    control->OnTitleChange = [&] { told << control->QueryTitle(); };
    control->LoadSource(radio.url());
    control->StartPlay();
    ASSERT_TRUE(waitUntil([&] { return radio.listening(); }));
    // Four seconds of the first song: enough to start on, and the second comes while it plays.
    radio.sendSong("First song", 8);
    ASSERT_TRUE(waitUntil([&] { return recorder.lastState() == MediaControl::Playing; }, 10000))
        << recorder.failures.join(u'|').toStdString();
    EXPECT_EQ(control->QueryTitle(), u"First song");
    radio.sendSong("Second song", 16);
    EXPECT_TRUE(waitUntil([&] { return !told.isEmpty(); }, 10000));
    EXPECT_EQ(told, QStringList{QStringLiteral("Second song")});
    EXPECT_TRUE(recorder.failures.isEmpty()) << recorder.failures.join(u'|').toStdString();
}

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

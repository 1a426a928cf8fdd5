// The M3U8 lists Korvel writes, read by other players: mpv (scripts/setup installs it) and
// VLC (where it is installed) play every entry of a saved list, each by the very path Korvel
// holds.

#include "../support/ErrorText.h"
#include "ListLocations.h"
#include "base/PathBytes.h"
#include "playlist/LegacyText.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListFile.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvel;
using korvel::test::errorText;
using korvel::test::locations;

namespace {

// A tenth of a second of silence, 8 kHz mono 16-bit PCM, which any player opens at once.
QByteArray silentWave() {
    constexpr quint32 DataBytes = 1600;
    QByteArray wave;
    const auto put32 = [&wave](quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        wave.append(bytes, 4);
    };
    const auto put16 = [&wave](quint16 value) {
        char bytes[2];
        qToLittleEndian(value, bytes);
        wave.append(bytes, 2);
    };
    wave += "RIFF";
    put32(36 + DataBytes);
    wave += "WAVEfmt ";
    put32(16);
    put16(1);     // PCM
    put16(1);     // mono
    put32(8000);  // samples a second
    put32(16000); // bytes a second
    put16(2);     // bytes a sample
    put16(16);    // bits a sample
    wave += "data";
    put32(DataBytes);
    wave += QByteArray(DataBytes, '\0');
    return wave;
}

// Paths as readable texts, every byte but letters, digits and "/-._~" as %XX.
QStringList shown(const QList<QByteArray>& paths) {
    QStringList texts;
    for (const QByteArray& path : paths)
        texts.append(QString::fromLatin1(path.toPercentEncoding("/")));
    return texts;
}

// Writes the clip under a name given as bytes, which need not be UTF-8.
bool writeClip(const QByteArray& path) {
    std::FILE* file = std::fopen(path.constData(), "wb");
    if (!file) return false;
    const QByteArray wave = silentWave();
    const bool written = std::fwrite(wave.constData(), 1, std::size_t(wave.size()), file) ==
                         std::size_t(wave.size());
    // Readable by a player that runs as another user, whatever the umask.
    return std::fclose(file) == 0 && written && ::chmod(path.constData(), 0644) == 0;
}

// The paths mpv plays from the list, in order, as bytes: each is printed between two marks
// once it has opened.
QList<QByteArray> playedByMpv(const QString& mpv, const QString& list) {
    QProcess process;
    process.start(mpv, {"--no-config", "--idle=no", "--vo=null", "--ao=null",
                        "--msg-level=all=no,term-msg=info", "--term-status-msg=",
                        "--term-playing-msg=<korvel-path>${path}</korvel-path>", list});
    EXPECT_TRUE(process.waitForFinished(60000)) << "mpv did not end";
    const QByteArray out = process.readAllStandardOutput();
    QList<QByteArray> paths;
    constexpr QByteArrayView Open = "<korvel-path>", Close = "</korvel-path>";
    for (qsizetype at = out.indexOf(Open); at >= 0; at = out.indexOf(Open, at)) {
        at += Open.size();
        const qsizetype end = out.indexOf(Close, at);
        if (end < 0) break;
        paths.append(out.mid(at, end - at));
        at = end;
    }
    return paths;
}

// The paths VLC opens from the list, in order, as bytes, from its log of each input it
// opened: the list itself first, then its entries as file URIs. VLC does not run as root:
// there it runs as nobody, in a home of its own.
QList<QByteArray> playedByVlc(const QString& vlc, const QString& list, const QString& home) {
    QProcess process;
    QStringList arguments = {
        "-I",  "dummy", "--play-and-exit", "--aout=dummy", "--file-caching=0", "--no-video",
        "-vv", list,    "vlc://quit"};
    QString program = vlc;
    if (::geteuid() == 0) {
        arguments =
            QStringList({"--reuid=65534", "--regid=65534", "--clear-groups", vlc}) + arguments;
        program = QStringLiteral("setpriv");
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "VLC did not end: it plays something else than the list's entries";
    }
    QList<QByteArray> paths;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        constexpr QByteArrayView Open = "main input debug: `file://",
                                 Opened = "' successfully opened";
        const qsizetype at = line.indexOf(Open);
        if (at < 0 || !line.endsWith(Opened)) continue;
        const qsizetype start = at + Open.size();
        paths.append(
            QByteArray::fromPercentEncoding(line.mid(start, line.size() - Opened.size() - start)));
    }
    if (!paths.isEmpty()) paths.removeFirst(); // the list
    return paths;
}

// Clips under names other players misread on a plain line, and the list Korvel saves of them.
class M3u8OtherPlayers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Readable by a player that runs as another user.
        ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) |
                                                            QFile::ReadOther | QFile::ExeOther));
        const QByteArray folder = QFile::encodeName(m_dir.path()) + '/';
        const QByteArray names[] = {
            "plain.wav",
            "#one.wav",
            "q?x.wav",
            "caf\xE9.wav",
            "trail .wav ",
            "a#b.wav",
            "100%.wav",
            "%23kept.wav",
            "new\nline.wav",
            "tab\t.wav",
            " lead.wav",
            "back\\s.wav",
            "\xE6\x97\xA5\xE6\x9C\xAC \xE8\xAA\x9E.wav",
        };
        for (const QByteArray& name : names) {
            ASSERT_TRUE(writeClip(folder + name)) << name.toStdString();
            m_list.AddEntry(PathBytes::toText(folder + name));
            m_paths.append(folder + name);
        }
        m_saved = m_dir.filePath(QStringLiteral("list.m3u8"));
        ASSERT_EQ(errorText([&] { RamFile::SaveRamFile(m_saved, m_list); }), "");
        ASSERT_TRUE(QFile::setPermissions(m_saved, QFile::permissions(m_saved) | QFile::ReadOther));
    }

    QTemporaryDir m_dir;
    PlayListModel m_list;
    QList<QByteArray> m_paths; // each entry's path, as bytes
    QString m_saved;
};

} // namespace

// Fault: names with "#" or "?", a blank at their end, a line break or bytes that are not
// UTF-8 written on plain lines, which mpv cuts or other players misread or drop, or a list
// that is no UTF-8 text; or a name written in a form Korvel does not read back as it was.
TEST_F(M3u8OtherPlayers, MpvAndKorvelReadEveryEntryAsKorvelHoldsIt) {
    QFile file(m_saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(LegacyText::isUtf8(file.readAll())) << "the list is UTF-8 text";

    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    ASSERT_FALSE(mpv.isEmpty()) << "mpv is not installed (scripts/setup installs it)";
    EXPECT_EQ(shown(playedByMpv(mpv, m_saved)), shown(m_paths));

    PlayListModel back;
    ListCapacity capacity(back);
    ListFile::Load(m_saved, DroppedFiles::Kind::M3u8List, capacity);
    EXPECT_EQ(locations(back), locations(m_list));
}

// Fault: VLC takes a plain "#" for a fragment (and plays the whole folder), a "?" for a
// query (and opens nothing), and drops a name that is not UTF-8.
TEST_F(M3u8OtherPlayers, VlcPlaysEveryEntryAsKorvelHoldsIt) {
    const QString vlc = QStandardPaths::findExecutable(QStringLiteral("cvlc"));
    if (vlc.isEmpty()) GTEST_SKIP() << "VLC is not installed";
    const QString home = m_dir.filePath(QStringLiteral("vlc-home"));
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_TRUE(QFile::setPermissions(home, QFileDevice::Permissions(0x7777)));
    EXPECT_EQ(shown(playedByVlc(vlc, m_saved, home)), shown(m_paths));
}

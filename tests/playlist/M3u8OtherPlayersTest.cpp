// The M3U8 lists Korvel writes, read by another player: mpv, as scripts/setup installs it,
// plays every entry of a saved list, each by the very path Korvel holds.

#include "../support/ErrorText.h"
#include "ListLocations.h"
#include "base/PathBytes.h"
#include "playlist/LegacyText.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListFile.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>

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

// Writes the clip under a name given as bytes, which need not be UTF-8.
bool writeClip(const QByteArray& path) {
    std::FILE* file = std::fopen(path.constData(), "wb");
    if (!file) return false;
    const QByteArray wave = silentWave();
    const bool written = std::fwrite(wave.constData(), 1, std::size_t(wave.size()), file) ==
                         std::size_t(wave.size());
    return std::fclose(file) == 0 && written;
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

} // namespace

// Fault: names with "#" or "?", a blank at their end, a line break or bytes that are not
// UTF-8 written on plain lines, which mpv cuts or other players misread or drop, or a list
// that is no UTF-8 text; or a name written in a form Korvel does not read back as it was.
TEST(M3u8OtherPlayers, MpvPlaysEveryEntryAsKorvelHoldsIt) {
    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    ASSERT_FALSE(mpv.isEmpty()) << "mpv is not installed (scripts/setup installs it)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
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
    PlayListModel list;
    for (const QByteArray& name : names) {
        ASSERT_TRUE(writeClip(folder + name)) << name.toStdString();
        list.AddEntry(PathBytes::toText(folder + name));
    }
    const QString saved = dir.filePath(QStringLiteral("list.m3u8"));
    ASSERT_EQ(errorText([&] { RamFile::SaveRamFile(saved, list); }), "");
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(LegacyText::isUtf8(file.readAll())) << "the list is UTF-8 text";

    QList<QByteArray> expected;
    for (const QByteArray& name : names) expected.append(folder + name);
    EXPECT_EQ(playedByMpv(mpv, saved), expected);

    PlayListModel back;
    ListCapacity capacity(back);
    ListFile::Load(saved, DroppedFiles::Kind::M3u8List, capacity);
    EXPECT_EQ(locations(back), locations(list));
}

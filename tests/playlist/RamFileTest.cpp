#include "playlist/RamFile.h"
#include "../support/ErrorText.h"
#include "ListLocations.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "playlist/PlayListModel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <langinfo.h>
#include <sys/resource.h>

#include <csignal>
#include <functional>

using namespace korvel;
using korvel::test::errorText;
using korvel::test::locations;

namespace {

using Col = PlayListModel::Column;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

// Fault: LF-only lists read as one location, blank lines or indents taken as locations,
// trailing blanks cut, reading on past Ctrl-Z, or a last line without a line end lost.
TEST(RamFile, LinesOfAList) {
    const struct {
        const char* text;
        QStringList locations;
    } cases[] = {
        {"a.avi\r\nb.avi\r\n", {"a.avi", "b.avi"}},
        {"a.avi\nb.avi\n", {"a.avi", "b.avi"}},
        {"a.avi\rb.avi", {"a.avi", "b.avi"}},
        {"a\r\nb\nc\rd\r\r\ne", {"a", "b", "c", "d", "e"}},
        {"a\r\n\r\n  \t b.rm\r\n\n", {"a", "b.rm"}},
        {"a.avi  \r\nb\t\r\n", {"a.avi  ", "b\t"}},
        {"a b\tc", {"a b\tc"}},
        {"a\r\nb\x1A"
         "c\r\nd",
         {"a", "b"}},
        {"a\r\n\x1A\r\nb", {"a"}},
        {"\x01\x1F \r\n", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RamFile::ParseRam(QString::fromLatin1(c.text)), c.locations) << c.text;
    }
}

// Fault: a list that is not UTF-8 losing characters, a byte-order mark made part of the
// first location, or UTF-8 text decoded as 8-bit.
TEST(RamFile, DecodesUtf8ElseTheLocalesCodePage) {
    const QByteArray codeset = QByteArray(nl_langinfo(CODESET)).toUpper();
    if (codeset != "UTF-8" && codeset != "ANSI_X3.4-1968") {
        GTEST_SKIP() << "the C library's locale names an 8-bit encoding: " << codeset.data();
    }
    const QString japanese = QStringLiteral("/動画/夏.avi");
    const struct {
        QByteArray bytes;
        QLocale locale;
        QString text;
    } cases[] = {
        {japanese.toUtf8(), QLocale(QLocale::English), japanese},
        {"\xEF\xBB\xBF/a.avi", QLocale(QLocale::English), "/a.avi"},
        {"/caf\xE9.avi", QLocale(QLocale::French), QStringLiteral("/café.avi")},
        {"/\x93\xAE\x89\xE6/\x89\xC4.avi", QLocale(QLocale::Japanese), japanese},
        {"/\xA0z.avi", QLocale(QLocale::Japanese), QStringLiteral("/\u00A0z.avi")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RamFile::DecodeRamBytes(c.bytes, c.locale), c.text) << c.bytes.toHex().data();
    }
}

// Fault: extra columns or LF-only line ends written, an empty location dropped instead of
// an empty line, or text written in another encoding than the one read first.
TEST(RamFile, FormatWritesOnlyLocationsWithCrLf) {
    PlayListModel list;
    list.AddEntry(QStringLiteral("/clips/夏.avi"));
    list.AddEntry({});
    list.AddEntry(QStringLiteral("http://host/a.rm"));
    list.setCell(Col::StartColumn, 1, "00:00:05");
    list.setCell(Col::PlayColumn, 3, PlayListModel::PlayOff);
    EXPECT_EQ(RamFile::FormatRam(list),
              QByteArray("/clips/\xE5\xA4\x8F.avi\r\n\r\nhttp://host/a.rm\r\n"));
    EXPECT_EQ(RamFile::FormatRam(PlayListModel()), QByteArray());
}

// Fault: a name that is not UTF-8 saved as "?" and one holding a line feed as two lines,
// with success reported; the list then loaded entries that point nowhere. Names keep their
// bytes both ways; a location no line can hold is refused by name and the rest written.
TEST(RamFile, NamesKeepTheirBytesAndUnwritableOnesAreRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("list.ram");
    const QString latin = PathBytes::toText("/clips/caf\xE9.avi");
    PlayListModel list;
    for (const QString& location :
         {latin, QStringLiteral("/clips/two\nlines.avi"), QStringLiteral("/clips/日本.rm"),
          QStringLiteral(" /lead.avi")}) {
        list.AddEntry(location);
    }
    EXPECT_EQ(errorText([&] { RamFile::SaveRamFile(path, list); }),
              "/clips/two\\nlines.avi was not written to the playlist " + path +
                  ": a list line cannot hold it.\n /lead.avi was not written to the playlist " +
                  path + ": a list line cannot hold it");
    EXPECT_EQ(readFile(path), "/clips/caf\xE9.avi\r\n/clips/\xE6\x97\xA5\xE6\x9C\xAC.rm\r\n");
    PlayListModel back;
    RamFile::LoadRamFile(path, back);
    EXPECT_EQ(locations(back), QStringList({latin, QStringLiteral("/clips/日本.rm")}));

    // An older list in the locale's code page: a URL is text; a local name keeps its bytes
    // unless only its decoded name is found.
    const QByteArray codeset = QByteArray(nl_langinfo(CODESET)).toUpper();
    if (codeset != "UTF-8" && codeset != "ANSI_X3.4-1968") {
        GTEST_SKIP() << "the C library's locale names an 8-bit encoding: " << codeset.data();
    }
    const QByteArray legacy = "/m/caf\xE9.avi\r\nhttp://h/caf\xE9.rm\r\n";
    const QLocale french(QLocale::French);
    EXPECT_EQ(RamFile::ReadRamBytes(legacy, french),
              QStringList({PathBytes::toText("/m/caf\xE9.avi"), "http://h/café.rm"}));
    const auto renamed = [](const QString& name) { return name == "/m/café.avi"; };
    EXPECT_EQ(RamFile::ReadRamBytes(legacy, french, renamed),
              QStringList({"/m/café.avi", "http://h/café.rm"}));
}

// Fault: ".ram" appended to a name that has an extension, or a dot in a folder name taken
// for the file's extension.
TEST(RamFile, RamExtensionOnlyWhenTheNameHasNone) {
    const struct {
        const char* name;
        const char* file;
    } cases[] = {
        {"list", "list.ram"},
        {"list.txt", "list.txt"},
        {"/home/me/list.RAM", "/home/me/list.RAM"},
        {"/home/me/my.lists/list", "/home/me/my.lists/list.ram"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RamFile::WithRamExtension(c.name), c.file) << c.name;
}

// Fault: a file that cannot be read passing silently or dropping the entries already there.
TEST(RamFile, UnreadableFileRaisesAndKeepsTheList) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.ram");
    // The message names the file as a person writes it, without "." and "..".
    const struct {
        QString path;
        QString shown;
    } cases[] = {{missing, missing},
                 {dir.path(), dir.path()},
                 {dir.filePath("x/./../missing.ram"), missing}};
    for (const auto& c : cases) {
        PlayListModel list;
        list.AddEntry("/old.avi");
        const QString text = errorText([&] { RamFile::LoadRamFile(c.path, list); });
        EXPECT_TRUE(text.startsWith("Cannot read the playlist " + c.shown + ": "))
            << text.toStdString();
        EXPECT_EQ(locations(list), QStringList({"/old.avi"}));
    }
}

// Fault: a long list stopping at the first entry that does not fit, with nothing said about
// the rest; or the loaded entries left unnumbered.
TEST(RamFile, LoadTakesWhatFits) {
    QTemporaryDir dir;
    const QString path = dir.filePath("ten.ram");
    QByteArray bytes;
    for (int i = 0; i < 10; ++i) bytes += "/new/" + QByteArray::number(i) + ".avi\r\n";
    writeFile(path, bytes);
    PlayListModel list;
    for (int i = 0; i < 250; ++i) list.AddEntry(QStringLiteral("/old/%1.avi").arg(i));
    EXPECT_EQ(errorText([&] { RamFile::LoadRamFile(path, list); }),
              "The playlist holds at most 254 entries: 6 were left out");
    EXPECT_EQ(list.entryCount(), 254);
    EXPECT_EQ(list.cell(Col::LocationColumn, 254), "/new/3.avi");
    EXPECT_EQ(list.cell(Col::NoColumn, 254), "254");
}

// Fault: a save that cannot create its file passing silently, or a failed write leaving the
// old list cut short.
TEST(RamFile, FailedSaveRaisesAndLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    PlayListModel list;
    for (int i = 0; i < 20; ++i) list.AddEntry(QStringLiteral("/clips/%1.avi").arg(i));

    const QString plain = dir.filePath("plain");
    writeFile(plain, "x");
    const QString underFile = plain + "/list.ram";
    EXPECT_TRUE(errorText([&] {
                    RamFile::SaveRamFile(underFile, list);
                }).startsWith("Cannot write the playlist " + underFile + ": "));

    // Root may write anywhere, but not past the file-size limit: the new text is longer than
    // the limit and the old one.
    const QString old = dir.filePath("old.ram");
    writeFile(old, "/old.avi\r\n");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString text = errorText([&] { RamFile::SaveRamFile(old, list); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(text.startsWith("Cannot write the playlist " + old + ": ")) << text.toStdString();
    EXPECT_EQ(readFile(old), "/old.avi\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.ram", "plain"}));

    RamFile::SaveRamFile(old, list);
    EXPECT_EQ(readFile(old), RamFile::FormatRam(list));
}

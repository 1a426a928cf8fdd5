#include "playlist/ListFile.h"
#include "../support/ErrorText.h"
#include "ListLocations.h"
#include "base/HlsList.h"
#include "base/PathBytes.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListLocation.h"
#include "playlist/M3uFile.h"
#include "playlist/PlayListModel.h"
#include "playlist/PlsFile.h"
#include "playlist/RamFile.h"
#include "playlist/XspfFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvel;
using namespace std::chrono_literals;
using korvel::test::errorText;
using korvel::test::locations;

namespace {

using Col = PlayListModel::Column;
using Kind = DroppedFiles::Kind;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace

// Fault: #EXTINF lines or comments taken as clips, CR LF ends left on names, a byte-order
// mark kept on the first name, another kind of list (or a clip) saved under an M3U name read
// as locations, or a name that is not UTF-8 in an M3U8 list changed.
TEST(ListFile, M3uLines) {
    const struct {
        QByteArray bytes;
        bool utf8;
        QStringList locations; // empty with an error
        const char* error;
    } cases[] = {
        {"a.mp3\nb.ogg\n", false, {"a.mp3", "b.ogg"}, ""},
        {"#EXTM3U\r\n#EXTINF:123,Artist - Title\r\nMusic\\a.mp3\r\n#EXTINF:-1,Radio\r\n"
         "http://radio.example/live\r\n",
         false,
         {"Music\\a.mp3", "http://radio.example/live"},
         ""},
        {"\xEF\xBB\xBF#EXTM3U\n#PLAYLIST:mine\n\n  /m/a b.flac  \n", true, {"/m/a b.flac  "}, ""},
        {"#EXTM3U\n/m/caf\xE9.mp3\n", true, {PathBytes::toText("/m/caf\xE9.mp3")}, ""},
        {"#EXTM3U\ncaf\xE9.mp3\n", false, {text("café.mp3")}, ""},
        {"", false, {}, ""},
        {QByteArray("ID3\x04\x00\x00\x00\x00\x00\x00", 10), false, {}, "M3U"},
        {"<?xml version=\"1.0\"?>\n<playlist/>\n", true, {}, "M3U"},
        {"[playlist]\nFile1=a.mp3\n", false, {}, "M3U"},
    };
    for (const auto& c : cases) {
        QStringList read;
        const QString error = errorText(
            [&] { read = M3uFile::ReadM3uBytes(c.bytes, c.utf8, QLocale(QLocale::English)); });
        EXPECT_EQ(read, c.locations) << c.bytes.toStdString();
        EXPECT_EQ(error, *c.error ? "it is not a list in the " + text(c.error) + " format" : "")
            << c.bytes.toStdString();
    }
}

// Fault: entries read in line order instead of by number (File10 before File2), keys in other
// letter cases missed, lines of a later section taken, a NumberOfEntries that lies taken
// for the truth (entries made up or cut) instead of told, or binary bytes (a NUL in a name)
// taken into an entry where an M3U or XSPF list with them is refused.
TEST(ListFile, PlsEntries) {
    const struct {
        QByteArray bytes;
        QStringList locations;
        const char* wrongCount;
        bool isPls;
    } cases[] = {
        {"[playlist]\r\nFile1=/m/a.mp3\r\nTitle1=A\r\nLength1=-1\r\nFile2=http://r.example/"
         "s\r\nNumberOfEntries=2\r\nVersion=2\r\n",
         {"/m/a.mp3", "http://r.example/s"},
         "",
         true},
        {"; made by hand\n[Playlist]\nfile10=j.mp3\nFILE2=b.mp3\nfile02=dup.mp3\nFile1 = "
         "a.mp3 \n[other]\nFile3=c.mp3\n",
         {"a.mp3", "b.mp3", "j.mp3"},
         "",
         true},
        {"[playlist]\nNumberOfEntries=5\nFile1=a.mp3\nFile2=\n", {"a.mp3"}, "5", true},
        {"[playlist]\nNumberOfEntries=lots\nFile1=a.mp3\n", {"a.mp3"}, "lots", true},
        {"[playlist]\nFile1=/m/caf\xE9.mp3\nFile2=caf\xE9.mp3\n",
         {PathBytes::toText("/m/caf\xE9.mp3"), text("café.mp3")},
         "",
         true},
        {"File1=a.mp3\n", {}, "", false},
        {"#EXTM3U\n[playlist]\n", {}, "", false},
        {QByteArrayLiteral("[playlist]\nFile1=/m/a\0.mp3\nFile2=/m/b.mp3\n"), {}, "", false},
        {"[playlist]\nFile1=/m/a.mp3\nTitle1=\x01\n", {}, "", false},
    };
    for (const auto& c : cases) {
        PlsFile::Read read;
        const QString error =
            errorText([&] { read = PlsFile::ReadPlsBytes(c.bytes, QLocale(QLocale::English)); });
        EXPECT_EQ(read.locations, c.locations) << c.bytes.toStdString();
        EXPECT_EQ(read.wrongCount, text(c.wrongCount)) << c.bytes.toStdString();
        EXPECT_EQ(error, c.isPls ? "" : "it is not a list in the PLS format")
            << c.bytes.toStdString();
    }
}

// Fault: other players' extension elements read as tracks, a second location taken as a
// track of its own, entities left undone, xml:base passed over, or a broken or foreign XML
// document taken for an empty list, or one using an entity from outside it read without it.
TEST(ListFile, XspfTracks) {
    const QByteArray vlc = R"(<?xml version="1.0" encoding="UTF-8"?>
<playlist xmlns="http://xspf.org/ns/0/" xmlns:vlc="http://www.videolan.org/vlc/playlist/ns/0/" version="1">
	<title>Playlist</title>
	<trackList>
		<track>
			<location>file:///home/u/My%20Music/caf%C3%A9%20%26%20more.mp3</location>
			<title>Caf&#233; &amp; more</title>
			<duration>215000</duration>
			<extension application="http://www.videolan.org/vlc/playlist/0">
				<vlc:id>0</vlc:id>
				<location>file:///not/a/track.mp3</location>
			</extension>
		</track>
		<track><title>no location</title></track>
		<track><location>http://radio.example/a?x=1&amp;y=2</location><location>http://mirror/</location></track>
		<track><location> clips/b%20c.ogg </location></track>
	</trackList>
	<extension application="http://www.videolan.org/vlc/playlist/0">
		<vlc:item tid="0"/>
	</extension>
</playlist>
)";
    EXPECT_EQ(XspfFile::ReadXspfBytes(vlc),
              QStringList({"file:///home/u/My%20Music/caf%C3%A9%20%26%20more.mp3",
                           "http://radio.example/a?x=1&y=2", "clips/b%20c.ogg"}));
    EXPECT_EQ(XspfFile::ReadXspfBytes("<playlist version='1'><trackList/></playlist>"),
              QStringList());
    // Bases compose from the root down, each resolved against the one around it; a sibling's
    // base is not inherited, and an absolute location needs none.
    const QByteArray based = R"(<playlist xmlns="http://xspf.org/ns/0/" xml:base="one/">
<trackList xml:base=" two/ ">
  <track xml:base="../../three/"><location>a%20b.ogg</location></track>
  <track><location>c.ogg</location></track>
  <track xml:base="../../../"><location>up.ogg</location></track>
  <track xml:base="http://h.example/lists/x.xspf"><location xml:base="../m/">d.ogg</location></track>
  <track xml:base="/abs/"><location>file:///m/e.ogg</location></track>
  <track xml:base="/abs/"><location>./f.ogg</location></track>
  <track xml:base="g/"><location> </location></track>
</trackList></playlist>)";
    EXPECT_EQ(XspfFile::ReadXspfBytes(based),
              QStringList({"three/a%20b.ogg", "one/two/c.ogg", "../up.ogg",
                           "http://h.example/m/d.ogg", "file:///m/e.ogg", "/abs/f.ogg"}));
    const struct {
        QByteArray bytes;
        const char* error;
    } broken[] = {
        {"<playlist><trackList><track><location>a</track></trackList></playlist>",
         "it is not well-formed XML (line 1, column 47)"},
        {"<playlist><trackList/></playlist><more/>",
         "it is not well-formed XML (line 1, column 40)"},
        {"", "it is not well-formed XML: it ends at line 1 before it is complete"},
        {"<playlist>\n<trackList>\n", "it is not well-formed XML: it ends at line 3 before it is "
                                      "complete"},
        {"#EXTM3U\na.mp3\n", "it is not well-formed XML (line 1, column 1)"},
        {"<?xml version='1.0'?><html><body/></html>", "it is not a list in the XSPF format"},
        {"<!DOCTYPE p [<!ENTITY xxe SYSTEM 'file:///etc/passwd'>]>\n<playlist><trackList><track>"
         "<location>http://h.example/&xxe;</location></track></trackList></playlist>",
         "it uses the entity &xxe; from outside the list, which is not read (line 1)"},
        {"<!DOCTYPE p SYSTEM 'p.dtd'>\n<playlist><trackList><track>"
         "<location>http://h.example/&p;</location></track></trackList></playlist>",
         "it uses the entity &p; from outside the list, which is not read (line 2)"},
    };
    for (const auto& c : broken) {
        const QString error = errorText([&] { XspfFile::ReadXspfBytes(c.bytes); });
        EXPECT_EQ(error, text(c.error));
    }
}

// Fault: relative names taken against the current folder instead of the list's, a file URL
// kept as a URL (or one of another computer taken as a local file), escapes undone in a plain
// line, a Windows list's folders not found, or a name's bytes changed.
TEST(ListFile, LocationsAgainstTheListsFolder) {
    const auto exists = [](const QString& path) { return path == "/l/Music/a.mp3"; };
    const struct {
        const char* line;
        const char* location;
    } lines[] = {
        {"a.mp3", "/l/a.mp3"},
        {"../x/./b.mp3", "/x/b.mp3"},
        {"/abs/c%20d.mp3", "/abs/c%20d.mp3"},
        {"Music\\a.mp3", "/l/Music/a.mp3"},
        {"Other\\a.mp3", "/l/Other\\a.mp3"},
        {"C:\\Music\\a.mp3", "C:\\Music\\a.mp3"},
        {"\\\\server\\share\\a.mp3", "\\\\server\\share\\a.mp3"},
        {"FILE://localhost/m/a.mp3", "/m/a.mp3"},
        {"file://other/m/a.mp3", "file://other/m/a.mp3"},
        {"http://radio.example/a%20b", "http://radio.example/a%20b"},
        {"lavfi://testsrc", "lavfi://testsrc"},
        {"av:x.mp3", "/l/av:x.mp3"},
    };
    for (const auto& c : lines) {
        EXPECT_EQ(ListLocation::fromLine(text(c.line), "/l", exists), text(c.location)) << c.line;
    }
    EXPECT_EQ(ListLocation::fromLine("file:///m/caf%E9%20x.mp3", "/l"),
              PathBytes::toText("/m/caf\xE9 x.mp3"));
    const struct {
        const char* uri;
        const char* location;
    } uris[] = {
        {"clips/b%20c.ogg", "/l/clips/b c.ogg"}, {"/m/%C3%A9.mp3", "/m/é.mp3"},
        {"file:///m/a%23b.mp3", "/m/a#b.mp3"},   {"https://h/s", "https://h/s"},
        {"lavfi:testsrc", "lavfi:testsrc"},
    };
    for (const auto& c : uris) {
        EXPECT_EQ(ListLocation::fromUri(text(c.uri), "/l"), text(c.location)) << c.uri;
    }
    EXPECT_EQ(ListLocation::localFile("file:///m/a.m3u"), "/m/a.m3u");
    EXPECT_EQ(ListLocation::localFile("/m/a.m3u"), "/m/a.m3u");
    EXPECT_EQ(ListLocation::localFile("http://h/a.m3u"), "");
    EXPECT_EQ(ListLocation::localFile("a.m3u"), "");
}

namespace {

class ListFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return file.fileName();
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString load(const QString& name) {
        ListCapacity capacity(list);
        const QString error =
            errorText([&] { ListFile::Load(path(name), DroppedFiles::kindOf(name), capacity); });
        list.NumberRows();
        return error;
    }

    PlayListModel list;

private:
    QTemporaryDir m_dir;
};

} // namespace

// Each kind joins the list as a .ram list does: On, Default, 1, the file-name rule, relative
// names against the list's own folder.
TEST_F(ListFiles, EachKindJoinsWithTheDefaults) {
    write("a.m3u", "#EXTM3U\r\n#EXTINF:5,Title\r\none.mp3\r\n");
    write("b.m3u8", "two.ogg\n");
    write("c.pls", "[playlist]\nFile1=sub/three.flac\nNumberOfEntries=1\n");
    write("d.xspf", "<playlist xmlns='http://xspf.org/ns/0/'><trackList><track>"
                    "<location>four%20x.opus</location></track></trackList></playlist>");
    for (const char* name : {"a.m3u", "b.m3u8", "c.pls", "d.xspf"}) EXPECT_EQ(load(name), "");
    EXPECT_EQ(locations(list), QStringList({path("one.mp3"), path("two.ogg"),
                                            path("sub/three.flac"), path("four x.opus")}));
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(list.cell(Col::PlayColumn, row), "On");
        EXPECT_EQ(list.cell(Col::GroupColumn, row), "Default");
        EXPECT_EQ(list.cell(Col::CountColumn, row), "1");
        EXPECT_EQ(list.cell(Col::StartColumn, row), "");
    }
    EXPECT_EQ(list.cell(Col::FileNameColumn, 4), "four x.opus");
}

// Fault: a list too large or of the wrong kind read partly into the list, or a wrong count
// silent; each is told with the list's name, and entries already there stay.
TEST_F(ListFiles, BadListsAreToldAndTakeNothing) {
    list.AddEntry("/kept.avi");
    write("huge.m3u", QByteArray(ListFile::MaxFileBytes + 1, 'a'));
    write("clip.m3u", QByteArray("RIFF\0\0\0\0AVI ", 12));
    write("bad.xspf", "<playlist><trackList>");
    write("lies.pls", "[playlist]\nNumberOfEntries=3\nFile1=/m/a.mp3\n");
    EXPECT_EQ(load("huge.m3u"), "Cannot read the playlist " + path("huge.m3u") +
                                    ": it is larger than 16777216 bytes");
    EXPECT_EQ(load("clip.m3u"), "Cannot read the playlist " + path("clip.m3u") +
                                    ": it is not a list in the M3U format");
    EXPECT_EQ(load("bad.xspf"), "Cannot read the playlist " + path("bad.xspf") +
                                    ": it is not well-formed XML: it ends at line 1 before it is "
                                    "complete");
    EXPECT_EQ(load("missing.pls"),
              "Cannot read the playlist " + path("missing.pls") + ": No such file or directory");
    EXPECT_EQ(locations(list), QStringList({"/kept.avi"}));
    EXPECT_EQ(load("lies.pls"), "The playlist " + path("lies.pls") +
                                    " says it holds 3 entries but holds 1: those were added");
    EXPECT_EQ(locations(list), QStringList({"/kept.avi", "/m/a.mp3"}));
}

// Given on the command line or by a second start: the entries are appended in list order,
// the first new one is named for playing, and the 254-entry limit has its one message.
TEST_F(ListFiles, AppendNamesTheFirstNewEntryAndTakesWhatFits) {
    for (int i = 0; i < 250; ++i) list.AddEntry(QStringLiteral("/old/%1.avi").arg(i));
    QByteArray many;
    for (int i = 0; i < 6; ++i) many += QByteArray::number(9 - i) + ".mp3\n";
    write("many.m3u8", many);
    const ListFile::Appended appended = ListFile::Append(path("many.m3u8"), list);
    EXPECT_EQ(appended.firstRow, 251);
    EXPECT_EQ(appended.problem, "The playlist holds at most 254 entries: 2 were left out");
    EXPECT_EQ(list.cell(Col::LocationColumn, 251), path("9.mp3"));
    EXPECT_EQ(list.cell(Col::LocationColumn, 254), path("6.mp3"));
    EXPECT_EQ(list.cell(Col::NoColumn, 254), "254");

    const ListFile::Appended none = ListFile::Append(path("gone.xspf"), list);
    EXPECT_EQ(none.firstRow, 0);
    EXPECT_EQ(none.problem,
              "Cannot read the playlist " + path("gone.xspf") + ": No such file or directory");
}

// The RAM command's M3U8 list: extended, UTF-8 text, each entry's title and location; a
// local name other players would misread on a plain line is a percent-encoded file URI, a
// location no line can hold is named, and the list reads back as it was, byte for byte.
TEST_F(ListFiles, M3u8IsWrittenAndReadsBack) {
    const QString latin1 = PathBytes::toText("/m/caf\xE9.avi");
    const QStringList kept = {text("/m/日本 語.mp3"), latin1,          "http://h/s?a=1#t",
                              "/m/#1 a?.mp3",         "/m/a\nb%.mp3 ", "/m/100%.mp3"};
    for (const QString& location : kept) list.AddEntry(location);
    list.AddEntry("http://h/a\nb");
    list.AddEntry("#x.mp3");
    const QString saved = path("list.M3U8");
    EXPECT_EQ(errorText([&] { RamFile::SaveRamFile(saved, list); }),
              "http://h/a\\nb was not written to the playlist " + saved +
                  ": a list line cannot hold it.\n#x.mp3 was not written to the playlist " + saved +
                  ": a list line cannot hold it");
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("#EXTM3U\n#EXTINF:-1,日本 語.mp3\n/m/日本 語.mp3\n"
                                         "#EXTINF:-1,caf\xEF\xBF\xBD.avi\nfile:///m/caf%E9.avi\n"
                                         "#EXTINF:-1,s?a=1#t\nhttp://h/s?a=1#t\n"
                                         "#EXTINF:-1,#1 a?.mp3\nfile:///m/%231%20a%3F.mp3\n"
                                         "#EXTINF:-1,a b%.mp3 \nfile:///m/a%0Ab%25.mp3%20\n"
                                         "#EXTINF:-1,100%.mp3\nfile:///m/100%25.mp3\n"));
    PlayListModel back;
    ListCapacity capacity(back);
    ListFile::Load(saved, Kind::M3u8List, capacity);
    EXPECT_EQ(locations(back), kept);
    // Any other name is the .ram list it always was.
    PlayListModel ramList;
    ramList.AddEntry(text("/m/日本 語.mp3"));
    RamFile::SaveRamFile(path("list.txt"), ramList);
    QFile ram(path("list.txt"));
    ASSERT_TRUE(ram.open(QIODevice::ReadOnly));
    EXPECT_EQ(ram.readAll(), text("/m/日本 語.mp3\r\n").toUtf8());
}

namespace {

// Runs `load`; should it still wait on the pipe `fifo` after three seconds, the pipe's
// writing end is opened and closed so that it ends. Returns whether that was needed.
bool neededAWriter(const QString& fifo, const std::function<void()>& load) {
    std::atomic_bool done{false};
    bool freed = false;
    std::thread watch([&] {
        for (int i = 0; i < 150 && !done; ++i) std::this_thread::sleep_for(20ms);
        if (done) return;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        freed = true;
    });
    load();
    done = true;
    watch.join();
    return freed;
}

} // namespace

// Fault: a pipe, or anything else that is not a regular file, standing under a list's name
// makes the reader wait for a writer for ever, and the player with it; it is refused at once.
TEST_F(ListFiles, WhatIsNotARegularFileIsRefusedAtOnce) {
    list.AddEntry("/kept.avi");
    for (const char* name : {"pipe.m3u", "pipe.m3u8", "pipe.ram", "pipe.pls", "pipe.xspf"}) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
        QString error;
        EXPECT_FALSE(neededAWriter(path(name), [&] { error = load(name); })) << name;
        EXPECT_EQ(error, "Cannot read the playlist " + path(name) + ": it is not a regular file");
    }
    ASSERT_TRUE(QDir(path("")).mkdir("folder.m3u"));
    EXPECT_EQ(load("folder.m3u"),
              "Cannot read the playlist " + path("folder.m3u") + ": it is not a regular file");
    EXPECT_EQ(locations(list), QStringList({"/kept.avi"}));
}

// Fault: a stream list (HLS) taken as a list of clips, its segments becoming entries; it is
// one entry, the list itself, also when another list names it.
TEST_F(ListFiles, StreamListsAreOneEntry) {
    const struct {
        QByteArray bytes;
        bool isHls;
    } texts[] = {
        {"#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1.0,\nseg0.ts\n#EXT-X-ENDLIST\n", true},
        {"\xEF\xBB\xBF#EXT-X-VERSION:3\r\n", true},
        {"#EXTM3U\r\n  \t#EXT-X-STREAM-INF:BANDWIDTH=1\r\nlow/index.m3u8\r\n", true},
        {"#EXTM3U\n#EXTINF:5,#EXT-X-Title\na.mp3\n", false},
        {"#EXTM3U\n#EXT-X\n#ext-x-endlist\nb.mp3 #EXT-X-ENDLIST\n", false},
    };
    for (const auto& c : texts) EXPECT_EQ(HlsList::isHls(c.bytes), c.isHls) << c.bytes.data();

    write("index.m3u8", texts[0].bytes);
    write("one.m3u", "#EXTM3U\n#EXT-X-TARGETDURATION:3\n#EXTINF:3,\nclip.ts\n#EXT-X-ENDLIST\n");
    write("outer.m3u", "a.mp3\nindex.m3u8\n");
    for (const char* name : {"index.m3u8", "one.m3u", "outer.m3u"}) EXPECT_EQ(load(name), "");
    EXPECT_EQ(locations(list), QStringList({path("index.m3u8"), path("one.m3u"), path("a.mp3"),
                                            path("index.m3u8")}));
    EXPECT_TRUE(HlsList::isHlsFile(path("one.m3u"), ListFile::MaxFileBytes));
    EXPECT_FALSE(HlsList::isHlsFile(path("outer.m3u"), ListFile::MaxFileBytes));
    write("tagged.txt", texts[0].bytes);
    EXPECT_FALSE(HlsList::isHlsFile(path("tagged.txt"), ListFile::MaxFileBytes));
}

// Fault: a local list named by a list added as an entry the engine cannot play; it stands for
// its entries, a list that names itself (or its own outer list) is left out and told, lists
// nest only so deep, and a list inside that cannot be read is told without losing the rest.
TEST_F(ListFiles, ListsInsideListsStandForTheirEntries) {
    ASSERT_TRUE(QDir(path("")).mkdir("sub"));
    write("outer.m3u",
          "a.mp3\ninner.m3u8\nsub/in.pls\nouter.m3u\nhttp://h/remote.m3u\nb.mp3\nouter.m3u\n");
    write("inner.m3u8", "c.mp3\nfile://" + path("e.ram").toUtf8() + "\n");
    write("e.ram", path("e.mp3").toUtf8() + "\r\n");
    write("sub/in.pls", "[playlist]\nFile1=d.mp3\nFile2=../gone.xspf\nFile3=../outer.m3u\n");
    EXPECT_EQ(load("outer.m3u"),
              "Cannot read the playlist " + path("gone.xspf") + ": No such file or directory.\n" +
                  "The playlist " + path("sub/in.pls") + " names " + path("outer.m3u") +
                  ", a list it is itself part of: that entry was left out.\nThe playlist " +
                  path("outer.m3u") + " names " + path("outer.m3u") +
                  ", a list it is itself part of: that entry was left out");
    EXPECT_EQ(locations(list),
              QStringList({path("a.mp3"), path("c.mp3"), path("e.mp3"), path("sub/d.mp3"),
                           "http://h/remote.m3u", path("b.mp3")}));

    // A chain of ten lists, each with a clip and the next list.
    for (int i = 0; i < 10; ++i) {
        write(QStringLiteral("l%1.m3u").arg(i),
              QStringLiteral("x%1.mp3\nl%2.m3u\n").arg(i).arg(i + 1).toUtf8());
    }
    PlayListModel deep;
    ListCapacity capacity(deep);
    EXPECT_EQ(errorText([&] { ListFile::Load(path("l0.m3u"), Kind::M3uList, capacity); }),
              "The playlist " + path("l8.m3u") + " stands more than 8 lists deep: it was left out");
    EXPECT_EQ(deep.entryCount(), 8);
    EXPECT_EQ(deep.cell(Col::LocationColumn, 8), path("x7.mp3"));

    // Lists that name each other many times over are read only so often.
    write("none.m3u", "n.mp3\n");
    write("many.m3u", QByteArray("none.m3u\n").repeated(300) + "z.mp3\n");
    PlayListModel wide;
    ListCapacity room(wide);
    EXPECT_EQ(errorText([&] { ListFile::Load(path("many.m3u"), Kind::M3uList, room); }),
              "The playlist " + path("many.m3u") +
                  " takes in at most 254 lists inside it: the rest were left out");
    EXPECT_EQ(wide.entryCount(), 254);
    EXPECT_EQ(room.leftOut(), 1);
}

// Fault: a message naming the list as it was reached ("/m/x/../a.pls") instead of its clean name.
TEST_F(ListFiles, MessagesNameTheCleanPath) {
    ASSERT_TRUE(QDir(path("")).mkdir("x"));
    write("lies.pls", "[playlist]\nNumberOfEntries=2\nFile1=/m/a.mp3\n");
    EXPECT_EQ(load("x/../lies.pls"), "The playlist " + path("lies.pls") +
                                         " says it holds 2 entries but holds 1: those were added");
    EXPECT_EQ(ListFile::Append(path("x/./../gone.xspf"), list).problem,
              "Cannot read the playlist " + path("gone.xspf") + ": No such file or directory");
}

#include "SettingsTestSupport.h"

#include "base/IniFile.h"
#include "playlist/LastFolder.h"
#include "playlist/PlayListModel.h"
#include "playlist/SettingsFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <langinfo.h>

using namespace korvel;
using korvel::test::entry;
using korvel::test::errorText;

namespace {

using ListPart = SettingsFile::ListPart;

SettingsData threeEntries() {
    SettingsData data;
    data.rows = {entry(QStringLiteral("/clips/a.avi")),
                 {QStringLiteral("Off"), QStringLiteral("Talk"), QStringLiteral("3"),
                  QStringLiteral("b.rm"), QStringLiteral("00:00:10"), QStringLiteral("00:01:00"),
                  QStringLiteral("http://host/b.rm")},
                 SettingsRow{}};
    return data;
}

const QByteArray ThreeEntriesText =
    "[Korvel setting]\r\n"
    "ImageWindowPosX=5\r\n"
    "ImageWindowPosY=5\r\n"
    "PlayListPosX=325\r\n"
    "PlayListPosY=5\r\n"
    "PlayerPosX=40\r\n"
    "PlayerPosY=300\r\n"
    "WindowFix=0\r\n"
    "ClientWidth=320\r\n"
    "ClientHeight=240\r\n"
    "ScrSize=0\r\n"
    "Volume=0\r\n"
    "ListRow=5\r\n"
    "RowData1=On|Default|1|a.avi|||/clips/a.avi\r\n"
    "RowData2=Off|Talk|3|b.rm|00:00:10|00:01:00|http://host/b.rm\r\n"
    "RowData3=||||||\r\n";

QByteArray settingsText(const QByteArray& lines) { return "[Korvel setting]\n" + lines; }

} // namespace

// Fault: a new file whose keys, order or row layout differ from what earlier installs wrote
// and read (ListRow counts the header and end row; empty marks give adjacent "|").
TEST(SettingsFormat, WritesTheKnownLayoutAndReadsItBack) {
    EXPECT_EQ(SettingsFile::compose({}, threeEntries()), ThreeEntriesText);
    EXPECT_EQ(SettingsFile::parse(ThreeEntriesText), threeEntries());
    EXPECT_EQ(SettingsFile::parse({}), SettingsData{});
}

// Fault: the chosen skin is not kept, or a file that never named one gains a line; a skin
// left for the built-in one must be written as such, not kept from before.
TEST(SettingsFormat, SkinIsKeptAfterTheVolumeAndOnlyOnceChosen) {
    SettingsData night = threeEntries();
    night.skin = QStringLiteral("Night Blue");
    const QByteArray text = SettingsFile::compose(ThreeEntriesText, night);
    EXPECT_TRUE(text.contains("\r\nVolume=0\r\nListRow=5\r\n")) << text.constData();
    EXPECT_TRUE(text.endsWith("\r\nSkin=Night Blue\r\n")) << text.constData();
    EXPECT_EQ(SettingsFile::parse(text).skin, night.skin);
    const QByteArray builtIn = SettingsFile::compose(text, threeEntries());
    EXPECT_TRUE(builtIn.endsWith("\r\nSkin=\r\n")) << builtIn.constData();
    EXPECT_EQ(SettingsFile::parse(builtIn), threeEntries());
}

// Fault: a shorter list removes or reloads the rows of an earlier, longer one.
TEST(SettingsFormat, ShrinkingKeepsOldRowsInTheFileButLoadsOnlyTheList) {
    SettingsData one = threeEntries();
    one.rows.resize(1);
    const QByteArray text = SettingsFile::compose(ThreeEntriesText, one);
    EXPECT_TRUE(text.contains("\r\nListRow=3\r\n"));
    EXPECT_TRUE(text.contains("\r\nRowData2=Off|Talk|3|"));
    EXPECT_TRUE(text.endsWith("\r\nRowData3=||||||\r\n"));
    EXPECT_EQ(SettingsFile::parse(text), one);
}

// Fault: a save drops lines that are not the program's own (comments, other sections,
// unknown keys) or moves the ones it changes.
TEST(SettingsFormat, SaveChangesOnlyItsOwnKeys) {
    const QByteArray before = "; kept\n[Other]\nListRow=99\n\n[korvel SETTING]\n"
                              "Custom=x\nlistrow=4\nRowData1=a\nRowData9=later\n\n[Tail]\nk=v\n";
    SettingsData data;
    data.rows = {entry(QStringLiteral("/n.avi"))};
    const QByteArray after = SettingsFile::compose(before, data);
    EXPECT_TRUE(after.startsWith("; kept\n[Other]\nListRow=99\n\n[korvel SETTING]\n"
                                 "Custom=x\nListRow=3\nRowData1=On|Default|1|n.avi|||/n.avi\n"
                                 "RowData9=later\nImageWindowPosX=5\n"))
        << after.constData();
    EXPECT_TRUE(after.endsWith("Volume=0\n\n[Tail]\nk=v\n")) << after.constData();
}

// Fault: after an unreadable start the exit save writes an empty list over the stored one.
TEST(SettingsFormat, KeepStoredLeavesTheListLinesAlone) {
    SettingsData moved;
    moved.playerPos = {-1200, -3};
    const QByteArray after = SettingsFile::compose(ThreeEntriesText, moved, ListPart::KeepStored);
    const SettingsData read = SettingsFile::parse(after);
    EXPECT_EQ(read.playerPos, QPoint(-1200, -3));
    EXPECT_EQ(read.rows, threeEntries().rows);
    EXPECT_EQ(after.mid(after.indexOf("ListRow")),
              ThreeEntriesText.mid(ThreeEntriesText.indexOf("ListRow")));
}

// Fault: where the window system does not tell where windows stand, the save writes the
// meaningless places the program has over the user's own, or makes up places for a file
// that had none; the other keys are still saved.
TEST(SettingsFormat, KeptPlacesStayAsTheyStood) {
    SettingsData unknown = threeEntries();
    unknown.imageWindowPos = {-3, -30};
    unknown.playListPos = {0, 0};
    unknown.playerPos = {0, 0};
    unknown.volume = 70;
    const QByteArray stored = settingsText("PlayerPosX=900\nPlayerPosY=-20\nPlayListPosX=abc\n");
    const QByteArray after = SettingsFile::compose(stored, unknown, ListPart::Write,
                                                   SettingsFile::PlacePart::KeepStored);
    EXPECT_TRUE(after.startsWith(stored)) << after.constData();
    const SettingsData read = SettingsFile::parse(after);
    EXPECT_EQ(read.playerPos, QPoint(900, -20));
    EXPECT_EQ(read.imageWindowPos, SettingsData{}.imageWindowPos);
    EXPECT_EQ(read.volume, 70);
    EXPECT_EQ(read.rows, unknown.rows);
    EXPECT_FALSE(
        SettingsFile::compose({}, unknown, ListPart::Write, SettingsFile::PlacePart::KeepStored)
            .contains("Pos"));
}

// Fault: positions, the fixed size or the sliders do not come back exactly as saved.
TEST(SettingsFormat, WindowPlacesRoundTripToThePixel) {
    SettingsData data;
    data.imageWindowPos = {-1920, -1};
    data.playListPos = {0, 2159};
    data.playerPos = {3839, -40};
    data.windowFix = true;
    data.clientSize = {400, 300};
    data.scrSize = 75;
    data.volume = 33;
    data.openFolder = QStringLiteral("/home/u/Films ünd Clips");
    EXPECT_EQ(SettingsFile::parse(SettingsFile::compose({}, data)), data);
}

// Fault: the dialogs forget their folder, open in one that is gone, or take a folder whose
// line break would cut the settings line in two.
TEST(SettingsFormat, TheDialogsFolderIsKeptWhileItStands) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    LastFolder last;
    EXPECT_EQ(last.folder(), QDir::homePath());
    EXPECT_EQ(last.folder(dir.path()), dir.path());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("a")));
    last.remember(dir.filePath(QStringLiteral("a/clip.mp4")));
    EXPECT_EQ(last.folder(), dir.filePath(QStringLiteral("a")));
    last.remember(dir.filePath(QStringLiteral("b\nc/clip.mp4")));
    EXPECT_EQ(last.stored(), dir.filePath(QStringLiteral("a")));
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("a"))).removeRecursively());
    EXPECT_EQ(last.folder(dir.path()), dir.path());
    EXPECT_EQ(last.stored(), dir.filePath(QStringLiteral("a")));
}

// Fault: a damaged number costs the stored list or makes the reader give up; damaged
// positions and sizes take their defaults, a WindowFix other than 1 is off. A ListRow above
// 256 takes the rows that stand up to it.
TEST(SettingsFormat, DamagedNumbersNeverLoseTheList) {
    const QByteArray rows = "RowData1=On|A|1|a|||/a\nRowData2=On|B|1|b|||/b\n"
                            "RowData3=On|C|1|c|||/c\nRowData5=On|E|1|e|||/e\n";
    struct Case {
        const char* lines;
        std::size_t entries;
    };
    const Case cases[] = {
        {"ListRow=abc\n", 3},
        {"ListRow=1\n", 3},
        {"ListRow=257\n", 4},
        {"ListRow=\n", 3},
        {"", 3},
        {"ListRow=$4\n", 2},
        {"ListRow=2\n", 0},
        {"ListRow=7\n", 5},
        {"ListRow= 0x5 \n", 3},
    };
    for (const Case& c : cases) {
        const SettingsData read = SettingsFile::parse(settingsText(c.lines + rows));
        ASSERT_EQ(read.rows.size(), c.entries) << c.lines;
        if (c.entries > 0) {
            EXPECT_EQ(read.rows[0][1], "A") << c.lines;
        }
    }
    // Within a valid ListRow a missing key is a blank entry.
    EXPECT_EQ(SettingsFile::parse(settingsText("ListRow=7\n" + rows)).rows[3], SettingsRow{});

    const SettingsData bad = SettingsFile::parse(
        settingsText("ImageWindowPosX=left\nPlayerPosY=12px\nWindowFix=257\nClientWidth=0\n"
                     "ClientHeight=-5\nListRow=4\n" +
                     rows));
    EXPECT_EQ(bad.imageWindowPos, QPoint(5, 5));
    EXPECT_EQ(bad.playerPos, QPoint(40, 300));
    EXPECT_FALSE(bad.windowFix);
    EXPECT_EQ(bad.clientSize, QSize(320, 240));
    EXPECT_EQ(bad.rows.size(), 2u);
    EXPECT_FALSE(SettingsFile::parse(settingsText("WindowFix=on\n")).windowFix);
}

// Fault: a ListRow that is gone or damaged, with a long run of rows, loads past the list's
// capacity.
TEST(SettingsFormat, RecoveredListStopsAt254Entries) {
    QByteArray lines;
    for (int n = 1; n <= 300; ++n) lines += "RowData" + QByteArray::number(n) + "=On|g\n";
    EXPECT_EQ(SettingsFile::parse(settingsText(lines)).rows.size(), 254u);
    EXPECT_EQ(SettingsFile::parse(settingsText("ListRow=x\n" + lines)).rows.size(), 254u);
}

// Fault: a row in a legacy code page decoded as another one (Windows-1252 as Shift-JIS) and
// saved garbled for good. Rows are decoded as in the locale's code page, and a row the user
// did not change is written back byte for byte; a changed one in UTF-8.
TEST(SettingsFormat, LegacyRowsAreReadInTheLocalesCodePageAndKeptByteForByte) {
    const QByteArray codeset = QByteArray(nl_langinfo(CODESET)).toUpper();
    if (codeset != "UTF-8" && codeset != "ANSI_X3.4-1968") {
        GTEST_SKIP() << "the C library's locale names an 8-bit encoding: " << codeset.data();
    }
    const struct {
        QLocale locale;
        QByteArray group;
        QByteArray name;
        QString groupText;
        QString nameText;
    } cases[] = {
        {QLocale(QLocale::German), "M\xFCsik", "Caf\xE9.rm", QStringLiteral("Müsik"),
         QStringLiteral("Café.rm")},
        {QLocale(QLocale::Japanese), "\x89\xB9\x8A\x79", "\x96\xE9.rm", QStringLiteral("音楽"),
         QStringLiteral("夜.rm")},
    };
    for (const auto& c : cases) {
        const QByteArray row = "On|" + c.group + "|1|" + c.name + "|||/m/" + c.name;
        const QByteArray text =
            settingsText("ListRow=4\nRowData1=" + row + "\nRowData2=On|x|1|y|||/y\n");
        SettingsData read = SettingsFile::parse(text, c.locale);
        ASSERT_EQ(read.rows.size(), 2u);
        EXPECT_EQ(read.rows[0][1], c.groupText);
        EXPECT_EQ(read.rows[0][6], "/m/" + c.nameText);
        std::swap(read.rows[0], read.rows[1]); // moved, not changed
        const QByteArray saved = SettingsFile::compose(text, read, ListPart::Write,
                                                       SettingsFile::PlacePart::Write, c.locale);
        EXPECT_TRUE(saved.contains("\nRowData2=" + row + "\n")) << saved.toHex().data();
        read.rows[1][2] = QStringLiteral("2");
        const QByteArray changed = SettingsFile::compose(text, read, ListPart::Write,
                                                         SettingsFile::PlacePart::Write, c.locale);
        EXPECT_TRUE(changed.contains("\nRowData2=On|" + c.groupText.toUtf8() + "|2|"))
            << changed.toHex().data();
        // Also a row the list took in from a key past 254 (a ListRow above 256).
        const QByteArray high =
            settingsText("ListRow=400\nRowData1=On|x|1|y|||/y\nRowData300=" + row + "\n");
        const QByteArray resaved =
            SettingsFile::compose(high, SettingsFile::parse(high, c.locale), ListPart::Write,
                                  SettingsFile::PlacePart::Write, c.locale);
        EXPECT_TRUE(resaved.contains("\nRowData2=" + row + "\n")) << resaved.toHex().data();
    }
}

// Fault: loading leaves old entries or numbers behind, or storing misses a column.
TEST(SettingsFormat, ListIsFilledNumberedAndCollected) {
    PlayListModel list;
    for (int i = 0; i < 5; ++i) list.AddEntry(QStringLiteral("/old.avi"));
    const SettingsData data = threeEntries();
    SettingsFile::loadRows(data.rows, list);
    ASSERT_EQ(list.rowCount(), 5);
    EXPECT_EQ(list.cell(PlayListModel::NoColumn, 3), "3");
    EXPECT_EQ(list.cell(PlayListModel::LocationColumn, 2), "http://host/b.rm");
    for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
        EXPECT_EQ(list.cell(column, 4), "") << column;
    }
    EXPECT_EQ(SettingsFile::storedRows(list), data.rows);

    const std::vector<SettingsRow> tooMany(255);
    EXPECT_FALSE(errorText([&] { SettingsFile::loadRows(tooMany, list); }).isEmpty());
    EXPECT_EQ(list.rowCount(), 5);
}

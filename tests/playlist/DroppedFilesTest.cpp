#include "playlist/DroppedFiles.h"
#include "../support/ErrorText.h"
#include "base/KorvelError.h"
#include "playlist/ListCapacity.h"
#include "playlist/PlayListModel.h"
#include "playlist/RamFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <functional>

using namespace korvel;
using korvel::test::errorText;

namespace {

using Col = PlayListModel::Column;
using Kind = DroppedFiles::Kind;

QStringList column(const PlayListModel& list, int col) {
    QStringList texts;
    for (int row = 1; row <= list.entryCount(); ++row) texts << list.cell(col, row);
    return texts;
}

// A drop with the window's part recorded: the current row each time it was shown.
class Drop : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English)); }
    void TearDown() override { QLocale::setDefault(m_saved); }

    QString drop(const QStringList& paths) {
        return errorText(
            [&] { DroppedFiles::Drop(list, paths, [this] { shown << list.currentRow(); }); });
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void writeRam(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    PlayListModel list;
    QList<int> shown;

private:
    QLocale m_saved;
    QTemporaryDir m_dir;
};

} // namespace

// Fault: extensions matched with their letter case (".AVI" from a camera ignored), a dot in
// a folder name read as the file's extension, or a format users drop missing from the table.
TEST(DroppedFiles, KindByExtensionWithoutRegardToCase) {
    const struct {
        const char* path;
        Kind kind;
    } cases[] = {
        {"/m/a.avi", Kind::Media},        {"/m/A.AVI", Kind::Media},
        {"/m/a.Mpeg", Kind::Media},       {"/m/list.ram", Kind::RamList},
        {"/m/LIST.RAM", Kind::RamList},   {"/m/a.rmvb", Kind::Other},
        {"/m/notes.txt", Kind::Other},    {"/m/clip.avi.txt", Kind::Other},
        {"/m/dir.avi/clip", Kind::Other}, {"/m/noextension", Kind::Other},
        {"/m/.hidden/ra", Kind::Other},   {"", Kind::Other},
        {"/m/a.M3U", Kind::M3uList},      {"/m/a.m3u8", Kind::M3u8List},
        {"/m/a.pls", Kind::PlsList},      {"/m/a.XSPF", Kind::XspfList},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DroppedFiles::kindOf(QString::fromUtf8(c.path)), c.kind) << c.path;
    }
    for (const char* extension :
         {"avi", "mpg",  "mpeg", "ra",  "rm",  "mp4", "m4v",  "mkv",  "webm", "mov", "wmv", "flv",
          "ts",  "m2ts", "ogv",  "mp3", "m4a", "ogg", "opus", "flac", "wav",  "aac", "wma"}) {
        const QString name = QStringLiteral("/m/clip.") + extension;
        EXPECT_EQ(DroppedFiles::kindOf(name), Kind::Media) << extension;
        EXPECT_EQ(DroppedFiles::kindOf(name.toUpper()), Kind::Media) << extension;
    }
}

// Fault: other files added, the entries left in drop order, the list's earlier entries left
// unsorted, a drop of nothing useful skipping the sort, or row 1 not selected and shown.
TEST_F(Drop, MediaJoinSortedOthersIgnored) {
    list.AddEntry("/z/old.avi");
    list.AddEntry("/b/old.avi");
    list.selectRow(2);
    EXPECT_EQ(drop({"/m/x.rm", "/a/y.avi", "/m/readme.txt"}), "");
    EXPECT_EQ(column(list, Col::LocationColumn),
              QStringList({"/a/y.avi", "/b/old.avi", "/m/x.rm", "/z/old.avi"}));
    EXPECT_EQ(column(list, Col::NoColumn), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(shown, QList<int>({1}));

    list.setCell(Col::LocationColumn, 1, "/zz/moved.avi");
    EXPECT_EQ(drop({"/m/readme.txt"}), "");
    EXPECT_EQ(column(list, Col::LocationColumn).last(), "/zz/moved.avi");
}

// Fault: a playlist file that cannot be read stopping the drop, so that the files after it
// are lost and the list is left unsorted and unnumbered; or its failure not reported.
TEST_F(Drop, UnreadableListDoesNotStopTheRest) {
    writeRam("good.ram", "/r/2.avi\n  /r/1.avi\n");
    const QString missing = path("missing.ram");
    const QString text = drop({missing, "/m/0.avi", path("good.ram")});
    EXPECT_TRUE(text.startsWith("Cannot read the playlist " + missing + ": "))
        << text.toStdString();
    EXPECT_FALSE(text.contains('\n')) << text.toStdString();
    EXPECT_EQ(column(list, Col::LocationColumn), QStringList({"/m/0.avi", "/r/1.avi", "/r/2.avi"}));
    EXPECT_EQ(column(list, Col::NoColumn), QStringList({"1", "2", "3"}));
    EXPECT_EQ(shown, QList<int>({1}));
}

// Fault: a drop onto a nearly full list refused whole or stopped at the first entry that did
// not fit, one message per file left out, or the left-out count lost behind another failure.
TEST_F(Drop, TakesWhatFitsAndSaysSoOnce) {
    for (int i = 0; i < 250; ++i) {
        list.AddEntry(QStringLiteral("/old/%1.avi").arg(i, 3, 10, QChar(u'0')));
    }
    QStringList paths;
    for (int i = 0; i < 10; ++i) paths << QStringLiteral("/new/%1.avi").arg(i);
    EXPECT_EQ(drop(paths), "The playlist holds at most 254 entries: 6 were left out");
    EXPECT_EQ(list.entryCount(), 254);
    EXPECT_EQ(column(list, Col::LocationColumn).mid(0, 4),
              QStringList({"/new/0.avi", "/new/1.avi", "/new/2.avi", "/new/3.avi"}));
    EXPECT_EQ(list.cell(Col::NoColumn, 254), "254");

    EXPECT_EQ(drop({path("missing.ram"), "/new/9.avi"}),
              "Cannot read the playlist " + path("missing.ram") +
                  ": No such file or directory.\n"
                  "The playlist holds at most 254 entries: 1 was left out");

    ListCapacity capacity(list);
    EXPECT_EQ(capacity.admit(std::vector<SettingsRow>(3)), 0);
    EXPECT_EQ(capacity.leftOut(), 3);
}

// Fault: a failure while showing row 1 leaving the rows unnumbered or hiding the other
// failures of the drop.
TEST_F(Drop, FailingShowStillNumbersAndReports) {
    list.AddEntry("/b.avi");
    list.AddEntry("/a.avi");
    list.selectRow(2);
    list.OnClick = [] { throw KorvelError("'x' is not a whole number"); };
    EXPECT_EQ(drop({"/c.avi"}), "'x' is not a whole number");
    EXPECT_EQ(column(list, Col::NoColumn), QStringList({"1", "2", "3"}));
    EXPECT_EQ(list.currentRow(), 1);
}

// Fault: a saved list that does not come back as the same locations: a long or Japanese
// location cut or garbled, trailing blanks lost, or the old flags carried over.
TEST_F(Drop, SavedListComesBackSortedWithDefaults) {
    const QString longOne = "/long/" + QString(300, u'x') + ".avi";
    PlayListModel source;
    for (const QString& location :
         {QString("/m/b.avi  "), QStringLiteral("/動画/夏.mkv"), longOne, QString("/m/A.avi")}) {
        source.AddEntry(location);
    }
    source.setCell(Col::PlayColumn, 1, PlayListModel::PlayOff);
    source.setCell(Col::CountColumn, 1, "9");
    source.setCell(Col::StartColumn, 1, "00:00:05");
    RamFile::SaveRamFile(path("list.ram"), source);

    EXPECT_EQ(drop({path("list.ram")}), "");
    EXPECT_EQ(column(list, Col::LocationColumn),
              QStringList({longOne, "/m/A.avi", "/m/b.avi  ", QStringLiteral("/動画/夏.mkv")}));
    EXPECT_EQ(column(list, Col::PlayColumn), QStringList(4, "On"));
    EXPECT_EQ(column(list, Col::GroupColumn), QStringList(4, "Default"));
    EXPECT_EQ(column(list, Col::CountColumn), QStringList(4, "1"));
    EXPECT_EQ(column(list, Col::StartColumn), QStringList(4, ""));
}

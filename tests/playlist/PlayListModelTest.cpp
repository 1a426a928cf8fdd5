#include "playlist/PlayListModel.h"
#include "../support/ErrorText.h"
#include "base/KorvelError.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace korvel;
using korvel::test::errorText;

namespace {

using Col = PlayListModel::Column;

QStringList rowCells(const PlayListModel& list, int row) {
    QStringList cells;
    for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
        cells.append(list.cell(column, row));
    }
    return cells;
}

const QStringList Blank(PlayListModel::ColumnCount);

void addEntries(PlayListModel& list, int count) {
    for (int i = 0; i < count; ++i) list.AddEntry(QStringLiteral("/clips/%1.avi").arg(i + 1));
}

} // namespace

// A new list must be the header and one blank end row, with the end row current.
TEST(PlayListModel, NewListIsHeaderAndBlankEndRow) {
    PlayListModel list;
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.entryCount(), 0);
    EXPECT_EQ(rowCells(list, 0), QStringList({"No.", "Play", "Group", "Count", "FileName", "Start",
                                              "End", "Path or URL"}));
    EXPECT_EQ(rowCells(list, 1), Blank);
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(list.selectionTop(), 1);
    EXPECT_EQ(list.selectionBottom(), 1);
    list.NumberRows();
    EXPECT_EQ(list.cell(Col::NoColumn, 1), "");
}

// AddEntry must turn the old end row into the entry with its defaults and append a new
// blank end row; numbering must cover the entries and never the end row.
TEST(PlayListModel, AddEntryFillsTheOldEndRow) {
    PlayListModel list;
    list.AddEntry(QStringLiteral("http://host/media/clip.rm"));
    list.AddEntry(QStringLiteral("/home/user/film.avi"));
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(rowCells(list, 1), QStringList({"", "On", "Default", "1", "clip.rm", "", "",
                                              "http://host/media/clip.rm"}));
    EXPECT_EQ(rowCells(list, 2),
              QStringList({"", "On", "Default", "1", "film.avi", "", "", "/home/user/film.avi"}));
    EXPECT_EQ(rowCells(list, 3), Blank);
    list.NumberRows();
    EXPECT_EQ(list.cell(Col::NoColumn, 1), "1");
    EXPECT_EQ(list.cell(Col::NoColumn, 2), "2");
    EXPECT_EQ(list.cell(Col::NoColumn, 3), "");
}

// The 255th entry must be refused with a clear text and leave every row as it was.
TEST(PlayListModel, AdditionBeyondCapacityIsRefused) {
    PlayListModel list;
    addEntries(list, PlayListModel::MaxEntries);
    list.NumberRows();
    ASSERT_EQ(list.rowCount(), 256);
    list.selectRow(100);
    const QStringList last = rowCells(list, 254);
    QSignalSpy cells(&list, &PlayListModel::cellChanged);
    QSignalSpy rows(&list, &PlayListModel::rowCountChanged);

    EXPECT_EQ(errorText([&] { list.AddEntry(QStringLiteral("/clips/one-more.avi")); }),
              "The playlist is full: it holds at most 254 entries");
    EXPECT_EQ(list.rowCount(), 256);
    EXPECT_EQ(rowCells(list, 254), last);
    EXPECT_EQ(rowCells(list, 255), Blank);
    EXPECT_EQ(list.currentRow(), 100);
    EXPECT_EQ(cells.count(), 0);
    EXPECT_EQ(rows.count(), 0);
}

// The file name must come after the last separator, "/" counting as "\" and ":" as one too.
TEST(PlayListModel, FileNameRule) {
    const struct {
        const char* location;
        const char* name;
    } cases[] = {
        {"/home/user/clips/trailer.mpg", "trailer.mpg"},
        {"http://example.com/media/live/stream.rm", "stream.rm"},
        {"rtsp://example.com:554/", ""},
        {"C:\\Movies\\My Clip.avi", "My Clip.avi"},
        {"C:\\Movies\\", ""},
        {"/home/user/clips/", ""},
        {"c:clip.ra", "clip.ra"},
        {"clip.mpeg", "clip.mpeg"},
        {"", ""},
        {"mixed/path\\to:file.rm", "file.rm"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlayListModel::FileName(QString::fromUtf8(c.location)), c.name) << c.location;
    }
}

// Only rows 1..N are entries: the header and the end row must fail the guard.
TEST(PlayListModel, RowGuard) {
    PlayListModel list;
    EXPECT_FALSE(list.isEntry(0));
    EXPECT_FALSE(list.isEntry(1));
    addEntries(list, 2);
    const struct {
        int row;
        bool entry;
    } cases[] = {{-1, false}, {0, false}, {1, true}, {2, true}, {3, false}, {4, false}};
    for (const auto& c : cases) EXPECT_EQ(list.isEntry(c.row), c.entry) << c.row;
}

// selectRow must make the row current, collapse the selection, and notify only when the
// current row really changes.
TEST(PlayListModel, SelectRowNotifiesOnlyOnChange) {
    PlayListModel list;
    addEntries(list, 4);
    QList<int> clicked;
    list.OnClick = [&] { clicked.append(list.currentRow()); };
    list.userSelection(2, 4);

    // Fault: selecting the row that is current already shrank a selected block to it.
    // Row 1 is current: nothing changes and nobody is notified.
    list.selectRow(1);
    EXPECT_EQ(list.selectionTop(), 2);
    EXPECT_EQ(list.selectionBottom(), 4);
    list.selectRow(3);
    list.userSelection(2, 4);
    list.selectRow(3);
    EXPECT_EQ(clicked, QList<int>({3}));
    EXPECT_EQ(list.currentRow(), 3);
    // Selecting the current row again leaves the block the user made.
    EXPECT_EQ(list.selectionTop(), 2);
    EXPECT_EQ(list.selectionBottom(), 4);

    // The end row may be selected; the header and rows past the end may not.
    list.selectRow(5);
    EXPECT_EQ(list.currentRow(), 5);
    for (int row : {0, 6, -1}) {
        EXPECT_EQ(errorText([&] { list.selectRow(row); }),
                  QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(row));
        EXPECT_EQ(list.currentRow(), 5);
    }
    EXPECT_EQ(clicked, QList<int>({3, 5}));
}

// A failing click notification must reach the caller of selectRow after the row moved,
// so the operation that selected it ends there.
TEST(PlayListModel, FailingNotificationReachesTheCaller) {
    PlayListModel list;
    addEntries(list, 2);
    list.OnClick = [] { throw KorvelError(QStringLiteral("'x' は整数ではありません")); };
    EXPECT_EQ(errorText([&] { list.selectRow(2); }), "'x' は整数ではありません");
    EXPECT_EQ(list.currentRow(), 2);
}

// The user's moves notify even on the current row (a click on it); their selection
// reports never do.
TEST(PlayListModel, UserMovesAlwaysNotify) {
    PlayListModel list;
    addEntries(list, 3);
    int clicks = 0;
    list.OnClick = [&] { ++clicks; };
    list.userMove(2);
    list.userMove(2);
    list.userSelection(1, 3);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(list.selectionTop(), 1);
    EXPECT_EQ(list.selectionBottom(), 3);
    // Rows outside the list are no move at all.
    list.userMove(0);
    list.userMove(9);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.currentRow(), 2);
}

// Rows the list gains must be blank in every column, Start and End included, also after
// the list lost rows that held text; the end row must stay blank.
TEST(PlayListModel, ShrinkThenGrowGivesBlankRows) {
    PlayListModel list;
    addEntries(list, 3);
    for (int row = 1; row <= 3; ++row) {
        list.setCell(Col::StartColumn, row, QStringLiteral("00:00:05"));
        list.setCell(Col::EndColumn, row, QStringLiteral("00:01:00"));
    }
    list.setRowCount(3);
    EXPECT_EQ(rowCells(list, 2), Blank);
    list.setRowCount(6);
    for (int row = 2; row < 6; ++row) EXPECT_EQ(rowCells(list, row), Blank) << row;
    list.AddEntry(QStringLiteral("/clips/new.avi"));
    EXPECT_EQ(list.cell(Col::StartColumn, 6), "");
    EXPECT_EQ(list.cell(Col::EndColumn, 6), "");
    EXPECT_EQ(list.cell(Col::NoColumn, 6), "");
    EXPECT_EQ(rowCells(list, 7), Blank);
    EXPECT_EQ(list.cell(Col::StartColumn, 1), "00:00:05");
}

// A change of the row count must leave the current row alone when it still exists, else
// make the last row current, collapse the selection, and never notify.
TEST(PlayListModel, RowCountChangeMovesTheCursorQuietly) {
    PlayListModel list;
    addEntries(list, 5);
    int clicks = 0;
    list.OnClick = [&] { ++clicks; };
    list.selectRow(3);
    list.userSelection(2, 5);
    clicks = 0;

    list.setRowCount(5);
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_EQ(list.selectionTop(), 3);
    EXPECT_EQ(list.selectionBottom(), 3);
    list.setRowCount(3);
    EXPECT_EQ(list.currentRow(), 2);
    list.setRowCount(10);
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(clicks, 0);
}

// Row counts outside 2..256 must be refused without touching the list.
TEST(PlayListModel, RowCountOutsideTheRangeIsRefused) {
    PlayListModel list;
    addEntries(list, 2);
    EXPECT_EQ(errorText([&] { list.setRowCount(257); }),
              "The playlist is full: it holds at most 254 entries");
    EXPECT_EQ(errorText([&] { list.setRowCount(1); }),
              "リストのインデックスが範囲を超えています (1)");
    EXPECT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.cell(Col::LocationColumn, 2), "/clips/2.avi");
    list.setRowCount(256);
    EXPECT_EQ(list.rowCount(), 256);
}

// Reads outside the table are empty; writes there must be refused, not dropped silently.
TEST(PlayListModel, CellsOutsideTheTable) {
    PlayListModel list;
    EXPECT_EQ(list.cell(8, 1), "");
    EXPECT_EQ(list.cell(0, 2), "");
    EXPECT_EQ(list.cell(-1, 0), "");
    EXPECT_EQ(errorText([&] { list.setCell(0, 2, QStringLiteral("x")); }),
              "リストのインデックスが範囲を超えています (2)");
    EXPECT_EQ(errorText([&] { list.setCell(8, 1, QStringLiteral("x")); }),
              "リストのインデックスが範囲を超えています (8)");
    EXPECT_EQ(rowCells(list, 1), Blank);
}

// Views must hear of every change, and only of real ones.
TEST(PlayListModel, SignalsFollowChanges) {
    PlayListModel list;
    QSignalSpy cells(&list, &PlayListModel::cellChanged);
    QSignalSpy rows(&list, &PlayListModel::rowCountChanged);
    QSignalSpy cursor(&list, &PlayListModel::cursorChanged);
    list.AddEntry(QStringLiteral("/a.avi"));
    ASSERT_EQ(rows.count(), 1);
    EXPECT_EQ(rows.at(0), QVariantList({2, 3}));
    // Play, Group, Count, FileName and Path or URL of row 1.
    EXPECT_EQ(cells.count(), 5);
    cells.clear();
    list.setCell(Col::GroupColumn, 1, QStringLiteral("Default"));
    EXPECT_EQ(cells.count(), 0);
    list.setCell(Col::GroupColumn, 1, QStringLiteral("Live"));
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells.at(0), QVariantList({int(Col::GroupColumn), 1}));
    EXPECT_EQ(cursor.count(), 0);
    list.selectRow(2);
    EXPECT_EQ(cursor.count(), 1);
}

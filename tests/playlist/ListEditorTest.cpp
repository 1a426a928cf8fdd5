#include "../support/ErrorText.h"

#include "playlist/ListEditor.h"
#include "playlist/PlayListModel.h"

#include "base/KorvelError.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

// A list of entries named by their locations "a", "b", ...; each row is read back by its
// location, "" for a blank row.
class ListEditorTest : public ::testing::Test {
protected:
    void fill(int entries) {
        for (int i = 0; i < entries; ++i) list.AddEntry(name(i));
        list.NumberRows();
    }
    static QString name(int i) {
        return i < 26 ? QString(QChar(u'a' + i)) : QStringLiteral("e%1").arg(i);
    }
    QStringList locations() const {
        QStringList texts;
        for (int row = 1; row < list.rowCount() - 1; ++row) {
            texts << list.cell(PlayListModel::LocationColumn, row);
        }
        return texts;
    }
    QStringList numbers() const {
        QStringList texts;
        for (int row = 1; row < list.rowCount(); ++row)
            texts << list.cell(PlayListModel::NoColumn, row);
        return texts;
    }
    void select(int top, int bottom) { list.setSelection(top, bottom); }

    PlayListModel list;
    ListEditor editor{list};
};

} // namespace

// Fault: a cut that takes the wrong rows, cuts the end row, leaves gaps in the numbering or
// leaves the end row current while entries remain.
TEST_F(ListEditorTest, CutTakesTheBlockAndRenumbers) {
    fill(5);
    select(2, 3);
    editor.CutRows();
    EXPECT_EQ(locations(), QStringList({"a", "d", "e"}));
    EXPECT_EQ(list.rowCount(), 5);
    EXPECT_EQ(numbers(), QStringList({"1", "2", "3", ""}));
    EXPECT_EQ(editor.RowBufferCount(), 2);
    EXPECT_EQ(editor.bufferRow(1)[PlayListModel::LocationColumn], "c");

    // The end row alone stands for the last entry, and the buffer then holds a blank row.
    select(4, 4);
    editor.CutRows();
    EXPECT_EQ(locations(), QStringList({"a", "d"}));
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(editor.RowBufferCount(), 1);
    EXPECT_EQ(editor.bufferRow(0), ListEditor::Row{});

    // An empty list stays empty; a paste of what the cut copied adds one blank entry.
    PlayListModel empty;
    ListEditor emptyEditor(empty);
    emptyEditor.CutRows();
    EXPECT_EQ(empty.rowCount(), 2);
    emptyEditor.PasteRows();
    EXPECT_EQ(empty.rowCount(), 3);
    EXPECT_EQ(empty.cell(PlayListModel::PlayColumn, 1), "");
    EXPECT_EQ(empty.cell(PlayListModel::NoColumn, 1), "1");
}

// Fault: copy keeping more than 30 rows, or paste putting rows in the wrong place.
TEST_F(ListEditorTest, CopyKeepsThirtyAndPasteInsertsBeforeTheCurrentRow) {
    fill(40);
    select(1, 40);
    editor.CopyRows();
    EXPECT_EQ(editor.RowBufferCount(), 30);
    EXPECT_EQ(list.entryCount(), 40);
    list.selectRow(41); // the end row: appended
    editor.PasteRows();
    EXPECT_EQ(list.entryCount(), 70);
    EXPECT_EQ(list.cell(PlayListModel::LocationColumn, 41), "a");
    EXPECT_EQ(list.cell(PlayListModel::LocationColumn, 70), name(29));

    PlayListModel small;
    ListEditor smallEditor(small);
    for (const char* l : {"x", "y"}) small.AddEntry(l);
    small.setSelection(2, 2);
    smallEditor.CopyRows();
    small.selectRow(1);
    int shown = 0;
    smallEditor.ShowCurrentRow = [&] { ++shown; };
    smallEditor.PasteRows();
    smallEditor.PasteRows(); // the buffer keeps its rows
    QStringList texts;
    for (int row = 1; row <= small.entryCount(); ++row) {
        texts << small.cell(PlayListModel::LocationColumn, row);
    }
    EXPECT_EQ(texts, QStringList({"y", "y", "x", "y"}));
    EXPECT_EQ(shown, 2);
}

// Fault: a pasted row whose Count is no number raised its conversion error before the rows
// were numbered, so the No. column stayed wrong until the next edit.
TEST_F(ListEditorTest, PasteNumbersTheRowsWhateverTheError) {
    fill(2);
    select(3, 3); // the end row: copied as a blank row
    editor.CopyRows();
    list.selectRow(1);
    editor.ShowCurrentRow = [] { throw KorvelError(QStringLiteral("'' is not a number")); };
    EXPECT_EQ(test::errorText([&] { editor.PasteRows(); }), "'' is not a number");
    EXPECT_EQ(locations(), QStringList({"", "a", "b"}));
    EXPECT_EQ(numbers(), QStringList({"1", "2", "3", ""}));
}

// Fault: cells cut short on their way through the buffer or a move, or a list that grows
// past 254 entries; what does not fit is left out with one message, and nothing else changes.
TEST_F(ListEditorTest, NothingIsCutAndTheListNeverOverflows) {
    const QString longLocation = "/clips/" + QString(400, u'x') + ".avi";
    list.AddEntry(longLocation);
    fill(2);
    select(1, 1);
    editor.CopyRows();
    list.selectRow(4);
    editor.PasteRows();
    EXPECT_EQ(list.cell(PlayListModel::LocationColumn, 4), longLocation);
    select(2, 2);
    editor.MoveRowsUp();
    EXPECT_EQ(list.cell(PlayListModel::LocationColumn, 2), longLocation);

    PlayListModel full;
    ListEditor fullEditor(full);
    for (int i = 0; i < 250; ++i) full.AddEntry(QStringLiteral("f%1").arg(i));
    full.setSelection(1, 10);
    fullEditor.CopyRows();
    full.selectRow(251);
    EXPECT_EQ(test::errorText([&] { fullEditor.PasteRows(); }),
              "The playlist holds at most 254 entries: 6 were left out");
    EXPECT_EQ(full.entryCount(), 254);
    EXPECT_EQ(full.cell(PlayListModel::LocationColumn, 254), "f3");
    EXPECT_EQ(test::errorText([&] { fullEditor.PasteRows(); }),
              "The playlist holds at most 254 entries: 10 were left out");
    EXPECT_EQ(full.entryCount(), 254);
}

// Fault: UP or DOWN acting at the edge of the list, moving the block the wrong way, or
// selecting the wrong rows after it.
TEST_F(ListEditorTest, MovesShiftTheBlockOneRow) {
    fill(5);
    select(3, 4);
    editor.MoveRowsUp();
    EXPECT_EQ(locations(), QStringList({"a", "c", "d", "b", "e"}));
    EXPECT_EQ(list.selectionTop(), 2);
    EXPECT_EQ(list.selectionBottom(), 3);
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_EQ(numbers(), QStringList({"1", "2", "3", "4", "5", ""}));

    select(1, 2);
    editor.MoveRowsUp();
    select(4, 5);
    editor.MoveRowsDown();
    select(5, 6); // reaches the end row
    editor.MoveRowsDown();
    EXPECT_EQ(locations(), QStringList({"a", "c", "d", "b", "e"}));

    select(1, 2);
    editor.MoveRowsDown();
    EXPECT_EQ(locations(), QStringList({"d", "a", "c", "b", "e"}));
    select(5, 6);
    editor.MoveRowsUp();
    EXPECT_EQ(locations(), QStringList({"d", "a", "c", "e", "b"}));
    EXPECT_EQ(list.selectionTop(), 4);
    EXPECT_EQ(list.selectionBottom(), 4);
}

// HISTORY: the leading filled slots as fresh entries; an empty history empties the buffer.
TEST_F(ListEditorTest, HistoryPastesTheLeadingSlots) {
    fill(1);
    list.selectRow(2);
    editor.PasteHistory({"/clips/one.rm", "http://host/live/two.rm", "", "/clips/four.rm"});
    ASSERT_EQ(list.entryCount(), 3);
    for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
        const QStringList expected = {"3",      "On", "Default", "1",
                                      "two.rm", "",   "",        "http://host/live/two.rm"};
        EXPECT_EQ(list.cell(column, 3), expected[column]) << column;
    }
    editor.PasteHistory({});
    EXPECT_EQ(editor.RowBufferCount(), 0);
    editor.PasteRows();
    EXPECT_EQ(list.entryCount(), 3);
}

// CLEAR empties the list and keeps the buffer.
TEST_F(ListEditorTest, ClearEmptiesTheListOnly) {
    fill(3);
    select(1, 2);
    editor.CopyRows();
    editor.ClearList();
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.cell(PlayListModel::LocationColumn, 1), "");
    editor.PasteRows();
    EXPECT_EQ(locations(), QStringList({"a", "b"}));
}

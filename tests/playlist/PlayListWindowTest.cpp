#include "PlayListWindowFixture.h"
#include "base/KorvelError.h"
#include "playlist/LastFolder.h"
#include "playlist/PlayCountBox.h"
#include "playlist/PlayList.h"
#include "playlist/PlayListGrid.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace korvel;
using korvel::test::Col;
using korvel::test::ErrorCapture;
using korvel::test::Fields;
using korvel::test::PlayListWindow;

// The window, grid and fields must sit where the skin's frame and boxes are, with the
// caption, titles, widths, row height and font the list was made for.
TEST_F(PlayListWindow, LayoutAndLook) {
    EXPECT_TRUE(errors.texts.isEmpty());
    EXPECT_EQ(form.windowTitle(), "Korvel PlayList");
    EXPECT_EQ(form.size(), QSize(600, 200));
    EXPECT_EQ(grid().geometry(), QRect(10, 25, 580, 140));
    EXPECT_EQ(form.Group()->geometry(), QRect(57, 175, 100, 20));
    EXPECT_EQ(form.PlayCount()->geometry(), QRect(160, 173, 41, 24));
    EXPECT_EQ(form.URL()->geometry(), QRect(205, 176, 225, 20));

    const QStringList titles = {"No.",      "Play",  "Group", "Count",
                                "FileName", "Start", "End",   "Path or URL"};
    const QList<int> widths = {25, 30, 70, 35, 100, 50, 50, 200};
    for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
        EXPECT_EQ(grid().model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
        EXPECT_EQ(grid().columnWidth(column), widths[column]) << column;
    }
    EXPECT_EQ(grid().horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(grid().rowHeight(0), 13);
    // The window itself too: what is made inside it starts in the list's font.
    for (QWidget* widget :
         {static_cast<QWidget*>(&grid()), static_cast<QWidget*>(form.URL()),
          static_cast<QWidget*>(&form), static_cast<QWidget*>(grid().horizontalHeader())}) {
        EXPECT_EQ(widget->font().family(), "Arial");
        EXPECT_EQ(widget->font().pixelSize(), 12);
    }
    EXPECT_EQ(form.PlayCount()->minimum(), 1);
    EXPECT_EQ(form.PlayCount()->maximum(), 99);
    EXPECT_EQ(form.PlayCount()->value(), 1);
    EXPECT_EQ(form.Group()->accessibleName(), "File Group");
    EXPECT_EQ(form.URL()->accessibleName(), "File Location");
    EXPECT_TRUE(form.Group()->toolTip().isEmpty());
}

// The grid must show the list below its header: the end row as its last row, the header
// row as the column titles, and every change of a cell at once.
TEST_F(PlayListWindow, GridShowsTheListBelowItsHeader) {
    const QAbstractItemModel& shown = *grid().model();
    EXPECT_EQ(shown.rowCount(), 1);
    addEntries({"/clips/a.avi", "http://host/b.rm"});
    ASSERT_EQ(shown.rowCount(), 3);
    EXPECT_EQ(shown.index(0, Col::NoColumn).data().toString(), "1");
    EXPECT_EQ(shown.index(1, Col::FileNameColumn).data().toString(), "b.rm");
    EXPECT_EQ(shown.index(2, Col::LocationColumn).data().toString(), "");
    list().setCell(Col::StartColumn, 2, QStringLiteral("00:00:05"));
    EXPECT_EQ(shown.index(1, Col::StartColumn).data().toString(), "00:00:05");
    list().setRowCount(2);
    EXPECT_EQ(shown.rowCount(), 1);
}

// When the current row goes with the rows the list loses, the grid must follow the list's
// new current row without showing it in the fields.
TEST_F(PlayListWindow, ShrinkingMovesTheGridQuietly) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi"});
    clickRow(1);
    clickRow(4);
    list().setRowCount(3);
    EXPECT_EQ(list().currentRow(), 2);
    EXPECT_EQ(grid().currentIndex().row(), 1);
    EXPECT_EQ(grid().selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(form.URL()->text(), "/clips/a.avi");
    EXPECT_EQ(cells(2), QStringList(PlayListModel::ColumnCount));
}

// A click on an entry must show it; Play counts as On only when it is exactly "On".
TEST_F(PlayListWindow, ClickShowsTheEntry) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi", "/clips/d.avi"});
    list().setCell(Col::PlayColumn, 2, QStringLiteral("Off"));
    list().setCell(Col::PlayColumn, 3, QStringLiteral("on"));
    list().setCell(Col::PlayColumn, 4, QStringLiteral("ON"));
    list().setCell(Col::GroupColumn, 1, QStringLiteral("Live"));
    list().setCell(Col::CountColumn, 1, QStringLiteral("3"));

    clickRow(1);
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_EQ(fields(), (Fields{true, "Live", "3", "/clips/a.avi"}));
    for (int row : {2, 3, 4}) {
        clickRow(row);
        EXPECT_EQ(list().currentRow(), row);
        EXPECT_FALSE(form.SkinForm1()->GetButtonState(u"PLAY")) << row;
        EXPECT_EQ(form.URL()->text(), list().cell(Col::LocationColumn, row));
    }
    // Showing a row never rewrites its Play text.
    EXPECT_EQ(list().cell(Col::PlayColumn, 3), "on");
    EXPECT_TRUE(errors.texts.isEmpty());
}

// A Count above 99 must show as 99 and, the shown text having changed, be rewritten as 99.
TEST_F(PlayListWindow, CountIsClampedWhenShown) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi"});
    list().setCell(Col::CountColumn, 2, QStringLiteral("150"));
    list().setCell(Col::CountColumn, 3, QStringLiteral("-4"));
    clickRow(2);
    EXPECT_EQ(form.PlayCount()->text(), "99");
    EXPECT_EQ(list().cell(Col::CountColumn, 2), "99");
    clickRow(3);
    EXPECT_EQ(form.PlayCount()->text(), "1");
    EXPECT_EQ(list().cell(Col::CountColumn, 3), "1");
    // Other rows keep their counts.
    EXPECT_EQ(list().cell(Col::CountColumn, 1), "1");
}

// Fields set from code are bound as typed ones are: each change writes the current entry.
TEST_F(PlayListWindow, FieldsSetFromCodeWriteTheEntry) {
    addEntries({"/clips/a.avi", "/clips/b.avi"});
    list().selectRow(2);
    form.Group()->setText(QStringLiteral("Live"));
    form.PlayCount()->setValue(12);
    form.URL()->setText(QStringLiteral("C:\\Media\\talk.ra"));
    EXPECT_EQ(cells(2),
              QStringList({"2", "On", "Live", "12", "talk.ra", "", "", "C:\\Media\\talk.ra"}));
    EXPECT_EQ(cells(1), QStringList({"1", "On", "Default", "1", "a.avi", "", "", "/clips/a.avi"}));
}

// Typing into URL must rewrite the entry's location and file name at every keystroke.
TEST_F(PlayListWindow, TypingInUrlRewritesTheEntry) {
    addEntries({"/clips/a.avi", "/clips/b.avi"});
    clickRow(2);
    form.URL()->clear();
    EXPECT_EQ(list().cell(Col::LocationColumn, 2), "");
    const QString typed = QStringLiteral("http://h/x/clip.rm");
    for (qsizetype i = 0; i < typed.size(); ++i) {
        QTest::keyClick(form.URL(), typed.at(i).toLatin1());
        const QString sofar = typed.left(i + 1);
        ASSERT_EQ(list().cell(Col::LocationColumn, 2), sofar);
        ASSERT_EQ(list().cell(Col::FileNameColumn, 2), PlayListModel::FileName(sofar));
    }
    EXPECT_EQ(list().cell(Col::FileNameColumn, 2), "clip.rm");
    EXPECT_EQ(list().cell(Col::LocationColumn, 1), "/clips/a.avi");
}

// The end row and the header are no entries: clicking them leaves the fields, and typing
// into the fields afterwards writes no row.
TEST_F(PlayListWindow, EndRowAndHeaderLeaveTheFieldsAlone) {
    addEntries({"/clips/a.avi", "/clips/b.avi"});
    list().setCell(Col::GroupColumn, 2, QStringLiteral("Live"));
    clickRow(2);
    const Fields shown = fields();
    clickRow(3);
    EXPECT_EQ(list().currentRow(), 3);
    EXPECT_EQ(fields(), shown);
    clickHeader();
    EXPECT_EQ(list().currentRow(), 3);
    EXPECT_EQ(fields(), shown);

    const QList<QStringList> before = {cells(0), cells(1), cells(2), cells(3)};
    QTest::keyClicks(form.Group(), "Pop");
    QTest::keyClicks(form.URL(), "/x.avi");
    form.PlayCount()->stepUp();
    EXPECT_EQ(form.Group()->text(), "LivePop");
    EXPECT_EQ((QList<QStringList>{cells(0), cells(1), cells(2), cells(3)}), before);
}

// A Count that is not a whole number must give the conversion error after PLAY and Group
// were shown, and leave PlayCount and URL as they were.
TEST_F(PlayListWindow, BadCountGivesTheConversionError) {
    addEntries({"/clips/a.avi", "/clips/b.avi"});
    list().setCell(Col::CountColumn, 1, QStringLiteral("7"));
    list().setCell(Col::PlayColumn, 2, QStringLiteral("Off"));
    list().setCell(Col::GroupColumn, 2, QStringLiteral("Damaged"));
    list().setCell(Col::CountColumn, 2, QStringLiteral("abc"));
    clickRow(1);
    ASSERT_TRUE(errors.texts.isEmpty());

    clickRow(2);
    EXPECT_EQ(errors.texts, QStringList({"'abc' は整数ではありません."}));
    EXPECT_EQ(list().currentRow(), 2);
    EXPECT_EQ(fields(), (Fields{false, "Damaged", "7", "/clips/a.avi"}));
    // The fields that were not shown wrote nothing into the row.
    EXPECT_EQ(list().cell(Col::CountColumn, 2), "abc");
    EXPECT_EQ(list().cell(Col::LocationColumn, 2), "/clips/b.avi");

    // Selected from code, the row's failure ends the operation that selected it.
    clickRow(1);
    errors.texts.clear();
    try {
        list().selectRow(2);
        ADD_FAILURE() << "no error";
    } catch (const KorvelError& error) {
        EXPECT_EQ(error.text(), "'abc' は整数ではありません");
    }
    EXPECT_EQ(grid().currentIndex().row(), 1);
    EXPECT_EQ(fields(), (Fields{false, "Damaged", "7", "/clips/a.avi"}));
    EXPECT_TRUE(errors.texts.isEmpty());
}

// Keys that move the current row must show the new row; Shift widens the block.
TEST_F(PlayListWindow, KeyMovesShowTheRow) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi"});
    clickRow(1);
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Down);
    EXPECT_EQ(list().currentRow(), 2);
    EXPECT_EQ(form.URL()->text(), "/clips/b.avi");
    QTest::keyClick(&grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list().currentRow(), 3);
    EXPECT_EQ(form.URL()->text(), "/clips/c.avi");
    EXPECT_EQ(list().selectionTop(), 2);
    EXPECT_EQ(list().selectionBottom(), 3);
}

// A Shift click must leave the block between the rows selected in the list.
TEST_F(PlayListWindow, ShiftClickSelectsABlock) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi", "/clips/d.avi"});
    clickRow(2);
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      grid().cellRect(1, 4).center());
    EXPECT_EQ(list().currentRow(), 4);
    EXPECT_EQ(list().selectionTop(), 2);
    EXPECT_EQ(list().selectionBottom(), 4);
    EXPECT_EQ(form.URL()->text(), "/clips/d.avi");
}

// A row selected from code must become the grid's current and only selected row, show in
// the fields when it changes, and not show again when it is already current.
TEST_F(PlayListWindow, SelectRowFromCodeShowsInTheGrid) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi"});
    list().selectRow(3);
    EXPECT_EQ(grid().currentIndex().row(), 2);
    const QModelIndexList selected = grid().selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), 2);
    EXPECT_EQ(form.URL()->text(), "/clips/c.avi");

    form.URL()->setText(QStringLiteral("/clips/changed.avi"));
    list().setCell(Col::LocationColumn, 3, QStringLiteral("/clips/c.avi"));
    list().selectRow(3);
    EXPECT_EQ(form.URL()->text(), "/clips/changed.avi");
}

// A click on the row that is current must show it again, so fields that drifted from the
// row come back to it.
TEST_F(PlayListWindow, ClickOnTheCurrentRowShowsItAgain) {
    addEntries({"/clips/a.avi", "/clips/b.avi"});
    clickRow(2);
    list().setCell(Col::GroupColumn, 2, QStringLiteral("Changed"));
    clickRow(2);
    EXPECT_EQ(form.Group()->text(), "Changed");
}

// The right button must not move the current row.
TEST_F(PlayListWindow, RightClickMovesNothing) {
    addEntries({"/clips/a.avi", "/clips/b.avi"});
    clickRow(1);
    QTest::mouseClick(grid().viewport(), Qt::RightButton, {}, grid().cellRect(1, 2).center());
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_EQ(form.URL()->text(), "/clips/a.avi");
}

// PlayCount's value is its text read as a number (1 when none): each change writes it,
// and leaving the box clamps what was typed into 1..99.
TEST_F(PlayListWindow, PlayCountWritesItsTextAndClampsOnLeaving) {
    addEntries({"/clips/a.avi"});
    clickRow(1);
    QLineEdit* typing = form.PlayCount()->findChild<QLineEdit*>();
    ASSERT_NE(typing, nullptr);
    EXPECT_EQ(typing->maxLength(), 2);

    typing->selectAll();
    QTest::keyClicks(typing, "42");
    EXPECT_EQ(list().cell(Col::CountColumn, 1), "42");
    typing->clear();
    EXPECT_EQ(list().cell(Col::CountColumn, 1), "1");
    QTest::keyClicks(typing, "0");
    EXPECT_EQ(list().cell(Col::CountColumn, 1), "0");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(form.PlayCount(), &leave);
    EXPECT_EQ(form.PlayCount()->text(), "1");
    EXPECT_EQ(list().cell(Col::CountColumn, 1), "1");

    // The arrows write too.
    form.PlayCount()->stepUp();
    EXPECT_EQ(list().cell(Col::CountColumn, 1), "2");
}

// StorePlayFlag must write the flipped toggle into an entry only.
TEST_F(PlayListWindow, StorePlayFlag) {
    addEntries({"/clips/a.avi"});
    clickRow(1);
    form.SkinForm1()->SetButtonState(u"PLAY", false);
    form.StorePlayFlag();
    EXPECT_EQ(list().cell(Col::PlayColumn, 1), "Off");
    form.SkinForm1()->SetButtonState(u"PLAY", true);
    form.StorePlayFlag();
    EXPECT_EQ(list().cell(Col::PlayColumn, 1), "On");

    clickRow(2);
    form.SkinForm1()->SetButtonState(u"PLAY", false);
    form.StorePlayFlag();
    EXPECT_EQ(cells(2), QStringList(PlayListModel::ColumnCount));
}

// StoreEditFields must write every field into the entry, FileName derived from URL.
TEST_F(PlayListWindow, StoreEditFieldsWritesEveryField) {
    addEntries({"/clips/a.avi"});
    list().setCell(Col::StartColumn, 1, QStringLiteral("00:00:05"));
    clickRow(1);
    ASSERT_EQ(form.URL()->text(), "/clips/a.avi");
    form.SkinForm1()->SetButtonState(u"PLAY", false);
    form.Group()->setText(QStringLiteral("Live"));
    form.PlayCount()->setValue(5);
    form.URL()->setText(QStringLiteral("rtsp://host/live/feed.rm"));
    // Cells that drifted from the fields are written over.
    for (int column :
         {Col::GroupColumn, Col::CountColumn, Col::FileNameColumn, Col::LocationColumn}) {
        list().setCell(column, 1, QStringLiteral("stale"));
    }
    form.StoreEditFields();
    EXPECT_EQ(cells(1), QStringList({"1", "Off", "Live", "5", "feed.rm", "00:00:05", "",
                                     "rtsp://host/live/feed.rm"}));
}

// Showing a location must not change it, also when it holds a line feed or is very long.
TEST_F(PlayListWindow, ShowingKeepsTheLocation) {
    const QString withLineFeed = QStringLiteral("/clips/a.avi\n/clips/b.avi");
    const QString longPath = QStringLiteral("/clips/") + QString(40000, u'x') + ".avi";
    addEntries({withLineFeed, longPath});
    clickRow(1);
    EXPECT_EQ(list().cell(Col::LocationColumn, 1), withLineFeed);
    clickRow(2);
    EXPECT_EQ(list().cell(Col::LocationColumn, 2), longPath);
    EXPECT_EQ(form.URL()->text(), longPath);
}

// The grid must stay legible on the dark skin: a dark ground, light text, and a current
// row that stands out from the rest of the selected block.
TEST_F(PlayListWindow, GridIsDarkWithAClearCurrentRow) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi"});
    list().selectRow(2);
    list().userSelection(1, 3);
    const QImage shown = grid().viewport()->grab().toImage();
    const auto at = [&](int row) { return shown.pixelColor(grid().cellRect(5, row).center()); };
    const QColor ground = shown.pixelColor(shown.width() - 30, shown.height() - 5);
    EXPECT_LT(ground.lightness(), 40);
    EXPECT_GT(at(2).lightness(), at(1).lightness() + 20);
    EXPECT_EQ(at(1), at(3));
    EXPECT_GT(at(1).lightness(), ground.lightness());

    // Some pixel of an unselected row's text is light.
    list().selectRow(4);
    const QImage plain = grid().viewport()->grab().toImage();
    const QRect text = grid().cellRect(Col::LocationColumn, 1);
    int lightest = 0;
    for (int x = text.left(); x < text.right(); ++x) {
        for (int y = text.top(); y < text.bottom(); ++y) {
            lightest = std::max(lightest, plain.pixelColor(x, y).lightness());
        }
    }
    EXPECT_GT(lightest, 160);
}

// Closing down with a half-typed count in the focused box must not write into a list that
// is already gone (the sanitizer build sees such a write).
TEST(PlayListWindowLifetime, DestroyedWithTheFocusInAField) {
    ErrorCapture errors;
    auto form = std::make_unique<TForm2>();
    form->model().AddEntry(QStringLiteral("/clips/a.avi"));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->PlayCount()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->PlayCount()->hasFocus(); }, 1000));
    QLineEdit* typing = form->PlayCount()->findChild<QLineEdit*>();
    typing->selectAll();
    QTest::keyClicks(typing, "0");
    EXPECT_EQ(form->model().cell(PlayListModel::CountColumn, 1), "0");
    form.reset();
    EXPECT_TRUE(errors.texts.isEmpty());
}

// ADD composed on the blank end row gives an entry of exactly the fields; with an entry
// current the new one keeps the defaults of a new entry. An empty URL still adds.
TEST_F(PlayListWindow, AddComposesOnTheEndRow) {
    addEntries({"/clips/a.avi"});
    list().selectRow(2);
    form.SkinForm1()->SetButtonState(u"PLAY", false);
    form.Group()->setText(QStringLiteral("Live"));
    form.PlayCount()->setValue(4);
    form.URL()->setText(QStringLiteral("/clips/新しい.mpg"));
    form.SkinForm1MouseUpNotify(QStringLiteral("ADD"), Qt::LeftButton, {}, 1, 1);
    EXPECT_EQ(cells(2), QStringList({"2", "Off", "Live", "4", QString::fromUtf8("新しい.mpg"), "",
                                     "", QString::fromUtf8("/clips/新しい.mpg")}));
    EXPECT_EQ(list().rowCount(), 4);

    clickRow(1);
    form.URL()->clear();
    form.SkinForm1MouseUpNotify(QStringLiteral("ADD"), Qt::LeftButton, {}, 1, 1);
    EXPECT_EQ(cells(3), QStringList({"3", "On", "Default", "1", "", "", "", ""}));
    EXPECT_EQ(list().currentRow(), 3);
    EXPECT_TRUE(errors.texts.isEmpty());
}

// Fault: a block selected from code (UP, DOWN, CUT) was anchored on its bottom row, so a
// later Shift click or Shift+Down extended from the wrong end.
TEST_F(PlayListWindow, BlockFromCodeExtendsFromItsTopRow) {
    addEntries({"/clips/a.avi", "/clips/b.avi", "/clips/c.avi", "/clips/d.avi", "/clips/e.avi"});
    list().setSelection(2, 3);
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      grid().cellRect(1, 5).center());
    EXPECT_EQ(list().selectionTop(), 2);
    EXPECT_EQ(list().selectionBottom(), 5);
    EXPECT_EQ(list().currentRow(), 5);

    list().setSelection(2, 3);
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list().selectionTop(), 2);
    EXPECT_EQ(list().selectionBottom(), 4);
    EXPECT_EQ(list().currentRow(), 4);
}

// Fault: Delete pressed while typing in URL also cut the selected rows. In a field it edits
// the text; in the grid it cuts.
TEST_F(PlayListWindow, DeleteCutsOnlyOutsideTheFields) {
    addEntries({"/clips/a.avi", "/clips/b.avi"});
    clickRow(1);
    form.activateWindow();
    form.URL()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.URL()->hasFocus(); }, 1000));
    form.URL()->setCursorPosition(0);
    QTest::keyClick(form.URL(), Qt::Key_Delete);
    EXPECT_EQ(list().entryCount(), 2);
    EXPECT_EQ(list().cell(Col::LocationColumn, 1), "clips/a.avi");

    grid().setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid().hasFocus(); }, 1000));
    QTest::keyClick(&grid(), Qt::Key_Delete);
    EXPECT_EQ(list().entryCount(), 1);
    EXPECT_EQ(list().cell(Col::LocationColumn, 1), "/clips/b.avi");
}

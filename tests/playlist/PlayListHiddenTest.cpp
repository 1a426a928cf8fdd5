#include "../support/ErrorCapture.h"
#include "playlist/PlayCountBox.h"
#include "playlist/PlayList.h"
#include "playlist/PlayListGrid.h"
#include "playlist/PlayListTableModel.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

using namespace korvel;

// Fault: with its grid and fields made only when first needed, a hidden list took the row
// the play order moved to without the write-back a shown row gets, or showed, once opened,
// a grid that knew nothing of the rows, the current row and the block of before.
TEST(PlayListHidden, RowsMovedToWhileHiddenAreTakenAsWhenShown) {
    test::ErrorCapture errors;
    TForm2 form;
    PlayListModel& list = form.model();
    for (const char* location : {"/clips/a.avi", "/clips/b.avi", "/clips/c.avi"})
        list.AddEntry(QString::fromLatin1(location));
    list.NumberRows();
    list.setCell(PlayListModel::CountColumn, 3, QStringLiteral("150"));
    list.selectRow(3);
    EXPECT_EQ(list.cell(PlayListModel::CountColumn, 3), "99");
    list.setSelection(2, 3);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QItemSelectionModel& shown = *form.PlayList()->selectionModel();
    EXPECT_EQ(shown.currentIndex().row(), PlayListTableModel::viewRow(3));
    EXPECT_EQ(shown.selectedRows().size(), 2);
    EXPECT_EQ(form.URL()->text(), "/clips/c.avi");
    EXPECT_EQ(form.PlayCount()->text(), "99");
}

#pragma once

#include "../support/ErrorCapture.h"
#include "playlist/PlayCountBox.h"
#include "playlist/PlayList.h"
#include "playlist/PlayListGrid.h"
#include "skin/SkinForm.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <ostream>

// The shown playlist window the list's window tests start from.
namespace korvel::test {

using Col = PlayListModel::Column;

// What the fields bound to the current row show.
struct Fields {
    bool play;
    QString group;
    QString count;
    QString url;
    bool operator==(const Fields&) const = default;

    friend void PrintTo(const Fields& f, std::ostream* out) {
        *out << "{PLAY " << (f.play ? "on" : "off") << ", Group \"" << f.group.toStdString()
             << "\", Count \"" << f.count.toStdString() << "\", URL \"" << f.url.toStdString()
             << "\"}";
    }
};

// A shown playlist window with entries; rows of the list are addressed as the list numbers
// them (header 0, entries 1..N, end row N+1).
class PlayListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    PlayListModel& list() { return form.model(); }
    PlayListGrid& grid() { return *form.PlayList(); }

    void addEntries(const QStringList& locations) {
        for (const QString& location : locations) list().AddEntry(location);
        list().NumberRows();
    }

    void clickRow(int row) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, grid().cellRect(1, row).center());
    }

    void clickHeader() {
        QHeaderView* header = grid().horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 10, header->height() / 2));
    }

    Fields fields() {
        return {form.SkinForm1()->GetButtonState(u"PLAY"), form.Group()->text(),
                form.PlayCount()->text(), form.URL()->text()};
    }

    QStringList cells(int row) {
        QStringList texts;
        for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
            texts.append(list().cell(column, row));
        }
        return texts;
    }

    ErrorCapture errors;
    TForm2 form;
};

} // namespace korvel::test

#include "ListLocations.h"
#include "playlist/ListSort.h"
#include "playlist/PlayListModel.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace korvel;
using korvel::test::locations;

namespace {

using Col = PlayListModel::Column;

// Collation depends on the default locale; each test names its own and puts the old back.
class SortByLocation : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(m_saved); }
    static void useLocale(QLocale::Language language) { QLocale::setDefault(QLocale(language)); }

private:
    QLocale m_saved;
};

PlayListModel& fill(PlayListModel& list, const QStringList& texts) {
    for (const QString& text : texts) list.AddEntry(text);
    return list;
}

} // namespace

// Fault: letter case deciding the order, code-point order instead of the user's locale, or
// an unstable sort swapping entries whose locations differ only in case.
TEST_F(SortByLocation, CaseInsensitiveStableAndByLocale) {
    const struct {
        QLocale::Language language;
        QStringList before;
        QStringList after;
    } cases[] = {
        {QLocale::English,
         {"b.avi", "A.avi", "a.avi", "C.avi"},
         {"A.avi", "a.avi", "b.avi", "C.avi"}},
        {QLocale::English,
         {"b.avi", "a.avi", "A.avi", "C.avi"},
         {"a.avi", "A.avi", "b.avi", "C.avi"}},
        {QLocale::German, {"z.avi", "ö.avi", "o.avi"}, {"o.avi", "ö.avi", "z.avi"}},
        {QLocale::Swedish, {"z.avi", "ö.avi", "o.avi"}, {"o.avi", "z.avi", "ö.avi"}},
        {QLocale::English, {}, {}},
    };
    for (const auto& c : cases) {
        useLocale(c.language);
        PlayListModel list;
        ListSort::SortByLocation(fill(list, c.before));
        EXPECT_EQ(locations(list), c.after) << QLocale::languageToString(c.language).toStdString();
        EXPECT_EQ(list.rowCount(), c.after.size() + 2);
    }
}

// Fault: sorting only the location column, so that flags, counts and marks stay behind with
// the old row, or leaving the old numbers and a dirty end row.
TEST_F(SortByLocation, WholeRowsMoveAndAreRenumbered) {
    useLocale(QLocale::English);
    PlayListModel list;
    fill(list, {"/c/z.avi", "/c/y.avi", "/c/x.avi"});
    list.NumberRows();
    list.setCell(Col::PlayColumn, 1, PlayListModel::PlayOff);
    list.setCell(Col::GroupColumn, 1, "zed");
    list.setCell(Col::CountColumn, 1, "7");
    list.setCell(Col::StartColumn, 1, "00:00:05");
    list.setCell(Col::EndColumn, 1, "00:01:00");
    ListSort::SortByLocation(list);
    EXPECT_EQ(locations(list), QStringList({"/c/x.avi", "/c/y.avi", "/c/z.avi"}));
    const QStringList moved = {"3", "Off", "zed", "7", "z.avi", "00:00:05", "00:01:00", "/c/z.avi"};
    for (int column = 0; column < PlayListModel::ColumnCount; ++column) {
        EXPECT_EQ(list.cell(column, 3), moved[column]) << column;
        EXPECT_EQ(list.cell(column, 4), "") << column;
    }
    EXPECT_EQ(list.cell(Col::NoColumn, 1), "1");
    EXPECT_EQ(list.cell(Col::PlayColumn, 1), PlayListModel::PlayOn);
    EXPECT_EQ(list.cell(Col::LocationColumn, 0), "Path or URL");
}

#include "base/SplitFields.h"

#include <gtest/gtest.h>

using korvel::SplitFields;

namespace {

struct SplitCase {
    const char* row;
    QStringList fields;
};

} // namespace

// The splitter's rules decide every skin row: blanks after a comma dropped, blanks inside
// and at the end of a field kept, empty fields between commas, none after a trailing comma,
// quoted fields with doubled quotes, control characters ending a field.
TEST(SplitFields, SplitsRowsByTheSkinRules) {
    const SplitCase cases[] = {
        {"BUTTON_PLAY, 55, 90", {"BUTTON_PLAY", "55", "90"}},
        {"  a,b", {"a", "b"}},
        {"Times New Roman, TRUE", {"Times New Roman", "TRUE"}},
        {"12 , 13", {"12 ", "13"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a"}},
        {",a", {"", "a"}},
        {"", {}},
        {"   ", {}},
        {"\"x, y\",z", {"x, y", "z"}},
        {"\"say \"\"hi\"\"\", 1", {"say \"hi\"", "1"}},
        {"\"open", {"open"}},
        {"\"q\"tail,1", {"q", "tail", "1"}},
        {"a\tb,c", {"a", "b", "c"}},
        {"ＭＳ Ｐゴシック, 10", {"ＭＳ Ｐゴシック", "10"}},
        {"再生(Ctrl+P),x", {"再生(Ctrl+P)", "x"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(SplitFields(QString::fromUtf8(c.row), u','), c.fields) << c.row;
    }
}

// Characters beyond the basic plane are whole characters: neither half is a delimiter.
TEST(SplitFields, KeepsCharactersOutsideTheBasicPlaneWhole) {
    const QString row = QString::fromUtf8("𠮷野家,2");
    EXPECT_EQ(SplitFields(row, u','), QStringList({QString::fromUtf8("𠮷野家"), "2"}));
}

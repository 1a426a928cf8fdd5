#include "SettingsTestSupport.h"

#include "base/PathBytes.h"
#include "playlist/RowDataCodec.h"
#include "playlist/SettingsFile.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::test::entry;

namespace {

SettingsRow withCell(int column, const QString& text) {
    SettingsRow row = entry(QStringLiteral("/clips/a.avi"));
    row[static_cast<std::size_t>(column - 1)] = text;
    return row;
}

// Through a whole settings file, so that what the INI reader does to a line counts too.
SettingsRow throughFile(const SettingsRow& row) {
    SettingsData data;
    data.rows = {row, entry(QStringLiteral("/after.avi"))};
    const SettingsData read = SettingsFile::parse(SettingsFile::compose({}, data));
    EXPECT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows.back(), data.rows.back());
    return read.rows.front();
}

} // namespace

// Fault: rows that the plain form can carry are written in another form, so earlier
// releases and existing files would no longer agree with new ones.
TEST(RowDataCodec, PlainRowsKeepTheJoinedForm) {
    const struct {
        SettingsRow row;
        const char* value;
    } cases[] = {
        {entry(QStringLiteral("/clips/a.avi")), "On|Default|1|a.avi|||/clips/a.avi"},
        {SettingsRow{}, "||||||"},
        {withCell(5, QStringLiteral("00:00:10")), "On|Default|1|a.avi|00:00:10||/clips/a.avi"},
        {withCell(1, QStringLiteral("%on")), "%on|Default|1|a.avi|||/clips/a.avi"},
        {withCell(7, QStringLiteral("http://h/a b%20c.rm")),
         "On|Default|1|a.avi|||http://h/a b%20c.rm"},
        {withCell(2, QStringLiteral("映画")), "On|映画|1|a.avi|||/clips/a.avi"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RowDataCodec::encode(c.row), QString::fromUtf8(c.value));
        EXPECT_EQ(RowDataCodec::decode(QString::fromUtf8(c.value)), c.row) << c.value;
    }
    // Reading follows the plain rule: fewer than six "|" leave cells empty, text after a
    // seventh is dropped.
    EXPECT_EQ(RowDataCodec::decode(u"On|G"), (SettingsRow{"On", "G"}));
    EXPECT_EQ(RowDataCodec::decode(u"1|2|3|4|5|6|7|8|9"),
              (SettingsRow{"1", "2", "3", "4", "5", "6", "7"}));
}

// Fault: a cell holding "|", a line break, "%", or blanks at the value's ends does not come
// back whole after a restart; long and Japanese cells are cut or mangled.
TEST(RowDataCodec, OddCellsComeBackWhole) {
    const SettingsRow cases[] = {
        withCell(2, QStringLiteral("Rock|Pop")),
        withCell(7, QStringLiteral("/a|b/c||d|")),
        withCell(2, QStringLiteral("line\r\nbreak\ttab\x01")),
        withCell(1, QStringLiteral("%%On")),
        withCell(1, QStringLiteral("  On")),
        withCell(7, QStringLiteral("/clips/trailing blank  ")),
        withCell(7, QStringLiteral("%7C|%%|%")),
        withCell(7, QStringLiteral("/ホーム/ユーザー/ビデオ/夜明けの歌|第二部.rm ")),
        withCell(7, QStringLiteral("/") + QString(300, u'長')),
        withCell(7, QStringLiteral("/") + QString(5000, u'x') + QStringLiteral("|")),
        SettingsRow{"|", "|", "|", "|", "|", "|", "|"},
        SettingsRow{"", "", "", "", "", "", " "},
    };
    for (const SettingsRow& row : cases) EXPECT_EQ(throughFile(row), row);
}

// Fault: the marked form breaks plain readers: they must still see seven cells, the entry
// not On (never played by mistake) and the other cells in their columns.
TEST(RowDataCodec, MarkedRowsDegradeGracefullyForPlainReaders) {
    const SettingsRow row = withCell(2, QStringLiteral("Rock|Pop"));
    const QString value = RowDataCodec::encode(row);
    EXPECT_EQ(value, "%%On|Rock%7CPop|1|a.avi|||/clips/a.avi");
    const QStringList plain = value.split(u'|');
    ASSERT_EQ(plain.size(), 7);
    EXPECT_NE(plain[0], "On");
    EXPECT_EQ(plain[6], "/clips/a.avi");
    // Hand-edited escapes that are not escapes stay as they are.
    EXPECT_EQ(RowDataCodec::decode(u"%%On|a%zz%4|%41%e6%98%a0"),
              (SettingsRow{"On", "a%zz%4", "A映"}));
}

// Fault: an entry for a dropped file whose name is not UTF-8 ("caf\xe9.avi" from an old
// Latin-1 program) came back from a restart with U+FFFD in place of its bytes, and could
// never be opened again.
TEST(RowDataCodec, FileNamesThatAreNotUtf8ComeBackByteForByte) {
    // With a character beyond U+FFFF whose second half lies where such bytes are kept.
    const QByteArray name = "/music/caf\xe9 \xff\xfe\xf1\xa2\xa2\xa2.avi";
    const SettingsRow row = withCell(7, PathBytes::toText(name));
    EXPECT_EQ(RowDataCodec::encode(row),
              QStringLiteral("%%On|Default|1|a.avi|||/music/caf%E9 %FF%FE") +
                  QString::fromUtf8("\xf1\xa2\xa2\xa2.avi"));
    const SettingsRow read = throughFile(row);
    EXPECT_EQ(PathBytes::toBytes(read[6]), name);
    EXPECT_EQ(read, row);
    // Valid UTF-8 written as escapes by hand still reads as its characters.
    EXPECT_EQ(RowDataCodec::decode(u"%%|%C3%A9%E9"),
              (SettingsRow{"", QStringLiteral("é") + QChar(0xDCE9)}));
}

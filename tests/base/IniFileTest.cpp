#include "base/IniFile.h"

#include <gtest/gtest.h>

using korvel::IniFile;

namespace {

const QByteArray Sample = "; a comment line\r\n"
                          "[Version]\r\n"
                          "Ver=150\r\n"
                          "\r\n"
                          "[ BitmapInfo ]\r\n"
                          "  MaskBitmap =  Mask.jpg  \r\n"
                          "Empty=\r\n"
                          "Spaces=   \r\n"
                          "Dup=first\r\n"
                          "Dup=second\r\n"
                          "Hex=$1F\r\n"
                          "Hex2=0x1f\r\n"
                          "Neg=-12\r\n"
                          "Bad=12 apples\r\n"
                          "Title=再生(Ctrl+P)\r\n"
                          "\r\n"
                          "[Other]\r\n"
                          "Ver=1\r\n";

} // namespace

// Section and key names must match without regard to case, with blanks around names and
// values dropped, and the first of two equal keys winning.
TEST(IniFile, ReadsStringsWithTheProfileRules) {
    const IniFile ini(Sample);
    EXPECT_EQ(ini.readString(u"bitmapinfo", u"maskbitmap", "x"), "Mask.jpg");
    EXPECT_EQ(ini.readString(u"BITMAPINFO", u"Empty", "default"), "");
    EXPECT_EQ(ini.readString(u"BITMAPINFO", u"Spaces", "default"), "");
    EXPECT_EQ(ini.readString(u"BITMAPINFO", u"Missing", "default"), "default");
    EXPECT_EQ(ini.readString(u"Nowhere", u"Ver", "default"), "default");
    EXPECT_EQ(ini.readString(u"BitmapInfo", u"Dup", ""), "first");
    EXPECT_EQ(ini.readString(u"BitmapInfo", u"Title", ""), QString::fromUtf8("再生(Ctrl+P)"));
    // A key of another section is not found in this one.
    EXPECT_EQ(ini.readString(u"Version", u"Dup", "none"), "none");
    EXPECT_EQ(ini.readInteger(u"other", u"VER", 0), 1);
}

// Integer keys take decimal and both hexadecimal spellings; anything else is the default,
// also a key present with an empty value.
TEST(IniFile, ReadsIntegersOrFallsBackToTheDefault) {
    const IniFile ini(Sample);
    EXPECT_EQ(ini.readInteger(u"VERSION", u"Ver", 140), 150);
    EXPECT_EQ(ini.readInteger(u"BitmapInfo", u"Hex", 0), 31);
    EXPECT_EQ(ini.readInteger(u"BitmapInfo", u"Hex2", 0), 31);
    EXPECT_EQ(ini.readInteger(u"BitmapInfo", u"Neg", 0), -12);
    EXPECT_EQ(ini.readInteger(u"BitmapInfo", u"Bad", 7), 7);
    EXPECT_EQ(ini.readInteger(u"BitmapInfo", u"Empty", 7), 7);
    EXPECT_EQ(ini.readInteger(u"BitmapInfo", u"Missing", 7), 7);
    // The value is read whole: zeros past the longest string value still lead a number.
    const IniFile zeros("[s]\nk=$" + QByteArray(IniFile::MaxValueBytes, '0') + "1A\n");
    EXPECT_EQ(zeros.readInteger(u"s", u"k", 7), 26);
}

// Values longer than the reader takes are cut, never in the middle of a character.
TEST(IniFile, CutsLongValuesAtAWholeCharacter) {
    QByteArray longValue(2046, 'a');
    longValue += QString::fromUtf8("あい").toUtf8(); // 3 bytes each: the first straddles 2047
    const IniFile ini("[S]\nK=" + longValue + "\n");
    const QString value = ini.readString(u"S", u"K", "");
    EXPECT_EQ(value.size(), 2046);
    EXPECT_LE(value.toUtf8().size(), IniFile::MaxValueBytes);
}

// Fault: a reader that must keep every byte (a stored playlist row) gets the value cut, while
// the skin loader's reads must stay cut as before.
TEST(IniFile, ReadsBytesWholeBeyondTheCut) {
    const QByteArray longValue = QByteArray(5000, 'a') + QString::fromUtf8("|末").toUtf8();
    const IniFile ini("[S]\nK=  " + longValue + "  \nE=\n");
    EXPECT_EQ(ini.readBytes(u"s", u"k"), std::optional<QByteArray>(longValue));
    EXPECT_EQ(ini.readBytes(u"S", u"E"), std::optional<QByteArray>(QByteArray()));
    EXPECT_EQ(ini.readBytes(u"S", u"Missing"), std::nullopt);
    EXPECT_EQ(ini.readString(u"S", u"K", "").size(), IniFile::MaxValueBytes);
}

// Writing one key must keep every other line exactly, the file's line ends included.
TEST(IniFile, WriterChangesOneKeyInPlace) {
    IniFile ini(Sample);
    ini.writeString(u"bitmapinfo", u"MASKBITMAP", "Other.jpg");
    QByteArray expected = Sample;
    expected.replace("  MaskBitmap =  Mask.jpg  ", "MASKBITMAP=Other.jpg");
    EXPECT_EQ(ini.text(), expected);
    EXPECT_EQ(ini.readString(u"BitmapInfo", u"MaskBitmap", ""), "Other.jpg");
}

// New keys go to the end of their own section (before its trailing blank lines); a new
// section goes to the end of the text.
TEST(IniFile, WriterAddsKeysAndSections) {
    IniFile ini(QByteArray("[A]\nx=1\n\n[B]\ny=2\n"));
    ini.writeString(u"A", u"z", "3");
    ini.writeString(u"C", u"w", "4");
    EXPECT_EQ(ini.text(), QByteArray("[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n"));

    IniFile empty;
    empty.writeString(u"Korvel setting", u"ListRow", "1");
    EXPECT_EQ(empty.text(), QByteArray("[Korvel setting]\r\nListRow=1\r\n"));
    EXPECT_EQ(IniFile(empty.text()).readInteger(u"korvel SETTING", u"listrow", 0), 1);
}

// Fault: a file that starts with a byte-order mark, or ends its lines with CR alone, read as
// if its first section were missing; a save then added that section a second time.
TEST(IniFile, TakesAByteOrderMarkAndEveryLineEnd) {
    const struct {
        QByteArray text;
        QByteArray written; // after K is changed and New added in [S]
    } cases[] = {
        {"\xEF\xBB\xBF[S]\r\nK=v\r\n[T]\r\nK=t\r\n",
         "\xEF\xBB\xBF[S]\r\nK=w\r\nNew=n\r\n[T]\r\nK=t\r\n"},
        {"[S]\rK=v\r[T]\rK=t\r", "[S]\rK=w\rNew=n\r[T]\rK=t\r"},
        {"\xEF\xBB\xBF[S]\nK=v\n[T]\nK=t", "\xEF\xBB\xBF[S]\nK=w\nNew=n\n[T]\nK=t"},
        // Mixed ends: written with the first line's.
        {"[S]\r\nK=v\r[T]\nK=t\r\n", "[S]\r\nK=w\r\nNew=n\r\n[T]\r\nK=t\r\n"},
    };
    for (const auto& c : cases) {
        IniFile ini(c.text);
        EXPECT_EQ(ini.readString(u"S", u"K", "none"), "v") << c.text.toHex().data();
        EXPECT_EQ(ini.readString(u"T", u"K", "none"), "t") << c.text.toHex().data();
        EXPECT_TRUE(ini.unreadLines(u"S").empty()) << c.text.toHex().data();
        ini.writeString(u"S", u"K", "w");
        ini.writeString(u"S", u"New", "n");
        EXPECT_EQ(ini.text(), c.written) << c.text.toHex().data();
    }
}

// Fault: lines that are never read (a second section of the same name, keys before any
// section, lines that are no INI at all) pass unnoticed.
TEST(IniFile, FindsTheLinesAReaderNeverSees) {
    const struct {
        QByteArray text;
        std::vector<qsizetype> unread;
    } cases[] = {
        {"; c\n# c\n\n[S]\nK=1\n[Other]\nK=2\n", {}},
        {"K=0\n[S]\nK=1\n", {1}},
        {"[S]\nK=1\nnonsense\n[s]\n; c\nK=2\n\n[T]\n[S]\nK=3\n", {3, 4, 6, 9, 10}},
        {"\xC2\xA0[S]\nK=1\n", {1, 2}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniFile(c.text).unreadLines(u"S"), c.unread) << c.text.data();
    }
}

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

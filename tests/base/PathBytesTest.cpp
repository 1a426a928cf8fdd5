#include "base/PathBytes.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

// Fault: a name that is not UTF-8 loses bytes on its way in (U+FFFD), or a UTF-8 one changes.
TEST(PathBytes, KeepsEveryByteOfAName) {
    const QByteArray names[] = {
        "/srv/clip.avi",
        "/home/u/\xe5\x8b\x95\xe7\x94\xbb/\xf0\x9f\x8e\xac.rm",     // UTF-8, also four bytes long
        "/tmp/caf\xe9.avi",                                         // Latin-1
        "/tmp/\x83\x65\x83\x58\x83\x67.avi",                        // Shift-JIS
        "\xed\xb3\xa9\xc0\xaf\xe0\x80\xaf\xf4\x90\x80\x80\xf8\xff", // surrogate, overlong, too high
        "/tmp/cut\xe6\x97",                                         // a sequence cut at the end
        QByteArray("a\0b", 3),
        "/tmp/\xef\xbb\xbfmark\xef\xbb\xbf.avi", // U+FEFF, not a mark here
    };
    for (const QByteArray& name : names) {
        EXPECT_EQ(PathBytes::toBytes(PathBytes::toText(name)), name) << name.toHex().constData();
    }
    EXPECT_EQ(PathBytes::toText(names[1]), QString::fromUtf8(names[1]));
}

// Fault: two different names become the same text, so one plays in place of the other.
TEST(PathBytes, KeepsDifferentNamesApart) {
    const QString latin = PathBytes::toText("caf\xe9");
    const QString replaced = PathBytes::toText("caf\xef\xbf\xbd"); // a real U+FFFD
    EXPECT_NE(latin, replaced);
    EXPECT_EQ(latin.size(), 4);
    EXPECT_EQ(PathBytes::displayed(latin), QString::fromUtf8("caf\xef\xbf\xbd"));
}

// Fault: a dropped file whose name is not UTF-8 arrives as another name, or escapes that are
// part of the name are undone twice.
TEST(PathBytes, TakesTheBytesOfADroppedFile) {
    EXPECT_EQ(PathBytes::toBytes(PathBytes::fromFileUrl(QUrl("file:///tmp/caf%E9%20x.avi"))),
              QByteArray("/tmp/caf\xe9 x.avi"));
    EXPECT_EQ(PathBytes::toBytes(PathBytes::fromFileUrl(QUrl("file:///tmp/a%2525.avi"))),
              QByteArray("/tmp/a%25.avi"));
    const QString japanese = QString::fromUtf8("/tmp/\xe6\x97\xa5\xe6\x9c\xac #?.avi");
    EXPECT_EQ(PathBytes::fromFileUrl(QUrl::fromLocalFile(japanese)), japanese);
}

} // namespace

#include "playback/ClipTitle.h"

#include "base/PathBytes.h"

#include <gtest/gtest.h>

using namespace korvel;

// A clip without a title tag is shown by its file's name; an address by its last part, or
// whole when it has none. Bytes that are not UTF-8 show as replacement characters.
TEST(ClipTitle, FileNameWhereThereIsNoTitle) {
    const struct {
        QString location;
        QString shown;
    } cases[] = {
        {QStringLiteral("/clips/holiday.mp4"), QStringLiteral("holiday.mp4")},
        {QStringLiteral("holiday.mp4"), QStringLiteral("holiday.mp4")},
        {QStringLiteral("/clips/日本語 clip.avi"), QStringLiteral("日本語 clip.avi")},
        {QStringLiteral("file:///clips/a%20b.mkv"), QStringLiteral("a b.mkv")},
        {QStringLiteral("http://host/live/stream.ram?x=1"), QStringLiteral("stream.ram")},
        {QStringLiteral("rtsp://host:554/"), QStringLiteral("rtsp://host:554/")},
        {QStringLiteral("C://odd/name.mp3"), QStringLiteral("name.mp3")},
        {QStringLiteral("/clips/with:colon.mp3"), QStringLiteral("with:colon.mp3")},
        {PathBytes::toText("/clips/caf\xe9.avi"), QStringLiteral("caf\uFFFD.avi")},
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClipTitle::fileNameOf(c.location), c.shown) << c.location.toStdString();
}

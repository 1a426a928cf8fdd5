#include "mpris/MprisValues.h"
#include "base/PathBytes.h"
#include "engine/MediaControl.h"
#include "engine/MediaLocation.h"

#include <QDBusObjectPath>
#include <QDir>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

#include <limits>

namespace korvel {
namespace {

// A name written by a Latin-1 program: "é" is the single byte E9, no UTF-8.
const QString Latin1Name = PathBytes::toText("/clips/caf\xe9.avi");

MprisValues::Snapshot playingClip() {
    MprisValues::Snapshot s;
    s.state = MediaControl::Playing;
    s.source = QStringLiteral("/clips/first.avi");
    s.title = QStringLiteral("First clip");
    s.lengthMs = 20000;
    s.positionMs = 1500;
    s.volume = 40;
    return s;
}

// Fault: a state code shown under the wrong status, or an opening clip shown as stopped.
TEST(MprisValuesTest, StatusFollowsTheEngineState) {
    EXPECT_EQ(MprisValues::statusText(MediaControl::Playing), "Playing");
    EXPECT_EQ(MprisValues::statusText(MediaControl::Opening), "Playing");
    EXPECT_EQ(MprisValues::statusText(MediaControl::Paused), "Paused");
    EXPECT_EQ(MprisValues::statusText(MediaControl::Stopped), "Stopped");
    EXPECT_EQ(MprisValues::statusText(MediaControl::Closed), "Stopped");
    EXPECT_EQ(MprisValues::statusText(42), "Stopped");
}

// Fault: a track id that is no valid object path, changes between looks at the same clip,
// or names two clips alike (a SetPosition for the old clip would move the new one).
TEST(MprisValuesTest, TrackIdIsAStableObjectPathPerClip) {
    static const QRegularExpression path(QStringLiteral("^(/[A-Za-z0-9_]+)+$"));
    const QString first = MprisValues::trackId(QStringLiteral("/clips/first.avi"));
    EXPECT_TRUE(path.match(first).hasMatch()) << first.toStdString();
    EXPECT_FALSE(first.startsWith(u"/org/mpris/")) << first.toStdString();
    EXPECT_EQ(first, MprisValues::trackId(QStringLiteral("/clips/first.avi")));
    EXPECT_NE(first, MprisValues::trackId(QStringLiteral("/clips/second.avi")));
    const QString stream = MprisValues::trackId(QStringLiteral("http://host/a b|c?d=é"));
    EXPECT_TRUE(path.match(stream).hasMatch()) << stream.toStdString();
    EXPECT_EQ(MprisValues::trackId(QString()), MprisValues::NoTrack);
    EXPECT_NE(MprisValues::trackId(Latin1Name),
              MprisValues::trackId(PathBytes::toText("/clips/caf\xe8.avi")));
}

// Fault: a relative or blank-holding path given out as a URL that names another file, a
// name that is not UTF-8 given out as the escape characters that stand for its bytes, or a
// stream URL rewritten.
TEST(MprisValuesTest, SourcesBecomeUrls) {
    EXPECT_EQ(MprisValues::urlOf(QStringLiteral("/clips/a b#1.avi")),
              "file:///clips/a%20b%231.avi");
    EXPECT_EQ(MprisValues::urlOf(QStringLiteral("clip.avi")),
              QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("clip.avi")))
                  .toString(QUrl::FullyEncoded));
    EXPECT_EQ(MprisValues::urlOf(Latin1Name), "file:///clips/caf%E9.avi");
    EXPECT_EQ(MprisValues::urlOf(QStringLiteral("/clips/café.avi")), "file:///clips/caf%C3%A9.avi");
    EXPECT_EQ(MprisValues::locationOfUri(MprisValues::urlOf(Latin1Name)), Latin1Name);
    EXPECT_EQ(MprisValues::urlOf(QStringLiteral("rtsp://host:554/live")), "rtsp://host:554/live");
    EXPECT_EQ(MprisValues::urlOf(QString()), QString());
}

// Fault: a file URL handed over undecoded, a byte that is not UTF-8 decoded into another
// character (no such file), or a file of another machine taken as a path of this one
// (file://server/etc/x would open /etc/x here).
TEST(MprisValuesTest, OpenedUrisBecomeLocations) {
    EXPECT_EQ(MprisValues::locationOfUri(QStringLiteral("file:///clips/a%20b.avi")),
              "/clips/a b.avi");
    EXPECT_EQ(MprisValues::locationOfUri(QStringLiteral("file:///clips/caf%E9.avi")), Latin1Name);
    EXPECT_EQ(MprisValues::locationOfUri(QStringLiteral("file:///clips/caf%C3%A9.avi")),
              "/clips/café.avi");
    EXPECT_EQ(MprisValues::locationOfUri(QStringLiteral("FILE://localhost/clips/x.avi")),
              "/clips/x.avi");
    EXPECT_EQ(MprisValues::locationOfUri(QStringLiteral("file://server/etc/x.avi")),
              "file://server/etc/x.avi");
    EXPECT_EQ(MprisValues::locationOfUri(QStringLiteral("http://host/a%20b")), "http://host/a%20b");
    EXPECT_EQ(MprisValues::locationOfUri(QStringLiteral("/plain/path.avi")), "/plain/path.avi");
    EXPECT_EQ(MprisValues::locationOfUri(QString()), QString());
}

// Fault: microseconds cut toward zero below the start, or a lost factor of a thousand.
TEST(MprisValuesTest, TimesConvertBetweenUnits) {
    EXPECT_EQ(MprisValues::toMicroseconds(1500), 1500000);
    EXPECT_EQ(MprisValues::toMilliseconds(1999), 1);
    EXPECT_EQ(MprisValues::toMilliseconds(-1), -1);
    EXPECT_EQ(MprisValues::toMilliseconds(-1000), -1);
    EXPECT_EQ(MprisValues::toMilliseconds(-1001), -2);
    EXPECT_EQ(MprisValues::toMilliseconds(MprisValues::toMicroseconds(7 * 3600 * 1000LL)),
              7 * 3600 * 1000LL);
}

// Fault: a position told past the clip's end or before its start (a skip overshoots), or a
// live stream's position cut to its unknown length.
TEST(MprisValuesTest, ShownPositionStaysWithinTheClip) {
    EXPECT_EQ(MprisValues::shownPosition(34440, 30015), 30015);
    EXPECT_EQ(MprisValues::shownPosition(-5000, 30015), 0);
    EXPECT_EQ(MprisValues::shownPosition(12000, 30015), 12000);
    EXPECT_EQ(MprisValues::shownPosition(90000, 0), 90000);
}

// Fault: a bus volume outside 0..1 or no number at all reaching the slider, which the
// engine would refuse.
TEST(MprisValuesTest, VolumeMapsToTheSlider) {
    EXPECT_EQ(MprisValues::sliderOf(0.3), 30);
    EXPECT_EQ(MprisValues::sliderOf(0.005), 1);
    EXPECT_EQ(MprisValues::sliderOf(1.7), 100);
    EXPECT_EQ(MprisValues::sliderOf(-0.5), 0);
    EXPECT_EQ(MprisValues::sliderOf(std::numeric_limits<double>::infinity()), 100);
    EXPECT_EQ(MprisValues::sliderOf(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_DOUBLE_EQ(MprisValues::volumeOf(30), 0.3);
    EXPECT_EQ(MprisValues::sliderOf(MprisValues::volumeOf(57)), 57);
}

// Fault: metadata with the wrong types (a track id as a string, a length in milliseconds),
// or empty values given as if they were the clip's.
TEST(MprisValuesTest, MetadataDescribesTheClip) {
    const QVariantMap map = MprisValues::metadata(playingClip());
    ASSERT_EQ(map.value(QStringLiteral("mpris:trackid")).metaType(),
              QMetaType::fromType<QDBusObjectPath>());
    EXPECT_EQ(map.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              MprisValues::trackId(QStringLiteral("/clips/first.avi")));
    EXPECT_EQ(map.value(QStringLiteral("mpris:length")).metaType(),
              QMetaType::fromType<qlonglong>());
    EXPECT_EQ(map.value(QStringLiteral("mpris:length")).toLongLong(), 20000000);
    EXPECT_EQ(map.value(QStringLiteral("xesam:title")).toString(), "First clip");
    EXPECT_EQ(map.value(QStringLiteral("xesam:url")).toString(), "file:///clips/first.avi");

    MprisValues::Snapshot live = playingClip();
    live.title.clear();
    live.lengthMs = 0;
    const QVariantMap liveMap = MprisValues::metadata(live);
    EXPECT_FALSE(liveMap.contains(QStringLiteral("mpris:length")));
    EXPECT_FALSE(liveMap.contains(QStringLiteral("xesam:title")));

    const QVariantMap none = MprisValues::metadata(MprisValues::Snapshot{});
    EXPECT_EQ(none.keys(), QStringList{QStringLiteral("mpris:trackid")});
    EXPECT_EQ(none.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              MprisValues::NoTrack);
}

// Fault: commands offered that do nothing in the state at hand (pause of a stopped clip,
// seeking a live stream, next outside the list).
TEST(MprisValuesTest, AbilitiesFollowTheState) {
    const auto flags = [](const MprisValues::Snapshot& s) {
        const QVariantMap p = MprisValues::playerProperties(s);
        return QStringList{p.value(QStringLiteral("CanPlay")).toString(),
                           p.value(QStringLiteral("CanPause")).toString(),
                           p.value(QStringLiteral("CanSeek")).toString(),
                           p.value(QStringLiteral("CanGoNext")).toString(),
                           p.value(QStringLiteral("CanGoPrevious")).toString()};
    };
    EXPECT_EQ(flags(playingClip()), QStringList({"true", "true", "true", "false", "false"}));
    MprisValues::Snapshot stopped = playingClip();
    stopped.state = MediaControl::Stopped;
    stopped.canGoPrevious = true;
    EXPECT_EQ(flags(stopped), QStringList({"true", "false", "true", "false", "true"}));
    MprisValues::Snapshot live = playingClip();
    live.lengthMs = 0;
    EXPECT_EQ(flags(live), QStringList({"true", "true", "false", "false", "false"}));
    EXPECT_EQ(flags(MprisValues::Snapshot{}),
              QStringList({"false", "false", "false", "false", "false"}));
}

// Fault: announcing unchanged values at every look (the metadata's object path compared
// as unequal to itself), announcing the position, or missing a real change.
TEST(MprisValuesTest, OnlyChangedPropertiesAreAnnounced) {
    const MprisValues::Snapshot before = playingClip();
    EXPECT_TRUE(MprisValues::changedProperties(before, before).isEmpty());

    MprisValues::Snapshot later = before;
    later.positionMs += 250;
    EXPECT_TRUE(MprisValues::changedProperties(before, later).isEmpty());

    later.volume = 30;
    later.state = MediaControl::Paused;
    QVariantMap changed = MprisValues::changedProperties(before, later);
    EXPECT_EQ(changed.keys(), QStringList({"PlaybackStatus", "Volume"}));
    EXPECT_EQ(changed.value(QStringLiteral("PlaybackStatus")).toString(), "Paused");
    EXPECT_DOUBLE_EQ(changed.value(QStringLiteral("Volume")).toDouble(), 0.3);

    later = before;
    later.loop = true;
    later.shuffle = true;
    later.canGoNext = true;
    changed = MprisValues::changedProperties(before, later);
    EXPECT_EQ(changed.keys(), QStringList({"CanGoNext", "LoopStatus", "Shuffle"}));
    EXPECT_EQ(changed.value(QStringLiteral("LoopStatus")).toString(), "Playlist");
    EXPECT_EQ(changed.value(QStringLiteral("Shuffle")).metaType(), QMetaType::fromType<bool>());

    MprisValues::Snapshot other = before;
    other.source = QStringLiteral("/clips/second.avi");
    other.title = QStringLiteral("Second clip");
    changed = MprisValues::changedProperties(before, other);
    EXPECT_EQ(changed.keys(), QStringList{QStringLiteral("Metadata")});
    EXPECT_EQ(
        changed.value(QStringLiteral("Metadata")).toMap().value(QStringLiteral("xesam:title")),
        "Second clip");
}

// Fault: the list's LOOP shown under a status the desktop does not know, or a status the list
// cannot show ("Track", a misspelt one) taken for one it can.
TEST(MprisValuesTest, LoopStatusIsTheListsLoop) {
    EXPECT_EQ(MprisValues::loopStatusText(true), "Playlist");
    EXPECT_EQ(MprisValues::loopStatusText(false), "None");
    EXPECT_EQ(MprisValues::loopOf(QStringLiteral("Playlist")), true);
    EXPECT_EQ(MprisValues::loopOf(QStringLiteral("None")), false);
    for (const char* other : {"Track", "playlist", "", "None "})
        EXPECT_EQ(MprisValues::loopOf(QString::fromLatin1(other)), std::nullopt) << other;
}

// Fault: schemes offered to the desktop that the player's gate then refuses, or file missing.
TEST(MprisValuesTest, OfferedSchemesAreThoseThePlayerOpens) {
    const QStringList schemes = MprisValues::uriSchemes();
    ASSERT_TRUE(schemes.contains(QStringLiteral("file")));
    EXPECT_GE(schemes.size(), 2);
    for (const QString& scheme : schemes) {
        if (scheme == u"file") continue;
        const QString url = scheme + QStringLiteral("://host/clip");
        EXPECT_NO_THROW(MediaLocation::engineTarget(url)) << url.toStdString();
    }
    QStringList once = schemes;
    EXPECT_EQ(once.removeDuplicates(), 0);
}

} // namespace
} // namespace korvel

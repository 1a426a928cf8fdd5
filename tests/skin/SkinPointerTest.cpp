#include "../support/SkinTestSupport.h"

#include "skin/SkinPointer.h"

#include <gtest/gtest.h>

using namespace korvel;
using korvel::test::describe;

namespace {

const ShiftState NoShift{};

// A skin with two buttons side by side, a toggle, a radio group of three, an area lying over
// a trackbar, a horizontal and a vertical trackbar (thumbs 10 x 11).
const QStringList Areas = {
    "PLAY, 0, 0, 20, 10, play",
    "STOP, 20, 0, 20, 10, stop",
    "MUTE, 40, 0, 20, 10, mute, FALSE",
    "R1, 0, 20, 10, 10, r1, TRUE, radio",
    "R2, 10, 20, 10, 10, r2, FALSE, RADIO",
    "R3, 20, 20, 10, 10, r3, FALSE, Radio",
    "OVER, 100, 61, 4, 4, over",
    "WIDE, 0, 0, 60, 10, wide",
};
const QStringList PointerBars = {
    "VOL, TrackBar.BMP, TrackBar.BMP, 12, 61, 95, H, 50, volume",
    "VERT, TrackBar.BMP, TrackBar.BMP, 200, 10, 0, 60, V, 0, vertical",
};

// Notifications in the order they were raised, as "kind:id[:value]".
struct Recorder {
    QStringList events;

    void attach(SkinPointer& pointer) {
        pointer.OnMouseDownNotify = [this](const QString& id, Qt::MouseButton, ShiftState, int,
                                           int) { events << "down:" + id; };
        pointer.OnMouseUpNotify = [this](const QString& id, Qt::MouseButton, ShiftState, int, int) {
            events << "up:" + id;
        };
        pointer.OnTrackBarNotify = [this](const QString& id, int position) {
            events << QStringLiteral("bar:%1:%2").arg(id).arg(position);
        };
    }
};

class SkinPointerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStringList bars = PointerBars;
        bars[1] = "VERT, TrackBar.BMP, TrackBar.BMP, 200, 10, 60, V, 0, vertical";
        engine.loadDescription(describe(150, Areas, {}, bars));
        recorder.attach(pointer);
    }

    bool press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        const bool move = pointer.MouseDown(button, NoShift, x, y);
        pointer.finishPress(button, NoShift, x, y);
        return move;
    }
    void release(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        pointer.MouseUp(button, NoShift, x, y);
    }
    void move(int x, int y) { pointer.MouseMove(NoShift, x, y); }

    const HotAreaInfoRec& area(const char* id) {
        return engine.model().HotAreas[std::size_t(engine.model().FindHotArea(QString(id)))];
    }
    const TrackBarInfoRec& bar(int i) { return engine.model().TrackBars[std::size_t(i)]; }
    QRgb facePixel(int x, int y) { return engine.face().pixel(x, y); }
    QRgb look(const QImage& image, int x, int y) { return image.pixel(x, y); }

    SkinEngine engine;
    SkinPointer pointer{engine};
    Recorder recorder;
};

} // namespace

// The release names the area under the pointer at the release, whichever took the press.
TEST_F(SkinPointerTest, ReleaseNamesTheAreaUnderThePointer) {
    EXPECT_FALSE(press(5, 5));
    EXPECT_TRUE(area("PLAY").Pressed);
    EXPECT_EQ(facePixel(5, 5), look(engine.model().MouseDownBitmap, 5, 5));
    move(25, 5);
    release(25, 5);
    EXPECT_EQ(recorder.events, QStringList({"down:PLAY", "up:STOP"}));
    EXPECT_FALSE(area("PLAY").Pressed);
}

// A toggle flips at the press, so its owner reads the new state during the release; a
// release outside every area carries the empty name; a double click flips it twice.
TEST_F(SkinPointerTest, TogglesFlipAtEachPress) {
    press(45, 5);
    EXPECT_TRUE(area("MUTE").Down);
    move(150, 100);
    release(150, 100);
    EXPECT_EQ(recorder.events, QStringList({"down:MUTE", "up:"}));
    EXPECT_TRUE(area("MUTE").Down);
    EXPECT_EQ(facePixel(45, 5), look(engine.model().MouseDownBitmap, 45, 5));
    press(45, 5);
    release(45, 5);
    press(45, 5); // the second press of a double click
    release(45, 5);
    EXPECT_TRUE(area("MUTE").Down);
}

// Right and middle presses change no element, start no move and carry the empty name.
TEST_F(SkinPointerTest, OtherButtonsOnlyNotify) {
    EXPECT_FALSE(press(45, 5, Qt::RightButton));
    EXPECT_FALSE(press(60, 60, Qt::MiddleButton));
    EXPECT_FALSE(area("MUTE").Down);
    release(45, 5, Qt::RightButton);
    EXPECT_EQ(recorder.events, QStringList({"down:", "down:", "up:MUTE"}));
}

// A press on bare face asks for a window move; the press notification still follows.
TEST_F(SkinPointerTest, BareFaceMovesTheWindow) {
    EXPECT_TRUE(press(150, 100));
    EXPECT_EQ(recorder.events, QStringList({"down:"}));
}

// Radio groups: the pressed member ends down and the one recorded down ends up; pressing the
// member already down keeps it down; SetButtonState leaves the record alone.
TEST_F(SkinPointerTest, RadioGroupsKeepOneMemberDown) {
    press(15, 25);
    release(15, 25);
    EXPECT_FALSE(area("R1").Down);
    EXPECT_TRUE(area("R2").Down);
    EXPECT_EQ(engine.model().GroupDown, QStringList({"4"}));
    press(15, 25);
    release(15, 25);
    EXPECT_TRUE(area("R2").Down);
    engine.SetButtonState(u"R3", true);
    engine.SetButtonState(u"R2", false);
    press(5, 25); // sets up the member recorded (R2), not R3
    EXPECT_TRUE(area("R1").Down);
    EXPECT_TRUE(area("R3").Down);
    EXPECT_EQ(engine.model().GroupDown, QStringList({"3"}));
}

// The worked example: a press on the track jumps the thumb, then a window move follows; a
// thumb drag follows the pointer only within the track's span.
TEST_F(SkinPointerTest, TrackPressesAndThumbDrags) {
    EXPECT_TRUE(press(100, 65));
    EXPECT_EQ(bar(0).Position, 97);
    EXPECT_EQ(bar(0).ThumbOffset, 82);
    EXPECT_EQ(recorder.events, QStringList({"bar:VOL:97", "down:VOL"}));

    engine.SetTrackBarPosition(u"VOL", 50);
    recorder.events.clear();
    EXPECT_FALSE(press(58, 65));
    EXPECT_EQ(engine.model().GrabOffset, 4);
    EXPECT_EQ(engine.model().ActiveTrackBar, 0);
    move(80, 200); // beside the track still drags
    EXPECT_EQ(bar(0).Position, 75);
    EXPECT_EQ(bar(0).ThumbOffset, 63);
    move(108, 65);
    EXPECT_EQ(bar(0).Position, 75);
    move(107, 65);
    EXPECT_EQ(bar(0).Position, 100);
    EXPECT_EQ(bar(0).ThumbOffset, 85);
    release(107, 65);
    EXPECT_EQ(recorder.events, QStringList({"down:VOL", "bar:VOL:75", "bar:VOL:100", "up:"}));
    EXPECT_EQ(engine.model().ActiveTrackBar, -1);
}

// The dragged thumb shows its active image from the first composition after the press on
// and is told apart from the idle one until the release.
TEST_F(SkinPointerTest, DraggedThumbIsComposedAsActive) {
    press(58, 65);
    EXPECT_EQ(engine.model().ActiveTrackBar, 0);
    EXPECT_TRUE(engine.model().Dragging);
    release(58, 65);
    EXPECT_FALSE(engine.model().Dragging);
    EXPECT_EQ(engine.model().ActiveTrackBar, -1);
}

// An area over a trackbar: a press on the common part acts on both, and the press
// notification carries the trackbar's name; no window move follows.
TEST_F(SkinPointerTest, AreaOverTrackActsOnBoth) {
    EXPECT_FALSE(press(101, 62));
    EXPECT_TRUE(area("OVER").Pressed);
    EXPECT_EQ(recorder.events.back(), QString("down:VOL"))
        << recorder.events.join(" ").toStdString();
    EXPECT_EQ(int(bar(0).Position), 98);
}

// A vertical track takes presses only above its last thumb height.
TEST_F(SkinPointerTest, VerticalTrackDeadZone) {
    EXPECT_TRUE(press(205, 62)); // within the last 11 pixels of the 60-pixel track
    EXPECT_EQ(bar(1).Position, 0);
    EXPECT_TRUE(press(205, 40));
    EXPECT_EQ(bar(1).Position, (40 - 10 - 5) * 100 / 49);
}

// The earlier of two overlapping areas takes presses; moving onto an earlier neighbour keeps
// the pressed area pressed until a move over no area.
TEST_F(SkinPointerTest, PressedLookKeptOverAnEarlierNeighbour) {
    press(25, 5); // STOP (WIDE lies under both, later in the table)
    move(5, 5);   // onto PLAY, earlier than STOP
    EXPECT_TRUE(area("STOP").Pressed);
    release(5, 5);
    EXPECT_TRUE(area("STOP").Pressed);
    EXPECT_EQ(facePixel(25, 5), look(engine.model().MouseDownBitmap, 25, 5));
    move(150, 100);
    EXPECT_FALSE(area("STOP").Pressed);
}

// The hover look stays behind until the face is recomposed, one move after the pointer
// passed between areas and bare face; the tooltip follows areas first, then bars.
TEST_F(SkinPointerTest, HoverAndTooltips) {
    QStringList on = {"MaskBitmap=PlayerMask.jpg\r\nMouseUpBitmap=PlayerMain.jpg\r\n"
                      "MouseDownBitmap=PlayerSel.jpg\r\nMouseOnBitmap=PlayerMask.jpg\r\n"};
    engine.loadDescription(describe(150, Areas, {}, PointerBars.mid(0, 1), on[0]));
    const QImage& hover = engine.model().MouseOnBitmap;
    move(5, 5);
    EXPECT_EQ(pointer.tooltipText(), "play");
    EXPECT_EQ(facePixel(5, 5), look(hover, 5, 5));
    move(6, 5); // entering the area from bare face recomposes once, then hovers again
    EXPECT_EQ(facePixel(5, 5), look(hover, 5, 5));
    move(25, 5);
    EXPECT_EQ(facePixel(5, 5), look(hover, 5, 5)); // left behind
    move(150, 100);
    EXPECT_TRUE(engine.model().FaceStale);
    EXPECT_EQ(pointer.tooltipText(), "");
    move(151, 100);
    EXPECT_EQ(facePixel(5, 5), look(engine.model().MouseUpBitmap, 5, 5));
    move(30, 66);
    EXPECT_EQ(pointer.tooltipText(), "volume");
    move(101, 62);
    EXPECT_EQ(pointer.tooltipText(), "over");
}

// Owners may call element operations from inside a notification.
TEST_F(SkinPointerTest, OwnersMayActInsideNotifications) {
    pointer.OnTrackBarNotify = [this](const QString& id, int position) {
        engine.SetDisplayText(u"none", QString::number(position));
        engine.SetTrackBarPosition(id, position / 2);
    };
    press(100, 65);
    EXPECT_EQ(bar(0).Position, 48);
    EXPECT_EQ(engine.face().pixel(12 + 40, 61), bar(0).ThumbImage.pixel(0, 0));
}

// A track no longer than its thumb ignores presses and drags; the press moves the window.
TEST(SkinPointerInert, TrackNoLongerThanItsThumbIgnoresThePointer) {
    SkinEngine engine;
    engine.loadDescription(
        describe(150, {}, {}, {"DEAD, TrackBar.BMP, TrackBar.BMP, 0, 0, 10, H, 50"}));
    SkinPointer pointer(engine);
    int notified = 0;
    pointer.OnTrackBarNotify = [&notified](const QString&, int) { ++notified; };
    EXPECT_TRUE(pointer.MouseDown(Qt::LeftButton, NoShift, 5, 5));
    pointer.MouseMove(NoShift, 8, 5);
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(engine.GetTrackBarPosition(u"DEAD"), 0);
}

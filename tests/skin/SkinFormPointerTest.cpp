// Pointer input through real skinned windows: events go in at the window, as the platform
// would send them, so Qt's own routing (implicit grab, double-click detection) takes part.

#include "player/RealPlay1.h"
#include "playlist/ListPalette.h"
#include "playlist/PlayList.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <vector>

using namespace korvel;

namespace {

const QRect PlayRect(55, 90, 24, 19);
const QRect StopRect(105, 90, 24, 19);
const QRect MuteRect(108, 60, 22, 14);
const QPoint PlayPoint = PlayRect.center();
const QPoint StopPoint = StopRect.center();
const QPoint MutePoint = MuteRect.center();
// On the panel's logo: outside every hot area, track and thumb.
const QPoint BareFace(150, 8);

// Load failures are collected, not shown in a box that would wait for a user.
class ErrorSink {
public:
    ErrorSink() {
        ErrorBox::setSink([this](const QString& text) { texts.append(text); });
    }
    ~ErrorSink() { ErrorBox::setSink({}); }
    QStringList texts;
};

bool showAt(QWidget& form, QPoint position) {
    form.move(position);
    form.show();
    return QTest::qWaitForWindowExposed(&form);
}

void press(QWidget& form, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(form.windowHandle(), button, {}, at);
}

void release(QWidget& form, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(form.windowHandle(), button, {}, at);
}

void click(QWidget& form, QPoint at) {
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, at);
}

// Moves the pointer to a point of the window (held buttons stay held).
void moveTo(QWidget& form, QPoint at) { QTest::mouseMove(form.windowHandle(), at); }

// Moves the pointer to a point of the screen; the window may have moved under it.
void moveToScreen(QWidget& form, QPoint global) {
    QTest::mouseMove(form.windowHandle(), form.windowHandle()->mapFromGlobal(global));
}

// What the window system shows of the window.
QImage onScreen(QWidget& form) {
    return form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage part(const QImage& image, QRect area) {
    return image.convertToFormat(QImage::Format_RGB32).copy(area);
}

// Waits for the screen to show `look` inside `area` of the window; no further input comes.
bool screenShows(QWidget& form, QRect area, const QImage& look) {
    const QImage wanted = part(look, area);
    return QTest::qWaitFor([&] { return onScreen(form).copy(area) == wanted; }, 3000);
}

bool screenShowsFace(QWidget& form, const TSkinForm& skin) {
    return QTest::qWaitFor(
        [&] { return onScreen(form) == part(skin.engine().face(), skin.rect()); }, 3000);
}

// A tooltip is hidden a moment after it is asked to go.
bool noToolTip() {
    QToolTip::hideText();
    return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
}

void askForToolTip(TSkinForm& skin, QPoint at) {
    QHelpEvent help(QEvent::ToolTip, at, skin.mapToGlobal(at));
    QApplication::sendEvent(&skin, &help);
}

struct Press {
    QString id;
    Qt::MouseButton button;
    bool doubleClick;
    QPoint windowPos;
};

// Records the press notifications, with where the window was when each came.
void recordPresses(TSkinForm& skin, std::vector<Press>& presses) {
    skin.pointer().OnMouseDownNotify = [&presses, &skin](const QString& id, Qt::MouseButton button,
                                                         ShiftState shift, int, int) {
        presses.push_back(Press{id, button, shift.doubleClick, skin.window()->pos()});
    };
}

// What a skin reports to its window through the notifications (left-button releases, as
// the windows take them, and slider moves), recorded beside the window's own handlers.
struct Heard : QList<QList<QVariant>> {
    bool isValid() const { return true; }
};

void listen(TSkinForm& skin, Heard& released, Heard* moved = nullptr) {
    auto up = skin.pointer().OnMouseUpNotify;
    skin.pointer().OnMouseUpNotify = [&released, up](const QString& id, Qt::MouseButton button,
                                                     ShiftState shift, int x, int y) {
        if (button == Qt::LeftButton) released.append(QVariantList{id});
        if (up) up(id, button, shift, x, y);
    };
    if (!moved) return;
    auto slid = skin.pointer().OnTrackBarNotify;
    skin.pointer().OnTrackBarNotify = [moved, slid](const QString& id, int position) {
        moved->append(QVariantList{id, position});
        if (slid) slid(id, position);
    };
}

QStringList ids(const QList<QList<QVariant>>& spy) {
    QStringList list;
    for (const QList<QVariant>& arguments : spy) list.append(arguments.at(0).toString());
    return list;
}

// The player panel, shown, with its releases and slider moves recorded.
class PanelPointer : public ::testing::Test {
protected:
    void SetUp() override {
        listen(skin, released, &moved);
        ASSERT_TRUE(noToolTip());
        ASSERT_TRUE(showAt(panel, QPoint(100, 100)));
        ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
        ASSERT_TRUE(released.isValid());
        ASSERT_TRUE(moved.isValid());
    }
    void TearDown() override { EXPECT_TRUE(noToolTip()); }

    const QImage& upLook() const { return skin.engine().model().MouseUpBitmap; }
    const QImage& downLook() const { return skin.engine().model().MouseDownBitmap; }

    ErrorSink errors;
    TForm1 panel;
    TSkinForm& skin = *panel.SkinForm1();
    Heard released;
    Heard moved;
};

} // namespace

// The pressed look must reach the screen with the press itself, and the release must reach
// the window by the button's name and give the button its normal look back.
TEST_F(PanelPointer, PressShowsPressedLookAndReleaseNamesTheButton) {
    ASSERT_NE(part(downLook(), PlayRect), part(upLook(), PlayRect));
    ASSERT_TRUE(screenShows(panel, PlayRect, upLook()));

    press(panel, PlayPoint);
    EXPECT_TRUE(screenShows(panel, PlayRect, downLook()));
    EXPECT_TRUE(released.isEmpty());

    release(panel, PlayPoint);
    EXPECT_TRUE(screenShows(panel, PlayRect, upLook()));
    EXPECT_EQ(ids(released), QStringList({"BUTTON_PLAY"}));
}

// Fault: on a screen scaled by two the pointer lands in halves of face pixels; rounding gave
// the right half of a button's last column to the bare face beside it (the press dragged the
// window instead) and the left half of the column before a button to the button. The events
// go in at the window, where the toolkit rounds what it passes on to the widget.
TEST_F(PanelPointer, HalfPixelsBelongToThePixelTheyAreIn) {
    const auto clickAt = [this](QPointF at) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent event(type, at, at, panel.windowHandle()->mapToGlobal(at), Qt::LeftButton,
                              held, {});
            QApplication::sendEvent(panel.windowHandle(), &event);
        }
    };
    const double middle = PlayPoint.y() + 0.5;
    clickAt(QPointF(PlayRect.right() + 0.5, middle));
    EXPECT_EQ(ids(released), QStringList({"BUTTON_PLAY"}));
    EXPECT_EQ(panel.pos(), QPoint(100, 100));

    clickAt(QPointF(PlayRect.left() - 0.5, middle));
    EXPECT_EQ(ids(released), QStringList({"BUTTON_PLAY"}));
    clickAt(QPointF(PlayRect.left() + 0.5, PlayRect.bottom() + 0.5));
    EXPECT_EQ(ids(released), QStringList({"BUTTON_PLAY", "BUTTON_PLAY"}));
}

// A toggle keeps its down look after the release, and the next click brings it back up.
TEST_F(PanelPointer, ToggleFlipsAndKeepsItsLook) {
    ASSERT_NE(part(downLook(), MuteRect), part(upLook(), MuteRect));

    click(panel, MutePoint);
    EXPECT_TRUE(skin.GetButtonState(u"BUTTON_MUTE"));
    EXPECT_TRUE(screenShows(panel, MuteRect, downLook()));

    click(panel, MutePoint);
    EXPECT_FALSE(skin.GetButtonState(u"BUTTON_MUTE"));
    EXPECT_TRUE(screenShows(panel, MuteRect, upLook()));
    EXPECT_EQ(ids(released), QStringList({"BUTTON_MUTE", "BUTTON_MUTE"}));
}

// Right and middle buttons are no commands: they press nothing, flip nothing, move no
// window, their presses are told at once with no element, and their releases reach no
// command.
TEST_F(PanelPointer, OtherButtonsAreNoCommands) {
    std::vector<Press> presses;
    recordPresses(skin, presses);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        SCOPED_TRACE(int(button));
        press(panel, PlayPoint, button);
        EXPECT_EQ(part(skin.engine().face(), PlayRect), part(upLook(), PlayRect));
        release(panel, PlayPoint, button);

        press(panel, MutePoint, button);
        release(panel, MutePoint, button);
        EXPECT_FALSE(skin.GetButtonState(u"BUTTON_MUTE"));

        const QPoint start = panel.pos();
        press(panel, BareFace, button);
        moveToScreen(panel, panel.mapToGlobal(BareFace) + QPoint(60, 45));
        release(panel, BareFace + QPoint(60, 45), button);
        EXPECT_EQ(panel.pos(), start);
    }
    EXPECT_TRUE(released.isEmpty()) << ids(released).join(',').toStdString();
    ASSERT_EQ(presses.size(), 6U);
    for (const Press& p : presses) EXPECT_EQ(p.id, "");
}

// A thumb drag follows the pointer along the track (worked example: thumb grabbed 4 px from
// its edge; 80 gives 75, 108 lies beyond the track and is ignored, 107 gives 100), shows the
// thumb where it is, and never moves the window.
TEST_F(PanelPointer, VolumeThumbDragFollowsThePointer) {
    ASSERT_EQ(skin.GetTrackBarPosition(u"TRACKBAR_VOLUME"), 50);
    const QPoint start = panel.pos();

    press(panel, QPoint(58, 65));
    for (const int x : {80, 108, 107}) moveTo(panel, QPoint(x, 65));
    release(panel, QPoint(107, 65));

    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.at(0), QVariantList({"TRACKBAR_VOLUME", 75}));
    EXPECT_EQ(moved.at(1), QVariantList({"TRACKBAR_VOLUME", 100}));
    EXPECT_EQ(skin.GetTrackBarPosition(u"TRACKBAR_VOLUME"), 100);
    EXPECT_EQ(panel.pos(), start);
    EXPECT_TRUE(screenShowsFace(panel, skin));
    // The release was over no button: the window hears of it without a name.
    EXPECT_EQ(ids(released), QStringList({""}));
}

// A press on the bare face moves the window with the pointer; the release that ends the move
// is no release notification, the press is told after the move with no element, and the
// next click is an ordinary click again.
TEST_F(PanelPointer, PressOnBareFaceMovesTheWindow) {
    std::vector<Press> presses;
    recordPresses(skin, presses);
    const QPoint start = panel.pos();
    const QPoint grab = panel.mapToGlobal(BareFace);

    press(panel, BareFace);
    moveToScreen(panel, grab + QPoint(20, 15));
    moveToScreen(panel, grab + QPoint(60, 45));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.pos() == start + QPoint(60, 45); }, 3000))
        << panel.pos().x() << ',' << panel.pos().y();
    release(panel, panel.mapFromGlobal(grab + QPoint(60, 45)));

    EXPECT_TRUE(released.isEmpty()) << ids(released).join(',').toStdString();
    ASSERT_EQ(presses.size(), 1U);
    EXPECT_EQ(presses[0].id, "");
    EXPECT_EQ(presses[0].button, Qt::LeftButton);
    EXPECT_EQ(presses[0].windowPos, start + QPoint(60, 45));

    click(panel, PlayPoint);
    EXPECT_EQ(ids(released), QStringList({"BUTTON_PLAY"}));
    EXPECT_EQ(panel.pos(), start + QPoint(60, 45));
}

// A press on a track jumps the thumb there (x 100 gives 97) and then moves the window, whose
// closing release is no command.
TEST_F(PanelPointer, PressOnTrackJumpsThenMovesTheWindow) {
    const QPoint start = panel.pos();
    const QPoint grab = panel.mapToGlobal(QPoint(100, 65));

    press(panel, QPoint(100, 65));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0), QVariantList({"TRACKBAR_VOLUME", 97}));

    moveToScreen(panel, grab + QPoint(30, 20));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.pos() == start + QPoint(30, 20); }, 3000));
    release(panel, QPoint(100, 65));

    EXPECT_TRUE(released.isEmpty());
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(skin.GetTrackBarPosition(u"TRACKBAR_VOLUME"), 97);
}

// A double click arrives as two presses, the second marked: a toggle flips twice and the
// window hears two releases.
TEST_F(PanelPointer, DoubleClickFlipsAToggleTwice) {
    std::vector<Press> presses;
    recordPresses(skin, presses);

    QTest::mouseDClick(panel.windowHandle(), Qt::LeftButton, {}, MutePoint);

    ASSERT_EQ(presses.size(), 2U);
    EXPECT_EQ(presses[0].id, "BUTTON_MUTE");
    EXPECT_FALSE(presses[0].doubleClick);
    EXPECT_EQ(presses[1].id, "BUTTON_MUTE");
    EXPECT_TRUE(presses[1].doubleClick);
    EXPECT_FALSE(skin.GetButtonState(u"BUTTON_MUTE"));
    EXPECT_TRUE(screenShows(panel, MuteRect, upLook()));
    EXPECT_EQ(ids(released), QStringList({"BUTTON_MUTE", "BUTTON_MUTE"}));
}

// While the button is held after a press on the face, moves and the release keep coming
// from outside it: the release out there names no element, reaches the window without a
// name, and leaves the button pressed up.
TEST_F(PanelPointer, HeldButtonKeepsThePointerOutsideTheFace) {
    std::vector<QPoint> moves;
    skin.pointer().OnMouseMoveNotify = [&moves](const QString&, ShiftState, int x, int y) {
        moves.emplace_back(x, y);
    };
    const QPoint outside(400, 200);
    const QPoint start = panel.pos();

    press(panel, PlayPoint);
    moveTo(panel, outside);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), outside);

    release(panel, outside);
    EXPECT_EQ(ids(released), QStringList({""}));
    EXPECT_TRUE(screenShows(panel, PlayRect, upLook()));
    EXPECT_EQ(panel.pos(), start);
}

// The same on a bare skin component: a thumb dragged with the pointer below the window
// follows the pointer along the track, and the release out there still arrives.
TEST(SkinFormPointer, ThumbDragGoesOnOutsideTheFace) {
    ErrorSink errors;
    QWidget form;
    auto* skin = new TSkinForm(&form);
    skin->LoadSkin(QStringLiteral("Skin"));
    ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
    ASSERT_TRUE(showAt(form, QPoint(50, 50)));
    std::vector<std::pair<QString, int>> positions;
    skin->pointer().OnTrackBarNotify = [&positions](const QString& id, int position) {
        positions.emplace_back(id, position);
    };
    std::vector<std::pair<QString, QPoint>> releases;
    skin->pointer().OnMouseUpNotify = [&releases](const QString& id, Qt::MouseButton, ShiftState,
                                                  int x, int y) {
        releases.emplace_back(id, QPoint(x, y));
    };

    // The thumb of TRACKBAR_POS sits at 16..25; grabbed 4 px from its edge. At x 136 the
    // thumb offset is 116 of 230: position 50.
    press(form, QPoint(20, 80));
    moveTo(form, QPoint(136, 300));
    release(form, QPoint(136, 300));

    ASSERT_EQ(positions.size(), 1U);
    EXPECT_EQ(positions[0], std::make_pair(QStringLiteral("TRACKBAR_POS"), 50));
    ASSERT_EQ(releases.size(), 1U);
    EXPECT_EQ(releases[0], std::make_pair(QString(), QPoint(136, 300)));
    EXPECT_EQ(form.pos(), QPoint(50, 50));
}

// The panel's tooltip brings the hint of the element under the pointer, and follows it:
// moved onto another button or a slider, the tooltip names that one; over the bare face it
// goes.
TEST_F(PanelPointer, HintFollowsTheElementUnderThePointer) {
    moveTo(panel, PlayPoint);
    askForToolTip(skin, PlayPoint);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("再生(Ctrl+P)"));

    moveTo(panel, StopPoint);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("停止(Ctrl+S)"));

    moveTo(panel, QPoint(30, 66));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("ボリューム"));

    moveTo(panel, BareFace);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
    askForToolTip(skin, BareFace);
    EXPECT_FALSE(QToolTip::isVisible());
}

// Fault: in the program the playlist is made after the panel, and the panel's tooltip kept
// the first hint it showed: over STOP it still named PAUSE. It names the button under the
// pointer, asked for anew or not, and stays while the pointer moves within one button.
TEST(SkinFormPointer, PanelHintFollowsWithThePlaylistMadeLast) {
    ASSERT_TRUE(noToolTip());
    ErrorSink errors;
    TForm1 panel;
    TForm2 playlist;
    TSkinForm& skin = *panel.SkinForm1();
    ASSERT_TRUE(showAt(panel, QPoint(100, 100)));
    const QPoint pause(92, 99);

    moveTo(panel, pause);
    askForToolTip(skin, pause);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("一時停止(Ctrl+A)"));
    // A tooltip asked to hide goes within a third of a second; this one must stay.
    moveTo(panel, pause + QPoint(3, 2));
    EXPECT_FALSE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 1000));

    moveTo(panel, StopPoint);
    askForToolTip(skin, StopPoint);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("停止(Ctrl+S)"));
    EXPECT_TRUE(noToolTip());
}

// The playlist window shows no tooltips, though its elements have hints.
TEST(SkinFormPointer, PlaylistShowsNoHints) {
    ASSERT_TRUE(noToolTip());
    ErrorSink errors;
    TForm2 playlist;
    TSkinForm& skin = *playlist.SkinForm1();
    ASSERT_TRUE(showAt(playlist, QPoint(60, 60)));

    moveTo(playlist, QPoint(300, 10));
    EXPECT_EQ(skin.pointer().tooltipText(), "UP");
    askForToolTip(skin, QPoint(300, 10));
    EXPECT_FALSE(QToolTip::isVisible());
}

// Fault: the playlist, hidden most of the time, held its face's pictures, its grid and its
// fields (their text, and with it the fonts) from the start; or, shown, it showed a face
// without them (its PLAY toggle, down from the start, in its up look) or fields in the
// toolkit's colours.
TEST(SkinFormPointer, PlaylistHoldsItsPicturesOnlyWhileShown) {
    ErrorSink errors;
    TForm2 playlist;
    const SkinEngine& engine = playlist.SkinForm1()->engine();
    EXPECT_TRUE(engine.face().isNull() && engine.model().MouseDownBitmap.isNull());
    EXPECT_EQ(playlist.findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(playlist.findChild<QAbstractItemView*>(), nullptr);
    ASSERT_TRUE(showAt(playlist, QPoint(60, 60)));
    auto* url = playlist.findChild<QLineEdit*>(QStringLiteral("URL"));
    ASSERT_NE(url, nullptr);
    EXPECT_EQ(url->grab().toImage().pixelColor(url->width() / 2, url->height() / 2),
              ListPalette::FieldBase);
    ASSERT_FALSE(engine.face().isNull());
    const QPoint play(20, 185);
    EXPECT_EQ(engine.face().pixel(play), engine.model().MouseDownBitmap.pixel(play));
    playlist.hide();
    EXPECT_TRUE(engine.face().isNull() && engine.model().MouseUpBitmap.isNull());
}

// The playlist's releases reach it by name, left button only.
TEST(SkinFormPointer, PlaylistReleasesReachItByName) {
    ErrorSink errors;
    TForm2 playlist;
    ASSERT_TRUE(showAt(playlist, QPoint(60, 60)));
    Heard released;
    listen(*playlist.SkinForm1(), released);

    click(playlist, QPoint(300, 10));
    QTest::mouseClick(playlist.windowHandle(), Qt::RightButton, {}, QPoint(520, 185));
    click(playlist, QPoint(20, 185));

    EXPECT_EQ(ids(released), QStringList({"UP", "PLAY"}));
    EXPECT_FALSE(playlist.SkinForm1()->GetButtonState(u"PLAY"));
}

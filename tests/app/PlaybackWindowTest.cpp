#include "../support/ErrorCapture.h"
#include "../support/ErrorText.h"
#include "../support/FakeMediaControl.h"
#include "../support/PlaybackFakes.h"
#include "../support/ScratchFile.h"

#include "app/PlayerWindows.h"
#include "base/FixedTexts.h"
#include "playlist/PlayListGrid.h"
#include "playlist/SettingsData.h"
#include "skin/SkinElementList.h"
#include "skin/SkinForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace korvel;
using korvel::test::ErrorCapture;
using korvel::test::errorText;
using korvel::test::FakeMediaControl;
using korvel::test::localTime;

namespace {

// The three windows wired as the program wires them, over a scripted engine.
class PlaybackWindowTest : public ::testing::Test {
protected:
    PlaybackWindowTest()
        : engine(*new FakeMediaControl),
          windows(std::unique_ptr<MediaControl>(&engine), QString(), [](int) { return 0; }) {
        engine.log.clear();
    }

    // A left click on one of the panel's buttons, as the skin reports it.
    void click(const char* id) {
        panel.SkinForm1MouseUpNotify(QString::fromLatin1(id), Qt::LeftButton, {}, 1, 1);
    }
    void clickList(const char* id) {
        playlist.SkinForm1MouseUpNotify(QString::fromLatin1(id), Qt::LeftButton, {}, 1, 1);
    }
    void slide(const char* id, int position) {
        skin().SetTrackBarPosition(QString::fromLatin1(id), position);
        panel.SkinForm1TrackBarNotify(QString::fromLatin1(id), position);
    }

    // Drops the URLs on a window as a file manager would; `finish` lets the window do what
    // it does once the drop has ended.
    static void drop(QWidget& target, const QList<QUrl>& urls, bool finish = true) {
        QMimeData data;
        data.setUrls(urls);
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
        if (finish) QCoreApplication::processEvents();
    }

    TSkinForm& skin() { return *panel.SkinForm1(); }
    // Tabs on the panel until the element has the focus; false when a round never reaches it.
    bool tabTo(SkinElementRef element) {
        for (int i = 0; i < 30 && skin().focusedElement() != element; ++i) {
            QTest::keyClick(&panel, Qt::Key_Tab);
        }
        return skin().focusedElement() == element;
    }

    FakeMediaControl& engine;
    PlayerWindows windows;
    TForm3& playback = windows.playback();
    TForm1& panel = windows.panel();
    TForm2& playlist = windows.playlist();
};

} // namespace

// A drop on the playback window or on the panel opens the first file as a single clip.
TEST_F(PlaybackWindowTest, DropsOpenTheFirstFile) {
    drop(playback,
         {QUrl::fromLocalFile("/clips/one clip.mpg"), QUrl::fromLocalFile("/clips/two.mpg")});
    drop(panel, {QUrl("http://127.0.0.1:8080/live.ts")});
    EXPECT_EQ(engine.calls("LoadSource"),
              QStringList(
                  {"LoadSource:/clips/one clip.mpg", "LoadSource:http://127.0.0.1:8080/live.ts"}));
    EXPECT_FALSE(playback.playback().state().listMode);
}

// A drop the engine refuses ends in the error box, and the window goes on. Fault: the box ran
// inside the drop, and the program that dragged waited for it; it shows once the drop ended.
TEST_F(PlaybackWindowTest, RefusedDropIsShown) {
    ErrorCapture errors;
    engine.refuseLoads = true;
    drop(playback, {QUrl("lavfi://testsrc")}, false);
    EXPECT_TRUE(errors.texts.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(errors.texts, QStringList({"Cannot open lavfi://testsrc."}))
        << engine.log.join(",").toStdString();
}

// The size buttons, keys and slider of the panel size the picture; natural size puts the
// slider back to 20.
TEST_F(PlaybackWindowTest, PanelSizesThePicture) {
    slide("TRACKBAR_SIZE", 40);
    EXPECT_EQ(playback.size(), QSize(480, 360));
    QTest::keyClick(&panel, Qt::Key_Down);
    EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_SIZE"), 60);
    EXPECT_EQ(playback.size(), QSize(640, 480));
    click("BUTTON_DEFO");
    EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_SIZE"), 20);
    EXPECT_EQ(playback.size(), QSize(320, 240));
    click("BUTTON_FULL");
    EXPECT_TRUE(engine.log.contains("EnterFullScreen"));
}

// Fault: a clip without a picture sized the window to nothing, and the window system took
// it off the screen. Its frame stays, over no picture. Fault: after a picture wider than the
// screen it kept that width, a strip running off the screen; it fits the screen.
TEST_F(PlaybackWindowTest, SoundAloneKeepsTheWindowOnScreen) {
    engine.width = engine.height = 0;
    engine.OnStateChange(MediaControl::Opening, MediaControl::Playing);
    EXPECT_EQ(playback.width(), 320);
    EXPECT_GT(playback.height(), 0);
    EXPECT_LT(playback.height(), 8);

    const QRect free = playback.screen()->availableGeometry();
    engine.width = free.width() * 2;
    engine.height = 100;
    engine.OnStateChange(MediaControl::Opening, MediaControl::Playing);
    ASSERT_EQ(playback.width(), free.width() * 2);
    engine.width = engine.height = 0;
    engine.OnStateChange(MediaControl::Opening, MediaControl::Playing);
    EXPECT_GT(playback.width(), 0);
    EXPECT_LE(playback.frameGeometry().width(), free.width());
    EXPECT_LT(playback.height(), 8);
}

// Fault: once a clip had ended in full screen, every later pause, play or clip took full
// screen up again, although the user had left it with Esc.
TEST_F(PlaybackWindowTest, LeftFullScreenStaysLeft) {
    engine.fullScreen = true;
    engine.OnPositionChange(179950, 180000);
    ASSERT_TRUE(windows.playback().playback().resumeFullScreen());
    engine.fullScreen = false;
    engine.OnFullScreenEnd();
    engine.log.clear();
    engine.OnStateChange(MediaControl::Opening, MediaControl::Playing);
    click("BUTTON_PAUSE");
    engine.OnStateChange(MediaControl::Playing, MediaControl::Paused);
    click("BUTTON_PLAY");
    EXPECT_FALSE(engine.log.contains("EnterFullScreen")) << engine.log.join(' ').toStdString();
}

// Always on top follows the panel's toggle, for the playback window alone. Fault: pressed
// while full screen, the toggle gave the window system's window the widget's tool type back
// (full screen makes it an ordinary one): a framed, screen-sized window that Esc and a double
// click no longer brought back. The window keeps its type and its state.
TEST_F(PlaybackWindowTest, AlwaysOnTopFollowsTheToggle) {
    playback.showFullScreen();
    QWindow* system = playback.windowHandle();
    system->setFlags((system->flags() & ~Qt::WindowType_Mask) | Qt::Window);
    // The press has flipped the toggle before its release reaches the panel.
    skin().SetButtonState(u"BUTTON_TOP", true);
    click("BUTTON_TOP");
    EXPECT_TRUE(playback.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(system->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(system->type(), Qt::Window);
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(playback.isVisible());
    EXPECT_TRUE(playback.isFullScreen());
    skin().SetButtonState(u"BUTTON_TOP", false);
    click("BUTTON_TOP");
    EXPECT_FALSE(playback.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(system->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(system->type(), Qt::Window);
}

// Fault: a new user's playback window was first shown centred, and jumped to the upper left
// where the settings put it while they remember no place.
TEST_F(PlaybackWindowTest, StartsWhereSettingsWithoutAPlacePutIt) {
    EXPECT_EQ(playback.pos(), SettingsData().imageWindowPos);
}

// Maximizing shows or hides the panel instead.
TEST_F(PlaybackWindowTest, MaximizeTogglesThePanel) {
    playback.setWindowState(Qt::WindowMaximized);
    EXPECT_FALSE(playback.isMaximized());
    EXPECT_FALSE(panel.isVisible());
    playback.setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(panel.isVisible());
}

// Minimize takes every showing window off the screen and restoring any one of them brings
// them all back; a hidden playlist stays hidden through it.
TEST_F(PlaybackWindowTest, MinimizeTakesAllAndAnyBringsThemBack) {
    click("BUTTON_MINIMIZE");
    EXPECT_TRUE(playback.isMinimized());
    EXPECT_TRUE(panel.isMinimized());
    EXPECT_FALSE(playlist.isVisible());
    panel.setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(playback.isMinimized());
    EXPECT_FALSE(playlist.isVisible());

    click("BUTTON_OPEN");
    ASSERT_TRUE(playlist.isVisible());
    playlist.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(playback.isMinimized());
    EXPECT_TRUE(panel.isMinimized());
    playback.setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(playlist.isMinimized());
    EXPECT_FALSE(panel.isMinimized());
}

// Hide takes the panel away; a click into the picture brings it back. The playlist opens
// from the button and from Ctrl+L.
TEST_F(PlaybackWindowTest, PanelHidesAndComesBackAndOpensTheList) {
    click("BUTTON_HIDE");
    EXPECT_FALSE(panel.isVisible());
    engine.OnLButtonUp(0, 10, 10);
    EXPECT_TRUE(panel.isVisible());
    QTest::keyClick(&panel, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(playlist.isVisible());
}

// OK and Enter hide the list and play it from the top; CANCEL and Esc only hide it, also
// when the key comes to an edit field.
TEST_F(PlaybackWindowTest, ListClosesWithOrWithoutPlaying) {
    playlist.model().AddEntry("/clips/one.mpg");
    playlist.model().AddEntry("/clips/two.mpg");
    playlist.model().setCell(PlayListModel::PlayColumn, 1, "Off");
    for (const char* cancel : {"CANCEL", "Esc"}) {
        playlist.show();
        if (cancel == QLatin1String("Esc")) {
            playlist.URL()->setFocus();
            QTest::keyClick(playlist.URL(), Qt::Key_Escape);
        } else {
            clickList(cancel);
        }
        EXPECT_FALSE(playlist.isVisible()) << cancel;
        EXPECT_TRUE(engine.calls("LoadSource").isEmpty()) << cancel;
    }
    playlist.show();
    clickList("OK");
    EXPECT_FALSE(playlist.isVisible());
    EXPECT_EQ(engine.calls("LoadSource"), QStringList({"LoadSource:/clips/two.mpg"}));
    EXPECT_EQ(playlist.model().currentRow(), 2);
    playlist.show();
    playlist.activateWindow();
    playlist.PlayList()->setFocus();
    QTest::keyClick(playlist.PlayList(), Qt::Key_Return);
    EXPECT_FALSE(playlist.isVisible());
    EXPECT_EQ(engine.calls("LoadSource").size(), 2);
}

// Fault: an empty location from a later start or the desktop's controls ended list play after
// the current entry. A start without a clip only brings the player forward; the desktop's
// controls are told that an empty location names nothing. Neither changes what plays.
TEST_F(PlaybackWindowTest, AnEmptyLocationChangesNothing) {
    ErrorCapture errors;
    playlist.model().AddEntry("/clips/one.mpg");
    playlist.model().AddEntry("/clips/two.mpg");
    clickList("OK");
    ASSERT_TRUE(playback.playback().state().listMode);
    drop(playback, {QUrl()});
    playback.showMinimized();
    playback.ReceiveHandOff(QString());
    EXPECT_FALSE(playback.isMinimized());
    EXPECT_EQ(errorText([this] {
                  windows.commands().run({Verb::Open, 0, QString()});
              }),
              QString("The location is empty: there is no clip to open"));
    EXPECT_TRUE(playback.playback().state().listMode);
    EXPECT_EQ(playlist.model().currentRow(), 1);
    EXPECT_EQ(engine.calls("LoadSource"), QStringList({"LoadSource:/clips/one.mpg"}));
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
}

// Play, pause and stop from the panel's buttons and keys; exit closes the playback window.
TEST_F(PlaybackWindowTest, PanelDrivesPlaybackAndExits) {
    engine.source = "/clips/a.mpg";
    QTest::keyClick(&panel, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&panel, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&panel, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&panel, Qt::Key_S); // without Ctrl: nothing
    click("BUTTON_PLAY");
    EXPECT_EQ(engine.log, QStringList({"PausePlay", "StartPlay", "SeekTo:0", "StopPlay",
                                       "StartPlay", "SeekTo:0"}));
    panel.SkinForm1MouseUpNotify("BUTTON_EXIT", Qt::RightButton, {}, 1, 1);
    EXPECT_TRUE(playback.isVisible());
    click("BUTTON_EXIT");
    EXPECT_FALSE(playback.isVisible());
}

// Engine events reach the panel through the window; a failing handler shows its error and
// the next event is handled.
TEST_F(PlaybackWindowTest, EventsDriveThePanelAndFailuresAreShown) {
    ErrorCapture errors;
    playlist.model().AddEntry("/clips/one.mpg");
    playlist.model().setCell(PlayListModel::EndColumn, 1, "bad");
    playlist.model().selectRow(1);
    engine.title = "Title";
    engine.OnStateChange(1, 4);
    EXPECT_EQ(errors.texts, QStringList({QString::fromUtf8("'bad' は正しい時刻ではありません.")}));
    playlist.model().setCell(PlayListModel::EndColumn, 1, "");
    engine.OnStateChange(4, 3);
    EXPECT_EQ(playback.windowTitle(), "Title");
    engine.OnPositionChange(1000, 4000);
    EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_POS"), 25);
}

// Fault: a clip handed over while the start-up's error box was up (the box for the command
// line's own clip, which the engine refused) played with the panel's title, length and entry
// number blank: the panel heard of nothing told before it was there.
TEST(PlaybackWindowStart, AClipTakenDuringTheStartShowsOnThePanel) {
    auto* engine = new FakeMediaControl;
    engine->refuseLoads = true;
    QStringList shown;
    ErrorBox::setSink([&](const QString& text) {
        shown.append(text);
        engine->refuseLoads = false;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* playback = qobject_cast<TForm3*>(window))
                playback->ReceiveHandOff(QStringLiteral("/clips/handed.mp4"));
        }
        engine->title = QStringLiteral("Handed over");
        engine->length = 60000;
        engine->OnStateChange(MediaControl::Opening, MediaControl::Playing);
        engine->OnPositionChange(1000, 60000);
    });
    PlayerWindows windows(std::unique_ptr<MediaControl>(engine), QStringLiteral("/clips/no.mp4"));
    ErrorBox::setSink({});
    ASSERT_EQ(shown.size(), 1);
    const SkinModel& face = windows.panel().SkinForm1()->engine().model();
    const auto text = [&face](const char* id) {
        return face.Displays[std::size_t(face.findDisplay(QString::fromLatin1(id)))].Text;
    };
    EXPECT_EQ(text("TEXT_TITLE"), "Handed over");
    EXPECT_EQ(text("TEXT_TOTAL"), localTime("/ 00:01:00"));
    EXPECT_EQ(text("TEXT_NO"), "No. --/--  ");
}

// The panel shows the state it hears of: what the desktop's controls and the keys change
// reaches its slider and button through the playback's notices, and a position slider the
// pointer holds stays where it is held until it is let go.
TEST_F(PlaybackWindowTest, PanelShowsTheStateAndLeavesAHeldSlider) {
    windows.commands().run({Verb::Volume, 30});
    EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_VOLUME"), 30);
    QTest::keyClick(&panel, Qt::Key_F11);
    EXPECT_TRUE(skin().GetButtonState(u"BUTTON_MUTE"));

    engine.length = 100000;
    engine.OnPositionChange(20000, 100000);
    ASSERT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_POS"), 20);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const SkinModel& face = skin().engine().model();
    const TrackBarInfoRec& bar = face.TrackBars[std::size_t(face.findTrackBar(u"TRACKBAR_POS"))];
    const QPoint thumb(bar.Left + bar.ThumbOffset + bar.ThumbWidth / 2,
                       bar.Top + bar.ThumbHeight / 2);
    QTest::mousePress(panel.windowHandle(), Qt::LeftButton, {}, thumb);
    QTest::mouseMove(panel.windowHandle(), thumb + QPoint(bar.travel() / 2, 0));
    const int held = skin().GetTrackBarPosition(u"TRACKBAR_POS");
    EXPECT_GE(held, 65);
    engine.OnPositionChange(21000, 100000);
    engine.OnStateChange(MediaControl::Playing, MediaControl::Paused);
    EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_POS"), held);
    const int pos = face.findDisplay(u"TEXT_POS");
    EXPECT_EQ(face.Displays[std::size_t(pos)].Text, localTime("00:00:21"));
    QTest::mouseRelease(panel.windowHandle(), Qt::LeftButton, {},
                        thumb + QPoint(bar.travel() / 2, 0));
    engine.OnPositionChange(22000, 100000);
    EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_POS"), 22);
}

// HISTORY in the list pastes what the playback window played, oldest first.
TEST_F(PlaybackWindowTest, HistoryComesFromThePlaybackWindow) {
    for (const char* source : {"/clips/one.mpg", "http://127.0.0.1:9/two.rm"}) {
        engine.source = source;
        engine.OnStateChange(MediaControl::Opening, MediaControl::Playing);
    }
    clickList("HISTORY");
    ASSERT_EQ(playlist.model().entryCount(), 2);
    EXPECT_EQ(playlist.model().cell(PlayListModel::LocationColumn, 1), "/clips/one.mpg");
    EXPECT_EQ(playlist.model().cell(PlayListModel::FileNameColumn, 2), "two.rm");
}

// Fault: a list of another player's, given by a second start or dropped on the player, went
// to the engine as a clip. It joins the playlist after what was there, in list order, and
// plays from its first new entry in list mode; a .ram list dropped there is still a clip.
TEST_F(PlaybackWindowTest, ListsOfOtherPlayersJoinAndPlay) {
    ErrorCapture errors;
    playlist.model().AddEntry("/clips/old.avi");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        return korvel::test::scratchFile(dir, name, bytes);
    };
    playback.ReceiveHandOff(write("radio.m3u", "#EXTM3U\n#EXTINF:-1,B\nhttp://h/b\nlocal.mp3\n"));
    EXPECT_EQ(engine.calls("LoadSource"), QStringList({"LoadSource:http://h/b"}));
    EXPECT_TRUE(playback.playback().state().listMode);
    EXPECT_EQ(playlist.model().currentRow(), 2);
    EXPECT_EQ(playlist.model().cell(PlayListModel::LocationColumn, 3), dir.filePath("local.mp3"));

    drop(panel, {QUrl::fromLocalFile(write("c.pls", "[playlist]\nFile1=http://h/c\n"))});
    drop(playback, {QUrl::fromLocalFile(write("d.ram", "http://h/d\r\n"))});
    EXPECT_EQ(engine.calls("LoadSource"),
              QStringList({"LoadSource:http://h/b", "LoadSource:http://h/c",
                           "LoadSource:" + dir.filePath("d.ram")}));
    EXPECT_EQ(playlist.model().entryCount(), 4);
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();

    // On the command line: the list joins the stored list once it is in, and plays.
    auto* started = new FakeMediaControl;
    PlayerWindows fromCommandLine(
        std::unique_ptr<MediaControl>(started),
        write("e.xspf", "<playlist><trackList><track><location>http://h/e</location></track>"
                        "</trackList></playlist>"),
        [](int) { return 0; });
    EXPECT_EQ(started->calls("LoadSource"), QStringList({"LoadSource:http://h/e"}));
    EXPECT_EQ(fromCommandLine.playlist().model().entryCount(), 1);

    // A broken list is told, and nothing plays.
    const QString broken = write("broken.xspf", "<playlist>");
    EXPECT_TRUE(errorText([&] {
                    playback.ReceiveHandOff(broken);
                }).startsWith("Cannot read the playlist " + broken + ": it is not well-formed"));
    EXPECT_EQ(engine.calls("LoadSource").size(), 3);
}

// Fault: the list's LOOP clicked, or its play cursor moved, without the playback state's
// listeners hearing of it (the desktop's controls would show the old LOOP and next), or a
// run of edits told once per edit.
TEST_F(PlaybackWindowTest, ListChangesArePublishedOnceTheirEventsAreHandled) {
    int told = 0;
    PlaybackState last;
    QObject::connect(&playback.playback().notices(), &PlaybackNotices::changed,
                     [&](const PlaybackState&, const PlaybackState& now) {
                         ++told;
                         last = now;
                     });
    playlist.SkinForm1()->SetButtonState(u"LOOP", true); // the pointer flips it before the release
    clickList("LOOP");
    QCoreApplication::processEvents();
    EXPECT_EQ(told, 1); // LOOP is the state's: its verb tells it, once
    EXPECT_TRUE(last.loop);

    playlist.model().AddEntry("/clips/one.mpg");
    playlist.model().AddEntry("/clips/two.mpg");
    QCoreApplication::processEvents();
    const int afterAdding = told;
    playlist.model().selectRow(1);
    playlist.model().selectRow(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(told, afterAdding + 1);
    EXPECT_EQ(last.listRow, 2);
}

// Fault: with the volume slider focused, its keys were the key table's (Up sized the picture)
// and no key moved the volume. The keys the table leaves free move the focused slider; the
// table's keys keep their meaning.
TEST_F(PlaybackWindowTest, FocusedSliderTakesTheFreeKeys) {
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    ASSERT_TRUE(tabTo({SkinElementRef::Kind::Slider, 0}));
    ASSERT_EQ(skin().engine().model().TrackBars[0].ID, "TRACKBAR_VOLUME");
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int volume;
        int size;
    } rows[] = {
        {Qt::Key_Plus, Qt::ShiftModifier, 55, 20},   {Qt::Key_Plus, Qt::KeypadModifier, 60, 20},
        {Qt::Key_Minus, Qt::NoModifier, 55, 20},     {Qt::Key_End, Qt::NoModifier, 100, 20},
        {Qt::Key_Plus, Qt::NoModifier, 100, 20},     {Qt::Key_Home, Qt::NoModifier, 0, 20},
        {Qt::Key_Minus, Qt::ControlModifier, 0, 20}, {Qt::Key_Down, Qt::NoModifier, 0, 40},
        {Qt::Key_Space, Qt::NoModifier, 0, 40},      {Qt::Key_Return, Qt::NoModifier, 0, 40},
    };
    for (const auto& row : rows) {
        QTest::keyClick(&panel, row.key, row.modifiers);
        EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_VOLUME"), row.volume) << row.key;
        EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_SIZE"), row.size) << row.key;
    }
    // The engine follows each step; the key with Ctrl held is no step.
    EXPECT_EQ(engine.calls("ApplyVolume"),
              QStringList({"ApplyVolume:55", "ApplyVolume:60", "ApplyVolume:55", "ApplyVolume:100",
                           "ApplyVolume:100", "ApplyVolume:0"}));
}

// Fault: with the panel hidden by its button no key brought it back: the keyboard was left
// with the hidden panel. It goes to the playback window, where a key brings the panel back.
TEST_F(PlaybackWindowTest, AKeyBringsTheHiddenPanelBack) {
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    ASSERT_TRUE(tabTo({SkinElementRef::Kind::Button, 8}));
    ASSERT_EQ(skin().engine().model().HotAreas[8].ID, "BUTTON_HIDE");
    QTest::keyClick(&panel, Qt::Key_Space);
    EXPECT_FALSE(panel.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&playback));
    engine.OnKeyDown(0, Qt::Key_Space);
    EXPECT_TRUE(panel.isVisible());
}

// Fault: a window whose right click or menu key opens no menu, or a toggle chosen in the menu
// that the panel's button does not show. The menu's checks follow every door.
TEST_F(PlaybackWindowTest, MenuOpensOnEveryWindowAndFollowsTheToggles) {
    for (QWidget* window : {static_cast<QWidget*>(&playback), static_cast<QWidget*>(&panel),
                            static_cast<QWidget*>(&playlist)}) {
        for (const bool mouse : {true, false}) {
            QString opened;
            QTimer::singleShot(50, [&] {
                if (QWidget* menu = QApplication::activePopupWidget()) {
                    opened = menu->objectName();
                    menu->close();
                }
            });
            QWidget* target = window->childAt(window->rect().center());
            if (!target) target = window;
            if (mouse) {
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                        target->mapToGlobal(QPoint(5, 5)));
                QApplication::sendEvent(target, &event);
            } else {
                QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
            }
            QTest::qWait(200);
            EXPECT_EQ(opened, "PlayerMenu") << window->windowTitle().toStdString() << mouse;
        }
    }

    // From the keyboard the menu opens at the focused element of the face.
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    ASSERT_TRUE(tabTo({SkinElementRef::Kind::Button, 8}));
    const QRect element = SkinElementList::rect(skin().engine().model(), *skin().focusedElement());
    QPoint at;
    QTimer::singleShot(50, [&] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            at = menu->pos();
            menu->close();
        }
    });
    QTest::keyClick(&panel, Qt::Key_Menu);
    QTest::qWait(200);
    EXPECT_EQ(at, skin().mapToGlobal(element.center()));

    const auto entry = [this](const FixedText& text) {
        for (const MenuEntry& each : windows.menu().entries()) {
            if (each.text == text.text()) return each;
        }
        return MenuEntry{};
    };
    windows.menu().choose(entry(FixedTexts::MenuTop), &panel);
    EXPECT_TRUE(playback.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(skin().GetButtonState(u"BUTTON_TOP"));
    EXPECT_TRUE(entry(FixedTexts::MenuTop).checked);
    QTest::keyClick(&panel, Qt::Key_F11);
    EXPECT_TRUE(entry(FixedTexts::MenuMute).checked);
    windows.menu().choose(entry(FixedTexts::MenuMute), &panel);
    EXPECT_FALSE(skin().GetButtonState(u"BUTTON_MUTE"));
}

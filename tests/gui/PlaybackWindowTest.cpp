#include "../support/ErrorCapture.h"
#include "../support/FakeMediaControl.h"

#include "playback/ImageWin.h"
#include "playback/PlayListModelCells.h"
#include "player/RealPlay1.h"
#include "playlist/PlayList.h"
#include "skin/SkinForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

using namespace korvel;
using korvel::test::ErrorCapture;
using korvel::test::FakeMediaControl;

namespace {

// The three windows wired as the program wires them, over a scripted engine.
class PlaybackWindowTest : public ::testing::Test {
protected:
    PlaybackWindowTest() : engine(*new FakeMediaControl), playback(std::unique_ptr<MediaControl>(&engine)) {
        playback.attachWindows(&panel, &playlist, &cells);
        QObject::connect(&panel, &TForm1::commandReleased, &playback, &TForm3::PanelCommand);
        QObject::connect(&panel, &TForm1::trackBarMoved, &playback, &TForm3::PanelTrackBar);
        QObject::connect(&panel, &TForm1::filesDropped, &playback, &TForm3::DropFiles);
        panel.show();
        engine.log.clear();
    }

    // Drops the URLs on a window as a file manager would.
    static void drop(QWidget& target, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    }

    TSkinForm& skin() { return *panel.SkinForm1(); }

    FakeMediaControl& engine;
    TForm3 playback;
    TForm1 panel;
    TForm2 playlist;
    PlayListModelCells cells{playlist.model()};
};

} // namespace

// A drop on the playback window or on the panel opens the first file as a single clip.
TEST_F(PlaybackWindowTest, DropsOpenTheFirstFile) {
    drop(playback, {QUrl::fromLocalFile("/clips/one clip.mpg"), QUrl::fromLocalFile("/clips/two.mpg")});
    drop(panel, {QUrl("http://127.0.0.1:8080/live.ts")});
    EXPECT_EQ(engine.calls("LoadSource"), QStringList({"LoadSource:/clips/one clip.mpg",
                                                       "LoadSource:http://127.0.0.1:8080/live.ts"}));
    EXPECT_FALSE(playback.playback().PlaylistMode);
}

// A drop the engine refuses ends in the error box, and the window goes on.
TEST_F(PlaybackWindowTest, RefusedDropIsShown) {
    ErrorCapture errors;
    engine.refuseLoads = true;
    ErrorBox::run([&] { drop(playback, {QUrl("lavfi://testsrc")}); });
    EXPECT_EQ(errors.texts, QStringList({"Cannot open lavfi://testsrc."})) << engine.log.join(",").toStdString();
}

// The size buttons and slider of the panel size the picture; natural size puts the slider
// back to 20.
TEST_F(PlaybackWindowTest, PanelSizesThePicture) {
    skin().SetTrackBarPosition(u"TRACKBAR_SIZE", 40);
    playback.PanelTrackBar("TRACKBAR_SIZE", 40);
    EXPECT_EQ(playback.size(), QSize(480, 360));
    playback.PanelCommand("BUTTON_DEFO");
    EXPECT_EQ(skin().GetTrackBarPosition(u"TRACKBAR_SIZE"), 20);
    EXPECT_EQ(playback.size(), QSize(320, 240));
    playback.PanelCommand("BUTTON_FULL");
    EXPECT_TRUE(engine.log.contains("EnterFullScreen"));
}

// Always on top follows the panel's toggle, for the playback window alone.
TEST_F(PlaybackWindowTest, AlwaysOnTopFollowsTheToggle) {
    skin().SetButtonState(u"BUTTON_TOP", true);
    playback.PanelCommand("BUTTON_TOP");
    EXPECT_TRUE(playback.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(playback.isVisible());
    skin().SetButtonState(u"BUTTON_TOP", false);
    playback.PanelCommand("BUTTON_TOP");
    EXPECT_FALSE(playback.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// Maximizing shows or hides the panel instead; minimizing takes the other windows along.
TEST_F(PlaybackWindowTest, MaximizeTogglesThePanelAndMinimizeTakesAll) {
    playback.setWindowState(Qt::WindowMaximized);
    EXPECT_FALSE(playback.isMaximized());
    EXPECT_FALSE(panel.isVisible());
    playback.setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(panel.isVisible());

    playback.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(panel.isMinimized());
    EXPECT_FALSE(playlist.isVisible());
    playback.setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(panel.isMinimized());
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

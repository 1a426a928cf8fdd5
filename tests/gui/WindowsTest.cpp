#include "../support/ErrorCapture.h"
#include "../support/FakeMediaControl.h"

#include "base/KorvelError.h"
#include "playback/ImageWin.h"
#include "player/RealPlay1.h"
#include "playlist/PlayList.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace korvel;
using korvel::test::ErrorCapture;
using korvel::test::FakeMediaControl;

// The playback window is the silver tool window of the documented size and caption,
// visible from its creation on.
TEST(Windows, PlaybackWindowStartsVisible) {
    auto control = std::make_unique<FakeMediaControl>();
    FakeMediaControl& engine = *control;
    TForm3 playback(std::move(control), QStringLiteral("clip.avi"));
    EXPECT_TRUE(playback.isVisible());
    EXPECT_EQ(playback.windowTitle(), "Korvel mark2");
    // The show handler sizes the client area for a 320 x 240 picture.
    EXPECT_EQ(playback.size(), QSize(320, 240));
    EXPECT_TRUE(playback.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(playback.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(engine.calls("LoadSource"), QStringList({"LoadSource:clip.avi"}));
}

// A hand-off opens its whole text as a single clip, and the window announces it.
TEST(Windows, HandOffOpensTheWholeText) {
    auto control = std::make_unique<FakeMediaControl>();
    FakeMediaControl& engine = *control;
    TForm3 playback(std::move(control));
    QSignalSpy spy(&playback, &TForm3::handOffReceived);
    const QString text = QString(400, u'a') + QString::fromUtf8("／日本語.rm");
    playback.ReceiveHandOff(text);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), text);
    EXPECT_EQ(engine.calls("LoadSource"), QStringList({"LoadSource:" + text}));
    EXPECT_FALSE(playback.playback().PlaylistMode);
}

// The panel takes its size and outline from its skin and shows exactly the composed face.
TEST(Windows, PlayerPanelShowsItsFace) {
    ErrorCapture errors;
    TForm1 panel;
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
    EXPECT_EQ(panel.size(), QSize(273, 116));
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(panel.SkinForm1()->geometry(), QRect(0, 0, 273, 116));
    EXPECT_TRUE(panel.mask().xored(QRegion(0, 0, 273, 116)).isEmpty());
    const QImage shown = panel.SkinForm1()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, panel.SkinForm1()->engine().face());

    // Display texts reach the screen.
    panel.SkinForm1()->SetDisplayText(u"TEXT_POS", QStringLiteral("00:01:05"));
    const QImage after = panel.SkinForm1()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(after.copy(15, 39, 60, 14), shown.copy(15, 39, 60, 14));
}

// The playlist window is skinned, 600 x 200, and hidden until asked for.
TEST(Windows, PlaylistWindowStartsHidden) {
    ErrorCapture errors;
    TForm2 playlist;
    EXPECT_TRUE(errors.texts.isEmpty());
    EXPECT_FALSE(playlist.isVisible());
    EXPECT_EQ(playlist.size(), QSize(600, 200));
    EXPECT_TRUE(playlist.SkinForm1()->GetButtonState(u"PLAY"));
}

// The skin component belongs on a window; anywhere else is refused with its text.
TEST(Windows, SkinFormOnlyOnAWindow) {
    QWidget form;
    QWidget* inner = new QWidget(&form);
    try {
        TSkinForm skin(inner);
        FAIL() << "no error";
    } catch (const KorvelError& error) {
        EXPECT_EQ(error.text(), "Please Drop on a Form");
    }
    TSkinForm skin(&form);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
}

// Fault: a failing load half-applied the skin (size, outline) so the window it leaves
// could not be seen or used, or the component could not load a skin afterwards.
TEST(Windows, FailedLoadIsShownAndTheWindowStays) {
    ErrorCapture errors;
    QWidget form;
    form.resize(200, 100);
    TSkinForm skin(&form);
    ErrorBox::run([&skin] { skin.LoadSkin(QStringLiteral("NoSuchSkin")); });
    EXPECT_EQ(errors.texts,
              QStringList({QString::fromUtf8("NoSuchSkin リソースが見つかりません.")}));
    EXPECT_EQ(form.size(), QSize(200, 100));
    EXPECT_TRUE(form.mask().isEmpty());
    EXPECT_EQ(skin.geometry(), form.rect());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    // The same component still takes a skin: size, outline and face follow it.
    skin.LoadSkin(QStringLiteral("Skin"));
    EXPECT_EQ(errors.texts.size(), 1);
    EXPECT_EQ(form.size(), QSize(273, 116));
    EXPECT_EQ(skin.geometry(), QRect(0, 0, 273, 116));
    EXPECT_TRUE(form.mask().xored(QRegion(0, 0, 273, 116)).isEmpty());
    const QImage face = skin.engine().face();
    EXPECT_EQ(skin.grab().toImage().convertToFormat(QImage::Format_RGB32), face);

    // A later failing load keeps the skin the window has.
    ErrorBox::run([&skin] { skin.LoadSkin(QStringLiteral("NoSuchSkin")); });
    EXPECT_EQ(errors.texts.size(), 2);
    EXPECT_EQ(form.size(), QSize(273, 116));
    EXPECT_TRUE(form.mask().xored(QRegion(0, 0, 273, 116)).isEmpty());
    EXPECT_EQ(skin.grab().toImage().convertToFormat(QImage::Format_RGB32), face);
}

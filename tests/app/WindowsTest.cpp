#include "../support/ErrorCapture.h"
#include "../support/FakeMediaControl.h"

#include "base/KorvelError.h"
#include "playback/ImageWin.h"
#include "player/RealPlay1.h"
#include "playlist/PlayList.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"
#include "ui/KorvelApplication.h"

#include <gtest/gtest.h>

#include <QIcon>
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
    EXPECT_FALSE(playback.playback().state().listMode);
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

// Fault: the program shows more than one task-bar entry, or its one entry (the panel's) does
// not read the application title; both other windows keep their own titles. The list is no
// tool window, which KWin hides while another program is active.
TEST(Windows, OnlyThePanelTakesATaskBarEntry) {
    ErrorCapture errors;
    TForm1 panel;
    TForm2 playlist;
    TForm3 playback(std::make_unique<FakeMediaControl>());
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
    EXPECT_EQ(panel.windowType(), Qt::Window);
    EXPECT_EQ(panel.windowTitle(), "Korvel 2.8");
    EXPECT_EQ(panel.windowTitle(), ErrorBox::Title);
    EXPECT_EQ(playlist.windowType(), Qt::Window);
    EXPECT_TRUE(playlist.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(playlist.windowTitle(), "Korvel PlayList");
    EXPECT_EQ(playback.windowType(), Qt::Tool);
    EXPECT_EQ(playback.windowTitle(), "Korvel mark2");
}

// Fault: the windows carry the toolkit's stand-in icon: the program's pictures are missing
// from the resources, or a size the icon theme has is not the picture installed there.
TEST(Windows, ProgramIconIsTheInstalledPictures) {
    const QIcon icon = KorvelApplication::programIcon();
    // Each size goes to the window system with every window; the largest is 128.
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
    EXPECT_EQ(icon.availableSizes(), sizes);
    for (const int size : {16, 32, 48, 64, 128}) {
        const QString file = QStringLiteral(KORVEL_SOURCE_DIR "/resources/icons/korvel-%1.png");
        const QImage installed = QImage(file.arg(size)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(installed.isNull()) << size;
        const QImage shown =
            icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown, installed) << size;
    }
}

// Fault: on a screen scaled by two the face is smoothed, shifted or cut: every face pixel must
// become one 2 x 2 block of its own colour, over the whole doubled window.
TEST(Windows, FacesDoublePixelForPixel) {
    ErrorCapture errors;
    TForm1 panel;
    ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
    panel.SkinForm1()->SetDisplayText(u"TEXT_POS", QStringLiteral("01:23:45"));
    QImage doubled(panel.size() * 2, QImage::Format_RGB32);
    doubled.setDevicePixelRatio(2);
    doubled.fill(Qt::magenta);
    panel.SkinForm1()->render(&doubled);
    const QImage& face = panel.SkinForm1()->engine().face();
    ASSERT_EQ(face.size() * 2, doubled.size());
    int wrong = 0;
    for (int y = 0; y < doubled.height(); ++y) {
        for (int x = 0; x < doubled.width(); ++x) {
            if (doubled.pixel(x, y) != face.pixel(x / 2, y / 2)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
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

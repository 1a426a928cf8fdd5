#include "../support/ErrorCapture.h"
#include "../support/FakeMediaControl.h"
#include "../support/SkinFolderSupport.h"

#include "app/PlayerWindows.h"
#include "base/KorvelError.h"
#include "skin/SkinForm.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace korvel;
using korvel::test::ErrorCapture;
using korvel::test::FakeMediaControl;

namespace {

constexpr QSize WideFace{340, 150};

// A user's data folder with the skin "Wide" (another face size) and the skin "Broken", whose
// list skin names a picture it lacks.
class SkinChoice : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        qputenv("XDG_DATA_DIRS", data.filePath("none").toUtf8());
        for (const char* name : {"Wide", "Broken"}) {
            const QDir skin(data.filePath(QStringLiteral("korvel/skins/") + QLatin1String(name)));
            skin.mkpath(QStringLiteral("."));
            test::writeBuiltInSkins(skin);
            test::writeWidePlayerSkin(skin, WideFace);
        }
        QFile::remove(data.filePath("korvel/skins/Broken/ListSel.jpg"));
    }
    void TearDown() override {
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_DATA_DIRS");
    }
    std::unique_ptr<PlayerWindows> start(const QByteArray& text) {
        test::writeTo(path(), text);
        return std::make_unique<PlayerWindows>(
            std::make_unique<FakeMediaControl>(), QString(), [](int) { return 0; }, path());
    }
    void close(std::unique_ptr<PlayerWindows>& windows) {
        windows->playback().close();
        windows.reset();
    }
    QString path() const { return settings.filePath("korvel.ini"); }
    QByteArray stored() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir data, settings;
    ErrorCapture errors;
};

} // namespace

// Fault: a skin chosen is taken by one window only, needs a restart, or is not used again at
// the next start; the panel keeps the built-in size, or its toggles lose their state.
TEST_F(SkinChoice, AChosenSkinIsTakenAtOnceAndAgainAtTheNextStart) {
    auto windows = start("[Korvel setting]\r\nPlayerPosX=30\r\nPlayerPosY=40\r\n");
    QStringList offered;
    for (const SkinCatalog::Entry& entry : PlayerWindows::skins()) offered << entry.name;
    EXPECT_EQ(offered, QStringList({"Broken", "Wide"}));
    TSkinForm* panel = windows->panel().SkinForm1();
    panel->SetButtonState(u"BUTTON_TOP", true);
    windows->commands().run({Verb::Skin, 0, QStringLiteral("Wide")});
    EXPECT_EQ(windows->panel().size(), WideFace);
    EXPECT_TRUE(panel->GetButtonState(u"BUTTON_TOP"));
    EXPECT_EQ(windows->playlist().SkinForm1()->engine().model().Source,
              SkinSource::folder(data.filePath("korvel/skins/Wide")));
    EXPECT_EQ(windows->skin(), QStringLiteral("Wide"));
    close(windows);
    EXPECT_TRUE(stored().contains("\r\nSkin=Wide\r\n")) << stored().constData();

    windows = start(stored());
    EXPECT_EQ(windows->panel().size(), WideFace);
    EXPECT_EQ(windows->panel().pos(), QPoint(30, 40));
    windows->commands().run({Verb::Skin, 0, QString()});
    EXPECT_EQ(windows->panel().size(), QSize(273, 116));
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("; ").toStdString();
}

// Fault: a skin broken in its list part leaves the panel changed and the list without a
// face, or is not told; an unknown name changes anything.
TEST_F(SkinChoice, ABrokenSkinIsRefusedAndBothWindowsKeepTheirs) {
    auto windows = start("[Korvel setting]\r\n");
    windows->commands().run({Verb::Skin, 0, QStringLiteral("Wide")});
    for (const char* name : {"Broken", "Nowhere"}) {
        try {
            windows->commands().run({Verb::Skin, 0, QLatin1String(name)});
            ADD_FAILURE() << name << " was taken";
        } catch (const KorvelError& error) {
            EXPECT_TRUE(error.text().contains(QLatin1String(name))) << error.text().toStdString();
        }
        EXPECT_EQ(windows->panel().size(), WideFace) << name;
        EXPECT_EQ(windows->playlist().SkinForm1()->engine().model().Source,
                  SkinSource::folder(data.filePath("korvel/skins/Wide")))
            << name;
    }
    close(windows);
    EXPECT_TRUE(stored().contains("\r\nSkin=Wide\r\n")) << stored().constData();
}

// Fault: a skin removed since the last run leaves the player without a panel, or is told at
// every start. The built-in skin is used, said once, and stored for the next start.
TEST_F(SkinChoice, ASkinGoneSinceTheLastRunFallsBackOnce) {
    auto windows = start("[Korvel setting]\r\nSkin=Gone\r\n");
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_EQ(errors.texts[0],
              QStringLiteral("The skin Gone is not found any more: the built-in skin is used."));
    EXPECT_EQ(windows->panel().size(), QSize(273, 116));
    close(windows);
    windows = start(stored());
    EXPECT_EQ(errors.texts.size(), 1);
}

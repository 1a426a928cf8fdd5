#include "../support/SkinFolderSupport.h"
#include "../support/SkinTestSupport.h"

#include "base/KorvelError.h"
#include "skin/SkinCatalog.h"
#include "skin/SkinExport.h"
#include "skin/SkinSource.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace korvel;
using namespace korvel::test;

namespace {

constexpr QSize WideFace{340, 150};

struct FolderSkin {
    FolderSkin() {
        writeBuiltInSkins(dir.path());
        writeWidePlayerSkin(dir.path(), WideFace);
    }
    QString file(const char* name) const { return QDir(dir.path()).filePath(QLatin1String(name)); }
    QTemporaryDir dir;
};

} // namespace

// Fault: a skin of another face size keeps the built-in window's size or shape, or its looks
// come back from the built-in pictures after the window rested; the elements it lacks are
// ignored, and those both skins have keep their states.
TEST(SkinFolder, AnotherFaceSizeIsTakenWithItsShapeAndTheElementStates) {
    FolderSkin skin;
    FakeWindow window;
    SkinEngine engine(&window);
    engine.LoadSkin(QStringLiteral("Skin"));
    engine.SetButtonState(u"BUTTON_TOP", true);
    engine.SetTrackBarPosition(u"TRACKBAR_VOLUME", 70);
    engine.SetDisplayText(u"TEXT_TITLE", QStringLiteral("clip"));

    auto prepared = engine.prepared(SkinSource::folder(skin.dir.path()), QStringLiteral("Skin"));
    EXPECT_EQ(engine.size(), QSize(273, 116)) << "nothing changes before the skin is taken";
    engine.adopt(*prepared);

    EXPECT_EQ(engine.size(), WideFace);
    EXPECT_EQ(window.sizes.back(), WideFace);
    ASSERT_TRUE(window.shapes.back().has_value());
    EXPECT_TRUE(window.shapes.back()->contains(QPoint(0, 0)));
    EXPECT_FALSE(window.shapes.back()->contains(QPoint(WideFace.width() - 1, 0)));
    EXPECT_TRUE(engine.GetButtonState(u"BUTTON_TOP"));
    EXPECT_EQ(engine.GetTrackBarPosition(u"TRACKBAR_VOLUME"), 70);
    EXPECT_EQ(engine.model().Displays[0].Text, QStringLiteral("clip"));
    EXPECT_FALSE(engine.GetButtonState(u"BUTTON_MUTE"));
    engine.SetTrackBarPosition(u"TRACKBAR_SIZE", 40);
    EXPECT_EQ(engine.GetTrackBarPosition(u"TRACKBAR_SIZE"), 0);

    engine.rest(true);
    engine.rest(false);
    EXPECT_EQ(engine.model().MouseUpBitmap.pixelColor(5, 5), QColor(20, 40, 90));
    EXPECT_EQ(engine.face().size(), WideFace);
}

// Fault: a skin that cannot be loaded is half taken (the window left without a face), or told
// without the file and the reason. Each breakage is told naming its file; the skin in use stays.
TEST(SkinFolder, ABrokenSkinIsToldAndTheSkinInUseStays) {
    const struct {
        const char* what;
        const char* file;   // the file the message names
        const char* reason; // part of the reason given
        std::function<void(const FolderSkin&)> breakIt;
    } cases[] = {
        {"picture missing", "WideMain.bmp", "No such file",
         [](const FolderSkin& s) { QFile::remove(s.file("WideMain.bmp")); }},
        {"picture broken", "WideSel.bmp", "ビットマップ",
         [](const FolderSkin& s) { writeTo(s.file("WideSel.bmp"), "BM broken"); }},
        {"JPEG picture broken", "PlayerMain.jpg", "JPEG",
         [](const FolderSkin& s) {
             writeTo(s.file("Skin.ini"), describe(150, {}, {}, {},
                                                  "MaskBitmap=PlayerMask.jpg\r\n"
                                                  "MouseUpBitmap=PlayerMain.jpg\r\n"));
             writeTo(s.file("PlayerMain.jpg"), "\xFF\xD8\xFF\xE0 not a picture");
         }},
        {"description unreadable", "Skin.ini", "整数",
         [](const FolderSkin& s) {
             writeTo(s.file("Skin.ini"), describe(150, {"BUTTON_PLAY, 1x, 0, 5, 5, Play"}));
         }},
        {"description missing", "Skin.ini", "No such file",
         [](const FolderSkin& s) { QFile::remove(s.file("Skin.ini")); }},
        {"description not a regular file", "Skin.ini", "not a regular file",
         [](const FolderSkin& s) {
             QFile::remove(s.file("Skin.ini"));
             ::mkfifo(QFile::encodeName(s.file("Skin.ini")).constData(), 0600);
         }},
        {"mask leaves nothing", "WideMask.bmp", "leaves nothing",
         [](const FolderSkin& s) {
             QImage white(WideFace, QImage::Format_RGB32);
             white.fill(Qt::white);
             white.save(s.file("WideMask.bmp"), "BMP");
         }},
        {"name outside the folder", "../PlayerMain.jpg", "outside",
         [](const FolderSkin& s) {
             writeTo(s.file("Skin.ini"),
                     describe(150, {}, {}, {}, "MaskBitmap=../PlayerMain.jpg\r\n"));
         }},
    };
    for (const auto& c : cases) {
        FolderSkin skin;
        c.breakIt(skin);
        FakeWindow window;
        SkinEngine engine(&window);
        engine.LoadSkin(QStringLiteral("Skin"));
        engine.SetDisplayText(u"TEXT_TITLE", QStringLiteral("clip"));
        const std::size_t hotAreas = engine.model().HotAreas.size();
        const int resizes = int(window.sizes.size());
        QString told;
        try {
            engine.prepared(SkinSource::folder(skin.dir.path()), QStringLiteral("Skin"));
        } catch (const KorvelError& error) {
            told = error.text();
        }
        EXPECT_TRUE(told.contains(QLatin1String(c.file))) << c.what << ": " << told.toStdString();
        EXPECT_TRUE(told.contains(QString::fromUtf8(c.reason)))
            << c.what << ": " << told.toStdString();
        EXPECT_EQ(engine.size(), QSize(273, 116)) << c.what;
        EXPECT_EQ(int(window.sizes.size()), resizes) << c.what;
        EXPECT_EQ(engine.model().HotAreas.size(), hotAreas) << c.what;
        EXPECT_EQ(
            engine.model().Displays[std::size_t(engine.model().findDisplay(u"TEXT_TITLE"))].Text,
            QStringLiteral("clip"))
            << c.what;
        EXPECT_TRUE(engine.model().Source.isBuiltIn()) << c.what;
    }
}

// Fault: a skin the user made on another system names "PlayerMain.jpg" for "playermain.JPG".
TEST(SkinFolder, PicturesAreFoundWhateverTheirNamesCase) {
    FolderSkin skin;
    ASSERT_TRUE(QFile::rename(skin.file("ListMain.jpg"), skin.file("listmain.JPG")));
    SkinEngine engine;
    auto prepared =
        engine.prepared(SkinSource::folder(skin.dir.path()), QStringLiteral("ListSkin"));
    EXPECT_EQ(prepared->size(), QSize(600, 200));
    EXPECT_FALSE(prepared->model().MouseUpBitmap.isNull());
}

// Fault: the search misses the desktop's data folders, a user's skin does not stand in for an
// installed one of its name, or a folder that is no skin is offered.
TEST(SkinCatalog, FindsSkinsInTheDataFoldersUserFirst) {
    QTemporaryDir home, system1, system2;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_DIRS", (system1.path() + u':' + system2.path()).toUtf8());
    const auto makeSkin = [](const QString& data, const char* name, bool whole = true) {
        const QDir skin(data + QStringLiteral("/korvel/skins/") + QLatin1String(name));
        skin.mkpath(QStringLiteral("."));
        writeTo(skin.filePath(QStringLiteral("Skin.ini")), "[VERSION]\r\n");
        if (whole) writeTo(skin.filePath(QStringLiteral("ListSkin.ini")), "[VERSION]\r\n");
    };
    makeSkin(home.path(), "Night");
    makeSkin(system1.path(), "Night");
    makeSkin(system2.path(), "Amber");
    makeSkin(system2.path(), "Half", false);

    const QStringList folders = SkinCatalog::searchFolders();
    ASSERT_GE(folders.size(), 3);
    EXPECT_EQ(folders[0], home.path() + QStringLiteral("/korvel/skins"));
    EXPECT_EQ(folders[2], system2.path() + QStringLiteral("/korvel/skins"));
    const std::vector<SkinCatalog::Entry> skins = SkinCatalog::list(folders);
    const std::vector<SkinCatalog::Entry> expected{
        {QStringLiteral("Amber"), system2.path() + QStringLiteral("/korvel/skins/Amber")},
        {QStringLiteral("Night"), home.path() + QStringLiteral("/korvel/skins/Night")}};
    EXPECT_EQ(skins, expected);
    EXPECT_EQ(SkinCatalog::find(QStringLiteral("Night"), folders), expected[1]);
    EXPECT_FALSE(SkinCatalog::find(QStringLiteral("Half"), folders));
    EXPECT_FALSE(SkinCatalog::find(QStringLiteral("Gone"), folders));
    EXPECT_FALSE(SkinCatalog::find(QStringLiteral("../skins/Night"), folders));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
}

// Fault: the exported skins are not what the program shows (a picture left out or under
// another name), or an export writes over a skin the author made.
TEST(SkinFolder, ExportedSkinsLoadAsTheBuiltInOnesAndAreNeverWrittenOver) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("skins/mine");
    SkinExport::write(folder);
    for (const char* name : {"Skin", "ListSkin"}) {
        SkinEngine builtIn;
        builtIn.LoadSkin(QLatin1String(name));
        auto exported = builtIn.prepared(SkinSource::folder(folder), QLatin1String(name));
        EXPECT_EQ(exported->size(), builtIn.size()) << name;
        EXPECT_EQ(exported->model().HotAreas.size(), builtIn.model().HotAreas.size()) << name;
        EXPECT_EQ(exported->model().MouseDownBitmap, builtIn.model().MouseDownBitmap) << name;
        EXPECT_EQ(exported->model().TrackBars.size(), builtIn.model().TrackBars.size()) << name;
    }
    writeTo(QDir(folder).filePath("Skin.ini"), "mine");
    QFile::remove(QDir(folder).filePath("ListSel.jpg"));
    EXPECT_THROW(SkinExport::write(folder), KorvelError);
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("ListSel.jpg")));
}

// Fault: the skin shipped beside the built-in one lacks an element the panel answers to, or
// does not load at its own size.
TEST(SkinFolder, TheShippedSkinLoadsWithEveryElementOfTheBuiltInOne) {
    const SkinSource slate =
        SkinSource::folder(QStringLiteral(KORVEL_SOURCE_DIR "/resources/skins/Slate"));
    for (const char* name : {"Skin", "ListSkin"}) {
        SkinEngine builtIn;
        builtIn.LoadSkin(QLatin1String(name));
        auto shipped = builtIn.prepared(slate, QLatin1String(name));
        for (const HotAreaInfoRec& area : builtIn.model().HotAreas)
            EXPECT_GE(shipped->model().FindHotArea(area.ID), 0)
                << name << " " << area.ID.toStdString();
        EXPECT_EQ(shipped->model().Displays.size(), builtIn.model().Displays.size()) << name;
        EXPECT_EQ(shipped->model().TrackBars.size(), builtIn.model().TrackBars.size()) << name;
    }
    SkinEngine panel;
    EXPECT_EQ(panel.prepared(slate, QStringLiteral("Skin"))->size(), QSize(353, 116));
}

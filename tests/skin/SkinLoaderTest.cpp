#include "../support/SkinTestSupport.h"

#include "base/KorvelError.h"
#include "skin/SkinImageName.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

using namespace korvel;
using korvel::test::describe;
using korvel::test::FakeWindow;

namespace {

QString loadError(const QByteArray& description) {
    SkinEngine engine;
    try {
        engine.loadDescription(description);
    } catch (const KorvelError& error) {
        return error.text();
    }
    return QStringLiteral("(loaded)");
}

QString u8(const char* text) { return QString::fromUtf8(text); }

struct HotAreaRow {
    const char* id;
    int left, top, width, height;
    const char* hint;
    bool toggle;
};

} // namespace

// The player skin must load into exactly the documented tables: a wrong rectangle or hint
// moves a button or mislabels it.
TEST(SkinLoader, PlayerSkinLoadsTheDocumentedTables) {
    FakeWindow window;
    SkinEngine engine(&window);
    engine.LoadSkin("Skin");
    const SkinModel& m = engine.model();
    const HotAreaRow rows[] = {
        {"BUTTON_PLAY", 55, 90, 24, 19, "再生(Ctrl+P)", false},
        {"BUTTON_PAUSE", 80, 90, 24, 19, "一時停止(Ctrl+A)", false},
        {"BUTTON_STOP", 105, 90, 24, 19, "停止(Ctrl+S)", false},
        {"BUTTON_NEXT", 155, 90, 24, 19, "次のクリップへ(PageDown)", false},
        {"BUTTON_PREV", 5, 90, 24, 19, "前のクリップへ(PageUp)", false},
        {"BUTTON_OPEN", 195, 90, 24, 19, "プレイリスト(Ctrl+L)", false},
        {"BUTTON_MINIMIZE", 215, 0, 17, 15, "最小化", false},
        {"BUTTON_EXIT", 250, 0, 17, 15, "閉じる", false},
        {"BUTTON_HIDE", 232, 0, 17, 15, "隠す", false},
        {"BUTTON_MKOUT", 245, 90, 24, 19, "終了時点指定", false},
        {"BUTTON_MKIN", 220, 90, 24, 19, "開始時点指定", false},
        {"BUTTON_TOP", 10, 1, 30, 16, "常に前面", true},
        {"BUTTON_DEFO", 230, 40, 31, 16, "元のサイズ", false},
        {"BUTTON_FULL", 196, 40, 31, 16, "フルスクリーン", false},
        {"BUTTON_FIX", 42, 1, 31, 16, "画面固定", true},
        {"BUTTON_MUTE", 108, 60, 22, 14, "ミュート(F11)", true},
        {"BUTTON_FF", 130, 90, 24, 19, "早送り(RightArrow)", false},
        {"BUTTON_REW", 30, 90, 24, 19, "巻き戻し(LeftArrow)", false},
        {"BUTTON_BKSKIP", 2, 73, 13, 14, "１分巻き戻し", false},
        {"BUTTON_FWSKIP", 257, 73, 13, 14, "１分先送り", false},
    };
    ASSERT_EQ(m.HotAreas.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const HotAreaInfoRec& a = m.HotAreas[i];
        EXPECT_EQ(a.ID, rows[i].id);
        EXPECT_EQ(a.rect(), QRect(rows[i].left, rows[i].top, rows[i].width, rows[i].height));
        EXPECT_EQ(a.Hint, u8(rows[i].hint));
        EXPECT_EQ(a.IsToggle, rows[i].toggle) << rows[i].id;
        EXPECT_FALSE(a.Down) << rows[i].id;
        EXPECT_TRUE(a.RadioGroup.isEmpty());
    }
    ASSERT_EQ(m.Displays.size(), 4u);
    EXPECT_EQ(m.Displays[1].ID, "TEXT_TITLE");
    EXPECT_EQ(m.Displays[1].Font.FaceName, u8("ＭＳ Ｐゴシック"));
    EXPECT_EQ(m.Displays[1].Font.Color, 0x00FFFFFFu);
    EXPECT_TRUE(m.Displays[1].Font.Bold);
    EXPECT_EQ(QPoint(m.Displays[1].Left, m.Displays[1].Top), QPoint(20, 24));
    EXPECT_EQ(m.Displays[0].Font.FaceName, "Times New Roman");
    EXPECT_EQ(m.Displays[2].Font.Size, 8);
    EXPECT_EQ(m.Displays[3].Mode, "Normal");
    EXPECT_EQ(m.Displays[3].Text, "");
    EXPECT_EQ(m.Displays[3].Font.Charset, 128);
    ASSERT_EQ(m.TrackBars.size(), 3u);
    const int offsets[] = {42, 19, 0};
    const int positions[] = {50, 20, 0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m.TrackBars[i].ThumbWidth, 10);
        EXPECT_EQ(m.TrackBars[i].ThumbHeight, 11);
        EXPECT_EQ(m.TrackBars[i].Position, positions[i]);
        EXPECT_EQ(m.TrackBars[i].ThumbOffset, offsets[i]);
        EXPECT_TRUE(m.TrackBars[i].Horizontal);
    }
    EXPECT_EQ(m.TrackBars[2].Hint, u8("再生位置"));
    EXPECT_FALSE(m.UseMouseOnBitmap);
    EXPECT_EQ(m.ActiveTrackBar, -1);
    EXPECT_EQ(engine.size(), QSize(273, 116));
    EXPECT_EQ(window.sizes, QList<QSize>({QSize(273, 116)}));
    ASSERT_TRUE(engine.WindowRegion().has_value());
    EXPECT_TRUE(engine.WindowRegion()->xored(QRegion(0, 0, 273, 116)).isEmpty());
}

// The list skin's toggles start as documented (PLAY down) and the window takes 600 x 200.
TEST(SkinLoader, ListSkinLoadsWithPlayDown) {
    SkinEngine engine;
    engine.LoadSkin("ListSkin");
    const SkinModel& m = engine.model();
    ASSERT_EQ(m.HotAreas.size(), 14u);
    for (const HotAreaInfoRec& a : m.HotAreas) {
        const bool toggle = a.ID == "SHUFFLE" || a.ID == "LOOP" || a.ID == "PLAY";
        EXPECT_EQ(a.IsToggle, toggle) << a.ID.toStdString();
        EXPECT_EQ(a.Down, a.ID == "PLAY") << a.ID.toStdString();
        EXPECT_EQ(a.Hint, a.ID);
    }
    EXPECT_EQ(m.HotAreas[13].rect(), QRect(3, 176, 55, 20));
    EXPECT_TRUE(m.Displays.empty());
    EXPECT_TRUE(m.TrackBars.empty());
    EXPECT_EQ(m.DisplayCharset, 0);
    EXPECT_EQ(engine.size(), QSize(600, 200));
    // The face shows PLAY in its down look and every other button in its normal look.
    const QRect play = m.HotAreas[13].rect();
    EXPECT_EQ(engine.face().copy(play), m.MouseDownBitmap.copy(play));
    const QRect ok = m.HotAreas[4].rect();
    EXPECT_EQ(engine.face().copy(ok), m.MouseUpBitmap.copy(ok));
}

// The same hover and pressed file written in another letter case is another name, so the
// hover face is used.
TEST(SkinLoader, HoverFaceOnlyWhenTheNamesDiffer) {
    const QString info =
        QStringLiteral("MaskBitmap=PlayerMask.jpg\r\nMouseUpBitmap=PlayerMain.jpg\r\n"
                       "MouseDownBitmap=PlayerSel.jpg\r\nMouseOnBitmap=%1\r\n");
    for (const auto& [onName, expected] :
         {std::pair{"PlayerSel.jpg", false}, std::pair{"PLAYERSEL.JPG", true}}) {
        SkinEngine engine;
        engine.loadDescription(describe(150, {}, {}, {}, info.arg(onName)));
        EXPECT_EQ(engine.model().UseMouseOnBitmap, expected) << onName;
    }
    // Unnamed faces fall back along mask -> normal -> pressed -> hover.
    SkinEngine engine;
    engine.loadDescription(describe(150, {}, {}, {}, "MaskBitmap=PlayerMain.jpg\r\n"));
    EXPECT_FALSE(engine.model().UseMouseOnBitmap);
    EXPECT_EQ(engine.model().MouseOnBitmap, engine.model().MouseUpBitmap);
    // One picture named for several looks is held once; the mask goes once the shape is made.
    for (const char* name : {"Skin", "ListSkin"}) {
        engine.LoadSkin(QString::fromLatin1(name));
        const SkinModel& m = engine.model();
        EXPECT_EQ(m.MouseOnBitmap.constBits(), m.MouseDownBitmap.constBits()) << name;
        EXPECT_NE(m.MouseUpBitmap.constBits(), m.MouseDownBitmap.constBits()) << name;
        EXPECT_TRUE(m.MaskBitmap.isNull()) << name;
        EXPECT_FALSE(engine.WindowRegion()->isEmpty()) << name;
    }
}

// Hot-area rows: the state and group positions depend on the format version, and only a
// row of exactly the group's length joins a group.
TEST(SkinLoader, HotAreaRowsByVersionAndLength) {
    const struct {
        int version;
        const char* row;
        bool toggle, down;
        const char* group;
        const char* hint;
    } cases[] = {
        {150, "B, 1, 2, 3, 4, hint", false, false, "", "hint"},
        {150, "B, 1, 2, 3, 4, hint, FALSE", true, false, "", "hint"},
        {150, "B, 1, 2, 3, 4, hint, TRUE", true, true, "", "hint"},
        {150, "B, 1, 2, 3, 4, hint, false", true, true, "", "hint"},
        {150, "B, 1, 2, 3, 4, hint, True, g", true, true, "g", "hint"},
        {150, "B, 1, 2, 3, 4, hint, FALSE, g, extra", true, false, "", "hint"},
        {140, "B, 1, 2, 3, 4", false, false, "", ""},
        {140, "B, 1, 2, 3, 4, FALSE", true, false, "", ""},
        {140, "B, 1, 2, 3, 4, FALSE, g", true, false, "g", ""},
        {140, "B, 1, 2, 3, 4, TRUE, g, x", true, true, "", ""},
    };
    for (const auto& c : cases) {
        SkinEngine engine;
        engine.loadDescription(describe(c.version, {u8(c.row)}));
        const HotAreaInfoRec& a = engine.model().HotAreas.at(0);
        EXPECT_EQ(a.rect(), QRect(1, 2, 3, 4)) << c.row;
        EXPECT_EQ(a.IsToggle, c.toggle) << c.row;
        EXPECT_EQ(a.Down, c.down) << c.row;
        EXPECT_EQ(a.RadioGroup, c.group) << c.row;
        EXPECT_EQ(a.Hint, c.hint) << c.row;
    }
}

// Group names differing only in case are one group, which records its member that is down
// (the later one when two start down).
TEST(SkinLoader, RadioGroupsIgnoreCase) {
    SkinEngine engine;
    engine.loadDescription(
        describe(150, {"A, 0, 0, 1, 1, a, TRUE, Grp", "B, 1, 0, 1, 1, b, FALSE, x",
                       "C, 2, 0, 1, 1, c, TRUE, GRP", "D, 3, 0, 1, 1, d, FALSE, grp"}));
    EXPECT_EQ(engine.model().GroupNames, QStringList({"Grp", "x"}));
    EXPECT_EQ(engine.model().GroupDown, QStringList({"2", "-1"}));
    EXPECT_EQ(engine.model().HotAreas[3].RadioGroup, "grp");
}

// Display rows take a mode from 9 fields on, and a text only with exactly 10.
TEST(SkinLoader, DisplayRowsByLength) {
    const QString base = "T, Times New Roman, TRUE, TRUE, 9, $00112233, 5, 6";
    const struct {
        QString row;
        const char* mode;
        const char* text;
    } cases[] = {
        {base, "", ""},
        {base + ", Normal", "Normal", ""},
        {base + ", Number, 12:00", "Number", "12:00"},
        {base + ", Text, abc, more", "Text", ""},
    };
    for (const auto& c : cases) {
        SkinEngine engine;
        engine.loadDescription(describe(150, {}, {c.row}));
        const DisplayInfoRec& d = engine.model().Displays.at(0);
        EXPECT_EQ(d.Mode, c.mode) << c.row.toStdString();
        EXPECT_EQ(d.Text, c.text) << c.row.toStdString();
        EXPECT_EQ(d.Font.FaceName, "Times New Roman");
        EXPECT_TRUE(d.Font.Bold && d.Font.Italic);
        EXPECT_EQ(d.Font.Color, 0x00112233u);
        EXPECT_EQ(QPoint(d.Left, d.Top), QPoint(5, 6));
    }
}

// A skin position above 255 wraps into 8 bits and is not clamped until the thumb moves;
// a row without a position starts at 0.
TEST(SkinLoader, TrackBarPositionsAreStoredInEightBits) {
    SkinEngine engine;
    engine.loadDescription(describe(150, {}, {},
                                    {"A, TrackBar.BMP, TrackBar.BMP, 12, 61, 95, H, 300, tip",
                                     "B, trackbar.bmpx, TRACKBAR.Bmp, 0, 0, 50, V"}));
    const TrackBarInfoRec& a = engine.model().TrackBars.at(0);
    EXPECT_EQ(a.Position, 44);
    EXPECT_EQ(a.ThumbOffset, 85 * 44 / 100);
    EXPECT_EQ(a.Hint, "tip");
    const TrackBarInfoRec& b = engine.model().TrackBars.at(1);
    EXPECT_FALSE(b.Horizontal);
    EXPECT_EQ(b.Position, 0);
    EXPECT_EQ(b.Hint, "");
    TrackBarInfoRec moved = a;
    moved.Position = 144;
    UpdateThumbOffset(moved);
    EXPECT_EQ(moved.Position, 100);
    EXPECT_EQ(moved.ThumbOffset, 85);
}

// Image names: cut at the first dot, three characters of extension, BMP by spelling only.
TEST(SkinLoader, ImageNamesSelectResources) {
    const struct {
        const char* file;
        const char* name;
        const char* type;
    } cases[] = {
        {"TrackBar.BMP", "TRACKBAR", "BMP"},  {"trackbar.bmp", "TRACKBAR", "BMP"},
        {"TrackBar.bmpx", "TRACKBAR", "BMP"}, {"Player.Main.jpg", "PLAYER", "JPG"},
        {"Player.bm", "PLAYER", "JPG"},       {"NOT_DEFINED", " ", "JPG"},
        {"Mask.jpeg", "MASK", "JPG"},         {"ä.bmp", "ä", "BMP"},
    };
    for (const auto& c : cases) {
        const SkinImageName n = SkinImageName::parse(u8(c.file));
        EXPECT_EQ(n.resourceName, u8(c.name)) << c.file;
        EXPECT_EQ(n.resourceType(), c.type) << c.file;
    }
}

// Every failure stops the load with the text the user is shown.
TEST(SkinLoader, FailuresCarryTheirTexts) {
    const QString player = "B, 1, 2, 3, 4, hint";
    const QString bar = "T, TrackBar.BMP, TrackBar.BMP, 0, 0, 50, H";
    const struct {
        QByteArray description;
        QString text;
    } cases[] = {
        {describe(150, {"B, 1, 2, 3, 4"}), u8("リストのインデックスが範囲を超えています (5)")},
        {describe(140, {"B, 1, 2, 3"}), u8("リストのインデックスが範囲を超えています (4)")},
        {describe(150, {"B, 1, x, 3, 4, h"}), u8("'x' は整数ではありません")},
        {describe(150, {"B, 1, 2 , 3, 4, h"}), u8("'2 ' は整数ではありません")},
        {describe(150, {"B, 1, , 3, 4, h"}), u8("'' は整数ではありません")},
        {describe(120, {player}), u8("リストのインデックスが範囲を超えています (-1)")},
        {describe(150, {}, {"D, Arial, FALSE, FALSE, 9, 0, 1"}),
         u8("リストのインデックスが範囲を超えています (7)")},
        {describe(150, {}, {}, {"T, TrackBar.BMP, TrackBar.BMP, 0, 0, 50"}),
         u8("リストのインデックスが範囲を超えています (6)")},
        {describe(150, {}, {}, {"T, Missing.BMP, x.BMP, 0, 0, 50, H"}),
         u8("MISSING リソースが見つかりません")},
        {describe(150, {}, {}, {"T, NOT_DEFINED, x, 0, 0, 50, H"}),
         u8("  リソースが見つかりません")},
        {describe(150, {}, {}, {"T, Broken.bmp, x, 0, 0, 50, H"}),
         u8("ビットマップイメージが不正です")},
        {describe(150, {}, {}, {bar}, "MaskBitmap=Broken.jpg\r\n"),
         u8("JPEG エラー #%1").arg(JERR_NO_SOI)},
        {"[VERSION]\r\nVer=150\r\n[BITMAPINFO]\r\nMaskBitmap=PlayerMask.jpg\r\n"
         "[HOTAREAINFO]\r\nCount=-1\r\n",
         u8("範囲チェックエラー")},
        // A count no face has room for is refused before the tables are made.
        {"[VERSION]\r\nVer=140\r\n[BITMAPINFO]\r\nMaskBitmap=PlayerMask.jpg\r\n"
         "[HOTAREAINFO]\r\nCount=2147483647\r\n",
         u8("範囲チェックエラー")},
        {describe(150, {}, {}, {})
             .replace("[DISPLAYINFO]\r\nCount=0", "[DISPLAYINFO]\r\nCount=1025"),
         u8("範囲チェックエラー")},
        // Without a mask name the mask is "ERROR", which has no dot: a blank resource name.
        {"[VERSION]\r\nVer=150\r\n[HOTAREAINFO]\r\nCount=0\r\n", u8("  リソースが見つかりません")},
    };
    for (const auto& c : cases) EXPECT_EQ(loadError(c.description), c.text) << c.description.data();

    SkinEngine engine;
    EXPECT_THROW(engine.LoadSkin("NoSuchSkin"), KorvelError);
}

// Missing rows take their defaults: in version 150 a hot-area default is too short, in
// version 140 it is an inert "NOT_DEFINED", and a missing display is empty Arial at (0, 0).
TEST(SkinLoader, MissingRowsTakeTheirDefaults) {
    const QByteArray head = "[VERSION]\r\nVer=%1\r\n[BITMAPINFO]\r\nMaskBitmap=PlayerMask.jpg\r\n"
                            "[HOTAREAINFO]\r\nCount=1\r\n[DISPLAYINFO]\r\nCount=1\r\n";
    EXPECT_EQ(loadError(QByteArray(head).replace("%1", "150")),
              u8("リストのインデックスが範囲を超えています (5)"));
    SkinEngine engine;
    engine.loadDescription(QByteArray(head).replace("%1", "140"));
    EXPECT_EQ(engine.model().HotAreas.at(0).ID, "NOT_DEFINED");
    EXPECT_EQ(engine.model().HotAreas.at(0).rect(), QRect());
    EXPECT_EQ(engine.model().Displays.at(0).ID, "NOT_DEFINED");
    EXPECT_EQ(engine.model().Displays.at(0).Font.FaceName, "Arial");
}

// A failure after the shape step leaves the window sized and showing its normal face, with
// what was read so far.
TEST(SkinLoader, FailureKeepsWhatWasLoaded) {
    FakeWindow window;
    SkinEngine engine(&window);
    EXPECT_THROW(engine.loadDescription(describe(150, {"A, 1, 2, 3, 4, a", "B, x, 2, 3, 4, b"})),
                 KorvelError);
    EXPECT_EQ(window.sizes, QList<QSize>({QSize(273, 116)}));
    EXPECT_EQ(engine.model().HotAreas.size(), 2u);
    EXPECT_EQ(engine.model().HotAreas[0].ID, "A");
    EXPECT_EQ(engine.face(), engine.model().MouseUpBitmap);
}

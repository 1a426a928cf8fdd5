#include "skin/FaceComposer.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

QImage filled(int width, int height, QRgb color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A glyph strip whose cells are told apart by colour: cell c is (c, row, 7).
QImage cells(int columns, int rows, int cellWidth, int rowHeight, int extraWidth = 0) {
    QImage image(columns * cellWidth + extraWidth, rows * rowHeight, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            for (int y = 0; y < rowHeight; ++y) {
                for (int x = 0; x < cellWidth; ++x) {
                    image.setPixel(c * cellWidth + x, r * rowHeight + y, qRgb(c, r, 7));
                }
            }
        }
    }
    return image;
}

const QRgb Up = qRgb(10, 10, 10);
const QRgb Down = qRgb(200, 0, 0);

SkinModel lookModel() {
    SkinModel model;
    model.MouseUpBitmap = filled(100, 40, Up);
    model.MouseDownBitmap = filled(100, 40, Down);
    model.MouseOnBitmap = filled(100, 40, qRgb(0, 200, 0));
    model.ActiveTrackBar = -1;
    return model;
}

HotAreaInfoRec area(int left, bool toggle, bool down, bool pressed = false) {
    HotAreaInfoRec a;
    a.ID = "A";
    a.Left = left;
    a.Top = 5;
    a.Width = 10;
    a.Height = 10;
    a.IsToggle = toggle;
    a.Down = down;
    a.Pressed = pressed;
    return a;
}

// The colour of cell column c in row r of `cells`, as it lands on the face.
QRgb cell(int column, int row = 0) { return qRgb(column, row, 7); }

} // namespace

// A face with no elements is exactly the normal look, and PaintFace clears FaceStale.
TEST(FaceComposer, EmptySkinIsTheNormalLook) {
    SkinModel model = lookModel();
    QImage face = FaceComposer::newFace(QSize(100, 40));
    FaceComposer::PaintFace(model, face);
    EXPECT_EQ(face, model.MouseUpBitmap);
    EXPECT_FALSE(model.FaceStale);
}

// Down toggles and pressed areas show the pressed look; Down on a plain button is stored,
// not shown.
TEST(FaceComposer, HotAreaLooksFollowTheirState) {
    SkinModel model = lookModel();
    model.HotAreas = {area(0, true, true), area(20, false, true), area(40, false, false, true),
                      area(60, true, false)};
    QImage face = FaceComposer::newFace(QSize(100, 40));
    FaceComposer::PaintFace(model, face);
    EXPECT_EQ(face.pixel(0, 5), Down);
    EXPECT_EQ(face.pixel(9, 14), Down);
    EXPECT_EQ(face.pixel(10, 5), Up); // right edge excluded
    EXPECT_EQ(face.pixel(0, 15), Up); // bottom edge excluded
    EXPECT_EQ(face.pixel(25, 10), Up);
    EXPECT_EQ(face.pixel(45, 10), Down);
    EXPECT_EQ(face.pixel(65, 10), Up);
}

// Thumbs draw opaque at their offset along the track, the dragged one with its active image,
// and a thumb running off the face is cut at the edge.
TEST(FaceComposer, ThumbsDrawAtTheirOffset) {
    SkinModel model = lookModel();
    TrackBarInfoRec horizontal;
    horizontal.ThumbImage = filled(4, 3, qRgb(1, 2, 3));
    horizontal.ActiveThumbImage = filled(4, 3, qRgb(4, 5, 6));
    horizontal.Left = 10;
    horizontal.Top = 20;
    horizontal.ThumbOffset = 5;
    TrackBarInfoRec vertical = horizontal;
    vertical.Horizontal = false;
    vertical.Left = 90;
    vertical.Top = 30;
    vertical.ThumbOffset = 8; // runs 2 pixels past the bottom edge
    model.TrackBars = {horizontal, vertical};
    model.ActiveTrackBar = 1;
    QImage face = FaceComposer::newFace(QSize(100, 40));
    FaceComposer::PaintFace(model, face);
    EXPECT_EQ(face.pixel(15, 20), qRgb(1, 2, 3));
    EXPECT_EQ(face.pixel(18, 22), qRgb(1, 2, 3));
    EXPECT_EQ(face.pixel(14, 20), Up);
    EXPECT_EQ(face.pixel(19, 20), Up);
    EXPECT_EQ(face.pixel(90, 38), qRgb(4, 5, 6));
    EXPECT_EQ(face.pixel(93, 39), qRgb(4, 5, 6));
}

// Number text: cells are width div 11; a character not in the map draws the "0" cell.
TEST(FaceComposer, NumberTextUsesTheDigitCells) {
    const QImage numbers = cells(11, 1, 10, 6, 5); // 115 wide: cells stay 10 wide
    QImage face = filled(100, 20, Up);
    FaceComposer::DrawNumberText(face, numbers, 3, 2, u"12:05");
    const int expected[] = {1, 2, 0, 0, 5};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(face.pixel(3 + k * 10, 2), cell(expected[k])) << k;
        EXPECT_EQ(face.pixel(3 + k * 10 + 9, 7), cell(expected[k])) << k;
    }
    EXPECT_EQ(face.pixel(53, 2), Up);
    EXPECT_EQ(face.pixel(3, 8), Up);
}

// Letter text: capitals, small letters and signs take their own rows; anything else takes the
// space cell; a two-byte character is two unknown characters.
TEST(FaceComposer, LetterTextUsesRowsAndTheSpaceCell) {
    const QImage letters = cells(30, 3, 4, 31, 3); // 95 high would give rows of 31 too
    QImage face = filled(100, 40, Up);
    FaceComposer::DrawLetterText(face, letters, 0, 0, u"Ab?~é");
    const QRgb expected[] = {cell(0, 0),  cell(1, 2),  cell(28, 0),
                             cell(10, 1), cell(10, 1), cell(10, 1)};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(face.pixel(k * 4, 0), expected[k]) << k;
        EXPECT_EQ(face.pixel(k * 4 + 3, 30), expected[k]) << k;
    }
    EXPECT_EQ(face.pixel(24, 0), Up);
}

// Without glyph images, glyph displays draw nothing; a mode spelled in small letters is
// drawn with the display's font.
TEST(FaceComposer, DisplaysPickTheirWriterByExactMode) {
    SkinModel model = lookModel();
    DisplayInfoRec number;
    number.Mode = "Number";
    number.Text = "123";
    DisplayInfoRec lower = number;
    lower.Mode = "number";
    lower.Left = 50;
    lower.Top = 10;
    lower.Font.Size = 12;
    lower.Font.Color = 0x00FFFFFF;
    model.Displays = {number};
    QImage face = FaceComposer::newFace(QSize(100, 40));
    FaceComposer::PaintFace(model, face);
    EXPECT_EQ(face, model.MouseUpBitmap);
    model.Displays = {lower};
    FaceComposer::PaintFace(model, face);
    EXPECT_NE(face.copy(50, 10, 40, 20), model.MouseUpBitmap.copy(50, 10, 40, 20));
    EXPECT_EQ(face.copy(0, 0, 50, 40), model.MouseUpBitmap.copy(0, 0, 50, 40));
}

// Displays draw over thumbs, and a later display over an earlier one at the same place.
TEST(FaceComposer, LaterElementsDrawOnTop) {
    SkinModel model = lookModel();
    model.NumbersBitmap = cells(11, 1, 5, 5);
    TrackBarInfoRec bar;
    bar.ThumbImage = filled(10, 10, qRgb(9, 9, 9));
    bar.ActiveThumbImage = bar.ThumbImage;
    model.TrackBars = {bar};
    DisplayInfoRec first;
    first.Mode = "Number";
    first.Text = "1";
    DisplayInfoRec second = first;
    second.Text = "2";
    model.Displays = {first, second};
    QImage face = FaceComposer::newFace(QSize(100, 40));
    FaceComposer::PaintFace(model, face);
    EXPECT_EQ(face.pixel(0, 0), cell(2));
    EXPECT_EQ(face.pixel(7, 7), qRgb(9, 9, 9));
}

// Fault: a long title (Japanese glyphs are wide) runs past the displays' frame to the
// panel's edge. Font texts end where the display area does, as far from the right edge as
// the leftmost display is from the left; the text before that is drawn.
TEST(FaceComposer, LongFontTextIsCutAtTheDisplayAreasEnd) {
    SkinModel model = lookModel();
    DisplayInfoRec time;
    time.Mode = "Normal";
    time.Left = 10;
    time.Top = 2;
    time.Font.Size = 8;
    time.Font.Color = 0x00FFFFFF;
    time.Text = "1";
    DisplayInfoRec title = time;
    title.Left = 20;
    title.Top = 20;
    title.Font.Size = 12;
    title.Text = QStringLiteral("とても長い日本語の題名がパネルの端まで続きます");
    model.Displays = {time, title};
    QImage face = FaceComposer::newFace(QSize(100, 40));
    FaceComposer::PaintFace(model, face);
    EXPECT_NE(face.copy(20, 20, 70, 20), model.MouseUpBitmap.copy(20, 20, 70, 20));
    EXPECT_EQ(face.copy(90, 0, 10, 40), model.MouseUpBitmap.copy(90, 0, 10, 40));
}

#pragma once

#include "skin/SkinSource.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace korvel {

// A hot area: a rectangle that acts as a button, possibly a toggle in a radio group.
struct HotAreaInfoRec {
    QString ID;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool IsToggle = false;
    bool Down = false;
    QString RadioGroup;
    QString Hint;
    bool Pressed = false;

    // Left and top edges belong to the area, right and bottom edges do not.
    QRect rect() const { return QRect(Left, Top, Width, Height); }
    bool contains(int x, int y) const {
        return x >= Left && x < Left + Width && y >= Top && y < Top + Height;
    }
};

// The font of a display as the skin describes it. Colour is 0x00BBGGRR.
struct DisplayFont {
    QString FaceName = QStringLiteral("Arial");
    std::int32_t Size = 0; // points
    std::uint32_t Color = 0;
    bool Bold = false;
    bool Italic = false;
    std::uint8_t Charset = 1; // kept as the skin gives it; Qt picks glyphs by Unicode

    QFont toQFont() const;
    QColor toQColor() const;
    bool operator==(const DisplayFont&) const = default;
};

// A display: a text drawn at a point, with a font or with a glyph image.
struct DisplayInfoRec {
    QString ID;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    DisplayFont Font;
    QString Mode;
    QString Text;
};

// A slider whose position runs from 0 to 100.
struct TrackBarInfoRec {
    QString ID;
    QImage ThumbImage;
    QImage ActiveThumbImage;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Length = 0;
    bool Horizontal = true;
    std::uint8_t Position = 0;
    std::int32_t ThumbOffset = 0;
    std::int32_t ThumbWidth = 0;
    std::int32_t ThumbHeight = 0;
    QString Hint;
    std::uint8_t MinPosition = 0;
    std::uint8_t MaxPosition = 100;

    // Extent of the thumb along the track.
    std::int32_t thumbExtent() const { return Horizontal ? ThumbWidth : ThumbHeight; }
    // Pixels the thumb can travel. A track no longer than its thumb cannot move it at all:
    // such a trackbar stays at position 0 and ignores the pointer.
    std::int32_t travel() const { return Length - thumbExtent(); }
    bool isInert() const { return travel() <= 0; }
};

using THotAreaInfoArray = std::vector<HotAreaInfoRec>;
using TDisplayInfoArray = std::vector<DisplayInfoRec>;
using TTrackBarInfoArray = std::vector<TrackBarInfoRec>;

// Clamps the trackbar's Position to MinPosition..MaxPosition and derives ThumbOffset from it.
void UpdateThumbOffset(TrackBarInfoRec& trackBar);

// Sets ThumbOffset from the current Position, which is not clamped (the loader's and the
// element operations' rule).
void PlaceThumb(TrackBarInfoRec& trackBar);

// Everything a loaded skin is: its images, its element tables and the interaction state
// that the face is composed from. Plain data; the loader fills it, the composer and the
// pointer handling read and change it.
struct SkinModel {
    QImage MaskBitmap; // only while the skin loads: the window's shape is made from it
    QImage MouseUpBitmap;
    QImage MouseOnBitmap;
    QImage MouseDownBitmap;
    // The pictures the three looks are read from, kept to read them again after a rest, with
    // where they come from (the built-in skins or the user's folder).
    QString MouseUpName, MouseOnName, MouseDownName;
    SkinSource Source;
    QString MaskName;
    QImage NumbersBitmap;
    QImage TextBitmap;
    std::uint32_t KeyColor = 0xFFFFFF;
    std::uint32_t Tolerance = 0;
    THotAreaInfoArray HotAreas;
    TDisplayInfoArray Displays;
    TTrackBarInfoArray TrackBars;
    bool UseMouseOnBitmap = true;
    QString CurrentID;
    std::uint8_t DisplayCharset = 1;
    bool FaceStale = true;
    bool WasOverArea = false;
    bool OverArea = false;
    QStringList GroupNames;
    QStringList GroupDown;
    QString SkinFile;
    bool PressedOnArea = false;
    bool Dragging = false;
    std::int32_t ActiveTrackBar = 0;
    std::int32_t GrabOffset = 0;
    std::int32_t SkinVersion = 150;

    // Index of the first element with exactly this name (letter case counts), or -1.
    int FindHotArea(QStringView id) const;
    int findDisplay(QStringView id) const;
    int findTrackBar(QStringView id) const;
    // Index of the radio group (names compared without regard to case), or -1.
    int findGroup(QStringView name) const;
};

// A skin taken in place of another: each toggle, slider and display of `to` takes the state
// of the element of the same name in `from` (a button pressed stays down, a slider where it
// was, a display's text), and each radio group records its member that is down.
void CarryElementStates(const SkinModel& from, SkinModel& to);

} // namespace korvel

#pragma once

#include <QColor>
#include <QString>

namespace korvel {

// The colours of the playlist window's widgets, which sit on the list skin's dark face: one
// palette for the grid and for the edit fields, so that a row the grid marks and text marked
// in a field look alike, and the two never part.
class ListPalette {
public:
    // Text and marks, in the grid and in the fields alike.
    static constexpr QColor Text{0xd2, 0xd6, 0xde};
    static constexpr QColor FieldText{0xdf, 0xe3, 0xea};
    static constexpr QColor BlockFill{0x22, 0x36, 0x4d}; // the selected block
    static constexpr QColor MarkFill{0x3a, 0x65, 0x92};  // the current row, marked text
    static constexpr QColor MarkText{0xf4, 0xf6, 0xf9};

    // The grid's insides; its frame is the skin's.
    static constexpr QColor GridBase{0x0a, 0x0d, 0x12};
    static constexpr QColor GridLine{0x1a, 0x1e, 0x25};
    static constexpr QColor HeaderText{0xa4, 0xaa, 0xb4};
    static constexpr QColor HeaderEdge{0x36, 0x3a, 0x43};
    static constexpr QColor ScrollBase{0x10, 0x13, 0x18};
    static constexpr QColor ScrollHandle{0x3a, 0x3f, 0x48};
    static constexpr QColor ScrollHandleHover{0x4c, 0x52, 0x5d};

    // Raised parts: the header, and the spin box's arrows.
    static constexpr QColor Raised{0x1d, 0x20, 0x26};
    static constexpr QColor RaisedHover{0x2c, 0x30, 0x38};

    // The fields: dark like the boxes the skin draws under them, with a thin edge in the
    // skin's grey.
    static constexpr QColor FieldBase{0x0a, 0x0e, 0x11};
    static constexpr QColor FieldEdge{0x2b, 0x30, 0x38};
    static constexpr QColor FieldFocusEdge{0x4d, 0x5c, 0x70};

    // The style sheets of the grid (with its header and scroll bars), of the edit boxes and of
    // the spin box.
    static QString gridSheet();
    static QString editSheet();
    static QString spinSheet();
};

} // namespace korvel

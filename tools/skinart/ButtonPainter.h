#pragma once

#include "tools/skinart/IconPainter.h"

#include <QRect>
#include <QString>

class QPainter;

namespace korvel::skinart {

// How a button looks; its content is laid out as one centred row: indicator lamp, then an
// icon or a label.
struct ButtonArt {
    enum class Chrome { Key, Tab }; // a Tab hangs from the face's top edge
    Chrome chrome = Chrome::Key;
    Glyph glyph = Glyph::None;
    Glyph litGlyph = Glyph::None; // the icon when lit, if it differs
    QString label;
    int labelPixels = 8;
    bool lamp = false; // a toggle's indicator lamp
};

// Paints one button strictly inside `area` (the face copies pressed looks area by area), in
// its normal look or lit: inset, accent rim and glow, accent ink.
void paintButton(QPainter& painter, const QRect& area, const ButtonArt& art, bool lit);

// A recessed tray behind a row of buttons; part of the face, not of any button.
void paintTray(QPainter& painter, const QRect& buttons, bool hangsFromTop = false);

} // namespace korvel::skinart

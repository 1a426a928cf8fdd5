#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The one palette and type scale of both built-in skins: graphite body, recessed dark panels,
// soft keys, and a single cool accent kept for what is lit.
namespace korvel::skinart::style {

inline QColor rgb(int r, int g, int b, int a = 255) { return QColor(r, g, b, a); }

inline QColor bodyTop() { return rgb(0x30, 0x34, 0x3c); }
inline QColor bodyBottom() { return rgb(0x1c, 0x1f, 0x24); }
inline QColor bodyEdge() { return rgb(0x08, 0x09, 0x0b); }
inline QColor bodySheen() { return rgb(255, 255, 255, 26); }

inline QColor trayFill() { return rgb(0x14, 0x16, 0x1a); }
inline QColor panelTop() { return rgb(0x07, 0x0a, 0x0d); }
inline QColor panelBottom() { return rgb(0x0d, 0x12, 0x16); }
inline QColor panelRim() { return rgb(0x04, 0x05, 0x06); }
inline QColor panelLip() { return rgb(255, 255, 255, 30); }

inline QColor keyTop() { return rgb(0x45, 0x4a, 0x54); }
inline QColor keyBottom() { return rgb(0x2d, 0x31, 0x38); }
inline QColor keyEdge() { return rgb(0x0c, 0x0d, 0x10); }
inline QColor keySheen() { return rgb(255, 255, 255, 40); }
inline QColor keyInk() { return rgb(0xd6, 0xdb, 0xe2); }

inline QColor litTop() { return rgb(0x0b, 0x16, 0x1b); }
inline QColor litBottom() { return rgb(0x10, 0x24, 0x2b); }
// The accent and its ink: the built-in skins' cool cyan, unless a run draws a skin of another.
struct Accent {
    QColor colour = rgb(0x3c, 0xd8, 0xf2);
    QColor ink = rgb(0x8a, 0xee, 0xff);
};
inline Accent& currentAccent() {
    static Accent accent;
    return accent;
}
// Another accent; its ink is the colour taken halfway to white, as the cyan's nearly is.
inline void setAccent(const QColor& colour) {
    currentAccent().colour = colour;
    currentAccent().ink =
        rgb((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2);
}
inline QColor accent() { return currentAccent().colour; }
inline QColor accentInk() { return currentAccent().ink; }
inline QColor accent(int alpha) {
    QColor colour = currentAccent().colour;
    colour.setAlpha(alpha);
    return colour;
}

inline QColor grooveFill() { return rgb(0x06, 0x08, 0x0a); }
inline QColor grooveLip() { return rgb(255, 255, 255, 34); }
inline QColor labelInk() { return rgb(0x84, 0x8c, 0x98); }
inline QColor captionInk() { return rgb(0xe8, 0xec, 0xf1); }

// Pixel-sized fonts: the pictures must not depend on the image's nominal resolution.
inline QFont uiFont(int pixelSize, bool bold = true) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace korvel::skinart::style

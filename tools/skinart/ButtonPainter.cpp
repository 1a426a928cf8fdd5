#include "tools/skinart/ButtonPainter.h"

#include "tools/skinart/ArtStyle.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace korvel::skinart {

namespace {

constexpr qreal LampRadius = 2.2;
constexpr qreal LampGap = 4.0;
constexpr qreal GlyphGap = 3.0;

// Rounded outline inset by half a pixel so a one-pixel rim stays inside the area.
QPainterPath keyOutline(const QRectF& area, ButtonArt::Chrome chrome, qreal inset) {
    const QRectF r = area.adjusted(inset, inset, -inset, -inset);
    const qreal radius = std::max(1.0, 3.0 - inset + 0.5);
    QPainterPath path;
    if (chrome == ButtonArt::Chrome::Key) {
        path.addRoundedRect(r, radius, radius);
        return path;
    }
    path.moveTo(r.left(), area.top());
    path.lineTo(r.right(), area.top());
    path.arcTo(QRectF(r.right() - 2 * radius, r.bottom() - 2 * radius, 2 * radius, 2 * radius), 0,
               -90);
    path.arcTo(QRectF(r.left(), r.bottom() - 2 * radius, 2 * radius, 2 * radius), 270, -90);
    path.closeSubpath();
    return path;
}

void paintChrome(QPainter& p, const QRectF& area, ButtonArt::Chrome chrome, bool lit) {
    const QPainterPath outer = keyOutline(area, chrome, 0.5);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, lit ? style::litTop() : style::keyTop());
    fill.setColorAt(1, lit ? style::litBottom() : style::keyBottom());
    p.fillPath(outer, fill);
    if (lit) {
        QRadialGradient glow(area.center() + QPointF(0, area.height() * 0.25),
                             std::max(area.width(), area.height()) * 0.6);
        glow.setColorAt(0, style::accent(60));
        glow.setColorAt(1, style::accent(0));
        p.fillPath(outer, glow);
        p.strokePath(keyOutline(area, chrome, 1.5), QPen(style::accent(105), 1.0));
        p.strokePath(outer, QPen(style::keyEdge(), 1.0));
        // Inset: the upper rim is in shadow.
        p.setPen(QPen(QColor(0, 0, 0, 150), 1.0));
        p.drawLine(QPointF(area.left() + 2.5, area.top() + 1.5),
                   QPointF(area.right() - 2.5, area.top() + 1.5));
        return;
    }
    p.strokePath(outer, QPen(style::keyEdge(), 1.0));
    const qreal sheenY = area.top() + (chrome == ButtonArt::Chrome::Tab ? 0.5 : 1.5);
    p.setPen(QPen(style::keySheen(), 1.0));
    p.drawLine(QPointF(area.left() + 2.5, sheenY), QPointF(area.right() - 2.5, sheenY));
}

void paintLamp(QPainter& p, QPointF centre, bool lit) {
    p.setPen(Qt::NoPen);
    if (lit) {
        QRadialGradient glow(centre, LampRadius * 2.6);
        glow.setColorAt(0, style::accent(150));
        glow.setColorAt(1, style::accent(0));
        p.setBrush(glow);
        p.drawEllipse(centre, LampRadius * 2.6, LampRadius * 2.6);
        p.setBrush(style::accentInk());
    } else {
        p.setBrush(QColor(0x0b, 0x0d, 0x10));
    }
    p.drawEllipse(centre, LampRadius, LampRadius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(lit ? style::accent(200) : QColor(255, 255, 255, 40), 0.8));
    p.drawEllipse(centre, LampRadius + 0.4, LampRadius + 0.4);
}

// Accent halo behind lit ink.
void paintHalo(QPainter& p, const QPainterPath& ink) {
    p.strokePath(ink, QPen(style::accent(34), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Width of the content row: lamp, icon, label.
qreal rowWidth(const ButtonArt& art, Glyph glyph, qreal labelWidth) {
    qreal width = art.lamp ? 2 * LampRadius + LampGap : 0;
    width += glyphWidth(glyph) + labelWidth;
    if (glyph != Glyph::None && labelWidth > 0) width += GlyphGap;
    return width;
}

void paintContent(QPainter& p, const QRectF& area, const ButtonArt& art, bool lit) {
    const Glyph glyph = lit && art.litGlyph != Glyph::None ? art.litGlyph : art.glyph;
    const QColor ink = lit ? style::accentInk() : style::keyInk();
    const qreal cy = area.top() + area.height() / 2.0;
    if (art.label.isEmpty() && !art.lamp) {
        // An icon alone sits on its own (optically chosen) centre.
        const QPainterPath icon = glyphPath(glyph, QPointF(area.center().x(), cy));
        if (lit) paintHalo(p, icon);
        p.fillPath(icon, ink);
        return;
    }
    const QFont font = style::uiFont(art.labelPixels);
    const QFontMetricsF metrics(font);
    const qreal labelWidth = art.label.isEmpty() ? 0 : metrics.horizontalAdvance(art.label);
    qreal x = std::round(area.left() + (area.width() - rowWidth(art, glyph, labelWidth)) / 2.0);
    if (art.lamp) {
        paintLamp(p, QPointF(x + LampRadius, cy), lit);
        x += 2 * LampRadius + LampGap;
    }
    if (glyph != Glyph::None) {
        const QPainterPath icon =
            glyphPath(glyph, QPointF(x - glyphPath(glyph, {}).boundingRect().left(), cy));
        if (lit) paintHalo(p, icon); // small letters stay crisp without one
        p.fillPath(icon, ink);
        x += glyphWidth(glyph) + GlyphGap;
    }
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QPointF(x, std::round(cy + metrics.capHeight() / 2.0)), art.label);
}

} // namespace

void paintButton(QPainter& painter, const QRect& area, const ButtonArt& art, bool lit) {
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF box(area);
    paintChrome(painter, box, art.chrome, lit);
    paintContent(painter, box, art, lit);
    painter.restore();
}

void paintTray(QPainter& painter, const QRect& buttons, bool hangsFromTop) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF well = QRectF(buttons).adjusted(-1, hangsFromTop ? -2 : -1, 1, 1);
    QPainterPath path;
    path.addRoundedRect(well.adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
    painter.strokePath(path.translated(0, 1), QPen(style::panelLip(), 1.0));
    painter.fillPath(path, style::trayFill());
    painter.strokePath(path, QPen(style::panelRim(), 1.0));
    painter.restore();
}

} // namespace korvel::skinart

#include "tools/skinart/ListFace.h"

#include "tools/skinart/ArtStyle.h"
#include "tools/skinart/FaceCommon.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace korvel::skinart {

namespace {

ButtonArt named(const char* text, bool lamp = false, Glyph glyph = Glyph::None) {
    ButtonArt art;
    art.label = QString::fromLatin1(text);
    art.labelPixels = 8;
    art.lamp = lamp;
    art.glyph = glyph;
    return art;
}

const ButtonArtTable& buttonArt() {
    static const ButtonArtTable table = {
        {QStringLiteral("UP"), named("UP", false, Glyph::ArrowUp)},
        {QStringLiteral("DOWN"), named("DOWN", false, Glyph::ArrowDown)},
        {QStringLiteral("CLEAR"), named("CLEAR")},
        {QStringLiteral("CUT"), named("CUT")},
        {QStringLiteral("OK"), named("OK")},
        {QStringLiteral("CANCEL"), named("CANCEL")},
        {QStringLiteral("COPY"), named("COPY")},
        {QStringLiteral("PASTE"), named("PASTE")},
        {QStringLiteral("HISTORY"), named("HISTORY")},
        {QStringLiteral("RAM"), named("RAM")},
        {QStringLiteral("ADD"), named("ADD")},
        {QStringLiteral("SHUFFLE"), named("SHUFFLE", true)},
        {QStringLiteral("LOOP"), named("LOOP", true)},
        {QStringLiteral("PLAY"), named("PLAY", true)},
    };
    return table;
}

QPainterPath boxOutline(const QRect& box, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    return path;
}

// The grid's frame lies just outside its rectangle, which the grid widget covers.
void paintGridFrame(QPainter& p) {
    const QRect frame = ListWidgetPlaces::grid.adjusted(-1, -1, 1, 1);
    paintInset(p, boxOutline(frame, 2));
}

void paintFieldLabel(QPainter& p, const QRect& box, const QString& text) {
    const QFont font = style::uiFont(7);
    p.setFont(font);
    p.setPen(style::labelInk());
    p.drawText(QPointF(box.left() + 2, box.top() - 3), text);
}

void paintFields(QPainter& p) {
    const struct {
        QRect box;
        const char* label;
    } fields[] = {{ListWidgetPlaces::group, "GROUP"},
                  {ListWidgetPlaces::count, "COUNT"},
                  {ListWidgetPlaces::url, "URL"}};
    for (const auto& field : fields) {
        paintInset(p, boxOutline(field.box, 3));
        paintFieldLabel(p, field.box, QString::fromLatin1(field.label));
    }
}

// "Korvel playlist" in the free corner left of the first button, as large as fits.
void paintCaption(QPainter& p, const SkinLayout& layout) {
    const QRect cut = layout.hotArea(u"CUT").rect;
    const QString word = QStringLiteral("Korvel");
    const QString rest = QStringLiteral("playlist");
    constexpr qreal Left = 6;
    constexpr qreal Space = 3;
    int pixels = 10;
    for (; pixels > 7; --pixels) {
        const qreal width = QFontMetricsF(style::uiFont(pixels)).horizontalAdvance(word) + Space +
                            QFontMetricsF(style::uiFont(pixels, false)).horizontalAdvance(rest);
        if (Left + width <= cut.left() - 5) break;
    }
    const QFont strong = style::uiFont(pixels);
    const QFont light = style::uiFont(pixels, false);
    const qreal cy = cut.top() + cut.height() / 2.0;
    const qreal baseline = std::round(cy + QFontMetricsF(strong).capHeight() / 2.0);
    p.setFont(strong);
    p.setPen(style::captionInk());
    p.drawText(QPointF(Left, baseline), word);
    p.setFont(light);
    p.setPen(style::labelInk());
    p.drawText(QPointF(Left + QFontMetricsF(strong).horizontalAdvance(word) + Space, baseline),
               rest);
}

void paintTrays(QPainter& p, const SkinLayout& layout) {
    paintTray(p, spanOf(layout, {u"CUT", u"COPY", u"PASTE", u"HISTORY"}));
    paintTray(p, spanOf(layout, {u"UP", u"DOWN"}));
    paintTray(p, spanOf(layout, {u"CLEAR", u"RAM"}));
    paintTray(p, spanOf(layout, {u"SHUFFLE", u"LOOP"}));
    paintTray(p, spanOf(layout, {u"PLAY"}));
    paintTray(p, spanOf(layout, {u"ADD"}));
    paintTray(p, spanOf(layout, {u"OK", u"CANCEL"}));
}

} // namespace

QImage paintListFace(const SkinLayout& layout, bool lit) {
    return paintFace(layout, buttonArt(), lit, [&layout](QPainter& p) {
        paintTrays(p, layout);
        paintGridFrame(p);
        paintFields(p);
        paintCaption(p, layout);
    });
}

} // namespace korvel::skinart

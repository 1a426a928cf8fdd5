#include "tools/skinart/ListFace.h"

#include "skin/ListSkinElements.h"
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

const ButtonArtTable& listButtonArt() {
    static const ButtonArtTable table = {
        {ListElement::Up.toString(), named("UP", false, Glyph::ArrowUp)},
        {ListElement::Down.toString(), named("DOWN", false, Glyph::ArrowDown)},
        {ListElement::Clear.toString(), named("CLEAR")},
        {ListElement::Cut.toString(), named("CUT")},
        {ListElement::Ok.toString(), named("OK")},
        {ListElement::Cancel.toString(), named("CANCEL")},
        {ListElement::Copy.toString(), named("COPY")},
        {ListElement::Paste.toString(), named("PASTE")},
        {ListElement::History.toString(), named("HISTORY")},
        {ListElement::Ram.toString(), named("RAM")},
        {ListElement::Add.toString(), named("ADD")},
        {ListElement::Shuffle.toString(), named("SHUFFLE", true)},
        {ListElement::Loop.toString(), named("LOOP", true)},
        {ListElement::Play.toString(), named("PLAY", true)},
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
    const QRect frame = ListSkin::GridPlace.adjusted(-1, -1, 1, 1);
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
    const QRect cut = layout.hotArea(ListElement::Cut).rect;
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

void paintListTrays(QPainter& p, const SkinLayout& layout) {
    paintTray(p, spanOf(layout, {ListElement::Cut, ListElement::Copy, ListElement::Paste,
                                 ListElement::History}));
    paintTray(p, spanOf(layout, {ListElement::Up, ListElement::Down}));
    paintTray(p, spanOf(layout, {ListElement::Clear, ListElement::Ram}));
    paintTray(p, spanOf(layout, {ListElement::Shuffle, ListElement::Loop}));
    paintTray(p, spanOf(layout, {ListElement::Play}));
    paintTray(p, spanOf(layout, {ListElement::Add}));
    paintTray(p, spanOf(layout, {ListElement::Ok, ListElement::Cancel}));
}

} // namespace

QImage paintListFace(const SkinLayout& layout, bool lit) {
    return paintFace(layout, listButtonArt(), lit, [&layout](QPainter& p) {
        paintListTrays(p, layout);
        paintGridFrame(p);
        paintFields(p);
        paintCaption(p, layout);
    });
}

} // namespace korvel::skinart

#include "tools/skinart/FaceCommon.h"

#include "base/KorvelError.h"
#include "tools/skinart/ArtStyle.h"

#include <QLinearGradient>
#include <QPainter>

namespace korvel::skinart {

QImage blankFace(const SkinLayout& layout) {
    QImage face(layout.faceSize(), QImage::Format_RGB32);
    face.fill(style::bodyBottom());
    return face;
}

void paintBody(QPainter& painter, const QRect& face) {
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, style::bodyTop());
    fill.setColorAt(1, style::bodyBottom());
    painter.fillRect(face, fill);
    painter.fillRect(QRect(1, 1, face.width() - 2, 1), style::bodySheen());
}

void paintOutline(QPainter& painter, const QRect& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(style::bodyEdge());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(face.adjusted(0, 0, -1, -1));
    painter.restore();
}

void paintInset(QPainter& painter, const QPainterPath& outline) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = outline.boundingRect();
    painter.strokePath(outline.translated(0, 1), QPen(style::panelLip(), 1.0));
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, style::panelTop());
    fill.setColorAt(1, style::panelBottom());
    painter.fillPath(outline, fill);
    // Shadow under the upper rim, as light falls from above into the recess.
    painter.setClipPath(outline);
    painter.strokePath(outline.translated(0, 1), QPen(QColor(0, 0, 0, 170), 1.0));
    painter.setClipping(false);
    painter.strokePath(outline, QPen(style::panelRim(), 1.0));
    painter.restore();
}

void paintButtons(QPainter& painter, const SkinLayout& layout, const ButtonArtTable& table,
                  bool lit) {
    for (const HotArea& area : layout.hotAreas()) {
        const auto art = table.find(area.id);
        if (art == table.end())
            throw KorvelError(QStringLiteral("no picture for the button %1").arg(area.id));
        paintButton(painter, area.rect, art->second, lit);
    }
}

QRect spanOf(const SkinLayout& layout, std::initializer_list<QStringView> ids) {
    QRect span;
    for (const QStringView id : ids) span = span.united(layout.hotArea(id).rect);
    return span;
}

QImage paintFace(const SkinLayout& layout, const ButtonArtTable& buttons, bool lit,
                 const std::function<void(QPainter&)>& parts) {
    QImage face = blankFace(layout);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBody(p, layout.faceRect());
    parts(p);
    paintButtons(p, layout, buttons, lit);
    paintOutline(p, layout.faceRect());
    return face;
}

} // namespace korvel::skinart

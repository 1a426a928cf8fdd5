#include "tools/skinart/ThumbArt.h"

#include "tools/skinart/ArtStyle.h"

#include <QPainter>
#include <QRadialGradient>

namespace korvel::skinart {

QImage paintThumb(const QImage& face, const Track& track) {
    const QPoint under(track.left + (track.length - ThumbSize.width()) / 2, track.top);
    QImage thumb = face.copy(QRect(under, ThumbSize)).convertToFormat(QImage::Format_RGB32);
    QPainter p(&thumb);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(ThumbSize.width() / 2.0, ThumbSize.height() / 2.0);
    const qreal radius = 4.4;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150)); // contact shadow
    p.drawEllipse(centre + QPointF(0, 0.6), radius + 0.5, radius + 0.5);
    QRadialGradient body(centre - QPointF(1.2, 1.6), radius * 1.6);
    body.setColorAt(0, QColor(0xfb, 0xfc, 0xfe));
    body.setColorAt(0.55, QColor(0xd5, 0xdb, 0xe2));
    body.setColorAt(1, QColor(0x8e, 0x97, 0xa3));
    p.setBrush(body);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(style::accent());
    p.drawEllipse(centre, 1.3, 1.3);
    return thumb;
}

} // namespace korvel::skinart

#include "tools/skinart/IconPainter.h"

#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <initializer_list>

namespace korvel::skinart {

namespace {

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    return path;
}

QPainterPath widen(const QPainterPath& centreLine, qreal width,
                   Qt::PenCapStyle cap = Qt::RoundCap) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(centreLine).simplified();
}

// Filled shapes get softly rounded corners, as if drawn with a round pen.
QPainterPath soften(const QPainterPath& shape) {
    return shape.united(widen(shape, 0.9)).simplified();
}

QPainterPath rect(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath path;
    path.addRect(QRectF(x, y, w, h));
    return path;
}

QPainterPath mirrored(const QPainterPath& path) { return QTransform::fromScale(-1, 1).map(path); }

QPainterPath next() {
    QPainterPath path = polygon({{-4.6, -4.4}, {1.6, 0}, {-4.6, 4.4}});
    path.addPath(rect(2.6, -4.4, 2.0, 8.8));
    return soften(path);
}

QPainterPath fastForward() {
    QPainterPath path = polygon({{-5.6, -4.0}, {0, 0}, {-5.6, 4.0}});
    path.addPath(polygon({{0.2, -4.0}, {5.8, 0}, {0.2, 4.0}}));
    return soften(path);
}

QPainterPath playlist() {
    QPainterPath path = rect(-5.5, -4.5, 11, 1.6);
    path.addPath(rect(-5.5, -1.2, 11, 1.6));
    path.addPath(rect(-5.5, 2.1, 5.5, 1.6));
    path.addPath(polygon({{1.6, 0.6}, {5.8, 2.9}, {1.6, 5.2}}));
    return soften(path.translated(0, -0.3));
}

QPainterPath skipBack() {
    QPainterPath path = polyline({{-0.4, -3}, {-3.4, 0}, {-0.4, 3}});
    path.addPath(polyline({{3.4, -3}, {0.4, 0}, {3.4, 3}}));
    return widen(path, 1.4);
}

QPainterPath fullScreen() {
    QPainterPath path = polyline({{-6, -1.5}, {-6, -4.5}, {-3, -4.5}});
    path.addPath(polyline({{3, -4.5}, {6, -4.5}, {6, -1.5}}));
    path.addPath(polyline({{6, 1.5}, {6, 4.5}, {3, 4.5}}));
    path.addPath(polyline({{-3, 4.5}, {-6, 4.5}, {-6, 1.5}}));
    return widen(path, 1.4, Qt::SquareCap);
}

QPainterPath speakerBody() {
    QPainterPath path = rect(-6.0, -1.9, 2.6, 3.8);
    path.addPath(polygon({{-3.4, -1.9}, {-0.4, -4.6}, {-0.4, 4.6}, {-3.4, 1.9}}));
    return soften(path);
}

QPainterPath speaker() {
    QPainterPath waves;
    for (qreal radius : {2.6, 5.2}) {
        const QRectF box(-0.4 - radius, -radius, 2 * radius, 2 * radius);
        waves.arcMoveTo(box, 40);
        waves.arcTo(box, 40, -80);
    }
    return speakerBody().united(widen(waves, 1.2)).simplified();
}

QPainterPath cross(qreal half, qreal width) {
    QPainterPath path = polyline({{-half, -half}, {half, half}});
    path.addPath(polyline({{-half, half}, {half, -half}}));
    return widen(path, width);
}

QPainterPath speakerMuted() {
    return speakerBody().united(cross(2.2, 1.4).translated(4.0, 0)).simplified();
}

// A picture with a smaller one in its corner and a corner mark: the size of the picture.
// Laid on whole pixels when centred on a half pixel, so its one-pixel lines stay sharp.
QPainterPath pictureSize() {
    QPainterPath frame;
    frame.addRect(QRectF(-5, -4, 10, 8));
    QPainterPath path = widen(frame, 1.0, Qt::SquareCap);
    path.addPath(rect(-3.5, -0.5, 4, 3));
    path.addPath(widen(polyline({{1.0, -2.0}, {3.0, -2.0}, {3.0, 0}}), 1.0, Qt::SquareCap));
    return path.simplified();
}

QPainterPath logo() {
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), 4.2, 4.2);
    QPainterPath path = widen(ring, 1.5);
    path.addPath(soften(polygon({{-1.3, -2.2}, {2.3, 0}, {-1.3, 2.2}})));
    return path.simplified();
}

QPainterPath shape(Glyph glyph) {
    switch (glyph) {
    case Glyph::None: return {};
    case Glyph::Play: return soften(polygon({{-3.6, -5.0}, {5.0, 0}, {-3.6, 5.0}}));
    case Glyph::Pause: return soften(rect(-4.0, -4.5, 2.8, 9).united(rect(1.2, -4.5, 2.8, 9)));
    case Glyph::Stop: return soften(rect(-4.0, -4.0, 8, 8));
    case Glyph::Next: return next();
    case Glyph::Prev: return mirrored(next());
    case Glyph::FastForward: return fastForward();
    case Glyph::Rewind: return mirrored(fastForward());
    case Glyph::Playlist: return playlist();
    case Glyph::Minimize: return widen(polyline({{-3.5, 2.2}, {3.5, 2.2}}), 1.5, Qt::FlatCap);
    case Glyph::Close: return cross(3.0, 1.5);
    case Glyph::Hide: return widen(polyline({{-3.6, -1.6}, {0, 2.0}, {3.6, -1.6}}), 1.5);
    case Glyph::SkipBack: return skipBack();
    case Glyph::SkipForward: return mirrored(skipBack());
    case Glyph::FullScreen: return fullScreen();
    case Glyph::Speaker: return speaker();
    case Glyph::SpeakerMuted: return speakerMuted();
    case Glyph::PictureSize: return pictureSize();
    case Glyph::ArrowUp: return soften(polygon({{-3.2, 1.8}, {0, -1.8}, {3.2, 1.8}}));
    case Glyph::ArrowDown: return soften(polygon({{-3.2, -1.8}, {0, 1.8}, {3.2, -1.8}}));
    case Glyph::Logo: return logo();
    }
    return {};
}

} // namespace

QPainterPath glyphPath(Glyph glyph, QPointF centre) { return shape(glyph).translated(centre); }

qreal glyphWidth(Glyph glyph) {
    return glyph == Glyph::None ? 0.0 : shape(glyph).boundingRect().width();
}

} // namespace korvel::skinart

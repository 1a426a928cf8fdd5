#include "tools/skinart/AppIcon.h"

#include "base/KorvelError.h"
#include "tools/skinart/ArtStyle.h"
#include "tools/skinart/ImageFiles.h"

#include <QBuffer>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>

namespace korvel::skinart {

namespace {

// The drawing, in units of a 256-unit square. The PNGs and the SVG are both made from these.
constexpr qreal Units = 256;
constexpr QRectF Body(16, 16, 224, 224);
constexpr qreal BodyRadius = 52;
constexpr qreal EdgeWidth = 4;
constexpr QRectF Screen(44, 44, 168, 168);
constexpr qreal ScreenRadius = 32;
constexpr qreal LipDrop = 3;
constexpr QPointF Centre(128, 128);
constexpr qreal GlowRadius = 84;
constexpr qreal RingRadius = 54;
constexpr qreal RingWidth = 14;
constexpr qreal HaloWidth = 26;
constexpr qreal MarkRound = 8;
const QPolygonF Mark{{{108, 96}, {162, 128}, {108, 160}}};

QString num(qreal value) { return QString::number(value, 'g', 6); }

QString paint(const QColor& colour) { return colour.name(QColor::HexRgb); }

QString opacity(const QColor& colour) { return num(colour.alphaF()); }

QPainterPath rounded(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QString pngName(int pixels) { return QStringLiteral("korvel-%1.png").arg(pixels); }

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw KorvelError(QStringLiteral("cannot encode a %1-pixel icon").arg(image.width()));
    return bytes;
}

void checkPng(const QString& path, int pixels, QStringList& failures) {
    QImage read;
    if (!read.loadFromData(readFile(path), "PNG")) {
        failures << QStringLiteral("%1 is not a PNG").arg(path);
        return;
    }
    read = read.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (read != paintAppIcon(pixels))
        failures << QStringLiteral("%1 differs from the drawing").arg(path);
    const int last = pixels - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        if (read.valid(corner) && qAlpha(read.pixel(corner)) != 0)
            failures << QStringLiteral("%1 has an opaque corner").arg(path);
    const qreal scale = pixels / Units;
    const QColor ring =
        read.pixelColor(QPointF((Centre.x() + RingRadius) * scale, Centre.y() * scale).toPoint());
    if (ring.alpha() != 255 || ring.blue() < ring.red() + 60)
        failures << QStringLiteral("%1 does not show the accent ring").arg(path);
}

void checkSvg(const QString& path, QStringList& failures) {
    QXmlStreamReader xml(readFile(path));
    bool root = false;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && !root) {
            root = true;
            if (xml.name() != u"svg" || xml.attributes().value(QStringLiteral("viewBox")) !=
                                            QStringLiteral("0 0 %1 %1").arg(Units))
                failures << QStringLiteral("%1 is not a %2-unit SVG drawing").arg(path).arg(Units);
        }
    }
    if (xml.hasError()) failures << QStringLiteral("%1: %2").arg(path, xml.errorString());
}

} // namespace

QImage paintAppIcon(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal scale = pixels / Units;
    p.scale(scale, scale);
    // Lines keep at least a visible width in the small sizes.
    const auto width = [scale](qreal units, qreal minPixels) {
        return std::max(units, minPixels / scale);
    };

    const QPainterPath body = rounded(Body, BodyRadius);
    QLinearGradient bodyFill(Body.topLeft(), Body.bottomLeft());
    bodyFill.setColorAt(0, style::bodyTop());
    bodyFill.setColorAt(1, style::bodyBottom());
    p.fillPath(body, bodyFill);
    p.strokePath(body, QPen(style::bodyEdge(), width(EdgeWidth, 1)));
    p.setPen(QPen(style::bodySheen(), width(EdgeWidth, 1)));
    p.drawLine(QPointF(Body.left() + BodyRadius, Body.top() + EdgeWidth),
               QPointF(Body.right() - BodyRadius, Body.top() + EdgeWidth));

    // The display is recessed: a light lip below it, a dark rim around it.
    const QPainterPath display = rounded(Screen, ScreenRadius);
    p.strokePath(display.translated(0, LipDrop), QPen(style::panelLip(), width(LipDrop, 1)));
    QLinearGradient displayFill(Screen.topLeft(), Screen.bottomLeft());
    displayFill.setColorAt(0, style::panelTop());
    displayFill.setColorAt(1, style::panelBottom());
    p.fillPath(display, displayFill);
    QRadialGradient glow(Centre, GlowRadius);
    glow.setColorAt(0, style::accent(70));
    glow.setColorAt(1, style::accent(0));
    p.fillPath(display, glow);
    p.strokePath(display, QPen(style::panelRim(), width(EdgeWidth, 1)));

    QPainterPath ring;
    ring.addEllipse(Centre, RingRadius, RingRadius);
    p.strokePath(ring, QPen(style::accent(34), HaloWidth));
    p.strokePath(ring, QPen(style::accent(), width(RingWidth, 1.5)));
    QPainterPath mark;
    mark.addPolygon(Mark);
    mark.closeSubpath();
    p.fillPath(mark, style::accentInk());
    p.strokePath(mark,
                 QPen(style::accentInk(), MarkRound, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    return image;
}

QByteArray appIconSvg() {
    const auto rect = [](const QRectF& r, qreal radius) {
        return QStringLiteral("x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
            .arg(num(r.x()), num(r.y()), num(r.width()), num(r.height()), num(radius));
    };
    const auto stop = [](qreal offset, const QColor& colour) {
        return QStringLiteral("<stop offset=\"%1\" stop-color=\"%2\" stop-opacity=\"%3\"/>")
            .arg(num(offset), paint(colour), opacity(colour));
    };
    const auto stroke = [](const QColor& colour, qreal width) {
        return QStringLiteral("stroke=\"%1\" stroke-opacity=\"%2\" stroke-width=\"%3\"")
            .arg(paint(colour), opacity(colour), num(width));
    };
    const auto vertical = [&stop](const QString& id, const QRectF& r, const QColor& top,
                                  const QColor& bottom) {
        return QStringLiteral("<linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                              "x1=\"0\" y1=\"%2\" x2=\"0\" y2=\"%3\">%4%5</linearGradient>")
            .arg(id, num(r.top()), num(r.bottom()), stop(0, top), stop(1, bottom));
    };
    const QString circle = QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" ")
                               .arg(num(Centre.x()), num(Centre.y()), num(RingRadius));
    QStringList points;
    for (const QPointF& point : Mark) points << num(point.x()) + ',' + num(point.y());

    QStringList svg;
    svg << QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">")
               .arg(num(Units));
    svg << QStringLiteral("  <defs>");
    svg << "    " + vertical(QStringLiteral("body"), Body, style::bodyTop(), style::bodyBottom());
    svg << "    " +
               vertical(QStringLiteral("display"), Screen, style::panelTop(), style::panelBottom());
    svg << QStringLiteral("    <radialGradient id=\"glow\" gradientUnits=\"userSpaceOnUse\" "
                          "cx=\"%1\" cy=\"%2\" r=\"%3\">%4%5</radialGradient>")
               .arg(num(Centre.x()), num(Centre.y()), num(GlowRadius), stop(0, style::accent(70)),
                    stop(1, style::accent(0)));
    svg << QStringLiteral("  </defs>");
    svg << QStringLiteral("  <rect %1 fill=\"url(#body)\" %2/>")
               .arg(rect(Body, BodyRadius), stroke(style::bodyEdge(), EdgeWidth));
    svg << QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" %4/>")
               .arg(num(Body.left() + BodyRadius), num(Body.top() + EdgeWidth),
                    num(Body.right() - BodyRadius), stroke(style::bodySheen(), EdgeWidth));
    svg << QStringLiteral("  <rect %1 fill=\"none\" %2/>")
               .arg(rect(Screen.translated(0, LipDrop), ScreenRadius),
                    stroke(style::panelLip(), LipDrop));
    svg << QStringLiteral("  <rect %1 fill=\"url(#display)\"/>").arg(rect(Screen, ScreenRadius));
    svg << QStringLiteral("  <rect %1 fill=\"url(#glow)\" %2/>")
               .arg(rect(Screen, ScreenRadius), stroke(style::panelRim(), EdgeWidth));
    svg << "  " + circle + stroke(style::accent(34), HaloWidth) + "/>";
    svg << "  " + circle + stroke(style::accent(), RingWidth) + "/>";
    svg << QStringLiteral("  <polygon points=\"%1\" fill=\"%2\" %3 stroke-linejoin=\"round\"/>")
               .arg(points.join(' '), paint(style::accentInk()),
                    stroke(style::accentInk(), MarkRound));
    svg << QStringLiteral("</svg>") << QString();
    return svg.join('\n').toUtf8();
}

void writeAppIcons(const QString& iconDir) {
    const QDir dir(iconDir);
    if (!dir.mkpath(QStringLiteral(".")))
        throw KorvelError(QStringLiteral("cannot make the folder %1").arg(iconDir));
    writeFile(dir.filePath(QStringLiteral("korvel.svg")), appIconSvg());
    for (const int pixels : AppIconSizes)
        writeFile(dir.filePath(pngName(pixels)), encodePng(paintAppIcon(pixels)));

    QStringList failures;
    checkSvg(dir.filePath(QStringLiteral("korvel.svg")), failures);
    for (const int pixels : AppIconSizes) checkPng(dir.filePath(pngName(pixels)), pixels, failures);
    if (!failures.isEmpty()) throw KorvelError(failures.join('\n'));
}

} // namespace korvel::skinart

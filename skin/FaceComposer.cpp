#include "skin/FaceComposer.h"

#include "skin/DisplayFonts.h"

#include <QByteArray>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace korvel {

namespace {

constexpr int DotsPerMeterAt96Dpi = 3780;

const QByteArray NumberMap = QByteArrayLiteral("0123456789 ");
const QByteArray LetterRows[3] = {
    QByteArrayLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ@\"?*"),
    QByteArrayLiteral("0123456789 .:<>-'!_+\\/[]^&%,=$"),
    QByteArrayLiteral("abcdefghijklmnopqrstuvwxyz"),
};
constexpr int LetterColumns = 30;

// The glyph writers work on single bytes: a character of several bytes is several
// characters, none of them in the maps.
QByteArray glyphBytes(QStringView text) { return text.toUtf8(); }

QImage asRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage FaceComposer::newFace(QSize size) {
    QImage face(size, QImage::Format_RGB32);
    face.fill(Qt::black);
    face.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    face.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    return face;
}

void FaceComposer::blit(QImage& face, QPoint to, const QImage& source, QRect from) {
    // Clip the source rectangle to the source, then the target to the face, keeping the
    // two in step.
    const QRect wanted = from;
    from &= source.rect();
    const QRect target(to + (from.topLeft() - wanted.topLeft()), from.size());
    const QRect clipped = target & face.rect();
    if (clipped.isEmpty()) return;
    from.translate(clipped.topLeft() - target.topLeft());
    from.setSize(clipped.size());
    const QImage src = asRgb32(source);
    const auto bytes = std::size_t(clipped.width()) * 4;
    for (int row = 0; row < clipped.height(); ++row) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(src.constScanLine(from.y() + row));
        auto* out = reinterpret_cast<std::uint32_t*>(face.scanLine(clipped.y() + row));
        std::memcpy(out + clipped.x(), in + from.x(), bytes);
    }
}

void FaceComposer::copyArea(QImage& face, const QImage& look, const QRect& area) {
    blit(face, area.topLeft(), look, area);
}

void FaceComposer::PaintFace(SkinModel& model, QImage& face) {
    blit(face, QPoint(0, 0), model.MouseUpBitmap, model.MouseUpBitmap.rect());
    for (const HotAreaInfoRec& area : model.HotAreas) {
        if ((area.IsToggle && area.Down) || area.Pressed) {
            copyArea(face, model.MouseDownBitmap, area.rect());
        }
    }
    for (int i = 0; i < int(model.TrackBars.size()); ++i) {
        const TrackBarInfoRec& bar = model.TrackBars[std::size_t(i)];
        const QImage& thumb = i == model.ActiveTrackBar ? bar.ActiveThumbImage : bar.ThumbImage;
        const QPoint at = bar.Horizontal ? QPoint(bar.Left + bar.ThumbOffset, bar.Top)
                                         : QPoint(bar.Left, bar.Top + bar.ThumbOffset);
        blit(face, at, thumb, thumb.rect());
    }
    drawDisplays(model, face);
    model.FaceStale = false;
}

namespace {

// Where the face's display area ends: as far from the right edge as its leftmost display is
// from the left. A long text (a Japanese title is wider than a Latin one of as many
// letters) is cut there, inside the frame drawn around the displays, not at the panel's edge.
int displayAreaEnd(const SkinModel& model, const QImage& face) {
    int leftmost = face.width();
    for (const DisplayInfoRec& display : model.Displays)
        leftmost = std::min(leftmost, display.Left);
    return face.width() - std::max(leftmost, 0);
}

} // namespace

void FaceComposer::drawDisplays(const SkinModel& model, QImage& face) {
    QPainter painter;
    const int areaEnd = displayAreaEnd(model, face);
    for (const DisplayInfoRec& display : model.Displays) {
        if (display.Mode == u"Number") {
            DrawNumberText(face, model.NumbersBitmap, display.Left, display.Top, display.Text);
        } else if (display.Mode == u"Text") {
            DrawLetterText(face, model.TextBitmap, display.Left, display.Top, display.Text);
        } else if (!display.Text.isEmpty()) {
            if (!painter.isActive()) {
                DisplayFonts::installSubstitutes();
                painter.begin(&face);
            }
            // A display that starts at or past the area's end is cut at the face's edge only.
            if (areaEnd > display.Left) {
                painter.setClipRect(QRect(display.Left, 0, areaEnd - display.Left, face.height()));
            } else {
                painter.setClipping(false);
            }
            painter.setFont(display.Font.toQFont());
            painter.setPen(display.Font.toQColor());
            // The text's top-left corner sits at the display's origin.
            const int ascent = painter.fontMetrics().ascent();
            painter.drawText(QPoint(display.Left, display.Top + ascent), display.Text);
        }
    }
}

void FaceComposer::DrawNumberText(QImage& face, const QImage& numbers, int x, int y,
                                  QStringView text) {
    const int cellWidth = numbers.width() / int(NumberMap.size());
    if (cellWidth == 0) return;
    const QByteArray bytes = glyphBytes(text);
    for (int k = 0; k < bytes.size(); ++k) {
        const int cell = std::max<int>(0, int(NumberMap.indexOf(bytes[k])));
        blit(face, QPoint(x + k * cellWidth, y), numbers,
             QRect(cell * cellWidth, 0, cellWidth, numbers.height()));
    }
}

void FaceComposer::DrawLetterText(QImage& face, const QImage& letters, int x, int y,
                                  QStringView text) {
    const int cellWidth = letters.width() / LetterColumns;
    const int rowHeight = letters.height() / 3;
    if (cellWidth == 0 || rowHeight == 0) return;
    const QByteArray bytes = glyphBytes(text);
    for (int k = 0; k < bytes.size(); ++k) {
        int row = 1, column = 10; // the space cell stands for anything not in the maps
        for (int r = 0; r < 3; ++r) {
            if (const auto c = LetterRows[r].indexOf(bytes[k]); c >= 0) {
                row = r;
                column = int(c);
                break;
            }
        }
        blit(face, QPoint(x + k * cellWidth, y), letters,
             QRect(column * cellWidth, row * rowHeight, cellWidth, rowHeight));
    }
}

} // namespace korvel

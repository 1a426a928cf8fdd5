// The window shape from a mask: the runs found a word at a time (with SSE2 where there is)
// are exactly those a pixel-by-pixel reading finds, and the assembled region covers exactly
// the solid pixels.

#include "FuzzInput.h"

#include "skin/MaskRegion.h"

#include <QImage>
#include <QPalette>
#include <QRegion>

#include <vector>

using korvel::KeyRange;
using korvel::fuzz::check;

namespace {

// A mask from the input: a width, then pixels, few distinct colours so that runs form.
QImage maskFrom(korvel::fuzz::FuzzInput& input, QImage::Format format) {
    const int width = input.byte() % 160 + 1;
    const int height = int(qMin<qsizetype>(input.remaining() / 2 / width + 1, 64));
    QImage mask(width, height, format);
    QRgb colours[4];
    for (QRgb& colour : colours) colour = input.u32();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < width; x += 2) {
            const std::uint8_t pick = input.byte();
            line[x] = colours[pick & 3];
            if (x + 1 < width) line[x + 1] = colours[pick >> 2 & 3];
        }
    }
    return mask;
}

std::vector<QRect> runsPixelByPixel(const QImage& mask, const KeyRange& key) {
    std::vector<QRect> runs;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (key.isTransparent(line[x])) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && !key.isTransparent(line[x])) ++x;
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    return runs;
}

qint64 area(const QRegion& region) {
    qint64 total = 0;
    for (const QRect& rect : region) total += qint64(rect.width()) * rect.height();
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvel::fuzz::FuzzInput input(data, size);
    const std::uint32_t keyColour = input.u32();
    const std::uint32_t tolerance = input.u32();
    const bool alpha = input.byte() & 1;
    const QImage mask = maskFrom(input, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);

    const QPalette palette(Qt::darkCyan);
    const KeyRange key = KeyRange::from(korvel::ResolveSystemColor(keyColour, palette),
                                        korvel::ResolveSystemColor(tolerance, palette));
    const std::vector<QRect> runs = korvel::ExtractMaskRuns(mask, key);
    check(runs == runsPixelByPixel(mask, key), "the runs of a pixel-by-pixel reading");

    const std::optional<QRegion> region =
        korvel::CreateRegionFromMask(mask, keyColour, tolerance, palette);
    check(region.has_value(), "a mask gives a shape");
    qint64 solid = 0;
    for (const QRect& run : runs) {
        solid += run.width();
        check(region->contains(run.topLeft()), "each solid pixel is in the shape");
    }
    check(area(*region) == solid, "the shape is the solid pixels alone");
    return 0;
}

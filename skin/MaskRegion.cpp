#include "skin/MaskRegion.h"

#include <algorithm>
#include <array>

namespace korvel {

namespace {

std::uint8_t channel(std::uint32_t color, int shift) {
    return std::uint8_t((color >> shift) & 0xFF);
}

std::uint8_t highEnd(std::uint8_t low, std::uint8_t tolerance) {
    return std::uint8_t(std::min(255, low + tolerance));
}

// Window system colour indexes and the palette roles that stand for them here.
QPalette::ColorRole roleOf(std::uint32_t index) {
    static constexpr std::array<QPalette::ColorRole, 31> roles = {
        QPalette::Button,          QPalette::Window,     QPalette::Highlight,
        QPalette::Window,          QPalette::Window,     QPalette::Base,
        QPalette::Shadow,          QPalette::WindowText, QPalette::Text,
        QPalette::HighlightedText, QPalette::Window,     QPalette::Window,
        QPalette::Dark,            QPalette::Highlight,  QPalette::HighlightedText,
        QPalette::Button,          QPalette::Mid,        QPalette::PlaceholderText,
        QPalette::ButtonText,      QPalette::WindowText, QPalette::Light,
        QPalette::Shadow,          QPalette::Midlight,   QPalette::ToolTipText,
        QPalette::ToolTipBase,     QPalette::Button,     QPalette::Link,
        QPalette::Highlight,       QPalette::Window,     QPalette::Highlight,
        QPalette::Window};
    return index < roles.size() ? roles[index] : QPalette::Window;
}

} // namespace

KeyRange KeyRange::from(std::uint32_t keyColor, std::uint32_t tolerance) {
    KeyRange range{};
    range.lowRed = channel(keyColor, 0);
    range.lowGreen = channel(keyColor, 8);
    range.lowBlue = channel(keyColor, 16);
    range.highRed = highEnd(range.lowRed, channel(tolerance, 0));
    range.highGreen = highEnd(range.lowGreen, channel(tolerance, 8));
    range.highBlue = highEnd(range.lowBlue, channel(tolerance, 16));
    return range;
}

std::vector<QRect> ExtractMaskRuns(const QImage& mask32, const KeyRange& key) {
    std::vector<QRect> runs;
    const int width = mask32.width();
    for (int y = 0; y < mask32.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(mask32.constScanLine(y));
        int x = 0;
        for (;;) {
            const int x0 = x;
            while (x < width && !key.isTransparent(row[x])) ++x;
            if (x > x0) runs.emplace_back(x0, y, x - x0, 1);
            if (x + 1 >= width) break;
            ++x; // step over the transparent pixel
        }
    }
    return runs;
}

QRegion AssembleRegion(const std::vector<QRect>& runs) {
    QRegion result;
    for (std::size_t start = 0; start < runs.size(); start += MaxBatch) {
        const int count = int(std::min<std::size_t>(MaxBatch, runs.size() - start));
        QRegion batch;
        // Runs come sorted top to bottom and left to right and never touch: the order
        // this call needs.
        batch.setRects(runs.data() + start, count);
        result = result.isEmpty() ? batch : result.united(batch);
    }
    return result;
}

std::uint32_t ResolveSystemColor(std::uint32_t color, const QPalette& palette) {
    if ((color & 0xFF000000u) != 0x80000000u) return color & 0x00FFFFFFu;
    const QColor c = palette.color(QPalette::Active, roleOf(color & 0xFFu));
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

std::optional<QRegion> CreateRegionFromMask(const QImage& mask, std::uint32_t keyColor,
                                            std::uint32_t tolerance, const QPalette& palette) {
    if (mask.isNull()) return std::nullopt;
    const QImage mask32 = mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
                              ? mask
                              : mask.convertToFormat(QImage::Format_RGB32);
    const KeyRange key = KeyRange::from(ResolveSystemColor(keyColor, palette),
                                        ResolveSystemColor(tolerance, palette));
    return AssembleRegion(ExtractMaskRuns(mask32, key));
}

} // namespace korvel

#include "skin/MaskRegion.h"

#include <algorithm>
#include <array>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    // Three indexes a line, as the window system numbers them.
    // clang-format off
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
    // clang-format on
    return index < roles.size() ? roles[index] : QPalette::Window;
}

// One row of a mask as one bit per pixel, set where the pixel is cut away. Classifying a
// whole row first keeps the per-pixel work free of branches (four pixels at a time where
// SSE2 is there); runs are then found a word of 64 pixels at a time.
class TransparencyRow {
public:
    explicit TransparencyRow(int width) : m_width(width), m_bits((std::size_t(width) + 63) / 64) {}

    void classify(const std::uint32_t* pixels, const KeyRange& key) {
        std::fill(m_bits.begin(), m_bits.end(), 0);
        int x = 0;
#if defined(__SSE2__)
        const __m128i low = _mm_set1_epi32(int(pack(key.lowRed, key.lowGreen, key.lowBlue, 0)));
        const __m128i high =
            _mm_set1_epi32(int(pack(key.highRed, key.highGreen, key.highBlue, 0xFF)));
        const __m128i zero = _mm_setzero_si128();
        // Whole words of 64 pixels, gathered in a register and stored once.
        for (; x + 64 <= m_width; x += 64) {
            std::uint64_t word = 0;
            for (int i = 0; i < 64; i += 4) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x + i));
                // A byte is in range when it is neither above the high end nor below the
                // low; a pixel is cut away when all four of its bytes are.
                const __m128i outside = _mm_or_si128(_mm_subs_epu8(v, high), _mm_subs_epu8(low, v));
                const __m128i inside = _mm_cmpeq_epi32(outside, zero);
                word |= std::uint64_t(_mm_movemask_ps(_mm_castsi128_ps(inside))) << i;
            }
            m_bits[std::size_t(x) / 64] = word;
        }
#endif
        for (; x < m_width; ++x) {
            if (key.isTransparent(pixels[x])) m_bits[std::size_t(x) / 64] |= 1ull << (x % 64);
        }
    }

    // The first pixel at or after `from` whose transparency is `transparent`; the width
    // when there is none.
    int next(int from, bool transparent) const {
        for (std::size_t word = std::size_t(from) / 64; word < m_bits.size(); ++word) {
            std::uint64_t bits = transparent ? m_bits[word] : ~m_bits[word];
            if (word == std::size_t(from) / 64) bits &= ~0ull << (from % 64);
            if (bits != 0) return std::min(m_width, int(word * 64) + std::countr_zero(bits));
        }
        return m_width;
    }

private:
    // Bytes as a 32-bit pixel lays them out in memory: blue, green, red, alpha.
    static std::uint32_t pack(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
        return std::uint32_t(b) | std::uint32_t(g) << 8 | std::uint32_t(r) << 16 |
               std::uint32_t(a) << 24;
    }

    int m_width;
    std::vector<std::uint64_t> m_bits;
};

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
    runs.reserve(std::size_t(mask32.height()));
    const int width = mask32.width();
    TransparencyRow row(width);
    for (int y = 0; y < mask32.height(); ++y) {
        row.classify(reinterpret_cast<const std::uint32_t*>(mask32.constScanLine(y)), key);
        // Maximal stretches of solid pixels: each transparent pixel ends one.
        for (int x = row.next(0, false); x < width; x = row.next(x, false)) {
            const int end = row.next(x, true);
            runs.emplace_back(x, y, end - x, 1);
            x = end;
        }
    }
    return runs;
}

QRegion AssembleRegion(const std::vector<QRect>& runs) {
    std::vector<QRegion> batches;
    for (std::size_t start = 0; start < runs.size(); start += MaxBatch) {
        const int count = int(std::min<std::size_t>(MaxBatch, runs.size() - start));
        QRegion batch;
        // Runs come sorted top to bottom and left to right and never touch: the order
        // this call needs.
        batch.setRects(runs.data() + start, count);
        batches.push_back(std::move(batch));
    }
    // Unite neighbours pairwise, so each rectangle takes part in a logarithmic number of
    // unions rather than one per later batch.
    while (batches.size() > 1) {
        std::vector<QRegion> merged;
        for (std::size_t i = 0; i + 1 < batches.size(); i += 2) {
            merged.push_back(batches[i].united(batches[i + 1]));
        }
        if (batches.size() % 2 == 1) merged.push_back(std::move(batches.back()));
        batches = std::move(merged);
    }
    return batches.empty() ? QRegion() : batches.front();
}

std::uint32_t ResolveSystemColor(std::uint32_t color, const QPalette& palette) {
    if ((color & 0xFF000000u) != 0x80000000u) return color & 0x00FFFFFFu;
    const QColor c = palette.color(QPalette::Active, roleOf(color & 0xFFu));
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

std::optional<QRegion> CreateRegionFromMask(const QImage& mask, std::uint32_t keyColor,
                                            std::uint32_t tolerance, const QPalette& palette) {
    if (mask.isNull()) return std::nullopt;
    const QImage mask32 =
        mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
            ? mask
            : mask.convertToFormat(QImage::Format_RGB32);
    const KeyRange key = KeyRange::from(ResolveSystemColor(keyColor, palette),
                                        ResolveSystemColor(tolerance, palette));
    return AssembleRegion(ExtractMaskRuns(mask32, key));
}

} // namespace korvel

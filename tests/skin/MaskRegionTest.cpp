#include "skin/MaskRegion.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace korvel;

namespace {

QImage solidMask(int width, int height, QRgb color = qRgb(0, 0, 0)) {
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(color);
    return mask;
}

// Colour values are 0x00BBGGRR.
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Black = 0;

std::vector<QRect> runsOf(const QImage& mask, std::uint32_t key = White,
                          std::uint32_t tolerance = Black) {
    return ExtractMaskRuns(mask, KeyRange::from(key, tolerance));
}

// Regions compare equal only in their canonical form; equal areas are what counts.
bool sameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

} // namespace

// A mask with nothing in the key range keeps the whole window: one full run per row.
TEST(MaskRegion, BlackMasksGiveOneRunPerRow) {
    for (const QSize size : {QSize(273, 116), QSize(600, 200)}) {
        const auto runs = runsOf(solidMask(size.width(), size.height()));
        ASSERT_EQ(int(runs.size()), size.height());
        for (int y = 0; y < size.height(); ++y) EXPECT_EQ(runs[y], QRect(0, y, size.width(), 1));
        const auto region =
            CreateRegionFromMask(solidMask(size.width(), size.height()), White, Black, QPalette());
        ASSERT_TRUE(region.has_value());
        EXPECT_TRUE(sameArea(*region, QRegion(QRect(QPoint(0, 0), size))));
    }
}

// The key range reaches only upward from the key, channel by channel, capped at 255.
TEST(MaskRegion, KeyRangeDecidesWhatIsCutAway) {
    const struct {
        std::uint32_t key, tolerance;
        QRgb pixel;
        bool transparent;
    } cases[] = {
        {White, Black, qRgb(255, 255, 255), true},
        {White, Black, qRgb(254, 255, 255), false},
        {White, 0x010101, qRgb(255, 255, 255), true},
        {White, 0x010101, qRgb(254, 255, 255), false},
        {250, 10, qRgb(250, 0, 0), true},
        {250, 10, qRgb(255, 0, 0), true},
        {250, 10, qRgb(249, 0, 0), false},
        {250, 10, qRgb(252, 1, 0), false},
        {0x00FF00, 0x100000, qRgb(0, 255, 15), true}, // blue within 0..16
        {0x00FF00, 0x100000, qRgb(0, 255, 17), false},
    };
    for (const auto& c : cases) {
        const bool transparent = KeyRange::from(c.key, c.tolerance).isTransparent(c.pixel);
        EXPECT_EQ(transparent, c.transparent) << std::hex << c.key << " " << c.pixel;
    }
}

// Runs start after and end before transparent pixels; a row cut away throughout has none,
// and a row of alternating pixels gives one run per solid pixel.
TEST(MaskRegion, RunsFollowTheTransparentPixels) {
    QImage mask = solidMask(6, 4);
    const QRgb white = qRgb(255, 255, 255);
    mask.setPixel(0, 0, white);
    mask.setPixel(5, 0, white);
    for (int x = 0; x < 6; ++x) mask.setPixel(x, 1, white);
    for (int x = 0; x < 6; x += 2) mask.setPixel(x, 2, white);
    mask.setPixel(2, 3, white);
    mask.setPixel(3, 3, white);
    const std::vector<QRect> expected = {
        QRect(1, 0, 4, 1), QRect(1, 2, 1, 1), QRect(3, 2, 1, 1),
        QRect(5, 2, 1, 1), QRect(0, 3, 2, 1), QRect(4, 3, 2, 1),
    };
    EXPECT_EQ(runsOf(mask), expected);
}

// The row classification (four pixels at a time) must agree with the pixel test on every
// pixel, the row's tail included.
TEST(MaskRegion, RunsAgreeWithThePixelTestEverywhere) {
    QImage mask(67, 40, QImage::Format_RGB32);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            mask.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 13 + y) % 256, (y * 29) % 256));
        }
    }
    const KeyRange key = KeyRange::from(0x304050, 0x90A0B0);
    std::vector<QRect> expected;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width();) {
            if (key.isTransparent(mask.pixel(x, y))) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && !key.isTransparent(mask.pixel(x, y))) ++x;
            expected.emplace_back(start, y, x - start, 1);
        }
    }
    ASSERT_GT(expected.size(), 100u);
    EXPECT_EQ(ExtractMaskRuns(mask, key), expected);
}

// A mask cut away everywhere is an empty shape, not "no shape"; no mask is no shape.
TEST(MaskRegion, EmptyAndMissingMasksDiffer) {
    const auto empty =
        CreateRegionFromMask(solidMask(8, 8, qRgb(255, 255, 255)), White, Black, QPalette());
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_FALSE(CreateRegionFromMask(QImage(), White, Black, QPalette()).has_value());
}

// More runs than one batch holds must still give exactly their union.
TEST(MaskRegion, ManyBatchesGiveTheExactUnion) {
    QImage mask = solidMask(201, 50);
    for (int y = 0; y < 50; ++y) {
        for (int x = y % 2; x < 201; x += 2) mask.setPixel(x, y, qRgb(255, 255, 255));
    }
    const auto runs = runsOf(mask);
    ASSERT_GT(runs.size(), std::size_t(MaxBatch * 2));
    QRegion expected;
    for (const QRect& run : runs) expected += run;
    const auto region = CreateRegionFromMask(mask, White, Black, QPalette());
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(sameArea(*region, expected));
    EXPECT_TRUE(region->contains(QPoint(1, 0)));
    EXPECT_FALSE(region->contains(QPoint(0, 0)));
}

// A key naming a system colour uses that colour's current value.
TEST(MaskRegion, SystemColourKeysResolveThroughThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(10, 20, 30));
    const std::uint32_t buttonFace = 0x8000000F;
    EXPECT_EQ(ResolveSystemColor(buttonFace, palette), 0x1E140Au);
    EXPECT_EQ(ResolveSystemColor(0x00123456, palette), 0x00123456u);
    QImage mask = solidMask(4, 1);
    mask.setPixel(1, 0, qRgb(10, 20, 30));
    const auto region = CreateRegionFromMask(mask, buttonFace, Black, palette);
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(sameArea(*region, QRegion(0, 0, 1, 1) + QRegion(2, 0, 2, 1)));
}

#pragma once

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QRegion>

#include <cstdint>
#include <optional>
#include <vector>

namespace korvel {

// The colours a mask cuts away: per channel, from the key colour up to the key plus the
// tolerance, capped at 255, both ends included. Colours are 0x00BBGGRR.
struct KeyRange {
    std::uint8_t lowRed, highRed, lowGreen, highGreen, lowBlue, highBlue;

    static KeyRange from(std::uint32_t keyColor, std::uint32_t tolerance);

    // A pixel of a 32-bit image (0xAARRGGBB; alpha is not looked at). Each channel is
    // compared once: below the low end it wraps around to a large unsigned value.
    bool isTransparent(std::uint32_t pixel) const {
        const std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        return (r - lowRed) <= std::uint32_t(highRed - lowRed) &&
               (g - lowGreen) <= std::uint32_t(highGreen - lowGreen) &&
               (b - lowBlue) <= std::uint32_t(highBlue - lowBlue);
    }
};

// The solid runs of a mask: for each row, top to bottom, the maximal stretches of pixels
// outside the key range, left to right, each a rectangle one pixel high. The image must be
// 32 bits per pixel (QImage::Format_RGB32 or ARGB32).
std::vector<QRect> ExtractMaskRuns(const QImage& mask32, const KeyRange& key);

// The union of the runs, made in batches of at most MaxBatch rectangles so that no single
// region operation grows without bound.
QRegion AssembleRegion(const std::vector<QRect>& runs);
inline constexpr int MaxBatch = 2000;

// Colours whose top byte is 0x80 name a system colour by its index; they resolve through the
// palette. Others are taken as they are.
std::uint32_t ResolveSystemColor(std::uint32_t color, const QPalette& palette);

// The window shape a mask gives: no value without a mask (the window keeps its rectangle),
// an empty region when every pixel is cut away.
std::optional<QRegion> CreateRegionFromMask(const QImage& mask, std::uint32_t keyColor,
                                            std::uint32_t tolerance, const QPalette& palette);

} // namespace korvel

// The BMP reader over any bytes: it either refuses with its own error or gives an opaque
// picture of the size the header states, within its pixel cap.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "skin/BmpReader.h"

#include <QImage>

using korvel::BmpReader;
using korvel::KorvelError;
using korvel::fuzz::check;

namespace {

qint64 signed32(QByteArrayView data, qsizetype at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | std::uint8_t(data[at + i]);
    return std::int32_t(value);
}

// Width and height as the header gives them (the reader has checked it is there).
QSize statedSize(QByteArrayView data) {
    const bool core = std::uint8_t(data[14]) == 12;
    if (core)
        return {std::uint8_t(data[18]) | std::uint8_t(data[19]) << 8,
                std::uint8_t(data[20]) | std::uint8_t(data[21]) << 8};
    return {int(signed32(data, 18)), int(qAbs(signed32(data, 22)))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage image;
    try {
        image = BmpReader::read(bytes);
    } catch (const KorvelError&) {
        return 0;
    }
    check(!image.isNull() && image.format() == QImage::Format_RGB32, "an RGB32 picture");
    check(qint64(image.width()) * image.height() <= BmpReader::kMaxPixels, "within the cap");
    check(image.size() == statedSize(bytes), "the size the header states");
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) check(qAlpha(line[x]) == 255, "opaque pixels");
    }
    return 0;
}

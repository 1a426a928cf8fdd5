// The JPEG decoder behind its guards over any bytes: it either refuses with its own error or
// gives an RGB32 picture within its pixel cap; time and memory are bounded by the guards,
// which the fuzzer's own time and memory limits hold it to.

#include "FuzzInput.h"

#include "base/KorvelError.h"
#include "skin/JpegReader.h"

#include <QImage>

using korvel::JpegReader;
using korvel::KorvelError;
using korvel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage image;
    try {
        image = JpegReader::read(bytes);
    } catch (const KorvelError& error) {
        check(error.text().startsWith(QStringLiteral("JPEG エラー #")), "the decoder's error");
        return 0;
    }
    check(!image.isNull() && image.format() == QImage::Format_RGB32, "an RGB32 picture");
    check(qint64(image.width()) * image.height() <= JpegReader::kMaxPixels, "within the cap");
    return 0;
}

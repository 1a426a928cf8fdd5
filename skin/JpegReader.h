#pragma once

#include <QByteArrayView>
#include <QImage>

namespace korvel {

// Decoder of the JPEG images built into the skins, through libjpeg.
class JpegReader {
public:
    // Limits that keep a hostile stream from costing more than milliseconds or a few MiB.
    static constexpr qint64 kMaxPixels = 16 * 1024 * 1024;
    static constexpr long kMaxDecoderMemory = 64L * 1024 * 1024;
    static constexpr int kMaxScans = 100;

    // Decodes a whole JPEG stream (baseline or progressive, grey or colour) held in memory, at
    // full scale with the accurate integer IDCT and block smoothing, into an opaque
    // Format_RGB32 image.
    // Throws KorvelError "JPEG エラー #N", N being libjpeg's message number:
    // - the library's own fatal error (JERR_NO_SOI for data that is no JPEG, JERR_INPUT_EMPTY
    //   for no data, ...);
    // - JWRN_JPEG_EOF for a stream cut short: refused rather than shown padded with grey;
    // - JERR_IMAGE_TOO_BIG for more than kMaxPixels pixels, found from the frame header before
    //   any pixel memory is taken;
    // - JERR_BAD_PROGRESSION for more than kMaxScans scans;
    // - JERR_NO_BACKING_STORE or JERR_OUT_OF_MEMORY when the decoder would need more than
    //   kMaxDecoderMemory (a large progressive image).
    // Other warnings (corrupt entropy data, extraneous bytes) do not stop the decode.
    static QImage read(QByteArrayView data);
};

} // namespace korvel

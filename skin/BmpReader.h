#pragma once

#include <QByteArrayView>
#include <QImage>

namespace korvel {

// Reader of the BMP files built into the skins; independent of Qt's image plugins so that every
// byte it touches is checked here.
class BmpReader {
public:
    // Largest image accepted, in pixels; keeps width x height x 4 far below any overflow.
    static constexpr qint64 kMaxPixels = 16 * 1024 * 1024;

    // Reads a complete BMP file (file header included) into an opaque Format_RGB32 image.
    // Accepted: info headers of 12 (OS/2 core, 3-byte palette entries), 40, 52, 56, 108 and
    // 124 bytes; 1, 4, 8, 24 and 32 bits per pixel; uncompressed rows, bottom-up or top-down
    // (negative height); for 32 bits also BI_BITFIELDS when its masks are the plain 8-8-8
    // layout. The fourth byte of 32-bit pixels is ignored. A palette index beyond the file's
    // palette reads as black. Every row must be whole within the file except the last, which
    // may lack its padding (some writers drop it). The palette must lie between the headers
    // and the pixel offset.
    // Throws KorvelError "ビットマップイメージが不正です" for anything else, truncation included.
    static QImage read(QByteArrayView data);
};

} // namespace korvel

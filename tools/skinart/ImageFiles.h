#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace korvel::skinart {

// JPEG as the skin loader decodes it: 8-bit, three components (RGB, no chroma subsampling so
// thin accent lines stay sharp). Raises KorvelError on failure.
QByteArray encodeJpeg(const QImage& image, int quality, bool progressive);

// A complete BMP file (file header, 40-byte info header, bottom-up rows of 24-bit pixels
// padded to four bytes).
QByteArray encodeBmp24(const QImage& image);

// The frame header of a JPEG stream, found by walking its markers.
struct JpegFrame {
    int width = 0;
    int height = 0;
    int components = 0;
    int precision = 0;
    bool progressive = false; // SOF2
};
// Raises KorvelError when the stream has no frame header before its first scan.
JpegFrame readJpegFrame(const QByteArray& bytes);

struct BmpHeader {
    qint64 fileSize = 0;
    qint64 pixelOffset = 0;
    qint64 infoSize = 0;
    qint64 width = 0;
    qint64 height = 0; // positive: bottom-up
    int planes = 0;
    int bitsPerPixel = 0;
    qint64 compression = -1;
};
// Raises KorvelError when the bytes are too short or do not start with "BM".
BmpHeader readBmpHeader(const QByteArray& bytes);

// Writes the file whole or not at all; raises KorvelError on failure.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace korvel::skinart

#include "tools/skinart/ImageFiles.h"

#include "base/KorvelError.h"

#include <QFile>
#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace korvel::skinart {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

struct RgbRows {
    const unsigned char* first;
    qsizetype stride;
    int width;
    int height;
};

// Plain C state only between setjmp and longjmp: nothing here has a destructor to skip.
bool compress(const RgbRows& rows, int quality, bool progressive, unsigned char** out,
              unsigned long* outSize, char* message) {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onJpegError;
    if (setjmp(errors.escape)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = static_cast<JDIMENSION>(rows.width);
    info.image_height = static_cast<JDIMENSION>(rows.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(rows.first + rows.stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

int u16be(const QByteArray& b, qsizetype at) {
    return (static_cast<unsigned char>(b[at]) << 8) | static_cast<unsigned char>(b[at + 1]);
}

int u16le(const QByteArray& b, qsizetype at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

qint64 u32le(const QByteArray& b, qsizetype at) {
    qint64 value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(b[at + i]);
    return value;
}

qint64 s32le(const QByteArray& b, qsizetype at) {
    const qint64 value = u32le(b, at);
    return value >= 0x80000000LL ? value - 0x100000000LL : value;
}

void putLe(QByteArray& b, qint64 value, int bytes) {
    for (int i = 0; i < bytes; ++i) b.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray encodeJpeg(const QImage& image, int quality, bool progressive) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const RgbRows rows{rgb.constBits(), rgb.bytesPerLine(), rgb.width(), rgb.height()};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    const bool ok = compress(rows, quality, progressive, &buffer, &size, message);
    QByteArray bytes;
    if (ok) bytes = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    if (!ok) throw KorvelError(QStringLiteral("JPEG encoding failed: %1").arg(message));
    return bytes;
}

QByteArray encodeBmp24(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const qint64 stride = (rgb.width() * 3 + 3) / 4 * 4;
    const qint64 pixels = stride * rgb.height();
    QByteArray b;
    b.append("BM");
    putLe(b, 14 + 40 + pixels, 4);
    putLe(b, 0, 4);       // reserved
    putLe(b, 14 + 40, 4); // pixel offset
    putLe(b, 40, 4);
    putLe(b, rgb.width(), 4);
    putLe(b, rgb.height(), 4); // positive: bottom-up
    putLe(b, 1, 2);
    putLe(b, 24, 2);
    putLe(b, 0, 4); // BI_RGB
    putLe(b, pixels, 4);
    putLe(b, 2835, 4); // 72 dpi
    putLe(b, 2835, 4);
    putLe(b, 0, 4);
    putLe(b, 0, 4);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const qsizetype rowStart = b.size();
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            b.append(static_cast<char>(qBlue(pixel)));
            b.append(static_cast<char>(qGreen(pixel)));
            b.append(static_cast<char>(qRed(pixel)));
        }
        while (b.size() - rowStart < stride) b.append('\0');
    }
    return b;
}

JpegFrame readJpegFrame(const QByteArray& b) {
    if (b.size() < 4 || static_cast<unsigned char>(b[0]) != 0xFF ||
        static_cast<unsigned char>(b[1]) != 0xD8)
        throw KorvelError(QStringLiteral("not a JPEG stream"));
    qsizetype at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF) break;
        const int marker = static_cast<unsigned char>(b[at + 1]);
        const int length = u16be(b, at + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && at + 10 <= b.size()) {
            return {u16be(b, at + 7), u16be(b, at + 5), static_cast<unsigned char>(b[at + 9]),
                    static_cast<unsigned char>(b[at + 4]), marker == 0xC2};
        }
        if (marker == 0xDA) break; // a scan before any frame header
        at += 2 + length;
    }
    throw KorvelError(QStringLiteral("the JPEG stream has no frame header"));
}

BmpHeader readBmpHeader(const QByteArray& b) {
    if (b.size() < 54 || !b.startsWith("BM")) throw KorvelError(QStringLiteral("not a BMP file"));
    return {u32le(b, 2),  u32le(b, 10), u32le(b, 14), s32le(b, 18),
            s32le(b, 22), u16le(b, 26), u16le(b, 28), u32le(b, 30)};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw KorvelError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KorvelError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

} // namespace korvel::skinart

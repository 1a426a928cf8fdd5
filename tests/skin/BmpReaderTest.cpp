#include "skin/BmpReader.h"

#include "base/KorvelError.h"

#include <QList>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using korvel::BmpReader;
using korvel::KorvelError;

namespace {

const QString kInvalid = QStringLiteral("ビットマップイメージが不正です");

// A BMP file as a writer would lay it out; cases break its fields or its bytes.
struct BmpParts {
    quint32 headerSize = 40;
    qint32 width = 5;
    qint32 height = 3; // negative: rows stored top-down
    quint16 planes = 1;
    quint16 bitCount = 24;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    QList<QRgb> palette;         // entries written to the file
    QList<quint32> masks;        // BI_BITFIELDS masks
    QByteArray pixels;           // rows in file order, padding included
    qint64 pixelOffsetDelta = 0; // moves the file header's pixel offset
};

void put16(QByteArray& out, quint32 value) {
    out.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}

void put32(QByteArray& out, quint32 value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

QByteArray infoHeader(const BmpParts& s) {
    QByteArray header;
    put32(header, s.headerSize);
    if (s.headerSize == 12) {
        for (quint32 v :
             {quint32(s.width), quint32(s.height), quint32(s.planes), quint32(s.bitCount)})
            put16(header, v);
        return header;
    }
    for (quint32 v : {quint32(s.width), quint32(s.height)}) put32(header, v);
    put16(header, s.planes);
    put16(header, s.bitCount);
    for (quint32 v : {s.compression, quint32(s.pixels.size()), 2835u, 2835u, s.colorsUsed, 0u})
        put32(header, v);
    for (quint32 mask : s.masks)
        put32(header, mask); // after a 40-byte header they belong to the table that follows
    header.resize(qMax(qsizetype(s.headerSize), header.size()), '\0');
    return header;
}

QByteArray encode(const BmpParts& s) {
    QByteArray tables = infoHeader(s);
    for (QRgb c : s.palette) {
        tables.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        if (s.headerSize != 12) tables.append('\0');
    }
    const qint64 offset = 14 + tables.size();
    QByteArray file("BM");
    put32(file, quint32(offset + s.pixels.size()));
    put32(file, 0);
    put32(file, quint32(offset + s.pixelOffsetDelta));
    return file + tables + s.pixels;
}

// Rows of values (palette indices up to 8 bits, 0xRRGGBB above), top row first, packed into
// file order with each row padded to 4 bytes. 32-bit pixels carry a junk fourth byte.
QByteArray packRows(const QList<QList<quint32>>& rows, int bitCount, bool topDown) {
    QByteArray out;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QByteArray row;
        const QList<quint32>& values = rows[topDown ? i : rows.size() - 1 - i];
        for (qsizetype x = 0; x < values.size(); ++x) {
            if (bitCount <= 8) {
                const qsizetype bit = x * bitCount;
                row.resize(bit / 8 + 1, '\0');
                row[bit / 8] = char(uchar(row[bit / 8]) | values[x] << (8 - bitCount - bit % 8));
            } else {
                row.append(char(values[x] & 0xFF)).append(char((values[x] >> 8) & 0xFF));
                row.append(char((values[x] >> 16) & 0xFF));
                if (bitCount == 32) row.append('\x5A');
            }
        }
        row.resize((row.size() + 3) / 4 * 4, '\0');
        out += row;
    }
    return out;
}

QList<QRgb> makePalette(int count) {
    QList<QRgb> palette;
    for (int i = 0; i < count; ++i) palette.append(qRgb(i * 37 % 256, 255 - i, i * 11 % 256));
    return palette;
}

// 5 x 3: an odd width, so rows of every depth end in padding or in a part-used byte.
QList<QList<quint32>> sampleValues(int bitCount) {
    QList<QList<quint32>> rows;
    for (quint32 y = 0; y < 3; ++y) {
        rows.append(QList<quint32>());
        for (quint32 x = 0; x < 5; ++x) {
            const quint32 index = (x * 3 + y * 5) % (bitCount == 8 ? 16u : 1u << qMin(bitCount, 8));
            rows.last().append(bitCount <= 8 ? index : 0x102030u * (x + 1) + 0x0F0E0Du * y);
        }
    }
    return rows;
}

std::vector<QRgb> pixelsOf(const QImage& image) {
    std::vector<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) pixels.push_back(image.pixel(x, y));
    return pixels;
}

std::vector<QRgb> expectedPixels(const QList<QList<quint32>>& rows, const QList<QRgb>& palette) {
    std::vector<QRgb> pixels;
    for (const QList<quint32>& row : rows)
        for (quint32 v : row)
            pixels.push_back(palette.isEmpty()             ? 0xFF000000u | v
                             : v < quint32(palette.size()) ? palette[v]
                                                           : 0xFF000000u);
    return pixels;
}

QString bmpErrorOf(const QByteArray& file) {
    try {
        BmpReader::read(file);
    } catch (const KorvelError& error) {
        return error.text();
    }
    return QStringLiteral("(no error)");
}

BmpParts sampleParts(int bitCount, bool topDown, quint32 headerSize = 40) {
    BmpParts parts;
    parts.headerSize = headerSize;
    parts.bitCount = quint16(bitCount);
    parts.height = topDown ? -3 : 3;
    if (bitCount <= 8) {
        // 8 bits: a palette shorter than 256, announced by colorsUsed (not in the core header).
        const bool shortTable = bitCount == 8 && headerSize != 12;
        parts.palette = makePalette(shortTable ? 16 : 1 << bitCount);
        parts.colorsUsed = shortTable ? 16 : 0;
    }
    parts.pixels = packRows(sampleValues(bitCount), bitCount, topDown);
    return parts;
}

void expectDecodes(const BmpParts& parts, int bitCount) {
    const QImage image = BmpReader::read(encode(parts));
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(pixelsOf(image), expectedPixels(sampleValues(bitCount), parts.palette));
}

// Catches wrong bit order, palette lookup, channel order, row order or stride at any depth.
TEST(BmpReader, DecodesEveryDepthInBothRowOrders) {
    for (int bitCount : {1, 4, 8, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bitCount << " bpp, top-down " << topDown);
            const BmpParts parts = sampleParts(bitCount, topDown);
            expectDecodes(parts, bitCount);
            // A second, independent reader must see the same picture as ours.
            const QImage reference = QImage::fromData(encode(parts), "BMP");
            EXPECT_EQ(pixelsOf(BmpReader::read(encode(parts))),
                      pixelsOf(reference.convertToFormat(QImage::Format_RGB32)));
        }
    }
}

// Catches a misplaced field or palette for any of the accepted header kinds.
TEST(BmpReader, ReadsEveryKnownHeaderSize) {
    for (quint32 headerSize : {12u, 40u, 52u, 56u, 108u, 124u}) {
        for (int bitCount : {4, 8, 24}) {
            SCOPED_TRACE(testing::Message() << "header " << headerSize << ", " << bitCount);
            expectDecodes(sampleParts(bitCount, false, headerSize), bitCount);
        }
    }
}

// Catches reading the file's bytes in the wrong order: a file written out by hand.
TEST(BmpReader, ReadsHandWrittenFile) {
    // 2 x 2, 24 bits, bottom-up: the bottom row (blue, white) comes first in the file.
    const QByteArray file = QByteArray::fromHex("424d46000000000000003600000028000000"
                                                "0200000002000000010018000000000010000000"
                                                "130b0000130b00000000000000000000"
                                                "ff0000ffffff0000"
                                                "0000ff00ff000000");
    const QImage image = BmpReader::read(file);
    EXPECT_EQ(pixelsOf(image), (std::vector<QRgb>{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                                  qRgb(255, 255, 255)}));
}

// Catches an out-of-bounds palette read: indices past the file's palette come out black.
TEST(BmpReader, IndexBeyondPaletteIsBlack) {
    for (int bitCount : {1, 4, 8}) {
        SCOPED_TRACE(bitCount);
        BmpParts parts;
        parts.bitCount = quint16(bitCount);
        parts.width = 2;
        parts.height = 1;
        parts.colorsUsed = 1;
        parts.palette = {qRgb(10, 20, 30)};
        parts.pixels = packRows({{0, 1}}, bitCount, false);
        EXPECT_EQ(pixelsOf(BmpReader::read(encode(parts))),
                  (std::vector<QRgb>{qRgb(10, 20, 30), qRgb(0, 0, 0)}));
    }
}

// Catches refusing plain 32-bit bit fields, or misreading them, wherever the masks are stored.
TEST(BmpReader, AcceptsPlainBitFieldsAt32Bits) {
    for (quint32 headerSize : {40u, 56u, 124u}) {
        SCOPED_TRACE(headerSize);
        BmpParts parts = sampleParts(32, true, headerSize);
        parts.compression = 3;
        parts.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
        expectDecodes(parts, 32);
    }
}

// Catches a pixel cap that is off by one row or that overflows: exactly 16 Mpx decodes.
TEST(BmpReader, PixelCapIsSixteenMegapixels) {
    BmpParts parts;
    parts.bitCount = 1;
    parts.width = 4096;
    parts.height = -4096;
    parts.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    parts.pixels = QByteArray(512 * 4096, '\xFF');
    const QImage image = BmpReader::read(encode(parts));
    EXPECT_EQ(image.size(), QSize(4096, 4096));
    EXPECT_EQ(image.pixel(4095, 4095), qRgb(255, 255, 255));
    parts.height = -4097;
    parts.pixels.append(QByteArray(512, '\xFF'));
    EXPECT_EQ(bmpErrorOf(encode(parts)), kInvalid);
}

struct MalformedCase {
    const char* name;
    std::function<void(BmpParts&)> breakParts;
    std::function<void(QByteArray&)> breakBytes = [](QByteArray&) {};
};

void patch32(QByteArray& file, qsizetype pos, quint32 value) {
    QByteArray bytes;
    put32(bytes, value);
    file.replace(pos, 4, bytes);
}

const std::vector<MalformedCase>& malformedCases() {
    static const std::vector<MalformedCase> cases = {
        {"empty file", [](BmpParts&) {}, [](QByteArray& f) { f.clear(); }},
        {"signature not BM", [](BmpParts&) {}, [](QByteArray& f) { f[1] = 'A'; }},
        {"header size 0", [](BmpParts&) {}, [](QByteArray& f) { patch32(f, 14, 0); }},
        {"header size 64", [](BmpParts& s) { s.headerSize = 64; }},
        {"header size huge", [](BmpParts&) {}, [](QByteArray& f) { patch32(f, 14, 0xFFFFFFFF); }},
        {"header longer than file", [](BmpParts& s) { s.headerSize = 124; },
         [](QByteArray& f) { f.truncate(100); }},
        {"width 0", [](BmpParts& s) { s.width = 0; }},
        {"negative width", [](BmpParts& s) { s.width = -5; }},
        {"height 0", [](BmpParts& s) { s.height = 0; }},
        {"height most negative", [](BmpParts& s) { s.height = INT32_MIN; }},
        {"huge dimensions", [](BmpParts& s) { s.width = s.height = INT32_MAX; }},
        {"over 16 Mpx", [](BmpParts& s) { s.width = 4097, s.height = -4096; }},
        {"planes 0", [](BmpParts& s) { s.planes = 0; }},
        {"planes 2", [](BmpParts& s) { s.planes = 2; }},
        {"0 bits", [](BmpParts& s) { s.bitCount = 0; }},
        {"2 bits", [](BmpParts& s) { s.bitCount = 2; }},
        {"16 bits", [](BmpParts& s) { s.bitCount = 16; }},
        {"48 bits", [](BmpParts& s) { s.bitCount = 48; }},
        {"RLE8", [](BmpParts& s) { s = sampleParts(8, false), s.compression = 1; }},
        {"RLE4", [](BmpParts& s) { s = sampleParts(4, false), s.compression = 2; }},
        {"bit fields at 24 bits",
         [](BmpParts& s) {
             s.compression = 3, s.masks = {0xFF0000, 0xFF00, 0xFF};
         }},
        {"bit fields not 8-8-8",
         [](BmpParts& s) {
             s = sampleParts(32, false), s.compression = 3, s.masks = {0xFF, 0xFF00, 0xFF0000};
         }},
        {"embedded JPEG", [](BmpParts& s) { s.compression = 4; }},
        {"alpha bit fields",
         [](BmpParts& s) {
             s = sampleParts(32, false), s.compression = 6;
             s.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
         }},
        // The whole table is in the file: only its size is wrong.
        {"palette larger than 8 bits allow",
         [](BmpParts& s) {
             s = sampleParts(8, false), s.colorsUsed = 257, s.palette = makePalette(257);
         }},
        {"palette larger than 1 bit allows",
         [](BmpParts& s) {
             s = sampleParts(1, false), s.colorsUsed = 3, s.palette = makePalette(3);
         }},
        {"palette overlapping the pixels",
         [](BmpParts& s) { s = sampleParts(8, false), s.colorsUsed = 17; }},
        {"core palette short",
         [](BmpParts& s) { s = sampleParts(4, false, 12), s.palette.removeLast(); }},
        {"pixel offset inside the header", [](BmpParts& s) { s.pixelOffsetDelta = -20; }},
        {"pixel offset over the bit-field masks",
         [](BmpParts& s) {
             s = sampleParts(32, false), s.compression = 3;
             s.masks = {0xFF0000, 0xFF00, 0xFF}, s.pixelOffsetDelta = -12;
         }},
        {"pixel offset 0", [](BmpParts&) {}, [](QByteArray& f) { patch32(f, 10, 0); }},
        {"pixel offset past the end", [](BmpParts& s) { s.pixelOffsetDelta = 1000; }},
        {"pixel offset huge", [](BmpParts&) {}, [](QByteArray& f) { patch32(f, 10, 0xFFFFFFFF); }},
        {"a row short of its stride", [](BmpParts& s) { s.pixelOffsetDelta = 4; }},
    };
    return cases;
}

// Catches a malformed header or layout that is read instead of refused, or refused otherwise.
TEST(BmpReader, RefusesMalformedFiles) {
    for (const MalformedCase& c : malformedCases()) {
        SCOPED_TRACE(c.name);
        BmpParts parts = sampleParts(24, false);
        c.breakParts(parts);
        QByteArray file = encode(parts);
        c.breakBytes(file);
        EXPECT_EQ(bmpErrorOf(file), kInvalid);
    }
}

// Catches reads past the end of a truncated file; only the last row's padding may be missing.
TEST(BmpReader, RefusesEveryTruncation) {
    for (auto [bitCount, headerSize] : {std::pair{24, 40u}, {1, 40u}, {4, 12u}, {32, 124u}}) {
        const QByteArray file = encode(sampleParts(bitCount, false, headerSize));
        const qsizetype rowBytes = (5 * bitCount + 7) / 8;
        const qsizetype lastPadding = (rowBytes + 3) / 4 * 4 - rowBytes;
        for (qsizetype length = 0; length < file.size(); ++length) {
            SCOPED_TRACE(testing::Message() << bitCount << " bpp, length " << length);
            const QByteArray cut = file.left(length);
            if (length >= file.size() - lastPadding)
                EXPECT_EQ(BmpReader::read(cut).size(), QSize(5, 3));
            else
                EXPECT_EQ(bmpErrorOf(cut), kInvalid);
        }
    }
}

} // namespace

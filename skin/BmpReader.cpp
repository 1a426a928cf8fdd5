#include "skin/BmpReader.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <array>

namespace korvel {
namespace {

constexpr qint64 kFileHeaderSize = 14;
constexpr qint64 kCoreHeaderSize = 12;
constexpr qint64 kMaskOffset = kFileHeaderSize + 40; // after a 40-byte header or inside a longer
constexpr quint32 kBiRgb = 0;
constexpr quint32 kBiBitfields = 3;
constexpr QRgb kBlack = 0xFF000000;

using Palette = std::array<QRgb, 256>;

// The fields of either header kind, widened so that no later arithmetic can overflow.
struct Header {
    qint64 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0;
    quint32 planes = 0;
    quint32 bitCount = 0;
    quint32 compression = kBiRgb;
    quint32 colorsUsed = 0;
};

// Where everything lies in the file, all of it checked against the file's size.
struct Layout {
    qint64 width = 0;
    qint64 height = 0; // always positive
    bool topDown = false;
    int bitCount = 0;
    qint64 paletteOffset = 0;
    qint64 paletteEntries = 0;
    qint64 paletteEntrySize = 4;
    qint64 pixelOffset = 0;
    qint64 stride = 0;
};

[[noreturn]] void invalid() { throw KorvelError(FixedTexts::BadBitmap); }

void require(bool ok) {
    if (!ok) invalid();
}

const uchar* bytesOf(QByteArrayView data) { return reinterpret_cast<const uchar*>(data.data()); }

// Little-endian unsigned field of `size` bytes; a field past the end makes the file invalid.
quint32 field(QByteArrayView data, qint64 pos, int size) {
    require(pos >= 0 && pos + size <= data.size());
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytesOf(data)[pos + i];
    return value;
}

quint32 u16(QByteArrayView data, qint64 pos) { return field(data, pos, 2); }
quint32 u32(QByteArrayView data, qint64 pos) { return field(data, pos, 4); }
qint64 i32(QByteArrayView data, qint64 pos) { return qint32(field(data, pos, 4)); }

bool knownHeaderSize(qint64 size) {
    return size == kCoreHeaderSize || size == 40 || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

Header readHeader(QByteArrayView data) {
    require(data.size() >= kFileHeaderSize && data[0] == 'B' && data[1] == 'M');
    Header h;
    h.headerSize = u32(data, kFileHeaderSize);
    require(knownHeaderSize(h.headerSize) && kFileHeaderSize + h.headerSize <= data.size());
    if (h.headerSize == kCoreHeaderSize) {
        // OS/2 core header: unsigned 16-bit sizes, always bottom-up, no compression field.
        h.width = u16(data, 18);
        h.height = u16(data, 20);
        h.planes = u16(data, 22);
        h.bitCount = u16(data, 24);
        return h;
    }
    h.width = i32(data, 18);
    h.height = i32(data, 22);
    h.planes = u16(data, 26);
    h.bitCount = u16(data, 28);
    h.compression = u32(data, 30);
    h.colorsUsed = u32(data, 46);
    return h;
}

// BI_BITFIELDS is read only when it says the same as BI_RGB does for 32-bit pixels.
bool plainMasks(QByteArrayView data) {
    return u32(data, kMaskOffset) == 0x00FF0000 && u32(data, kMaskOffset + 4) == 0x0000FF00 &&
           u32(data, kMaskOffset + 8) == 0x000000FF;
}

// Offset of the colour table: behind the header, and behind the masks a 40-byte header is
// followed by.
qint64 tableOffset(QByteArrayView data, const Header& h) {
    const qint64 offset = kFileHeaderSize + h.headerSize;
    if (h.compression == kBiRgb) return offset;
    require(h.compression == kBiBitfields && h.bitCount == 32 && plainMasks(data));
    return h.headerSize == 40 ? offset + 12 : offset;
}

void setPalette(Layout& layout, const Header& h, qint64 offset) {
    layout.paletteOffset = offset;
    layout.paletteEntrySize = h.headerSize == kCoreHeaderSize ? 3 : 4;
    if (h.bitCount > 8)
        return; // a table beside true-colour pixels is only a hint for displays; unused
    const qint64 capacity = qint64(1) << h.bitCount;
    require(h.colorsUsed <= capacity);
    layout.paletteEntries = h.colorsUsed == 0 ? capacity : h.colorsUsed;
}

void setPixels(Layout& layout, QByteArrayView data) {
    layout.pixelOffset = u32(data, 10);
    const qint64 paletteEnd =
        layout.paletteOffset + layout.paletteEntries * layout.paletteEntrySize;
    require(layout.pixelOffset >= paletteEnd);
    const qint64 rowBits = layout.width * layout.bitCount;
    layout.stride = (rowBits + 31) / 32 * 4;
    // The last row needs its pixel bytes only, not its padding.
    const qint64 end = layout.pixelOffset + layout.stride * (layout.height - 1) + (rowBits + 7) / 8;
    require(end <= data.size());
}

Layout layoutOf(QByteArrayView data, const Header& h) {
    require(h.planes == 1);
    require(h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 24 ||
            h.bitCount == 32);
    require(h.width > 0 && h.height != 0);
    Layout layout;
    layout.width = h.width;
    layout.height = h.height < 0 ? -h.height : h.height;
    layout.topDown = h.height < 0;
    layout.bitCount = int(h.bitCount);
    require(layout.width * layout.height <= BmpReader::kMaxPixels);
    setPalette(layout, h, tableOffset(data, h));
    setPixels(layout, data);
    return layout;
}

// Entries the file does not hold stay black.
Palette readPalette(QByteArrayView data, const Layout& layout) {
    Palette palette;
    palette.fill(kBlack);
    const uchar* bytes = bytesOf(data);
    for (qint64 i = 0; i < layout.paletteEntries; ++i) {
        const uchar* entry = bytes + layout.paletteOffset + i * layout.paletteEntrySize;
        palette[size_t(i)] = qRgb(entry[2], entry[1], entry[0]);
    }
    return palette;
}

// Pixels are packed from the most significant bits of each byte.
void readIndexedRow(const uchar* src, QRgb* dst, const Layout& layout, const Palette& palette) {
    const int bits = layout.bitCount;
    const int perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    for (qint64 x = 0; x < layout.width; ++x) {
        const int shift = 8 - bits * int(x % perByte + 1);
        dst[x] = palette[(src[x / perByte] >> shift) & mask];
    }
}

void readRow(const uchar* src, QRgb* dst, const Layout& layout, const Palette& palette) {
    if (layout.bitCount <= 8) return readIndexedRow(src, dst, layout, palette);
    const qint64 step = layout.bitCount / 8;
    for (qint64 x = 0; x < layout.width; ++x) {
        const uchar* pixel = src + x * step;
        dst[x] = qRgb(pixel[2], pixel[1], pixel[0]);
    }
}

} // namespace

QImage BmpReader::read(QByteArrayView data) {
    const Layout layout = layoutOf(data, readHeader(data));
    const Palette palette = readPalette(data, layout);
    QImage image(int(layout.width), int(layout.height), QImage::Format_RGB32);
    require(!image.isNull());
    const uchar* pixels = bytesOf(data) + layout.pixelOffset;
    for (qint64 y = 0; y < layout.height; ++y) {
        const qint64 fileRow = layout.topDown ? y : layout.height - 1 - y;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        readRow(pixels + fileRow * layout.stride, dst, layout, palette);
    }
    return image;
}

} // namespace korvel

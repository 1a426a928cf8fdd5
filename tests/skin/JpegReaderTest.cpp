#include "skin/JpegReader.h"

#include "base/KorvelError.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include <jerror.h> // after jpeglib.h, whose types its macros use

using korvel::JpegReader;
using korvel::KorvelError;

namespace {

QString jpegError(int code) { return QStringLiteral("JPEG エラー #%1").arg(code); }

QString jpegErrorOf(QByteArrayView data) {
    try {
        JpegReader::read(data);
    } catch (const KorvelError& error) {
        return error.text();
    }
    return QStringLiteral("(no error)");
}

// Smooth gradients survive JPEG within a few levels everywhere, so a mirrored, shifted or
// channel-swapped decode shows up as a large difference.
QImage samplePicture(QImage::Format format = QImage::Format_RGB32) {
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 5, y * 7, 255 - (x + y) * 2));
    return image.convertToFormat(format);
}

QByteArray encodeWithQt(const QImage& image, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

// A 4:4:4 colour picture of `size` pixels square, written as one DC scan followed by
// single-coefficient AC scans, `scanCount` scans in all (at most 190).
QByteArray encodeWithScans(int scanCount, int size = 16) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = cinfo.image_height = JDIMENSION(size);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    for (int c = 0; c < 3; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    std::vector<jpeg_scan_info> script(static_cast<size_t>(scanCount));
    script[0] = {3, {0, 1, 2, 0}, 0, 0, 0, 0};
    for (int i = 1; i < scanCount; ++i) {
        const int band = (i - 1) / 3 + 1;
        script[size_t(i)] = {1, {(i - 1) % 3, 0, 0, 0}, band, band, 0, 0};
    }
    cinfo.scan_info = script.data();
    cinfo.num_scans = scanCount;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(size) * 3);
    for (size_t i = 0; i < row.size(); ++i) row[i] = JSAMPLE(i * 5 % 256);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(outSize));
    std::free(out);
    return bytes;
}

// Offset of the frame header's marker (FF Cn), found by walking the marker segments.
qsizetype frameHeader(const QByteArray& jpeg) {
    for (qsizetype pos = 2; pos + 4 <= jpeg.size();) {
        const auto marker = uchar(jpeg[pos + 1]);
        if (marker >= 0xC0 && marker <= 0xC2) return pos;
        pos += 2 + (uchar(jpeg[pos + 2]) << 8 | uchar(jpeg[pos + 3]));
    }
    ADD_FAILURE() << "no frame header";
    return 0;
}

QByteArray withSize(QByteArray jpeg, int width, int height) {
    const qsizetype sof = frameHeader(jpeg);
    const char size[] = {char(height >> 8), char(height & 0xFF), char(width >> 8),
                         char(width & 0xFF)};
    jpeg.replace(sof + 5, 4, size, 4);
    return jpeg;
}

int maxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

const QByteArray& baseline() {
    static const QByteArray bytes = encodeWithQt(samplePicture(), false);
    return bytes;
}

const QByteArray& progressive() {
    static const QByteArray bytes = encodeWithQt(samplePicture(), true);
    return bytes;
}

// Catches a wrong row order, channel order, stride or output format in either coding process.
TEST(JpegReader, DecodesBaselineAndProgressive) {
    for (bool isProgressive : {false, true}) {
        SCOPED_TRACE(isProgressive ? "progressive" : "baseline");
        const QByteArray& jpeg = isProgressive ? progressive() : baseline();
        ASSERT_EQ(uchar(jpeg[frameHeader(jpeg) + 1]), isProgressive ? 0xC2 : 0xC0);
        const QImage image = JpegReader::read(jpeg);
        ASSERT_EQ(image.format(), QImage::Format_RGB32);
        ASSERT_EQ(image.size(), QSize(48, 32));
        EXPECT_LE(maxDifference(image, samplePicture()), 8);
    }
}

// Catches a one-component stream that is refused or comes out in false colours.
TEST(JpegReader, DecodesGreyscaleAsGreyRgb) {
    const QImage grey = samplePicture(QImage::Format_Grayscale8);
    const QByteArray jpeg = encodeWithQt(grey, false);
    ASSERT_EQ(jpeg[frameHeader(jpeg) + 9], 1); // one component
    const QImage image = JpegReader::read(jpeg);
    EXPECT_LE(maxDifference(image, grey.convertToFormat(QImage::Format_RGB32)), 4);
    EXPECT_EQ(qRed(image.pixel(20, 10)), qBlue(image.pixel(20, 10)));
}

// Catches a lost or wrong libjpeg message number, and any path that aborts the process.
TEST(JpegReader, ReportsLibraryMessageNumber) {
    QByteArray lossless = baseline();
    lossless[frameHeader(lossless) + 1] = char(0xC3);
    const struct {
        const char* name;
        QByteArray data;
        int code;
    } cases[] = {
        {"empty", {}, JERR_INPUT_EMPTY},
        {"garbage", "GIF89a not a JPEG at all", JERR_NO_SOI},
        {"no frame", QByteArray::fromHex("ffd8ffd9"), JERR_NO_IMAGE},
        {"lossless process", lossless, JERR_SOF_UNSUPPORTED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(jpegErrorOf(c.data), jpegError(c.code));
    }
}

// Catches a cut-short stream shown padded with grey instead of refused, at any cut.
TEST(JpegReader, RefusesEveryTruncation) {
    for (const QByteArray* jpeg : {&baseline(), &progressive()}) {
        for (qsizetype length = 1; length < jpeg->size(); ++length) {
            SCOPED_TRACE(length);
            EXPECT_EQ(jpegErrorOf(jpeg->left(length)), jpegError(JWRN_JPEG_EOF));
        }
    }
}

// Catches a decompression bomb that reaches the decoder: the frame header alone refuses it.
TEST(JpegReader, RefusesMoreThanSixteenMegapixels) {
    for (const QByteArray* jpeg : {&baseline(), &progressive()}) {
        for (QSize size : {QSize(60000, 60000), QSize(4097, 4096)}) {
            SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
            EXPECT_EQ(jpegErrorOf(withSize(*jpeg, size.width(), size.height())),
                      jpegError(JERR_IMAGE_TOO_BIG));
        }
    }
}

// Catches a missing memory limit: 16 Mpx of 4:4:4 progressive coefficients need 96 MiB.
TEST(JpegReader, RefusesProgressiveBeyondMemoryLimit) {
    EXPECT_EQ(jpegErrorOf(withSize(encodeWithScans(10), 4096, 4096)),
              jpegError(JERR_NO_BACKING_STORE));
}

// Catches a missing or off-by-one bound on the number of progressive scans.
TEST(JpegReader, BoundsProgressiveScans) {
    const QImage image = JpegReader::read(encodeWithScans(JpegReader::kMaxScans));
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(jpegErrorOf(encodeWithScans(JpegReader::kMaxScans + 1)),
              jpegError(JERR_BAD_PROGRESSION));
}

// Catches state carried from a failed decode into the next one.
TEST(JpegReader, DecodesNormallyAfterFailures) {
    const QImage first = JpegReader::read(baseline());
    for (const QByteArray& bad :
         {QByteArray("garbage"), baseline().left(300), withSize(progressive(), 60000, 60000)}) {
        EXPECT_NE(jpegErrorOf(bad), QStringLiteral("(no error)"));
        EXPECT_EQ(jpegErrorOf(baseline()), QStringLiteral("(no error)"));
        EXPECT_EQ(JpegReader::read(baseline()), first);
    }
}

} // namespace

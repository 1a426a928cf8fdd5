#include "skin/JpegReader.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE and size_t without including their headers
#include <memory>

#include <jpeglib.h>

#include <jerror.h> // after jpeglib.h, whose types its macros use

namespace korvel {
namespace {

// Everything libjpeg sees of one decode. Trivial on purpose: its errors longjmp back into the
// step functions below, which therefore hold no object with a destructor, and the caller that
// owns this keeps all C++ objects outside the jumps.
struct Session {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    int failure; // message number of the failure; read only after a step returned false
};

Session& sessionOf(j_common_ptr cinfo) { return *static_cast<Session*>(cinfo->client_data); }

// The code is taken here, at the failure: after a decode the library's last code is stale.
[[noreturn]] void fail(j_common_ptr cinfo, int code) {
    Session& session = sessionOf(cinfo);
    session.failure = code;
    std::longjmp(session.jump, 1);
}

[[noreturn]] void onError(j_common_ptr cinfo) { fail(cinfo, cinfo->err->msg_code); }

// A stream that ends early would otherwise be padded out as a grey picture.
void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return; // trace output
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) fail(cinfo, JWRN_JPEG_EOF);
    ++cinfo->err->num_warnings;
}

void onOutput(j_common_ptr) {}

// Each scan of a progressive stream costs a pass over every block; many tiny scans are a bomb.
void onProgress(j_common_ptr cinfo) {
    if (sessionOf(cinfo).cinfo.input_scan_number > JpegReader::kMaxScans)
        fail(cinfo, JERR_BAD_PROGRESSION);
}

void prepare(Session& session) {
    session.cinfo.err = jpeg_std_error(&session.errors);
    session.errors.error_exit = onError;
    session.errors.emit_message = onMessage;
    session.errors.output_message = onOutput;
    session.progress.progress_monitor = onProgress;
    session.cinfo.client_data = &session;
}

j_common_ptr common(Session& session) { return reinterpret_cast<j_common_ptr>(&session.cinfo); }

void checkSize(Session& session) {
    const quint64 pixels = quint64(session.cinfo.image_width) * session.cinfo.image_height;
    if (pixels > quint64(JpegReader::kMaxPixels)) fail(common(session), JERR_IMAGE_TOO_BIG);
}

// Reads the headers and starts the decoder; false with session.failure set on failure.
bool start(Session& session, const unsigned char* data, unsigned long size) {
    if (setjmp(session.jump) != 0) return false;
    jpeg_create_decompress(&session.cinfo);
    session.cinfo.mem->max_memory_to_use = JpegReader::kMaxDecoderMemory;
    session.cinfo.progress = &session.progress;
    jpeg_mem_src(&session.cinfo, data, size);
    jpeg_read_header(&session.cinfo, TRUE);
    checkSize(session);
    session.cinfo.dct_method = JDCT_ISLOW;
    session.cinfo.do_block_smoothing = TRUE;
    session.cinfo.out_color_space = JCS_RGB;
    session.cinfo.scale_num = 1;
    session.cinfo.scale_denom = 1;
    jpeg_start_decompress(&session.cinfo);
    return true;
}

void copyRow(const JSAMPLE* src, QRgb* dst, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, src += 3) dst[x] = qRgb(src[0], src[1], src[2]);
}

// Decodes every row into `bits` (RGB32 rows of `bytesPerLine` bytes) and finishes the stream.
bool readRows(Session& session, uchar* bits, qsizetype bytesPerLine) {
    if (setjmp(session.jump) != 0) return false;
    j_decompress_ptr cinfo = &session.cinfo;
    JSAMPARRAY row =
        cinfo->mem->alloc_sarray(common(session), JPOOL_IMAGE, cinfo->output_width * 3, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        uchar* dst = bits + bytesPerLine * qsizetype(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, row, 1) != 1)
            fail(common(session), JERR_TOO_LITTLE_DATA); // only a suspending source does this
        copyRow(row[0], reinterpret_cast<QRgb*>(dst), cinfo->output_width);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

KorvelError decodeError(int code) { return KorvelError(FixedTexts::JpegError.arg(code)); }

} // namespace

QImage JpegReader::read(QByteArrayView data) {
    Session session{};
    prepare(session);
    const std::unique_ptr<jpeg_decompress_struct, void (*)(j_decompress_ptr)> destroy(
        &session.cinfo, jpeg_destroy_decompress);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    if (!start(session, bytes, static_cast<unsigned long>(data.size())))
        throw decodeError(session.failure);
    if (session.cinfo.output_components != 3) throw decodeError(JERR_BAD_J_COLORSPACE);
    QImage image(int(session.cinfo.output_width), int(session.cinfo.output_height),
                 QImage::Format_RGB32);
    if (image.isNull()) throw decodeError(JERR_OUT_OF_MEMORY);
    if (!readRows(session, image.bits(), image.bytesPerLine())) throw decodeError(session.failure);
    return image;
}

} // namespace korvel

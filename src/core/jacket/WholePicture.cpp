// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/jacket/WholePicture.h"

#include "core/bitmap/DIBUtils.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports through callbacks: a fatal error jumps back, and the
// warnings that mean "the data ended before the picture did" are noted.
struct JpegErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf failed;
    bool cutShort = false;
};

[[noreturn]] void jpegFailed(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors *>(info->err)->failed, 1); }

void jpegMessage(j_common_ptr info, int level)
{
    // Level -1 is a warning. Others (extraneous bytes before a marker, say)
    // are common in camera files and cost no pixels.
    auto *errors = reinterpret_cast<JpegErrors *>(info->err);
    if (level < 0 && (errors->manager.msg_code == JWRN_JPEG_EOF || errors->manager.msg_code == JWRN_HIT_MARKER))
        errors->cutShort = true;
}

// Decodes every row (scaled down by eight, which reads all the data and
// costs little) and tells whether the data lasted to the end. No C++ object
// lives in this frame: the error path leaves it with longjmp.
bool jpegIsWhole(const QByteArray &bytes, qint64 mostBytes)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFailed;
    errors.manager.emit_message = jpegMessage;
    jpeg_create_decompress(&info);
    if (setjmp(errors.failed)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // A progressive picture keeps all its coefficients while it decodes.
    info.mem->max_memory_to_use = long(mostBytes);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * JDIMENSION(info.output_components), 1);
    while (info.output_scanline < info.output_height && !errors.cutShort)
        jpeg_read_scanlines(&info, row, 1);
    if (!errors.cutShort)
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return !errors.cutShort;
}

// Walks the blocks of a GIF: every block must be there in full, and the
// data must end with a picture or the trailer, not inside a block.
bool gifIsWhole(QByteArrayView gif)
{
    const auto byte = [gif](qsizetype at) { return quint8(gif[at]); };
    const auto colourTable = [](quint8 flags) { return flags & 0x80 ? qsizetype(3) << ((flags & 7) + 1) : 0; };
    constexpr qsizetype kScreenEnd = 13;  // signature and logical screen
    if (gif.size() < kScreenEnd)
        return false;
    qsizetype at = kScreenEnd + colourTable(byte(10));
    const auto skipSubBlocks = [&] {
        while (at < gif.size()) {
            const quint8 length = byte(at++);
            if (length == 0)
                return true;
            at += length;
        }
        return false;
    };
    bool picture = false;
    while (at < gif.size()) {
        switch (byte(at++)) {
        case 0x3B:  // trailer
            return picture;
        case 0x21:  // extension: label, then sub-blocks
            if (++at > gif.size() || !skipSubBlocks())
                return false;
            break;
        case 0x2C: {  // picture: descriptor, local colours, code size, sub-blocks
            if (at + 10 > gif.size())
                return false;
            at += 9 + colourTable(byte(at + 8)) + 1;
            if (!skipSubBlocks())
                return false;
            picture = true;
            break;
        }
        default:
            return false;
        }
    }
    // Some writers leave out the trailer after a whole picture.
    return picture && at == gif.size();
}

}  // namespace

namespace WholePicture {

bool isWhole(const QByteArray &bytes, QByteArrayView format, qint64 mostBytes)
{
    if (format == "jpeg")
        return jpegIsWhole(bytes, mostBytes);
    if (format == "gif")
        return gifIsWhole(bytes);
    if (format == "bmp") {
        // The program's own BMP reader refuses pixel data shorter than the
        // header's size.
        try {
            LoadDIBFromStream(bytes);
            return true;
        } catch (const EDIBUtilsError &) {
            return false;
        }
    }
    return true;
}

}  // namespace WholePicture

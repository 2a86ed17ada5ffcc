// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bitmap/DIBUtils.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <bit>
#include <limits>

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kInfoHeaderWithMasksSize = 52;  // the masks sit inside headers this large

// RLE data can describe any number of blank pixels in a few bytes, so its
// size is not bounded by the bytes present. This program never makes RLE
// pictures; 64 Mi pixels is far beyond any sensible one.
constexpr qint64 kMaxRlePixels = qint64(64) << 20;

[[noreturn]] void fail(const char *what)
{
    throw EDIBUtilsError(QStringLiteral("LoadDIBFromStream: ") + QLatin1StringView(what));
}

quint16 u16At(const uchar *p)
{
    return quint16(p[0] | (p[1] << 8));
}

quint32 u32At(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

bool validBitCount(quint16 bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool validCompression(quint32 compression, quint16 bits)
{
    switch (compression) {
    case DIB_RGB:
        return true;
    case DIB_RLE8:
        return bits == 8;
    case DIB_RLE4:
        return bits == 4;
    case DIB_BITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

TDIBData parse(const QByteArray &storage, qsizetype base)
{
    const auto *file = reinterpret_cast<const uchar *>(storage.constData()) + base;
    const qsizetype size = storage.size() - base;

    if (size < 2 || file[0] != 'B' || file[1] != 'M')
        fail("File type is invalid");
    if (size < kFileHeaderSize + 4)
        fail("Unexpected End of Stream");
    const quint32 dataOffset = u32At(file + 10);
    const quint32 headerSize = u32At(file + 14);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize)
        fail("Invalid Bitmap Header Size");
    if (qint64(headerSize) > size - kFileHeaderSize)
        fail("Unexpected End of Stream");

    TDIBData dib;
    const uchar *h = file + kFileHeaderSize;
    quint32 colorsUsed = 0;
    if (headerSize == kCoreHeaderSize) {
        dib.coreHeader = true;
        dib.width = u16At(h + 4);
        dib.height = u16At(h + 6);
        dib.bitCount = u16At(h + 10);
    } else {
        const auto width = qint32(u32At(h + 4));
        const auto height = qint32(u32At(h + 8));
        dib.bitCount = u16At(h + 14);
        dib.compression = u32At(h + 16);
        colorsUsed = u32At(h + 32);
        if (width < 0 || height == std::numeric_limits<qint32>::min())
            fail("Invalid Bitmap Size");
        dib.width = width;
        dib.topDown = height < 0;
        dib.height = height < 0 ? -height : height;
    }
    if (!validBitCount(dib.bitCount))
        fail("Invalid BitCout");
    if (!validCompression(dib.compression, dib.bitCount))
        fail("Invalid Compression");

    qint64 tableStart = kFileHeaderSize + qint64(headerSize);
    if (dib.compression == DIB_BITFIELDS) {
        const uchar *masks = h + kInfoHeaderSize;
        if (headerSize < kInfoHeaderWithMasksSize) {
            if (size - tableStart < 12)
                fail("Unexpected End of Stream");
            masks = file + tableStart;
            tableStart += 12;
        }
        dib.redMask = u32At(masks);
        dib.greenMask = u32At(masks + 4);
        dib.blueMask = u32At(masks + 8);
    }

    // The colour table: the header's count, or a full table for 1, 4 and 8
    // bits, never more than 256 entries. Entries that would lie past the
    // data offset or the end are not there (some writers leave the table
    // out); the picture gets black for them.
    qint64 colors = colorsUsed;
    if (dib.bitCount <= 8 && (colors == 0 || dib.coreHeader))
        colors = qint64(1) << dib.bitCount;
    colors = std::min<qint64>(colors, 256);
    const qint64 entrySize = dib.coreHeader ? 3 : 4;
    const qint64 tableEnd = dataOffset >= tableStart && dataOffset <= size ? dataOffset : size;
    colors = std::clamp<qint64>((tableEnd - tableStart) / entrySize, 0, colors);
    dib.colorTable.reserve(colors);
    for (qint64 i = 0; i < colors; ++i) {
        const uchar *e = file + tableStart + i * entrySize;
        dib.colorTable.append(qRgb(e[2], e[1], e[0]));
    }

    if (dataOffset > size)
        fail("Invalid Data Offset");
    dib.storage = storage;
    dib.bitsOffset = base + dataOffset;

    // Decoding must find everything it reads, and nothing may be allocated
    // for rows the file does not hold.
    const qint64 available = size - dataOffset;
    if (dib.width > 0 && dib.height > 0) {
        if (dib.compression == DIB_RLE8 || dib.compression == DIB_RLE4) {
            if (qint64(dib.width) * dib.height > kMaxRlePixels)
                fail("Too Big RLE Bitmap");
        } else {
            const qint64 stride = DIBRowStride(dib.width, dib.bitCount);
            const qint64 lastRow = (qint64(dib.width) * dib.bitCount + 7) / 8;
            if (available < lastRow || (dib.height - 1) > (available - lastRow) / stride)
                fail("Bitmap Data is Too Short");
        }
    }
    return dib;
}

// value & mask scaled from 0 … (mask >> its lowest bit) to 0 … 255.
class ChannelScale
{
public:
    explicit ChannelScale(quint32 mask)
        : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0), m_max(mask ? mask >> m_shift : 1)
    {
    }
    uchar operator()(quint32 value) const
    {
        const quint64 v = (value & m_mask) >> m_shift;
        return m_max == 255 ? uchar(v) : uchar(v * 255 / m_max);
    }

private:
    quint32 m_mask;
    int m_shift;
    quint64 m_max;
};

void decodeUncompressed(const TDIBData &dib, const std::function<uchar *(int)> &scanline)
{
    const QByteArrayView bits = dib.bits();
    const auto *data = reinterpret_cast<const uchar *>(bits.data());
    const qint64 stride = DIBRowStride(dib.width, dib.bitCount);
    const int w = dib.width;
    const TDIBMasks masks = DIBChannelMasks(dib);
    const ChannelScale red(masks.red), green(masks.green), blue(masks.blue);

    for (int fileRow = 0; fileRow < dib.height; ++fileRow) {
        const uchar *src = data + fileRow * stride;
        uchar *dst = scanline(dib.topDown ? fileRow : dib.height - 1 - fileRow);
        switch (dib.bitCount) {
        case 1:
            std::copy_n(src, (w + 7) / 8, dst);
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
            break;
        case 8:
            std::copy_n(src, w, dst);
            break;
        case 16:
            for (int x = 0; x < w; ++x, dst += 3) {
                const quint32 v = u16At(src + 2 * x);
                dst[0] = red(v);
                dst[1] = green(v);
                dst[2] = blue(v);
            }
            break;
        case 24:
            for (int x = 0; x < w; ++x, src += 3, dst += 3) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
            }
            break;
        case 32:
            for (int x = 0; x < w; ++x, dst += 3) {
                const quint32 v = u32At(src + 4 * x);
                dst[0] = red(v);
                dst[1] = green(v);
                dst[2] = blue(v);
            }
            break;
        }
    }
}

// RLE8 and RLE4: (count, value) runs, and escapes after a zero count for
// end of line (0), end of picture (1), a jump (2, dx, dy) and literal runs
// (n ≥ 3 pixels, padded to 16 bits). Rows are counted in file order.
void decodeRle(const TDIBData &dib, const std::function<uchar *(int)> &scanline)
{
    const QByteArrayView bits = dib.bits();
    const auto *d = reinterpret_cast<const uchar *>(bits.data());
    const qsizetype n = bits.size();
    const bool four = dib.compression == DIB_RLE4;
    const qint64 w = dib.width;
    const qint64 h = dib.height;

    qint64 x = 0;
    qint64 fileRow = 0;
    qint64 rowOf = -1;
    uchar *row = nullptr;
    auto put = [&](uchar index) {
        if (x < w) {
            if (rowOf != fileRow) {
                row = scanline(int(dib.topDown ? fileRow : h - 1 - fileRow));
                rowOf = fileRow;
            }
            row[x] = index;
        }
        ++x;
    };

    qsizetype p = 0;
    while (p + 1 < n && fileRow < h) {
        const uchar count = d[p];
        const uchar value = d[p + 1];
        p += 2;
        if (count > 0) {
            if (x >= w) {
                x += count;
                continue;
            }
            for (int k = 0; k < count; ++k)
                put(four ? ((k & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            ++fileRow;
            break;
        case 1:
            return;
        case 2:
            if (p + 1 >= n)
                return;
            x += d[p];
            fileRow += d[p + 1];
            p += 2;
            break;
        default: {
            const qsizetype used = four ? (value + 1) / 2 : value;
            for (int k = 0; k < value; ++k) {
                const qsizetype at = p + (four ? k / 2 : k);
                if (at >= n)
                    return;
                put(four ? ((k & 1) ? (d[at] & 0x0F) : (d[at] >> 4)) : d[at]);
            }
            p += used + (used & 1);
            break;
        }
        }
    }
}

}  // namespace

qint64 DIBRowStride(qint64 width, int bitCount)
{
    return (bitCount * width + 31) / 32 * 4;
}

int DIBPictureBits(int bitCount)
{
    return bitCount == 16 || bitCount == 32 ? 24 : bitCount;
}

TDIBMasks DIBChannelMasks(const TDIBData &dib)
{
    if (dib.compression == DIB_BITFIELDS)
        return {dib.redMask, dib.greenMask, dib.blueMask};
    if (dib.bitCount == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

TDIBData LoadDIBFromStream(const QByteArray &bytes)
{
    return parse(bytes, 0);
}

TDIBData LoadDIBFromStream(QIODevice &stream)
{
    // A memory stream is read in place: its bytes are shared, not copied.
    if (auto *buffer = qobject_cast<QBuffer *>(&stream); buffer && buffer->isReadable()) {
        const QByteArray storage = buffer->data();
        const qsizetype base = std::clamp<qint64>(buffer->pos(), 0, storage.size());
        buffer->seek(storage.size());
        return parse(storage, base);
    }
    return parse(stream.readAll(), 0);
}

void DecodeDIBPixels(const TDIBData &dib, const std::function<uchar *(int row)> &scanline)
{
    if (dib.width <= 0 || dib.height <= 0)
        return;
    if (dib.compression == DIB_RLE8 || dib.compression == DIB_RLE4)
        decodeRle(dib, scanline);
    else
        decodeUncompressed(dib, scanline);
}

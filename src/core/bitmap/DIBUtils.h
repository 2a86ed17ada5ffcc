// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/Exception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QRgb>

#include <cstdint>
#include <functional>

class QIODevice;

// Failures of the BMP reader.
class EDIBUtilsError : public Exception
{
public:
    using Exception::Exception;
};

// Compression codes of the info header.
enum : quint32 {
    DIB_RGB = 0,
    DIB_RLE8 = 1,
    DIB_RLE4 = 2,
    DIB_BITFIELDS = 3,
};

// A BMP file image as read: the header fields a picture needs, the colour
// table and the pixel bytes exactly as stored.
struct TDIBData
{
    bool coreHeader = false;      // the 12-byte header of the oldest files
    qint32 width = 0;
    qint32 height = 0;            // number of rows, never negative
    bool topDown = false;         // rows stored top row first (negative height in the file)
    quint16 bitCount = 0;         // 1, 4, 8, 16, 24 or 32
    quint32 compression = DIB_RGB;
    quint32 redMask = 0;          // the three masks: bit-field compression only
    quint32 greenMask = 0;
    quint32 blueMask = 0;
    QList<QRgb> colorTable;       // at most 256 opaque entries
    // The pixel bytes are storage from bitsOffset to its end. Keeping the
    // caller's array (shared, not copied) saves a copy of a large image.
    QByteArray storage;
    qsizetype bitsOffset = 0;

    QByteArrayView bits() const { return QByteArrayView(storage).sliced(bitsOffset); }
};

// Reads a BMP file image: "BM" file header, a 12-byte core header or an
// info header of 40 bytes or more, masks, colour table, and the pixel data
// from the data offset to the end of the bytes. Throws EDIBUtilsError on
// malformed input. The picture is not decoded here, but the reader makes
// sure that decoding can neither read past the bytes present nor need more
// memory than those bytes justify (RLE pictures, which can describe blank
// areas in a few bytes, are limited to 64 Mi pixels instead).
TDIBData LoadDIBFromStream(const QByteArray &bytes);
// Reads from the device's position to its end and leaves it there.
TDIBData LoadDIBFromStream(QIODevice &stream);

// Bytes per stored row: rows are padded to 32 bits.
qint64 DIBRowStride(qint64 width, int bitCount);

// Bits per pixel of the decoded picture: 1, 4 and 8 stay, 16 and 32 become 24.
int DIBPictureBits(int bitCount);

// The three channel masks used for 16- and 32-bit pixels: the file's for
// bit-field compression, else 5-5-5 (16 bits) or 8-8-8 (32 bits). A zero
// mask cannot be decoded; the caller refuses it.
struct TDIBMasks
{
    quint32 red = 0;
    quint32 green = 0;
    quint32 blue = 0;
    bool valid() const { return red != 0 && green != 0 && blue != 0; }
};
TDIBMasks DIBChannelMasks(const TDIBData &dib);

// Decodes every row of the picture into the row memory that scanline(row)
// returns, row 0 being the top row. Decoded rows are laid out as
//   1 bit:          packed, most significant bit first (QImage::Format_Mono);
//   4 and 8 bits:   one palette index per byte;
//   16, 24, 32 bit: R, G, B bytes (QImage::Format_RGB888), channels scaled
//                   proportionally to 0 … 255.
// RLE data leaves the pixels it skips as they were, so the caller clears
// the rows first; runs past the row or the picture and data that ends early
// are cut off. Each row's memory must hold width pixels of that layout.
void DecodeDIBPixels(const TDIBData &dib, const std::function<uchar *(int row)> &scanline);

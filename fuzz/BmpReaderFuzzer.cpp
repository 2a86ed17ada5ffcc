// SPDX-License-Identifier: GPL-3.0-or-later
// BMP reader on arbitrary bytes: every input is either refused with the
// program's own exception or read into a picture that can be drawn.
#include "core/bitmap/BigBitmap.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    TBigBitmap picture;
    try {
        picture.LoadFromStream(buffer);
    } catch (const Exception &) {
        return 0;
    }
    if (picture.Width() < 0 || picture.Height() < 0)
        std::abort();
    if (picture.Empty() || qint64(picture.Width()) * picture.Height() > 1 << 20)
        return 0;

    // Every row must be reachable, and both draw modes must cope with
    // enlarging, shrinking and mirroring whatever was read.
    const uchar *first = picture.GetScanline(0);
    const uchar *last = picture.GetScanline(picture.Height() - 1);
    if (!first || !last)
        std::abort();
    QImage surface(300, 300, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    for (quint8 mode : {quint8(1), quint8(0)}) {
        picture.SetDrawMode(mode);
        picture.Draw(painter, QRect(0, 0, 300, 290));
        picture.Draw(painter, QRect(40, 30, -37, -23));
        picture.Draw(painter, QRect(-100, 250, 1200, 700));
    }
    return 0;
}

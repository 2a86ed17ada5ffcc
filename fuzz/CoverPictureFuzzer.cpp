// SPDX-License-Identifier: GPL-3.0-or-later
// Cover pictures from arbitrary bytes: refused, or a picture whose decoding
// to any size gives that size (or nothing, when Qt's memory limit says no).
#include "core/jacket/CoverPicture.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdlib>

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<CoverPicture> picture = CoverPicture::fromBytes(bytes);
    if (!picture)
        return 0;
    check(picture->bytes() == bytes && !picture->suffix().isEmpty());
    for (const QSize wanted : {QSize(40, 40), QSize(64, 23), QSize(1, 90)}) {
        const QImage image = picture->covering(wanted);
        check(image.isNull() || image.size() == wanted);
    }
    return 0;
}

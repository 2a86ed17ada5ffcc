// SPDX-License-Identifier: GPL-3.0-or-later
// The printer's IPP attributes as the print server sends them: the bytes
// are read as an IPP message, as libcups reads a response off the wire, and
// its attributes are mapped to the facade's traits. Whatever a server
// sends, the traits keep the ranges that the rest of the program counts on.
#include "core/cups/PrinterTraits.h"

#include <cups/ipp.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "FuzzCheck.h"


namespace {

struct Source
{
    const uint8_t *data;
    size_t size;
    size_t position = 0;
};

ssize_t readBytes(void *context, ipp_uchar_t *buffer, size_t bytes)
{
    auto *source = static_cast<Source *>(context);
    const size_t count = std::min(bytes, source->size - source->position);
    if (count > 0)
        std::memcpy(buffer, source->data + source->position, count);
    source->position += count;
    return ssize_t(count);
}

quint32 allFieldBits()
{
    quint32 bits = 0;
    for (quint32 bit : kQdFieldMaskBits)
        bits |= bit;
    return bits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Source source{data, size};
    ipp_t *message = ippNew();
    ipp_state_t state = IPP_STATE_IDLE;
    // Blocking reads return at the end of the message or at an error; a
    // bounded loop all the same, in case a read stops half-way.
    for (int i = 0; i < 64 && state != IPP_STATE_DATA && state != IPP_STATE_ERROR; ++i)
        state = ippReadIO(&source, readBytes, 1, nullptr, message);
    // cupsDoRequest hands over only a message that was read whole.
    if (state == IPP_STATE_DATA) {
        const TQdPrinterTraits traits = QdPrinterTraitsFromIpp(message);
        check((traits.Fields & ~allFieldBits()) == 0);
        check(!(traits.Fields & kQdFieldMaskBits[QdField::Scale]));
        check(!traits.MaxCopies || *traits.MaxCopies > 0);
        for (const QString &member : traits.Members)
            check(!member.isNull());
    }
    ippDelete(message);
    return 0;
}

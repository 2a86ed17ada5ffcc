// The jacket document reader on arbitrary bytes; what it reads must write
// back and read again to the same document.
#include "document/JacketDocument.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto document = JacketFormat::fromBytes(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!document)
        return 0;
    const auto again = JacketFormat::fromBytes(JacketFormat::toBytes(*document));
    if (!again)
        std::abort();
    // U+FFFD cannot be written and comes back as "?"; otherwise nothing changes.
    if (JacketFormat::firstUnencodableLine(*document) == 0 && (again->title != document->title || again->items != document->items))
        std::abort();
    return 0;
}

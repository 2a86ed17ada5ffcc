// SPDX-License-Identifier: GPL-3.0-or-later
// The jacket document reader on arbitrary bytes; what it reads must write
// back and read again to the same document.
#include "core/jacket/JacketDocument.h"

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
    // Nothing changes, but for U+FFFD in a Shift-JIS file, which comes back as "?".
    const auto held = [](QString text) { return text.replace(QChar(QChar::ReplacementCharacter), u'?'); };
    if (held(again->title) != held(document->title) || again->items.size() != document->items.size())
        std::abort();
    for (qsizetype i = 0; i < again->items.size(); ++i) {
        if (held(again->items[i]) != held(document->items[i]))
            std::abort();
    }
    return 0;
}

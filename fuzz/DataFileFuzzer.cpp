// SPDX-License-Identifier: GPL-3.0-or-later
// Data file reader on arbitrary bytes: never crashes, and what it read
// writes back to a file that reads the same.
#include "core/settings/DataFile.h"

#include "core/text/TextLines.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    DataFileValues values = parseDataFile(input);
    values.artistPrefix.replace(QChar(QChar::ReplacementCharacter), u'?');
    values.numberSuffix.replace(QChar(QChar::ReplacementCharacter), u'?');
    const QByteArray written = TextLines::toFileBytes({values.artistPrefix, values.numberSuffix});
    if (!(parseDataFile(written) == values))
        std::abort();
    return 0;
}

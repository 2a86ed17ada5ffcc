// SPDX-License-Identifier: GPL-3.0-or-later
#include "JacketDocument.h"

#include "common/TextLines.h"

namespace JacketFormat {

QByteArray toBytes(const JacketDocument &document)
{
    // The last guard: whatever put a line break into a line, the file keeps
    // one line per item.
    QStringList lines;
    lines.reserve(document.items.size() + 1);
    lines.append(TextLines::oneLine(document.title));
    for (const QString &item : document.items)
        lines.append(TextLines::oneLine(item));
    return TextLines::toFileBytes(lines);
}

std::optional<JacketDocument> fromBytes(QByteArrayView bytes)
{
    QStringList lines = TextLines::fromFileBytes(bytes);
    if (lines.isEmpty())
        return std::nullopt;
    JacketDocument document;
    document.title = lines.takeFirst();
    document.items = std::move(lines);
    return document;
}

}  // namespace JacketFormat

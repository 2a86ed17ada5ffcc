#include "JacketDocument.h"

#include "common/TextLines.h"

namespace JacketFormat {

QByteArray toBytes(const JacketDocument &document)
{
    QStringList lines;
    lines.reserve(document.items.size() + 1);
    lines.append(document.title);
    lines.append(document.items);
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

#include "JacketDocument.h"

#include "common/TextCodec.h"
#include "common/TextLines.h"

namespace JacketFormat {

QByteArray toBytes(const JacketDocument &document)
{
    QStringList lines;
    lines.reserve(document.items.size() + 1);
    lines.append(document.title);
    lines.append(document.items);
    return TextLines::toShiftJisCrLf(lines);
}

std::optional<JacketDocument> fromBytes(QByteArrayView bytes)
{
    QStringList lines = TextLines::fromShiftJis(bytes);
    if (lines.isEmpty())
        return std::nullopt;
    JacketDocument document;
    document.title = lines.takeFirst();
    document.items = std::move(lines);
    return document;
}

int firstUnencodableLine(const JacketDocument &document)
{
    if (!Cp932::canEncode(document.title))
        return 1;
    for (int i = 0; i < document.items.size(); ++i) {
        if (!Cp932::canEncode(document.items[i]))
            return i + 2;
    }
    return 0;
}

}  // namespace JacketFormat

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/jacket/JacketDocument.h"

#include "core/text/TextLines.h"

#include <QCoreApplication>

#include <string_view>

namespace JacketFormat {
namespace {

// Text has no NUL byte (Shift-JIS and UTF-8 never need one), and the
// formats a document is most often mixed up with are told by their start:
// a PDF may hold no NUL at all.
bool isText(QByteArrayView bytes)
{
    static constexpr std::string_view kOtherFormats[] = {"%PDF-", "\x89PNG", "\xFF\xD8\xFF", "GIF87a", "GIF89a"};
    for (const std::string_view start : kOtherFormats) {
        if (bytes.startsWith(QByteArrayView(start.data(), qsizetype(start.size()))))
            return false;
    }
    return !bytes.contains('\0');
}

}  // namespace

QString reason(Unreadable why)
{
    return why == Unreadable::NotText ? QCoreApplication::translate("JacketFormat", "テキストではありません")
                                      : QCoreApplication::translate("JacketFormat", "1 行もありません（ジャケットの文書は 1 行目がタイトルです）");
}

QByteArray toBytes(const Jacket &document)
{
    // The last guard: whatever put a line break into a line, the file keeps
    // one line per item.
    QStringList lines;
    lines.reserve(document.items.size() + 1);
    lines.append(TextLines::oneLine(document.title));
    for (const QString &item : document.items)
        lines.append(TextLines::oneLine(item));
    const QByteArray bytes = TextLines::toFileBytes(lines);
    // A title that begins as a picture or a PDF does ("%PDF-…") would be
    // taken for one when read back: after a byte-order mark it is text.
    return isText(bytes) ? bytes : TextLines::toUtf8FileBytes(lines);
}

std::optional<Jacket> fromBytes(QByteArrayView bytes, Unreadable *why)
{
    const auto refuse = [&](Unreadable reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (!isText(bytes))
        return refuse(Unreadable::NotText);
    QStringList lines = TextLines::fromFileBytes(bytes);
    if (lines.isEmpty())
        return refuse(Unreadable::Empty);
    Jacket document;
    document.title = lines.takeFirst();
    document.items = std::move(lines);
    return document;
}

}  // namespace JacketFormat

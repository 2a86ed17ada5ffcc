// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/Jacket.h"

#include <QByteArray>

#include <optional>

// A jacket document on disk: the jacket's title on the first line, one item
// per following line, every line ending in CR LF; Shift-JIS text, or UTF-8
// after a byte-order mark when Shift-JIS cannot hold every character.
namespace JacketFormat {

// The largest document read: far beyond any jacket (a million items of a
// hundred characters), short of memory trouble.
inline constexpr qint64 kMostBytes = qint64(1) << 30;

// The document's bytes (TextLines::toFileBytes) of the jacket's title and items.
QByteArray toBytes(const Jacket &jacket);

// Why bytes are no jacket document.
enum class Unreadable
{
    Empty,    // not a single line
    NotText,  // a NUL byte, or the start of a picture or a PDF
};

// A jacket of the document's title and items, its other parts as a new
// jacket has them. Lines end at CR LF, lone CR or lone LF; bytes that are not
// Shift-JIS (or UTF-8, after its byte-order mark) become U+FFFD. Nothing, and
// why in `why`, for bytes that are no document.
std::optional<Jacket> fromBytes(QByteArrayView bytes, Unreadable *why = nullptr);
// The reason in the run's language, to go in a message.
QString reason(Unreadable why);

}  // namespace JacketFormat

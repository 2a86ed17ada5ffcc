#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// A jacket document on disk: Shift-JIS text, the title on the first line,
// one item per following line, every line ending in CR LF.
struct JacketDocument
{
    QString title;
    QStringList items;
};

namespace JacketFormat {

// The document's bytes. Characters that Shift-JIS cannot hold become "?".
QByteArray toBytes(const JacketDocument &document);

// Lines end at CR LF, lone CR or lone LF; the first NUL byte ends the text;
// bytes that are not Shift-JIS become U+FFFD. No line at all: nothing.
std::optional<JacketDocument> fromBytes(QByteArrayView bytes);

// The first line (the title is line 1) holding a character that Shift-JIS
// cannot hold, or 0 when every line can be written as it is.
int firstUnencodableLine(const JacketDocument &document);

}  // namespace JacketFormat

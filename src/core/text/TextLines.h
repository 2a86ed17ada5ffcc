// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Line handling shared by the documents and the settings files: lines end
// at CR LF, at a lone CR or at a lone LF; a last line without a line break
// is still a line, and a final line break does not start another one.
namespace TextLines {

QStringList split(QStringView text);

// Calls `line` with every line of `text`, by the same rule, without building
// a list of them.
template <typename Function>
void forEach(QStringView text, Function &&line)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        line(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        line(text.sliced(start));
}

// The bytes up to (not including) the first NUL byte.
QByteArrayView beforeFirstNul(QByteArrayView bytes);

// A text file's bytes → lines: cut at the first NUL, decoded as UTF-8 after
// a UTF-8 byte-order mark and as Shift-JIS otherwise, split.
QStringList fromFileBytes(QByteArrayView bytes);

// The text with line breaks and NUL characters turned into spaces, so that
// a value written into a line-based file stays one line when read back.
QString oneLine(const QString &text);

// The text with every control character (tabs and line breaks too) as a
// space: a value that becomes part of one item line.
QString withoutControls(QString text);

// Every line followed by CR LF, in Shift-JIS when it holds every character
// (a U+FFFD, left by bytes that were no Shift-JIS, becomes "?" as before),
// otherwise in UTF-8 after a byte-order mark, so that nothing is lost.
QByteArray toFileBytes(const QStringList &lines);
// The same always in UTF-8 after a byte-order mark.
QByteArray toUtf8FileBytes(const QStringList &lines);

}  // namespace TextLines

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Line handling shared by the documents and the settings files: lines end
// at CR LF, at a lone CR or at a lone LF; a last line without a line break
// is still a line, and a final line break does not start another one.
namespace TextLines {

QStringList split(QStringView text);

// The bytes up to (not including) the first NUL byte.
QByteArrayView beforeFirstNul(QByteArrayView bytes);

// Shift-JIS bytes → lines: cut at the first NUL, decode, split.
QStringList fromShiftJis(QByteArrayView bytes);

// The text with line breaks and NUL characters turned into spaces, so that
// a value written into a line-based file stays one line when read back.
QString oneLine(const QString &text);

// Every line followed by CR LF, encoded as Shift-JIS.
QByteArray toShiftJisCrLf(const QStringList &lines);

}  // namespace TextLines

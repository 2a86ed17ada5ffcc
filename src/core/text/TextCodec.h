// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Shift-JIS as Windows writes it (code page 932, with the NEC and IBM
// extensions). Every text the program reads from or writes to disk goes
// through here.
namespace Cp932 {

// Bytes to text. Bytes that are not valid code page 932 become U+FFFD;
// everything around them is kept.
QString decode(QByteArrayView bytes);

// Text to bytes. A character that code page 932 cannot hold becomes
// `replacement` (one byte, normally '?').
QByteArray encode(QStringView text, char replacement = '?');

// Index of the first character (a whole surrogate pair counts as one) that
// code page 932 cannot hold, or -1 when the whole text can be written.
qsizetype firstUnencodable(QStringView text);

inline bool canEncode(QStringView text) { return firstUnencodable(text) < 0; }

}  // namespace Cp932

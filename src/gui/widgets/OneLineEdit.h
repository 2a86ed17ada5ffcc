// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAbstractSpinBox;
class QLineEdit;

// What ends a line in a text given to a one-line field: CR, LF, VT, FF, NEL
// (U+0085) and Unicode's line and paragraph separators (U+2028, U+2029), as
// other programs' clipboards and documents may put any of them. Files keep
// their own rule (TextLines: CR LF, CR or LF).
namespace OneLine {

constexpr bool isBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

// Index of the first line break in `text`, or -1.
qsizetype firstBreak(QStringView text);

}  // namespace OneLine

// Makes a one-line field behave as a one-line edit control does: of what is
// put into it (typed, pasted, dropped or set by the program), only the part
// before the first line break goes in, where it was put. So the field never
// holds a line break, and neither does the line it ends up in. The text is
// cut before the field takes it, so nothing connected to the field ever
// sees a line break; a validator the field has keeps its say over the rest.
void KeepOneLine(QLineEdit *edit);
// The same for a number box: "1.5⏎2" pasted gives 1.5, where the box would
// otherwise refuse the whole text.
void KeepOneLine(QAbstractSpinBox *box);

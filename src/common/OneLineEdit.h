// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

// Makes a one-line field behave as a one-line edit control does: of what is
// put into it (typed, pasted, dropped or set by the program), only the part
// before the first line break goes in, where it was put. So the field never
// holds a line break, and neither does the line it ends up in.
void KeepOneLine(QLineEdit *edit);

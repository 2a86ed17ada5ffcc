// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The program's one face, "ＭＳ Ｐゴシック", stands for a Japanese Gothic
// face; on Linux it is mapped to IPAPGothic (or Noto Sans CJK JP), with
// Noto Sans CJK JP and Symbola for the characters it lacks. The same face
// is used wherever text is measured or drawn.
namespace Fonts {

inline constexpr int WindowPixelSize = 12;
inline constexpr int ContentPixelSize = 16;

// Registers the substitution; call once after the application object exists.
void install();

QString familyName();

// The face at a character height in pixels.
QFont uiFont(int pixelSize);

// Where the baseline of `font` lies in a line `height` pixels high: the
// face's ascent and descent centred in the line, on a whole pixel. Lines
// drawn at the same height with it stand level with each other.
int baselineInLine(const QFont &font, int height);

}  // namespace Fonts

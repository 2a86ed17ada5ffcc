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

}  // namespace Fonts

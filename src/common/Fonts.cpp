#include "Fonts.h"

#include <QStringList>

namespace Fonts {

QString familyName() { return QStringLiteral("ＭＳ Ｐゴシック"); }

void install()
{
    QFont::insertSubstitutions(familyName(), QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
}

QFont uiFont(int pixelSize)
{
    QFont font(familyName());
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace Fonts

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/Fonts.h"

#include <QFontMetricsF>
#include <QStringList>

namespace Fonts {

QString familyName() { return QStringLiteral("ＭＳ Ｐゴシック"); }

void install()
{
    // What IPA P Gothic lacks (Hangul, rare kanji, emoji) comes from the
    // faces after it, in this order on screen and on paper alike. Symbola's
    // emoji are outlines: colour bitmap emoji come out blank in a PDF.
    QFont::insertSubstitutions(familyName(), QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                                         QStringLiteral("Symbola")});
}

QFont uiFont(int pixelSize)
{
    QFont font(familyName());
    font.setPixelSize(pixelSize);
    return font;
}

int baselineInLine(const QFont &font, int height)
{
    const QFontMetricsF metrics(font);
    return qRound((height + metrics.ascent() - metrics.descent()) / 2);
}

}  // namespace Fonts

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/PaperNames.h"

#include <QCoreApplication>

#include <array>
#include <cmath>

namespace {

struct NamedSize
{
    const char *name;  // translated in the "PaperNames" context
    double width;
    double height;
};

// ISO 216 and JIS P 0138 sizes, the US ones by their inches, and the
// Japanese postcard (100 × 148 mm).
constexpr std::array kNamed{
    NamedSize{"A3", 297, 420},     NamedSize{"A4", 210, 297},       NamedSize{"A5", 148, 210},       NamedSize{"A6", 105, 148},
    NamedSize{"B4", 257, 364},     NamedSize{"B5", 182, 257},       NamedSize{"Letter", 215.9, 279.4}, NamedSize{"Legal", 215.9, 355.6},
    NamedSize{QT_TRANSLATE_NOOP("PaperNames", "ハガキ"), 100, 148},
};

constexpr double kWithinMm = 1;

bool near(double a, double b) { return std::abs(a - b) <= kWithinMm; }

}  // namespace

QString PaperName(const QSizeF &mm)
{
    for (const NamedSize &named : kNamed) {
        if ((near(mm.width(), named.width) && near(mm.height(), named.height))
            || (near(mm.width(), named.height) && near(mm.height(), named.width)))
            return QCoreApplication::translate("PaperNames", named.name);
    }
    return QStringLiteral("%1 × %2 mm").arg(mm.width(), 0, 'f', 1).arg(mm.height(), 0, 'f', 1);
}

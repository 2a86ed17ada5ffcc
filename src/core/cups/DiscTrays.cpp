// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cups/DiscTrays.h"

#include <QRegularExpression>
#include <QSizeF>

namespace DiscTrays {

std::optional<QPageSize> TrayPage(const QList<QPageSize> &sizes)
{
    // "CD", "DVD", "Disc" or "Disk" as a word of the name or at the start of
    // the driver's key (CD5Inch).
    static const QRegularExpression named(QStringLiteral(R"((^|[^A-Za-z])(CD|DVD|Dis[ck])($|[^a-z]))"),
                                          QRegularExpression::CaseInsensitiveOption);
    constexpr double kLeastMm = 110, kMostMm = 140;
    for (const QPageSize &size : sizes) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        const bool discSized = mm.width() >= kLeastMm && mm.height() >= kLeastMm && mm.width() <= kMostMm && mm.height() <= kMostMm;
        if (discSized && (named.match(size.key()).hasMatch() || named.match(size.name()).hasMatch()))
            return size;
    }
    return std::nullopt;
}

}  // namespace DiscTrays

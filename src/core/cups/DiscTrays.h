// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPageSize>

#include <optional>

// Printers that print on discs from a tray offer the tray as a page size of
// their own: gutenprint's Epson and Canon models as "CD5Inch" ("CD - 5 inch"),
// other drivers as "CD/DVD", "Disc" and the like.
namespace DiscTrays {

// The first page size named for a disc and large enough to hold a 120 mm
// one (a mini-disc's 3-inch page is not); nothing when there is none.
std::optional<QPageSize> TrayPage(const QList<QPageSize> &sizes);

}  // namespace DiscTrays

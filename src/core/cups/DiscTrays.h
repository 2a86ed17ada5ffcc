// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QPair>
#include <QSizeF>
#include <QString>

#include <optional>

// Printers that print on discs from a tray offer the tray as page sizes of
// their own and an input slot that feeds it. gutenprint's Epson and Canon
// models offer "CD5Inch" (CD - 5 inch, 116.06 mm), "CDCustom" (CD - Custom,
// 119.94 mm) and "CD3Inch", and the slot "CD" (Print to CD, CD tray); other
// drivers name them "CD/DVD", "Disc" and the like. The driver's description
// of the destination (its PPD) tells all of it.
//
// The driver prints a disc page centred on the disc and nothing beyond a
// circle as wide as the page; it prints no other page on a disc (gutenprint
// takes a page of another size for its 5-inch one, shrunk to fit). So the
// label goes on the smallest disc page that holds its ring.
namespace DiscTrays {

using Options = QList<QPair<QByteArray, QByteArray>>;

// A page holds a ring it is less than this much narrower than: a tenth of
// a millimetre across is less than a driver's own rounding.
constexpr double kSlackMm = 0.1;

// Whether a page size is named for a disc ("CD", "DVD", "Disc" or "Disk"
// as a word of its name, or at the start of its key as in CD5Inch) and is
// a tray's, large enough for a 120 mm disc (a mini-disc's is not).
bool IsDiscPage(const QPageSize &size);

// What a destination's driver offers for printing on discs.
struct Tray
{
    QList<QPageSize> pages;          // its disc pages, in the driver's order
    QSizeF customLeast, customMost;  // the custom pages it takes, in points; empty: none
    QByteArray slot;                 // the input slot that feeds the tray; empty: none
    // gutenprint's own options: the size its custom disc page is printed
    // at (StpCDOuterDiameter, 329 pt unless told) and the hub it leaves
    // blank there (StpCDInnerDiameter), in points; whether it prints to the
    // hole on its other disc pages rather than leave a 43 mm hub blank
    // (StpCDInnerRadius Small).
    QList<int> discSizes;
    QList<int> hubSizes;
    bool printsToTheHole = false;
};

// The tray a driver's PPD describes; nothing when it has no disc page.
std::optional<Tray> ReadPpd(const QByteArray &ppd);

// How a label is printed in the tray.
struct Choice
{
    QPageSize page;             // the label is laid out on it, the disc at its centre
    Options options;            // what the job tells the driver: the slot, the page's own size
    bool holdsRing = true;      // the page holds the whole ring
    double largestRingMm = 0;   // the widest ring the tray takes whole, to the tenth
};

// For a ring of these diameters: the smallest disc page that holds it;
// where none does, a custom page of its size when the driver takes one,
// else the largest disc page.
Choice Choose(const Tray &tray, double outerMm, double innerMm);

// Tells that the tray does not take the ring whole, with the widest it takes.
QString RingTooWideNotice(const Choice &choice, double outerMm);

}  // namespace DiscTrays

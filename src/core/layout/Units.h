// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

// The program's three units of length, and the one place they are turned
// into each other: millimetres (the world's: papers, labels, corrections),
// layout units (1/600 inch, the jacket's own geometry) and device pixels
// (at a surface's resolution, in pixels per inch).
namespace Units {

inline constexpr int kLayoutUnitsPerInch = 600;
inline constexpr double kMillimetresPerInch = 25.4;

// Millimetres in layout units, and back.
constexpr double layoutUnits(double mm) { return mm / kMillimetresPerInch * kLayoutUnitsPerInch; }
// The same to the nearest whole unit (for lengths that are never negative).
constexpr int toLayoutUnits(double mm) { return int(layoutUnits(mm) + 0.5); }
constexpr double toMillimetres(double layoutUnits) { return layoutUnits * kMillimetresPerInch / kLayoutUnitsPerInch; }

// Millimetres at a resolution, and back.
constexpr double pixelsPerMm(double pixelsPerInch) { return pixelsPerInch / kMillimetresPerInch; }
constexpr double mmToPixels(double mm, double pixelsPerInch) { return mm * pixelsPerInch / kMillimetresPerInch; }
inline int wholePixels(double mm, double pixelsPerInch) { return int(std::lround(mmToPixels(mm, pixelsPerInch))); }
constexpr double pixelsToMm(double pixels, double pixelsPerInch) { return pixels * kMillimetresPerInch / pixelsPerInch; }

// Millimetres at a page's scale (device pixels per layout unit), to the nearest pixel.
inline int scaledPixels(double mm, double scale) { return int(std::lround(layoutUnits(mm) * scale)); }

}  // namespace Units

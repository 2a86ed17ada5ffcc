// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/Canvas.h"

#include <QtGlobal>

#include <functional>

namespace FontFitting {

// Lowers the canvas's font size from below `start` (which does not fit)
// towards 0 until `fits` holds; when none fits the size ends at 0, and a
// start of 0 or less tries nothing. Text grows with the font size, so sizes far
// above the fitting one are passed over in one step; below that every size
// is tried in turn, so the first that fits is the largest. Returns whether
// a size fitted; the canvas keeps the last size set (0 when none did).
template<typename Fits>
bool shrinkUntil(TCanvas &canvas, int start, Fits fits, const std::function<double()> &overshoot)
{
    int size = start - 1;
    while (size >= 0) {
        canvas.SetFontSize(size);
        if (fits())
            return true;
        // How many times too large the text still is, when it can be told.
        const double ratio = overshoot();
        int next = size - 1;
        if (ratio > 1.25) {
            // Glyph advances are whole pixels at every size, so text is not
            // quite proportional to it: two sizes above the proportional
            // guess, the largest size that fits is never passed over.
            const int estimate = int(size / ratio) + 2;
            next = qMin(next, qMax(estimate, 0));
        }
        size = next;
    }
    return false;
}

}  // namespace FontFitting

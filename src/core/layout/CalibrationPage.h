// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/SheetPlacement.h"

#include <QString>

class TCanvas;

// Where the calibration page puts its crosses, in whole millimetres from
// the sheet's left and top edges: one near each corner, at least 30 mm in
// from the sheet's edges and clear of the rulers, on multiples of 10 mm.
struct CalibrationCrosses
{
    int left = 30;
    int top = 30;
    int right = 30;
    int bottom = 30;
};
CalibrationCrosses CalibrationCrossesOn(const SheetGeometry &sheet);

// The page a user prints to measure a printer's print-position error:
// millimetre rulers along the top and left edges and crosses at known places
// of the sheet, drawn through the given correction.
void DrawCalibrationPage(TCanvas &canvas, const SheetGeometry &sheet, const PrintCorrection &correction,
                         const QString &printerName);

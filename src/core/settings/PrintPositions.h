// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/SheetPlacement.h"

#include <QString>

class SettingsFile;

// The print-position corrections in the settings file, in a section of
// their own, three keys per destination:
//
//   [PrintPosition]
//   pelora-pdf.OffsetX=1.5
//   pelora-pdf.OffsetY=-0.3
//   pelora-pdf.Scale=100.2
//
// The destination's name is percent-encoded (its "/" before an instance
// kept) so that any name makes a key. A missing section, key or destination,
// or a value that is no number in the allowed range, reads as no correction
// for that value.
namespace PrintPositions {

PrintCorrection read(const SettingsFile &file, const QString &destination);
void write(SettingsFile &file, const QString &destination, const PrintCorrection &correction);

// The same on the program's settings file; saving reports whether the file
// could be written.
PrintCorrection load(const QString &destination);
bool save(const QString &destination, const PrintCorrection &correction, QString *why = nullptr);

}  // namespace PrintPositions

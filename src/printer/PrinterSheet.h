// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/PdfExport.h"

class TQdPrinter;

// The current printer's sheet, or a whole A4 sheet when there is no
// printer or the spooler does not answer. Never throws.
ExportSheet PrinterSheet(TQdPrinter &printer);

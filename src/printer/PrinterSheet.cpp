// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrinterSheet.h"

#include "QdPrinters.h"
#include "core/common/Exception.h"
#include "core/settings/PrintPositions.h"

#include <QPrinter>

ExportSheet PrinterSheet(TQdPrinter &printer)
{
    try {
        // Asked first: it fails, as printing would, when there is nothing to
        // print on (no printer, no answer, a class without printers).
        printer.GetPaperSize();
        const QPrinter &platform = printer.PlatformPrinter();
        return ExportSheet{platform.pageLayout(), printer.GetScale(), platform.printerName(),
                           PrintPositions::load(platform.printerName())};
    } catch (const Exception &) {
        return FallbackSheet();
    }
}

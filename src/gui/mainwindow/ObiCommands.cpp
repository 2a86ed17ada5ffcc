// SPDX-License-Identifier: GPL-3.0-or-later
// The obi strip's commands of the main window: shown and printed as the
// disc label is, on plain paper only.
#include "core/labels/LabelProducts.h"
#include "gui/mainwindow/MainWindow.h"
#include "printer/JacketPrinting.h"

void TForm1::ObiPrintClick(QObject *sender) { PrintPages(sender, PageFaces::Obi); }

void TForm1::ObiPreviewClick()
{
    LabelProducts::Refresh();
    const JacketPrinting printing = Printing();
    if (!CheckPrinterAndContent() || !printing.StoredPaperFound() || !PaperHoldsThePage(PageFaces::Obi))
        return;
    showPreview(PageFaces::Obi, true);
}

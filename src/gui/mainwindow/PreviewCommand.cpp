// SPDX-License-Identifier: GPL-3.0-or-later
// The preview commands of the main window.
#include "core/labels/LabelProducts.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "printer/JacketPrinting.h"

// Each shows a product as the label designer has it now.
void TForm1::PreVBtnClick()
{
    LabelProducts::Refresh();
    const JacketPrinting printing = Printing();
    if (!CheckPrinterAndContent() || !printing.StoredPaperFound() || (printing.Product() && !PaperHoldsThePage(ChosenFace())))
        return;
    // Pre-cut paper is shown whole, with its labels.
    showPreview(ChosenFace(), printing.Product() != nullptr);
}

void TForm1::OneSheetPreviewClick()
{
    LabelProducts::Refresh();
    if (!CheckPrinterAndContent() || !Printing().StoredPaperFound())
        return;
    if (!PaperHoldsThePage(PageFaces::BothOnOneSheet))
        return;
    showPreview(PageFaces::BothOnOneSheet, true);
}

void TForm1::LabelPreviewClick()
{
    LabelProducts::Refresh();
    const JacketPrinting printing = Printing();
    if (!CheckPrinterAndContent() || !printing.StoredPaperFound() || !PaperHoldsThePage(PageFaces::Label))
        return;
    const JacketPrinting::DiscTray tray(printing, PageFaces::Label);
    showPreview(PageFaces::Label, true);
}

void TForm1::showPreview(PageFaces faces, bool wholeSheet)
{
    SuppressShrinkNotice = false;
    PreVForm->Faces = faces;
    PreVForm->WholeSheet = wholeSheet;
    PreVForm->exec();
    PreVForm->WholeSheet = false;
}

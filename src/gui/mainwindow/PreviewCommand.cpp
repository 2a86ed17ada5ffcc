// SPDX-License-Identifier: GPL-3.0-or-later
// The preview commands of the main window.
#include "gui/preview/PreviewWindow.h"
#include "core/common/Messages.h"
#include "gui/mainwindow/DiscTrayPaper.h"
#include "core/layout/SheetPlacement.h"
#include "gui/mainwindow/StoredPaper.h"
#include "gui/mainwindow/MainWindow.h"

void TForm1::PreVBtnClick()
{
    if (!CheckPrinterAndContent() || !StoredPaper::Found(*this) || (CurrentProduct() && !PaperHoldsThePage(ChosenFace())))
        return;
    // Pre-cut paper is shown whole, with its labels.
    showPreview(ChosenFace(), CurrentProduct() != nullptr);
}

void TForm1::OneSheetPreviewClick()
{
    if (!CheckPrinterAndContent() || !StoredPaper::Found(*this))
        return;
    if (!PaperHoldsThePage(PageFaces::BothOnOneSheet))
        return;
    showPreview(PageFaces::BothOnOneSheet, true);
}

void TForm1::LabelPreviewClick()
{
    if (!CheckPrinterAndContent() || !StoredPaper::Found(*this) || !PaperHoldsThePage(PageFaces::Label))
        return;
    const DiscTrayPaper tray(*this, PageFaces::Label);
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

// The preview commands of the main window.
#include "UnitPreV.h"
#include "common/Messages.h"
#include "layout/SheetPlacement.h"
#include "main/Unit1.h"

void TForm1::PreVBtnClick()
{
    if (!CheckPrinterAndContent() || (CurrentProduct() && !PaperHoldsThePage(false)))
        return;
    SuppressShrinkNotice = false;
    // Pre-cut paper is shown whole, with its labels.
    PreVForm->WholeSheet = CurrentProduct() != nullptr;
    PreVForm->exec();
    PreVForm->WholeSheet = false;
}

void TForm1::OneSheetPreviewClick()
{
    if (!CheckPrinterAndContent())
        return;
    if (!PaperHoldsThePage(true))
        return;
    SuppressShrinkNotice = false;
    PreVForm->WholeSheet = true;
    PreVForm->BothFaces = true;
    PreVForm->exec();
    PreVForm->WholeSheet = false;
    PreVForm->BothFaces = false;
}

// The preview commands of the main window.
#include "UnitPreV.h"
#include "common/Messages.h"
#include "layout/SheetPlacement.h"
#include "main/Unit1.h"

void TForm1::PreVBtnClick()
{
    if (!CheckPrinterAndContent())
        return;
    SuppressShrinkNotice = false;
    PreVForm->WholeSheet = false;
    PreVForm->exec();
}

void TForm1::OneSheetPreviewClick()
{
    if (!CheckPrinterAndContent())
        return;
    if (!SheetPlacement::BothOnOneSheet(CurrentSheet())) {
        Messages::ShowMessage(QStringLiteral("紙が小さすぎます。"));
        return;
    }
    SuppressShrinkNotice = false;
    PreVForm->WholeSheet = true;
    PreVForm->exec();
    PreVForm->WholeSheet = false;
}

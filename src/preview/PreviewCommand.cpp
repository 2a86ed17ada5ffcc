// The preview command of the main window.
#include "UnitPreV.h"
#include "main/Unit1.h"

void TForm1::PreVBtnClick()
{
    if (!CheckPrinterAndContent())
        return;
    SuppressShrinkNotice = false;
    PreVForm->exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/MainWindow.h"
#include "gui/dialogs/PrinterSetupDialog.h"

// プリンタ設定: the set-up dialog on the program's printer; confirming it
// makes the facade read the chosen printer anew.
void TForm1::U1Click()
{
    {
        TQdPrinterSetupDialog qdprinterSetDlg(this);
        qdprinterSetDlg.Execute();
    }
    // Told once the dialog is gone, with any printer it only showed.
    ShowPrintDestination();
}

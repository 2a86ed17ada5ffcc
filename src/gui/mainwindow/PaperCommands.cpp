// SPDX-License-Identifier: GPL-3.0-or-later
// The paper the window prints on: plain, or a pre-cut product of the label
// database chosen for the destination.
#include "gui/widgets/BusyCursor.h"
#include "core/labels/LabelProducts.h"
#include "gui/dialogs/DiscAreaDialog.h"
#include "gui/dialogs/PaperDialog.h"
#include "gui/mainwindow/MainWindow.h"
#include "printer/QdPrinters.h"

#include <QPrinter>

void TForm1::DiscAreaClick()
{
    if (!CheckPrinter())
        return;
    TDiscAreaForm form(QdPrinter->PlatformPrinter().printerName(), this);
    form.exec();
}

void TForm1::PaperClick()
{
    if (!CheckPrinter())
        return;
    QList<LabelProduct> products;
    {
        const BusyCursor busy;
        // A product made or changed in the label designer meanwhile is listed as it is now.
        LabelProducts::Refresh();
        products = LabelProducts::JacketProducts(LabelProducts::Installed());
    }
    TPaperForm form(QdPrinter->PlatformPrinter().printerName(), products, this);
    if (form.exec() == QDialog::Accepted)
        ShowPrintDestination();
}

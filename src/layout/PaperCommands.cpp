// The paper the window prints on: plain, or a pre-cut product of the label
// database chosen for the destination.
#include "common/BusyCursor.h"
#include "labels/LabelProducts.h"
#include "main/PaperChoices.h"
#include "main/Unit1.h"
#include "options/PaperDialog.h"
#include "printer/QdPrinters.h"

#include <QPrinter>

PaperChoice TForm1::CurrentPaper()
{
    const PaperChoice stored = PaperChoices::load(QdPrinter->PlatformPrinter().printerName());
    if (ProductForThisRun.isEmpty())
        return stored;
    // The stored positions hold for the same product only.
    const QList<LabelProduct> &products = LabelProducts::Installed();
    const bool same = LabelProducts::Find(products, stored.product) == LabelProducts::Find(products, ProductForThisRun);
    return same ? stored : PaperChoice{ProductForThisRun, 1, 1};
}

const LabelProduct *TForm1::CurrentProduct()
{
    const PaperChoice paper = CurrentPaper();
    // The database is read only once a product has been chosen.
    return paper.plainPaper() ? nullptr : LabelProducts::Find(LabelProducts::Installed(), paper.product);
}

void TForm1::UsePaperPositions(bool front, bool back)
{
    const LabelProduct *product = CurrentProduct();
    // A command of the command line changes no settings.
    if (!product || !ProductForThisRun.isEmpty())
        return;
    const QString destination = QdPrinter->PlatformPrinter().printerName();
    const ProductFit fit = LabelProducts::FitJacket(*product);
    PaperChoice paper = PaperChoices::load(destination);
    const auto next = [](int position, qsizetype count) { return count > 0 ? position % int(count) + 1 : 1; };
    if (front)
        paper.frontPosition = next(paper.frontPosition, fit.front.size());
    if (back)
        paper.backPosition = next(paper.backPosition, fit.back.size());
    PaperChoices::save(destination, paper);
}

void TForm1::PaperClick()
{
    if (!CheckPrinter())
        return;
    QList<LabelProduct> products;
    {
        const BusyCursor busy;
        products = LabelProducts::JacketProducts(LabelProducts::Installed());
    }
    TPaperForm form(QdPrinter->PlatformPrinter().printerName(), products, this);
    if (form.exec() == QDialog::Accepted)
        ShowPrintDestination();
}

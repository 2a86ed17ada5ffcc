// SPDX-License-Identifier: GPL-3.0-or-later
// The paper the window prints on: plain, or a pre-cut product of the label
// database chosen for the destination.
#include "gui/widgets/BusyCursor.h"
#include "core/common/Messages.h"
#include "core/labels/LabelProducts.h"
#include "gui/mainwindow/DiscTrayPaper.h"
#include "core/layout/PagePlanner.h"
#include "gui/mainwindow/StoredPaper.h"
#include "gui/dialogs/DiscAreaDialog.h"
#include "core/cups/DiscTrays.h"
#include "core/settings/PaperChoices.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/dialogs/PaperDialog.h"
#include "printer/QdPrinters.h"

#include <QPrinter>
#include <QPrinterInfo>

PaperChoice TForm1::CurrentPaper()
{
    const PaperChoice stored = PaperChoices::load(QdPrinter->PlatformPrinter().printerName());
    if (ProductForThisRun.isEmpty())
        return stored;
    // The stored positions hold for the same product only.
    const QList<LabelProduct> &products = LabelProducts::Installed();
    const bool same = LabelProducts::Find(products, stored.product) == LabelProducts::Find(products, ProductForThisRun);
    if (same)
        return stored;
    PaperChoice paper = stored;
    paper.product = ProductForThisRun;
    paper.frontPosition = paper.backPosition = paper.discPosition = 1;
    return paper;
}

const LabelProduct *TForm1::ProductOf(const PaperChoice &paper)
{
    // The database is read only once a product has been chosen.
    return paper.plainPaper() ? nullptr : LabelProducts::Find(LabelProducts::Installed(), paper.product);
}

const LabelProduct *TForm1::CurrentProduct() { return ProductOf(CurrentPaper()); }

QString StoredPaper::Missing(TForm1 &form)
{
    PaperChoice paper;
    try {
        paper = form.CurrentPaper();
    } catch (const EQdPrinterNoSpooler &) {
        throw;
    } catch (const EQdPrinterNoPrinter &) {
        return QString();
    }
    return paper.plainPaper() || TForm1::ProductOf(paper) ? QString() : paper.product;
}

bool StoredPaper::Found(TForm1 &form)
{
    const QString missing = Missing(form);
    if (missing.isEmpty())
        return true;
    Messages::ShowMessage(
        TForm1::tr("このプリンタに選んである用紙「%1」が、ラベル用紙のデータベースに見つかりません（削除されたか、名前が変わったか、データベースが入っていません）。")
            .arg(missing)
        + u'\r'
        + TForm1::tr("普通紙に印刷しないよう、ここで止めます。「ファイル」の「用紙の選択」で用紙を選び直してください（普通紙に印刷するときは「普通紙」を選びます）。"));
    return false;
}

void TForm1::UsePaperPositions(PageFaces faces)
{
    const bool front = faces == PageFaces::Front || faces == PageFaces::BothOnOneSheet;
    const bool back = faces == PageFaces::Back || faces == PageFaces::BothOnOneSheet;
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
    if (faces == PageFaces::Label)
        paper.discPosition = next(paper.discPosition, fit.disc.size());
    // Else the next print would go to a label already used.
    if (QString why; !PaperChoices::save(destination, paper, &why))
        Messages::ShowWarning(tr("次に印刷するラベルの位置を設定ファイル Pelora.ini に書き込めませんでした（%1）。"
                                 "次に印刷する前に「用紙の選択」で位置を確かめてください。")
                                  .arg(why));
}

std::optional<QPageSize> TForm1::DiscTrayPage()
{
    const QPrinterInfo destination(QdPrinter->PlatformPrinter());
    return DiscTrays::TrayPage(destination.supportedPageSizes());
}

DiscTrayPaper::DiscTrayPaper(TForm1 &form, PageFaces faces)
{
    if (faces != PageFaces::Label || form.CurrentProduct())
        return;
    if (const std::optional<QPageSize> tray = form.DiscTrayPage()) {
        QPrinter &printer = QdPrinter->PlatformPrinter();
        m_paper = printer.pageLayout();
        printer.setPageLayout(QPageLayout(*tray, QPageLayout::Portrait, QMarginsF()));
    }
}

DiscTrayPaper::~DiscTrayPaper()
{
    if (m_paper && QdPrinter)
        QdPrinter->PlatformPrinter().setPageLayout(*m_paper);
}

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
        products = LabelProducts::JacketProducts(LabelProducts::Installed());
    }
    TPaperForm form(QdPrinter->PlatformPrinter().printerName(), products, this);
    if (form.exec() == QDialog::Accepted)
        ShowPrintDestination();
}

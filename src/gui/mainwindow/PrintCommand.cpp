// SPDX-License-Identifier: GPL-3.0-or-later
// The print command: its checks, then the copies in batches the printer
// can take in one job.
#include "core/layout/JacketLayout.h"
#include "core/layout/SheetPlacement.h"
#include "core/common/Messages.h"
#include "core/jacket/RecoveryKeeper.h"
#include "core/labels/LabelProducts.h"
#include "gui/mainwindow/DiscTrayPaper.h"
#include "core/layout/PagePlanner.h"
#include "gui/mainwindow/StoredPaper.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "core/settings/PaperChoices.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "printer/QdPrinters.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>

namespace {

// Sheet sizes in tenths of a millimetre.
constexpr int kFrontMinimum = 1400;
constexpr int kBackShortSide = 1350;
constexpr int kBackLongSide = 1800;

QString noPrinter() { return QCoreApplication::translate("TForm1", "プリンタを見つけられませんでした"); }

// Runs calls that set the copy count; false when the printer takes no count
// from the program (no copies setting, no maximum, a count refused). The
// spooler's, the destination's and a job's failures are no copies problem
// and go on up.
template <typename Calls>
bool copiesTaken(Calls &&calls)
{
    try {
        calls();
        return true;
    } catch (const EQdPrinterNotSupported &) {
    } catch (const EQdPrinterNoInfo &) {
    } catch (const EQDPrinterRangeError &) {
    } catch (const EQdAssertionFailed &) {
    }
    return false;
}

bool copiesSet(int count)
{
    return copiesTaken([count] {
        QdPrinter->SetCopies(count);
        QdPrinter->ApplySettings();
    });
}

}  // namespace

bool TForm1::CheckPrinter()
{
    // Only when there is none: a spooler that does not answer, or a
    // destination that cannot take the job, says so in its own words.
    try {
        QdPrinter->GetPrinters();
        QdPrinter->PlatformPrinter();
        return true;
    } catch (const EQdPrinterNoSpooler &) {
        throw;
    } catch (const EQdPrinterNoPrinter &) {
    }
    Messages::ShowMessage(noPrinter());
    return false;
}

QString TForm1::PrintDestination()
{
    const QPrinter &printer = QdPrinter->PlatformPrinter();
    const QPageLayout page = printer.pageLayout();
    QString destination = QStringLiteral("%1 (%2 %3)").arg(printer.printerName(), page.pageSize().name(),
                                                           page.orientation() == QPageLayout::Portrait ? tr("縦") : tr("横"));
    // Only a product names its paper: the database is not read for plain paper.
    if (const PaperChoice paper = CurrentPaper(); !paper.plainPaper())
        destination += tr("、用紙: ") + paper.product;
    return destination;
}

void TForm1::ShowPrintDestination()
{
    if (!QdPrinter)
        return;
    QString text;
    try {
        text = tr("印刷先: ") + PrintDestination();
    } catch (const EQdPrinterNoSpooler &e) {
        text = e.message();
    } catch (const EQdPrinterNoPrinter &) {
        text = noPrinter();
    } catch (const Exception &e) {
        text = e.message();
    }
    Button1->setToolTip(text);
}

bool TForm1::CheckPrinterAndContent()
{
    if (!CheckPrinter())
        return false;
    const bool empty = EditorMode ? Memo1->document()->isEmpty() : ListBox1->count() == 0;
    if (empty) {
        Messages::ShowMessage(tr("内容に何も無いときは印刷できません"));
        return false;
    }
    return true;
}

bool TForm1::SheetIsLargeEnough()
{
    const QSize sheet = QdPrinter->GetPaperSize();
    if (RGTwoSides->ItemIndex() == 0)
        return sheet.width() >= kFrontMinimum && sheet.height() >= kFrontMinimum;
    if (!QdPrinter->GetAvailableFields().contains(QdField::Orientation))
        return true;
    if (QdPrinter->GetOrientation() == 1)
        return sheet.width() >= kBackShortSide && sheet.height() >= kBackLongSide;
    return sheet.width() >= kBackLongSide && sheet.height() >= kBackShortSide;
}

bool TForm1::PaperHoldsThePage(PageFaces faces)
{
    if (const LabelProduct *product = CurrentProduct()) {
        const ProductFit fit = LabelProducts::FitJacket(*product);
        const bool both = faces == PageFaces::BothOnOneSheet;
        const bool lacking = faces == PageFaces::Label ? fit.disc.isEmpty()
                                                       : ((both || faces == PageFaces::Front) && fit.front.isEmpty())
                                                             || ((both || faces == PageFaces::Back) && fit.back.isEmpty());
        if (lacking) {
            const QString notice =
                both                        ? tr("用紙「%1」には表と裏を1枚に印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。")
                : faces == PageFaces::Front ? tr("用紙「%1」には表を印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。")
                : faces == PageFaces::Back  ? tr("用紙「%1」には裏を印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。")
                                            : tr("用紙「%1」にはレーベルを印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。");
            Messages::ShowMessage(notice.arg(product->name()));
            return false;
        }
        return true;
    }
    // A label fits any sheet that holds a front; a tray's page holds its disc.
    bool sheetHoldsIt = true;
    if (faces == PageFaces::BothOnOneSheet) {
        sheetHoldsIt = SheetPlacement::BothOnOneSheet(CurrentSheet(), ChosenMarks()).has_value();
    } else if (faces == PageFaces::Label) {
        const QSize sheet = QdPrinter->GetPaperSize();  // tenths of a millimetre
        const int across = int(DiscRing::kStickerOuterMm * 10);
        sheetHoldsIt = DiscTrayPage() || (sheet.width() >= across && sheet.height() >= across);
    } else {
        sheetHoldsIt = SheetIsLargeEnough();
    }
    if (!sheetHoldsIt)
        Messages::ShowMessage(tr("紙が小さすぎます。"));
    return sheetHoldsIt;
}

// Pre-cut paper is laid out on its own sheet: on other paper in the
// printer the faces would land off its labels.
bool TForm1::PaperIsTheProducts()
{
    const LabelProduct *product = CurrentProduct();
    if (!product)
        return true;
    constexpr double kSlackMm = 2;
    const QSizeF paper = QSizeF(QdPrinter->GetPaperSize()) / 10;
    if (qAbs(paper.width() - product->sheet.width()) <= kSlackMm && qAbs(paper.height() - product->sheet.height()) <= kSlackMm)
        return true;
    const auto size = [](const QSizeF &mm) { return QStringLiteral("%1 × %2 mm").arg(mm.width(), 0, 'f', 1).arg(mm.height(), 0, 'f', 1); };
    return Messages::ConfirmWarning(tr("用紙「%1」は %2 の紙ですが、プリンタの用紙は %3 です。ラベルの位置に印刷されません。")
                                        .arg(product->name(), size(product->sheet), size(paper))
                                        + u'\r' + tr("「プリンタ設定」で用紙を合わせてください。"),
                                    tr("印刷する"), tr("やめる"));
}

void TForm1::Button1Click(QObject *sender) { PrintPages(sender, ChosenFace()); }

void TForm1::Print1Click() { Button1Click(Print1); }

void TForm1::OneSheetPrintClick(QObject *sender) { PrintPages(sender, PageFaces::BothOnOneSheet); }

void TForm1::LabelPrintClick(QObject *sender) { PrintPages(sender, PageFaces::Label); }

void TForm1::PrintPages(QObject *sender, PageFaces faces)
{
    SuppressShrinkNotice = !sender || sender->objectName() != QLatin1String("Button1");
    if (!CheckPrinterAndContent())
        return;
    if (!StoredPaper::Found(*this) || !PaperHoldsThePage(faces) || !PaperIsTheProducts())
        return;
    const DiscTrayPaper tray(*this, faces);
    bool isNumber = false;
    int copies = ComboBusuu->currentText().trimmed().toInt(&isNumber);
    if (!isNumber) {
        copies = 1;
        ComboBusuu->setCurrentText(QStringLiteral("1"));
    }
    ComputeLayout(faces);
    if (JacketLayout.TooSmallToPrint) {
        Messages::ShowMessage(tr("フォントサイズをどんなに小さくしてもはみ出してしまいますので処理を中止します"));
        return;
    }
    // The preview has told it already.
    if ((!PreVForm || sender != PreVForm->PrintBtn) && !PrintDespiteWhatIsBeyondReach())
        return;
    // Printing is where a driver or a spooler may take the program down.
    if (Recovery)
        Recovery->keepNow();
    // Whatever becomes of the jobs, the count reads 1 again.
    const auto countBackToOne = qScopeGuard([this] { ComboBusuu->setCurrentText(QStringLiteral("1")); });
    PrintCopies(copies);
    UsePaperPositions(faces);
}

void TForm1::PrintCopies(int copies)
{
    // Jobs of as many copies as the printer makes in one, and one of the rest.
    int most = 0;
    bool counted = copiesTaken([&most] { most = QdPrinter->GetMaxCopies(); });
    if (counted) {
        QList<int> jobs = copies > most ? QList<int>(copies / most, most) : QList<int>{copies};
        if (copies > most && copies % most > 0)
            jobs << copies % most;
        for (qsizetype i = 0; counted && i < jobs.size(); ++i) {
            if (i == 0 || jobs[i] != jobs[i - 1])
                counted = copiesSet(jobs[i]);
            if (counted)
                PrintJacket();
        }
        counted = counted && copiesSet(1);
    }
    if (counted)
        return;
    // The printer's own count, in one job.
    Messages::ShowMessage(tr("お使いのプリンタが最大印刷部数を提供してくれませんでした。") + u'\r'
                          + tr("%1の部数設定は破棄し、プリンタ側の部数設定で印刷します。").arg(AppName()));
    PrintJacket();
}

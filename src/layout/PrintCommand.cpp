// The print command: its checks, then the copies in batches the printer
// can take in one job.
#include "JacketLayout.h"
#include "SheetPlacement.h"
#include "common/Messages.h"
#include "main/ItemListBox.h"
#include "main/Memo.h"
#include "main/RadioGroup.h"
#include "main/Unit1.h"
#include "preview/UnitPreV.h"
#include "printer/QdPrinters.h"

#include <QComboBox>
#include <QPushButton>

namespace {

// Sheet sizes in tenths of a millimetre.
constexpr int kFrontMinimum = 1400;
constexpr int kBackShortSide = 1350;
constexpr int kBackLongSide = 1800;

const QString kNoPrinter = QStringLiteral("プリンタを見つけられませんでした");

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
    Messages::ShowMessage(kNoPrinter);
    return false;
}

bool TForm1::CheckPrinterAndContent()
{
    if (!CheckPrinter())
        return false;
    const bool empty = EditorMode ? Memo1->document()->isEmpty() : ListBox1->count() == 0;
    if (empty) {
        Messages::ShowMessage(QStringLiteral("内容に何も無いときは印刷できません"));
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

void TForm1::Button1Click(QObject *sender) { PrintPages(sender, false); }

void TForm1::Print1Click() { Button1Click(Print1); }

void TForm1::OneSheetPrintClick(QObject *sender) { PrintPages(sender, true); }

void TForm1::PrintPages(QObject *sender, bool bothFaces)
{
    SuppressShrinkNotice = !sender || sender->objectName() != QLatin1String("Button1");
    if (!CheckPrinterAndContent())
        return;
    const bool sheetHoldsIt = bothFaces ? SheetPlacement::BothOnOneSheet(CurrentSheet()).has_value() : SheetIsLargeEnough();
    if (!sheetHoldsIt) {
        Messages::ShowMessage(QStringLiteral("紙が小さすぎます。"));
        return;
    }
    bool isNumber = false;
    int copies = ComboBusuu->currentText().trimmed().toInt(&isNumber);
    if (!isNumber) {
        copies = 1;
        ComboBusuu->setCurrentText(QStringLiteral("1"));
    }
    ComputeLayout(bothFaces);
    if (JacketLayout.TooSmallToPrint) {
        Messages::ShowMessage(QStringLiteral("フォントサイズをどんなに小さくしてもはみ出してしまいますので処理を中止します"));
        return;
    }
    // The preview has told it already.
    if (!PreVForm || sender != PreVForm->PrintBtn)
        TellWhatIsBeyondReach();
    try {
        const int most = QdPrinter->GetMaxCopies();
        if (copies > most) {
            QdPrinter->SetCopies(most);
            QdPrinter->ApplySettings();
            for (int batch = 0; batch < copies / most; ++batch)
                PrintJacket();
            if (const int rest = copies % most; rest > 0) {
                QdPrinter->SetCopies(rest);
                QdPrinter->ApplySettings();
                PrintJacket();
            }
        } else {
            QdPrinter->SetCopies(copies);
            QdPrinter->ApplySettings();
            PrintJacket();
        }
        ComboBusuu->setCurrentText(QStringLiteral("1"));
        QdPrinter->SetCopies(1);
        QdPrinter->ApplySettings();
    } catch (const std::exception &) {
        Messages::ShowMessage(QStringLiteral("お使いのプリンタが最大印刷部数を提供してくれませんでした。") + u'\r' + AppName
                              + QStringLiteral("の部数設定は破棄し、プリンタ側の部数設定で印刷します。"));
        ComboBusuu->setCurrentText(QStringLiteral("1"));
        PrintJacket();
    }
}

// The layout of the current document on the current printer's sheet, and
// the print job that puts it on paper.
#include "JacketLayout.h"
#include "SheetPlacement.h"
#include "common/Messages.h"
#include "main/ItemListBox.h"
#include "main/PrintPositions.h"
#include "main/RadioGroup.h"
#include "main/Unit1.h"
#include "preview/BigBitmap.h"
#include "printer/QdPrinters.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>

TJacketLayout JacketLayout;
QList<PlacedFace> PagePlan;
bool SuppressShrinkNotice = false;
TBigBitmap *SpineBitmap = nullptr;

SheetGeometry TForm1::CurrentSheet()
{
    return SheetGeometry{QdPrinter->GetPixelsPerInch(), QdPrinter->GetSheetPixels(), QdPrinter->GetPrintableArea()};
}

PrintCorrection TForm1::CurrentCorrection() { return PrintPositions::load(QdPrinter->PlatformPrinter().printerName()); }

void TForm1::ComputeLayout(bool bothFaces)
{
    if (EditorMode)
        CopyEditorToList();
    const SheetGeometry sheet = CurrentSheet();
    const PrintCorrection correction = CurrentCorrection();
    const QList<FaceSpot> spots = bothFaces ? SheetPlacement::BothOnOneSheet(sheet).value_or(QList<FaceSpot>())
                                            : QList<FaceSpot>{SheetPlacement::Alone(RGTwoSides->ItemIndex() == 1)};
    LayoutRequest jacket;
    jacket.title = EditTi->text();
    jacket.items = ListBox1->items();
    jacket.numbering = PlusNum->isChecked();
    jacket.numberSuffix = NumberSuffix;
    jacket.verticalSpine = VerticalSpineText;
    jacket.lineHeightSample = AppName;
    PagePlan.clear();
    bool shrunk = false;
    for (const FaceSpot &spot : spots) {
        // The size boxes as they are now: a face before may have reset them.
        jacket.titleSizeText = ComboTFS->currentText();
        jacket.itemSizeText = comboFS->currentText();
        const LayoutRequest request = SheetPlacement::FaceRequest(jacket, spot, JacketCover);
        const PageInfo page{sheet.pixelsPerInch, QdPrinter->GetScale(), SheetPlacement::LayoutOffset(sheet, spot)};
        const LayoutOutcome outcome = LayOutJacket(JacketLayout, request, page, QdPrinter->GetCanvas(), *SpineBitmap);
        if (outcome.titleSizeText != request.titleSizeText)
            ComboTFS->setCurrentText(outcome.titleSizeText);
        if (outcome.itemSizeText != request.itemSizeText)
            comboFS->setCurrentText(outcome.itemSizeText);
        if (JacketLayout.TooSmallToPrint) {
            PagePlan.clear();
            return;
        }
        shrunk = shrunk || outcome.titleShrunk || outcome.itemsShrunk;
        PagePlan << PlacedFace{JacketLayout, SheetPlacement::FaceContent(request, spot, sheet, JacketCover),
                               SheetPlacement::FaceTransform(sheet, correction, spot)};
    }
    if (shrunk && !SuppressShrinkNotice)
        Messages::ShowMessage(QStringLiteral("現在のフォントサイズだとはみ出してしまうので小さくします "));
}

bool TForm1::PageReachesBeyond()
{
    return SheetPlacement::ReachesBeyond(QdPrinter->GetCanvas(), PagePlan, CurrentSheet());
}

void TForm1::TellWhatIsBeyondReach()
{
    if (PageReachesBeyond())
        Messages::ShowWarning(SheetPlacement::BeyondReachNotice());
}

// The user may rather move the page first than lose a part of it.
bool TForm1::PrintDespiteWhatIsBeyondReach()
{
    return !PageReachesBeyond()
           || Messages::ConfirmWarning(SheetPlacement::BeyondReachNotice(), QStringLiteral("印刷する"), QStringLiteral("やめる"));
}

void TForm1::PrintJacket()
{
    QdPrinter->BeginDoc(QStringLiteral("印刷中"));
    SheetPlacement::DrawFaces(QdPrinter->GetCanvas(), PagePlan, *SpineBitmap);
    // One page per job: copies use one sheet each.
    QdPrinter->EndDoc();
}

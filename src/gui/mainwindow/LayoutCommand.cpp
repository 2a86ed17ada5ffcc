// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of the current document on the current printer's sheet, and
// the print job that puts it on paper.
#include "core/layout/JacketLayout.h"
#include "core/layout/PagePlanner.h"
#include "gui/widgets/BusyCursor.h"
#include "core/common/Messages.h"
#include "gui/widgets/ItemListBox.h"
#include "core/settings/PaperChoices.h"
#include "core/settings/PrintPositions.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "core/bitmap/BigBitmap.h"
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

FaceMarks TForm1::ChosenMarks() const
{
    return MarksCropMe->isChecked() ? FaceMarks::CropMarks : MarksNoneMe->isChecked() ? FaceMarks::None : FaceMarks::CutLines;
}

void TForm1::SetMarks(FaceMarks marks)
{
    (marks == FaceMarks::CropMarks ? MarksCropMe : marks == FaceMarks::None ? MarksNoneMe : MarksDashedMe)->setChecked(true);
}

PageFaces TForm1::ChosenFace() const { return RGTwoSides->ItemIndex() == 1 ? PageFaces::Back : PageFaces::Front; }

void TForm1::ComputeLayout(PageFaces faces)
{
    const BusyCursor busy;
    PageRequest request;
    request.jacket = ShownJacket();
    if (EditorMode)
        ListBox1->setItems(request.jacket.items);
    request.faces = faces;
    request.sheet = CurrentSheet();
    request.correction = CurrentCorrection();
    request.scalePercent = QdPrinter->GetScale();
    const PaperChoice paper = CurrentPaper();
    if (const LabelProduct *product = ProductOf(paper)) {
        request.product = LabelProducts::FitJacket(*product);
        request.frontPosition = paper.frontPosition - 1;
        request.backPosition = paper.backPosition - 1;
        request.discPosition = paper.discPosition - 1;
    }
    // A label printed in a disc tray: the page is the tray's (see PrintPages).
    request.discTray = faces == PageFaces::Label && !request.product && DiscTrayPage().has_value();
    if (request.discTray)
        request.discRing = DiscRing{paper.discOuterMm, paper.discInnerMm};
    const PlannedPage page = PlanPage(request, QdPrinter->GetCanvas(), JacketLayout, *SpineBitmap);
    // The boxes show what the layout took: a text that was no number becomes the default.
    if (page.titleSizeText != ComboTFS->currentText())
        ComboTFS->setCurrentText(page.titleSizeText);
    if (page.itemSizeText != comboFS->currentText())
        comboFS->setCurrentText(page.itemSizeText);
    PagePlan = page.faces;
    if (page.shrunk && page.status == PlannedPage::Planned && !SuppressShrinkNotice)
        Messages::ShowMessage(tr("現在のフォントサイズだとはみ出してしまうので小さくします "));
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
           || Messages::ConfirmWarning(SheetPlacement::BeyondReachNotice(), tr("印刷する"), tr("やめる"));
}

void TForm1::PrintJacket()
{
    QdPrinter->BeginDoc(tr("印刷中"));
    SheetPlacement::DrawFaces(QdPrinter->GetCanvas(), PagePlan, *SpineBitmap);
    // One page per job: copies use one sheet each.
    QdPrinter->EndDoc();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of the window's jacket on the current printer's sheet, which
// the print commands and the preview show.
#include "core/bitmap/BigBitmap.h"
#include "core/common/Messages.h"
#include "core/layout/JacketLayout.h"
#include "core/layout/PagePlanner.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/widgets/BusyCursor.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/RadioGroup.h"
#include "printer/JacketPrinting.h"
#include "printer/QdPrinters.h"

#include <QAction>
#include <QComboBox>

TJacketLayout JacketLayout;
QList<PlacedFace> PagePlan;
bool SuppressShrinkNotice = false;
TBigBitmap *SpineBitmap = nullptr;

JacketPrinting TForm1::Printing() { return JacketPrinting(*QdPrinter); }

FaceMarks TForm1::ChosenMarks() const
{
    return MarksCropMe->isChecked() ? FaceMarks::CropMarks : MarksNoneMe->isChecked() ? FaceMarks::None : FaceMarks::CutLines;
}

void TForm1::SetMarks(FaceMarks marks)
{
    (marks == FaceMarks::CropMarks ? MarksCropMe : marks == FaceMarks::None ? MarksNoneMe : MarksDashedMe)->setChecked(true);
}

PageFaces TForm1::ChosenFace() const { return RGTwoSides->ItemIndex() == 1 ? PageFaces::Back : PageFaces::Front; }

PlannedPage TForm1::LayOut(const Jacket &jacket, PageFaces faces)
{
    const BusyCursor busy;
    // The list holds what is laid out, in either mode.
    if (EditorMode)
        ListBox1->setItems(jacket.items);
    const PlannedPage page = Printing().Plan(jacket, faces, JacketLayout, *SpineBitmap);
    // The boxes show what the layout took: a text that was no number becomes the default.
    if (page.titleSizeText != ComboTFS->currentText())
        ComboTFS->setCurrentText(page.titleSizeText);
    if (page.itemSizeText != comboFS->currentText())
        comboFS->setCurrentText(page.itemSizeText);
    PagePlan = page.faces;
    if (page.shrunk && page.status == PlannedPage::Planned && !SuppressShrinkNotice)
        Messages::ShowMessage(tr("現在のフォントサイズだとはみ出してしまうので小さくします "));
    return page;
}

void TForm1::ComputeLayout(PageFaces faces) { LayOut(ShownJacket(), faces); }

void TForm1::TellWhatIsBeyondReach()
{
    const JacketPrinting printing = Printing();
    if (printing.ReachesBeyond(PagePlan))
        Messages::ShowWarning(printing.BeyondReachNotice(PagePlan));
}

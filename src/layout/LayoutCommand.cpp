// The layout of the current document on the current printer, and the print
// job that puts it on paper.
#include "JacketLayout.h"
#include "main/ItemListBox.h"
#include "main/RadioGroup.h"
#include "main/Unit1.h"
#include "common/Messages.h"
#include "preview/BigBitmap.h"
#include "printer/QdPrinters.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

TJacketLayout JacketLayout;
bool SuppressShrinkNotice = false;
TBigBitmap *SpineBitmap = nullptr;

PageInfo TForm1::CurrentPage()
{
    return PageInfo{QdPrinter->GetPixelsPerInch(), QdPrinter->GetScale(), QdPrinter->GetPageOffset()};
}

void TForm1::ComputeLayout()
{
    if (EditorMode)
        CopyEditorToList();
    LayoutRequest request;
    request.backFace = RGTwoSides->ItemIndex() == 1;
    request.title = EditTi->text();
    request.items = ListBox1->items();
    request.titleSizeText = ComboTFS->currentText();
    request.itemSizeText = comboFS->currentText();
    request.numbering = PlusNum->isChecked();
    request.numberSuffix = NumberSuffix;
    request.verticalSpine = VerticalSpineText;
    request.lineHeightSample = AppName;
    const LayoutOutcome outcome = LayOutJacket(JacketLayout, request, CurrentPage(), QdPrinter->GetCanvas(), *SpineBitmap);
    if (outcome.titleSizeText != request.titleSizeText)
        ComboTFS->setCurrentText(outcome.titleSizeText);
    if (outcome.itemSizeText != request.itemSizeText)
        comboFS->setCurrentText(outcome.itemSizeText);
    if (!JacketLayout.TooSmallToPrint && !SuppressShrinkNotice && (outcome.titleShrunk || outcome.itemsShrunk))
        Messages::ShowMessage(QStringLiteral("現在のフォントサイズだとはみ出してしまうので小さくします "));
}

void TForm1::PrintJacket()
{
    const JacketContent content{RGTwoSides->ItemIndex() == 1, EditTi->text(),
                                NumberedLines(ListBox1->items(), PlusNum->isChecked(), NumberSuffix), VerticalSpineText,
                                AppName};
    QdPrinter->BeginDoc(QStringLiteral("印刷中"));
    DrawJacketPage(QdPrinter->GetCanvas(), JacketLayout, content, *SpineBitmap);
    // One page per job: copies use one sheet each.
    QdPrinter->EndDoc();
}

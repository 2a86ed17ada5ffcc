// SPDX-License-Identifier: GPL-3.0-or-later
// The print commands of the main window, and the printer's name on the
// print button.
#include "core/common/Exception.h"
#include "core/jacket/RecoveryKeeper.h"
#include "core/labels/LabelProducts.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "printer/JacketPrinting.h"
#include "printer/QdPrinters.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QScopeGuard>

bool TForm1::CheckPrinter() { return Printing().CheckPrinter(); }

QString TForm1::PrintDestination() { return Printing().Destination(); }

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
        text = tr("プリンタを見つけられませんでした");
    } catch (const Exception &e) {
        text = e.message();
    }
    Button1->setToolTip(text);
}

bool TForm1::CheckPrinterAndContent()
{
    const bool empty = EditorMode ? Memo1->document()->isEmpty() : ListBox1->count() == 0;
    return Printing().CheckPrinterAndContent(!empty);
}

bool TForm1::PaperHoldsThePage(PageFaces faces) { return Printing().PaperHoldsThePage(faces, ChosenMarks()); }

void TForm1::Button1Click(QObject *sender) { PrintPages(sender, ChosenFace()); }

void TForm1::Print1Click() { Button1Click(Print1); }

void TForm1::OneSheetPrintClick(QObject *sender) { PrintPages(sender, PageFaces::BothOnOneSheet); }

void TForm1::LabelPrintClick(QObject *sender) { PrintPages(sender, PageFaces::Label); }

void TForm1::PrintPages(QObject *sender, PageFaces faces)
{
    SuppressShrinkNotice = !sender || sender->objectName() != QLatin1String("Button1");
    // A product changed in the label designer since it was chosen prints as it is now.
    LabelProducts::Refresh();
    const JacketPrinting printing = Printing();
    bool jobs = false;
    // Whatever becomes of the jobs, the count reads 1 again.
    const auto countBackToOne = qScopeGuard([&] {
        if (jobs)
            ComboBusuu->setCurrentText(QStringLiteral("1"));
    });
    JacketPrinting::Steps steps{[this] {
                                    bool isNumber = false;
                                    const int copies = ComboBusuu->currentText().trimmed().toInt(&isNumber);
                                    if (isNumber)
                                        return copies;
                                    ComboBusuu->setCurrentText(QStringLiteral("1"));
                                    return 1;
                                },
                                [this](const Jacket &jacket, PageFaces faces) { return LayOut(jacket, faces); },
                                *SpineBitmap,
                                [&] {
                                    // Printing is where a driver or a spooler may take the program down.
                                    if (Recovery)
                                        Recovery->keepNow();
                                    jobs = true;
                                },
                                // The preview has told it already.
                                PreVForm && sender == PreVForm->PrintBtn};
    if (printing.Print(ShownJacket(), faces, steps))
        printing.UsePaperPositions(faces);
}

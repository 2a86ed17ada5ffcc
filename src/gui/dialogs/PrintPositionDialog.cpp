// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/PrintPositionDialog.h"

#include "gui/dialogs/DialogParts.h"
#include "gui/app/Application.h"
#include "core/layout/CalibrationPage.h"
#include "core/settings/PrintPositions.h"
#include "gui/mainwindow/MainWindow.h"
#include "printer/JacketPrinting.h"
#include "printer/QdPrinters.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TPrintPositionForm::TPrintPositionForm(const QString &destination, QWidget *parent)
    : TDestinationDialog(destination, "PrintPositionForm", tr("印刷位置の調整"), parent)
{
    const QString mm = QStringLiteral(" mm");
    OffsetXBox = DialogParts::tenthsBox(this, "OffsetXBox", -PrintCorrection::kMostOffsetMm, PrintCorrection::kMostOffsetMm, 0.1, mm);
    OffsetYBox = DialogParts::tenthsBox(this, "OffsetYBox", -PrintCorrection::kMostOffsetMm, PrintCorrection::kMostOffsetMm, 0.1, mm);
    ScaleBox = DialogParts::tenthsBox(this, "ScaleBox", PrintCorrection::kLeastScalePercent, PrintCorrection::kMostScalePercent,
                                      0.1, QStringLiteral(" %"));
    // One width for the three, so that their values line up.
    const int boxWidth = std::max({OffsetXBox->sizeHint().width(), OffsetYBox->sizeHint().width(), ScaleBox->sizeHint().width()});
    for (QDoubleSpinBox *box : {OffsetXBox, OffsetYBox, ScaleBox})
        box->setFixedWidth(boxWidth);
    HintLabel = new QLabel(tr("＋の値で右・下へ、−の値で左・上へ動きます。\n"
                               "倍率は用紙の左上の角を中心に拡大・縮小します。"),
                           this);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    PrintPageBtn = DialogParts::button(this, "PrintPageBtn", tr("調整用ページを印刷"));

    auto *boxes = new QFormLayout;
    boxes->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    boxes->addRow(tr("横の位置"), OffsetXBox);
    boxes->addRow(tr("縦の位置"), OffsetYBox);
    boxes->addRow(tr("倍率"), ScaleBox);
    QHBoxLayout *buttons = buttonRow(PrintPageBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PrinterLabel);
    layout->addLayout(boxes);
    layout->addWidget(HintLabel);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    // Nothing in it follows the window's size.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const PrintCorrection stored = PrintPositions::load(destination);
    OffsetXBox->setValue(stored.offsetXMm);
    OffsetYBox->setValue(stored.offsetYMm);
    ScaleBox->setValue(stored.scalePercent);

    connect(PrintPageBtn, &QPushButton::clicked, this, [this] { RunHandler([this] { PrintPageBtnClick(); }); });
    connect(OkBtn, &QPushButton::clicked, this, &TPrintPositionForm::OkBtnClick);
}

PrintCorrection TPrintPositionForm::Correction() const
{
    // Text typed but not yet taken counts.
    for (QDoubleSpinBox *box : {OffsetXBox, OffsetYBox, ScaleBox})
        box->interpretText();
    return PrintCorrection{PrintCorrection::offsetFrom(OffsetXBox->value()).value_or(0),
                           PrintCorrection::offsetFrom(OffsetYBox->value()).value_or(0),
                           PrintCorrection::scaleFrom(ScaleBox->value()).value_or(100)};
}

void TPrintPositionForm::PrintPageBtnClick()
{
    const PrintCorrection correction = Correction();
    try {
        QdPrinter->SetCopies(1);
        QdPrinter->ApplySettings();
    } catch (const std::exception &) {
        // A printer without a copy count prints one anyway.
    }
    const SheetGeometry sheet = JacketPrinting(*QdPrinter).Sheet();
    QdPrinter->BeginDoc(tr("印刷位置の調整"));
    DrawCalibrationPage(QdPrinter->GetCanvas(), sheet, correction, m_destination);
    QdPrinter->EndDoc();
}

void TPrintPositionForm::OkBtnClick()
{
    QString why;
    acceptIfStored(PrintPositions::save(m_destination, Correction(), &why), why);
}

void TForm1::PrintPositionClick()
{
    if (!CheckPrinter())
        return;
    TPrintPositionForm form(QdPrinter->PlatformPrinter().printerName(), this);
    form.exec();
}

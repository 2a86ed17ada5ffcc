// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/DiscAreaDialog.h"

#include "gui/dialogs/DialogParts.h"
#include "core/layout/DiscLabel.h"
#include "core/settings/PaperChoices.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDiscAreaForm::TDiscAreaForm(const QString &destination, QWidget *parent)
    : TDestinationDialog(destination, "DiscAreaForm", tr("プリンタブルディスクの印刷範囲"), parent)
{
    const QString mm = QStringLiteral(" mm");
    OuterBox = DialogParts::tenthsBox(this, "OuterBox", DiscRing::kLeastOuterMm, DiscRing::kMostOuterMm, 0.5, mm);
    InnerBox = DialogParts::tenthsBox(this, "InnerBox", DiscRing::kLeastInnerMm, DiscRing::kMostInnerMm, 0.5, mm);
    auto *hint = new QLabel(tr("ディスクの袋や説明書にある印刷可能範囲の直径です。"), this);

    auto *boxes = new QFormLayout;
    boxes->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    boxes->addRow(tr("外径"), OuterBox);
    boxes->addRow(tr("内径"), InnerBox);
    auto *layout = new QVBoxLayout(this);
    // Wide enough for its long caption in a window manager's bolder title font.
    PrinterLabel->setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) * 3 / 2 + 80);
    layout->addWidget(PrinterLabel);
    layout->addLayout(boxes);
    layout->addWidget(hint);
    layout->addLayout(buttonRow());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const PaperChoice stored = PaperChoices::load(destination);
    OuterBox->setValue(stored.discOuterMm);
    InnerBox->setValue(stored.discInnerMm);
    connect(OkBtn, &QPushButton::clicked, this, &TDiscAreaForm::OkBtnClick);
}

void TDiscAreaForm::OkBtnClick()
{
    PaperChoice choice = PaperChoices::load(m_destination);
    for (QDoubleSpinBox *box : {OuterBox, InnerBox})
        box->interpretText();
    choice.discOuterMm = OuterBox->value();
    choice.discInnerMm = InnerBox->value();
    QString why;
    acceptIfStored(PaperChoices::save(m_destination, choice, &why), why);
}

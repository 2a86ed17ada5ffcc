// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiscAreaDialog.h"

#include "common/Messages.h"
#include "layout/DiscLabel.h"
#include "main/AppName.h"
#include "main/PaperChoices.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox *diameterBox(QWidget *parent, const char *name, double least, double most)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(least, most);
    box->setSingleStep(0.5);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setAlignment(Qt::AlignRight);
    return box;
}

}  // namespace

TDiscAreaForm::TDiscAreaForm(const QString &destination, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_destination(destination)
{
    setObjectName(QStringLiteral("DiscAreaForm"));
    setWindowTitle(AppName + QStringLiteral(" - プリンタブルディスクの印刷範囲"));
    PrinterLabel = new QLabel(QStringLiteral("プリンタ: ") + destination, this);
    PrinterLabel->setObjectName(QStringLiteral("PrinterLabel"));
    PrinterLabel->setTextFormat(Qt::PlainText);
    OuterBox = diameterBox(this, "OuterBox", DiscRing::kLeastOuterMm, DiscRing::kMostOuterMm);
    InnerBox = diameterBox(this, "InnerBox", DiscRing::kLeastInnerMm, DiscRing::kMostInnerMm);
    auto *hint = new QLabel(QStringLiteral("ディスクの袋や説明書にある印刷可能範囲の直径です。"), this);
    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto *boxes = new QFormLayout;
    boxes->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    boxes->addRow(QStringLiteral("外径"), OuterBox);
    boxes->addRow(QStringLiteral("内径"), InnerBox);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PrinterLabel);
    layout->addLayout(boxes);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const PaperChoice stored = PaperChoices::load(destination);
    OuterBox->setValue(stored.discOuterMm);
    InnerBox->setValue(stored.discInnerMm);
    connect(OkBtn, &QPushButton::clicked, this, &TDiscAreaForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TDiscAreaForm::OkBtnClick()
{
    PaperChoice choice = PaperChoices::load(m_destination);
    for (QDoubleSpinBox *box : {OuterBox, InnerBox})
        box->interpretText();
    choice.discOuterMm = OuterBox->value();
    choice.discInnerMm = InnerBox->value();
    if (!PaperChoices::save(m_destination, choice)) {
        Messages::ShowError(QStringLiteral("設定ファイル Pelora.ini に書き込めませんでした。"));
        return;
    }
    accept();
}

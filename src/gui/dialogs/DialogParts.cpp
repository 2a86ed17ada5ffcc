// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/DialogParts.h"

#include "core/common/Messages.h"
#include "gui/widgets/OneLineEdit.h"
#include "core/common/AppName.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TDestinationDialog::TDestinationDialog(const QString &destination, const char *objectName, const QString &caption,
                                       QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_destination(destination)
{
    setObjectName(QLatin1String(objectName));
    setWindowTitle(AppName() + QStringLiteral(" - ") + caption);
    PrinterLabel = new QLabel(tr("プリンタ: ") + destination, this);
    PrinterLabel->setObjectName(QStringLiteral("PrinterLabel"));
    PrinterLabel->setTextFormat(Qt::PlainText);
    OkBtn = DialogParts::button(this, "OkBtn", QStringLiteral("OK"));
    // Enter in a box confirms; on a button, it presses that button.
    OkBtn->setDefault(true);
    CancelBtn = DialogParts::button(this, "CancelBtn", tr("キャンセル"));
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QHBoxLayout *TDestinationDialog::buttonRow(QPushButton *first)
{
    auto *row = new QHBoxLayout;
    if (first)
        row->addWidget(first);
    row->addStretch(1);
    row->addWidget(OkBtn);
    row->addWidget(CancelBtn);
    return row;
}

void TDestinationDialog::acceptIfStored(bool stored, const QString &why)
{
    if (stored)
        accept();
    else
        Messages::ShowError(tr("設定ファイル Pelora.ini に書き込めませんでした（%1）。").arg(why));
}

namespace DialogParts {

QDoubleSpinBox *tenthsBox(QWidget *parent, const char *name, double least, double most, double step, const QString &suffix)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(least, most);
    box->setSingleStep(step);
    box->setDecimals(1);
    box->setSuffix(suffix);
    box->setAlignment(Qt::AlignRight);
    KeepOneLine(box);
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *result = new QPushButton(text, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

}  // namespace DialogParts

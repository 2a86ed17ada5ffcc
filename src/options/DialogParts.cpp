// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogParts.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>

namespace DialogParts {

QLabel *destinationLabel(QWidget *parent, const QString &destination)
{
    auto *label = new QLabel(QStringLiteral("プリンタ: ") + destination, parent);
    label->setObjectName(QStringLiteral("PrinterLabel"));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QDoubleSpinBox *tenthsBox(QWidget *parent, const char *name, double least, double most, double step, const QString &suffix)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(least, most);
    box->setSingleStep(step);
    box->setDecimals(1);
    box->setSuffix(suffix);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *result = new QPushButton(text, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

}  // namespace DialogParts

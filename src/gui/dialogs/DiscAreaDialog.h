// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/dialogs/DialogParts.h"

class QDoubleSpinBox;

// The ring a printable disc takes ink within, for one destination (discs
// differ in their printable area); stored with OK.
class TDiscAreaForm : public TDestinationDialog
{
    Q_OBJECT
public:
    explicit TDiscAreaForm(const QString &destination, QWidget *parent = nullptr);

    QDoubleSpinBox *OuterBox;
    QDoubleSpinBox *InnerBox;

private:
    void OkBtnClick();

};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/dialogs/DialogParts.h"
#include "core/layout/SheetPlacement.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// The print-position correction of one destination: entered, tried on a
// calibration page, and stored with OK.
class TPrintPositionForm : public TDestinationDialog
{
    Q_OBJECT
public:
    explicit TPrintPositionForm(const QString &destination, QWidget *parent = nullptr);

    // What the boxes hold now.
    PrintCorrection Correction() const;

    QDoubleSpinBox *OffsetXBox;
    QDoubleSpinBox *OffsetYBox;
    QDoubleSpinBox *ScaleBox;
    QLabel *HintLabel;
    QPushButton *PrintPageBtn;

private:
    void PrintPageBtnClick();
    void OkBtnClick();

};

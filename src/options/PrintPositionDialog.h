// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/SheetPlacement.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// The print-position correction of one destination: entered, tried on a
// calibration page, and stored with OK.
class TPrintPositionForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPrintPositionForm(const QString &destination, QWidget *parent = nullptr);

    // What the boxes hold now.
    PrintCorrection Correction() const;

    QLabel *PrinterLabel;
    QDoubleSpinBox *OffsetXBox;
    QDoubleSpinBox *OffsetYBox;
    QDoubleSpinBox *ScaleBox;
    QLabel *HintLabel;
    QPushButton *PrintPageBtn;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

private:
    void PrintPageBtnClick();
    void OkBtnClick();

    QString m_destination;
};

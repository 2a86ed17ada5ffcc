// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// The ring a printable disc takes ink within, for one destination (discs
// differ in their printable area); stored with OK.
class TDiscAreaForm : public QDialog
{
    Q_OBJECT
public:
    explicit TDiscAreaForm(const QString &destination, QWidget *parent = nullptr);

    QLabel *PrinterLabel;
    QDoubleSpinBox *OuterBox;
    QDoubleSpinBox *InnerBox;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

private:
    void OkBtnClick();

    QString m_destination;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QDoubleSpinBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

// A dialog of one printer destination's settings: its caption after the
// program's name, "プリンタ: name" at the top, and OK and キャンセル; OK
// is the default button, キャンセル closes without storing anything.
class TDestinationDialog : public QDialog
{
    Q_OBJECT
public:
    QLabel *PrinterLabel;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

protected:
    TDestinationDialog(const QString &destination, const char *objectName, const QString &caption, QWidget *parent);

    // OK and キャンセル at the right, `first` (if any) at the left.
    QHBoxLayout *buttonRow(QPushButton *first = nullptr);

    // Closes once the settings are stored; otherwise says so and stays open.
    void acceptIfStored(bool stored, const QString &why);

    const QString m_destination;
};

namespace DialogParts {

// A right-aligned box of tenths between `least` and `most`.
QDoubleSpinBox *tenthsBox(QWidget *parent, const char *name, double least, double most, double step, const QString &suffix);

QPushButton *button(QWidget *parent, const char *name, const QString &text);

}  // namespace DialogParts

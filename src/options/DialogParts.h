// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QWidget;

// What the settings dialogs of one printer destination are made of.
namespace DialogParts {

// "プリンタ: name", the name as plain text.
QLabel *destinationLabel(QWidget *parent, const QString &destination);

// A right-aligned box of tenths between `least` and `most`.
QDoubleSpinBox *tenthsBox(QWidget *parent, const char *name, double least, double most, double step, const QString &suffix);

QPushButton *button(QWidget *parent, const char *name, const QString &text);

}  // namespace DialogParts

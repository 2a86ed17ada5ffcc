// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printer/QdPrinters.h"

#include <QPrintDialog>

// Qt's print dialog in set-up use on the facade's QPrinter, offering the
// destinations that take jobs; when the wanted one cannot take them, it
// opens on another. Confirming it makes the facade print on the chosen
// printer and read it anew.
class TQdPrinterSetupDialog : public QPrintDialog
{
    Q_OBJECT
public:
    explicit TQdPrinterSetupDialog(QWidget *parent = nullptr, TQdPrinter *facade = nullptr);  // default: QdPrinter
    ~TQdPrinterSetupDialog() override;
    bool Execute();

private:
    TQdPrinterSetupDialog(QWidget *parent, TQdPrinter &facade);
    TQdPrinter &m_facade;
};

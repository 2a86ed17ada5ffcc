// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPrinter>
#include <QPushButton>

TQdPrinterSetupDialog::TQdPrinterSetupDialog(QWidget *parent, TQdPrinter *facade)
    : TQdPrinterSetupDialog(parent, *(facade ? facade : QdPrinter))
{
}

TQdPrinterSetupDialog::TQdPrinterSetupDialog(QWidget *parent, TQdPrinter &facade)
    : QPrintDialog(&facade.printerForSetup(), parent)
    , m_facade(facade)
{
    m_facade.m_inDialog = true;
    // Set-up use: the printer and its page, nothing about one job.
    for (const auto option : {PrintToFile, PrintSelection, PrintPageRange, PrintCurrentPage, PrintCollateCopies})
        setOption(option, false);
    setWindowTitle(tr("プリンタの設定"));
    if (auto *buttons = findChild<QDialogButtonBox *>(); buttons && buttons->button(QDialogButtonBox::Ok))
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    // Qt lists every destination; only those that take jobs are offered.
    if (auto *printers = findChild<QComboBox *>(QStringLiteral("printers"))) {
        for (int i = printers->count() - 1; i >= 0; --i) {
            if (!facade.Snapshot().IsVisible(printers->itemText(i)))
                printers->removeItem(i);
        }
    }
}

TQdPrinterSetupDialog::~TQdPrinterSetupDialog() { m_facade.m_inDialog = false; }

bool TQdPrinterSetupDialog::Execute()
{
    QPrinter &printer = *m_facade.m_printer;
    const QString before = printer.printerName();
    const QPageSize paper = printer.pageLayout().pageSize();
    // Qt's dialog moves the printer to each destination the user looks at.
    if (exec() != QDialog::Accepted) {
        if (printer.printerName() != before)
            printer.setPrinterName(before);
        return false;
    }
    m_facade.m_standIn = false;
    m_facade.m_chosenPrinter = printer.printerName();
    // Another destination comes with its own defaults; its paper unless the
    // user chose one.
    if (printer.printerName() != before)
        m_facade.useDestinationDefaults(printer.pageLayout().pageSize().isEquivalentTo(paper));
    m_facade.RefreshCapabilities();
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The printer facade's print job: Qt draws it into a file that goes to CUPS
// on the facade's bounded connection.
#include "printer/QdPrinters.h"

#include "core/cups/CupsConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryFile>

namespace {

// Qt keeps the options chosen in its print dialog (the CUPS options of the
// queue's PPD) in this engine property.
const auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

}  // namespace

TQdAllPrintersInfo::Options TQdPrinter::GetDriverOptions()
{
    const QStringList chosen = ensurePrinter().printEngine()->property(kCupsOptionsProperty).toStringList();
    TQdAllPrintersInfo::Options options;
    for (int i = 0; i + 1 < chosen.size(); i += 2)
        options.append({chosen.at(i).toUtf8(), chosen.at(i + 1).toUtf8()});
    return options;
}

void TQdPrinter::SetDriverOptions(const TQdAllPrintersInfo::Options &options)
{
    QStringList chosen;
    for (const auto &[name, value] : options)
        chosen << QString::fromUtf8(name) << QString::fromUtf8(value);
    ensurePrinter().printEngine()->setProperty(kCupsOptionsProperty, chosen);
}

TCanvas &TQdPrinter::GetCanvas()
{
    ensurePrinter();
    return m_canvas;
}

void TQdPrinter::BeginDoc(const QString &title)
{
    // A job still open was left by a failure while drawing it; it goes.
    abandonJob();
    QPrinter &printer = ensurePrinter();
    // Qt writes the job to a file that the facade hands to CUPS itself, on
    // its bounded connection; a name without ".pdf" keeps the native format.
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/pelora-job-XXXXXX.prn"));
    if (!file->open())
        throw EQdPrinter(QStringLiteral("TQdPrinter.BeginDoc: Cannot Create the Job File (%1)").arg(file->errorString()));
    file->close();
    printer.setDocName(title);
    printer.setOutputFileName(file->fileName());
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer)) {
        printer.setOutputFileName(QString());
        throw EQdPrinter(QStringLiteral("TQdPrinter.BeginDoc: Cannot Start the Print Job"));
    }
    m_jobFile = std::move(file);
    m_painter = std::move(painter);
    m_canvas.setPainter(m_painter.get());
}

void TQdPrinter::NewPage()
{
    if (!m_painter)
        throw EQdPrinter(QStringLiteral("TQdPrinter.NewPage: No Print Job"));
    if (!m_printer->newPage())
        throw EQdPrinter(QStringLiteral("TQdPrinter.NewPage: Cannot Start a New Page"));
}

void TQdPrinter::abandonJob()
{
    if (!m_painter)
        return;
    m_canvas.setPainter(nullptr);
    m_painter->end();
    m_painter.reset();
    m_printer->setOutputFileName(QString());
    m_jobFile.reset();
}

void TQdPrinter::EndDoc()
{
    if (!m_painter)
        throw EQdPrinter(QStringLiteral("TQdPrinter.EndDoc: No Print Job"));
    m_canvas.setPainter(nullptr);
    const bool written = m_painter->end();
    m_painter.reset();
    m_printer->setOutputFileName(QString());
    const std::unique_ptr<QTemporaryFile> file = std::move(m_jobFile);
    if (!written)
        throw EQdPrinter(QStringLiteral("TQdPrinter.EndDoc: Cannot Write the Print Job"));

    // The destination's lpoptions defaults (its orientation is the
    // QPrinter's already), then the options Qt's own CUPS engine would send,
    // the copy count always, and what was chosen in the print dialog.
    QPrinter &printer = *m_printer;
    cups_option_t *options = nullptr;
    int count = 0;
    const auto add = [&](const QByteArray &name, const QByteArray &value) {
        count = cupsAddOption(name.constData(), value.constData(), count, &options);
    };
    if (const int index = m_snapshot->IndexOf(printer.printerName()); index >= 0) {
        for (const auto &[name, value] : m_snapshot->JobOptions(index)) {
            if (name != "landscape" && name != "orientation-requested")
                add(name, value);
        }
    }
    add("media", printer.pageLayout().pageSize().key().toUtf8());
    add("copies", QByteArray::number(printer.copyCount()));
    if (printer.copyCount() > 1 && printer.collateCopies())
        add("Collate", "True");
    const bool portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
    const bool shortEdge = printer.duplex() == QPrinter::DuplexShortSide || (printer.duplex() == QPrinter::DuplexAuto && !portrait);
    add("sides", printer.duplex() == QPrinter::DuplexNone ? "one-sided"
                 : shortEdge                               ? "two-sided-short-edge"
                                                           : "two-sided-long-edge");
    if (!portrait)
        add("landscape", "");
    const QStringList chosen = printer.printEngine()->property(kCupsOptionsProperty).toStringList();
    for (int i = 0; i + 1 < chosen.size(); i += 2)
        add(chosen.at(i).toUtf8(), chosen.at(i + 1).toUtf8());

    // A Print-Job of our own: cupsPrintFile2 would look the queue up again
    // first, and on the network for 1 s when it is gone.
    const QString queue = queueOf(printer.printerName());
    ipp_t *request = queueRequest(IPP_OP_PRINT_JOB, queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, printer.docName().toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, "application/pdf");
    cupsEncodeOptions2(request, count, options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, count, options, IPP_TAG_JOB);
    cupsFreeOptions(count, options);
    QString failure;
    http_t *http = m_cups->begin(&failure);
    if (!http) {
        ippDelete(request);
        noAnswer(failure);
    }
    const QByteArray resource = "/printers/" + queue.toUtf8();
    const IppPtr response(cupsDoFileRequest(http, request, resource.constData(), QFile::encodeName(file->fileName()).constData()));
    if (!response)
        noAnswer(m_cups->failed());
    if (ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        m_sinceCheck.invalidate();
        throw EQdPrinter(QCoreApplication::translate("TQdPrinter", "プリンタ「%1」が印刷を受け付けませんでした。プリンタの状態を確かめるか、「プリンタ設定」で別のプリンタを選んでください。(%2)")
                             .arg(printer.printerName(), lastCupsError()));
    }
    ipp_attribute_t *id = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER);
    m_lastJobId = id ? ippGetInteger(id, 0) : 0;
}

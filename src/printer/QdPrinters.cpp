// SPDX-License-Identifier: GPL-3.0-or-later
// The printer facade: its queries, the settings record it keeps and the
// printer-change watch.
#include "printer/QdPrinters.h"

#include "core/cups/CupsConnection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <QtConcurrent/QtConcurrentRun>

TQdPrinter *QdPrinter = nullptr;

namespace {

// A burst of queries compares the printer set at most once a second.
constexpr qint64 kRecheckAfterMs = 1000;

}  // namespace

#define QD_ASSERT(condition, text)                                                                     \
    do {                                                                                               \
        if (!(condition))                                                                              \
            throw EQdAssertionFailed(QStringLiteral(text " (QdPrinters.cpp, line %1)").arg(__LINE__)); \
    } while (false)

EQdPrinterNoPrinter::EQdPrinterNoPrinter()
    : EQdPrinter(QStringLiteral("TQdPrinter.CheckNoPrinter: No Printer"))
{
}

EQdPrinterNoSpooler::EQdPrinterNoSpooler(const QString &reason)
    : EQdPrinterNoPrinter(
          QCoreApplication::translate("TQdPrinter", "印刷システム (CUPS) から応答がありません。CUPS が動いているか確かめてから、もう一度お試しください。(%1)")
              .arg(reason))
{
}

TQdPrinter::TQdPrinter()
    : m_cups(std::make_unique<TQdCupsConnection>())
    , m_snapshot(std::make_unique<TQdAllPrintersInfo>(*m_cups))
{
    m_sinceCheck.start();
    QObject::connect(&m_backgroundCheck, &QFutureWatcherBase::finished, &m_backgroundCheck, [this] {
        // A comparison made here meanwhile is the newer one.
        if (!m_sinceCheck.isValid() || m_sinceCheck.elapsed() > m_backgroundStarted.elapsed())
            takeSnapshot(std::make_unique<TQdAllPrintersInfo>(*m_backgroundCheck.result()));
    });
    // Printers are usually added or removed in another program: coming back
    // to this one is the moment to look, without keeping the window waiting.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::applicationStateChanged, &m_backgroundCheck,
                         [this](Qt::ApplicationState state) {
                             if (state == Qt::ApplicationActive)
                                 checkInBackground();
                         });
    }
}

TQdPrinter::~TQdPrinter()
{
    abandonJob();
    m_canvas.setDevice(nullptr);
}

// --- queries ------------------------------------------------------------------

const QStringList &TQdPrinter::GetPrinters()
{
    ready();
    m_printerNames = visibleNames();
    return m_printerNames;
}

QPoint TQdPrinter::GetPixelsPerInch()
{
    ready();
    return pixelsPerInch();
}

QPoint TQdPrinter::GetPageOffset()
{
    ready();
    settings();
    return (m_printer->pageRect(QPrinter::DevicePixel).topLeft() - m_printer->paperRect(QPrinter::DevicePixel).topLeft())
        .toPoint();
}

QRect TQdPrinter::GetPrintableArea()
{
    ready();
    settings();
    return m_printer->pageRect(QPrinter::DevicePixel).translated(-m_printer->paperRect(QPrinter::DevicePixel).topLeft()).toRect();
}

QSize TQdPrinter::GetSheetPixels()
{
    ready();
    settings();
    return m_printer->paperRect(QPrinter::DevicePixel).size().toSize();
}

int TQdPrinter::GetScale()
{
    ready();
    return 100;
}

QSize TQdPrinter::GetPaperSize()
{
    ready();
    settings();
    const QPoint dpi = pixelsPerInch();
    const QRect sheet = m_printer->paperRect(QPrinter::DevicePixel).toRect();
    return QSize(int(qint64(sheet.width()) * 254 / dpi.x()), int(qint64(sheet.height()) * 254 / dpi.y()));
}

TQdFieldSet TQdPrinter::GetAvailableFields()
{
    ready();
    return TQdFieldSet::fromMask(settings().Fields);
}

int TQdPrinter::GetOrientation()
{
    ready();
    checkSupport(QdField::Orientation, QStringLiteral("TQdPrinter.GetOrientation: Orientation is not Supported"));
    return m_settings->Orientation == 1 ? 0 : 1;
}

int TQdPrinter::GetMaxCopies()
{
    ready();
    checkSupport(QdField::Copies, QStringLiteral("TQdPrinter.GetMaxCopies: Copies is not Supported"));
    UpdateCapabilities();
    if (!traits().MaxCopies)
        throw EQdPrinterNoInfo(QStringLiteral("TQdPrinter.GetMaxCopies: No MaxCopies Info Available"));
    return *traits().MaxCopies;
}

void TQdPrinter::SetCopies(int copies)
{
    ready();
    checkSupport(QdField::Copies, QStringLiteral("TQdPrinter.SetCopies: Copies not Supported"));
    // Zero or negative copies make no job; refuse them all alike.
    if (copies < 1)
        throw EQDPrinterRangeError(QStringLiteral("TQdPrinter.SetCopies: Too Small Copies"));
    if (m_settings->Copies != copies) {
        m_settings->Copies = copies;
        m_modified = true;
    }
}

void TQdPrinter::ApplySettings()
{
    if (!m_modified)
        return;
    QD_ASSERT(m_settings, "TQdPrinter.ApplySettings; No Setteing Info");
    const TQdSettingsRecord written = *m_settings;
    QPrinter &printer = ensurePrinter();
    printer.setCopyCount(written.Copies);
    const bool oriented = printer.setPageOrientation(written.Orientation == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    DiscardSettings();
    QD_ASSERT(printer.isValid() && oriented && printer.copyCount() == written.Copies, "Assertion failure");
}

// --- internal operations ------------------------------------------------------

void TQdPrinter::ready()
{
    watchBeforeAnswer();
    CheckNoPrinter();
}

void TQdPrinter::CheckNoPrinter()
{
    for (int i = 0; i < m_snapshot->Count(); ++i) {
        if (m_snapshot->IsVisible(i))
            return;
    }
    m_traits.reset();
    m_discTray.reset();
    if (!m_snapshot->Reachable())
        throw EQdPrinterNoSpooler(m_snapshot->Failure());
    throw EQdPrinterNoPrinter();
}

void TQdPrinter::checkSupport(int index, const QString &message)
{
    if (!TQdFieldSet::fromMask(settings().Fields).contains(index))
        throw EQdPrinterNotSupported(message);
}

// The helpers below answer without the watch and the printer check, so that
// a query compares the printer set at most once, before it begins.

QPoint TQdPrinter::pixelsPerInch()
{
    QPrinter &printer = ensurePrinter();
    const QPoint dpi(printer.logicalDpiX(), printer.logicalDpiY());
    QD_ASSERT(dpi.x() > 0 && dpi.y() > 0, "Assertion failure");
    return dpi;
}

void TQdPrinter::UpdateCapabilities() { settings(); }

void TQdPrinter::RefreshCapabilities()
{
    DiscardSettings();
    m_traits.reset();
    m_discTray.reset();
    UpdateCapabilities();
}

void TQdPrinter::DiscardSettings()
{
    m_settings.reset();
    m_modified = false;
}

const TQdSettingsRecord &TQdPrinter::settings()
{
    if (!m_settings) {
        const quint32 fields = traits().Fields;
        const bool portrait = m_printer->pageLayout().orientation() == QPageLayout::Portrait;
        m_settings = std::make_unique<TQdSettingsRecord>(TQdSettingsRecord{fields, portrait ? 1 : 2, m_printer->copyCount()});
    }
    return *m_settings;
}

void TQdPrinter::noAnswer(const QString &reason)
{
    m_sinceCheck.invalidate();
    throw EQdPrinterNoSpooler(reason);
}

// --- the printer-change watch ---------------------------------------------------

void TQdPrinter::watchBeforeAnswer()
{
    if (!m_sinceCheck.isValid() || m_sinceCheck.elapsed() >= kRecheckAfterMs)
        CheckPrinterChange();
}

void TQdPrinter::CheckPrinterChange()
{
    if (busy())
        m_sinceCheck.invalidate();
    else
        takeSnapshot(std::make_unique<TQdAllPrintersInfo>(*m_cups, m_snapshot.get()));
}

void TQdPrinter::checkInBackground()
{
    if (m_backgroundCheck.isRunning())
        return;
    m_backgroundStarted.start();
    // libcups keeps its server per thread: the worker is told this one's.
    m_backgroundCheck.setFuture(QtConcurrent::run([server = m_cups->server(), port = m_cups->port(), previous = *m_snapshot] {
        TQdCupsConnection connection(server, port);
        return std::make_shared<const TQdAllPrintersInfo>(connection, &previous);
    }));
}

void TQdPrinter::takeSnapshot(std::unique_ptr<TQdAllPrintersInfo> fresh)
{
    // A dialog or a job is using the QPrinter: look again once it is free.
    if (busy()) {
        m_sinceCheck.invalidate();
        return;
    }
    // Counted from the answer: a spooler that kept us waiting is not asked
    // again by the very next query.
    m_sinceCheck.start();
    if (fresh->Equals(*m_snapshot))
        return;
    dropPrinter();
    m_snapshot = std::move(fresh);
    m_traits.reset();
    m_discTray.reset();
    if (OnChange)
        OnChange(this);
}

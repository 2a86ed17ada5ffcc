// SPDX-License-Identifier: GPL-3.0-or-later
// The printer facade's destination, the one the jobs go to: its QPrinter,
// its defaults and its capabilities.
#include "printer/QdPrinters.h"

#include "core/cups/CupsConnection.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kPrinterDpi = 600;

EQdPrinterUnavailable destinationGone(const QString &name, const QString &reason)
{
    return EQdPrinterUnavailable(QCoreApplication::translate("TQdPrinter", "プリンタ「%1」が見つかりません。「プリンタ設定」でプリンタを選び直してください。(%2)")
                                     .arg(name, reason));
}

EQdPrinterUnavailable destinationRefuses(const QString &name)
{
    return EQdPrinterUnavailable(QCoreApplication::translate("TQdPrinter", "プリンタ「%1」は印刷を受け付けていません。プリンタの状態を確かめるか、「プリンタ設定」で別のプリンタを選んでください。")
                                     .arg(name));
}

// A media name (PWG, PPD or legacy) as a page size.
QPageSize mediaPaper(const QByteArray &media)
{
    const pwg_media_t *found = pwgMediaForPWG(media.constData());
    if (!found)
        found = pwgMediaForPPD(media.constData());
    if (!found)
        found = pwgMediaForLegacy(media.constData());
    if (!found || found->width <= 0 || found->length <= 0)
        return QPageSize();
    return QPageSize(QSizeF(found->width / 100.0, found->length / 100.0), QPageSize::Millimeter, QString(),
                     QPageSize::FuzzyMatch);
}

std::optional<QByteArray> option(const TQdAllPrintersInfo::Options &options, const char *name)
{
    for (const auto &[key, value] : options) {
        if (key == name)
            return value;
    }
    return std::nullopt;
}

}  // namespace

// The capabilities of the current destination, read once for it. A class
// tells some things of its own; the rest is its first member's that takes
// jobs.
const TQdPrinterTraits &TQdPrinter::traits()
{
    const QString name = ensurePrinter().printerName();
    if (m_traits && m_traitsFor == name)
        return *m_traits;
    m_traits.reset();
    TQdPrinterTraits read = readTraits(queueOf(name));
    if (m_snapshot->Attributes(std::max(0, m_snapshot->IndexOf(name))) & TQdAllPrintersInfo::kClass) {
        const auto member = std::find_if(read.Members.cbegin(), read.Members.cend(),
                                         [this](const QString &m) { return m_snapshot->IsVisible(m); });
        if (member == read.Members.cend())
            throw EQdPrinterUnavailable(QCoreApplication::translate("TQdPrinter", "プリンタクラス「%1」には印刷を受け付けるプリンタがありません。CUPS でクラスにプリンタを加えるか、「プリンタ設定」で別のプリンタを選んでください。")
                                 .arg(queueOf(name)));
        const TQdPrinterTraits first = readTraits(*member);
        read.Fields |= first.Fields;
        read.MaxCopies = read.MaxCopies ? read.MaxCopies : first.MaxCopies;
    }
    ++m_capabilityReads;
    m_traitsFor = name;
    return *(m_traits = std::move(read));
}

// Read once for the destination: a class prints with its members' drivers,
// the first that takes jobs.
const std::optional<DiscTrays::Tray> &TQdPrinter::GetDiscTray()
{
    ready();
    const QString name = ensurePrinter().printerName();
    if (m_discTray && m_discTrayFor == name)
        return *m_discTray;
    QString queue = queueOf(name);
    const QStringList &members = traits().Members;
    const auto member = std::find_if(members.cbegin(), members.cend(), [this](const QString &m) { return m_snapshot->IsVisible(m); });
    if (member != members.cend())
        queue = *member;
    QString failure;
    // A raw queue has no PPD: no tray.
    const std::optional<QByteArray> ppd = m_cups->getFile("/printers/" + QUrl::toPercentEncoding(queue) + ".ppd", &failure);
    if (!ppd)
        noAnswer(failure);
    m_discTrayFor = name;
    m_discTray = DiscTrays::ReadPpd(*ppd);
    return *m_discTray;
}

TQdPrinterTraits TQdPrinter::readTraits(const QString &queue)
{
    static const char *const wanted[] = {"orientation-requested-supported", "media-supported", "copies-supported",
                                         "member-names"};
    ipp_t *request = queueRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)), nullptr, wanted);
    QString failure;
    http_t *http = m_cups->begin(&failure);
    if (!http) {
        ippDelete(request);
        noAnswer(failure);
    }
    const IppPtr response(cupsDoRequest(http, request, "/"));
    if (!response)
        noAnswer(m_cups->failed());
    if (ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        // The destination may have gone: compare the printer set next time.
        m_sinceCheck.invalidate();
        throw destinationGone(queue, lastCupsError());
    }
    return QdPrinterTraitsFromIpp(response.get());
}

// --- the QPrinter ---------------------------------------------------------------

QPrinter &TQdPrinter::PlatformPrinter() { return ensurePrinter(); }

void TQdPrinter::SelectPrinter(const QString &name)
{
    if (busy())
        throw EQdPrinter(QStringLiteral("TQdPrinter.SelectPrinter: Printer in Use"));
    CheckPrinterChange();
    if (m_snapshot->IndexOf(name) < 0)
        throw destinationGone(name, QStringLiteral("not in the list of CUPS"));
    dropPrinter();
    m_chosenPrinter = name;
    RefreshCapabilities();
}

QPrinter &TQdPrinter::ensurePrinter()
{
    // The set-up dialog's stand-in goes with the dialog unless it was chosen.
    if (m_standIn && !m_inDialog)
        dropPrinter();
    if (m_printer)
        return *m_printer;
    // Qt reaches CUPS on libcups's shared connection, which has no time
    // limit: make sure the spooler answers right before handing over.
    CheckPrinterChange();
    if (m_printer)
        return *m_printer;  // OnChange made one
    CheckNoPrinter();
    makePrinter(destination());
    return *m_printer;
}

// A job goes where the user means it to, or nowhere: to another queue it
// would come out on paper nobody put there.
QString TQdPrinter::destination() const
{
    QString name = m_chosenPrinter.isEmpty() ? m_snapshot->DefaultName() : m_chosenPrinter;
    if (name.isEmpty()) {
        // No default set: with one printer there is nothing to choose.
        const QStringList visible = visibleNames();
        if (visible.size() != 1)
            throw EQdPrinterUnavailable(QCoreApplication::translate("TQdPrinter", "既定のプリンタが決まっていません。「プリンタ設定」で印刷に使うプリンタを選んでください。"));
        name = visible.first();
    }
    const int index = m_snapshot->IndexOf(name);
    if (index < 0)
        throw destinationGone(name, QStringLiteral("not in the list of CUPS"));
    if (!m_snapshot->IsVisible(index))
        throw destinationRefuses(name);
    return name;
}

QStringList TQdPrinter::visibleNames() const
{
    QStringList names;
    for (int i = 0; i < m_snapshot->Count(); ++i) {
        if (m_snapshot->IsVisible(i))
            names << m_snapshot->Name(i);
    }
    return names;
}

void TQdPrinter::makePrinter(const QString &name)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull() || printer->outputFormat() != QPrinter::NativeFormat || printer->printerName() != name) {
        m_sinceCheck.invalidate();
        throw destinationGone(name, QStringLiteral("Qt does not list it"));
    }
    // Qt sends vector output, so the resolution only fixes the coordinates:
    // one layout unit is one device pixel.
    printer->setResolution(kPrinterDpi);
    m_printer = std::move(printer);
    useDestinationDefaults(true);
    m_canvas.setDevice(m_printer.get());
}

// The set-up dialog opens on the wanted destination; when that cannot take
// jobs, on another one (the default first) for the user to choose instead.
QPrinter &TQdPrinter::printerForSetup()
{
    CheckPrinterChange();  // Qt lists the printers next
    try {
        return ensurePrinter();
    } catch (const EQdPrinterUnavailable &) {
        QStringList others = visibleNames();
        if (others.removeAll(m_snapshot->DefaultName()) > 0)
            others.prepend(m_snapshot->DefaultName());
        for (const QString &name : std::as_const(others)) {
            try {
                makePrinter(name);
                m_standIn = true;
                return *m_printer;
            } catch (const EQdPrinterUnavailable &) {
            }
        }
        throw;
    }
}

// The destination's own defaults: its paper (the PPD's, marked with its
// lpoptions by Qt; else the media its options name; else the locale's), and
// an instance's copies and orientation.
void TQdPrinter::useDestinationDefaults(bool paper)
{
    QPrinter &printer = *m_printer;
    const int index = m_snapshot->IndexOf(printer.printerName());
    const TQdAllPrintersInfo::Options options = index >= 0 ? m_snapshot->JobOptions(index) : TQdAllPrintersInfo::Options();
    if (paper) {
        QPageSize size = QPrinterInfo::printerInfo(printer.printerName()).defaultPageSize();
        if (!size.isValid())
            size = mediaPaper(option(options, "media").value_or(QByteArray()));
        if (!size.isValid()) {
            const QLocale::Territory territory = QLocale().territory();
            size = QPageSize(territory == QLocale::UnitedStates || territory == QLocale::Canada ? QPageSize::Letter : QPageSize::A4);
        }
        printer.setPageSize(size);
    }
    if (const int copies = option(options, "copies").value_or("0").toInt(); copies > 0)
        printer.setCopyCount(copies);
    const QByteArray orientation = option(options, "orientation-requested").value_or(QByteArray());
    if (option(options, "landscape") || orientation == "4" || orientation == "5")
        printer.setPageOrientation(QPageLayout::Landscape);
}

void TQdPrinter::dropPrinter()
{
    m_canvas.setDevice(nullptr);
    m_printer.reset();
    m_standIn = false;
    DiscardSettings();
}

#include "QdPrinters.h"

#include "common/Messages.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <limits>
#include <type_traits>

TQdPrinter *QdPrinter = nullptr;

namespace {

// A local spooler answers within milliseconds; these bounds only matter when
// it is gone (connect fails at once) or stuck (every wait ends here).
constexpr int kConnectTimeoutMs = 3000;
constexpr double kIoTimeoutSeconds = 5.0;

// Comparing snapshots costs a round trip to the spooler, so a burst of
// queries compares at most once a second; activation, a new QPrinter and a
// failed request compare at once.
constexpr qint64 kChangeCheckIntervalMs = 1000;

// A comparison this recent stands for a probe of the spooler.
constexpr qint64 kFreshProbeMs = 250;

constexpr int kPrinterDpi = 600;

// Qt keeps the job options chosen in its print dialog (the CUPS options of
// the queue's PPD) in this engine property.
const auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

const char *const kTraitAttributes[] = {
    "orientation-requested-supported",
    "media-supported",
    "scaling-default",
    "copies-supported",
    "media-source-supported",
    "print-quality-supported",
    "print-color-mode-supported",
    "sides-supported",
    "printer-resolution-supported",
    "multiple-document-handling-supported",
};

struct IppDeleter
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

QString lastCupsError()
{
    const char *text = cupsLastErrorString();
    return text && *text ? QString::fromUtf8(text) : QString::fromUtf8(ippErrorString(cupsLastError()));
}

void addRequestingUser(ipp_t *request)
{
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
}

QByteArray queueUri(const QString &queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.toUtf8().constData());
    return QByteArray(uri);
}

// The queue of a QPrinter's printer name ("queue/instance" for instances).
QString queueOf(const QPrinter &printer) { return printer.printerName().section(QLatin1Char('/'), 0, 0); }

QString assertionText(const char *text, int line)
{
    return QStringLiteral("%1 (QdPrinters.cpp, line %2)").arg(QString::fromLatin1(text)).arg(line);
}

}  // namespace

#define QD_ASSERT(condition, text)                                   \
    do {                                                             \
        if (!(condition))                                            \
            throw EQdAssertionFailed(assertionText(text, __LINE__)); \
    } while (false)

// ---------------------------------------------------------------------------

EQdPrinterNoPrinter::EQdPrinterNoPrinter()
    : EQdPrinter(QStringLiteral("TQdPrinter.CheckNoPrinter: No Printer"))
{
}

EQdPrinterNoPrinter::EQdPrinterNoPrinter(QString message)
    : EQdPrinter(std::move(message))
{
}

EQdPrinterNoSpooler::EQdPrinterNoSpooler(const char *operation, const QString &reason)
    : EQdPrinterNoPrinter(QStringLiteral("TQdPrinter.%1: Print Spooler not Available (%2)")
                              .arg(QLatin1String(operation), reason))
{
}

// ---------------------------------------------------------------------------

TQdFieldSet TQdFieldSet::fromMask(quint32 fieldMask)
{
    TQdFieldSet set;
    for (int i = 0; i < QdField::Count; ++i) {
        if (fieldMask & kQdFieldMaskBits[i])
            set.insert(i);
    }
    return set;
}

void TQdFieldSet::insert(int index)
{
    if (index >= 0 && index <= 31)
        m_bits |= 1u << index;
}

QList<int> TQdFieldSet::indices() const
{
    QList<int> out;
    for (int i = 0; i <= 31; ++i) {
        if (contains(i))
            out << i;
    }
    return out;
}

// ---------------------------------------------------------------------------

// How the queue's IPP attributes become setting indices:
//   0 orientation-requested-supported       7 print-quality-supported
//   1, 13 media-supported (named sizes)     8 print-color-mode-supported with "color"
//   2, 3 media-supported custom_min/max     9 sides-supported with a two-sided value
//   4 scaling-default                       10, 14 printer-resolution-supported
//   5 copies-supported                      12 multiple-document-handling-supported
//   6 media-source-supported                   with collated copies
// 11 (TrueType option) and 15, 16 (panning) have no counterpart in IPP.
TQdPrinterTraits QdPrinterTraitsFromIpp(ipp_t *attributes)
{
    TQdPrinterTraits traits;
    if (!attributes)
        return traits;
    const auto set = [&traits](int index) { traits.Fields |= kQdFieldMaskBits[index]; };
    const auto strings = [attributes](const char *name) {
        QStringList out;
        if (ipp_attribute_t *attr = ippFindAttribute(attributes, name, IPP_TAG_ZERO)) {
            for (int i = 0; i < ippGetCount(attr); ++i) {
                if (const char *value = ippGetString(attr, i, nullptr))
                    out << QString::fromUtf8(value);
            }
        }
        return out;
    };

    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "orientation-requested-supported", IPP_TAG_ENUM);
        attr && ippGetCount(attr) > 0)
        set(QdField::Orientation);

    bool customMin = false;
    bool customMax = false;
    for (const QString &media : strings("media-supported")) {
        if (media.startsWith(QLatin1String("custom_min_")))
            customMin = true;
        else if (media.startsWith(QLatin1String("custom_max_")))
            customMax = true;
        else
            traits.PaperNames << media;
    }
    if (!traits.PaperNames.isEmpty()) {
        set(QdField::PaperSize);
        set(QdField::FormName);
    }
    if (customMin && customMax) {
        set(QdField::PaperLength);
        set(QdField::PaperWidth);
    }

    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "scaling-default", IPP_TAG_INTEGER)) {
        set(QdField::Scale);
        const int scale = ippGetInteger(attr, 0);
        // A scale of 0 (or one that does not fit the 16-bit field) means none.
        traits.Scale = scale > 0 && scale <= 0xFFFF ? scale : 100;
    }

    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "copies-supported", IPP_TAG_ZERO)) {
        set(QdField::Copies);
        int upper = 0;
        if (ippGetValueTag(attr) == IPP_TAG_RANGE)
            ippGetRange(attr, 0, &upper);
        else if (ippGetValueTag(attr) == IPP_TAG_INTEGER)
            upper = ippGetInteger(attr, 0);
        if (upper > 0)
            traits.MaxCopies = upper;
    }

    traits.BinNames = strings("media-source-supported");
    if (!traits.BinNames.isEmpty())
        set(QdField::DefaultSource);

    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "print-quality-supported", IPP_TAG_ENUM);
        attr && ippGetCount(attr) > 0)
        set(QdField::PrintQuality);

    if (strings("print-color-mode-supported").contains(QLatin1String("color")))
        set(QdField::Color);

    for (const QString &sides : strings("sides-supported")) {
        if (sides.startsWith(QLatin1String("two-sided")))
            set(QdField::Duplex);
    }

    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "printer-resolution-supported", IPP_TAG_RESOLUTION)) {
        for (int i = 0; i < ippGetCount(attr); ++i) {
            // The units are the byte the server sent, which need not be one
            // of the enumeration's values: held as a number, not as the enum.
            std::underlying_type_t<ipp_res_t> units = IPP_RES_PER_INCH;
            static_assert(sizeof units == sizeof(ipp_res_t));
            int y = 0;
            const int x = ippGetResolution(attr, i, &y, reinterpret_cast<ipp_res_t *>(&units));
            if (units != IPP_RES_PER_INCH && units != IPP_RES_PER_CM)
                continue;
            // Dots per centimetre become dots per inch. The values are the
            // server's 32-bit numbers: one that is not positive, or too large
            // for dots per inch, is no resolution.
            const qint64 percent = units == IPP_RES_PER_CM ? 254 : 100;
            const qint64 dpiX = qint64(x) * percent / 100;
            const qint64 dpiY = qint64(y) * percent / 100;
            if (dpiX > 0 && dpiY > 0 && dpiX <= std::numeric_limits<int>::max() && dpiY <= std::numeric_limits<int>::max())
                traits.Resolutions << QPoint(int(dpiX), int(dpiY));
        }
        if (!traits.Resolutions.isEmpty()) {
            set(QdField::YResolution);
            set(QdField::LogPixels);
        }
    }

    if (strings("multiple-document-handling-supported").contains(QLatin1String("separate-documents-collated-copies")))
        set(QdField::Collate);

    return traits;
}

// ---------------------------------------------------------------------------

// One connection to the current CUPS server (cupsServer(), which follows
// CUPS_SERVER and cupsSetServer) with a bounded connect and bounded reads
// and writes, kept open between requests and made anew when the server
// changes or a request fails.
class TQdCupsConnection
{
public:
    ~TQdCupsConnection() { close(); }

    http_t *http(QString *failure)
    {
        const QByteArray server = cupsServer();
        const int port = ippPort();
        if (m_http && (server != m_server || port != m_port))
            close();
        if (!m_http) {
            errno = 0;
            m_http = httpConnect2(server.constData(), port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                  kConnectTimeoutMs, nullptr);
            if (!m_http) {
                const int error = errno;
                *failure = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(server),
                                                        error ? QString::fromLocal8Bit(std::strerror(error))
                                                              : QStringLiteral("cannot connect"));
                return nullptr;
            }
            httpSetTimeout(m_http, kIoTimeoutSeconds, nullptr, nullptr);
            m_server = server;
            m_port = port;
        }
        return m_http;
    }

    void close()
    {
        if (m_http)
            httpClose(m_http);
        m_http = nullptr;
    }

    // Sends the request (which it consumes). No response means the spooler
    // did not answer; the connection is then dropped.
    IppPtr request(ipp_t *request, const char *resource, QString *failure)
    {
        http_t *connection = http(failure);
        if (!connection) {
            ippDelete(request);
            return nullptr;
        }
        IppPtr response(cupsDoRequest(connection, request, resource));
        if (!response) {
            *failure = lastCupsError();
            close();
        }
        return response;
    }

private:
    http_t *m_http = nullptr;
    QByteArray m_server;
    int m_port = 0;
};

// ---------------------------------------------------------------------------

TQdAllPrintersInfo::TQdAllPrintersInfo()
{
    TQdCupsConnection connection;
    take(connection);
}

TQdAllPrintersInfo::TQdAllPrintersInfo(TQdCupsConnection &connection) { take(connection); }

TQdAllPrintersInfo::TQdAllPrintersInfo(QList<Entry> entries)
    : m_entries(std::move(entries))
{
}

void TQdAllPrintersInfo::take(TQdCupsConnection &connection)
{
    ipp_t *request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    addRequestingUser(request);
    static const char *const wanted[] = {"printer-name", "printer-is-accepting-jobs", "printer-type", "device-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                  nullptr, wanted);
    const IppPtr response = connection.request(request, "/", &m_failure);
    if (!response) {
        m_reachable = false;
        return;
    }
    const ipp_status_t status = ippGetStatusCode(response.get());
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return;  // a server without queues
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE) {
        m_reachable = false;
        m_failure = lastCupsError();
        return;
    }

    // Printers come one group each, separated by attributes without a name.
    Entry entry;
    bool accepting = true;
    int type = 0;
    const auto finish = [&] {
        if (!entry.Name.isEmpty()) {
            if (!accepting)
                entry.Attributes |= kHidden;
            if (!(type & CUPS_PRINTER_REMOTE))
                entry.Attributes |= kLocal;
            if (type & CUPS_PRINTER_DEFAULT)
                entry.Attributes |= kDefault;
            m_entries.append(entry);
        }
        entry = Entry();
        accepting = true;
        type = 0;
    };
    for (ipp_attribute_t *attr = ippFirstAttribute(response.get()); attr; attr = ippNextAttribute(response.get())) {
        const char *name = ippGetName(attr);
        if (!name) {
            finish();
            continue;
        }
        if (ippGetGroupTag(attr) != IPP_TAG_PRINTER)
            continue;
        if (!std::strcmp(name, "printer-name"))
            entry.Name = QString::fromUtf8(ippGetString(attr, 0, nullptr));
        else if (!std::strcmp(name, "printer-is-accepting-jobs"))
            accepting = ippGetBoolean(attr, 0);
        else if (!std::strcmp(name, "printer-type"))
            type = ippGetInteger(attr, 0);
        else if (!std::strcmp(name, "device-uri"))
            entry.DeviceUri = QString::fromUtf8(ippGetString(attr, 0, nullptr));
    }
    finish();
}

int TQdAllPrintersInfo::IndexOf(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_entries.at(i).Name == name)
            return i;
    }
    return -1;
}

bool TQdAllPrintersInfo::Equals(const TQdAllPrintersInfo &other) const
{
    if (m_reachable != other.m_reachable || Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (Name(i) != other.Name(i) || Attributes(i) != other.Attributes(i))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------

TQdPrinter::TQdPrinter()
    : m_cups(std::make_unique<TQdCupsConnection>())
{
    m_snapshot = std::make_unique<TQdAllPrintersInfo>(*m_cups);
    fillPorts(*m_snapshot);
    m_sinceCheck.start();

    // Printers are usually added or removed in another program; coming back
    // to this one is the moment to look.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        m_watch = std::make_unique<QObject>();
        QObject::connect(app, &QGuiApplication::applicationStateChanged, m_watch.get(),
                         [this](Qt::ApplicationState state) {
                             if (state != Qt::ApplicationActive)
                                 return;
                             try {
                                 CheckPrinterChange();
                             } catch (const Exception &e) {
                                 Messages::ShowError(e.message());
                             }
                         });
    }
}

TQdPrinter::~TQdPrinter()
{
    m_watch.reset();
    abandonJob();
    m_canvas.setDevice(nullptr);
}

// --- job --------------------------------------------------------------------

TCanvas &TQdPrinter::GetCanvas()
{
    ensurePrinter();
    return m_canvas;
}

void TQdPrinter::BeginDoc(const QString &title)
{
    // A job still open was left by a failure while drawing it; nobody will
    // end it, so it goes.
    abandonJob();
    QPrinter &printer = ensurePrinter();

    // Qt writes the job to a file that the facade hands to CUPS itself, on
    // its bounded connection; a file name without ".pdf" keeps the printer
    // in native format.
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/pelora-job-XXXXXX.prn"));
    if (!file->open())
        throw EQdPrinter(
            QStringLiteral("TQdPrinter.BeginDoc: Cannot Create the Job File (%1)").arg(file->errorString()));
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

    QPrinter &printer = *m_printer;
    const QString queue = queueOf(printer);

    // The options Qt's own CUPS engine would send with this job.
    cups_option_t *options = nullptr;
    int count = 0;
    const auto add = [&](const QByteArray &name, const QByteArray &value) {
        count = cupsAddOption(name.constData(), value.constData(), count, &options);
    };
    add("media", printer.pageLayout().pageSize().key().toUtf8());
    const int copies = printer.copyCount();
    if (copies > 1) {
        add("copies", QByteArray::number(copies));
        if (printer.collateCopies())
            add("Collate", "True");
    }
    const bool portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone: add("sides", "one-sided"); break;
    case QPrinter::DuplexAuto: add("sides", portrait ? "two-sided-long-edge" : "two-sided-short-edge"); break;
    case QPrinter::DuplexLongSide: add("sides", "two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: add("sides", "two-sided-short-edge"); break;
    }
    if (!portrait)
        add("landscape", "");
    const QStringList chosen = printer.printEngine()->property(kCupsOptionsProperty).toStringList();
    for (int i = 0; i + 1 < chosen.size(); i += 2)
        add(chosen.at(i).toUtf8(), chosen.at(i + 1).toUtf8());

    ipp_t *request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, queueUri(queue).constData());
    addRequestingUser(request);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, printer.docName().toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, "application/pdf");
    cupsEncodeOptions2(request, count, options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, count, options, IPP_TAG_JOB);
    cupsFreeOptions(count, options);

    QString failure;
    http_t *http = m_cups->http(&failure);
    if (!http) {
        ippDelete(request);
        m_sinceCheck.invalidate();
        throw EQdPrinterNoSpooler("EndDoc", failure);
    }
    const QByteArray resource = QByteArray("/printers/") + queue.toUtf8();
    const IppPtr response(cupsDoFileRequest(http, request, resource.constData(),
                                            QFile::encodeName(file->fileName()).constData()));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        failure = lastCupsError();
        if (!response)
            m_cups->close();
        m_sinceCheck.invalidate();
        throw EQdPrinter(QStringLiteral("TQdPrinter.EndDoc: Print Job not Accepted by %1 (%2)").arg(queue, failure));
    }
    ipp_attribute_t *id = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER);
    m_lastJobId = id ? ippGetInteger(id, 0) : 0;
}

// --- queries ------------------------------------------------------------------

const QStringList &TQdPrinter::GetPrinters()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    m_printerNames.clear();
    for (int i = 0; i < m_snapshot->Count(); ++i) {
        if (m_snapshot->IsVisible(i))
            m_printerNames << m_snapshot->Name(i);
    }
    return m_printerNames;
}

QPoint TQdPrinter::GetPixelsPerInch()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    return pixelsPerInch();
}

QPoint TQdPrinter::GetPageOffset()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    // Without media the queue has no sheet, so no printable area on it.
    if (!fields().contains(QdField::PaperSize))
        throw EQdPrinterNoInfo(QStringLiteral("TQdPrinter.GetPageOffset: No Paper Info Available"));
    QPrinter &printer = ensurePrinter();
    const QPointF offset = printer.pageRect(QPrinter::DevicePixel).topLeft()
                           - printer.paperRect(QPrinter::DevicePixel).topLeft();
    return offset.toPoint();
}

int TQdPrinter::GetScale()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    return scale();
}

QSize TQdPrinter::GetPaperSize()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    if (!fields().contains(QdField::PaperSize))
        throw EQdPrinterNoInfo(QStringLiteral("TQdPrinter.GetPaperSize: No Paper Info Available"));
    const QPoint dpi = pixelsPerInch();
    const qint64 percent = scale();
    const QRect sheet = ensurePrinter().paperRect(QPrinter::DevicePixel).toRect();
    return QSize(int(qint64(sheet.width()) * 254 * percent / dpi.x() / 100),
                 int(qint64(sheet.height()) * 254 * percent / dpi.y() / 100));
}

TQdFieldSet TQdPrinter::GetAvailableFields()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    return fields();
}

int TQdPrinter::GetOrientation()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    checkSupport(QdField::Orientation, QStringLiteral("TQdPrinter.GetOrientation: Orientation is not Supported"));
    return m_settings->Orientation == 1 ? 0 : 1;
}

int TQdPrinter::GetMaxCopies()
{
    watchBeforeAnswer();
    CheckNoPrinter();
    checkSupport(QdField::Copies, QStringLiteral("TQdPrinter.GetMaxCopies: Copies is not Supported"));
    UpdateCapabilities();
    if (!m_maxCopiesKnown)
        throw EQdPrinterNoInfo(QStringLiteral("TQdPrinter.GetMaxCopies: No MaxCopies Info Available"));
    return m_maxCopies;
}

void TQdPrinter::SetCopies(int copies)
{
    watchBeforeAnswer();
    CheckNoPrinter();
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
    const TQdSettingsRecord settings = *m_settings;
    QPrinter &printer = ensurePrinter();
    printer.setCopyCount(settings.Copies);
    const bool oriented = printer.setPageOrientation(settings.Orientation == 1 ? QPageLayout::Portrait
                                                                               : QPageLayout::Landscape);
    DiscardSettings();
    m_capabilityIndex = -1;
    QD_ASSERT(printer.isValid() && oriented && printer.copyCount() == settings.Copies, "Assertion failure");
}

// --- internal operations ------------------------------------------------------

void TQdPrinter::CheckNoPrinter()
{
    for (int i = 0; i < m_snapshot->Count(); ++i) {
        if (m_snapshot->IsVisible(i))
            return;
    }
    m_capabilityIndex = -1;
    if (!m_snapshot->Reachable())
        throw EQdPrinterNoSpooler("CheckNoPrinter", m_snapshot->Failure());
    throw EQdPrinterNoPrinter();
}

void TQdPrinter::checkSupport(int index, const QString &message)
{
    if (index > 31 || !fields().contains(index))
        throw EQdPrinterNotSupported(message);
}

// The helpers below answer without the watch and the printer check, so that
// one query compares the printer set at most once, before it begins.

TQdFieldSet TQdPrinter::fields()
{
    if (!m_settings)
        readSettings();
    return TQdFieldSet::fromMask(m_settings->Fields);
}

int TQdPrinter::scale()
{
    return fields().contains(QdField::Scale) ? m_settings->Scale : 100;
}

QPoint TQdPrinter::pixelsPerInch()
{
    QPrinter &printer = ensurePrinter();
    const QPoint dpi(printer.logicalDpiX(), printer.logicalDpiY());
    QD_ASSERT(dpi.x() > 0 && dpi.y() > 0, "Assertion failure");
    return dpi;
}

void TQdPrinter::UpdateCapabilities()
{
    const int index = SelectedIndex();
    if (index == m_capabilityIndex)
        return;
    if (!m_settings)
        readSettings();

    m_paperNames.clear();
    m_binNames.clear();
    m_resolutions.clear();
    m_maxCopies = 0;
    m_maxCopiesKnown = false;

    const TQdPrinterTraits traits = queueTraits("UpdateCapabilities");
    ++m_capabilityReads;

    m_paperNames = traits.PaperNames;
    m_binNames = traits.BinNames;
    m_resolutions = traits.Resolutions;
    if (traits.MaxCopies) {
        m_maxCopies = *traits.MaxCopies;
        m_maxCopiesKnown = true;
    }
    m_capabilityIndex = index;
}

void TQdPrinter::RefreshCapabilities()
{
    DiscardSettings();
    m_capabilityIndex = -1;
    UpdateCapabilities();
}

void TQdPrinter::DiscardSettings()
{
    m_settings.reset();
    m_modified = false;
}

const QStringList &TQdPrinter::GetPorts()
{
    fillPorts(TQdAllPrintersInfo(*m_cups));
    return m_ports;
}

void TQdPrinter::fillPorts(const TQdAllPrintersInfo &snapshot)
{
    m_ports.clear();
    for (int i = 0; i < snapshot.Count(); ++i) {
        const QString &uri = snapshot.DeviceUri(i);
        if (!uri.isEmpty() && !m_ports.contains(uri))
            m_ports << uri;
    }
}

void TQdPrinter::readSettings()
{
    m_settings.reset();
    m_modified = false;
    const TQdPrinterTraits traits = queueTraits("ReadSettings");
    const QPrinter &printer = *m_printer;
    auto settings = std::make_unique<TQdSettingsRecord>();
    settings->Fields = traits.Fields;
    settings->Scale = traits.Scale;
    settings->Orientation = printer.pageLayout().orientation() == QPageLayout::Portrait ? 1 : 2;
    settings->Copies = printer.copyCount();
    m_settings = std::move(settings);
    ++m_settingsReads;
}

TQdPrinterTraits TQdPrinter::queueTraits(const char *operation)
{
    const QString queue = queueOf(ensurePrinter());
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, queueUri(queue).constData());
    addRequestingUser(request);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(std::size(kTraitAttributes)), nullptr, kTraitAttributes);
    QString failure;
    const IppPtr response = m_cups->request(request, "/", &failure);
    if (!response)
        printerFailed(operation, failure);
    if (ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        printerFailed(operation, lastCupsError());
    return QdPrinterTraitsFromIpp(response.get());
}

void TQdPrinter::printerFailed(const char *operation, const QString &reason)
{
    // The queue may have gone: compare the printer set at the next use.
    m_sinceCheck.invalidate();
    const QString name = m_printer ? m_printer->printerName() : m_wantedPrinter;
    throw EQdPrinter(QStringLiteral("TQdPrinter.%1: Printer %2 not Available (%3)")
                         .arg(QLatin1String(operation), name, reason));
}

// --- the QPrinter ---------------------------------------------------------------

QPrinter &TQdPrinter::PlatformPrinter() { return ensurePrinter(); }

int TQdPrinter::SelectedIndex() { return m_snapshot->IndexOf(ensurePrinter().printerName()); }

void TQdPrinter::SelectPrinter(const QString &name)
{
    if (m_holds > 0 || m_painter)
        throw EQdPrinter(QStringLiteral("TQdPrinter.SelectPrinter: Printer in Use"));
    CheckPrinterChange();
    if (m_snapshot->IndexOf(name) < 0)
        throw EQdPrinter(QStringLiteral("TQdPrinter.SelectPrinter: No Printer %1").arg(name));
    dropPrinter();
    m_wantedPrinter = name;
    RefreshCapabilities();
}

QPrinter &TQdPrinter::ensurePrinter()
{
    if (m_printer)
        return *m_printer;

    // Qt reaches CUPS on libcups's shared connection, which has no time
    // limit: make sure the spooler answers right before handing over.
    if (!m_sinceCheck.isValid() || m_sinceCheck.elapsed() > kFreshProbeMs)
        CheckPrinterChange();
    if (m_printer)
        return *m_printer;  // OnChange made one
    CheckNoPrinter();

    // The printer chosen before (it may have been dropped by a change of the
    // printer set), else the user's default (LPDEST, PRINTER, lpoptions),
    // else the server's, else the first visible one.
    int index = m_wantedPrinter.isEmpty() ? -1 : m_snapshot->IndexOf(m_wantedPrinter);
    if (index < 0) {
        QString ignored;
        if (http_t *http = m_cups->http(&ignored)) {
            if (cups_dest_t *dest = cupsGetNamedDest(http, nullptr, nullptr)) {
                const int user = m_snapshot->IndexOf(QString::fromUtf8(dest->name));
                if (user >= 0 && m_snapshot->IsVisible(user))
                    index = user;
                cupsFreeDests(1, dest);
            }
        }
    }
    for (int i = 0; index < 0 && i < m_snapshot->Count(); ++i) {
        if (m_snapshot->IsVisible(i) && (m_snapshot->Attributes(i) & TQdAllPrintersInfo::kDefault))
            index = i;
    }
    for (int i = 0; index < 0 && i < m_snapshot->Count(); ++i) {
        if (m_snapshot->IsVisible(i))
            index = i;
    }
    const QString name = m_snapshot->Name(index);

    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull() || printer->outputFormat() != QPrinter::NativeFormat || printer->printerName() != name) {
        m_sinceCheck.invalidate();
        throw EQdPrinter(QStringLiteral("TQdPrinter.PlatformPrinter: Printer %1 not Available").arg(name));
    }
    // Qt sends vector output, so the resolution only fixes the coordinates:
    // one layout unit is one device pixel.
    printer->setResolution(kPrinterDpi);
    // A new QPrinter keeps Qt's locale paper; the queue's own default is
    // what selecting a printer means.
    const QPageSize paper = info.defaultPageSize();
    if (paper.isValid())
        printer->setPageSize(paper);

    m_printer = std::move(printer);
    m_wantedPrinter = name;
    m_canvas.setDevice(m_printer.get());
    return *m_printer;
}

QPrinter &TQdPrinter::printerAfterProbe()
{
    if (m_printer && (!m_sinceCheck.isValid() || m_sinceCheck.elapsed() > kFreshProbeMs))
        CheckPrinterChange();
    return ensurePrinter();
}

void TQdPrinter::dropPrinter()
{
    if (m_printer)
        m_wantedPrinter = m_printer->printerName();
    m_canvas.setDevice(nullptr);
    m_printer.reset();
}

// --- the printer-change watch ---------------------------------------------------

void TQdPrinter::watchBeforeAnswer()
{
    if (!m_sinceCheck.isValid() || m_sinceCheck.elapsed() >= kChangeCheckIntervalMs)
        CheckPrinterChange();
}

void TQdPrinter::CheckPrinterChange()
{
    // A dialog or a job is using the QPrinter: look again once it is free.
    if (m_holds > 0 || m_painter) {
        m_sinceCheck.invalidate();
        return;
    }
    auto fresh = std::make_unique<TQdAllPrintersInfo>(*m_cups);
    // Counted from the answer: a spooler that kept us waiting is not asked
    // again by the very next query.
    m_sinceCheck.start();
    if (!fresh->Equals(*m_snapshot)) {
        dropPrinter();
        m_snapshot = std::move(fresh);
        m_capabilityIndex = -1;
        DiscardSettings();
        fillPorts(*m_snapshot);
        if (OnChange)
            OnChange(this);
        return;
    }
    const QStringList previous = m_ports;
    fillPorts(*fresh);
    if (OnChange && m_ports != previous)
        OnChange(this);
}

// ---------------------------------------------------------------------------

namespace {
TQdPrinter &facadeOrProgramWide(TQdPrinter *facade)
{
    if (!facade)
        facade = QdPrinter;
    QD_ASSERT(facade, "Assertion failure");
    return *facade;
}
}  // namespace

TQdPrinterSetupDialog::TQdPrinterSetupDialog(QWidget *parent, TQdPrinter *facade)
    : TQdPrinterSetupDialog(parent, facadeOrProgramWide(facade))
{
}

TQdPrinterSetupDialog::TQdPrinterSetupDialog(QWidget *parent, TQdPrinter &facade)
    : QPrintDialog(&facade.printerAfterProbe(), parent)
    , m_facade(facade)
    , m_hold(facade)
{
    // Set-up use: choose the printer and its page, nothing about one job.
    setOption(QAbstractPrintDialog::PrintToFile, false);
    setOption(QAbstractPrintDialog::PrintSelection, false);
    setOption(QAbstractPrintDialog::PrintPageRange, false);
    setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    setWindowTitle(QStringLiteral("プリンタの設定"));
    // Confirming chooses the printer; nothing is printed.
    if (auto *buttons = findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
}

TQdPrinterSetupDialog::~TQdPrinterSetupDialog() = default;

bool TQdPrinterSetupDialog::Execute()
{
    if (exec() != QDialog::Accepted)
        return false;
    m_facade.RefreshCapabilities();
    return true;
}

#include "QdPrinters.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryFile>
#include <QtConcurrent/QtConcurrentRun>

#include <cups/cups.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>

TQdPrinter *QdPrinter = nullptr;

namespace {

// A local spooler answers within milliseconds. One operation, connecting
// included, gets this long; after one ran out, the spooler is not waited for
// again for a moment, so that a user action never waits twice.
constexpr int kRequestBudgetMs = 1500;
constexpr double kWaitSliceSeconds = 0.2;
constexpr qint64 kStuckPauseMs = 2500;
// A kept connection this old is opened anew with our limits, rather than
// reconnected by libcups with its own half-minute one.
constexpr qint64 kConnectionReuseMs = 10000;
// A burst of queries compares the printer set at most once a second.
constexpr qint64 kRecheckAfterMs = 1000;
constexpr int kPrinterDpi = 600;
// Qt keeps the options chosen in its print dialog (the CUPS options of the
// queue's PPD) in this engine property.
const auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

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

// The queue of a destination name ("queue/instance" for an instance).
QString queueOf(const QString &destination) { return destination.section(QLatin1Char('/'), 0, 0); }

ipp_t *queueRequest(ipp_op_t operation, const QString &queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.toUtf8().constData());
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

EQdPrinterUnavailable destinationGone(const QString &name, const QString &reason)
{
    return EQdPrinterUnavailable(QStringLiteral("プリンタ「%1」が見つかりません。「プリンタ設定」でプリンタを選び直してください。(%2)")
                                     .arg(name, reason));
}

EQdPrinterUnavailable destinationRefuses(const QString &name)
{
    return EQdPrinterUnavailable(QStringLiteral("プリンタ「%1」は印刷を受け付けていません。プリンタの状態を確かめるか、「プリンタ設定」で別のプリンタを選んでください。")
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
          QStringLiteral("印刷システム (CUPS) から応答がありません。CUPS が動いているか確かめてから、もう一度お試しください。(%1)")
              .arg(reason))
{
}

TQdFieldSet TQdFieldSet::fromMask(quint32 fieldMask)
{
    TQdFieldSet set;
    for (int i = 0; i < QdField::Count; ++i)
        set.m_bits |= (fieldMask & kQdFieldMaskBits[i]) ? 1u << i : 0u;
    return set;
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

// The settings the program asks about: orientation (0) from
// orientation-requested-supported, the paper (1, and 13 for its name) from
// named sizes in media-supported, copies (5) from copies-supported. Scale
// (4) stays out: nothing here scales a job by a setting of its own, so the
// jacket always goes out at its real size.
TQdPrinterTraits QdPrinterTraitsFromIpp(ipp_t *attributes)
{
    TQdPrinterTraits traits;
    if (!attributes)
        return traits;
    const auto strings = [attributes](const char *name) {
        QStringList out;
        ipp_attribute_t *attr = ippFindAttribute(attributes, name, IPP_TAG_ZERO);
        for (int i = 0; attr && i < ippGetCount(attr); ++i) {
            if (const char *value = ippGetString(attr, i, nullptr))
                out << QString::fromUtf8(value);
        }
        return out;
    };
    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "orientation-requested-supported", IPP_TAG_ENUM);
        attr && ippGetCount(attr) > 0)
        traits.Fields |= kQdFieldMaskBits[QdField::Orientation];
    const QStringList media = strings("media-supported");
    if (std::any_of(media.begin(), media.end(), [](const QString &m) { return !m.startsWith(QLatin1String("custom_")); }))
        traits.Fields |= kQdFieldMaskBits[QdField::PaperSize] | kQdFieldMaskBits[QdField::FormName];
    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "copies-supported", IPP_TAG_ZERO)) {
        traits.Fields |= kQdFieldMaskBits[QdField::Copies];
        int upper = 0;
        if (ippGetValueTag(attr) == IPP_TAG_RANGE)
            ippGetRange(attr, 0, &upper);
        else if (ippGetValueTag(attr) == IPP_TAG_INTEGER)
            upper = ippGetInteger(attr, 0);
        if (upper > 0)
            traits.MaxCopies = upper;
    }
    traits.Members = strings("member-names");
    return traits;
}

// ---------------------------------------------------------------------------

// One connection to a CUPS server (the current one, cupsServer(), unless
// one is given), kept between operations. Each operation gets a time budget:
// libcups waits in short slices, asks on, and gives up when it is spent.
class TQdCupsConnection
{
public:
    explicit TQdCupsConnection(QByteArray server = {}, int port = 0)
        : m_givenServer(std::move(server)), m_givenPort(port)
    {
    }
    ~TQdCupsConnection() { close(); }

    QByteArray server() const { return m_givenServer.isEmpty() ? QByteArray(cupsServer()) : m_givenServer; }
    int port() const { return m_givenPort ? m_givenPort : ippPort(); }

    // The connection for one operation; null, with the reason, when the
    // server cannot be reached.
    http_t *begin(QString *failure)
    {
        if (m_http && (server() != m_server || port() != m_port || m_reuse.hasExpired()))
            close();
        if (server() != m_server || port() != m_port)
            m_pause = QDeadlineTimer(0);
        m_server = server();
        m_port = port();
        if (!m_pause.hasExpired()) {
            *failure = QStringLiteral("%1: no answer in time").arg(QString::fromLocal8Bit(m_server));
            return nullptr;
        }
        m_deadline.setRemainingTime(kRequestBudgetMs);
        m_reuse.setRemainingTime(kConnectionReuseMs);
        if (!m_http) {
            errno = 0;
            m_http = httpConnect2(m_server.constData(), m_port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                  kRequestBudgetMs, nullptr);
            if (!m_http) {
                *failure = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(m_server),
                                                        QString::fromLocal8Bit(std::strerror(errno ? errno : EIO)));
                if (m_deadline.hasExpired())
                    m_pause.setRemainingTime(kStuckPauseMs);
                return nullptr;
            }
            httpSetTimeout(m_http, kWaitSliceSeconds, &TQdCupsConnection::keepWaiting, &m_deadline);
        }
        return m_http;
    }

    // After an operation got no answer: drops the connection and says why.
    QString failed()
    {
        QString reason = lastCupsError();
        if (m_deadline.hasExpired()) {
            m_pause.setRemainingTime(kStuckPauseMs);
            reason = QStringLiteral("%1: no answer in time").arg(QString::fromLocal8Bit(m_server));
        }
        close();
        return reason;
    }

private:
    static int keepWaiting(http_t *, void *deadline) { return !static_cast<QDeadlineTimer *>(deadline)->hasExpired(); }
    void close()
    {
        if (m_http)
            httpClose(m_http);
        m_http = nullptr;
    }

    QByteArray m_givenServer;
    int m_givenPort;
    http_t *m_http = nullptr;
    QByteArray m_server;
    int m_port = 0;
    QDeadlineTimer m_deadline;
    QDeadlineTimer m_reuse;
    QDeadlineTimer m_pause{0};
};

// ---------------------------------------------------------------------------

TQdAllPrintersInfo::TQdAllPrintersInfo()
{
    TQdCupsConnection connection;
    *this = TQdAllPrintersInfo(connection);
}

TQdAllPrintersInfo::TQdAllPrintersInfo(QList<Entry> entries)
    : m_entries(std::move(entries))
{
    for (const Entry &entry : std::as_const(m_entries)) {
        if (entry.Attributes & kDefault)
            m_defaultName = entry.Name;
    }
}

TQdAllPrintersInfo::TQdAllPrintersInfo(TQdCupsConnection &connection, const TQdAllPrintersInfo *previous)
{
    // The queues' names and states in one small request, which is also the
    // probe: libcups waits a second for each request's go-ahead, so a
    // spooler that does not answer costs one request's wait here. With the
    // lpoptions files and the variables that name a default, they make the
    // source of the list; an unchanged source gives the list as before.
    static const char *const wanted[] = {"printer-name", "printer-type", "printer-is-accepting-jobs"};
    http_t *http = connection.begin(&m_failure);
    IppPtr queues;
    if (http) {
        ipp_t *request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                      nullptr, wanted);
        queues.reset(cupsDoRequest(http, request, "/"));
        if (!queues)
            m_failure = connection.failed();
    }
    for (ipp_attribute_t *attr = ippFirstAttribute(queues.get()); attr; attr = ippNextAttribute(queues.get())) {
        char value[1024];
        ippAttributeString(attr, value, sizeof value);
        m_source += QByteArray(ippGetName(attr) ? ippGetName(attr) : "") + '=' + value + '\n';
    }
    const QByteArray home = qgetenv("HOME");
    for (const QByteArray &path : {qEnvironmentVariable("CUPS_SERVERROOT", QStringLiteral("/etc/cups")).toLocal8Bit() + "/lpoptions",
                                   home + "/.cups/lpoptions"}) {
        const QFileInfo file(QFile::decodeName(path));
        m_source += path + ' ' + QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + ' '
                    + QByteArray::number(file.size()) + '\n';
    }
    m_source += qgetenv("LPDEST") + '\n' + qgetenv("PRINTER");
    if (m_failure.isEmpty() && previous && previous->m_reachable && previous->m_source == m_source) {
        m_entries = previous->m_entries;
        m_defaultName = previous->m_defaultName;
        return;
    }
    // The list the print dialog shows, with the instances and the user's
    // default.
    cups_dest_t *dests = nullptr;
    const int count = m_failure.isEmpty() ? cupsGetDests2(http, &dests) : 0;
    const ipp_status_t status = cupsLastError();
    if (count == 0 && m_failure.isEmpty() && status > IPP_STATUS_OK_EVENTS_COMPLETE && status != IPP_STATUS_ERROR_NOT_FOUND)
        m_failure = connection.failed();
    m_reachable = m_failure.isEmpty();
    for (const cups_dest_t &dest : std::span(dests, count)) {
        Entry entry{QString::fromUtf8(dest.name), 0, {}};
        if (dest.instance)
            entry.Name += QLatin1Char('/') + QString::fromUtf8(dest.instance);
        const char *accepting = cupsGetOption("printer-is-accepting-jobs", dest.num_options, dest.options);
        const char *type = cupsGetOption("printer-type", dest.num_options, dest.options);
        const int typeBits = type ? QByteArray(type).toInt() : 0;
        // Printers only seen on the network have no queue to take a job.
        if (!accepting || std::strcmp(accepting, "true") != 0 || (typeBits & CUPS_PRINTER_DISCOVERED))
            entry.Attributes |= kHidden;
        entry.Attributes |= (typeBits & CUPS_PRINTER_CLASS ? kClass : 0) | (dest.is_default ? kDefault : 0);
        if (dest.is_default)
            m_defaultName = entry.Name;
        for (const cups_option_t &o : std::span(dest.options, dest.num_options)) {
            const QByteArray name(o.name);
            if (!name.startsWith("printer-") && !name.startsWith("marker-") && name != "device-uri")
                entry.JobOptions.append({name, QByteArray(o.value)});
        }
        m_entries.append(entry);
    }
    cupsFreeDests(count, dests);
    // libcups marks no default when the default queue has an instance, nor
    // when the user's default is gone: asked by name, it tells either.
    if (m_reachable && m_defaultName.isEmpty()) {
        const char *name = cupsGetDefault2(http);
        if (!name && cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
            m_failure = connection.failed();
            m_reachable = false;
            m_entries.clear();
        }
        m_defaultName = QString::fromUtf8(name);
        if (const int index = IndexOf(m_defaultName); index >= 0)
            m_entries[index].Attributes |= kDefault;
    }
}

int TQdAllPrintersInfo::IndexOf(const QString &name) const
{
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(), [&name](const Entry &e) { return e.Name == name; });
    return it == m_entries.cend() ? -1 : int(it - m_entries.cbegin());
}

bool TQdAllPrintersInfo::Equals(const TQdAllPrintersInfo &other) const
{
    return m_reachable == other.m_reachable && m_defaultName == other.m_defaultName
           && std::equal(m_entries.cbegin(), m_entries.cend(), other.m_entries.cbegin(), other.m_entries.cend(),
                         [](const Entry &a, const Entry &b) { return a.Name == b.Name && a.Attributes == b.Attributes; });
}

// ---------------------------------------------------------------------------

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

// --- job --------------------------------------------------------------------

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
        throw EQdPrinter(QStringLiteral("プリンタ「%1」が印刷を受け付けませんでした。プリンタの状態を確かめるか、「プリンタ設定」で別のプリンタを選んでください。(%2)")
                             .arg(printer.printerName(), lastCupsError()));
    }
    ipp_attribute_t *id = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER);
    m_lastJobId = id ? ippGetInteger(id, 0) : 0;
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
            throw EQdPrinterUnavailable(QStringLiteral("プリンタクラス「%1」には印刷を受け付けるプリンタがありません。CUPS でクラスにプリンタを加えるか、「プリンタ設定」で別のプリンタを選んでください。")
                                 .arg(queueOf(name)));
        const TQdPrinterTraits first = readTraits(*member);
        read.Fields |= first.Fields;
        read.MaxCopies = read.MaxCopies ? read.MaxCopies : first.MaxCopies;
    }
    ++m_capabilityReads;
    m_traitsFor = name;
    return *(m_traits = std::move(read));
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

void TQdPrinter::noAnswer(const QString &reason)
{
    m_sinceCheck.invalidate();
    throw EQdPrinterNoSpooler(reason);
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
            throw EQdPrinterUnavailable(QStringLiteral("既定のプリンタが決まっていません。「プリンタ設定」で印刷に使うプリンタを選んでください。"));
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
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------

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
    setWindowTitle(QStringLiteral("プリンタの設定"));
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

#pragma once

#include "common/Canvas.h"
#include "common/Exception.h"

#include <QElapsedTimer>
#include <QList>
#include <QPoint>
#include <QPrintDialog>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QObject;
class QPainter;
class QPrinter;
class QTemporaryFile;
typedef struct _ipp_s ipp_t;

// ---------------------------------------------------------------------------
// Failures of the printer facade. The messages name class and operation.

class EQdPrinter : public Exception
{
public:
    using Exception::Exception;
};

// No visible printer: "TQdPrinter.CheckNoPrinter: No Printer".
class EQdPrinterNoPrinter : public EQdPrinter
{
public:
    EQdPrinterNoPrinter();

protected:
    explicit EQdPrinterNoPrinter(QString message);
};

// The print spooler does not answer (not running, gone, or stuck): there is
// no printer either, so callers that handle the one handle the other.
class EQdPrinterNoSpooler : public EQdPrinterNoPrinter
{
public:
    EQdPrinterNoSpooler(const char *operation, const QString &reason);
};

class EQdPrinterNotSupported : public EQdPrinter
{
public:
    using EQdPrinter::EQdPrinter;
};

class EQdPrinterNoInfo : public EQdPrinter
{
public:
    using EQdPrinter::EQdPrinter;
};

class EQDPrinterRangeError : public EQdPrinter
{
public:
    using EQdPrinter::EQdPrinter;
};

// A broken internal consistency rule of the facade; the message ends with
// the place, "(QdPrinters.cpp, line N)".
class EQdAssertionFailed : public Exception
{
public:
    using Exception::Exception;
};

// ---------------------------------------------------------------------------
// Setting indices: index i is supported when the field mask has bit i of
// kQdFieldMaskBits (the printer settings record's traditional bit values).

namespace QdField {
enum : int {
    Orientation = 0,
    PaperSize = 1,
    PaperLength = 2,
    PaperWidth = 3,
    Scale = 4,
    Copies = 5,
    DefaultSource = 6,
    PrintQuality = 7,
    Color = 8,
    Duplex = 9,
    YResolution = 10,
    TTOption = 11,
    Collate = 12,
    FormName = 13,
    LogPixels = 14,
    PanningWidth = 15,
    PanningHeight = 16,
    Count = 17,
};
}  // namespace QdField

inline constexpr quint32 kQdFieldMaskBits[QdField::Count] = {
    0x1, 0x2, 0x4, 0x8, 0x10, 0x100, 0x200, 0x400, 0x800,
    0x1000, 0x2000, 0x4000, 0x8000, 0x10000, 0x20000, 0x8000000, 0x10000000,
};

// A set of setting indices 0 … 31.
class TQdFieldSet
{
public:
    constexpr TQdFieldSet() = default;
    static TQdFieldSet fromMask(quint32 fieldMask);

    bool contains(int index) const { return index >= 0 && index <= 31 && (m_bits >> index) & 1u; }
    void insert(int index);
    QList<int> indices() const;
    bool operator==(const TQdFieldSet &) const = default;

private:
    quint32 m_bits = 0;
};

// The facade's copy of the current printer's settings.
struct TQdSettingsRecord
{
    quint32 Fields = 0;   // field mask, kQdFieldMaskBits
    int Orientation = 1;  // 1 portrait, anything else landscape
    int Scale = 100;      // percent
    int Copies = 1;
};

// What a queue's IPP printer attributes say about it.
struct TQdPrinterTraits
{
    quint32 Fields = 0;
    int Scale = 100;                 // scaling-default; 0 or none is 100
    std::optional<int> MaxCopies;    // upper bound of copies-supported
    QStringList PaperNames;          // media-supported
    QStringList BinNames;            // media-source-supported
    QList<QPoint> Resolutions;       // printer-resolution-supported, dpi
};

// Reads the traits from a Get-Printer-Attributes response (or any IPP
// message holding those attributes). A null message gives empty traits.
TQdPrinterTraits QdPrinterTraitsFromIpp(ipp_t *attributes);

// ---------------------------------------------------------------------------

// A bounded connection to the current CUPS server (defined with the facade).
class TQdCupsConnection;

// A snapshot of the CUPS destinations, in the server's name order: each
// entry has a name and an attribute word. A queue that does not accept jobs
// is hidden (kHidden) and not visible to the program.
class TQdAllPrintersInfo
{
public:
    static constexpr quint32 kDefault = 0x4;
    static constexpr quint32 kHidden = 0x20;
    static constexpr quint32 kLocal = 0x40;

    struct Entry
    {
        QString Name;
        quint32 Attributes = 0;
        QString DeviceUri;
    };

    // Takes the snapshot now. A spooler that does not answer gives an empty
    // snapshot that is not Reachable(); nothing is thrown.
    TQdAllPrintersInfo();
    explicit TQdAllPrintersInfo(TQdCupsConnection &connection);
    // A given set, reachable.
    explicit TQdAllPrintersInfo(QList<Entry> entries);

    int Count() const { return int(m_entries.size()); }
    const QString &Name(int index) const { return m_entries.at(index).Name; }
    quint32 Attributes(int index) const { return m_entries.at(index).Attributes; }
    const QString &DeviceUri(int index) const { return m_entries.at(index).DeviceUri; }
    bool IsVisible(int index) const { return !(Attributes(index) & kHidden); }
    int IndexOf(const QString &name) const;

    bool Reachable() const { return m_reachable; }
    const QString &Failure() const { return m_failure; }

    // Same reachability, count, and entry by entry the same name (exact) and
    // attributes.
    bool Equals(const TQdAllPrintersInfo &other) const;

private:
    void take(TQdCupsConnection &connection);

    QList<Entry> m_entries;
    bool m_reachable = true;
    QString m_failure;
};

// The one place through which the program reaches the printer: the drawing
// surface and the job calls, the current printer's page and capabilities,
// and the copy count. Sits on a QPrinter (native format, CUPS) set to 600
// dpi, and on libcups for what Qt does not tell.
//
// The queries and SetCopies begin with CheckNoPrinter. Before they answer
// (at most once a second) and when the application becomes active, a fresh
// snapshot of the destinations is compared with the last one; a changed set
// drops the QPrinter, the cache and the settings and calls OnChange. Every
// request to CUPS is bounded in time: a spooler that is gone or stuck gives
// EQdPrinter failures, never a hang.
class TQdPrinter
{
public:
    TQdPrinter();
    ~TQdPrinter();
    TQdPrinter(const TQdPrinter &) = delete;
    TQdPrinter &operator=(const TQdPrinter &) = delete;

    // Drawing surface and job. The canvas draws only between BeginDoc and
    // EndDoc; EndDoc hands the job to CUPS (LastJobId() tells its id).
    TCanvas &GetCanvas();
    void BeginDoc(const QString &title);
    void NewPage();
    void EndDoc();

    // Queries about the current printer.
    const QStringList &GetPrinters();  // visible ones, snapshot order
    QPoint GetPixelsPerInch();
    QPoint GetPageOffset();            // printable area from the sheet's corner, device pixels
    int GetScale();                    // percent
    QSize GetPaperSize();              // tenths of a millimetre × GetScale() / 100
    TQdFieldSet GetAvailableFields();
    int GetOrientation();              // 0 portrait, 1 landscape
    int GetMaxCopies();

    // The copy count in the cached settings, and writing it to the printer.
    void SetCopies(int copies);
    void ApplySettings();

    void CheckNoPrinter();
    void UpdateCapabilities();
    void RefreshCapabilities();
    void DiscardSettings();
    const QStringList &GetPorts();

    // The printer-change watch, now (not throttled).
    void CheckPrinterChange();

    // Called when the printer set or the port list changed.
    std::function<void(TQdPrinter *sender)> OnChange;

    // The QPrinter of the current printer, made when first needed.
    QPrinter &PlatformPrinter();
    // Makes `name` the current printer with the queue's own defaults.
    void SelectPrinter(const QString &name);
    // The current printer's position in the snapshot, -1 when it has none.
    int SelectedIndex();
    const TQdAllPrintersInfo &Snapshot() const { return *m_snapshot; }

    // State, for whoever needs to look (tests, diagnostics).
    const TQdSettingsRecord *CachedSettings() const { return m_settings.get(); }
    bool SettingsModified() const { return m_modified; }
    int CapabilityReads() const { return m_capabilityReads; }
    int SettingsReads() const { return m_settingsReads; }
    int LastJobId() const { return m_lastJobId; }
    // Read with the capabilities; empty when the queue reports none.
    const QStringList &PaperNames() const { return m_paperNames; }
    const QStringList &BinNames() const { return m_binNames; }
    const QList<QPoint> &Resolutions() const { return m_resolutions; }

    // Keeps the QPrinter from being replaced while a dialog or a job uses it.
    class Hold
    {
    public:
        explicit Hold(TQdPrinter &printer) : m_printer(printer) { ++m_printer.m_holds; }
        ~Hold() { --m_printer.m_holds; }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        TQdPrinter &m_printer;
    };

private:
    friend class TQdPrinterSetupDialog;

    void watchBeforeAnswer();
    TQdFieldSet fields();
    int scale();
    QPoint pixelsPerInch();
    QPrinter &ensurePrinter();
    QPrinter &printerAfterProbe();
    void dropPrinter();
    void checkSupport(int index, const QString &message);
    void readSettings();
    TQdPrinterTraits queueTraits(const char *operation);
    void fillPorts(const TQdAllPrintersInfo &snapshot);
    [[noreturn]] void printerFailed(const char *operation, const QString &reason);
    void abandonJob();

    std::unique_ptr<TQdCupsConnection> m_cups;
    std::unique_ptr<TQdAllPrintersInfo> m_snapshot;
    QStringList m_paperNames;
    QStringList m_binNames;
    QList<QPoint> m_resolutions;
    QStringList m_printerNames;
    QStringList m_ports;
    int m_maxCopies = 0;
    int m_capabilityIndex = -1;
    bool m_maxCopiesKnown = false;
    bool m_modified = false;
    std::unique_ptr<TQdSettingsRecord> m_settings;
    QString m_settingsPort;

    std::unique_ptr<QPrinter> m_printer;
    QString m_wantedPrinter;
    TCanvas m_canvas;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QTemporaryFile> m_jobFile;
    int m_lastJobId = 0;
    int m_holds = 0;

    QElapsedTimer m_sinceCheck;
    std::unique_ptr<QObject> m_watch;
    int m_capabilityReads = 0;
    int m_settingsReads = 0;
};

// The program's one facade, created in main() before any window and
// destroyed last.
extern TQdPrinter *QdPrinter;

// Qt's print dialog in set-up use on the facade's QPrinter. When the user
// confirms it, the facade drops its cached settings and reads the new
// printer's capabilities.
class TQdPrinterSetupDialog : public QPrintDialog
{
    Q_OBJECT
public:
    // `facade` defaults to the program's QdPrinter.
    explicit TQdPrinterSetupDialog(QWidget *parent = nullptr, TQdPrinter *facade = nullptr);
    ~TQdPrinterSetupDialog() override;

    bool Execute();

private:
    TQdPrinterSetupDialog(QWidget *parent, TQdPrinter &facade);

    TQdPrinter &m_facade;
    TQdPrinter::Hold m_hold;
};

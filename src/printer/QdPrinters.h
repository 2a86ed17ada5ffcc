#pragma once

#include "common/Canvas.h"
#include "common/Exception.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QPair>
#include <QPoint>
#include <QPrintDialog>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QPrinter;
class QTemporaryFile;
class TQdCupsConnection;
typedef struct _ipp_s ipp_t;

// Failures of the printer facade. The component's own checks name class and
// operation; what the user can act on (no answer from CUPS, a destination
// that is gone or refuses the job, a class without printers) is in Japanese.
class EQdPrinter : public Exception
{
public:
    using Exception::Exception;
};
class EQdPrinterNoPrinter : public EQdPrinter  // "TQdPrinter.CheckNoPrinter: No Printer"
{
public:
    EQdPrinterNoPrinter();

protected:
    using EQdPrinter::EQdPrinter;
};
// The spooler does not answer: no printer either, for whoever handles that.
class EQdPrinterNoSpooler : public EQdPrinterNoPrinter
{
public:
    explicit EQdPrinterNoSpooler(const QString &reason);
};
// The destination a job would go to cannot take it: it is gone, it refuses
// jobs, it is a class without printers, or there is none to go to.
class EQdPrinterUnavailable : public EQdPrinter
{
public:
    using EQdPrinter::EQdPrinter;
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
// A broken consistency rule of the facade, "… (QdPrinters.cpp, line N)".
class EQdAssertionFailed : public Exception
{
public:
    using Exception::Exception;
};

// Setting indices: index i is supported when the field mask has bit i of
// kQdFieldMaskBits (the printer settings record's traditional bit values).
namespace QdField {
enum : int { Orientation, PaperSize, PaperLength, PaperWidth, Scale, Copies, DefaultSource, PrintQuality, Color,
             Duplex, YResolution, TTOption, Collate, FormName, LogPixels, PanningWidth, PanningHeight, Count };
}
inline constexpr quint32 kQdFieldMaskBits[QdField::Count] = {
    0x1, 0x2, 0x4, 0x8, 0x10, 0x100, 0x200, 0x400, 0x800,
    0x1000, 0x2000, 0x4000, 0x8000, 0x10000, 0x20000, 0x8000000, 0x10000000,
};

// A set of setting indices 0 … 31.
class TQdFieldSet
{
public:
    static TQdFieldSet fromMask(quint32 fieldMask);
    bool contains(int index) const { return index >= 0 && index <= 31 && (m_bits >> index) & 1u; }
    QList<int> indices() const;

private:
    quint32 m_bits = 0;
};

// The facade's copy of the current printer's settings.
struct TQdSettingsRecord
{
    quint32 Fields = 0;   // field mask, kQdFieldMaskBits
    int Orientation = 1;  // 1 portrait, anything else landscape
    int Copies = 1;
};

// What a destination's IPP attributes tell the program.
struct TQdPrinterTraits
{
    quint32 Fields = 0;
    std::optional<int> MaxCopies;  // upper bound of copies-supported
    QStringList Members;           // member-names, for a class
};

// From a Get-Printer-Attributes response; a null message gives no traits.
TQdPrinterTraits QdPrinterTraitsFromIpp(ipp_t *attributes);

// A snapshot of the CUPS destinations as the print dialog lists them:
// queues, classes and lpoptions instances ("queue/instance"), in name order.
// One that does not accept jobs, or is only seen on the network without a
// queue, is hidden (kHidden) and not visible to the program.
class TQdAllPrintersInfo
{
public:
    static constexpr quint32 kDefault = 0x4, kClass = 0x8, kHidden = 0x20;
    using Options = QList<QPair<QByteArray, QByteArray>>;
    struct Entry
    {
        QString Name;
        quint32 Attributes = 0;
        Options JobOptions;  // the defaults a job to it carries (lpoptions)
    };

    // Takes the snapshot now; a spooler that does not answer gives an empty
    // one that is not Reachable(). Nothing is thrown.
    // `previous` lends its list when nothing it came from has changed.
    TQdAllPrintersInfo();
    explicit TQdAllPrintersInfo(TQdCupsConnection &connection, const TQdAllPrintersInfo *previous = nullptr);
    explicit TQdAllPrintersInfo(QList<Entry> entries);  // a given set, reachable

    int Count() const { return int(m_entries.size()); }
    const QString &Name(int index) const { return m_entries.at(index).Name; }
    quint32 Attributes(int index) const { return m_entries.at(index).Attributes; }
    const Options &JobOptions(int index) const { return m_entries.at(index).JobOptions; }
    bool IsVisible(int index) const { return !(Attributes(index) & kHidden); }
    bool IsVisible(const QString &name) const { return IndexOf(name) >= 0 && IsVisible(IndexOf(name)); }
    int IndexOf(const QString &name) const;
    // The user's default destination (LPDEST, PRINTER, lpoptions, else the
    // server's); it may be missing from the list. Empty: there is none.
    const QString &DefaultName() const { return m_defaultName; }
    bool Reachable() const { return m_reachable; }
    const QString &Failure() const { return m_failure; }
    // Same reachability and default, and entry by entry the same name and
    // attributes.
    bool Equals(const TQdAllPrintersInfo &other) const;

private:
    QList<Entry> m_entries;
    QString m_defaultName;
    bool m_reachable = true;
    QString m_failure;
    QByteArray m_source;
};

// The one place through which the program reaches the printer: drawing
// surface and job, the current printer's page and capabilities, the copy
// count. Sits on a QPrinter (native format, CUPS) at 600 dpi, and on libcups
// for what Qt does not tell.
//
// The queries and SetCopies begin with CheckNoPrinter. A query compares the
// printer set with a fresh snapshot when the last comparison is more than a
// second old; activating the program compares it on a worker thread. A
// changed set drops the QPrinter, the capabilities and the settings and
// calls OnChange. Every request to CUPS is bounded in time, and after one
// ran out the spooler is not waited for again for a moment, so a stuck
// spooler gives failures, not a frozen window. Qt's own calls into CUPS,
// which have no limit, come right after a comparison that got an answer.
class TQdPrinter
{
public:
    TQdPrinter();
    ~TQdPrinter();
    TQdPrinter(const TQdPrinter &) = delete;
    TQdPrinter &operator=(const TQdPrinter &) = delete;

    // The canvas draws between BeginDoc and EndDoc; EndDoc hands the job to
    // CUPS (LastJobId() tells its id).
    TCanvas &GetCanvas();
    void BeginDoc(const QString &title);
    void NewPage();
    void EndDoc();

    const QStringList &GetPrinters();  // visible ones, snapshot order
    QPoint GetPixelsPerInch();
    QPoint GetPageOffset();            // printable area from the sheet's corner, device pixels
    QRect GetPrintableArea();          // the same, with its size
    QSize GetSheetPixels();            // the whole sheet, device pixels
    int GetScale();                    // percent: always 100, nothing here scales a job
    QSize GetPaperSize();              // tenths of a millimetre
    TQdFieldSet GetAvailableFields();
    int GetOrientation();              // 0 portrait, 1 landscape
    int GetMaxCopies();
    void SetCopies(int copies);
    void ApplySettings();

    void CheckNoPrinter();
    void UpdateCapabilities();
    void RefreshCapabilities();
    void DiscardSettings();
    void CheckPrinterChange();  // the printer-change watch, now

    std::function<void(TQdPrinter *sender)> OnChange;  // the printer set changed

    // The printer of the destination the jobs go to: the one the user chose
    // (SelectPrinter, the set-up dialog), else the user's default, else the
    // only one there is. Never another: EQdPrinterUnavailable says why not.
    QPrinter &PlatformPrinter();
    // Makes `name` the chosen destination, with its own defaults.
    void SelectPrinter(const QString &name);
    const TQdAllPrintersInfo &Snapshot() const { return *m_snapshot; }

    const TQdSettingsRecord *CachedSettings() const { return m_settings.get(); }
    bool SettingsModified() const { return m_modified; }
    int CapabilityReads() const { return m_capabilityReads; }
    int LastJobId() const { return m_lastJobId; }

private:
    friend class TQdPrinterSetupDialog;

    // The QPrinter is not replaced while the set-up dialog or a job uses it.
    bool busy() const { return m_inDialog || m_painter; }
    void ready();  // the watch and the printer check a query begins with
    void watchBeforeAnswer();
    void checkInBackground();
    void takeSnapshot(std::unique_ptr<TQdAllPrintersInfo> fresh);
    const TQdPrinterTraits &traits();
    TQdPrinterTraits readTraits(const QString &queue);
    const TQdSettingsRecord &settings();
    void checkSupport(int index, const QString &message);
    QPoint pixelsPerInch();
    QPrinter &ensurePrinter();
    QString destination() const;
    QStringList visibleNames() const;
    void makePrinter(const QString &name);
    QPrinter &printerForSetup();
    void useDestinationDefaults(bool paper);
    void dropPrinter();
    [[noreturn]] void noAnswer(const QString &reason);
    void abandonJob();

    std::unique_ptr<TQdCupsConnection> m_cups;
    std::unique_ptr<TQdAllPrintersInfo> m_snapshot;
    QStringList m_printerNames;
    std::optional<TQdPrinterTraits> m_traits;  // of the destination m_traitsFor
    QString m_traitsFor;
    std::unique_ptr<TQdSettingsRecord> m_settings;
    bool m_modified = false;

    std::unique_ptr<QPrinter> m_printer;
    QString m_chosenPrinter;  // empty: the default
    // The set-up dialog's printer when the wanted destination cannot take
    // jobs; it goes unless the user confirms it.
    bool m_standIn = false;
    TCanvas m_canvas;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QTemporaryFile> m_jobFile;
    int m_lastJobId = 0;
    bool m_inDialog = false;

    QElapsedTimer m_sinceCheck;
    QFutureWatcher<std::shared_ptr<const TQdAllPrintersInfo>> m_backgroundCheck;
    QElapsedTimer m_backgroundStarted;
    int m_capabilityReads = 0;
};

// The program's one facade, made in main() before any window, freed last.
extern TQdPrinter *QdPrinter;

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

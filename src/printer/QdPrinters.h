// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/cups/DiscTrays.h"
#include "core/cups/PrinterSnapshot.h"
#include "core/cups/PrinterTraits.h"
#include "core/layout/Canvas.h"
#include "core/common/Exception.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QPoint>
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

// Failures of the printer facade. The component's own checks name class and
// operation; what the user can act on (no answer from CUPS, a destination
// that is gone or refuses the job, a class without printers) is in the user's language.
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

// The facade's copy of the current printer's settings.
struct TQdSettingsRecord
{
    quint32 Fields = 0;   // field mask, kQdFieldMaskBits
    int Orientation = 1;  // 1 portrait, anything else landscape
    int Copies = 1;
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
//
// Defined in QdPrinters.cpp, with the destination and its QPrinter in
// QdPrinterDestination.cpp and the job in QdPrinterJob.cpp.
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
    int LastJobId() const { return m_lastJobId; }

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
    // The disc tray the destination's driver offers (from its PPD, read
    // once for the destination); nothing when it prints on no disc.
    const std::optional<DiscTrays::Tray> &GetDiscTray();
    // The options of the destination's driver that the jobs carry besides
    // its defaults (PPD option and choice): what the print set-up dialog
    // chose, or what a command sets for its own jobs and puts back.
    TQdAllPrintersInfo::Options GetDriverOptions();
    void SetDriverOptions(const TQdAllPrintersInfo::Options &options);
    void ApplySettings();

    void RefreshCapabilities();  // reads the current printer anew
    void CheckPrinterChange();   // the printer-change watch, now

    std::function<void(TQdPrinter *sender)> OnChange;  // the printer set changed

    // The printer of the destination the jobs go to: the one the user chose
    // (SelectPrinter, the set-up dialog), else the user's default, else the
    // only one there is. Never another: EQdPrinterUnavailable says why not.
    QPrinter &PlatformPrinter();
    // Makes `name` the chosen destination, with its own defaults.
    void SelectPrinter(const QString &name);
    const TQdAllPrintersInfo &Snapshot() const { return *m_snapshot; }

    // For tests: how often the capabilities were asked of CUPS, which no
    // answer of the facade tells.
    int CapabilityReads() const { return m_capabilityReads; }

private:
    friend class TQdPrinterSetupDialog;

    void CheckNoPrinter();
    void UpdateCapabilities();
    void DiscardSettings();

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
    std::optional<std::optional<DiscTrays::Tray>> m_discTray;  // of the destination m_discTrayFor
    QString m_discTrayFor;
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

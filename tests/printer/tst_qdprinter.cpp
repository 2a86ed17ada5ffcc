// The printer facade against real schedulers: the private CUPS that test.sh
// starts, and a spare one this program starts itself for the cases that
// change queues or stop the scheduler.
#include "support/PrivateCups.h"
#include "support/TestSupport.h"

#include "common/Canvas.h"
#include "printer/QdPrinters.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

#include <cups/cups.h>

#include <csignal>
#include <limits>
#include <sys/types.h>

namespace {

const QString kScript = QStringLiteral(PELORA_TEST_DATA_DIR "/../../scripts/private-cups.sh");

// Points libcups, and with it Qt and the facade, at another scheduler.
class ServerScope
{
public:
    explicit ServerScope(const QString &socket)
        : m_previous(cupsServer())
    {
        cupsSetServer(socket.toLocal8Bit().constData());
    }
    ~ServerScope() { cupsSetServer(m_previous.constData()); }

private:
    QByteArray m_previous;
};

// Runs a program with CUPS_SERVER set; false when it fails or takes over a minute.
bool run(const QString &socket, const QString &program, const QStringList &arguments, QString *output = nullptr,
         bool quiet = false)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), socket);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    const QString text = QString::fromLocal8Bit(process.readAll());
    if (output)
        *output = text;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (!quiet)
            qWarning("%s failed: %s", qPrintable(program), qPrintable(text));
        return false;
    }
    return true;
}

// A scheduler of our own (with the same queues as the private CUPS), for
// tests that add, reject and remove queues or stop the scheduler.
class SpareCups
{
public:
    SpareCups()
        : m_dir(QStringLiteral("/tmp/pq-XXXXXX"))  // short: the socket path is limited
    {
    }
    ~SpareCups() { stop(); }

    bool start() { return run(socket(), kScript, {QStringLiteral("start"), m_dir.path()}); }
    bool stop() { return run(socket(), kScript, {QStringLiteral("stop"), m_dir.path()}); }
    QString socket() const { return m_dir.path() + QStringLiteral("/cups.sock"); }
    QString ppd(const QString &queue) const { return m_dir.path() + QStringLiteral("/ppd/%1.ppd").arg(queue); }
    pid_t pid() const { return TestSupport::readFile(m_dir.path() + QStringLiteral("/cupsd.pid")).trimmed().toInt(); }
    bool tool(const QString &program, const QStringList &arguments) { return run(socket(), program, arguments); }
    // Puts things back after a test, whatever state it left.
    void undo(const QString &program, const QStringList &arguments)
    {
        run(socket(), program, arguments, nullptr, true);
    }

private:
    QTemporaryDir m_dir;
};

struct IppDeleter
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

template <typename E, typename F>
QString thrown(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return e.message();
    }
    return QStringLiteral("(nothing thrown)");
}

void addKeywords(ipp_t *ipp, const char *name, std::initializer_list<const char *> values)
{
    ippAddStrings(ipp, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, name, int(values.size()), nullptr, values.begin());
}

}  // namespace

class TestQdPrinter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Never the machine's own CUPS: only the private one that test.sh
        // (or scripts/private-cups.sh start DIR) sets up.
        if (qEnvironmentVariable("PELORA_PRIVATE_CUPS") != QLatin1String("1")
            || qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QFAIL("no private CUPS: run ./test.sh, or eval \"$(scripts/private-cups.sh start DIR)\" first");
        cupsSetServer(qgetenv("CUPS_SERVER").constData());
    }

    void cleanupTestCase() { m_spare.reset(); }

    void listsVisibleQueuesInServerOrder()
    {
        const TQdAllPrintersInfo snapshot;
        QVERIFY(snapshot.Reachable());
        QStringList names;
        for (int i = 0; i < snapshot.Count(); ++i)
            names << snapshot.Name(i);
        QCOMPARE(names, QStringList({"pelora-a5", "pelora-card", "pelora-hidden", "pelora-pdf"}));
        QVERIFY(!snapshot.IsVisible(snapshot.IndexOf("pelora-hidden")));
        QVERIFY(snapshot.Attributes(snapshot.IndexOf("pelora-pdf")) & TQdAllPrintersInfo::kDefault);

        TQdPrinter facade;
        QCOMPARE(facade.GetPrinters(), QStringList({"pelora-a5", "pelora-card", "pelora-pdf"}));
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-pdf"));
        QCOMPARE(facade.GetPorts().size(), 4);
    }

    void comparesSnapshotsExactly()
    {
        using E = TQdAllPrintersInfo::Entry;
        const TQdAllPrintersInfo base({E{"a", 0x40, {}}, E{"b", 0x60, {}}});
        QVERIFY(base.Equals(TQdAllPrintersInfo({E{"a", 0x40, "file:/x"}, E{"b", 0x60, {}}})));
        QVERIFY(!base.Equals(TQdAllPrintersInfo({E{"a", 0x40, {}}, E{"B", 0x60, {}}})));
        QVERIFY(!base.Equals(TQdAllPrintersInfo({E{"a", 0x40, {}}, E{"b", 0x40, {}}})));
        QVERIFY(!base.Equals(TQdAllPrintersInfo({E{"a", 0x40, {}}})));
        ServerScope nowhere(QStringLiteral("/nonexistent-pelora/cups.sock"));
        QVERIFY(!TQdAllPrintersInfo(QList<E>()).Equals(TQdAllPrintersInfo()));
    }

    void answersForEachQueue_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QSize>("tenthsOfMm");
        QTest::newRow("A4") << "pelora-pdf" << QSize(2100, 2970);
        QTest::newRow("A5") << "pelora-a5" << QSize(1480, 2100);
        QTest::newRow("postcard") << "pelora-card" << QSize(1000, 1480);
    }

    void answersForEachQueue()
    {
        QFETCH(QString, queue);
        QFETCH(QSize, tenthsOfMm);
        TQdPrinter facade;
        facade.SelectPrinter(queue);
        QCOMPARE(facade.GetPixelsPerInch(), QPoint(600, 600));
        const QSize paper = facade.GetPaperSize();
        QVERIFY2(qAbs(paper.width() - tenthsOfMm.width()) <= 5 && qAbs(paper.height() - tenthsOfMm.height()) <= 5,
                 qPrintable(QStringLiteral("%1 x %2").arg(paper.width()).arg(paper.height())));
        // The PPD's imageable area starts 18 × 36 points in: 150 × 300 pixels.
        QCOMPARE(facade.GetPageOffset(), QPoint(150, 300));
        QCOMPARE(facade.GetScale(), 100);
        QCOMPARE(facade.GetOrientation(), 0);
        QCOMPARE(facade.GetAvailableFields().indices(), QList<int>({0, 1, 5, 7, 8, 9, 10, 12, 13, 14}));

        facade.PlatformPrinter().setPageOrientation(QPageLayout::Landscape);
        facade.RefreshCapabilities();
        QCOMPARE(facade.GetOrientation(), 1);
        QCOMPARE(facade.GetPaperSize(), paper.transposed());
    }

    void maxCopiesComeFromTheQueue()
    {
        TQdPrinter facade;
        QCOMPARE(facade.GetMaxCopies(), 9999);
        ServerScope max10(qEnvironmentVariable("PELORA_CUPS_SERVER_MAX10"));
        TQdPrinter limited;
        QCOMPARE(limited.GetPrinters(), QStringList({"pelora-max10"}));
        QCOMPARE(limited.GetMaxCopies(), 10);
    }

    void capabilitiesAreReadOncePerPrinter()
    {
        TQdPrinter facade;
        QCOMPARE(facade.CapabilityReads(), 0);
        facade.GetMaxCopies();
        facade.GetMaxCopies();
        QCOMPARE(facade.CapabilityReads(), 1);
        facade.RefreshCapabilities();
        facade.GetMaxCopies();
        QCOMPARE(facade.CapabilityReads(), 2);
        facade.SelectPrinter("pelora-a5");
        QCOMPARE(facade.CapabilityReads(), 3);
        facade.GetMaxCopies();
        QCOMPARE(facade.CapabilityReads(), 3);
        QVERIFY(facade.PaperNames().contains("iso_a5_148x210mm"));
        QVERIFY(facade.Resolutions().contains(QPoint(600, 600)));
    }

    void refusesCopiesBelowOne_data()
    {
        QTest::addColumn<int>("copies");
        QTest::newRow("0") << 0;
        QTest::newRow("-3") << -3;
        QTest::newRow("INT_MIN") << std::numeric_limits<int>::min();
    }

    void refusesCopiesBelowOne()
    {
        QFETCH(int, copies);
        TQdPrinter facade;
        facade.SetCopies(2);
        QCOMPARE(thrown<EQDPrinterRangeError>([&] { facade.SetCopies(copies); }),
                 QStringLiteral("TQdPrinter.SetCopies: Too Small Copies"));
        QCOMPARE(facade.CachedSettings()->Copies, 2);
    }

    void copiesReachThePrinterOnlyWhenChanged()
    {
        TQdPrinter facade;
        facade.GetMaxCopies();
        facade.SetCopies(1);
        QVERIFY(!facade.SettingsModified());
        facade.ApplySettings();
        QVERIFY(facade.CachedSettings());  // not written, so not dropped
        facade.GetMaxCopies();
        QCOMPARE(facade.CapabilityReads(), 1);

        facade.SetCopies(4);
        QVERIFY(facade.SettingsModified());
        QCOMPARE(facade.PlatformPrinter().copyCount(), 1);
        facade.ApplySettings();
        QCOMPARE(facade.PlatformPrinter().copyCount(), 4);
        QVERIFY(!facade.CachedSettings());
        QVERIFY(!facade.SettingsModified());
    }

    void jobArrivesWithTitleAndCopies()
    {
        TQdPrinter facade;
        facade.SetCopies(3);
        facade.ApplySettings();
        facade.BeginDoc(QStringLiteral("印刷中"));
        facade.GetCanvas().SetFontSize(14);
        facade.GetCanvas().TextOut(300, 300, QStringLiteral("Pelora test page"));
        facade.NewPage();
        facade.EndDoc();
        const int id = facade.LastJobId();
        QVERIFY(id > 0);

        const PrivateCups::Job job = PrivateCups::waitForJob(id);
        QCOMPARE(job.state, int(IPP_JSTATE_COMPLETED));
        QCOMPARE(job.name, QStringLiteral("印刷中"));
        QCOMPARE(job.copies, 3);

        // The driver makes the copies: three times the two pages.
        const QString output =
            qEnvironmentVariable("PELORA_PDF_OUT_DIR") + QStringLiteral("/pelora-pdf/job-%1.pdf").arg(id);
        QString info;
        QVERIFY(run(QString(), QStringLiteral("pdfinfo"), {output}, &info));
        QCOMPARE(QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1), QStringLiteral("6"));
        QString text;
        QVERIFY(run(QString(), QStringLiteral("pdftotext"), {output, QStringLiteral("-")}, &text));
        QCOMPARE(text.count(QStringLiteral("Pelora test page")), 3);
    }

    void jobsThatCannotBePrinted()
    {
        TQdPrinter facade;
        facade.SelectPrinter("pelora-hidden");
        facade.BeginDoc(QStringLiteral("印刷中"));
        facade.BeginDoc(QStringLiteral("印刷中"));  // the first, left open, is dropped
        QVERIFY(thrown<EQdPrinter>([&] { facade.EndDoc(); })
                    .startsWith("TQdPrinter.EndDoc: Print Job not Accepted by pelora-hidden"));
        QCOMPARE(thrown<EQdPrinter>([&] { facade.EndDoc(); }), QStringLiteral("TQdPrinter.EndDoc: No Print Job"));
    }

    void traitsFromPrinterAttributes()
    {
        QCOMPARE(QdPrinterTraitsFromIpp(nullptr).Fields, 0u);

        // What CUPS reports for a raw queue: no media, no resolutions.
        const IppPtr raw(ippNew());
        ippAddInteger(raw.get(), IPP_TAG_PRINTER, IPP_TAG_ENUM, "orientation-requested-supported", 3);
        ippAddRange(raw.get(), IPP_TAG_PRINTER, "copies-supported", 1, 9999);
        addKeywords(raw.get(), "multiple-document-handling-supported",
                    {"separate-documents-uncollated-copies", "separate-documents-collated-copies"});
        addKeywords(raw.get(), "print-color-mode-supported", {"monochrome"});
        addKeywords(raw.get(), "sides-supported", {"one-sided"});
        TQdPrinterTraits traits = QdPrinterTraitsFromIpp(raw.get());
        QCOMPARE(TQdFieldSet::fromMask(traits.Fields).indices(), QList<int>({0, 5, 12}));
        QCOMPARE(traits.MaxCopies, std::optional<int>(9999));
        QCOMPARE(traits.Scale, 100);

        const IppPtr rich(ippNew());
        addKeywords(rich.get(), "media-supported",
                    {"iso_a4_210x297mm", "custom_min_25.4x25.4mm", "custom_max_300x1000mm"});
        addKeywords(rich.get(), "sides-supported", {"one-sided", "two-sided-long-edge"});
        addKeywords(rich.get(), "print-color-mode-supported", {"monochrome", "color"});
        ippAddInteger(rich.get(), IPP_TAG_PRINTER, IPP_TAG_INTEGER, "scaling-default", 0);
        ippAddRange(rich.get(), IPP_TAG_PRINTER, "copies-supported", 1, 0);
        ippAddResolution(rich.get(), IPP_TAG_PRINTER, "printer-resolution-supported", IPP_RES_PER_CM, 118, 118);
        traits = QdPrinterTraitsFromIpp(rich.get());
        QCOMPARE(TQdFieldSet::fromMask(traits.Fields).indices(), QList<int>({1, 2, 3, 4, 5, 8, 9, 10, 13, 14}));
        QCOMPARE(traits.PaperNames, QStringList({"iso_a4_210x297mm"}));
        QCOMPARE(traits.Scale, 100);              // a scale of 0 is none
        QCOMPARE(traits.MaxCopies, std::nullopt);  // no upper bound given
        QCOMPARE(traits.Resolutions, QList<QPoint>({QPoint(299, 299)}));

        // A server may send any 32-bit numbers: those that make no
        // resolution in dots per inch are left out, and with them the fields.
        const IppPtr odd(ippNew());
        const int xs[] = {std::numeric_limits<int>::max(), -600, 0, 600};
        const int ys[] = {std::numeric_limits<int>::max(), 600, 300, -1};
        ippAddResolutions(odd.get(), IPP_TAG_PRINTER, "printer-resolution-supported", 4, IPP_RES_PER_CM, xs, ys);
        traits = QdPrinterTraitsFromIpp(odd.get());
        QCOMPARE(traits.Resolutions, QList<QPoint>());
        QCOMPARE(traits.Fields, 0u);
        const IppPtr large(ippNew());
        ippAddResolution(large.get(), IPP_TAG_PRINTER, "printer-resolution-supported", IPP_RES_PER_INCH,
                         std::numeric_limits<int>::max(), 1200);
        QCOMPARE(QdPrinterTraitsFromIpp(large.get()).Resolutions,
                 QList<QPoint>({QPoint(std::numeric_limits<int>::max(), 1200)}));
    }

    void setupDialogRefreshesWhenConfirmed()
    {
        TQdPrinter facade;
        facade.GetMaxCopies();
        {
            TQdPrinterSetupDialog dialog(nullptr, &facade);
            QTimer::singleShot(0, &dialog, &QDialog::reject);
            QVERIFY(!dialog.Execute());
        }
        QCOMPARE(facade.CapabilityReads(), 1);
        {
            TQdPrinterSetupDialog dialog(nullptr, &facade);
            QTimer::singleShot(0, &dialog, [&dialog] {
                auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("printers"));
                if (printers)
                    printers->setCurrentIndex(printers->findText(QStringLiteral("pelora-a5")));
                dialog.accept();
            });
            QVERIFY(dialog.Execute());
        }
        QCOMPARE(facade.CapabilityReads(), 2);
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-a5"));
        QCOMPARE(facade.SelectedIndex(), facade.Snapshot().IndexOf("pelora-a5"));
    }

    // --- on the spare scheduler ---------------------------------------------

    void onlyHiddenQueuesMeanNoPrinter()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        const auto accept =
            qScopeGuard([&spare] { spare.undo("cupsaccept", {"pelora-pdf", "pelora-a5", "pelora-card"}); });
        QVERIFY(spare.tool("cupsreject", {"pelora-pdf", "pelora-a5", "pelora-card"}));
        TQdPrinter facade;
        int changes = 0;
        facade.OnChange = [&changes](TQdPrinter *) { ++changes; };
        const QString noPrinter = QStringLiteral("TQdPrinter.CheckNoPrinter: No Printer");
        QCOMPARE(thrown<EQdPrinterNoPrinter>([&] { facade.GetPrinters(); }), noPrinter);
        QCOMPARE(thrown<EQdPrinterNoPrinter>([&] { facade.GetPixelsPerInch(); }), noPrinter);
        QCOMPARE(thrown<EQdPrinterNoPrinter>([&] { facade.GetPaperSize(); }), noPrinter);
        QCOMPARE(thrown<EQdPrinterNoPrinter>([&] { facade.GetMaxCopies(); }), noPrinter);
        QCOMPARE(thrown<EQdPrinterNoPrinter>([&] { facade.SetCopies(2); }), noPrinter);
        QCOMPARE(thrown<EQdPrinterNoPrinter>([&] { facade.GetCanvas(); }), noPrinter);

        QVERIFY(spare.tool("cupsaccept", {"pelora-a5"}));
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QCOMPARE(changes, 1);
        QCOMPARE(facade.GetPrinters(), QStringList({"pelora-a5"}));
    }

    void queuesAddedAndRemovedAreSeen()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        TQdPrinter facade;
        int changes = 0;
        facade.OnChange = [&changes](TQdPrinter *) { ++changes; };
        facade.SelectPrinter("pelora-a5");
        const int ports = facade.GetPorts().size();

        const auto remove = qScopeGuard([&spare] {
            spare.undo("lpadmin", {"-x", "pelora-raw"});
            spare.undo("lpadmin", {"-x", "pelora-raw2"});
        });
        // Two raw queues: no PPD, so no media; one device between them.
        QVERIFY(spare.tool("lpadmin", {"-p", "pelora-raw", "-E", "-v", "file:/dev/null"}));
        QVERIFY(spare.tool("lpadmin", {"-p", "pelora-raw2", "-E", "-v", "file:/dev/null"}));
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QCOMPARE(changes, 1);
        QVERIFY(facade.GetPrinters().contains("pelora-raw"));
        QCOMPARE(facade.GetPorts().size(), ports + 1);
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-a5"));  // kept by name

        facade.SelectPrinter("pelora-raw");
        QCOMPARE(facade.GetMaxCopies(), 9999);
        QVERIFY(!facade.GetAvailableFields().contains(QdField::PaperSize));
        QCOMPARE(thrown<EQdPrinterNoInfo>([&] { facade.GetPaperSize(); }),
                 QStringLiteral("TQdPrinter.GetPaperSize: No Paper Info Available"));
        QCOMPARE(thrown<EQdPrinterNoInfo>([&] { facade.GetPageOffset(); }),
                 QStringLiteral("TQdPrinter.GetPageOffset: No Paper Info Available"));

        // Gone between two calls: a clear failure, then the default printer.
        QVERIFY(spare.tool("lpadmin", {"-x", "pelora-raw"}));
        QVERIFY(thrown<EQdPrinter>([&] { facade.RefreshCapabilities(); }).contains("pelora-raw not Available"));
        QVERIFY(!facade.GetPrinters().contains("pelora-raw"));
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-pdf"));
        QCOMPARE(changes, 2);

        // Without activation, a later query sees it within the throttle.
        QVERIFY(spare.tool("lpadmin", {"-x", "pelora-raw2"}));
        QTRY_VERIFY_WITH_TIMEOUT(!facade.GetPrinters().contains("pelora-raw2"), 10000);
        QCOMPARE(changes, 3);
    }

    void scaleOfTheQueue_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("scale");
        QTest::newRow("50 %") << 50 << 50;
        QTest::newRow("0 is 100 %") << 0 << 100;
    }

    void scaleOfTheQueue()
    {
        QFETCH(int, setting);
        QFETCH(int, scale);
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        const auto remove = qScopeGuard([&spare] { spare.undo("lpadmin", {"-x", "pelora-scaled"}); });
        QVERIFY(spare.tool("lpadmin", {"-p", "pelora-scaled", "-E", "-v", "file:/dev/null", "-P",
                                       spare.ppd("pelora-pdf"), "-o",
                                       QStringLiteral("scaling-default=%1").arg(setting)}));
        TQdPrinter facade;
        facade.SelectPrinter("pelora-scaled");
        QVERIFY(facade.GetAvailableFields().contains(QdField::Scale));
        QCOMPARE(facade.GetScale(), scale);
        const QSize paper = facade.GetPaperSize();
        QVERIFY2(qAbs(paper.width() - 2100 * scale / 100) <= 5, qPrintable(QString::number(paper.width())));
    }

    void stoppedSchedulerRaisesInsteadOfHanging()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        TQdPrinter facade;
        int changes = 0;
        facade.OnChange = [&changes](TQdPrinter *) { ++changes; };
        QCOMPARE(facade.GetMaxCopies(), 9999);

        const auto restart = qScopeGuard([&spare] { spare.start(); });
        QVERIFY(spare.stop());
        QElapsedTimer clock;
        clock.start();
        facade.CheckPrinterChange();
        QVERIFY(thrown<EQdPrinterNoSpooler>([&] { facade.GetPrinters(); }).contains("Print Spooler not Available"));
        QVERIFY(thrown<EQdPrinterNoPrinter>([&] { facade.GetCanvas(); }).contains("Print Spooler not Available"));
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(changes, 1);

        QVERIFY(spare.start());
        facade.CheckPrinterChange();
        QCOMPARE(facade.GetMaxCopies(), 9999);
    }

    void stuckSchedulerIsWaitedForBoundedly()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        TQdPrinter facade;
        QCOMPARE(facade.GetPrinters().size(), 3);
        const pid_t pid = spare.pid();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
        QElapsedTimer clock;
        clock.start();
        facade.CheckPrinterChange();
        QVERIFY(thrown<EQdPrinterNoSpooler>([&] { facade.GetPrinters(); }).contains("Print Spooler not Available"));
        // One request: a second for the server's go-ahead, five for the answer.
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    }

    void noSchedulerAtAll()
    {
        ServerScope scope(QStringLiteral("/nonexistent-pelora/cups.sock"));
        QElapsedTimer clock;
        clock.start();
        TQdPrinter facade;
        QVERIFY(!facade.Snapshot().Reachable());
        QVERIFY(thrown<EQdPrinterNoSpooler>([&] { facade.GetPrinters(); })
                    .startsWith("TQdPrinter.CheckNoPrinter: Print Spooler not Available"));
        QVERIFY(facade.GetPorts().isEmpty());
        QVERIFY(clock.elapsed() < 3000);
    }

private:
    SpareCups &spareCups()
    {
        if (!m_spare) {
            m_spare = std::make_unique<SpareCups>();
            if (!m_spare->start())
                qFatal("the spare CUPS did not start (%s)", qPrintable(kScript));
        }
        return *m_spare;
    }

    std::unique_ptr<SpareCups> m_spare;
};

PELORA_TEST_MAIN(TestQdPrinter)
#include "tst_qdprinter.moc"

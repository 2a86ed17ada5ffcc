// SPDX-License-Identifier: GPL-3.0-or-later
// The printer facade against real schedulers: the private CUPS that test.sh
// starts, and a spare one this program starts itself for the cases that
// change queues or stop the scheduler.
#include "support/PrivateCups.h"
#include "support/SpareCups.h"
#include "support/TestSupport.h"

#include "core/layout/Canvas.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "core/cups/CupsConnection.h"
#include "gui/dialogs/PrinterSetupDialog.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

#include <cups/cups.h>

#include <csignal>
#include <limits>

namespace {

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

const QString kNoAnswer = QStringLiteral("印刷システム (CUPS) から応答がありません。");

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

    void listsTheDestinationsThatTakeJobs()
    {
        const TQdAllPrintersInfo snapshot;
        QVERIFY(snapshot.Reachable());
        QStringList names;
        for (int i = 0; i < snapshot.Count(); ++i)
            names << snapshot.Name(i);
        QCOMPARE(names, QStringList({"pelora-a5", "pelora-card", "pelora-class", "pelora-disc", "pelora-ep801a", "pelora-hidden",
                                     "pelora-ip7200", "pelora-margins", "pelora-pdf", "pelora-pdf/letter", "pelora-raw",
                                     "pelora-scaled"}));
        QVERIFY(!snapshot.IsVisible(QStringLiteral("pelora-hidden")));
        QVERIFY(snapshot.Attributes(snapshot.IndexOf("pelora-class")) & TQdAllPrintersInfo::kClass);
        // The instance holds the default mark of the queue it belongs to
        // neither in libcups nor here: the server's default stands.
        QVERIFY(snapshot.Attributes(snapshot.IndexOf("pelora-pdf")) & TQdAllPrintersInfo::kDefault);
        QVERIFY(snapshot.JobOptions(snapshot.IndexOf("pelora-pdf/letter")).contains({"copies", "2"}));

        TQdPrinter facade;
        QCOMPARE(facade.GetPrinters().size(), names.size() - 1);
        QVERIFY(!facade.GetPrinters().contains("pelora-hidden"));
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-pdf"));
    }

    void comparesSnapshotsExactly()
    {
        using E = TQdAllPrintersInfo::Entry;
        const TQdAllPrintersInfo base({E{"a", 0x40, {}}, E{"b", 0x60, {}}});
        QVERIFY(base.Equals(TQdAllPrintersInfo({E{"a", 0x40, {{"copies", "2"}}}, E{"b", 0x60, {}}})));
        QVERIFY(!base.Equals(TQdAllPrintersInfo({E{"a", 0x40, {}}, E{"B", 0x60, {}}})));
        QVERIFY(!base.Equals(TQdAllPrintersInfo({E{"a", 0x40, {}}, E{"b", 0x40, {}}})));
        QVERIFY(!base.Equals(TQdAllPrintersInfo({E{"a", 0x40, {}}})));
        ServerScope nowhere(QStringLiteral("/nonexistent-pelora/cups.sock"));
        QVERIFY(!TQdAllPrintersInfo(QList<E>()).Equals(TQdAllPrintersInfo()));
    }

    // Every kind of destination answers for its own sheet and printable
    // area, at 600 dpi and 100 %: the jacket goes out at its real size.
    void answersForEachDestination_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QSize>("tenthsOfMm");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QList<int>>("fields");
        const QList<int> generic{0, 1, 5, 13};
        // The test queues' imageable area starts 1/8 inch in on A4 and Letter,
        // where Qt keeps its own 10-point margins (83 pixels), and 18 × 36
        // points (150 × 300 pixels) in on the other sizes.
        QTest::newRow("A4") << "pelora-pdf" << QSize(2100, 2970) << QPoint(83, 83) << generic;
        QTest::newRow("A5") << "pelora-a5" << QSize(1480, 2100) << QPoint(150, 300) << generic;
        QTest::newRow("postcard") << "pelora-card" << QSize(1000, 1480) << QPoint(150, 300) << generic;
        QTest::newRow("half-inch margins") << "pelora-margins" << QSize(2100, 2970) << QPoint(300, 300) << generic;
        QTest::newRow("scaling-default 80") << "pelora-scaled" << QSize(2100, 2970) << QPoint(83, 83) << generic;
        // A class: media from its member, copies and orientation its own.
        QTest::newRow("class") << "pelora-class" << QSize(2100, 2970) << QPoint(83, 83) << generic;
        QTest::newRow("instance, Letter") << "pelora-pdf/letter" << QSize(2159, 2794) << QPoint(83, 83) << generic;
        // No PPD, no media: the locale's paper with Qt's own margins.
        QTest::newRow("raw") << "pelora-raw" << QSize(2100, 2970) << QPoint(83, 83) << QList<int>{0, 5};
    }

    void answersForEachDestination()
    {
        QFETCH(QString, destination);
        QFETCH(QSize, tenthsOfMm);
        QFETCH(QPoint, offset);
        QFETCH(QList<int>, fields);
        TQdPrinter facade;
        facade.SelectPrinter(destination);
        QCOMPARE(facade.GetPixelsPerInch(), QPoint(600, 600));
        QCOMPARE(facade.GetScale(), 100);
        const QSize paper = facade.GetPaperSize();
        QVERIFY2(qAbs(paper.width() - tenthsOfMm.width()) <= 5 && qAbs(paper.height() - tenthsOfMm.height()) <= 5,
                 qPrintable(QStringLiteral("%1 x %2").arg(paper.width()).arg(paper.height())));
        QCOMPARE(facade.GetPageOffset(), offset);
        QCOMPARE(facade.GetAvailableFields().indices(), fields);
        QCOMPARE(facade.GetMaxCopies(), 9999);
        QCOMPARE(facade.GetOrientation(), 0);

        facade.PlatformPrinter().setPageOrientation(QPageLayout::Landscape);
        facade.RefreshCapabilities();
        QCOMPARE(facade.GetOrientation(), 1);
        QCOMPARE(facade.GetPaperSize(), paper.transposed());
    }

    void destinationWithoutPaperTakesTheLocalesPaper_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QSize>("tenthsOfMm");
        QTest::newRow("Japan") << QLocale(QLocale::Japanese, QLocale::Japan) << QSize(2100, 2970);
        QTest::newRow("United States") << QLocale(QLocale::English, QLocale::UnitedStates) << QSize(2159, 2794);
        QTest::newRow("Canada") << QLocale(QLocale::French, QLocale::Canada) << QSize(2159, 2794);
    }

    void destinationWithoutPaperTakesTheLocalesPaper()
    {
        QFETCH(QLocale, locale);
        QFETCH(QSize, tenthsOfMm);
        const QLocale previous;
        QLocale::setDefault(locale);
        const auto restore = qScopeGuard([&previous] { QLocale::setDefault(previous); });
        TQdPrinter facade;
        facade.SelectPrinter(QStringLiteral("pelora-raw"));
        const QSize paper = facade.GetPaperSize();
        QVERIFY2(qAbs(paper.width() - tenthsOfMm.width()) <= 5 && qAbs(paper.height() - tenthsOfMm.height()) <= 5,
                 qPrintable(QStringLiteral("%1 x %2").arg(paper.width()).arg(paper.height())));
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

    // One read per destination, kept by its name: an instance is a
    // destination of its own, with its own defaults.
    void capabilitiesAreReadOncePerDestination()
    {
        TQdPrinter facade;
        QCOMPARE(facade.CapabilityReads(), 0);
        facade.GetMaxCopies();
        facade.GetMaxCopies();
        facade.SetCopies(3);
        facade.ApplySettings();
        facade.GetOrientation();
        QCOMPARE(facade.CapabilityReads(), 1);
        facade.RefreshCapabilities();
        facade.GetMaxCopies();
        QCOMPARE(facade.CapabilityReads(), 2);

        facade.SelectPrinter("pelora-pdf/letter");
        QCOMPARE(facade.CapabilityReads(), 3);
        QCOMPARE(facade.PlatformPrinter().copyCount(), 2);  // the instance's lpoptions
        facade.GetMaxCopies();
        QCOMPARE(facade.CapabilityReads(), 3);
        facade.SelectPrinter("pelora-pdf");
        QCOMPARE(facade.CapabilityReads(), 4);
        QCOMPARE(facade.PlatformPrinter().copyCount(), 1);
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
        facade.ApplySettings();
        QCOMPARE(facade.PlatformPrinter().copyCount(), 2);
    }

    // A count is compared with the printer's as it was read, and a changed
    // one is written once: a count given the printer meanwhile shows which.
    void copiesReachThePrinterOnlyWhenChanged()
    {
        TQdPrinter facade;
        facade.SelectPrinter("pelora-pdf/letter");  // 2 copies of its own
        facade.SetCopies(2);
        facade.PlatformPrinter().setCopyCount(5);
        facade.ApplySettings();
        QCOMPARE(facade.PlatformPrinter().copyCount(), 5);

        facade.SetCopies(4);
        QCOMPARE(facade.PlatformPrinter().copyCount(), 5);
        facade.ApplySettings();
        QCOMPARE(facade.PlatformPrinter().copyCount(), 4);
        facade.PlatformPrinter().setCopyCount(6);
        facade.ApplySettings();
        QCOMPARE(facade.PlatformPrinter().copyCount(), 6);
        facade.SetCopies(4);  // read anew: 6
        facade.ApplySettings();
        QCOMPARE(facade.PlatformPrinter().copyCount(), 4);
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
        const QString output = PrivateCups::output(QStringLiteral("pelora-pdf"), id);
        QCOMPARE(PrivateCups::pdfPages(output), 6);
        QCOMPARE(PrivateCups::runTool(QStringLiteral("pdftotext"), {output, QStringLiteral("-")})
                     .count(QStringLiteral("Pelora test page")),
                 3);
    }

    void jobsThatCannotBePrinted()
    {
        TQdPrinter facade;
        const QString refused = QStringLiteral("プリンタ「pelora-hidden」は印刷を受け付けていません。");
        QVERIFY(thrown<EQdPrinterUnavailable>([&] { facade.SelectPrinter("pelora-hidden"); }).startsWith(refused));
        QVERIFY(thrown<EQdPrinterUnavailable>([&] { facade.BeginDoc(QStringLiteral("印刷中")); }).startsWith(refused));
        QCOMPARE(thrown<EQdPrinter>([&] { facade.EndDoc(); }), QStringLiteral("TQdPrinter.EndDoc: No Print Job"));

        facade.SelectPrinter("pelora-pdf");
        facade.BeginDoc(QStringLiteral("印刷中"));
        facade.BeginDoc(QStringLiteral("印刷中"));  // the first, left open, is dropped
        facade.EndDoc();
        QCOMPARE(PrivateCups::waitForJob(facade.LastJobId()).state, int(IPP_JSTATE_COMPLETED));
        QCOMPARE(thrown<EQdPrinter>([&] { facade.EndDoc(); }), QStringLiteral("TQdPrinter.EndDoc: No Print Job"));
    }

    void traitsFromPrinterAttributes()
    {
        QCOMPARE(QdPrinterTraitsFromIpp(nullptr).Fields, 0u);

        // What CUPS reports for a raw queue: no media.
        const IppPtr raw(ippNew());
        ippAddInteger(raw.get(), IPP_TAG_PRINTER, IPP_TAG_ENUM, "orientation-requested-supported", 3);
        ippAddRange(raw.get(), IPP_TAG_PRINTER, "copies-supported", 1, 9999);
        addKeywords(raw.get(), "media-supported", {"custom_min_25.4x25.4mm", "custom_max_300x1000mm"});
        TQdPrinterTraits traits = QdPrinterTraitsFromIpp(raw.get());
        QCOMPARE(TQdFieldSet::fromMask(traits.Fields).indices(), QList<int>({0, 5}));
        QCOMPARE(traits.MaxCopies, std::optional<int>(9999));

        // A scale setting is no setting here: nothing would apply it.
        const IppPtr rich(ippNew());
        addKeywords(rich.get(), "media-supported", {"iso_a4_210x297mm", "custom_min_25.4x25.4mm"});
        ippAddInteger(rich.get(), IPP_TAG_PRINTER, IPP_TAG_INTEGER, "scaling-default", 80);
        ippAddRange(rich.get(), IPP_TAG_PRINTER, "copies-supported", 1, 0);
        ippAddStrings(rich.get(), IPP_TAG_PRINTER, IPP_TAG_NAME, "member-names", 2, nullptr,
                      std::array<const char *, 2>{"q1", "q2"}.data());
        traits = QdPrinterTraitsFromIpp(rich.get());
        QCOMPARE(TQdFieldSet::fromMask(traits.Fields).indices(), QList<int>({1, 5, 13}));
        QCOMPARE(traits.MaxCopies, std::nullopt);  // no upper bound given
        QCOMPARE(traits.Members, QStringList({"q1", "q2"}));
    }

    void setupDialogOffersWhatTakesJobs()
    {
        TQdPrinter facade;
        facade.GetMaxCopies();
        const auto choose = [&facade](const QString &destination, bool confirm) {
            TQdPrinterSetupDialog dialog(nullptr, &facade);
            QStringList offered;
            QTimer::singleShot(0, &dialog, [&] {
                auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("printers"));
                for (int i = 0; printers && i < printers->count(); ++i)
                    offered << printers->itemText(i);
                if (printers)
                    printers->setCurrentIndex(printers->findText(destination));
                confirm ? dialog.accept() : dialog.reject();
            });
            [[maybe_unused]] const bool accepted = dialog.Execute();
            return offered;
        };
        // Looking at another destination and cancelling changes nothing.
        const QStringList offered = choose(QStringLiteral("pelora-a5"), false);
        QVERIFY(!offered.contains("pelora-hidden"));
        QVERIFY(offered.contains("pelora-pdf/letter") && offered.contains("pelora-raw"));
        QCOMPARE(facade.CapabilityReads(), 1);
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-pdf"));

        // Confirming another destination brings its own paper and defaults.
        choose(QStringLiteral("pelora-pdf/letter"), true);
        QCOMPARE(facade.CapabilityReads(), 2);
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-pdf/letter"));
        QCOMPARE(facade.GetPixelsPerInch(), QPoint(600, 600));
        QVERIFY(qAbs(facade.GetPaperSize().width() - 2159) <= 5);
        QCOMPARE(facade.PlatformPrinter().copyCount(), 2);
    }

    // --- on the spare scheduler ---------------------------------------------

    void onlyHiddenQueuesMeanNoPrinter()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        const auto accept = qScopeGuard([&spare] { spare.tool("cupsaccept", kAcceptingQueues, true); });
        QVERIFY(spare.tool("cupsreject", kAcceptingQueues));
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

        // Coming back to the program looks again, in the background.
        QVERIFY(spare.tool("cupsaccept", {"pelora-a5"}));
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QTRY_COMPARE(changes, 1);
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

        const auto remove = qScopeGuard([&spare] {
            spare.removeQueue("pelora-new", true);
            spare.removeQueue("pelora-new2", true);
        });
        // An instance made with lpoptions meanwhile, then new queues.
        const QString lpoptions = qEnvironmentVariable("CUPS_SERVERROOT") + QStringLiteral("/lpoptions");
        const QByteArray instances = TestSupport::readFile(lpoptions);
        const auto restore = qScopeGuard([&] { TestSupport::writeFile(lpoptions, instances); });
        TestSupport::writeFile(lpoptions, instances + "Dest pelora-a5/two copies=2\n");
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QTRY_COMPARE(changes, 1);
        QVERIFY(facade.GetPrinters().contains("pelora-a5/two"));
        QVERIFY(spare.addQueue("pelora-new"));
        QVERIFY(spare.addQueue("pelora-new2"));
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QTRY_COMPARE(changes, 2);
        QVERIFY(facade.GetPrinters().contains("pelora-new"));
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-a5"));  // kept by name

        // Gone between two calls: a message that says what to do, and no
        // other printer in its place.
        facade.SelectPrinter("pelora-new");
        QVERIFY(spare.removeQueue("pelora-new"));
        const QString gone = QStringLiteral("プリンタ「pelora-new」が見つかりません。「プリンタ設定」でプリンタを選び直してください。");
        QVERIFY(thrown<EQdPrinterUnavailable>([&] { facade.RefreshCapabilities(); }).startsWith(gone));
        QVERIFY(!facade.GetPrinters().contains("pelora-new"));
        QVERIFY(thrown<EQdPrinterUnavailable>([&] { facade.PlatformPrinter(); }).startsWith(gone));
        QCOMPARE(changes, 3);

        // Without activation, a later query sees it within the throttle.
        QVERIFY(spare.removeQueue("pelora-new2"));
        QTRY_VERIFY_WITH_TIMEOUT(!facade.GetPrinters().contains("pelora-new2"), 10000);
        QCOMPARE(changes, 4);
    }

    // No default and nothing chosen: the one printer there is, never the
    // first of several.
    void withoutDefaultOnlyTheOnlyPrinterIsTaken()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        const auto restore = qScopeGuard([&spare] {
            spare.stop();
            spare.start();
        });
        QVERIFY(spare.removeQueue("pelora-pdf"));  // the server's default
        TQdPrinter facade;
        QVERIFY(thrown<EQdPrinterUnavailable>([&] { facade.PlatformPrinter(); })
                    .startsWith("既定のプリンタが決まっていません。「プリンタ設定」で印刷に使うプリンタを選んでください。"));
        QStringList others = facade.GetPrinters();
        others.removeAll("pelora-a5");
        QVERIFY(spare.tool("cupsreject", others));
        facade.CheckPrinterChange();
        QCOMPARE(facade.PlatformPrinter().printerName(), QStringLiteral("pelora-a5"));
    }

    void classWithoutPrintersSaysSo()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        const auto restore = qScopeGuard([&spare] {
            spare.tool("cupsaccept", {"pelora-pdf"}, true);
            spare.tool("lpadmin", {"-p", "pelora-pdf", "-c", "pelora-class"}, true);
        });
        QVERIFY(spare.tool("cupsreject", {"pelora-pdf"}));
        TQdPrinter facade;
        const QString message = QStringLiteral("プリンタクラス「pelora-class」には印刷を受け付けるプリンタがありません。");
        QVERIFY(thrown<EQdPrinter>([&] { facade.SelectPrinter("pelora-class"); }).startsWith(message));
        QVERIFY(thrown<EQdPrinter>([&] { facade.GetPaperSize(); }).startsWith(message));
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
        QVERIFY(thrown<EQdPrinterNoSpooler>([&] { facade.GetPrinters(); }).startsWith(kNoAnswer));
        QVERIFY(thrown<EQdPrinterNoPrinter>([&] { facade.GetCanvas(); }).startsWith(kNoAnswer));
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(changes, 1);

        QVERIFY(spare.start());
        facade.CheckPrinterChange();
        QCOMPARE(facade.GetMaxCopies(), 9999);
    }

    // A scheduler that takes connections and never answers: no user action
    // and no activation of the window waits more than 3 s on it, and each
    // says so with its usual message.
    void frozenSchedulerNeverHoldsTheWindow()
    {
        SpareCups &spare = spareCups();
        ServerScope scope(spare.socket());
        const ScopedConfigDir config;
        QdPrinter = new TQdPrinter();
        TForm1 form;
        PreVForm = new TPreVForm(&form);
        const auto cleanUp = qScopeGuard([] {
            delete PreVForm;
            PreVForm = nullptr;
            delete QdPrinter;
            QdPrinter = nullptr;
        });
        form.ListBox1->setItems({QStringLiteral("一曲目")});
        QCOMPARE(QdPrinter->GetMaxCopies(), 9999);

        const pid_t pid = spare.pid();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
        MessageRecorder messages;
        QElapsedTimer clock;
        const auto within = [&clock](const char *what) {
            QVERIFY2(clock.elapsed() < 3000, qPrintable(QStringLiteral("%1 took %2 ms").arg(what).arg(clock.elapsed())));
        };

        clock.start();
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY2(clock.elapsed() < 100, "activation waited on CUPS");

        clock.start();
        form.U1->trigger();
        within("the set-up dialog");
        clock.start();
        form.PreVBtn->click();
        within("the preview");
        clock.start();
        form.Button1->click();
        within("the print button");
        QCOMPARE(messages.texts().size(), 3);
        for (const Messages::Request &shown : messages.shown())
            QVERIFY2(shown.kind == Messages::Kind::Error && shown.text.startsWith(kNoAnswer), qPrintable(shown.text));

        // Thawed, the next command prints.
        ::kill(pid, SIGCONT);
        messages.clear();
        QTRY_VERIFY_WITH_TIMEOUT((QdPrinter->CheckPrinterChange(), QdPrinter->Snapshot().Reachable()), 10000);
        form.Button1->click();
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
        QVERIFY(QdPrinter->LastJobId() > 0);
    }

    void noSchedulerAtAll()
    {
        ServerScope scope(QStringLiteral("/nonexistent-pelora/cups.sock"));
        QElapsedTimer clock;
        clock.start();
        TQdPrinter facade;
        QVERIFY(!facade.Snapshot().Reachable());
        QVERIFY(thrown<EQdPrinterNoSpooler>([&] { facade.GetPrinters(); }).startsWith(kNoAnswer));
        QVERIFY(clock.elapsed() < 3000);
    }

private:
    SpareCups &spareCups()
    {
        if (!m_spare) {
            m_spare = std::make_unique<SpareCups>();
            if (!m_spare->start())
                qFatal("the spare CUPS did not start");
        }
        return *m_spare;
    }

    std::unique_ptr<SpareCups> m_spare;
};

PELORA_TEST_MAIN(TestQdPrinter)
#include "tst_qdprinter.moc"

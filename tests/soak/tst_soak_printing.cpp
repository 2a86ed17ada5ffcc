// SPDX-License-Identifier: GPL-3.0-or-later
// Five hundred print jobs and five hundred preview showings in one run of
// the program, against the private CUPS: every job reaches the scheduler
// and is printed, every preview shows the same picture, nothing is said,
// and the memory the program holds after the first fifty rounds is what it
// holds after all of them (peak and resident size within 10 %).
#include "soak/SoakSupport.h"

#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "printer/QdPrinters.h"
#include "support/PrivateCups.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLineEdit>

#include <cups/cups.h>

namespace {

// AddressSanitizer keeps freed memory aside for a while, so under it the
// resident size tells nothing about what the program holds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryTells = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryTells = false;
#else
constexpr bool kMemoryTells = true;
#endif
#else
constexpr bool kMemoryTells = true;
#endif

constexpr int kRounds = 500;
constexpr int kWarmUp = 50;
constexpr double kMostGrowth = 1.10;
const QString kTitle = QStringLiteral("耐久テスト盤 Soak");

QStringList tracks()
{
    return {QStringLiteral("夜明けのうた  (03:25)"), QStringLiteral("Harbour Lights  (04:10)"),
            QStringLiteral("青いガラス玉  (02:58)"), QStringLiteral("ひまわり畑で  (05:02)")};
}

// What a loop of the event loop would do between two clicks of the user.
void betweenClicks()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The share of pixels of which a colour differs by more than a third.
double differingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1.0;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            differing += qAbs(qRed(p) - qRed(q)) > 85 || qAbs(qGreen(p) - qGreen(q)) > 85 || qAbs(qBlue(p) - qBlue(q)) > 85;
        }
    }
    return double(differing) / (qint64(a.width()) * a.height());
}

QString growth(const Soak::Memory &before, const Soak::Memory &after)
{
    return QStringLiteral("after %1 rounds: %2; after %3: %4")
        .arg(kWarmUp)
        .arg(Soak::describe(before))
        .arg(kRounds)
        .arg(Soak::describe(after));
}

}  // namespace

class SoakPrintingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void fiveHundredPrintJobs();
    void fiveHundredPreviews();

private:
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
};

void SoakPrintingTest::initTestCase()
{
    QVERIFY2(PrivateCups::available(), "run through ./test.sh --soak: it starts a private CUPS");
    m_config = std::make_unique<ScopedConfigDir>();
    QdPrinter = new TQdPrinter();
    m_form = std::make_unique<TForm1>();
    PreVForm = new TPreVForm(m_form.get());
    m_form->EditTi->setText(kTitle);
    m_form->ListBox1->setItems(tracks());
}

void SoakPrintingTest::cleanupTestCase()
{
    delete PreVForm;
    PreVForm = nullptr;
    m_form.reset();
    delete QdPrinter;
    QdPrinter = nullptr;
    m_config.reset();
}

void SoakPrintingTest::fiveHundredPrintJobs()
{
    MessageRecorder messages;
    m_form->RGTwoSides->setItemIndex(0);
    QVERIFY(Soak::resetPeak());
    Soak::Memory warm;
    QList<int> jobs;
    QElapsedTimer clock;
    clock.start();
    for (int round = 1; round <= kRounds; ++round) {
        const int before = QdPrinter->LastJobId();
        m_form->Button1Click(m_form->Print1);
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
        QVERIFY2(QdPrinter->LastJobId() > before, qPrintable(QStringLiteral("job %1 was not handed over").arg(round)));
        jobs << QdPrinter->LastJobId();
        betweenClicks();
        if (round == kWarmUp)
            warm = Soak::memory();
        if (round % 100 == 0)
            qInfo("%d jobs in %lld ms: %s", round, clock.elapsed(), qPrintable(Soak::describe(Soak::memory())));
    }
    const Soak::Memory end = Soak::memory();
    qInfo("print jobs: %s", qPrintable(growth(warm, end)));
    if (kMemoryTells) {
        QVERIFY2(end.peakKiB <= warm.peakKiB * kMostGrowth, qPrintable(growth(warm, end)));
        QVERIFY2(end.currentKiB <= warm.currentKiB * kMostGrowth, qPrintable(growth(warm, end)));
    }

    // The scheduler prints them one after the other: when the last one has
    // ended, all have.
    const QDeadlineTimer deadline(30 * 60 * 1000);
    PrivateCups::Job last = PrivateCups::job(jobs.last());
    while (last.state < IPP_JSTATE_CANCELED && !deadline.hasExpired()) {
        QTest::qWait(500);
        last = PrivateCups::job(jobs.last());
    }
    qInfo("the scheduler had printed all %d jobs %lld s after the first", kRounds, clock.elapsed() / 1000);
    QCOMPARE(last.state, int(IPP_JSTATE_COMPLETED));
    QCOMPARE(last.name, QStringLiteral("印刷中"));
    for (int id : jobs)
        QVERIFY2(QFileInfo::exists(PrivateCups::output(QStringLiteral("pelora-pdf"), id)), qPrintable(QString::number(id)));
    const QString pdf = PrivateCups::output(QStringLiteral("pelora-pdf"), jobs.last());
    QCOMPARE(PrivateCups::pdfPages(pdf), 1);
    QVERIFY(PrivateCups::runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("Harbour Lights")));
}

void SoakPrintingTest::fiveHundredPreviews()
{
    MessageRecorder messages;
    // The back face, whose spines carry the turned title picture.
    m_form->RGTwoSides->setItemIndex(1);
    SuppressShrinkNotice = false;
    QVERIFY(Soak::resetPeak());
    Soak::Memory warm;
    QImage first;
    QElapsedTimer clock;
    clock.start();
    for (int round = 1; round <= kRounds; ++round) {
        PreVForm->FormShow();
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
        if (round == 1) {
            first = PreVForm->Image1->Picture().copy();
            QImage blank(first.size(), first.format());
            blank.fill(Qt::white);
            QVERIFY2(first != blank, "nothing was drawn");
        } else if (round == kRounds) {
            // The same jacket, the same picture. (Only the edges of the
            // spine title may differ a little: Qt draws large glyphs now
            // from its cache, now as outlines.)
            const double share = differingShare(first, PreVForm->Image1->Picture());
            QVERIFY2(share < 0.002, qPrintable(QStringLiteral("%1 % of the last preview differ from the first").arg(100 * share)));
        }
        PreVForm->FormClose();
        betweenClicks();
        if (round == kWarmUp)
            warm = Soak::memory();
        if (round % 100 == 0)
            qInfo("%d previews in %lld ms: %s", round, clock.elapsed(), qPrintable(Soak::describe(Soak::memory())));
    }
    const Soak::Memory end = Soak::memory();
    qInfo("previews: %s", qPrintable(growth(warm, end)));
    if (kMemoryTells) {
        QVERIFY2(end.peakKiB <= warm.peakKiB * kMostGrowth, qPrintable(growth(warm, end)));
        QVERIFY2(end.currentKiB <= warm.currentKiB * kMostGrowth, qPrintable(growth(warm, end)));
    }
}

PELORA_TEST_MAIN(SoakPrintingTest)
#include "tst_soak_printing.moc"

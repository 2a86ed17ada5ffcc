// SPDX-License-Identifier: GPL-3.0-or-later
// The print command, printing for real through the private CUPS.
#include "core/jacket/CoverPicture.h"
#include "core/labels/LabelProducts.h"
#include "core/layout/JacketLayout.h"
#include "core/layout/SheetPlacement.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "core/settings/PaperChoices.h"
#include "core/settings/PrintPositions.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "gui/dialogs/PrinterSetupDialog.h"
#include "support/PrintedPage.h"
#include "support/PrivateCups.h"
#include "support/SpareCups.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

#include <cups/cups.h>

namespace {

const QString kNotice = QStringLiteral("現在のフォントサイズだとはみ出してしまうので小さくします ");
const QString kNoAnswer = QStringLiteral("印刷システム (CUPS) から応答がありません。");
const QString kCopiesFallback = QStringLiteral("お使いのプリンタが最大印刷部数を提供してくれませんでした。\rペロラの部数設定は破棄し、プリンタ側の部数設定で印刷します。");

QStringList tracks(int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QStringLiteral("曲その%1").arg(i + 1);
    return items;
}

// Points the program's CUPS connection at another scheduler for a while.
class OtherServer
{
public:
    explicit OtherServer(const QByteArray &server)
        : m_previous(qgetenv("CUPS_SERVER"))
    {
        qputenv("CUPS_SERVER", server);
        cupsSetServer(server.constData());
    }
    ~OtherServer()
    {
        qputenv("CUPS_SERVER", m_previous);
        cupsSetServer(m_previous.constData());
    }

private:
    QByteArray m_previous;
};

// Whether lines found on a page at 600 per inch stand where the layout
// put them at `at` pixels, scaled by `scale` % about the sheet's corner and
// moved by `move` mm, to within 0.1 mm.
bool correctedTo(const QList<double> &found, const QList<double> &at, double scale, double move)
{
    if (found.size() != at.size())
        return false;
    for (qsizetype i = 0; i < found.size(); ++i) {
        if (qAbs(found[i] - (at[i] * scale / 100 + move * 600 / 25.4)) > 2.4)
            return false;
    }
    return true;
}

// Clicks each button or triggers each action in turn; how many of them
// showed the preview (closed at once).
int runCommands(std::initializer_list<QObject *> commands)
{
    int previews = 0;
    for (QObject *command : commands) {
        QTimer::singleShot(0, [&] {
            if (PreVForm->isVisible()) {
                ++previews;
                PreVForm->reject();
            }
        });
        if (auto *button = qobject_cast<QPushButton *>(command))
            button->click();
        else
            qobject_cast<QAction *>(command)->trigger();
        QCoreApplication::processEvents();
    }
    return previews;
}

}  // namespace

class PrintCommandTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(PrivateCups::available(), "run through ./test.sh: it starts a private CUPS"); }
    void init()
    {
        m_config = std::make_unique<ScopedConfigDir>();
        QdPrinter = new TQdPrinter();
        m_form = std::make_unique<TForm1>();
        PreVForm = new TPreVForm(m_form.get());
        m_form->EditTi->setText(QStringLiteral("テスト盤"));
        m_form->ListBox1->setItems(tracks(11));
    }
    void cleanup()
    {
        delete PreVForm;
        PreVForm = nullptr;
        m_form.reset();
        delete QdPrinter;
        QdPrinter = nullptr;
        m_config.reset();
        m_onSpare.reset();
    }
    void cleanupTestCase() { m_spare.reset(); }

    void checksComeFirst();
    void sheetMustHoldTheFace();
    void textThatFitsAtNoSizeStopsThePrint();
    void printsAtRealSizeOnEveryKindOfDestination_data();
    void printsAtRealSizeOnEveryKindOfDestination();
    void correctionMovesThePrintedJacket_data();
    void correctionMovesThePrintedJacket();
    void bothFacesOnOneSheetAtRealSize();
    void coverFillsTheFrontAndLeavesTheBack();
    void copiesGoInJobsThePrinterTakes_data();
    void copiesGoInJobsThePrinterTakes();
    void refusedJobIsShownAndTheProgramGoesOn();
    void destinationThatCannotTakeTheJobPrintsNothing_data();
    void destinationThatCannotTakeTheJobPrintsNothing();
    void refusedJobEndsTheCommand_data();
    void refusedJobEndsTheCommand();
    void outOfReachIsAskedFirst_data();
    void outOfReachIsAskedFirst();
    void destinationAndPaperAreShown_data();
    void destinationAndPaperAreShown();
    void shrinkNoticeOnlyFromThePrintButton();
    void productPlacesAreUsedInTurn();
    void productOnOtherPaperIsAskedFirst();
    void productGoneFromTheDatabaseStopsEveryOutput();
    void obiOnlyOnPlainPaper();
    void obiPrintedWhereTheCorrectionPutsIt_data();
    void obiPrintedWhereTheCorrectionPutsIt();
    void discLabelWholeAndCentredInTheTray_data();
    void discLabelWholeAndCentredInTheTray();

private:
    // Prints with the print button and returns the jobs it sent.
    QList<int> print(const QString &copies = QStringLiteral("1"));
    // Confirms the set-up dialog with `destination` chosen; false when it
    // could not be chosen.
    bool chooseInSetupDialog(const QString &destination);
    // The program's printer on a scheduler of this test's own (its second
    // one with `max10`), for the cases that change queues.
    SpareCups &useSpareCups(bool max10 = false);
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<SpareCups> m_spare;
    std::unique_ptr<OtherServer> m_onSpare;
};

QList<int> PrintCommandTest::print(const QString &copies)
{
    const QString server = QString::fromLocal8Bit(cupsServer());
    const int before = PrivateCups::lastJobId(server);
    m_form->ComboBusuu->setCurrentText(copies);
    m_form->Button1->click();
    // Job ids grow by one per job on one scheduler.
    QList<int> jobs;
    for (int id = before + 1; id <= QdPrinter->LastJobId(); ++id)
        jobs << id;
    return jobs;
}

bool PrintCommandTest::chooseInSetupDialog(const QString &destination)
{
    QString chosen;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<TQdPrinterSetupDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"))) {
            printers->setCurrentIndex(printers->findText(destination));
            chosen = printers->currentText();
        }
        dialog->accept();
    });
    m_form->U1->trigger();
    return chosen == destination;
}

SpareCups &PrintCommandTest::useSpareCups(bool max10)
{
    if (!m_spare) {
        m_spare = std::make_unique<SpareCups>();
        if (!m_spare->start())
            qFatal("the spare CUPS did not start");
    }
    m_onSpare.reset();
    m_onSpare = std::make_unique<OtherServer>(QFile::encodeName(m_spare->path(max10 ? "max10/cups.sock" : "cups.sock")));
    delete QdPrinter;
    QdPrinter = new TQdPrinter();
    return *m_spare;
}

void PrintCommandTest::checksComeFirst()
{
    MessageRecorder messages;
    // Content: in editor mode the editor's text counts, not the hidden list.
    m_form->ToEditorMode();
    m_form->Memo1->clear();
    m_form->Print1->trigger();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("内容に何も無いときは印刷できません")});
    m_form->ToListMode();
    m_form->ListBox1->clear();
    m_form->Button1->click();
    QCOMPARE(messages.texts().last(), QStringLiteral("内容に何も無いときは印刷できません"));

    // No scheduler: said as it is, from either command.
    messages.clear();
    m_form->ListBox1->setItems(tracks(2));
    delete QdPrinter;
    {
        OtherServer nowhere("/nonexistent/cups.sock");
        QdPrinter = new TQdPrinter();
        m_form->Button1->click();
        m_form->PreVBtn->click();
    }
    QCOMPARE(messages.shown().size(), 2);
    for (const Messages::Request &shown : messages.shown())
        QVERIFY2(shown.kind == Messages::Kind::Error && shown.text.startsWith(kNoAnswer), qPrintable(shown.text));
    QCOMPARE(QdPrinter->LastJobId(), 0);
}

void PrintCommandTest::sheetMustHoldTheFace()
{
    MessageRecorder messages;
    const QString tooSmall = QStringLiteral("紙が小さすぎます。");
    // The back face on portrait A5 (148 × 210 mm).
    QdPrinter->SelectPrinter(QStringLiteral("pelora-a5"));
    m_form->RGTwoSides->setItemIndex(1);
    m_form->Button1->click();
    QCOMPARE(messages.texts(), QStringList{tooSmall});
    // The front face on a 100 × 148 mm card.
    QdPrinter->SelectPrinter(QStringLiteral("pelora-card"));
    m_form->RGTwoSides->setItemIndex(0);
    m_form->Button1->click();
    QCOMPARE(messages.texts(), (QStringList{tooSmall, tooSmall}));
    // Both faces on one A5 sheet, to print or to preview.
    QdPrinter->SelectPrinter(QStringLiteral("pelora-a5"));
    m_form->OneSheetPrintMe->trigger();
    m_form->OneSheetPreviewMe->trigger();
    QCOMPARE(messages.texts(), QStringList(4, tooSmall));
    QCOMPARE(QdPrinter->LastJobId(), 0);
}

void PrintCommandTest::textThatFitsAtNoSizeStopsThePrint()
{
    MessageRecorder messages;
    m_form->EditTi->setText(QString(3000, u'長'));
    m_form->ComboTFS->setCurrentText(QStringLiteral("30"));
    m_form->comboFS->setCurrentText(QStringLiteral("20"));
    m_form->Button1->click();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("フォントサイズをどんなに小さくしてもはみ出してしまいますので処理を中止します")});
    QCOMPARE(m_form->ComboTFS->currentText(), QStringLiteral("17"));
    QCOMPARE(m_form->comboFS->currentText(), QStringLiteral("14"));
    QCOMPARE(QdPrinter->LastJobId(), 0);
}

// Every kind of CUPS destination prints the jacket at its real size: the
// job's pages, its title, and the fold lines 300 and 3546 pixels (at 600 per
// inch) from the sheet's left edge, whatever the queue's margins and scale.
void PrintCommandTest::printsAtRealSizeOnEveryKindOfDestination_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("writtenBy");  // the queue whose output holds the job
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<bool>("beyondReach");  // the spine title lies above the printable area
    QTest::newRow("queue") << "pelora-pdf" << "pelora-pdf" << 2 << "A4" << false;
    QTest::newRow("class") << "pelora-class" << "pelora-pdf" << 2 << "A4" << false;
    QTest::newRow("instance") << "pelora-pdf/letter" << "pelora-pdf" << 2 << "letter" << false;
    QTest::newRow("half-inch margins") << "pelora-margins" << "pelora-margins" << 2 << "A4" << true;
    QTest::newRow("scaling-default 80") << "pelora-scaled" << "pelora-scaled" << 2 << "A4" << false;
    // Nothing on a raw queue makes copies: the printer would.
    QTest::newRow("raw") << "pelora-raw" << "pelora-raw" << 1 << "A4" << false;
}

void PrintCommandTest::printsAtRealSizeOnEveryKindOfDestination()
{
    QFETCH(QString, destination);
    QFETCH(QString, writtenBy);
    QFETCH(int, pages);
    QFETCH(QString, paper);
    QFETCH(bool, beyondReach);
    MessageRecorder messages;
    QdPrinter->SelectPrinter(destination);
    m_form->RGTwoSides->setItemIndex(1);
    m_form->ListBox1->setItems(QStringList{QStringLiteral("한국 Beyoncé 🎵")} + tracks(10));  // faces beside the Gothic one
    const QList<int> jobs = print(QStringLiteral("2"));
    // Told once, and printed all the same.
    const QStringList warning = beyondReach ? QStringList{SheetPlacement::BeyondReachNotice()} : QStringList();
    QCOMPARE(messages.texts(), warning);
    QCOMPARE(jobs.size(), 1);
    const PrivateCups::Job job = PrivateCups::waitForJob(jobs[0]);
    QCOMPARE(job.state, int(IPP_JSTATE_COMPLETED));
    QCOMPARE(job.name, QStringLiteral("印刷中"));
    QCOMPARE(job.copies, 2);
    QCOMPARE(m_form->ComboBusuu->currentText(), QStringLiteral("1"));
    const QString pdf = PrivateCups::output(writtenBy, jobs[0]);
    QCOMPARE(PrivateCups::pdfPages(pdf), pages);
    QVERIFY(PrivateCups::runTool(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("(%1)").arg(paper)));
    const QString text = PrivateCups::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("テスト盤")) && text.contains(QStringLiteral("01. 한국 Beyoncé"))
                 && text.contains(QStringLiteral("11. 曲その10")),
             qPrintable(text));

    // Rendered at 100 per inch: the dashes of each fold line, and nothing
    // left of the cut line.
    const QString png = QDir::temp().filePath(QStringLiteral("pelora-print-%1").arg(jobs[0]));
    PrivateCups::runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-l"),
                                                     QStringLiteral("1"), QStringLiteral("-png"),
                                                     QStringLiteral("-singlefile"), pdf, png});
    const QImage page(png + QStringLiteral(".png"));
    QFile::remove(png + QStringLiteral(".png"));
    QVERIFY(!page.isNull());
    const auto darkInColumn = [&page](int x) {
        int dark = 0;
        for (int y = 10; y < 2770 / 6 - 10; ++y)
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        return dark;
    };
    for (const int foldX : {300, 3546}) {
        const int x = foldX / 6;
        const int dark = std::max({darkInColumn(x - 1), darkInColumn(x), darkInColumn(x + 1)});
        QVERIFY2(dark > 100, qPrintable(QStringLiteral("fold at %1: %2 dark pixels").arg(foldX).arg(dark)));
    }
    QVERIFY(darkInColumn(100 / 6) < 5);

    // The preview lays the same jacket out on the same page.
    const TJacketLayout printed = JacketLayout;
    QTimer::singleShot(0, PreVForm, [] { PreVForm->CanCelBtn->click(); });
    m_form->PreVBtn->click();
    QCOMPARE(messages.texts(), warning + warning);
    QCOMPARE(JacketLayout.LeftFoldLine, printed.LeftFoldLine);
    QCOMPARE(JacketLayout.ItemsOrigin, printed.ItemsOrigin);
}

// The printer's correction moves the printed lines of the back face (cut
// lines at sheet x 150 and 3696 and y 2770, folds at 300 and 3546 pixels at
// 600 per inch) by the entered millimetres and scales them about the
// sheet's corner, measured in the job's PDF to within 0.1 mm.
void PrintCommandTest::correctionMovesThePrintedJacket_data()
{
    PrintedPage::addCorrectionRows(false);
}

void PrintCommandTest::correctionMovesThePrintedJacket()
{
    QFETCH(QString, queue);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, scale);
    MessageRecorder messages;
    QVERIFY(PrintPositions::save(queue, PrintCorrection{x, y, scale}));
    QdPrinter->SelectPrinter(queue);
    m_form->RGTwoSides->setItemIndex(1);
    m_form->ListBox1->setItems(tracks(3));  // leaves the rows below the items to the lines
    const QList<int> jobs = print();
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(PrivateCups::waitForJob(jobs[0]).state, int(IPP_JSTATE_COMPLETED));
    const QImage page = PrintedPage::render(PrivateCups::output(queue, jobs[0]), 600);
    QVERIFY(!page.isNull());

    const QList<double> columns = PrintedPage::linesAcross(page, Qt::Vertical, 1800, 2600);
    const QList<double> rows = PrintedPage::linesAcross(page, Qt::Horizontal, 600, 3300);
    QVERIFY2(correctedTo(columns, {150, 300, 3546, 3696}, scale, x), qPrintable(QDebug::toString(columns)));
    QVERIFY2(correctedTo(rows, {2770}, scale, y), qPrintable(QDebug::toString(rows)));
}

// 表と裏を1枚に印刷: one A4 page, the front above the back, each centred
// across the sheet and the pair centred down it 240 pixels apart, at real
// size with cut lines all round and the back's folds.
void PrintCommandTest::bothFacesOnOneSheetAtRealSize()
{
    MessageRecorder messages;
    const QString queue = QStringLiteral("pelora-pdf");
    QdPrinter->SelectPrinter(queue);
    const int before = PrivateCups::lastJobId(QString::fromLocal8Bit(cupsServer()));
    m_form->OneSheetPrintMe->trigger();
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(QdPrinter->LastJobId(), before + 1);
    QCOMPARE(PrivateCups::waitForJob(before + 1).state, int(IPP_JSTATE_COMPLETED));
    const QString pdf = PrivateCups::output(queue, before + 1);
    QCOMPARE(PrivateCups::pdfPages(pdf), 1);
    QCOMPARE(PrivateCups::runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).count(QStringLiteral("テスト盤")), 2);
    const QImage page = PrintedPage::render(pdf, 600);
    QVERIFY(!page.isNull());

    const double front = (page.width() - 2850) / 2.0;
    const double back = (page.width() - 3546) / 2.0;
    const double top = (page.height() - 2850 - 240 - 2770) / 2.0;
    const auto near = [](const QList<double> &found, const QList<double> &expected) {
        bool same = found.size() == expected.size();
        for (qsizetype i = 0; same && i < found.size(); ++i)
            same = qAbs(found[i] - expected[i]) <= 2;
        return same;
    };
    const QList<double> frontColumns = PrintedPage::linesAcross(page, Qt::Vertical, int(top) + 300, int(top) + 2550);
    const QList<double> backColumns = PrintedPage::linesAcross(page, Qt::Vertical, int(top) + 3400, int(top) + 5600);
    const QList<double> rows = PrintedPage::linesAcross(page, Qt::Horizontal, int(front) + 300, int(front) + 2550);
    QVERIFY2(near(frontColumns, {front, front + 2850}), qPrintable(QDebug::toString(frontColumns)));
    QVERIFY2(near(backColumns, {back, back + 150, back + 3396, back + 3546}), qPrintable(QDebug::toString(backColumns)));
    QVERIFY2(near(rows, {top, top + 2850, top + 3090, top + 5860}), qPrintable(QDebug::toString(rows)));
}

// A 300 × 200 picture, red | blue | green from left to right, covers the
// front: scaled, centred and cropped to its blue middle, never stretched, on
// paper and in the preview; the texts go, and the back prints as before.
void PrintCommandTest::coverFillsTheFrontAndLeavesTheBack()
{
    MessageRecorder messages;
    QImage art(300, 200, QImage::Format_RGB32);
    art.fill(Qt::blue);
    QPainter(&art).fillRect(0, 0, 50, 200, Qt::red);
    QPainter(&art).fillRect(250, 0, 50, 200, Qt::green);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    art.save(&buffer, "PNG");
    const CoverPicture cover = *CoverPicture::fromBytes(png);
    QdPrinter->SelectPrinter(QStringLiteral("pelora-pdf"));
    const auto printed = [&](bool back, bool withCover) {
        m_form->RGTwoSides->setItemIndex(back ? 1 : 0);
        m_form->SetCover(withCover ? cover : CoverPicture());
        const QList<int> jobs = print();
        PrivateCups::waitForJob(jobs.value(0));
        return PrivateCups::output(QStringLiteral("pelora-pdf"), jobs.value(0));
    };
    QCOMPARE(PrintedPage::render(printed(true, true), 50), PrintedPage::render(printed(true, false), 50));

    const QString front = printed(false, true);
    QVERIFY(!PrivateCups::runTool(QStringLiteral("pdftotext"), {front, QStringLiteral("-")}).contains(QStringLiteral("テスト盤")));
    const QImage page = PrintedPage::render(front, 100, true);
    // The 2850-pixel square is 475 pixels at 100 per inch.
    const auto blue = [](QRgb pixel) { return qBlue(pixel) > 240 && qRed(pixel) < 16 && qGreen(pixel) < 16; };
    for (const int x : {30, 237, 445})
        QVERIFY2(blue(page.pixel(x, 237)), qPrintable(QColor(page.pixel(x, 237)).name()));
    QCOMPARE(QColor(page.pixel(490, 237)).name(), QStringLiteral("#ffffff"));

    QImage preview;
    QTimer::singleShot(0, PreVForm, [&] {
        preview = PreVForm->Image1->Picture().copy();
        PreVForm->CanCelBtn->click();
    });
    m_form->PreVBtn->click();
    const QPoint centre = (QPoint(1425, 1425) - QdPrinter->GetPageOffset()) / 7.1;
    QVERIFY(blue(preview.pixel(centre)));
    // A picture to the sheet's edge loses the printer's margins: said when
    // printing and when previewing.
    QCOMPARE(messages.texts(), QStringList(2, SheetPlacement::BeyondReachNotice()));
}

void PrintCommandTest::copiesGoInJobsThePrinterTakes_data()
{
    QTest::addColumn<QString>("copies");
    QTest::addColumn<QList<int>>("jobs");  // the copies of each, on a printer that makes 10 at most
    QTest::addColumn<QStringList>("told");
    QTest::newRow("25") << "25" << QList<int>{10, 10, 5} << QStringList();
    QTest::newRow("20") << "20" << QList<int>{10, 10} << QStringList();
    QTest::newRow("11") << "11" << QList<int>{10, 1} << QStringList();
    QTest::newRow("3") << "3" << QList<int>{3} << QStringList();
    QTest::newRow("no number") << "abc" << QList<int>{1} << QStringList();
    // A count the printer refuses: one job with the printer's own count.
    QTest::newRow("0") << "0" << QList<int>{1} << QStringList{kCopiesFallback};
    QTest::newRow("-3") << "-3" << QList<int>{1} << QStringList{kCopiesFallback};
}

void PrintCommandTest::copiesGoInJobsThePrinterTakes()
{
    QFETCH(QString, copies);
    QFETCH(QList<int>, jobs);
    QFETCH(QStringList, told);
    MessageRecorder messages;
    delete QdPrinter;
    OtherServer limited(qgetenv("PELORA_CUPS_SERVER_MAX10"));
    QdPrinter = new TQdPrinter();
    QCOMPARE(QdPrinter->GetMaxCopies(), 10);
    QList<int> printed;
    for (int id : print(copies))
        printed << PrivateCups::waitForJob(id, QString::fromLocal8Bit(cupsServer())).copies;
    QCOMPARE(printed, jobs);
    QCOMPARE(messages.texts(), told);
    QCOMPARE(m_form->ComboBusuu->currentText(), QStringLiteral("1"));
    QCOMPARE(QdPrinter->PlatformPrinter().copyCount(), 1);
}

void PrintCommandTest::refusedJobIsShownAndTheProgramGoesOn()
{
    MessageRecorder messages;
    // The chosen queue takes no jobs: said once, from the button and from
    // the menu alike, with no copies message and no other try.
    QVERIFY_THROWS_EXCEPTION(EQdPrinterUnavailable, QdPrinter->SelectPrinter(QStringLiteral("pelora-hidden")));
    for (QObject *command : {static_cast<QObject *>(m_form->Button1), static_cast<QObject *>(m_form->Print1)}) {
        messages.clear();
        if (auto *button = qobject_cast<QPushButton *>(command))
            button->click();
        else
            qobject_cast<QAction *>(command)->trigger();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().first().kind, Messages::Kind::Error);
        QVERIFY2(messages.texts().first().startsWith(QStringLiteral("プリンタ「pelora-hidden」は印刷を受け付けていません。")),
                 qPrintable(messages.texts().first()));
        QCOMPARE(QdPrinter->LastJobId(), 0);
    }

    // The next command works.
    messages.clear();
    QdPrinter->SelectPrinter(QStringLiteral("pelora-pdf"));
    const QList<int> jobs = print();
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(PrivateCups::waitForJob(jobs[0]).state, int(IPP_JSTATE_COMPLETED));
}

// A job goes where the user means it to or nowhere: the destination chosen,
// else the default. What keeps that one from taking it is said, from 印刷
// and プレビュー alike; the set-up dialog still opens to choose another.
void PrintCommandTest::destinationThatCannotTakeTheJobPrintsNothing_data()
{
    QTest::addColumn<QString>("defaultDestination");  // LPDEST; empty: the server's
    QTest::addColumn<bool>("chosenThenDeleted");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    const QString refuses = QStringLiteral("プリンタ「pelora-hidden」は印刷を受け付けていません。");
    const QString gone = QStringLiteral("プリンタ「%1」が見つかりません。「プリンタ設定」でプリンタを選び直してください。");
    QTest::newRow("default refuses jobs, 印刷") << "pelora-hidden" << false << "Button1" << refuses;
    QTest::newRow("default refuses jobs, プレビュー") << "pelora-hidden" << false << "PreVBtn" << refuses;
    QTest::newRow("default gone") << "pelora-missing" << false << "Button1" << gone.arg("pelora-missing");
    QTest::newRow("chosen one deleted, 印刷") << "" << true << "Button1" << gone.arg("pelora-gone");
    QTest::newRow("chosen one deleted, プレビュー") << "" << true << "PreVBtn" << gone.arg("pelora-gone");
}

void PrintCommandTest::destinationThatCannotTakeTheJobPrintsNothing()
{
    QFETCH(QString, defaultDestination);
    QFETCH(bool, chosenThenDeleted);
    QFETCH(QString, command);
    QFETCH(QString, message);
    SpareCups &spare = useSpareCups();
    MessageRecorder messages;
    const auto restore = qScopeGuard([&spare] {
        qunsetenv("LPDEST");
        spare.removeQueue(QStringLiteral("pelora-gone"), true);
    });
    if (!defaultDestination.isEmpty())
        qputenv("LPDEST", defaultDestination.toUtf8());
    if (chosenThenDeleted) {
        QVERIFY(spare.addQueue(QStringLiteral("pelora-gone")));
        QdPrinter->SelectPrinter(QStringLiteral("pelora-gone"));
        QVERIFY(spare.removeQueue(QStringLiteral("pelora-gone")));
    }
    QdPrinter->CheckPrinterChange();
    const int before = PrivateCups::lastJobId();
    QTimer::singleShot(0, this, [] {
        if (PreVForm->isVisible())
            PreVForm->reject();
    });
    m_form->findChild<QPushButton *>(command)->click();
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().first().kind, Messages::Kind::Error);
    QVERIFY2(messages.texts().first().startsWith(message), qPrintable(messages.texts().first()));
    QCOMPARE(PrivateCups::lastJobId(), before);

    QVERIFY(chooseInSetupDialog(QStringLiteral("pelora-scaled")));
    messages.clear();
    const QList<int> jobs = print();
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(PrivateCups::waitForJob(jobs[0]).state, int(IPP_JSTATE_COMPLETED));
    QVERIFY(QFileInfo::exists(spare.path(QStringLiteral("out/pelora-scaled/job-%1.pdf").arg(jobs[0]))));
}

// A job the destination refuses is told as it is, not as a copies
// problem, and no job follows it.
void PrintCommandTest::refusedJobEndsTheCommand_data()
{
    QTest::addColumn<bool>("max10");  // on the scheduler that takes 10 copies a job
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<int>("jobsTaken");
    // Rejecting jobs since its first one; the program may not have looked
    // again yet.
    QTest::newRow("refusing after its first use") << false << "pelora-scaled" << "1" << 0;
    // A quota of one job: the second of 10, 10 and 5 copies is refused.
    QTest::newRow("batch refused midway") << true << "pelora-max10" << "25" << 1;
}

void PrintCommandTest::refusedJobEndsTheCommand()
{
    QFETCH(bool, max10);
    QFETCH(QString, destination);
    QFETCH(QString, copies);
    QFETCH(int, jobsTaken);
    SpareCups &spare = useSpareCups(max10);
    const QString server = spare.path(max10 ? QStringLiteral("max10/cups.sock") : QStringLiteral("cups.sock"));
    MessageRecorder messages;
    QdPrinter->SelectPrinter(destination);
    const auto accept = qScopeGuard([&] {
        spare.tool("lpadmin", {"-h", server, "-p", destination, "-o", "job-k-limit=0", "-o", "job-quota-period=0"}, true);
        spare.tool("cupsaccept", {"-h", server, destination}, true);
    });
    if (max10) {
        QVERIFY(spare.tool("lpadmin", {"-h", server, "-p", destination, "-o", "job-quota-period=86400", "-o", "job-k-limit=1"}));
    } else {
        const QList<int> first = print();
        QCOMPARE(first.size(), 1);
        QVERIFY(spare.tool("cupsreject", {"-h", server, destination}));
    }

    const QList<int> jobs = print(copies);
    QCOMPARE(jobs.size(), jobsTaken);
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().first().kind, Messages::Kind::Error);
    const QString said = messages.texts().first();
    QVERIFY2(said.startsWith(QStringLiteral("プリンタ「%1」").arg(destination))
                 && said.contains(QStringLiteral("「プリンタ設定」で別のプリンタを選んでください")),
             qPrintable(said));
    QCOMPARE(m_form->ComboBusuu->currentText(), QStringLiteral("1"));
}

// Part of the page beyond the printer's reach: asked before any paper is
// used, so that the user can move the page first. Enter and Escape stop.
void PrintCommandTest::outOfReachIsAskedFirst_data()
{
    QTest::addColumn<QString>("answer");  // a button, or a key on the real box
    QTest::addColumn<int>("jobCount");
    QTest::addColumn<QString>("copiesAfter");
    QTest::newRow("印刷する") << "印刷する" << 1 << "1";
    QTest::newRow("やめる") << "やめる" << 0 << "2";
    QTest::newRow("Escape") << "Escape" << 0 << "2";
    QTest::newRow("Enter") << "Enter" << 0 << "2";
}

void PrintCommandTest::outOfReachIsAskedFirst()
{
    QFETCH(QString, answer);
    QFETCH(int, jobCount);
    QFETCH(QString, copiesAfter);
    QdPrinter->SelectPrinter(QStringLiteral("pelora-margins"));
    m_form->RGTwoSides->setItemIndex(1);
    MessageRecorder messages;
    QList<Messages::Request> asked;
    if (answer.startsWith(QStringLiteral("E"))) {
        // The real box: its title, text, icon, and the button each key takes.
        Messages::setHandler({});
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            QStringList buttons;
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            buttons.sort();
            if (box->icon() == QMessageBox::Warning && box->defaultButton() == box->escapeButton())
                asked << Messages::Request{Messages::Kind::WarningQuestion, box->windowTitle(), box->text(), buttons};
            QTest::keyClick(box, answer == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
        });
    } else {
        messages.answerNext(answer == QStringLiteral("印刷する"));
    }
    const QList<int> jobs = print(QStringLiteral("2"));
    if (asked.isEmpty())
        asked = messages.shown();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().kind, Messages::Kind::WarningQuestion);
    QCOMPARE(asked.first().title, AppName());
    QCOMPARE(asked.first().text, SheetPlacement::BeyondReachNotice());
    QCOMPARE(QSet<QString>(asked.first().buttons.cbegin(), asked.first().buttons.cend()),
             QSet<QString>({QStringLiteral("印刷する(&P)"), QStringLiteral("やめる(&C)")}));
    QCOMPARE(jobs.size(), jobCount);
    QCOMPARE(m_form->ComboBusuu->currentText(), copiesAfter);
}

// Where 印刷 prints, and on what paper, without opening a dialog: on the
// button, and on the preview's caption; told anew when the printer changes.
void PrintCommandTest::destinationAndPaperAreShown_data()
{
    QTest::addColumn<QString>("chosen");              // in the set-up dialog
    QTest::addColumn<QString>("defaultDestination");  // LPDEST, set while the program runs
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("caption");  // empty: the preview does not open
    QTest::newRow("the default") << "" << "" << "印刷先: pelora-pdf (A4 縦)" << "ペロラ - プレビュー - pelora-pdf (A4 縦)";
    QTest::newRow("chosen in the set-up dialog") << "pelora-pdf/letter" << "" << "印刷先: pelora-pdf/letter (Letter 縦)"
                                                 << "ペロラ - プレビュー - pelora-pdf/letter (Letter 縦)";
    QTest::newRow("the default starts refusing jobs")
        << "" << "pelora-hidden"
        << "プリンタ「pelora-hidden」は印刷を受け付けていません。プリンタの状態を確かめるか、「プリンタ設定」で別のプリンタを選んでください。"
        << "";
}

void PrintCommandTest::destinationAndPaperAreShown()
{
    QFETCH(QString, chosen);
    QFETCH(QString, defaultDestination);
    QFETCH(QString, tooltip);
    QFETCH(QString, caption);
    MessageRecorder messages;
    const auto restore = qScopeGuard([] { qunsetenv("LPDEST"); });
    m_form->show();
    if (!chosen.isEmpty())
        QVERIFY(chooseInSetupDialog(chosen));
    if (!defaultDestination.isEmpty()) {
        qputenv("LPDEST", defaultDestination.toUtf8());
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    }
    QTRY_COMPARE(m_form->Button1->toolTip(), tooltip);

    QString shown;
    QTimer::singleShot(0, this, [&] {
        if (PreVForm->isVisible()) {
            shown = PreVForm->windowTitle();
            PreVForm->reject();
        }
    });
    m_form->PreVBtn->click();
    QCoreApplication::processEvents();
    QCOMPARE(shown, caption);
    QCOMPARE(messages.shown().size(), caption.isEmpty() ? 1 : 0);
}

void PrintCommandTest::shrinkNoticeOnlyFromThePrintButton()
{
    MessageRecorder messages;
    m_form->EditTi->setText(QStringLiteral("はみ出すほど長いタイトル、はみ出すほど長いタイトル、はみ出すほど長い"));
    m_form->Print1->trigger();
    QVERIFY(messages.texts().isEmpty());
    QVERIFY(JacketLayout.TitleFontSize < 17);
    m_form->Button1->click();
    QCOMPARE(messages.texts(), QStringList{kNotice});
}

// Hama 50430 holds two fronts, 119.5 mm squares at 45, 29.5 and 45, 149 mm,
// touching: the face, a little larger, is cut back to its label, with
// nothing on its neighbour. Chosen for the destination, one print goes to
// the first, the next to the second, and the one after that to the first
// again; no cut line is drawn, the paper is cut already.
void PrintCommandTest::productPlacesAreUsedInTurn()
{
    const QString queue = QStringLiteral("pelora-pdf");
    if (!LabelProducts::Find(LabelProducts::Installed(), QStringLiteral("Hama 50430")))
        QSKIP("the label database (glabels-data) is not installed");
    MessageRecorder messages;
    QdPrinter->SelectPrinter(queue);
    QVERIFY(PaperChoices::save(queue, PaperChoice{QStringLiteral("Hama 50430"), 1, 1}));
    m_form->SetCover(*CoverPicture::fromBytes(TestSupport::solidPng(Qt::red)));
    for (const double labelTop : {29.5, 149.0, 29.5}) {
        const QList<int> jobs = print();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(PrivateCups::waitForJob(jobs[0]).state, int(IPP_JSTATE_COMPLETED));
        const QImage page = PrintedPage::render(PrivateCups::output(queue, jobs[0]), 254, true);
        // Down the middle of the label: where the red begins.
        int top = 0;
        while (top < page.height() && qGreen(page.pixel(int((45 + 119.5 / 2) * 10), top)) > 80)
            ++top;
        const double expected = labelTop;
        QVERIFY2(qAbs(top / 10.0 - expected) <= 0.3, qPrintable(QStringLiteral("%1 mm, not %2").arg(top / 10.0).arg(expected)));
    }
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(PaperChoices::load(queue).frontPosition, 2);
}

// Neato 69143 is a US Letter sheet; the A4 queue would miss its labels.
void PrintCommandTest::productOnOtherPaperIsAskedFirst()
{
    const QString queue = QStringLiteral("pelora-pdf");
    if (!LabelProducts::Find(LabelProducts::Installed(), QStringLiteral("Neato 69143")))
        QSKIP("the label database (glabels-data) is not installed");
    QdPrinter->SelectPrinter(queue);
    QVERIFY(PaperChoices::save(queue, PaperChoice{QStringLiteral("Neato 69143")}));
    MessageRecorder messages;
    messages.answerNext(false);
    QCOMPARE(print(), QList<int>());
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY2(messages.texts()[0].contains(QStringLiteral("は Letter の紙ですが、プリンタの用紙は A4 です")), qPrintable(messages.texts()[0]));
    messages.answerNext(true);
    QCOMPARE(print().size(), 1);
}

// The product chosen for the printer is no longer in the database: no
// command prints or previews on plain paper in its stead, and the choice
// stays for the user to make again.
void PrintCommandTest::productGoneFromTheDatabaseStopsEveryOutput()
{
    const QString queue = QStringLiteral("pelora-pdf");
    QdPrinter->SelectPrinter(queue);
    QVERIFY(PaperChoices::save(queue, PaperChoice{QStringLiteral("Müller CD-2"), 2}));
    MessageRecorder messages;
    const int previews = runCommands({m_form->Button1, m_form->PreVBtn, m_form->OneSheetPrintMe, m_form->OneSheetPreviewMe,
                                      m_form->LabelPrintMe, m_form->LabelPreviewMe, m_form->ObiPrintMe, m_form->ObiPreviewMe});
    const QString told = QStringLiteral("このプリンタに選んである用紙「Müller CD-2」が、ラベル用紙のデータベースに見つかりません（削除されたか、名前が変わったか、データベースが入っていません）。\r"
                                        "普通紙に印刷しないよう、ここで止めます。「ファイル」の「用紙の選択」で用紙を選び直してください（普通紙に印刷するときは「普通紙」を選びます）。");
    QCOMPARE(messages.texts(), QStringList(8, told));
    QCOMPARE(previews, 0);
    QCOMPARE(QdPrinter->LastJobId(), 0);
    QCOMPARE(PaperChoices::load(queue), (PaperChoice{QStringLiteral("Müller CD-2"), 2}));
}

// No product has a place for the obi: both its commands say so, and
// nothing is shown or printed.
void PrintCommandTest::obiOnlyOnPlainPaper()
{
    const QString queue = QStringLiteral("pelora-pdf");
    QdPrinter->SelectPrinter(queue);
    QVERIFY(PaperChoices::save(queue, PaperChoice{QStringLiteral("Avery 8435A"), 1}));
    MessageRecorder messages;
    const int previews = runCommands({m_form->ObiPrintMe, m_form->ObiPreviewMe});
    const QString told = QStringLiteral("帯は普通紙にだけ印刷できます。用紙「Avery 8435A」には帯を印刷する場所がありません。"
                                        "「ファイル」の「用紙の選択」で普通紙を選んでください。");
    QCOMPARE(messages.texts(), QStringList(2, told));
    QCOMPARE(previews, 0);
    QCOMPARE(QdPrinter->LastJobId(), 0);
}

// 帯を印刷 on plain paper: the obi at the sheet's corner, its folds at 712
// and 958 pixels, its cut at 1670 across and 2850 down (600 per inch),
// moved and scaled by the printer's correction as the faces are.
void PrintCommandTest::obiPrintedWhereTheCorrectionPutsIt_data()
{
    PrintedPage::addCorrectionRows(false);
}

void PrintCommandTest::obiPrintedWhereTheCorrectionPutsIt()
{
    QFETCH(QString, queue);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, scale);
    MessageRecorder messages;
    QVERIFY(PrintPositions::save(queue, PrintCorrection{x, y, scale}));
    QdPrinter->SelectPrinter(queue);
    m_form->EditTi->setText(QStringLiteral("春夏秋冬"));
    m_form->ListBox1->setItems(tracks(3));
    const int before = PrivateCups::lastJobId(QString::fromLocal8Bit(cupsServer()));
    m_form->ObiPrintMe->trigger();
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(QdPrinter->LastJobId(), before + 1);
    QCOMPARE(PrivateCups::waitForJob(before + 1).state, int(IPP_JSTATE_COMPLETED));
    const QImage page = PrintedPage::render(PrivateCups::output(queue, before + 1), 600);
    QVERIFY(!page.isNull());
    const QList<double> columns = PrintedPage::linesAcross(page, Qt::Vertical, 600, 2200);
    const QList<double> rows = PrintedPage::linesAcross(page, Qt::Horizontal, 100, 600);
    QVERIFY2(correctedTo(columns, {712, 958, 1670}, scale, x), qPrintable(QDebug::toString(columns)));
    QVERIFY2(correctedTo(rows, {2850}, scale, y), qPrintable(QDebug::toString(rows)));
}

// A label covered by its red picture, printed in the disc trays of two
// makers' printers (the PPDs gutenprint makes) and of a made-up one whose
// page is too small: on the tray's page, from its slot, the ring centred
// and as wide as the page lets it be; the destination's own slot and paper
// for the next print.
void PrintCommandTest::discLabelWholeAndCentredInTheTray_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<double>("outer");
    QTest::addColumn<double>("inner");
    QTest::addColumn<QString>("ownSlot");   // chosen in the set-up dialog
    QTest::addColumn<QString>("ownPaper");  // the queue's default, as pdfinfo gives it
    QTest::addColumn<QString>("trayPage");
    QTest::addColumn<QString>("traySlot");
    QTest::addColumn<QString>("widest");  // named in the question; empty: none asked
    QTest::addColumn<double>("reach");    // the red's width across and down
    const QString letter = QStringLiteral("612 x 792");
    QTest::newRow("EP-801A, 117 mm") << "pelora-ep801a" << 117.0 << 41.0 << "UpperFront" << letter << "340 x 340" << "CD" << "" << 117.0;
    QTest::newRow("EP-801A, 120 mm") << "pelora-ep801a" << 120.0 << 22.0 << "UpperFront" << letter << "340 x 340" << "CD" << "" << 119.94;
    QTest::newRow("iP7200, 117 mm") << "pelora-ip7200" << 117.0 << 41.0 << "Cassette" << letter << "340 x 340" << "CD" << "" << 117.0;
    QTest::newRow("iP7200, 120 mm") << "pelora-ip7200" << 120.0 << 22.0 << "Cassette" << letter << "340 x 340" << "CD" << "" << 119.94;
    QTest::newRow("made-up, 117 mm: asked, printed all the same")
        << "pelora-disc" << 117.0 << 41.0 << "Main" << "595 x 842" << "324 x 324" << "Disc" << "114.3" << 114.3;
}

void PrintCommandTest::discLabelWholeAndCentredInTheTray()
{
    QFETCH(QString, queue);
    QFETCH(double, outer);
    QFETCH(double, inner);
    QFETCH(QString, ownSlot);
    QFETCH(QString, ownPaper);
    QFETCH(QString, trayPage);
    QFETCH(QString, traySlot);
    QFETCH(QString, widest);
    QFETCH(double, reach);
    PaperChoice paper;
    paper.discOuterMm = outer;
    paper.discInnerMm = inner;
    QVERIFY(PaperChoices::save(queue, paper));
    QdPrinter->SelectPrinter(queue);
    const TQdAllPrintersInfo::Options own{{"InputSlot", ownSlot.toUtf8()}};
    QdPrinter->SetDriverOptions(own);
    m_form->SetCover(*CoverPicture::fromBytes(TestSupport::solidPng(Qt::red)));
    MessageRecorder messages;
    QTimer::singleShot(0, this, [] { PreVForm->reject(); });
    m_form->LabelPreviewMe->trigger();
    messages.answerNext(true);
    const int before = PrivateCups::lastJobId();
    m_form->LabelPrintMe->trigger();
    // The preview tells and the print asks, naming the widest ring the tray takes.
    const QList<Messages::Kind> told{Messages::Kind::Warning, Messages::Kind::WarningQuestion};
    QCOMPARE(messages.shown().size(), widest.isEmpty() ? 0 : 2);
    for (qsizetype i = 0; i < messages.shown().size(); ++i) {
        QCOMPARE(messages.shown()[i].kind, told[i]);
        QVERIFY2(messages.shown()[i].text.contains(QStringLiteral("直径 %1 mm まで").arg(widest)), qPrintable(messages.shown()[i].text));
    }
    QCOMPARE(QdPrinter->LastJobId(), before + 1);
    QCOMPARE(PrivateCups::waitForJob(before + 1).state, int(IPP_JSTATE_COMPLETED));
    const QString pdf = PrivateCups::output(queue, before + 1);
    QVERIFY(PrivateCups::runTool(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Page size:       %1 pts").arg(trayPage)));
    QVERIFY(PrivateCups::options(queue, before + 1).contains(QStringLiteral("InputSlot=") + traySlot));

    // Across and down the page's middle: the red's ends, centred on the page.
    const QImage page = PrintedPage::render(pdf, 254, true);
    QVERIFY(!page.isNull());
    const auto red = [&](int x, int y) { return qRed(page.pixel(x, y)) > 200 && qGreen(page.pixel(x, y)) < 80; };
    for (const bool across : {true, false}) {
        int first = -1;
        int last = -1;
        const int count = across ? page.width() : page.height();
        for (int i = 0; i < count; ++i) {
            if (across ? red(i, page.height() / 2) : red(page.width() / 2, i)) {
                first = first < 0 ? i : first;
                last = i + 1;
            }
        }
        QVERIFY2(qAbs((last - first) / 10.0 - reach) <= 0.2, qPrintable(QString::number((last - first) / 10.0)));
        QVERIFY2(qAbs((first + last) / 20.0 - count / 20.0) <= 0.2, qPrintable(QString::number((first + last) / 20.0)));
    }

    // Back to the destination's own; a front without a picture reaches no margin.
    QCOMPARE(QdPrinter->GetDriverOptions(), own);
    m_form->SetCover(CoverPicture());
    messages.clear();
    const QList<int> again = print();
    QCOMPARE(again.size(), 1);
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(PrivateCups::waitForJob(again[0]).state, int(IPP_JSTATE_COMPLETED));
    const QString info = PrivateCups::runTool(QStringLiteral("pdfinfo"), {PrivateCups::output(queue, again[0])});
    QVERIFY2(info.contains(ownPaper), qPrintable(info));
    QVERIFY(PrivateCups::options(queue, again[0]).contains(QStringLiteral("InputSlot=") + ownSlot));
}

PELORA_TEST_MAIN(PrintCommandTest)
#include "tst_printcommand.moc"

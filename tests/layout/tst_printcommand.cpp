// The print command, printing for real through the private CUPS.
#include "layout/JacketLayout.h"
#include "main/ItemListBox.h"
#include "main/Memo.h"
#include "main/RadioGroup.h"
#include "main/Unit1.h"
#include "printer/QdPrinters.h"
#include "support/PrivateCups.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>

#include <cups/cups.h>

namespace {

const QString kNotice = QStringLiteral("現在のフォントサイズだとはみ出してしまうので小さくします ");

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
        m_form->EditTi->setText(QStringLiteral("テスト盤"));
        m_form->ListBox1->setItems(tracks(11));
    }
    void cleanup()
    {
        m_form.reset();
        delete QdPrinter;
        QdPrinter = nullptr;
        m_config.reset();
    }

    void checksComeFirst();
    void sheetMustHoldTheFace();
    void textThatFitsAtNoSizeStopsThePrint();
    void printsTheJacketOnOnePagePerCopy();
    void copiesGoInBatchesOfThePrintersMost();
    void copiesTextThatIsNoNumberIsOne();
    void refusedCopyCountFallsBackToThePrintersOwn();
    void refusedJobIsShownAndTheProgramGoesOn();
    void shrinkNoticeOnlyFromThePrintButton();

private:
    // Prints with the print button and returns the jobs it sent.
    QList<int> print(const QString &copies = QStringLiteral("1"));
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
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

    // No scheduler, so no printer.
    messages.clear();
    m_form->ListBox1->setItems(tracks(2));
    delete QdPrinter;
    {
        OtherServer nowhere("/nonexistent/cups.sock");
        QdPrinter = new TQdPrinter();
        m_form->Button1->click();
    }
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("プリンタを見つけられませんでした")});
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

void PrintCommandTest::printsTheJacketOnOnePagePerCopy()
{
    MessageRecorder messages;
    m_form->RGTwoSides->setItemIndex(1);
    const QList<int> jobs = print(QStringLiteral("2"));
    QCOMPARE(jobs.size(), 1);
    const PrivateCups::Job job = PrivateCups::waitForJob(jobs[0]);
    QCOMPARE(job.state, int(IPP_JSTATE_COMPLETED));
    QCOMPARE(job.name, QStringLiteral("印刷中"));
    QCOMPARE(job.copies, 2);
    const QString pdf = PrivateCups::output(QStringLiteral("pelora-pdf"), jobs[0]);
    QCOMPARE(PrivateCups::pdfPages(pdf), 2);
    const QString text = PrivateCups::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                                           QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    QVERIFY2(text.contains(QStringLiteral("テスト盤")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("01. 曲その1")));
    QVERIFY(text.contains(QStringLiteral("11. 曲その11")));
    QCOMPARE(m_form->ComboBusuu->currentText(), QStringLiteral("1"));

    // The fold lines stand 300 and 3546 pixels (at 600 per inch) from the
    // sheet's left edge; render at 100 per inch and look for the dashes.
    const QString png = QDir::temp().filePath(QStringLiteral("pelora-print-%1").arg(jobs[0]));
    PrivateCups::runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-f"),
                                                     QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                                     QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png});
    const QImage page(png + QStringLiteral(".png"));
    QVERIFY(!page.isNull());
    QFile::remove(png + QStringLiteral(".png"));
    const QPoint offset = QdPrinter->GetPageOffset();
    auto darkInColumn = [&](int x) {
        int dark = 0;
        for (int y = (2 * offset.y()) / 6 + 5; y < (2770 - 2 * offset.y()) / 6 + 460 / 6; ++y)
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        return dark;
    };
    for (const int foldX : {300, 3546}) {
        const int x = foldX / 6;
        const int dark = qMax(darkInColumn(x), qMax(darkInColumn(x - 1), darkInColumn(x + 1)));
        QVERIFY2(dark > 100, qPrintable(QStringLiteral("fold at %1: %2 dark pixels").arg(foldX).arg(dark)));
    }
    QVERIFY(darkInColumn(100 / 6) < 5);  // nothing left of the cut line
}

void PrintCommandTest::copiesGoInBatchesOfThePrintersMost()
{
    MessageRecorder messages;
    delete QdPrinter;
    OtherServer limited(qgetenv("PELORA_CUPS_SERVER_MAX10"));
    QdPrinter = new TQdPrinter();
    QCOMPARE(QdPrinter->GetMaxCopies(), 10);
    const QList<int> jobs = print(QStringLiteral("25"));
    QCOMPARE(jobs.size(), 3);
    QList<int> copies;
    for (int id : jobs)
        copies << PrivateCups::waitForJob(id, QString::fromLocal8Bit(cupsServer())).copies;
    QCOMPARE(copies, (QList<int>{10, 10, 5}));
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(m_form->ComboBusuu->currentText(), QStringLiteral("1"));
    QCOMPARE(QdPrinter->PlatformPrinter().copyCount(), 1);

    QCOMPARE(print(QStringLiteral("20")).size(), 2);
    const QList<int> three = print(QStringLiteral("3"));
    QCOMPARE(three.size(), 1);
    QCOMPARE(PrivateCups::waitForJob(three[0], QString::fromLocal8Bit(cupsServer())).copies, 3);
}

void PrintCommandTest::copiesTextThatIsNoNumberIsOne()
{
    MessageRecorder messages;
    const QList<int> jobs = print(QStringLiteral("abc"));
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(PrivateCups::waitForJob(jobs[0]).copies, 1);
    QVERIFY(messages.shown().isEmpty());
}

void PrintCommandTest::refusedCopyCountFallsBackToThePrintersOwn()
{
    MessageRecorder messages;
    const QList<int> jobs = print(QStringLiteral("0"));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("お使いのプリンタが最大印刷部数を提供してくれませんでした。\rペロラの部数設定は破棄し、プリンタ側の部数設定で印刷します。")});
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(PrivateCups::waitForJob(jobs[0]).copies, 1);
    QCOMPARE(m_form->ComboBusuu->currentText(), QStringLiteral("1"));
    messages.clear();
    QCOMPARE(print(QStringLiteral("-3")).size(), 1);
    QCOMPARE(messages.shown().size(), 1);
}

void PrintCommandTest::refusedJobIsShownAndTheProgramGoesOn()
{
    MessageRecorder messages;
    // The chosen queue takes no jobs: the job counts as a refused copy
    // count, and the failure of the one more try ends the command in the
    // error box, from the button and from the menu alike.
    QdPrinter->SelectPrinter(QStringLiteral("pelora-hidden"));
    for (QObject *command : {static_cast<QObject *>(m_form->Button1), static_cast<QObject *>(m_form->Print1)}) {
        messages.clear();
        if (auto *button = qobject_cast<QPushButton *>(command))
            button->click();
        else
            qobject_cast<QAction *>(command)->trigger();
        QCOMPARE(messages.shown().size(), 2);
        QCOMPARE(messages.texts().first(), QStringLiteral("お使いのプリンタが最大印刷部数を提供してくれませんでした。\rペロラの部数設定は破棄し、プリンタ側の部数設定で印刷します。"));
        QCOMPARE(messages.shown().at(1).kind, Messages::Kind::Error);
        QVERIFY2(messages.texts().at(1).startsWith(QStringLiteral("TQdPrinter.EndDoc: Print Job not Accepted by pelora-hidden")),
                 qPrintable(messages.texts().at(1)));
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

PELORA_TEST_MAIN(PrintCommandTest)
#include "tst_printcommand.moc"

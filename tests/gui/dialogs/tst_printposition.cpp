// SPDX-License-Identifier: GPL-3.0-or-later
// Print-position corrections: as stored, as entered, and as printed.
#include "core/layout/CalibrationPage.h"
#include "core/settings/PrintPositions.h"
#include "core/settings/SettingsFile.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/dialogs/PrintPositionDialog.h"
#include "printer/QdPrinters.h"
#include "support/PrintedPage.h"
#include "support/PrivateCups.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cups/cups.h>

namespace {

constexpr double kPixelsPerMm = 600 / 25.4;

// The centre of the cross near `expected`, from the columns and rows that
// hold its arms: within 3 mm of it nothing else fills half a line.
QPointF crossCentre(const QImage &page, QPointF expected)
{
    const int reach = 70;
    const QRect window = QRect(expected.toPoint() - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1)) & page.rect();
    QList<int> columns(window.width()), rows(window.height());
    for (int y = window.top(); y <= window.bottom(); ++y) {
        const uchar *line = page.constScanLine(y);
        for (int x = window.left(); x <= window.right(); ++x) {
            if (line[x] < 128) {
                ++columns[x - window.left()];
                ++rows[y - window.top()];
            }
        }
    }
    // The mean of the lines more than half full; pixel i spans i … i + 1.
    const auto middle = [](const QList<int> &counts) {
        const int most = *std::max_element(counts.begin(), counts.end());
        double sum = 0, n = 0;
        for (int i = 0; i < counts.size(); ++i) {
            if (counts[i] * 2 > most) {
                sum += i;
                ++n;
            }
        }
        return n ? sum / n + 0.5 : -1000.0;
    };
    return QPointF(window.left() + middle(columns), window.top() + middle(rows));
}

}  // namespace

class PrintPositionTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_config = std::make_unique<ScopedConfigDir>();
        QdPrinter = new TQdPrinter();
    }
    void cleanup()
    {
        delete QdPrinter;
        QdPrinter = nullptr;
        m_config.reset();
    }

    void readsOnlyValidValues_data();
    void readsOnlyValidValues();
    void writtenValuesReadBack();
    void dialogStoresOnlyWithOk();
    void crossesLandWhereTheCorrectionPutsThem_data();
    void crossesLandWhereTheCorrectionPutsThem();

private:
    std::unique_ptr<ScopedConfigDir> m_config;
};

void PrintPositionTest::readsOnlyValidValues_data()
{
    QTest::addColumn<QByteArray>("entries");  // of [PrintPosition]
    QTest::addColumn<QString>("destination");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("scale");
    QTest::newRow("no section") << QByteArray() << "q" << 0.0 << 0.0 << 100.0;
    QTest::newRow("other printer") << QByteArray("p.OffsetX=1\r\np.OffsetY=1\r\np.Scale=99\r\n") << "q" << 0.0 << 0.0 << 100.0;
    QTest::newRow("junk") << QByteArray("q.OffsetX=abc\r\nq.OffsetY=nan\r\nq.Scale=inf\r\n") << "q" << 0.0 << 0.0 << 100.0;
    QTest::newRow("empty, beyond") << QByteArray("q.OffsetX=\r\nq.OffsetY=20.1\r\nq.Scale=94.9\r\n") << "q" << 0.0 << 0.0 << 100.0;
    QTest::newRow("limits") << QByteArray("q.OffsetX=-20\r\nq.OffsetY=20.0\r\nq.Scale=105\r\n") << "q" << -20.0 << 20.0 << 105.0;
    QTest::newRow("rounded") << QByteArray("q.OffsetX=1.26\r\nq.OffsetY=-1.54\r\nq.Scale=95.04\r\n") << "q" << 1.3 << -1.5 << 95.0;
    QTest::newRow("instance") << QByteArray("q.OffsetX=9\r\nq/inst.OffsetX=0.5\r\n") << "q/inst" << 0.5 << 0.0 << 100.0;
}

void PrintPositionTest::readsOnlyValidValues()
{
    QFETCH(QByteArray, entries);
    QFETCH(QString, destination);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, scale);
    const QByteArray bytes = entries.isEmpty() ? QByteArray("[Other]\r\nq.OffsetX=1\r\n") : "[PrintPosition]\r\n" + entries;
    QCOMPARE(PrintPositions::read(SettingsFile::fromBytes(bytes), destination), (PrintCorrection{x, y, scale}));
}

void PrintPositionTest::writtenValuesReadBack()
{
    SettingsFile file;
    PrintPositions::write(file, QStringLiteral("q/inst"), PrintCorrection{1.5, -0.3, 100.2});
    QCOMPARE(file.toBytes(), QByteArray("[PrintPosition]\r\nq/inst.OffsetX=1.5\r\nq/inst.OffsetY=-0.3\r\nq/inst.Scale=100.2\r\n\r\n"));
    const SettingsFile reread = SettingsFile::fromBytes(file.toBytes());
    QCOMPARE(PrintPositions::read(reread, QStringLiteral("q/inst")), (PrintCorrection{1.5, -0.3, 100.2}));
    QCOMPARE(PrintPositions::read(reread, QStringLiteral("q")), PrintCorrection{});
}

void PrintPositionTest::dialogStoresOnlyWithOk()
{
    QVERIFY2(PrivateCups::available(), "run through ./test.sh: it starts a private CUPS");
    MessageRecorder messages;
    const QString pdf = QStringLiteral("pelora-pdf");
    QVERIFY(PrintPositions::save(pdf, PrintCorrection{1.5, -0.3, 100.2}));
    TForm1 form;
    QdPrinter->SelectPrinter(pdf);

    // Runs in the dialog's own event loop, and always closes the dialog.
    const auto answer = [&](double x, bool refuseWrites, const char *button, QStringList &seen) {
        QTimer::singleShot(0, this, [&, x, refuseWrites, button] {
            auto *dialog = form.findChild<TPrintPositionForm *>();
            if (!dialog)
                return;
            const auto box = [&](const char *name) { return dialog->findChild<QDoubleSpinBox *>(QLatin1String(name)); };
            seen = {dialog->windowTitle(), dialog->PrinterLabel->text(), box("OffsetXBox")->text(),
                    box("OffsetYBox")->text(), box("ScaleBox")->text()};
            box("OffsetXBox")->setValue(x);
            if (refuseWrites) {
                ScopedFileSizeLimit full(0);
                dialog->OkBtn->click();
                seen << QString::number(dialog->isVisible());
            }
            dialog->findChild<QPushButton *>(QLatin1String(button))->click();
        });
        form.PrintPositionMe->trigger();
    };
    QStringList seen;
    answer(2.0, true, "OkBtn", seen);
    QCOMPARE(seen, (QStringList{QStringLiteral("ペロラ - 印刷位置の調整"), QStringLiteral("プリンタ: pelora-pdf"),
                                QStringLiteral("1.5 mm"), QStringLiteral("-0.3 mm"), QStringLiteral("100.2 %"),
                                QStringLiteral("1")}));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("設定ファイル Pelora.ini に書き込めませんでした（%1）。").arg(qt_error_string(EFBIG))});
    QCOMPARE(PrintPositions::load(pdf), (PrintCorrection{2.0, -0.3, 100.2}));

    answer(-4.0, false, "CancelBtn", seen);
    QCOMPARE(seen.at(2), QStringLiteral("2.0 mm"));
    QCOMPARE(PrintPositions::load(pdf), (PrintCorrection{2.0, -0.3, 100.2}));
}

// The page printed for real: its crosses, found in the job's PDF rendered at
// 600 per inch, lie at sheet millimetres × scale + offset.
void PrintPositionTest::crossesLandWhereTheCorrectionPutsThem_data()
{
    PrintedPage::addCorrectionRows(true);
}

void PrintPositionTest::crossesLandWhereTheCorrectionPutsThem()
{
    QFETCH(QString, queue);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, scale);
    QVERIFY2(PrivateCups::available(), "run through ./test.sh: it starts a private CUPS");
    MessageRecorder messages;
    QdPrinter->SelectPrinter(queue);
    TPrintPositionForm dialog(queue);
    dialog.OffsetXBox->setValue(x);
    dialog.OffsetYBox->setValue(y);
    dialog.ScaleBox->setValue(scale);
    const int before = PrivateCups::lastJobId(QString::fromLocal8Bit(cupsServer()));
    dialog.PrintPageBtn->click();
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(QdPrinter->LastJobId(), before + 1);
    QCOMPARE(PrintPositions::load(queue), PrintCorrection{});  // printed, not stored
    QCOMPARE(PrivateCups::waitForJob(before + 1).state, int(IPP_JSTATE_COMPLETED));

    const QString pdf = PrivateCups::output(queue, before + 1);
    QVERIFY(PrivateCups::runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("印刷位置の調整用ページ")));
    const QImage page = PrintedPage::render(pdf, 600);
    QVERIFY(!page.isNull());

    const SheetGeometry sheet{QdPrinter->GetPixelsPerInch(), QdPrinter->GetSheetPixels(), QdPrinter->GetPrintableArea()};
    const CalibrationCrosses crosses = CalibrationCrossesOn(sheet);
    for (const QPoint mm : {QPoint(crosses.left, crosses.top), QPoint(crosses.right, crosses.bottom)}) {
        const QPointF expected((mm.x() * scale / 100 + x) * kPixelsPerMm, (mm.y() * scale / 100 + y) * kPixelsPerMm);
        const QPointF found = crossCentre(page, expected);
        QVERIFY2(qAbs(found.x() - expected.x()) <= 2.4 && qAbs(found.y() - expected.y()) <= 2.4,
                 qPrintable(QStringLiteral("(%1, %2) mm at %3, %4 px, not %5, %6")
                                .arg(mm.x()).arg(mm.y()).arg(found.x()).arg(found.y()).arg(expected.x()).arg(expected.y())));
    }

    // Uncorrected, nothing lies outside the printable area.
    if (PrintCorrection{x, y, scale} == PrintCorrection{}) {
        int outside = 0;
        for (int row = 0; row < page.height(); ++row) {
            const uchar *line = page.constScanLine(row);
            for (int column = 0; column < page.width(); ++column)
                outside += line[column] < 200 && !sheet.printable.contains(column, row) ? 1 : 0;
        }
        QCOMPARE(outside, 0);
    }
}

PELORA_TEST_MAIN(PrintPositionTest)
#include "tst_printposition.moc"

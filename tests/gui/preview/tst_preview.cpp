// SPDX-License-Identifier: GPL-3.0-or-later
// The preview window: the layout drawn small, its warnings, and printing
// from it. Pixels of the picture are checked, not only that drawing ran.
#include "core/layout/JacketLayout.h"
#include "core/layout/SheetPlacement.h"
#include "gui/widgets/ItemListBox.h"
#include "core/settings/PrintPositions.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "core/bitmap/BigBitmap.h"
#include "gui/preview/PreviewWindow.h"
#include "printer/QdPrinters.h"
#include "support/PrintedPage.h"
#include "support/PrivateCups.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

namespace {

bool isDark(QRgb pixel) { return qGray(pixel) < 160; }

int darkPixels(const QImage &image, const QRect &area)
{
    int dark = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            dark += isDark(image.pixel(x, y)) ? 1 : 0;
    return dark;
}

int conv(int v) { return int(v / 7.1); }

int leftFoldEnd(const TJacketLayout &L) { return conv(L.LeftFoldLine[0].x()) + 2; }

}  // namespace

class PreviewTest : public QObject
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
        m_form->show();
        m_form->EditTi->setText(QStringLiteral("プレビュー盤"));
        m_form->ListBox1->setItems({"one", "two", "three"});
    }
    void cleanup()
    {
        delete PreVForm;
        PreVForm = nullptr;
        m_form.reset();
        delete QdPrinter;
        QdPrinter = nullptr;
        m_config.reset();
    }

    void workedExample();
    void windowAndButtons();
    void frontFaceHasOnlyTheRightAndBottomCutLines();
    void backFaceDrawnWhereTheLayoutPutsIt();
    void wholeSheetShowsBothFacesAsPrinted_data();
    void wholeSheetShowsBothFacesAsPrinted();
    void labelShowsItsCoverRoundToTheBleed();
    void obiShowsItsSpineTitleBetweenItsFolds();
    void emptyTitleDrawsNoTitleAndNoSpine();
    void verticalSpineCharactersStandInOneColumn();
    void tooSmallForTheScreen();
    void cannotPrintAtAll();
    void secondShowingStartsBlank();
    void printingFromThePreviewShowsNoSecondNotice();
    void previewCommandChecksFirst();
    void restoringKeepsThePictureAndEnterPressesTheFocusedButton();

private:
    // Shows the preview the way the program does and hands its picture out
    // before closing it with "戻る".
    QImage showPreview();
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
};

QImage PreviewTest::showPreview()
{
    QImage picture;
    QTimer::singleShot(0, this, [&] {
        picture = PreVForm->Image1->Picture().copy();
        PreVForm->CanCelBtn->click();
    });
    m_form->PreVBtnClick();
    return picture;
}

void PreviewTest::workedExample()
{
    QCOMPARE(TPreVForm::PreviewDivisor(1.0), 7.1);
    QCOMPARE(TPreVForm::PreviewFontSize(142, 7.1, 96), -15);
    QCOMPARE(TPreVForm::PreviewFontSize(14, 7.1, 96), 0);  // t = 1: too small
    // A preview font of −15 makes a line 20 pixels high on a 96-ppi image.
    TCanvas canvas(&PreVForm->Image1->Picture());
    canvas.SetFontSize(-15);
    QVERIFY(qAbs(canvas.TextHeight(LineHeightSample) - 20) <= 1);
}

void PreviewTest::windowAndButtons()
{
    QCOMPARE(PreVForm->windowTitle(), QStringLiteral("ペロラ - プレビュー"));
    QCOMPARE(PreVForm->size(), QSize(622, 480));
    QCOMPARE(PreVForm->Image1->geometry(), QRect(0, 0, 545, 449));
    QCOMPARE(PreVForm->PrintBtn->geometry(), QRect(552, 125, 57, 49));
    QCOMPARE(PreVForm->CanCelBtn->text(), QStringLiteral("戻る"));
    QTimer::singleShot(0, this, [&] {
        QCOMPARE(PreVForm->x(), m_form->x() + (m_form->width() - PreVForm->width()) / 2);
        QVERIFY(PreVForm->PrintBtn->hasFocus() || !PreVForm->isActiveWindow());
        PreVForm->close();
    });
    m_form->PreVBtnClick();
}

void PreviewTest::frontFaceHasOnlyTheRightAndBottomCutLines()
{
    const QImage picture = showPreview();
    const TJacketLayout &L = JacketLayout;
    const int right = conv(L.FrontCutLine[0].x());
    const int bottom = conv(L.FrontCutLine[1].y());
    QVERIFY(darkPixels(picture, QRect(right, 10, 1, bottom - 20)) > (bottom - 20) / 2);
    QVERIFY(darkPixels(picture, QRect(10, bottom, right - 20, 1)) > (right - 20) / 2);
    // Nothing along the top edge, nothing right of the cut line.
    QCOMPARE(darkPixels(picture, QRect(0, 0, picture.width(), 1)), 0);
    QCOMPARE(darkPixels(picture, QRect(right + 2, 0, picture.width(), picture.height())), 0);
    // The items are there. (The title may lie above the printable area, as
    // it does on a sheet with wide margins, and then above the picture.)
    QVERIFY(darkPixels(picture, QRect(0, conv(L.ItemsOrigin.y()), right, 30)) > 20);
}

// Title, first item and both horizontal spines, drawn again from the
// layout: every printer coordinate divided by 7.1 × ScaleX and truncated,
// the screen fonts chosen by the shrunk printer line height, and the texts
// moved by half the difference between the printer's and the screen's widths.
void PreviewTest::backFaceDrawnWhereTheLayoutPutsIt()
{
    m_form->RGTwoSides->setItemIndex(1);
    const QImage picture = showPreview();
    const TJacketLayout &L = JacketLayout;
    const double divisor = 7.1 * L.ScaleX;
    auto shrink = [&](int v) { return int(v / divisor); };
    QImage expected(picture.size(), picture.format());
    expected.setDotsPerMeterX(picture.dotsPerMeterX());
    expected.setDotsPerMeterY(picture.dotsPerMeterY());
    expected.fill(Qt::white);
    QPainter painter(&expected);
    TCanvas screen(&expected);
    screen.setPainter(&painter);
    TCanvas &printer = QdPrinter->GetCanvas();
    auto draw = [&](int size, const QString &text, const QString &centred, QPoint origin) {
        printer.SetFontSize(size);
        screen.SetFontSize(-(72 * shrink(printer.TextHeight(LineHeightSample)) / expected.logicalDpiY()));
        const QPoint at(shrink(origin.x()) + (shrink(printer.TextWidth(centred)) - screen.TextWidth(centred)) / 2,
                        shrink(origin.y()));
        screen.TextOut(at.x(), at.y(), text);
        return QRect(at, QSize(screen.TextWidth(text), screen.TextHeight(text)));
    };
    const QString title = m_form->EditTi->text();
    const QStringList items = m_form->ListBox1->items();
    QList<QRect> areas{draw(L.TitleFontSize, title, title, L.TitleOrigin),
                       draw(L.ItemFontSize, NumberedLines(items, m_form->PlusNum->isChecked(), NumberSuffix)[0],
                            items[L.WidestItemIndex], L.ItemsOrigin)};
    for (const TEdges &e : {L.SpineRectLeft, L.SpineRectRight}) {
        areas << TEdges{shrink(e.Left), shrink(e.Top), shrink(e.Right), shrink(e.Bottom)}.toRect();
        SpineBitmap->Draw(screen, areas.last());
    }
    painter.end();
    for (const QRect &area : areas) {
        QVERIFY(darkPixels(expected, area) > 10);
        QCOMPARE(picture.copy(area), expected.copy(area));
    }
}

// 表と裏を1枚でプレビュー: the whole A4 sheet made small enough to fit, with
// the faces' cut lines where the printed page has them (see the print
// command's test), moved by the printer's correction.
void PreviewTest::wholeSheetShowsBothFacesAsPrinted_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("as it is") << 0.0 << 0.0;
    QTest::newRow("corrected") << 10.0 << 5.0;
}

void PreviewTest::wholeSheetShowsBothFacesAsPrinted()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QVERIFY(PrintPositions::save(QdPrinter->PlatformPrinter().printerName(), PrintCorrection{x, y, 100}));
    QImage picture;
    QTimer::singleShot(0, this, [&] {
        picture = PreVForm->Image1->Picture().convertToFormat(QImage::Format_Grayscale8);
        PreVForm->CanCelBtn->click();
    });
    m_form->OneSheetPreviewMe->trigger();
    const QSize sheet = QdPrinter->GetSheetPixels();
    const double divisor = std::max({7.1, sheet.width() / 545.0, sheet.height() / 449.0});
    const double dx = x * 600 / 25.4;
    const double dy = y * 600 / 25.4;
    const double front = (sheet.width() - 2850) / 2.0 + dx;
    const double top = (sheet.height() - 5860) / 2.0 + dy;
    const auto shows = [&](Qt::Orientation orientation, double from, double to, const QList<double> &at) {
        const QList<double> found = PrintedPage::linesAcross(picture, orientation, int(from / divisor) + 2, int(to / divisor) - 2);
        return std::all_of(at.begin(), at.end(), [&](double v) {
            return std::any_of(found.begin(), found.end(), [&](double f) { return qAbs(f - v / divisor) <= 1.5; });
        });
    };
    QVERIFY(shows(Qt::Vertical, top, top + 2850, {front, front + 2850}));
    QVERIFY(shows(Qt::Horizontal, front, front + 2850, {top, top + 2850, top + 3090, top + 5860}));

    // The back's right spine title stands in its strip, as printed: nothing
    // past the back's right edge, and ink in the strip.
    const double backRight = (sheet.width() + 3546) / 2.0 + dx;
    const QRect strip(int((backRight - 150) / divisor) + 1, int((top + 3090) / divisor) + 2, int(150 / divisor) - 2, int(2770 / divisor) - 4);
    QVERIFY(darkPixels(picture, strip) > 20);
    const int sheetEdge = int(sheet.width() / divisor);
    QCOMPARE(darkPixels(picture, QRect(strip.right() + 3, strip.top(), sheetEdge - strip.right() - 5, strip.height()))
                 + darkPixels(picture, QRect(sheetEdge + 2, strip.top(), picture.width(), strip.height())),
             0);

    // The front's item lines are as wide as printed, tiny as their font is.
    const PlacedFace &face = PagePlan.first();
    TCanvas &printer = QdPrinter->GetCanvas();
    printer.SetFontSize(face.layout.ItemFontSize);
    const double printed = printer.TextWidth(face.content.lines[face.layout.WidestItemIndex]) / divisor;
    const int firstRow = int((top + face.layout.ItemsOrigin.y()) / divisor) + 1;
    const int lastRow = int((top + 2850) / divisor) - 3;
    int inkFrom = picture.width();
    int inkTo = 0;
    for (int y = firstRow; y < lastRow; ++y) {
        for (int x = int(front / divisor) + 3; x < int((front + 2850) / divisor) - 3; ++x) {
            if (qGray(picture.pixel(x, y)) < 160) {
                inkFrom = std::min(inkFrom, x);
                inkTo = std::max(inkTo, x + 1);
            }
        }
    }
    QVERIFY2(qAbs(inkTo - inkFrom - printed) <= 3, qPrintable(QStringLiteral("%1 vs %2").arg(inkTo - inkFrom).arg(printed)));
}

// A disc label with crop marks: its cover reaches 2 mm past the ring, and
// the preview shows that reach round, as printed, not cut at the ring's square.
void PreviewTest::labelShowsItsCoverRoundToTheBleed()
{
    m_form->SetMarks(FaceMarks::CropMarks);
    m_form->SetCover(*CoverPicture::fromBytes(TestSupport::solidPng(Qt::red)));
    QImage picture;
    QTimer::singleShot(0, this, [&] {
        picture = PreVForm->Image1->Picture().copy();
        PreVForm->CanCelBtn->click();
    });
    m_form->LabelPreviewMe->trigger();
    QVERIFY(!picture.isNull());
    const SheetGeometry sheet{QdPrinter->GetPixelsPerInch(), QdPrinter->GetSheetPixels(), QdPrinter->GetPrintableArea()};
    const double divisor = std::max({7.1, sheet.sheet.width() / 545.0, sheet.sheet.height() / 449.0});
    const PlacedFace &label = PagePlan.first();
    const QSize box = label.disc->layout.box;
    const QPointF corner = QPointF(label.transform.dx(), label.transform.dy()) + sheet.printable.topLeft();
    const auto red = [&](double x, double y) {
        const QRgb pixel = picture.pixel(int(x / divisor), int(y / divisor));
        return qRed(pixel) > 200 && qGreen(pixel) < 80;
    };
    // 1 mm above the ring's top, at its middle: red; at its square's corner: not.
    const double above = corner.y() - 600 / 25.4;
    QVERIFY(red(corner.x() + box.width() / 2.0, above));
    QVERIFY(!red(corner.x() + 3 * divisor, above));
}

// The obi, drawn as printed on its whole sheet: its title's column
// stands on its spine, between the folds, made smaller to fit as the
// faces' fonts are, with their notice.
void PreviewTest::obiShowsItsSpineTitleBetweenItsFolds()
{
    m_form->EditTi->setText(QStringLiteral("春夏秋冬ベスト・コレクション 完全版 ボーナストラック付き"));
    MessageRecorder messages;
    QImage picture;
    QTimer::singleShot(0, this, [&] {
        picture = PreVForm->Image1->Picture().copy();
        PreVForm->CanCelBtn->click();
    });
    m_form->ObiPreviewMe->trigger();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("現在のフォントサイズだとはみ出してしまうので小さくします ")});
    QVERIFY(!picture.isNull());
    QCOMPARE(PagePlan.size(), 1);
    const PlacedFace &obi = PagePlan.first();
    QCOMPARE(obi.kind, FaceKindId::Obi);
    const SheetGeometry sheet{QdPrinter->GetPixelsPerInch(), QdPrinter->GetSheetPixels(), QdPrinter->GetPrintableArea()};
    const double divisor = std::max({7.1, sheet.sheet.width() / 545.0, sheet.sheet.height() / 449.0});
    const QPointF corner = QPointF(obi.transform.dx(), obi.transform.dy()) + sheet.printable.topLeft();
    const ObiLayout &strip = obi.obi->layout;
    const int top = int(corner.y() / divisor);
    const int height = int(strip.box.height() / divisor);
    // Half the spine's width round its middle: the folds lie outside.
    const int middle = int((corner.x() + strip.spine.centreX) / divisor);
    const int half = int((strip.frontFold - strip.backFold) / divisor / 4);
    QVERIFY(half >= 2);
    QVERIFY(darkPixels(picture, QRect(middle - half, top, 2 * half, height)) > 20);
}

void PreviewTest::emptyTitleDrawsNoTitleAndNoSpine()
{
    m_form->EditTi->clear();
    m_form->RGTwoSides->setItemIndex(1);
    const QImage picture = showPreview();
    const TJacketLayout &L = JacketLayout;
    const int leftFold = conv(L.LeftFoldLine[0].x());
    const int bottom = conv(L.BackCutLine[1].y());
    // Spine strip between the cut line and the fold: empty.
    QCOMPARE(darkPixels(picture, QRect(conv(L.BackCutLine[0].x()) + 2, 0, leftFold - conv(L.BackCutLine[0].x()) - 3, bottom - 2)), 0);
    // The items are drawn, the fold line too.
    QVERIFY(darkPixels(picture, QRect(leftFold, 5, 1, bottom - 10)) > 20);
    QVERIFY(darkPixels(picture, QRect(leftFold + 2, conv(L.ItemsOrigin.y()), 300, 20)) > 20);
}

void PreviewTest::verticalSpineCharactersStandInOneColumn()
{
    VerticalSpineText = true;
    m_form->RGTwoSides->setItemIndex(1);
    m_form->EditTi->setText(QStringLiteral("AB背"));
    const QImage picture = showPreview();
    VerticalSpineText = false;
    const TJacketLayout &L = JacketLayout;
    const QPoint left(conv(L.SpineTextOriginLeft.x()), conv(L.SpineTextOriginLeft.y()));
    const QPoint right(conv(L.SpineTextOriginRight.x()), conv(L.SpineTextOriginRight.y()));
    QVERIFY(darkPixels(picture, QRect(left, QSize(20, 60))) > 20);
    // The title is drawn above the items on the back face.
    const int titleTop = qMax(0, conv(L.TitleOrigin.y()));
    QVERIFY(darkPixels(picture, QRect(leftFoldEnd(L), titleTop, 300, conv(L.ItemsOrigin.y()) - titleTop)) > 5);
    // Both spines carry the same column.
    QCOMPARE(darkPixels(picture, QRect(left, QSize(20, 60))), darkPixels(picture, QRect(right, QSize(20, 60))));
}

void PreviewTest::tooSmallForTheScreen()
{
    m_form->ComboTFS->setCurrentText(QStringLiteral("1"));
    const QImage picture = showPreview();
    QVERIFY(!JacketLayout.TooSmallToPrint);
    // Only the two lines of text at the top left.
    QVERIFY(darkPixels(picture, QRect(10, 10, 300, 25)) > 50);
    QVERIFY(darkPixels(picture, QRect(10, 40, 300, 25)) > 50);
    QCOMPARE(darkPixels(picture, QRect(0, 80, picture.width(), picture.height())), 0);
}

void PreviewTest::cannotPrintAtAll()
{
    m_form->EditTi->setText(QString(3000, u'長'));
    const QImage picture = showPreview();
    QVERIFY(JacketLayout.TooSmallToPrint);
    QVERIFY(darkPixels(picture, QRect(10, 10, 400, 25)) > 50);
    QCOMPARE(darkPixels(picture, QRect(0, 40, picture.width(), picture.height())), 0);
}

void PreviewTest::secondShowingStartsBlank()
{
    m_form->RGTwoSides->setItemIndex(1);
    showPreview();
    QCOMPARE(darkPixels(PreVForm->Image1->Picture(), PreVForm->Image1->Picture().rect()), 0);
    m_form->RGTwoSides->setItemIndex(0);
    const QImage front = showPreview();
    // No fold line of the back face is left over.
    QCOMPARE(darkPixels(front, QRect(conv(JacketLayout.FrontCutLine[0].x()) + 2, 0, 545, 449)), 0);
}

void PreviewTest::printingFromThePreviewShowsNoSecondNotice()
{
    MessageRecorder messages;
    m_form->EditTi->setText(QStringLiteral("はみ出すほど長いタイトル、はみ出すほど長いタイトル、はみ出すほど長い"));
    const int before = PrivateCups::lastJobId();
    int result = -1;
    QTimer::singleShot(0, this, [&] {
        PreVForm->PrintBtn->click();
        result = PreVForm->result();
    });
    m_form->PreVBtn->click();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("現在のフォントサイズだとはみ出してしまうので小さくします ")});
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(QdPrinter->LastJobId() > before);
    QCOMPARE(PrivateCups::waitForJob(QdPrinter->LastJobId()).name, QStringLiteral("印刷中"));
}

void PreviewTest::previewCommandChecksFirst()
{
    MessageRecorder messages;
    m_form->ListBox1->clear();
    m_form->PreViewMe->trigger();  // would hang here if the window opened
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("内容に何も無いときは印刷できません")});
}

// Minimised and restored, the preview is the same showing: no new layout,
// no second shrink notice. Enter presses the focused button.
void PreviewTest::restoringKeepsThePictureAndEnterPressesTheFocusedButton()
{
    MessageRecorder messages;
    m_form->EditTi->setText(QString(60, u'長'));
    int noticesAfterRestore = -1;
    bool restored = false;
    bool closedByEnter = false;
    QTimer::singleShot(0, this, [&] {
        PreVForm->setWindowState(Qt::WindowMinimized);
        restored = QTest::qWaitFor([] { return PreVForm->isMinimized(); });
        PreVForm->setWindowState(Qt::WindowNoState);
        restored = restored && QTest::qWaitFor([] { return !PreVForm->isMinimized(); });
        QCoreApplication::processEvents();
        noticesAfterRestore = int(messages.shown().size());
        PreVForm->CanCelBtn->setFocus();
        QTest::keyClick(PreVForm->CanCelBtn, Qt::Key_Return);
        closedByEnter = !PreVForm->isVisible();
        PreVForm->close();
    });
    m_form->PreVBtnClick();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("現在のフォントサイズだとはみ出してしまうので小さくします ")});
    QVERIFY(restored);
    QCOMPARE(noticesAfterRestore, 1);
    QVERIFY(closedByEnter);
}

PELORA_TEST_MAIN(PreviewTest)
#include "tst_preview.moc"

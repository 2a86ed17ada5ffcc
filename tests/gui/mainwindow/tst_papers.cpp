// SPDX-License-Identifier: GPL-3.0-or-later
// Where faces, their marks and a cover's bleed land on the printed sheet:
// every measure taken in the rendered PDF, in millimetres from the sheet's corner.
#include "support/PrintedPage.h"
#include "support/TestSupport.h"
#include "core/layout/PdfExport.h"
#include "core/settings/PaperChoices.h"
#include "gui/dialogs/PaperDialog.h"
#include "core/settings/SettingsFile.h"
#include "core/cups/DiscTrays.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kLineDpi = 600;    // the faces' own resolution: a mark is a pixel wide
constexpr int kColourDpi = 254;  // ten pixels a millimetre
constexpr double kTolerance = 0.3;
constexpr double kA4Width = 210;
constexpr double kA4Height = 297;
constexpr double kFrontSide = 2850 * 25.4 / 600;
constexpr double kBackWidth = 3546 * 25.4 / 600;
constexpr double kBackHeight = 2770 * 25.4 / 600;
constexpr double kSpine = 150 * 25.4 / 600;

int px(double mm, int dpi = kLineDpi) { return int(mm * dpi / 25.4); }

QImage exported(FaceMarks marks, PageFaces faces, bool cover, const QString &folder, const LabelProduct *product = nullptr)
{
    JacketExport jacket;
    jacket.jacket = {QStringLiteral("Best of 2024"), {QStringLiteral("One"), QStringLiteral("Two")}};
    jacket.pages = {faces};
    jacket.jacket.marks = marks;
    if (cover)
        jacket.jacket.cover = *CoverPicture::fromBytes(TestSupport::solidPng(Qt::red));
    if (product)
        jacket.product = LabelProducts::FitJacket(*product);
    const ExportOutcome outcome = ExportJacketPdf(jacket, product ? ProductSheet(*product, FallbackSheet()) : FallbackSheet());
    if (outcome.status != ExportOutcome::Written)
        return {};
    const QString pdf = folder + QStringLiteral("/page.pdf");
    TestSupport::writeFile(pdf, outcome.pdf);
    return cover ? PrintedPage::render(pdf, kColourDpi, true) : PrintedPage::render(pdf, kLineDpi);
}

// The red of the cover along a row or a column: where it begins and ends, in millimetres.
std::pair<double, double> redSpan(const QImage &page, Qt::Orientation along, double atMm)
{
    const int count = along == Qt::Horizontal ? page.width() : page.height();
    int first = -1;
    int last = -1;
    for (int i = 0; i < count; ++i) {
        const QColor colour = along == Qt::Horizontal ? page.pixelColor(i, px(atMm, kColourDpi)) : page.pixelColor(px(atMm, kColourDpi), i);
        if (colour.red() > 200 && colour.green() < 80) {
            first = first < 0 ? i : first;
            last = i + 1;
        }
    }
    return {first * 25.4 / kColourDpi, last * 25.4 / kColourDpi};
}

// A sheet of the user's own: two front squares and a tray card on A4.
const char kTwoUp[] = R"(<Glabels-templates>
  <Template brand="Mine" part="Both" size="A4" _description="front and back">
    <Label-rectangle id="0" width="121mm" height="121mm">
      <Layout nx="1" ny="1" x0="10mm" y0="10mm" dx="0" dy="0"/>
    </Label-rectangle>
    <Label-rectangle id="1" width="151mm" height="118mm" waste="1mm">
      <Layout nx="1" ny="1" x0="30mm" y0="150mm" dx="0" dy="0"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>)";

}  // namespace

Q_DECLARE_METATYPE(FaceMarks)
Q_DECLARE_METATYPE(PageFaces)

class PapersTest : public QObject
{
    Q_OBJECT

private slots:
    void marksOnPlainPaper_data();
    void marksOnPlainPaper();
    void bleedOnlyWithCropMarks_data();
    void bleedOnlyWithCropMarks();
    void facesInTheProductsLabels_data();
    void facesInTheProductsLabels();
    void productFoldLinesButNoCutLines();
    void paperChoicesReadJunkAsPlainPaper();
    void paperDialogSearchesAndKeepsWhatItDoesNotShow();
    void paperDialogOpensOnTheStoredChoice_data();
    void paperDialogOpensOnTheStoredChoice();
    void discLabelWhereItGoes_data();
    void discLabelWhereItGoes();
    void discTrayFromTheDriversPageSizes_data();
    void discTrayFromTheDriversPageSizes();
};

void PapersTest::marksOnPlainPaper_data()
{
    QTest::addColumn<FaceMarks>("marks");
    QTest::addColumn<PageFaces>("faces");
    QTest::addColumn<Qt::Orientation>("across");  // Vertical: lines are columns
    QTest::addColumn<double>("bandFrom");
    QTest::addColumn<double>("bandTo");
    QTest::addColumn<QList<double>>("lines");

    // A face alone with crop marks stands in the middle of the sheet.
    const double frontLeft = (kA4Width - kFrontSide) / 2;
    const double frontTop = (kA4Height - kFrontSide) / 2;
    const double backLeft = (kA4Width - kBackWidth) / 2;
    const double backTop = (kA4Height - kBackHeight) / 2;
    const double backRight = backLeft + kBackWidth;
    QTest::newRow("dashed: cut line along the front's inner edge")
        << FaceMarks::CutLines << PageFaces::Front << Qt::Vertical << 10.0 << 100.0 << QList<double>{kFrontSide};
    QTest::newRow("none: no line at all")
        << FaceMarks::None << PageFaces::Front << Qt::Vertical << 10.0 << 100.0 << QList<double>{};
    QTest::newRow("crop: the front's side marks above it, from 3 to 13 mm")
        << FaceMarks::CropMarks << PageFaces::Front << Qt::Vertical << frontTop - 12.7 << frontTop - 3.3
        << QList<double>{frontLeft, frontLeft + kFrontSide};
    QTest::newRow("crop: nothing within 3 mm of the corner")
        << FaceMarks::CropMarks << PageFaces::Front << Qt::Vertical << frontTop - 2.7 << frontTop - 0.3 << QList<double>{};
    QTest::newRow("crop: the front's top and bottom marks left of it")
        << FaceMarks::CropMarks << PageFaces::Front << Qt::Horizontal << frontLeft - 12.7 << frontLeft - 3.3
        << QList<double>{frontTop, frontTop + kFrontSide};
    QTest::newRow("crop: no dashed line on the face")
        << FaceMarks::CropMarks << PageFaces::Front << Qt::Vertical << frontTop + 10 << frontTop + 100 << QList<double>{};
    // The disc label's square, centred across at the top, 13 mm down for its marks.
    QTest::newRow("crop: the label's side marks above it, black as the faces'")
        << FaceMarks::CropMarks << PageFaces::Label << Qt::Vertical << 0.3 << 9.7 << QList<double>{(kA4Width - 117) / 2, (kA4Width + 117) / 2};
    QTest::newRow("crop: the back's corners and folds below it")
        << FaceMarks::CropMarks << PageFaces::Back << Qt::Vertical << backTop + kBackHeight + 3.3
        << backTop + kBackHeight + 12.7 << QList<double>{backLeft, backLeft + kSpine, backRight - kSpine, backRight};
}

void PapersTest::marksOnPlainPaper()
{
    QFETCH(FaceMarks, marks);
    QFETCH(PageFaces, faces);
    QFETCH(Qt::Orientation, across);
    QFETCH(double, bandFrom);
    QFETCH(double, bandTo);
    QFETCH(QList<double>, lines);

    QTemporaryDir folder;
    const QImage page = exported(marks, faces, false, folder.path());
    QVERIFY(!page.isNull());
    const QList<double> found = PrintedPage::linesAcross(page, across, px(bandFrom), px(bandTo));
    QCOMPARE(found.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(qAbs(found[i] * 25.4 / kLineDpi - lines[i]) <= kTolerance, qPrintable(QString::number(found[i] * 25.4 / kLineDpi)));
}

void PapersTest::bleedOnlyWithCropMarks_data()
{
    QTest::addColumn<FaceMarks>("marks");
    QTest::addColumn<double>("reach");  // how far the picture goes past the face's right edge
    QTest::newRow("crop marks: 2 mm") << FaceMarks::CropMarks << 2.0;
    QTest::newRow("cut lines: none") << FaceMarks::CutLines << 0.0;
}

void PapersTest::bleedOnlyWithCropMarks()
{
    QFETCH(FaceMarks, marks);
    QFETCH(double, reach);
    QTemporaryDir folder;
    const QImage page = exported(marks, PageFaces::Front, true, folder.path());
    QVERIFY(!page.isNull());
    const double left = marks == FaceMarks::CropMarks ? (kA4Width - kFrontSide) / 2 : 0;
    const double top = marks == FaceMarks::CropMarks ? (kA4Height - kFrontSide) / 2 : 0;
    const int y = px(top + kFrontSide / 2, kColourDpi);
    const auto red = [&](double x) {
        const QColor colour = page.pixelColor(px(x, kColourDpi), y);
        return colour.red() > 200 && colour.green() < 80;
    };
    const double right = left + kFrontSide;
    QVERIFY(red(right + reach - kTolerance - 0.2));
    QVERIFY(!red(right + reach + kTolerance + 0.2));
}

// A front covered by its red picture, centred in the product's place for it
// with the product's bleed as far as the place has room: where the red
// begins and ends across and down.
void PapersTest::facesInTheProductsLabels_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<PageFaces>("faces");
    QTest::addColumn<QPointF>("redFrom");  // the cover's top-left corner with its bleed
    QTest::addColumn<double>("bleed");
    const double half = kFrontSide / 2;
    // The booklet's panel right of its fold at 32 mm: 59.5 + 61.5 across,
    // 22 + 62.5 down; its 2 mm bleed stops short of the fold.
    const double toFold = (123 - kFrontSide) / 2;
    QTest::newRow("Avery 8435A, booklet") << "Avery 8435A" << PageFaces::Front << QPointF(121 - half - toFold, 84.5 - half - toFold) << toFold;
    QTest::newRow("Avery 32250A, its equivalent") << "Avery 32250A" << PageFaces::Front << QPointF(121 - half - toFold, 84.5 - half - toFold) << toFold;
    // Folded across: the panel below the fold, on US Letter; no room for a bleed.
    QTest::newRow("Neato 69143, booklet folded across") << "Neato 69143" << PageFaces::Front << QPointF(47.625, 139.7) << 0.0;
    QTest::newRow("user's two-up, both on one sheet") << "Mine Both" << PageFaces::BothOnOneSheet << QPointF(70.5 - half, 70.5 - half) << 0.0;
}

void PapersTest::facesInTheProductsLabels()
{
    QFETCH(QString, product);
    QFETCH(PageFaces, faces);
    QFETCH(QPointF, redFrom);
    QFETCH(double, bleed);
    QList<LabelProduct> products = LabelProducts::ReadTemplates(kTwoUp, {{QStringLiteral("A4"), QSizeF(210, 297)}});
    products << LabelProducts::Installed();
    const LabelProduct *chosen = LabelProducts::Find(products, product);
    if (!chosen)
        QSKIP("the label database (glabels-data) is not installed");
    QTemporaryDir folder;
    const QImage page = exported(FaceMarks::CutLines, faces, true, folder.path(), chosen);
    QVERIFY(!page.isNull());
    const auto [left, right] = redSpan(page, Qt::Horizontal, redFrom.y() + 30);
    const auto [top, bottom] = redSpan(page, Qt::Vertical, redFrom.x() + 30);
    QVERIFY2(qAbs(left - redFrom.x()) <= kTolerance, qPrintable(QString::number(left)));
    QVERIFY2(qAbs(top - redFrom.y()) <= kTolerance, qPrintable(QString::number(top)));
    QVERIFY2(qAbs(right - left - kFrontSide - 2 * bleed) <= kTolerance, qPrintable(QString::number(right - left)));
    QVERIFY2(qAbs(bottom - top - kFrontSide - 2 * bleed) <= kTolerance, qPrintable(QString::number(bottom - top)));
}

// The tray card in Avery 8435B (155 × 122 at 27.5, 21): its folds, and no
// line along its cut, which the paper has already.
void PapersTest::productFoldLinesButNoCutLines()
{
    const LabelProduct *inlet = LabelProducts::Find(LabelProducts::Installed(), QStringLiteral("Avery 8435B"));
    if (!inlet)
        QSKIP("the label database (glabels-data) is not installed");
    QTemporaryDir folder;
    const QImage page = exported(FaceMarks::CropMarks, PageFaces::Back, false, folder.path(), inlet);
    const double left = 27.5 + (155 - kBackWidth) / 2;
    const QList<double> found = PrintedPage::linesAcross(page, Qt::Vertical, px(30), px(130));
    const QList<double> folds{left + kSpine, left + kBackWidth - kSpine};
    QCOMPARE(found.size(), folds.size());
    for (int i = 0; i < folds.size(); ++i)
        QVERIFY2(qAbs(found[i] * 25.4 / kLineDpi - folds[i]) <= kTolerance, qPrintable(QString::number(found[i] * 25.4 / kLineDpi)));
    QCOMPARE(PrintedPage::linesAcross(page, Qt::Horizontal, px(left + 10), px(left + 140)), QList<double>{});
}

void PapersTest::paperChoicesReadJunkAsPlainPaper()
{
    SettingsFile file = SettingsFile::fromBytes("[Paper]\r\nq/1.Product= Avery  8435B \r\nq/1.Front=2\r\nq/1.Back=x\r\n"
                                                "other.Product=\r\nother.Front=-3\r\n");
    QCOMPARE(PaperChoices::read(file, QStringLiteral("q/1")), (PaperChoice{QStringLiteral("Avery 8435B"), 2, 1}));
    QVERIFY(PaperChoices::read(file, QStringLiteral("other")).plainPaper());
    QCOMPARE(PaperChoices::read(file, QStringLiteral("other")).frontPosition, 1);
    QVERIFY(PaperChoices::read(file, QStringLiteral("nobody")).plainPaper());
    PaperChoices::write(file, QStringLiteral("q/1"), PaperChoice{QStringLiteral("Hama 50430"), 2, 1});
    QCOMPARE(PaperChoices::read(file, QStringLiteral("q/1")), (PaperChoice{QStringLiteral("Hama 50430"), 2, 1}));
    // A name beyond Shift-JIS comes back whole from the file.
    PaperChoices::write(file, QStringLiteral("q/1"), PaperChoice{QStringLiteral("Müller CD-2"), 2, 1});
    QCOMPARE(PaperChoices::read(SettingsFile::fromBytes(file.toBytes()), QStringLiteral("q/1")),
             (PaperChoice{QStringLiteral("Müller CD-2"), 2, 1}));
}

// The dialog opens on the stored choice; a stored product the list does
// not hold is said, nothing is chosen in its place, and OK keeps it.
void PapersTest::paperDialogOpensOnTheStoredChoice_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("note");
    QTest::newRow("plain paper") << QString() << 0 << QString();
    QTest::newRow("a product in the list") << QStringLiteral("Mine Both") << 1 << QString();
    QTest::newRow("a product gone") << QStringLiteral("Müller CD-2") << -1
                                    << QStringLiteral("選んであった用紙「Müller CD-2」はラベル用紙のデータベースにありません。用紙を選び直してください。");
}

void PapersTest::paperDialogOpensOnTheStoredChoice()
{
    QFETCH(QString, product);
    QFETCH(int, row);
    QFETCH(QString, note);
    ScopedConfigDir config;
    const PaperChoice stored{product, 1, 1, 1, 117.5};
    QVERIFY(PaperChoices::save(QStringLiteral("q"), stored));
    TPaperForm form(QStringLiteral("q"), LabelProducts::ReadTemplates(kTwoUp, {{QStringLiteral("A4"), QSizeF(210, 297)}}));
    QCOMPARE(form.ProductList->currentRow(), row);
    QCOMPARE(form.MissingLabel->isHidden() ? QString() : form.MissingLabel->text(), note);
    form.OkBtn->click();
    QCOMPARE(PaperChoices::load(QStringLiteral("q")), stored);
}

// Searching narrows the list to the products holding every word; OK stores
// the product and keeps the printable disc's ring, which the dialog does not show.
void PapersTest::paperDialogSearchesAndKeepsWhatItDoesNotShow()
{
    ScopedConfigDir config;
    PaperChoice stored;
    stored.discOuterMm = 118;
    stored.discInnerMm = 22;
    QVERIFY(PaperChoices::save(QStringLiteral("q"), stored));
    const QHash<QString, QSizeF> a4{{QStringLiteral("A4"), QSizeF(210, 297)}};
    const QList<LabelProduct> products = LabelProducts::ReadTemplates(kTwoUp, a4)
        + LabelProducts::ReadTemplates(QByteArray(kTwoUp).replace("Mine", "Yours"), a4);
    TPaperForm form(QStringLiteral("q"), products);
    form.SearchEdit->setText(QStringLiteral("yours BOTH"));
    QStringList shown;
    for (int row = 0; row < form.ProductList->count(); ++row) {
        if (!form.ProductList->item(row)->isHidden())
            shown << form.ProductList->item(row)->text().section(u' ', 0, 1);
    }
    QCOMPARE(shown, (QStringList{QStringLiteral("普通紙"), QStringLiteral("Yours Both")}));
    form.ProductList->setCurrentRow(2);
    form.OkBtn->click();
    stored.product = QStringLiteral("Yours Both");
    QCOMPARE(PaperChoices::load(QStringLiteral("q")), stored);
}

// A label covered by its red picture: the ring's centre, its outer reach
// (the bleed included) and its hole, measured in the PDF.
void PapersTest::discLabelWhereItGoes_data()
{
    QTest::addColumn<QString>("paper");  // plain, a product, or "tray"
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<double>("reach");   // the red's diameter
    QTest::addColumn<double>("hole");
    const double pt = 25.4 / 72;
    QTest::newRow("plain A4: centred across at the top") << "" << QPointF(105, 58.5) << 117.0 << 41.0;
    // Two a sheet, radius 166.5 pt from 144, 36 pt, hole 58.5 pt, waste 9 pt.
    QTest::newRow("Avery 5824, its first label") << "Avery 5824" << QPointF(310.5 * pt, 202.5 * pt) << (333 + 18) * pt << 117 * pt;
    QTest::newRow("a disc tray's 5-inch page") << "tray" << QPointF(58.03, 58.03) << 112.0 << 22.0;
}

void PapersTest::discLabelWhereItGoes()
{
    QFETCH(QString, paper);
    QFETCH(QPointF, centre);
    QFETCH(double, reach);
    QFETCH(double, hole);
    JacketExport jacket;
    jacket.jacket = {QStringLiteral("Best of 2024"), {QStringLiteral("One")}};
    jacket.pages = {PageFaces::Label};
    jacket.jacket.cover = *CoverPicture::fromBytes(TestSupport::solidPng(Qt::red));
    ExportSheet sheet = FallbackSheet();
    if (paper == QLatin1String("tray")) {
        sheet.pageLayout = QPageLayout(QPageSize(QSizeF(116.06, 116.06), QPageSize::Millimeter, QStringLiteral("CD - 5 inch")),
                                       QPageLayout::Portrait, QMarginsF());
        jacket.discTray = true;
        jacket.discRing = DiscRing{112, 22};
    } else if (!paper.isEmpty()) {
        const LabelProduct *product = LabelProducts::Find(LabelProducts::Installed(), paper);
        if (!product)
            QSKIP("the label database (glabels-data) is not installed");
        jacket.product = LabelProducts::FitJacket(*product);
        sheet = ProductSheet(*product, sheet);
    }
    const ExportOutcome outcome = ExportJacketPdf(jacket, sheet);
    QCOMPARE(outcome.status, ExportOutcome::Written);
    QTemporaryDir folder;
    TestSupport::writeFile(folder.filePath(QStringLiteral("label.pdf")), outcome.pdf);
    const QImage page = PrintedPage::render(folder.filePath(QStringLiteral("label.pdf")), kColourDpi, true);
    QVERIFY(!page.isNull());
    // Across the centre: red, the hole, red again.
    const int row = px(centre.y(), kColourDpi);
    const auto red = [&](int x, int y) { return qRed(page.pixel(x, y)) > 200 && qGreen(page.pixel(x, y)) < 80; };
    int first = 0;
    while (first < page.width() && !red(first, row))
        ++first;
    int last = page.width() - 1;
    while (last > 0 && !red(last, row))
        --last;
    int holeFrom = px(centre.x(), kColourDpi);
    while (holeFrom > first && !red(holeFrom, row))
        --holeFrom;
    int holeTo = px(centre.x(), kColourDpi);
    while (holeTo < last && !red(holeTo, row))
        ++holeTo;
    const auto mm = [](double pixels) { return pixels * 25.4 / kColourDpi; };
    QVERIFY2(qAbs(mm(first + last + 1) / 2 - centre.x()) <= kTolerance, qPrintable(QString::number(mm(first + last + 1) / 2)));
    QVERIFY2(qAbs(mm(last + 1 - first) - reach) <= kTolerance, qPrintable(QString::number(mm(last + 1 - first))));
    QVERIFY2(qAbs(mm(holeTo - holeFrom - 1) - hole) <= kTolerance, qPrintable(QString::number(mm(holeTo - holeFrom - 1))));
    QVERIFY2(qAbs(mm(holeFrom + holeTo) / 2 + mm(0.5) - centre.x()) <= kTolerance, "the hole is off the centre");
}

void PapersTest::discTrayFromTheDriversPageSizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("side");
    QTest::addColumn<bool>("tray");
    QTest::newRow("gutenprint's 5-inch disc page") << "CD - 5 inch" << 127.0 << true;
    QTest::newRow("a tray named otherwise") << "CD/DVD tray" << 120.0 << true;
    QTest::newRow("a mini-disc's page") << "CD - 3 inch" << 76.2 << false;
    QTest::newRow("a square card") << "Card 5x5" << 127.0 << false;
    QTest::newRow("a word that only begins so") << "Cdn square" << 127.0 << false;
}

void PapersTest::discTrayFromTheDriversPageSizes()
{
    QFETCH(QString, name);
    QFETCH(double, side);
    QFETCH(bool, tray);
    QCOMPARE(DiscTrays::IsDiscPage(QPageSize(QSizeF(side, side), QPageSize::Millimeter, name)), tray);
}

PELORA_TEST_MAIN(PapersTest)
#include "tst_papers.moc"

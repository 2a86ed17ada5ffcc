// Where faces, their marks and a cover's bleed land on the printed sheet:
// every measure taken in the rendered PDF, in millimetres from the sheet's corner.
#include "support/PrintedPage.h"
#include "support/TestSupport.h"
#include "layout/PdfExport.h"

#include <QBuffer>
#include <QImage>
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

CoverPicture redCover()
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return *CoverPicture::fromBytes(bytes);
}

QImage exported(FaceMarks marks, PageFaces faces, bool cover, const QString &folder)
{
    JacketExport jacket;
    jacket.jacket = LayoutRequest{false, QStringLiteral("Best of 2024"), {QStringLiteral("One"), QStringLiteral("Two")},
                                  QStringLiteral("17"), QStringLiteral("14"), true, QStringLiteral(". "), false, QStringLiteral("ペロラ")};
    jacket.pages = {faces};
    jacket.marks = marks;
    if (cover)
        jacket.cover = redCover();
    const ExportOutcome outcome = ExportJacketPdf(jacket, FallbackSheet());
    if (outcome.status != ExportOutcome::Written)
        return {};
    const QString pdf = folder + QStringLiteral("/page.pdf");
    TestSupport::writeFile(pdf, outcome.pdf);
    return cover ? PrintedPage::render(pdf, kColourDpi, true) : PrintedPage::render(pdf, kLineDpi);
}

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

PELORA_TEST_MAIN(PapersTest)
#include "tst_papers.moc"

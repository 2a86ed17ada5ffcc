// SPDX-License-Identifier: GPL-3.0-or-later
// Where faces, their marks and a cover's bleed land on the printed sheet:
// every measure taken in the rendered PDF, in millimetres from the sheet's corner.
#include "support/PrintedPage.h"
#include "support/PrivateCups.h"
#include "support/TestSupport.h"
#include "core/jacket/JacketDocument.h"
#include "core/layout/PdfExport.h"
#include "core/settings/PaperChoices.h"
#include "gui/dialogs/PaperDialog.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/RadioGroup.h"
#include "printer/QdPrinters.h"
#include "core/settings/SettingsFile.h"
#include "core/cups/DiscTrays.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cups/cups.h>

namespace {

constexpr int kLineDpi = 600;    // the faces' own resolution: a mark is a pixel wide
constexpr int kColourDpi = 254;  // ten pixels a millimetre
constexpr double kTolerance = 0.3;
constexpr double kOnLabelTolerance = 0.1;  // a face on a pre-cut label
constexpr double kA4Width = 210;
constexpr double kA4Height = 297;
constexpr double kFrontSide = 2850 * 25.4 / 600;
constexpr double kBackWidth = 3546 * 25.4 / 600;
constexpr double kBackHeight = 2770 * 25.4 / 600;
constexpr double kSpine = 150 * 25.4 / 600;
constexpr double kObiBackFold = 712 * 25.4 / 600;
constexpr double kObiFrontFold = (712 + 246) * 25.4 / 600;
constexpr double kObiWidth = (2 * 712 + 246) * 25.4 / 600;
constexpr double kObiHeight = 2850 * 25.4 / 600;

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

// How a jacket gets printed: the window's print command on the private
// CUPS, with the product chosen for the queue; or the command line's
// --export-pdf with --product, each face at the product's first place.
enum class Route { Window, CommandLine };

bool dark(const QImage &page, int x, int y) { return page.rect().contains(x, y) && page.constScanLine(y)[x] < 128; }

// From `from` along `step` while the page is dark: where the dark ends,
// in millimetres across (a step across) or down.
double darkEnds(const QImage &page, QPoint from, QPoint step)
{
    while (dark(page, from.x() + step.x(), from.y() + step.y()))
        from += step;
    return (step.x() != 0 ? from.x() + (step.x() > 0) : from.y() + (step.y() > 0)) * 25.4 / kLineDpi;
}

// The end of the dashed line down column `x`, from row `y` up (-1) or
// down (1): the far edge of its last dash, in millimetres.
double dashedLineEnds(const QImage &page, int x, int y, int step)
{
    const auto inked = [&](int row) { return dark(page, x - 1, row) || dark(page, x, row) || dark(page, x + 1, row); };
    int last = y;
    for (int row = y, gap = 0; row >= 0 && row < page.height() && gap <= 12; row += step) {
        gap = inked(row) ? 0 : gap + 1;
        last = gap == 0 ? row : last;
    }
    return (last + (step > 0)) * 25.4 / kLineDpi;
}

// Where the ink is that lies outside all of `areas` (millimetres), if any.
std::optional<QPointF> inkOutside(const QImage &page, const QList<QRectF> &areas)
{
    QList<QRect> pixels;
    for (const QRectF &area : areas)
        pixels << QRect(QPoint(px(area.left() - kOnLabelTolerance), px(area.top() - kOnLabelTolerance)),
                        QPoint(px(area.right() + kOnLabelTolerance), px(area.bottom() + kOnLabelTolerance)));
    for (int y = 0; y < page.height(); ++y) {
        const uchar *line = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x) {
            if (line[x] < 128 && std::none_of(pixels.cbegin(), pixels.cend(), [&](const QRect &r) { return r.contains(x, y); }))
                return QPointF(x, y) * 25.4 / kLineDpi;
        }
    }
    return std::nullopt;
}

// The program's printer facade for one test, gone with it.
struct PrinterFacade
{
    PrinterFacade() { QdPrinter = new TQdPrinter(); }
    ~PrinterFacade()
    {
        delete QdPrinter;
        QdPrinter = nullptr;
    }
    PrinterFacade(const PrinterFacade &) = delete;
    PrinterFacade &operator=(const PrinterFacade &) = delete;
};

}  // namespace

Q_DECLARE_METATYPE(FaceMarks)
Q_DECLARE_METATYPE(PageFaces)
Q_DECLARE_METATYPE(Route)

class PapersTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void marksOnPlainPaper_data();
    void marksOnPlainPaper();
    void obiSpineTitleStaysOnTheSpine_data();
    void obiSpineTitleStaysOnTheSpine();
    void bleedOnlyWithCropMarks_data();
    void bleedOnlyWithCropMarks();
    void facesInTheProductsLabels_data();
    void facesInTheProductsLabels();
    void productFoldLinesButNoCutLines();
    void paperDialogListsWhatTheDesignerSavedMeanwhile();
    void paperChoicesReadJunkAsPlainPaper();
    void paperDialogSearchesAndKeepsWhatItDoesNotShow();
    void paperDialogPicturesDiscsWithTheirHoles();
    void paperDialogOpensOnTheStoredChoice_data();
    void paperDialogOpensOnTheStoredChoice();
    void discLabelWhereItGoes_data();
    void discLabelWhereItGoes();
    void discTrayFromTheDriversPageSizes_data();
    void discTrayFromTheDriversPageSizes();

private:
    // Prints the page of `faces` by `route` and renders it; the window
    // leaves the product's next places in `next`.
    QImage printed(const QString &product, PageFaces faces, Route route, int position, PaperChoice &next);

    QTemporaryDir m_work;
    QString m_userTemplates;  // the user's own templates folder
    QList<LabelProduct> m_products;  // as installed, the user's own included
};

// The user's own products are saved while the program runs, after it has
// read the database: every print finds them all the same.
void PapersTest::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_work.filePath(QStringLiteral("config"))));
    LabelProducts::Installed();
    m_userTemplates = m_work.filePath(QStringLiteral("config/libglabels/templates"));
    QVERIFY(QDir().mkpath(m_userTemplates));
    TestSupport::writeFile(m_userTemplates + QStringLiteral("/mine-templates.xml"), kTwoUp);
    for (const QString &name : {QStringLiteral("Acme_TC-2.template"), QStringLiteral("koubou-templates.xml")})
        QVERIFY(QFile::copy(TestSupport::dataPath(QStringLiteral("labels/") + name), m_userTemplates + u'/' + name));
    m_products = LabelProducts::ReadFolders(LabelProducts::TemplateFolders(), {});
}

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
    // The obi alone at the sheet's corner: its two folds and the cut at its right edge.
    QTest::newRow("dashed: the obi's folds and its cut line")
        << FaceMarks::CutLines << PageFaces::Obi << Qt::Vertical << 10.0 << 110.0 << QList<double>{kObiBackFold, kObiFrontFold, kObiWidth};
    const double obiLeft = (kA4Width - kObiWidth) / 2;
    QTest::newRow("crop: the obi's corners and folds above it")
        << FaceMarks::CropMarks << PageFaces::Obi << Qt::Vertical << (kA4Height - kObiHeight) / 2 - 12.7 << (kA4Height - kObiHeight) / 2 - 3.3
        << QList<double>{obiLeft, obiLeft + kObiBackFold, obiLeft + kObiFrontFold, obiLeft + kObiWidth};
}

// The obi's upright title never leaves its spine, however long or wide its
// characters: there is ink between the folds, and none in the 2 mm outside
// them (the flaps' own texts keep further off).
void PapersTest::obiSpineTitleStaysOnTheSpine_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("short") << QStringLiteral("夏");
    QTest::newRow("long, made smaller") << QStringLiteral("春夏秋冬ベスト・コレクション 2024 完全版 ボーナストラック付き");
    QTest::newRow("wide letters") << QStringLiteral("WMW");
}

void PapersTest::obiSpineTitleStaysOnTheSpine()
{
    QFETCH(QString, title);
    QTemporaryDir folder;
    JacketExport jacket;
    jacket.jacket = {title, {QStringLiteral("One")}};
    jacket.jacket.marks = FaceMarks::None;
    jacket.pages = {PageFaces::Obi};
    const ExportOutcome outcome = ExportJacketPdf(jacket, FallbackSheet());
    QCOMPARE(outcome.status, ExportOutcome::Written);
    const QString pdf = folder.filePath(QStringLiteral("obi.pdf"));
    TestSupport::writeFile(pdf, outcome.pdf);
    const QImage page = PrintedPage::render(pdf, kLineDpi);
    QVERIFY(!page.isNull());
    const auto inkBetween = [&](double left, double right) {
        for (int y = 0; y < px(kObiHeight); ++y) {
            for (int x = px(left); x < px(right); ++x) {
                if (dark(page, x, y))
                    return true;
            }
        }
        return false;
    };
    QVERIFY(inkBetween(kObiBackFold, kObiFrontFold));
    QVERIFY(!inkBetween(kObiBackFold - 2, kObiBackFold));
    QVERIFY(!inkBetween(kObiFrontFold, kObiFrontFold + 2));
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

// Each face in its place on a product, printed by the window and by the
// command line: a front covered by its red picture, which reaches the
// product's bleed beyond the face as far as the label and its waste have
// room (cut back to the label where the face is larger than it); a back's
// folds, at the product's own fold marks where it has them. Measured in the
// printed page; no ink lies outside the label (and its waste). The window
// moves the chosen product's places on for the next print.
void PapersTest::facesInTheProductsLabels_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<PageFaces>("faces");
    QTest::addColumn<Route>("route");
    QTest::addColumn<int>("position");  // of the printed faces (the others': 1), from 1; the command line: 1
    QTest::addColumn<QRectF>("red");    // the cover with its bleed; null: no front
    QTest::addColumn<QRectF>("folds");  // the back's left and right fold, top and bottom; null: no back
    QTest::addColumn<int>("next");      // the window: the printed faces' next position
    const double half = kFrontSide / 2;
    const double halfBack = kBackHeight / 2;
    // A front centred at x, y, its picture reaching `across` and `down` beyond it.
    const auto cover = [&](double x, double y, double across, double down) {
        return QRectF(QPointF(x - half - across, y - half - down), QPointF(x + half + across, y + half + down));
    };
    // Folds at x1 and x2 down a back centred at height y, no further than the label from `top` to `bottom`.
    const auto folds = [&](double x1, double x2, double y, double top = 0, double bottom = 1000) {
        return QRectF(QPointF(x1, std::max(top, y - halfBack)), QPointF(x2, std::min(bottom, y + halfBack)));
    };
    const auto faceFolds = [&](double x) { return std::pair(x - kBackWidth / 2 + kSpine, x + kBackWidth / 2 - kSpine); };
    const Route window = Route::Window;
    const Route commandLine = Route::CommandLine;
    // Booklets: the panel right of the fold at 32 mm (59.5 + 61.5 across,
    // 22 + 62.5 down), its 2 mm bleed stopping at the fold; folded across,
    // on US Letter, the panel below the fold, with no room for a bleed.
    const double toFold = (123 - kFrontSide) / 2;
    QTest::newRow("Avery 8435A, booklet") << "Avery 8435A" << PageFaces::Front << commandLine << 1 << cover(121, 84.5, toFold, 2) << QRectF() << 0;
    QTest::newRow("Avery 32250A, its equivalent") << "Avery 32250A" << PageFaces::Front << commandLine << 1 << cover(121, 84.5, toFold, 2) << QRectF() << 0;
    QTest::newRow("Neato 69143, booklet folded across") << "Neato 69143" << PageFaces::Front << commandLine << 1
                                                        << QRectF(47.625, 139.7, kFrontSide, kFrontSide) << QRectF() << 0;
    // Hama 50430: 119.5 mm squares, touching down the sheet at 45, 29.5 and
    // 45, 149; 10 mm of waste across, none down. The larger face is cut back
    // to its label down, and bleeds the product's margin across.
    QTest::newRow("Hama 50430, its second front, on the first's edge")
        << "Hama 50430" << PageFaces::Front << window << 2 << QRectF(QPointF(104.75 - half - 3.175, 149), QPointF(104.75 + half + 3.175, 268.5))
        << QRectF() << 1;
    QTest::newRow("Hama 50430, its first front")
        << "Hama 50430" << PageFaces::Front << commandLine << 1 << QRectF(QPointF(104.75 - half - 3.175, 29.5), QPointF(104.75 + half + 3.175, 149))
        << QRectF() << 0;
    // Tray cards with fold marks 6 mm (PEARL, 30.5 + 150 across, 5 mm of
    // waste) and 6.5 mm (Hama, 30 + 151) inside their edges.
    QTest::newRow("PEARL VM-5513-2, its folds") << "PEARL VM-5513-2" << PageFaces::Back << window << 1 << QRectF()
                                                << folds(36.5, 174.5, 154.5 + 117.5 / 2) << 1;
    QTest::newRow("Hama 50432-2, its folds") << "Hama 50432-2" << PageFaces::Back << commandLine << 1 << QRectF()
                                             << folds(36.5, 174.5, 160 + 117.5 / 2) << 0;
    // The user's own two-up (fronts at 10, 10, 121 mm; backs at 30, 150,
    // 151 × 118 mm, no marks: the face's own folds) on one sheet.
    const auto [mineLeft, mineRight] = faceFolds(105.5);
    QTest::newRow("user's two-up, both on one sheet") << "Mine Both" << PageFaces::BothOnOneSheet << commandLine << 1 << cover(70.5, 70.5, 0, 0)
                                                      << folds(mineLeft, mineRight, 209) << 0;
    // As the label designer saves it: two tray cards narrower and lower
    // than the face (147.5 × 116 mm at 31.25, 20 and 31.25, 156), marks
    // 5 mm and 6 mm inside: the folds and spine titles stay on the label.
    QTest::newRow("user's .template, its second back") << "Acme TC-2" << PageFaces::Back << window << 2 << QRectF()
                                                        << folds(36.25, 172.75, 214, 156, 272) << 1;
    QTest::newRow("user's .template, its first back") << "Acme TC-2" << PageFaces::Back << commandLine << 1 << QRectF()
                                                       << folds(36.25, 172.75, 78, 20, 136) << 0;
    // A Japanese brand: a 124 mm front with 1.5 mm of waste at 43, 10, and
    // a 152 × 119 mm tray card at 29, 160 with marks 7 mm inside.
    QTest::newRow("Japanese brand, both on one sheet") << "ペロラ工房 J-124" << PageFaces::BothOnOneSheet << window << 1
                                                       << cover(105, 72, 1.5, 1.5) << folds(36, 174, 219.5) << 1;
    QTest::newRow("Japanese brand, its front") << "ペロラ工房 j-124" << PageFaces::Front << commandLine << 1 << cover(105, 72, 1.5, 1.5)
                                               << QRectF() << 0;
}

void PapersTest::facesInTheProductsLabels()
{
    QFETCH(QString, product);
    QFETCH(PageFaces, faces);
    QFETCH(Route, route);
    QFETCH(int, position);
    QFETCH(QRectF, red);
    QFETCH(QRectF, folds);
    QFETCH(int, next);
    if (!LabelProducts::Find(m_products, QStringLiteral("Hama 50430")))
        QSKIP("the label database (glabels-data) is not installed");
    const LabelProduct *chosen = LabelProducts::Find(m_products, product);
    QVERIFY(chosen);
    if (route == Route::Window)
        QVERIFY2(PrivateCups::available(), "run through ./test.sh: it starts a private CUPS");
    PaperChoice after;
    const QImage page = printed(product, faces, route, position, after);
    QVERIFY(!page.isNull());
    const auto near = [](double found, double expected) {
        return qAbs(found - expected) <= kOnLabelTolerance ? QString() : QStringLiteral("%1 mm, not %2; ").arg(found).arg(expected);
    };
    QList<QRectF> inked;
    if (!red.isNull()) {
        const QPoint centre(px(red.center().x()), px(red.center().y()));
        const QString found = near(darkEnds(page, centre, {-1, 0}), red.left()) + near(darkEnds(page, centre, {1, 0}), red.right())
            + near(darkEnds(page, centre, {0, -1}), red.top()) + near(darkEnds(page, centre, {0, 1}), red.bottom());
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("cover: ") + found));
        inked << red;
    }
    if (!folds.isNull()) {
        const double middle = folds.center().y();
        const QList<double> lines = PrintedPage::linesAcross(page, Qt::Vertical, px(middle - 40), px(middle + 40));
        QCOMPARE(lines.size(), 2);
        QString found;
        for (int i = 0; i < 2; ++i) {
            found += near(lines[i] * 25.4 / kLineDpi, i == 0 ? folds.left() : folds.right());
            // Each drawn down from its top, where its first dash begins; it
            // ends within a dash's gap of its bottom.
            found += near(dashedLineEnds(page, int(lines[i]), px(middle), -1), folds.top());
            const double bottom = dashedLineEnds(page, int(lines[i]), px(middle), 1);
            if (bottom > folds.bottom() + kOnLabelTolerance || bottom < folds.bottom() - 6 * 25.4 / kLineDpi - kOnLabelTolerance)
                found += QStringLiteral("bottom %1 mm, not %2").arg(bottom).arg(folds.bottom());
        }
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("folds: ") + found));
        // The spine titles and the lines stay on the label.
        const ProductFit fit = LabelProducts::FitJacket(*chosen);
        const QList<LabelSlot> &backs = fit.places(FaceKindId::Back);
        inked << backs[(position - 1) % backs.size()].area;
    }
    if (const std::optional<QPointF> outside = inkOutside(page, inked))
        QFAIL(qPrintable(QStringLiteral("ink at %1, %2 mm").arg(outside->x()).arg(outside->y())));
    if (route == Route::Window) {
        for (const FaceKindId kind : {FaceKindId::Front, FaceKindId::Back})
            QCOMPARE(after.position(kind), FaceKinds::onPage(faces).contains(kind) ? next : 1);
    }
}

QImage PapersTest::printed(const QString &product, PageFaces faces, Route route, int position, PaperChoice &next)
{
    // The square fills the spine titles across, to their edges.
    const Jacket jacket{QStringLiteral("Best of 2024 ■"), {QStringLiteral("One"), QStringLiteral("Two")}};
    const QByteArray red = TestSupport::solidPng(Qt::red);
    if (route == Route::CommandLine) {
        const QString document = m_work.filePath(QStringLiteral("jacket.plr"));
        const QString pdf = m_work.filePath(QStringLiteral("jacket.pdf"));
        TestSupport::writeFile(document, JacketFormat::toBytes(jacket));
        TestSupport::writeFile(document + QStringLiteral(".png"), red);
        const QStringList side = faces == PageFaces::BothOnOneSheet ? QStringList{QStringLiteral("--one-sheet")}
                               : faces == PageFaces::Back            ? QStringList{QStringLiteral("--side"), QStringLiteral("back")}
                                                                     : QStringList{QStringLiteral("--side"), QStringLiteral("front")};
        QProcess pelora;
        pelora.start(QStringLiteral(PELORA_EXECUTABLE),
                     QStringList{QStringLiteral("--export-pdf"), pdf, QStringLiteral("--product"), product} + side + QStringList{document});
        if (!pelora.waitForFinished(60000) || pelora.exitCode() != 0) {
            qWarning() << pelora.readAllStandardError();
            return {};
        }
        return PrintedPage::render(pdf, kLineDpi);
    }
    const QString queue = QStringLiteral("pelora-pdf");
    ScopedConfigDir config;
    const PrinterFacade printer;
    TForm1 form;
    form.EditTi->setText(jacket.title);
    form.ListBox1->setItems(jacket.items);
    form.SetCover(*CoverPicture::fromBytes(red));
    QdPrinter->SelectPrinter(queue);
    const QList<FaceKindId> kinds = FaceKinds::onPage(faces);
    const auto at = [&](FaceKindId kind) { return kinds.contains(kind) ? position : 1; };
    if (!PaperChoices::save(queue, PaperChoice{product, at(FaceKindId::Front), at(FaceKindId::Back)}))
        return {};
    MessageRecorder messages;
    const int before = QdPrinter->LastJobId();
    if (faces == PageFaces::BothOnOneSheet) {
        form.OneSheetPrintMe->trigger();
    } else {
        form.RGTwoSides->setItemIndex(faces == PageFaces::Back ? 1 : 0);
        form.Button1->click();
    }
    const int job = QdPrinter->LastJobId();
    if (job == before || !messages.texts().isEmpty() || PrivateCups::waitForJob(job).state != IPP_JSTATE_COMPLETED) {
        qWarning() << messages.texts();
        return {};
    }
    next = PaperChoices::load(queue);
    return PrintedPage::render(PrivateCups::output(queue, job), kLineDpi);
}

// The tray card in Avery 8435B (155 × 122 at 27.5, 21): its folds at its
// own marks, 8.5 mm inside its edges, and no line along its cut, which the
// paper has already.
void PapersTest::productFoldLinesButNoCutLines()
{
    const LabelProduct *inlet = LabelProducts::Find(LabelProducts::Installed(), QStringLiteral("Avery 8435B"));
    if (!inlet)
        QSKIP("the label database (glabels-data) is not installed");
    QTemporaryDir folder;
    const QImage page = exported(FaceMarks::CropMarks, PageFaces::Back, false, folder.path(), inlet);
    const double left = 27.5 + (155 - kBackWidth) / 2;
    const QList<double> found = PrintedPage::linesAcross(page, Qt::Vertical, px(30), px(130));
    const QList<double> folds{27.5 + 8.5, 27.5 + 146.5};
    QCOMPARE(found.size(), folds.size());
    for (int i = 0; i < folds.size(); ++i)
        QVERIFY2(qAbs(found[i] * 25.4 / kLineDpi - folds[i]) <= kOnLabelTolerance, qPrintable(QString::number(found[i] * 25.4 / kLineDpi)));
    QCOMPARE(PrintedPage::linesAcross(page, Qt::Horizontal, px(left + 10), px(left + 140)), QList<double>{});
}

// A product the label designer saves while the program runs is in the
// paper dialog the next time it opens, and gone once it is removed.
void PapersTest::paperDialogListsWhatTheDesignerSavedMeanwhile()
{
    QVERIFY2(PrivateCups::available(), "run through ./test.sh: it starts a private CUPS");
    ScopedConfigDir config;
    const PrinterFacade printer;
    TForm1 form;
    QdPrinter->SelectPrinter(QStringLiteral("pelora-pdf"));
    const QString file = m_userTemplates + QStringLiteral("/Later_L-1.template");
    const auto listed = [&] {
        QStringList names;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<TPaperForm *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            for (int row = 0; row < dialog->ProductList->count(); ++row)
                names << dialog->ProductList->item(row)->text().section(u' ', 0, 1);
            dialog->reject();
        });
        form.PaperMe->trigger();
        return names.contains(QStringLiteral("Later L-1"));
    };
    QVERIFY(!listed());
    TestSupport::writeFile(file, TestSupport::readFile(TestSupport::dataPath(QStringLiteral("labels/Acme_TC-2.template")))
                                     .replace(R"(brand="Acme" part="TC-2")", R"(brand="Later" part="L-1")"));
    QVERIFY(listed());
    QVERIFY(QFile::remove(file));
    QVERIFY(!listed());
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

// The sheet's picture fills the next disc round its hole; the search box
// has the focus, for the product's name.
void PapersTest::paperDialogPicturesDiscsWithTheirHoles()
{
    const LabelProduct *discs = LabelProducts::Find(m_products, QStringLiteral("Avery 5824"));
    if (!discs)
        QSKIP("the label database (glabels-data) is not installed");
    ScopedConfigDir config;
    QVERIFY(PaperChoices::save(QStringLiteral("q"), PaperChoice{discs->name()}));
    TPaperForm form(QStringLiteral("q"), {*discs});
    QCOMPARE(form.focusWidget(), form.SearchEdit);
    // Down the middle: the first disc filled round its hole, which is
    // white but for the disc's number.
    const QImage picture = form.Picture->grab().toImage();
    QList<int> filled;
    for (int y = 0; y < picture.height(); ++y) {
        const QColor colour = picture.pixelColor(picture.width() / 2, y);
        if (qAbs(colour.red() - 245) < 8 && qAbs(colour.green() - 220) < 8 && qAbs(colour.blue() - 190) < 8)
            filled << y;
    }
    QVERIFY(!filled.isEmpty());
    int white = 0;
    for (int y = filled.first(); y < filled.last(); ++y)
        white += picture.pixelColor(picture.width() / 2, y) == Qt::white;
    QVERIFY2(white > 15, qPrintable(QString::number(white)));
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

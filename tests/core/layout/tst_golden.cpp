// SPDX-License-Identifier: GPL-3.0-or-later
// Reference jackets as they come out on paper: each face is laid out and
// drawn by the PDF export (the layout and drawing of the print job, on a
// 600-dpi page), the PDF is rendered by pdftoppm at 50 dpi in gray, and the
// picture is compared with the committed one in tests/data/golden. Any
// change of the layout that moves, resizes or drops something shows up here.
//
// On a difference the test writes a picture of it beside the test program
// (golden-diff/NAME.png: black where both agree on ink, red where only the
// reference has ink, blue where only the new rendering has it) and names it.
// PELORA_UPDATE_GOLDEN=1 rewrites the references from the current code
// instead; look at the new pictures before committing them.
#include "core/layout/JacketLayout.h"
#include "core/layout/PdfExport.h"
#include "core/layout/Fonts.h"
#include "core/common/AppName.h"
#include "support/CoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// pdftoppm's rendering of the page's top-left corner, where the face
// stands on the whole A4 sheet of the export: 320 × 240 pixels at 50 dpi
// hold the back face (3546 × 2770 layout units, 296 × 231 pixels, from 150
// units in) and the front face (238 × 238).
constexpr int kRenderDpi = 50;
constexpr int kCropWidth = 320;
constexpr int kCropHeight = 240;

// Two gray levels closer than this are the same (antialiasing and font
// hinting wander a little between poppler and FreeType versions).
constexpr int kPixelTolerance = 64;
// Share of the picture's pixels that may differ beyond that: a few
// scattered edge pixels, far less than one moved or changed character.
constexpr double kMostDifferingShare = 0.001;

struct GoldenFace
{
    PageFaces page = PageFaces::Front;
    QString title;
    QStringList items;
    bool numbering = true;
    bool verticalSpine = false;
    QString titleSize = QStringLiteral("17");
    QString itemSize = QStringLiteral("14");
    bool wholeWidth = false;  // the A4 page's whole width, down past the pieces, rather than its top-left corner
};

QStringList japaneseTracks()
{
    return {QStringLiteral("夜明けのうた  (03:25)  歌：春野さくら"),
            QStringLiteral("風の通り道  (04:10)  歌：春野さくら"),
            QStringLiteral("青いガラス玉  (02:58)  歌：夏川ひかり"),
            QStringLiteral("ひまわり畑で  (05:02)  歌：夏川ひかり"),
            QStringLiteral("秋桜（コスモス）  (03:47)  歌：秋山みのり"),
            QStringLiteral("冬の星座  (04:33)  歌：冬木しずく"),
            QStringLiteral(""),
            QStringLiteral("ボーナス・トラック：①〜③"),
            QStringLiteral("雪解け  (03:05)"),
            QStringLiteral("さくら坂  (04:48)"),
            QStringLiteral("おわりに  (01:12)"),
            QStringLiteral("ペロラ")};
}

QStringList latinTracks()
{
    return {QStringLiteral("Morning Light  (03:25)  - The Quiet Hours"),
            QStringLiteral("Harbour Lights  (04:10)  - The Quiet Hours"),
            QStringLiteral("Glass Marbles  (02:58)"),
            QStringLiteral("Sunflower Fields (Live)  (05:02)"),
            QStringLiteral("Cosmos"),
            QStringLiteral("Winter Stars, Part II  (04:33)"),
            QStringLiteral("Thaw  (03:05)"),
            QStringLiteral("Goodbye  (01:12)")};
}

QString renderTool() { return QStringLiteral("pdftoppm"); }

// At 50 dpi, the A4 sheet across and 132 mm down (every piece of the table
// alone, and little else, so that a lost outline is a good share of the
// picture), or its top-left corner.
QSize cropOf(const GoldenFace &face) { return face.wholeWidth ? QSize(414, 260) : QSize(kCropWidth, kCropHeight); }

// The page that holds a kind of piece alone.
std::optional<PageFaces> pageOf(FaceKindId kind)
{
    for (const PageFaces page : {PageFaces::Front, PageFaces::Back, PageFaces::Label, PageFaces::Obi}) {
        if (FaceKinds::onPage(page) == QList<FaceKindId>{kind})
            return page;
    }
    return std::nullopt;
}

// The face as the export draws it, rendered to a gray picture; null when
// something failed (with the reason in `error`).
QImage render(const GoldenFace &face, const QString &folder, const QString &name, QString *error)
{
    JacketExport request;
    request.jacket.title = face.title;
    request.jacket.items = face.items;
    request.jacket.titleSizeText = face.titleSize;
    request.jacket.itemSizeText = face.itemSize;
    request.jacket.numbering = face.numbering;
    request.jacket.verticalSpine = face.verticalSpine;
    request.pages = {face.page};
    const QString pdf = QDir(folder).filePath(name + QStringLiteral(".pdf"));
    const ExportOutcome outcome = ExportJacketPdf(request, FallbackSheet());
    if (outcome.status != ExportOutcome::Written) {
        *error = QStringLiteral("the export failed (%1, %2)").arg(int(outcome.status)).arg(outcome.error);
        return {};
    }
    TestSupport::writeFile(pdf, outcome.pdf);
    const QString prefix = QDir(folder).filePath(name);
    const QStringList arguments{QStringLiteral("-gray"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                QStringLiteral("-r"), QString::number(kRenderDpi), QStringLiteral("-f"), QStringLiteral("1"),
                                QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-x"), QStringLiteral("0"),
                                QStringLiteral("-y"), QStringLiteral("0"), QStringLiteral("-W"), QString::number(cropOf(face).width()),
                                QStringLiteral("-H"), QString::number(cropOf(face).height()), pdf, prefix};
    QProcess tool;
    tool.start(renderTool(), arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        *error = QStringLiteral("pdftoppm failed: %1").arg(QString::fromLocal8Bit(tool.readAllStandardError()));
        return {};
    }
    QImage picture(prefix + QStringLiteral(".png"));
    if (picture.isNull())
        *error = QStringLiteral("pdftoppm wrote no picture");
    return picture.convertToFormat(QImage::Format_Grayscale8);
}

// Sixteen gray levels are plenty for a comparison that tolerates 64 and
// keep the committed pictures small.
QImage forStorage(const QImage &gray)
{
    QImage out(gray.size(), QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int level = 0; level < 16; ++level)
        palette << qRgb(level * 17, level * 17, level * 17);
    out.setColorTable(palette);
    for (int y = 0; y < gray.height(); ++y) {
        const uchar *from = gray.constScanLine(y);
        uchar *to = out.scanLine(y);
        for (int x = 0; x < gray.width(); ++x)
            to[x] = uchar((from[x] + 8) / 17);
    }
    return out;
}

struct Comparison
{
    qint64 differing = 0;
    QImage picture;  // where they differ, in colour
};

Comparison compare(const QImage &reference, const QImage &actual)
{
    Comparison result;
    result.picture = QImage(reference.size(), QImage::Format_RGB32);
    for (int y = 0; y < reference.height(); ++y) {
        const uchar *want = reference.constScanLine(y);
        const uchar *got = actual.constScanLine(y);
        auto *out = reinterpret_cast<QRgb *>(result.picture.scanLine(y));
        for (int x = 0; x < reference.width(); ++x) {
            const int difference = int(got[x]) - int(want[x]);
            if (qAbs(difference) > kPixelTolerance) {
                ++result.differing;
                // Ink only in the reference: red; only in the new one: blue.
                out[x] = difference > 0 ? qRgb(230, 0, 0) : qRgb(0, 60, 255);
            } else {
                // Both the same: the picture itself, faded.
                const int level = 128 + want[x] / 2;
                out[x] = qRgb(level, level, level);
            }
        }
    }
    return result;
}

}  // namespace

Q_DECLARE_METATYPE(GoldenFace)

class GoldenTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void jacketsLookAsBefore_data();
    void jacketsLookAsBefore();

private:
    QTemporaryDir m_scratch;
};

void GoldenTest::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    if (QStandardPaths::findExecutable(renderTool()).isEmpty())
        QFAIL("pdftoppm is missing (poppler-utils; scripts/install-deps.sh installs it)");
    // The references were drawn with IPA P Gothic; another face gives other
    // pictures, and the failure should say why.
    const QString family = QFontInfo(Fonts::uiFont(16)).family();
    // (named in the desktop's language by fontconfig).
    QVERIFY2(family == QLatin1String("IPAPGothic") || family == QStringLiteral("IPA Pゴシック"),
             qPrintable(QStringLiteral("the program's face is %1, not IPAPGothic (fonts-ipafont-gothic)").arg(family)));
}

void GoldenTest::jacketsLookAsBefore_data()
{
    QTest::addColumn<GoldenFace>("face");
    const QString japanese = QStringLiteral("春夏秋冬ベスト・コレクション");
    const QString latin = QStringLiteral("The Quiet Hours: Live at Harbour Hall");

    const PageFaces front = PageFaces::Front;
    const PageFaces back = PageFaces::Back;
    QTest::newRow("front-japanese-numbered") << GoldenFace{front, japanese, japaneseTracks()};
    QTest::newRow("front-latin-unnumbered") << GoldenFace{front, latin, latinTracks(), false};
    QTest::newRow("back-japanese-turned-spine") << GoldenFace{back, japanese, japaneseTracks()};
    QTest::newRow("back-japanese-upright-spine") << GoldenFace{back, japanese, japaneseTracks(), true, true};
    QTest::newRow("back-latin-turned-spine-unnumbered") << GoldenFace{back, latin, latinTracks(), false, false};
    QTest::newRow("back-latin-upright-spine") << GoldenFace{back, QStringLiteral("Harbour"), latinTracks(), true, true};
    // At 40 points the title is far wider than the face and is made smaller
    // until it fits; the items keep their size.
    QTest::newRow("front-shrunk-title")
        << GoldenFace{front, QStringLiteral("とても長いタイトルのアルバム The Longest Title Ever Printed"), latinTracks(), true, false,
                      QStringLiteral("40"), QStringLiteral("14")};
    // Twelve items at 30 points do not fit the back face's height: the items
    // shrink as well, and the number column is two digits wide.
    QTest::newRow("back-shrunk-title-and-items")
        << GoldenFace{back, QStringLiteral("とても長いタイトルのアルバム The Longest Title Ever Printed"), japaneseTracks(), true,
                      false, QStringLiteral("40"), QStringLiteral("30")};
    // The obi strip: the title upright down the spine and, twice as large,
    // down the front flap; the back flap holds the item lines down to the
    // first one too wide for it.
    const QStringList shortTracks{QStringLiteral("さくら"), QStringLiteral("ひまわり"), QStringLiteral("秋桜"),
                                  QStringLiteral("とても長い曲名の歌が続きます"), QStringLiteral("雪")};
    QTest::newRow("obi-japanese") << GoldenFace{PageFaces::Obi, japanese, shortTracks, true, false,
                                                QStringLiteral("17"), QStringLiteral("14"), true};
    // Every row of the face-kind table, empty, alone on the sheet:
    // its outline (cut and fold lines, the disc's circles) where the table
    // puts it. A new kind of piece needs its picture here.
    for (const FaceKind &kind : FaceKinds::all()) {
        const std::optional<PageFaces> page = pageOf(kind.id);
        QVERIFY2(page, kind.name);
        QTest::newRow(qPrintable(QStringLiteral("outline-") + QLatin1String(kind.name)))
            << GoldenFace{*page, QString(), QStringList(), true, false, QStringLiteral("17"), QStringLiteral("14"), true};
    }
}

void GoldenTest::jacketsLookAsBefore()
{
    QFETCH(GoldenFace, face);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QString error;
    const QImage actual = render(face, m_scratch.path(), name, &error);
    QVERIFY2(!actual.isNull(), qPrintable(error));
    QCOMPARE(actual.size(), cropOf(face));

    const QString referencePath = TestSupport::dataPath(QStringLiteral("golden/%1.png").arg(name));
    if (qEnvironmentVariable("PELORA_UPDATE_GOLDEN") == QLatin1String("1")) {
        QVERIFY(QDir().mkpath(QFileInfo(referencePath).path()));
        QVERIFY2(forStorage(actual).save(referencePath, "PNG", 0), qPrintable(referencePath));
        qInfo("rewrote %s", qPrintable(referencePath));
        return;
    }

    QImage reference(referencePath);
    QVERIFY2(!reference.isNull(),
             qPrintable(QStringLiteral("no reference picture %1 (PELORA_UPDATE_GOLDEN=1 makes it)").arg(referencePath)));
    reference = reference.convertToFormat(QImage::Format_Grayscale8);
    QCOMPARE(reference.size(), actual.size());

    const Comparison difference = compare(reference, actual);
    const double share = double(difference.differing) / (qint64(reference.width()) * reference.height());
    if (share > kMostDifferingShare) {
        const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/golden-diff");
        QDir().mkpath(folder);
        const QString differencePath = folder + u'/' + name + QStringLiteral(".png");
        const QString actualPath = folder + u'/' + name + QStringLiteral("-actual.png");
        difference.picture.save(differencePath);
        actual.save(actualPath);
        QFAIL(qPrintable(QStringLiteral("%1 pixels (%2 %) differ from %3; difference: %4, new rendering: %5")
                             .arg(difference.differing)
                             .arg(100.0 * share, 0, 'f', 2)
                             .arg(referencePath, differencePath, actualPath)));
    }
}

PELORA_CORE_TEST_MAIN(GoldenTest)
#include "tst_golden.moc"

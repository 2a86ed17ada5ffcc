// SPDX-License-Identifier: GPL-3.0-or-later
// The disc label drawn at 600 pixels per inch: texts inside the ring and
// clear of the hole, the cover clipped to the ring and its bleed.
#include "core/layout/Canvas.h"
#include "core/layout/DiscLabel.h"
#include "support/CoreTestSupport.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int kPad = 60;  // room around the ring for its 2 mm (47 pixel) bleed

QStringList tracks(int n, const QString &name)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << name.arg(i + 1);
    return NumberedLines(items, true, QStringLiteral(". "));
}

// Below 1 inside the ellipse in `box` with its half-axes grown by `grow`.
double reach(const QRect &box, double x, double y, double grow)
{
    const QRectF r(box);
    const double dx = (x - r.center().x()) / (r.width() / 2 + grow);
    const double dy = (y - r.center().y()) / (r.height() / 2 + grow);
    return dx * dx + dy * dy;
}

struct Drawn
{
    DiscLayout layout;
    DiscOutcome outcome;
    QList<QRect> areas;
    QImage image{2 * kPad + 2835, 2 * kPad + 2835, QImage::Format_RGB32};  // room for a 120 mm disc
};

Drawn draw(const QString &title, const QStringList &lines, DiscRing ring, bool cover, QStringList sizes = {"17", "14"})
{
    const DiscRequest r{title, lines, sizes[0], sizes[1], QStringLiteral("ペロラ"),
                        cover ? *CoverPicture::fromBytes(TestSupport::solidPng(Qt::red)) : CoverPicture(), ring, false, 2};
    Drawn d;
    d.image.setDotsPerMeterX(23622);
    d.image.setDotsPerMeterY(23622);
    d.image.fill(Qt::white);
    TCanvas canvas(&d.image);
    d.outcome = LayOutDisc(d.layout, r, PageInfo{}, canvas);
    d.areas = DiscDrawnAreas(canvas, d.layout, r);
    QPainter painter(&d.image);
    canvas.setPainter(&painter);
    canvas.SetTransform(QTransform::fromTranslate(kPad, kPad));
    DrawDisc(canvas, d.layout, r);
    canvas.setPainter(nullptr);
    painter.end();
    return d;
}

}  // namespace

class DiscLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void textsInsideTheRing_data();
    void textsInsideTheRing();
    void sizeTexts_data();
    void sizeTexts();
};

void DiscLabelTest::textsInsideTheRing_data()
{
    QTest::addColumn<DiscRing>("ring");
    QTest::addColumn<bool>("cover");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("columns");  // 0: either
    const QStringList thirty = tracks(30, QStringLiteral("夜明けのうた その%1  (03:25)  歌：アーティスト"));
    for (const DiscRing ring : {DiscRing{}, DiscRing{120, 18}, DiscRing{110, 46}}) {
        for (const bool cover : {false, true})
            QTest::addRow("%g/%g%s", ring.outerMm, ring.innerMm, cover ? " cover" : "") << ring << cover << thirty << 0;
    }
    // Whichever number of columns gives the larger font.
    QTest::newRow("short lines") << DiscRing{} << false << tracks(40, QStringLiteral("曲%1")) << 2;
    QTest::newRow("long lines") << DiscRing{} << false
                                << tracks(4, QStringLiteral("とても長い曲名がついている歌その%1、歌うのはとても長い名前のアーティスト")) << 1;
}

void DiscLabelTest::textsInsideTheRing()
{
    QFETCH(DiscRing, ring);
    QFETCH(bool, cover);
    QFETCH(QStringList, lines);
    QFETCH(int, columns);
    const Drawn d = draw(QStringLiteral("とても長いアルバムのタイトルでもディスクの上の段に収まります"), lines, ring, cover);
    const DiscLayout &L = d.layout;
    QVERIFY(!L.tooSmallToPrint && d.outcome.titleShrunk);
    QCOMPARE(L.lineOrigins.size(), cover ? 0 : lines.size());
    QVERIFY(columns == 0 || L.columns == columns);

    // Every pixel against the circles: ink keeps 2 mm (47 pixels) from both,
    // the cover fills the ring and its 2 mm bleed; a pixel's tolerance.
    int dark = 0, darkAmiss = 0, redAmiss = 0, redBeyondCircle = 0;
    for (int y = 0; y < d.image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(d.image.constScanLine(y));
        for (int x = 0; x < d.image.width(); ++x) {
            const double px = x - kPad + 0.5, py = y - kPad + 0.5;
            if (qRed(row[x]) < 96 && qGreen(row[x]) < 96) {
                ++dark;
                darkAmiss += reach(L.inner, px, py, 46) < 1 || reach(L.outer, px, py, -46) > 1;
            } else if (qRed(row[x]) - qGreen(row[x]) > 40) {
                redAmiss += reach(L.inner, px, py, -1) < 1 || reach(L.outer, px, py, 47 + 1) > 1;
                redBeyondCircle += reach(L.outer, px, py, 0) > 1;
            }
        }
    }
    QVERIFY(dark > 0);
    QCOMPARE(darkAmiss, 0);
    QCOMPARE(redBeyondCircle > 0, cover);
    QCOMPARE(redAmiss, 0);

    const QList<QRect> texts = d.areas.mid(cover ? 1 : 0);
    const QPointF middle = QRectF(L.inner).center();
    // The title above the hole's centre and on the axis; the lines below it,
    // on the axis or in two columns either side of it.
    QVERIFY(texts.first().bottom() < middle.y() && qAbs(texts.first().center().x() - middle.x()) <= 1);
    const int rows = int(lines.size() + L.columns - 1) / L.columns;
    for (int i = 1; i < texts.size(); ++i) {
        QVERIFY(texts[i].top() >= middle.y());
        if (L.columns == 1)
            QVERIFY(qAbs(texts[i].center().x() - middle.x()) <= 1);
        else
            QVERIFY(i <= rows ? texts[i].right() < middle.x() : texts[i].left() > middle.x());
    }
}

void DiscLabelTest::sizeTexts_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<QStringList>("textsAfterwards");
    QTest::newRow("numbers") << QStringList{"20", "12"} << "Album" << QList<int>{20, 12} << QStringList{"20", "12"};
    QTest::newRow("no numbers") << QStringList{"abc", ""} << "Album" << QList<int>{17, 14} << QStringList{"17", "14"};
    QTest::newRow("fits nowhere") << QStringList{"20", "12"} << QString(3000, u'字') << QList<int>{0, 12}
                                  << QStringList{"17", "14"};
}

void DiscLabelTest::sizeTexts()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, title);
    QFETCH(QList<int>, sizes);
    QFETCH(QStringList, textsAfterwards);
    const Drawn d = draw(title, tracks(3, QStringLiteral("曲%1")), DiscRing{}, false, typed);
    QCOMPARE((QList<int>{d.layout.titleFontSize, d.layout.itemFontSize}), sizes);
    QCOMPARE((QStringList{d.outcome.titleSizeText, d.outcome.itemSizeText}), textsAfterwards);
    QCOMPARE(d.layout.tooSmallToPrint, sizes.first() == 0);
}

PELORA_CORE_TEST_MAIN(DiscLabelTest)
#include "tst_disclabel.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of a jacket face, measured on surfaces of 300, 600 and 1200
// pixels per inch with and without a printable-area offset.
#include "core/layout/Canvas.h"
#include "core/layout/JacketLayout.h"
#include "core/bitmap/BigBitmap.h"
#include "support/CoreTestSupport.h"

#include <QHash>
#include <QImage>

#include <optional>

namespace {

// A surface that only measures, at the given resolution.
struct Surface
{
    explicit Surface(int dpi)
        : image(1, 1, QImage::Format_RGB888)
    {
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        canvas.setDevice(&image);
    }
    QImage image;
    TCanvas canvas;
};

LayoutRequest request(bool back, const QString &title, const QStringList &items)
{
    LayoutRequest r;
    r.face = back ? FaceKindId::Back : FaceKindId::Front;
    r.title = title;
    r.items = items;
    r.titleSizeText = QStringLiteral("17");
    r.itemSizeText = QStringLiteral("14");
    r.numbering = true;
    r.numberSuffix = QStringLiteral(". ");
    r.lineHeightSample = QStringLiteral("ペロラ");
    return r;
}

PageInfo page(int dpi, QPoint offset = {}) { return PageInfo{QPoint(dpi, dpi), 100, offset}; }

QStringList numbered(int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QStringLiteral("x");
    return NumberedLines(items, true, QString());
}

enum ExactDimension { ExactTitle, ExactItem, ExactBlock };

// A front-face page with a text, or a number of one-line items, that fills
// the text area exactly.
struct Exact
{
    PageInfo page;
    QString text;
    int count = 0;
};

// Pages a little finer across than 600 pixels per inch widen the text area
// by a few pixels at a time while the fonts keep their asked sizes.
std::optional<Exact> exactlyAsWide(TCanvas &canvas, int size, const QString &number)
{
    canvas.SetFontSize(size);
    QHash<int, QString> byWidth;
    for (int wide = 0; wide <= 30; ++wide) {
        for (int narrow = 0; narrow <= 30; ++narrow) {
            const QString text = QString(wide, u'字') + QString(narrow, u'l');
            byWidth.insert(canvas.TextWidth(text) + canvas.TextWidth(number), text);
        }
    }
    for (int dpi = 600; dpi <= 635; ++dpi) {
        const PageInfo p{QPoint(dpi, 600), 100, {}};
        TJacketLayout L;
        TBigBitmap none;
        LayOutJacket(L, request(false, QString(), {}), p, canvas, none);
        if (const auto found = byWidth.constFind(L.InnerWidth); found != byWidth.cend())
            return Exact{p, *found};
    }
    return std::nullopt;
}

// Pages finer down the sheet make the text area higher and leave the fonts alone.
std::optional<Exact> exactlyAsHigh(TCanvas &canvas, int size)
{
    canvas.SetFontSize(size);
    const int line = canvas.TextHeight(QStringLiteral("ペロラ"));
    for (int dpi = 600; dpi <= 1200; ++dpi) {
        const PageInfo p{QPoint(600, dpi), 100, {}};
        TJacketLayout L;
        TBigBitmap none;
        LayOutJacket(L, request(false, QString(), {}), p, canvas, none);
        const int room = L.InnerHeight - L.TitleGap - L.TitleHeight;
        if (room % line == 0)
            return Exact{p, QString(), room / line};
    }
    return std::nullopt;
}

}  // namespace

class JacketLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void frontFaceAt600Dpi();
    void backFaceAt600Dpi();
    void otherResolutionsScaleUnitsButNotSpinePixels_data();
    void otherResolutionsScaleUnitsButNotSpinePixels();
    void wideTitleShrinksToTheLargestStrictlyNarrowerSize();
    void exactFits_data();
    void exactFits();
    void tooManyItemsShrinkUntilTheyFitStrictly();
    void titleThatFitsAtNoSizeIsTooSmall();
    void sizeBoxesThatHoldNoNumber();
    void widestItemIsTheFirstOfEquals();
    void emptyTitleLeavesTitleAndSpineAlone();
    void horizontalSpinePictures();
    void verticalSpineColumn();
    void spinesOnALabel_data();
    void spinesOnALabel();
    void numbering_data();
    void numbering();
    void charactersAsTheUserSeesThem();

private:
    TBigBitmap m_spine;
};

void JacketLayoutTest::frontFaceAt600Dpi()
{
    Surface s(600);
    TJacketLayout L;
    const LayoutOutcome out = LayOutJacket(L, request(false, QStringLiteral("タイトル"), {"A", "B"}), page(600, {40, 30}), s.canvas, m_spine);
    QCOMPARE(L.ScaleX, 1.0);
    QCOMPARE(L.ScaleY, 1.0);
    QCOMPARE(L.OuterWidth, 2850);
    QCOMPARE(L.OuterHeight, 2850);
    QCOMPARE(L.InnerWidth, 2550);
    QCOMPARE(L.InnerHeight, 2550);
    QCOMPARE(L.Margin, 150);
    QCOMPARE(L.PanelLeft, 0);
    QCOMPARE(L.TitleFontSize, 17);
    QCOMPARE(L.ItemFontSize, 14);
    QCOMPARE(L.SpineFontSize, 17);
    QCOMPARE(L.TitleGap, 100);
    QCOMPARE(L.FrontCutLine, QPolygon({QPoint(2850 - 40, 30), QPoint(2850 - 40, 2850 - 30), QPoint(40, 2850 - 30)}));
    s.canvas.SetFontSize(17);
    QCOMPARE(L.TitleHeight, s.canvas.TextHeight(QStringLiteral("タイトル")));
    QCOMPARE(L.TitleOrigin, QPoint(150 + (2550 - s.canvas.TextWidth(QStringLiteral("タイトル"))) / 2 - 40, 150 - 30));
    QCOMPARE(L.ItemsOrigin.y(), 150 - 30 + 100 + L.TitleHeight);
    QVERIFY(!L.TooSmallToPrint);
    QVERIFY(!out.titleShrunk && !out.itemsShrunk);
}

void JacketLayoutTest::backFaceAt600Dpi()
{
    Surface s(600);
    TJacketLayout L;
    LayOutJacket(L, request(true, QStringLiteral("Title"), {"A"}), page(600, {25, 35}), s.canvas, m_spine);
    QCOMPARE(L.OuterWidth, 3546);
    QCOMPARE(L.OuterHeight, 2770);
    QCOMPARE(L.InnerWidth, 3046);
    QCOMPARE(L.InnerHeight, 2360);
    QCOMPARE(L.Margin, 250);
    QCOMPARE(L.PanelLeft, 150);
    // Fold lines at sheet x 300 and 3546; the cut line round three sides.
    QCOMPARE(L.LeftFoldLine, QPolygon({QPoint(300 - 25, 35), QPoint(300 - 25, 2770 - 35)}));
    QCOMPARE(L.RightFoldLine, QPolygon({QPoint(3546 - 25, 35), QPoint(3546 - 25, 2770 - 35)}));
    QCOMPARE(L.BackCutLine, QPolygon({QPoint(150 - 25, 35), QPoint(150 - 25, 2770 - 35), QPoint(3696 - 25, 2770 - 35),
                                      QPoint(3696 - 25, 35)}));
    QCOMPARE(L.TitleOrigin.y(), 250 - 35);
}

void JacketLayoutTest::otherResolutionsScaleUnitsButNotSpinePixels_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("300") << 300;
    QTest::newRow("1200") << 1200;
}

void JacketLayoutTest::otherResolutionsScaleUnitsButNotSpinePixels()
{
    QFETCH(int, dpi);
    const double scale = dpi / 600.0;
    Surface s(dpi);
    TJacketLayout L;
    LayOutJacket(L, request(true, QStringLiteral("Title"), {"A"}), page(dpi, {10, 10}), s.canvas, m_spine);
    QCOMPARE(L.ScaleX, scale);
    QCOMPARE(L.OuterWidth, int(3546 * scale));
    QCOMPARE(L.InnerHeight, int(2360 * scale));
    QCOMPARE(L.TitleFontSize, int(17 * scale));
    QCOMPARE(L.ItemFontSize, int(14 * scale));
    QCOMPARE(L.TitleGap, int(100 * scale));
    // The spine strip is 150 device pixels at any resolution.
    QCOMPARE(L.LeftFoldLine[0].x(), int(150 * scale) + 150 - 10);
    QCOMPARE(L.SpineRectLeft.Left, int(150 * scale) - 10 + (150 - (L.SpineRectLeft.Right - L.SpineRectLeft.Left)) / 2);
    // Sizes are points at the surface's own resolution.
    s.canvas.SetFontSize(L.ItemFontSize);
    Surface reference(600);
    reference.canvas.SetFontSize(L.ItemFontSize);
    QVERIFY(qAbs(s.canvas.TextHeight(QStringLiteral("ペロラ")) - reference.canvas.TextHeight(QStringLiteral("ペロラ")) * scale) <= 2);
}

void JacketLayoutTest::wideTitleShrinksToTheLargestStrictlyNarrowerSize()
{
    Surface s(600);
    TJacketLayout L;
    const QString title = QStringLiteral("とても長いタイトルがテキストの幅をはみ出してしまう場合");
    const LayoutOutcome out = LayOutJacket(L, request(false, title, {"A"}), page(600), s.canvas, m_spine);
    QVERIFY(out.titleShrunk);
    QVERIFY(L.TitleFontSize < 17 && L.TitleFontSize > 0);
    s.canvas.SetFontSize(L.TitleFontSize);
    QVERIFY(s.canvas.TextWidth(title) < L.InnerWidth);
    s.canvas.SetFontSize(L.TitleFontSize + 1);
    QVERIFY(s.canvas.TextWidth(title) >= L.InnerWidth);
    QVERIFY(!out.itemsShrunk);
}

void JacketLayoutTest::exactFits_data()
{
    QTest::addColumn<int>("what");
    QTest::addColumn<int>("exactAt");
    QTest::addColumn<int>("expected");
    // Exactly as large as the text area still fits at the asked size; while
    // shrinking, a size must be strictly smaller, so the exact one is passed.
    QTest::newRow("title as wide") << int(ExactTitle) << 17 << 17;
    QTest::newRow("title as wide one size down") << int(ExactTitle) << 16 << 15;
    QTest::newRow("item and number as wide") << int(ExactItem) << 14 << 14;
    QTest::newRow("item and number as wide one size down") << int(ExactItem) << 13 << 12;
    QTest::newRow("items as high") << int(ExactBlock) << 14 << 14;
    QTest::newRow("items as high one size down") << int(ExactBlock) << 13 << 12;
}

void JacketLayoutTest::exactFits()
{
    QFETCH(int, what);
    QFETCH(int, exactAt);
    QFETCH(int, expected);
    Surface s(600);
    LayoutRequest r = request(false, QString(), {"x"});
    std::optional<Exact> exact;
    if (what == ExactBlock) {
        exact = exactlyAsHigh(s.canvas, exactAt);
        QVERIFY(exact);
        r.items = QStringList(exact->count, QStringLiteral("x"));
    } else {
        exact = exactlyAsWide(s.canvas, exactAt, what == ExactItem ? QStringLiteral("0. ") : QString());
        QVERIFY(exact);
        (what == ExactItem ? r.items[0] : r.title) = exact->text;
    }
    TJacketLayout L;
    const LayoutOutcome out = LayOutJacket(L, r, exact->page, s.canvas, m_spine);
    QCOMPARE(what == ExactTitle ? L.TitleFontSize : L.ItemFontSize, expected);
    QCOMPARE(what == ExactTitle ? out.titleShrunk : out.itemsShrunk, expected != exactAt);
}

void JacketLayoutTest::tooManyItemsShrinkUntilTheyFitStrictly()
{
    Surface s(600);
    TJacketLayout L;
    QStringList items;
    for (int i = 0; i < 100; ++i)
        items << QStringLiteral("%1 曲目のとても長い名前").arg(i);
    LayoutRequest r = request(true, QStringLiteral("T"), items);
    r.itemSizeText = QStringLiteral("50");
    const LayoutOutcome out = LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QVERIFY(out.itemsShrunk);
    QVERIFY(L.ItemFontSize > 0);
    auto fitsAt = [&](int size) {
        s.canvas.SetFontSize(size);
        return s.canvas.TextWidth(items[L.WidestItemIndex]) + s.canvas.TextWidth(QStringLiteral("99. ")) < L.InnerWidth
            && s.canvas.TextHeight(QStringLiteral("ペロラ")) * 100 + L.TitleGap + L.TitleHeight < L.InnerHeight;
    };
    QVERIFY(fitsAt(L.ItemFontSize));
    QVERIFY(!fitsAt(L.ItemFontSize + 1));
}

void JacketLayoutTest::titleThatFitsAtNoSizeIsTooSmall()
{
    Surface s(600);
    TJacketLayout L;
    LayoutRequest r = request(false, QString(3000, u'長'), {"A"});
    r.titleSizeText = QStringLiteral("30");
    r.itemSizeText = QStringLiteral("20");
    const LayoutOutcome out = LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QCOMPARE(L.TitleFontSize, 0);
    QVERIFY(L.TooSmallToPrint);
    QCOMPARE(out.titleSizeText, QStringLiteral("17"));
    QCOMPARE(out.itemSizeText, QStringLiteral("14"));
    // A size typed as 0 is the same.
    r.title = QStringLiteral("T");
    r.titleSizeText = QStringLiteral("0");
    LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QVERIFY(L.TooSmallToPrint);
}

void JacketLayoutTest::sizeBoxesThatHoldNoNumber()
{
    Surface s(600);
    TJacketLayout L;
    LayoutRequest r = request(false, QStringLiteral("T"), {"A"});
    const std::pair<QString, int> cases[] = {{"abc", 17}, {"", 17}, {" 20", 20}, {"12.5", 17}};
    for (const auto &[text, size] : cases) {
        r.titleSizeText = text;
        r.itemSizeText = text;
        const LayoutOutcome out = LayOutJacket(L, r, page(600), s.canvas, m_spine);
        QCOMPARE(L.TitleFontSize, size);
        QCOMPARE(out.titleSizeText, size == 17 ? QStringLiteral("17") : text);
        QCOMPARE(out.itemSizeText, size == 17 ? QStringLiteral("14") : text);
    }
    // A negative size is a font chosen by its cell height, not shrunk; a
    // huge one shrinks to a size that fits.
    r.titleSizeText = QStringLiteral("-5");
    LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QCOMPARE(L.TitleFontSize, -5);
    QVERIFY(!L.TooSmallToPrint);
    r.titleSizeText = QStringLiteral("99999");
    r.itemSizeText = QStringLiteral("14");
    const LayoutOutcome huge = LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QVERIFY(huge.titleShrunk);
    s.canvas.SetFontSize(L.TitleFontSize);
    QVERIFY(s.canvas.TextWidth(QStringLiteral("T")) < L.InnerWidth);
}

void JacketLayoutTest::widestItemIsTheFirstOfEquals()
{
    Surface s(600);
    TJacketLayout L;
    LayOutJacket(L, request(false, QString(), {"ab", "WWW", "a", "WWW"}), page(600), s.canvas, m_spine);
    QCOMPARE(L.WidestItemIndex, 1);
    LayOutJacket(L, request(false, QString(), {"", ""}), page(600), s.canvas, m_spine);
    QCOMPARE(L.WidestItemIndex, 0);
    LayOutJacket(L, request(false, QString(), {}), page(600), s.canvas, m_spine);
    QCOMPARE(L.ItemIndent, 0);
}

void JacketLayoutTest::emptyTitleLeavesTitleAndSpineAlone()
{
    Surface s(600);
    TJacketLayout L;
    L.TitleOrigin = QPoint(-7, -7);
    L.SpineRectLeft = {1, 2, 3, 4};
    LayOutJacket(L, request(true, QString(), {"A"}), page(600), s.canvas, m_spine);
    QCOMPARE(L.TitleGap, 0);
    QCOMPARE(L.TitleOrigin, QPoint(-7, -7));
    QCOMPARE(L.SpineRectLeft.Bottom, 4);
    QVERIFY(L.TitleHeight > 0);  // measured all the same
}

void JacketLayoutTest::horizontalSpinePictures()
{
    Surface s(600);
    TJacketLayout L;
    // One narrow character: rendered narrower than high, so nothing shows.
    LayOutJacket(L, request(true, QStringLiteral("l"), {"A"}), page(600), s.canvas, m_spine);
    QCOMPARE(L.SpineRectLeft.Bottom - L.SpineRectLeft.Top, 0);
    QCOMPARE(L.SpineRectLeft.Right - L.SpineRectLeft.Left, 148);
    // The picture is the rendered text turned: as high as the text is wide.
    QVERIFY(m_spine.Height() < m_spine.Width());

    const QString shortTitle = QStringLiteral("Short");
    LayOutJacket(L, request(true, shortTitle, {"A"}), page(600, {20, 20}), s.canvas, m_spine);
    QVERIFY(m_spine.Height() > m_spine.Width());
    const int ratio = m_spine.Height() / m_spine.Width();
    QCOMPARE(L.SpineRectLeft.Right - L.SpineRectLeft.Left, 148);
    QCOMPARE(L.SpineRectLeft.Bottom - L.SpineRectLeft.Top, 148 * ratio);
    QCOMPARE(L.SpineRectLeft.Left, 150 - 20 + 1);
    QCOMPARE(L.SpineRectLeft.Top, (2770 - 148 * ratio) / 2 - 20);
    QCOMPARE(L.SpineRectRight.Left, L.SpineRectLeft.Left + 3546 - 150);
    QCOMPARE(L.SpineRectRight.Top, L.SpineRectLeft.Top);

    // A long title: both sides shrink by 10 % steps until it is 2370 long.
    const QString longTitle = QStringLiteral("とても長い背表紙のタイトル、これでもかというくらい長い");
    LayOutJacket(L, request(true, longTitle, {"A"}), page(600), s.canvas, m_spine);
    int w = 148;
    int len = 148 * (m_spine.Height() / m_spine.Width());
    QVERIFY(len > 2370);
    while (len > 2370) {
        w = w / 10 * 9;
        len = len / 10 * 9;
    }
    QCOMPARE(L.SpineRectLeft.Right - L.SpineRectLeft.Left, w);
    QCOMPARE(L.SpineRectLeft.Bottom - L.SpineRectLeft.Top, len);
}

void JacketLayoutTest::verticalSpineColumn()
{
    Surface s(600);
    TJacketLayout L;
    LayoutRequest r = request(true, QStringLiteral("Spine"), {"A"});
    r.verticalSpine = true;
    LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QCOMPARE(L.SpineFontSize, 18);
    // A full-width character is wider than the spine's 148 pixels at 18
    // points: one size smaller.
    r.title = QStringLiteral("背表紙Ab");
    LayOutJacket(L, r, page(600, {10, 20}), s.canvas, m_spine);
    QCOMPARE(L.SpineFontSize, 17);
    s.canvas.SetFontSize(17);
    const int lineHeight = s.canvas.TextHeight(QStringLiteral("ペロラ"));
    QCOMPARE(L.SpineColumnHeight, s.canvas.TextHeight(r.title) * 5);
    QCOMPARE(L.SpineTextOriginLeft.y(), (2770 - lineHeight * 5) / 2 - 20);
    QCOMPARE(L.SpineTextOriginLeft.x(), 150 - 10 + (150 - s.canvas.TextWidth(QStringLiteral("背"))) / 2);
    QCOMPARE(L.SpineTextOriginRight, L.SpineTextOriginLeft + QPoint(3546 - 150, 0));

    // A column too long for the spine shrinks, the current size tried first.
    r.title = QString(200, u'字');
    LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QVERIFY(L.SpineFontSize < 17);
    QVERIFY(L.SpineColumnHeight < 2370);
    s.canvas.SetFontSize(L.SpineFontSize + 1);
    QVERIFY(s.canvas.TextHeight(r.title) * 200 >= 2370);
}

// A back on a pre-cut label (the face's box: 150, 0, 3546 × 2770) folds at
// the label's marks beside its text block, the nearest to its own folds;
// its folds and spine titles stay on the label, each title centred in its
// spine.
void JacketLayoutTest::spinesOnALabel_data()
{
    QTest::addColumn<QRect>("label");
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QList<int>>("spines");  // left edge and fold, right fold and edge, the folds' top and bottom
    const QRect larger(140, -10, 3566, 2790);
    const QRect smaller(180, 30, 3486, 2700);
    QTest::newRow("the label's marks") << larger << QList<int>{280, 3556} << false << QList<int>{150, 280, 3556, 3696, 0, 2770};
    QTest::newRow("a smaller label") << smaller << QList<int>{300, 3550} << false << QList<int>{180, 300, 3550, 3666, 30, 2730};
    QTest::newRow("a smaller label, vertical titles") << smaller << QList<int>{300, 3550} << true << QList<int>{180, 300, 3550, 3666, 30, 2730};
    QTest::newRow("marks beside the text block are no folds") << larger << QList<int>{401, 3295} << false << QList<int>{150, 300, 3546, 3696, 0, 2770};
    QTest::newRow("the mark nearest the face's fold") << larger << QList<int>{200, 310, 3540, 3600} << false << QList<int>{150, 310, 3540, 3696, 0, 2770};
}

void JacketLayoutTest::spinesOnALabel()
{
    QFETCH(QRect, label);
    QFETCH(QList<int>, marks);
    QFETCH(bool, vertical);
    QFETCH(QList<int>, spines);
    Surface s(600);
    TJacketLayout L;
    LayoutRequest r = request(true, vertical ? QStringLiteral("背表紙") : QStringLiteral("Best of 2024"), {"A"});
    r.verticalSpine = vertical;
    r.label = LabelGuides{label, marks};
    LayOutJacket(L, r, page(600), s.canvas, m_spine);
    QCOMPARE(L.LeftFoldLine, QPolygon({QPoint(spines[1], spines[4]), QPoint(spines[1], spines[5])}));
    QCOMPARE(L.RightFoldLine, QPolygon({QPoint(spines[2], spines[4]), QPoint(spines[2], spines[5])}));
    s.canvas.SetFontSize(L.SpineFontSize);
    const int across = vertical ? s.canvas.TextWidth(QStringLiteral("背")) : L.SpineRectLeft.Right - L.SpineRectLeft.Left;
    const int left = vertical ? L.SpineTextOriginLeft.x() : L.SpineRectLeft.Left;
    const int right = vertical ? L.SpineTextOriginRight.x() : L.SpineRectRight.Left;
    QVERIFY(across > 100);
    for (const auto &[from, edge, to] : {std::tuple(spines[0], left, spines[1]), std::tuple(spines[2], right, spines[3])}) {
        QVERIFY2(edge > from && edge + across < to && qAbs((edge - from) - (to - edge - across)) <= 1,
                 qPrintable(QStringLiteral("%1 … %2 in %3 … %4").arg(edge).arg(edge + across).arg(from).arg(to)));
    }
}

void JacketLayoutTest::numbering_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("some");
    QTest::addColumn<QList<int>>("at");
    QTest::newRow("9") << 9 << QStringList{"1x", "9x"} << QList<int>{0, 8};
    QTest::newRow("10") << 10 << QStringList{"1x", "9x", "10x"} << QList<int>{0, 8, 9};
    QTest::newRow("11") << 11 << QStringList{"01x", "09x", "10x", "11x"} << QList<int>{0, 8, 9, 10};
    QTest::newRow("100") << 100 << QStringList{"01x", "09x", "10x", "99x", "100x"} << QList<int>{0, 8, 9, 98, 99};
    QTest::newRow("1001") << 1001 << QStringList{"0001x", "0010x", "0100x", "1000x", "1001x"} << QList<int>{0, 9, 99, 999, 1000};
}

void JacketLayoutTest::numbering()
{
    QFETCH(int, count);
    QFETCH(QStringList, some);
    QFETCH(QList<int>, at);
    const QStringList lines = numbered(count);
    for (int i = 0; i < at.size(); ++i)
        QCOMPARE(lines[at[i]], some[i]);
    QCOMPARE(NumberedLines({"a", "b"}, true, QStringLiteral(". ")), (QStringList{"1. a", "2. b"}));
    QCOMPARE(NumberedLines({"a"}, false, QStringLiteral(". ")), QStringList{"a"});
}

void JacketLayoutTest::charactersAsTheUserSeesThem()
{
    QCOMPARE(UserCharacters(QStringLiteral("aあ")), (QStringList{"a", "あ"}));
    // A base letter with a combining mark, and an emoji with a skin tone.
    QCOMPARE(UserCharacters(QStringLiteral("e\u0301x")).size(), 2);
    QCOMPARE(UserCharacters(QStringLiteral("\U0001F44D\U0001F3FD")).size(), 1);
    QCOMPARE(UserCharacters(QString()).size(), 0);
}

PELORA_CORE_TEST_MAIN(JacketLayoutTest)
#include "tst_jacketlayout.moc"

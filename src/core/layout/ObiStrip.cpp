// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/ObiStrip.h"

#include "core/layout/Canvas.h"
#include "core/layout/FontFitting.h"
#include "core/layout/Units.h"

#include <algorithm>

namespace {

using namespace ObiGeometry;
using JacketGeometry::Scaled;

// The widest of the characters at the canvas's font.
int widestOf(TCanvas &canvas, const QStringList &characters)
{
    int widest = 0;
    for (const QString &c : characters)
        widest = std::max(widest, canvas.TextWidth(c));
    return widest;
}

// The title's characters in a column `width` wide and `length` long, from
// `start` points down, made smaller by the faces' rules until the column
// fits. Returns whether it was made smaller; the column's font is 0 when
// no size fits.
bool fitColumn(TCanvas &canvas, ObiColumn &column, const QStringList &characters, const QString &sample, int start, int width,
               int length)
{
    const int k = int(characters.size());
    const auto fits = [&] { return canvas.TextHeight(sample) * k <= length && widestOf(canvas, characters) <= width; };
    canvas.SetFontSize(start);
    bool shrunk = false;
    if (!fits()) {
        shrunk = true;
        FontFitting::shrinkUntil(canvas, start, fits, [&] {
            return std::max(double(canvas.TextHeight(sample) * k) / std::max(1, length),
                            double(widestOf(canvas, characters)) / std::max(1, width));
        });
    }
    column.fontSize = canvas.FontSize();
    column.pitch = canvas.TextHeight(sample);
    return shrunk;
}

// Each character of a column at its top-left corner.
template<typename Each>
void forEachCharacter(TCanvas &canvas, const ObiLayout &obi, const ObiColumn &column, Each each)
{
    canvas.SetFontSize(column.fontSize);
    for (qsizetype i = 0; i < obi.characters.size(); ++i) {
        const QString &c = obi.characters[i];
        each(QPoint(column.centreX - canvas.TextWidth(c) / 2, column.top + int(i) * column.pitch), c);
    }
}

template<typename Each>
void forEachText(TCanvas &canvas, const ObiLayout &obi, Each each)
{
    if (obi.characters.isEmpty() && obi.backLines.isEmpty())
        return;
    forEachCharacter(canvas, obi, obi.spine, each);
    forEachCharacter(canvas, obi, obi.front, each);
    canvas.SetFontSize(obi.itemFontSize);
    for (qsizetype i = 0; i < obi.backLines.size(); ++i)
        each(obi.backOrigin + QPoint(0, int(i) * obi.itemPitch), obi.backLines[i]);
}

}  // namespace

ObiOutcome LayOutObi(ObiLayout &obi, const ObiRequest &request, const PageInfo &page, TCanvas &canvas)
{
    ObiOutcome outcome{false, request.titleSizeText, request.itemSizeText};
    obi = ObiLayout();
    TJacketLayout scale;
    ReadPageScale(scale, page);
    obi.scaleX = scale.ScaleX;
    obi.scaleY = scale.ScaleY;
    const auto across = [&](int units) { return Scaled(units, obi.scaleX); };
    const auto down = [&](int units) { return Scaled(units, obi.scaleY); };
    obi.box = QRect(0, 0, across(kWidth), down(kHeight));
    obi.backFold = across(kFlapWidth);
    obi.frontFold = across(kFlapWidth + kSpineWidth);
    const int length = down(kHeight - 2 * kMargin);

    // The title down the spine at the upright spine title's size, and down
    // the front flap at twice the title's; both only made smaller.
    obi.characters = UserCharacters(request.title);
    const int titleSize = TypedFontSize(request.titleSizeText, JacketGeometry::kDefaultTitleSize, outcome.titleSizeText);
    if (!obi.characters.isEmpty()) {
        const int spineWidth = obi.frontFold - obi.backFold;
        outcome.titleShrunk = fitColumn(canvas, obi.spine, obi.characters, request.lineHeightSample,
                                        Scaled(JacketGeometry::kVerticalSpineFontSize, obi.scaleY), spineWidth - 2 * across(kSpineGap),
                                        length);
        obi.spine.centreX = obi.backFold + spineWidth / 2;
        const int flap = obi.box.width() - obi.frontFold;
        outcome.titleShrunk = fitColumn(canvas, obi.front, obi.characters, request.lineHeightSample,
                                        Scaled(titleSize * kFrontTitleFactor, obi.scaleX), flap - across(kMargin), length)
            || outcome.titleShrunk;
        obi.front.centreX = obi.frontFold + flap / 2;
        // Each column centred down the strip.
        for (ObiColumn *column : {&obi.spine, &obi.front})
            column->top = (obi.box.height() - column->pitch * int(obi.characters.size())) / 2;
        obi.tooSmallToPrint = obi.spine.fontSize == 0 || obi.front.fontSize == 0;
    }

    // The back flap: the item lines at the item size, from the first, as
    // long as each fits across the flap and under the one before. The list
    // is never made smaller for it: a line too wide ends the lines there,
    // and when the first is too wide the flap stays empty.
    canvas.SetFontSize(Scaled(TypedFontSize(request.itemSizeText, JacketGeometry::kDefaultItemSize, outcome.itemSizeText), obi.scaleX));
    obi.itemFontSize = canvas.FontSize();
    obi.itemPitch = canvas.TextHeight(request.lineHeightSample);
    const int room = across(kFlapWidth - kMargin);
    int widest = 0;
    for (const QString &line : request.lines) {
        const int width = canvas.TextWidth(line);
        if (width > room || obi.itemPitch * int(obi.backLines.size() + 1) > length)
            break;
        obi.backLines << line;
        widest = std::max(widest, width);
    }
    obi.backOrigin = QPoint((obi.backFold - widest) / 2, down(kMargin));
    if (obi.tooSmallToPrint) {
        outcome.titleSizeText = QString::number(JacketGeometry::kDefaultTitleSize);
        outcome.itemSizeText = QString::number(JacketGeometry::kDefaultItemSize);
    }
    return outcome;
}

QList<QPolygon> ObiGuideLines(const ObiLayout &obi, FaceMarks marks)
{
    if (marks != FaceMarks::CutLines)
        return {};
    const int right = obi.box.right() + 1;
    const int bottom = obi.box.bottom() + 1;
    const QPoint &from = obi.linesFrom;
    return {QPolygon({QPoint(obi.backFold, from.y()), QPoint(obi.backFold, bottom)}),
            QPolygon({QPoint(obi.frontFold, from.y()), QPoint(obi.frontFold, bottom)}),
            QPolygon({QPoint(right, from.y()), QPoint(right, bottom), QPoint(from.x(), bottom)})};
}

QList<QLine> ObiCropMarks(const ObiLayout &obi, FaceMarks marks)
{
    if (marks != FaceMarks::CropMarks)
        return {};
    // The corners' marks as a face's, and the folds' above and below.
    QList<QLine> lines = CornerCropMarks(obi.box.size(), obi.scaleX, obi.scaleY);
    const int gap = Units::scaledPixels(JacketGeometry::kCropMarkGapMm, obi.scaleY);
    const int end = gap + Units::scaledPixels(JacketGeometry::kCropMarkLengthMm, obi.scaleY);
    const int bottom = obi.box.height();
    for (const int x : {obi.backFold, obi.frontFold})
        lines << QLine(x, -end, x, -gap) << QLine(x, bottom + gap, x, bottom + end);
    return lines;
}

void DrawObi(TCanvas &canvas, const ObiLayout &obi, const ObiRequest &request)
{
    canvas.SetPenStyle(Qt::DashLine);
    for (const QPolygon &line : ObiGuideLines(obi, request.marks))
        canvas.Polyline(line);
    const QList<QLine> marks = ObiCropMarks(obi, request.marks);
    if (!marks.isEmpty()) {
        canvas.SetPenStyle(Qt::SolidLine);
        for (const QLine &mark : marks)
            canvas.Polyline(QPolygon({mark.p1(), mark.p2()}));
        canvas.SetPenStyle(Qt::DashLine);
    }
    forEachText(canvas, obi, [&](const QPoint &at, const QString &text) { canvas.TextOut(at.x(), at.y(), text); });
}

QList<QRect> ObiDrawnAreas(TCanvas &canvas, const ObiLayout &obi)
{
    QList<QRect> areas;
    forEachText(canvas, obi, [&](const QPoint &at, const QString &text) {
        if (!text.isEmpty())
            areas << QRect(at, QSize(canvas.TextWidth(text), canvas.TextHeight(text)));
    });
    return areas;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/JacketLayout.h"

#include "core/layout/FontFitting.h"
#include "core/layout/Canvas.h"
#include "core/layout/Units.h"
#include "core/bitmap/BigBitmap.h"

#include <QImage>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {

using namespace JacketGeometry;

int decimalDigits(int value) { return int(QString::number(value).size()); }

using FontFitting::shrinkUntil;

// Where a face's spines lie across, from where their ink may begin to
// their folds, and how far down the folds go.
struct SpineStrips
{
    int leftEdge = 0, leftFold = 0, rightFold = 0, rightEdge = 0;
    int top = 0, bottom = 0;
};

// A spine `spine` wide inside each edge of the face (`face`: its left and
// top, right and bottom). On a label, the spine ends at the label's edge
// where that lies inside the face, and folds at the label's mark beside
// the text block nearest to the face's own fold, if it has one there.
SpineStrips spineStrips(const TJacketLayout &L, const std::optional<LabelGuides> &label, int spine, const QLine &face)
{
    SpineStrips strips{face.x1(), face.x1() + spine, face.x2() - spine, face.x2(), face.y1(), face.y2()};
    if (!label)
        return strips;
    const QRect &box = label->box;
    strips.leftEdge = std::max(strips.leftEdge, box.x());
    strips.rightEdge = std::min(strips.rightEdge, box.x() + box.width());
    strips.top = std::max(strips.top, box.y());
    strips.bottom = std::min(strips.bottom, box.y() + box.height());
    // The mark in (from, to) nearest to the face's own fold, else that fold.
    const auto nearest = [&](int own, int from, int to) {
        std::optional<int> found;
        for (const int mark : label->folds) {
            if (mark > from && mark < to && (!found || std::abs(mark - own) < std::abs(*found - own)))
                found = mark;
        }
        return found.value_or(own);
    };
    strips.leftFold = nearest(strips.leftFold, strips.leftEdge, face.x1() + L.Margin + 1);
    strips.rightFold = nearest(strips.rightFold, face.x2() - L.Margin - 1, strips.rightEdge);
    return strips;
}

}  // namespace

void ReadPageScale(TJacketLayout &layout, const PageInfo &page)
{
    const int percent = page.scalePercent > 0 ? page.scalePercent : 100;
    layout.ScaleX = double(page.pixelsPerInch.x() * 100 / percent) / Units::kLayoutUnitsPerInch;
    layout.ScaleY = double(page.pixelsPerInch.y() * 100 / percent) / Units::kLayoutUnitsPerInch;
}

std::optional<int> FontSizeValue(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

int TypedFontSize(const QString &text, int fallback, QString &textAfterwards)
{
    if (const auto typed = FontSizeValue(text))
        return *typed;
    textAfterwards = QString::number(fallback);
    return fallback;
}

QStringList UserCharacters(const QString &text)
{
    QStringList characters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        const qsizetype end = finder.position();
        characters << text.mid(start, end - start);
        start = end;
    }
    return characters;
}

QStringList NumberedLines(const QStringList &items, bool numbering, const QString &suffix)
{
    if (!numbering)
        return items;
    const int n = int(items.size());
    const int widest = decimalDigits(n - 1);
    static const QString pads[] = {QString(), QStringLiteral("0"), QStringLiteral("00"), QStringLiteral("000")};
    QStringList lines;
    lines.reserve(n);
    QString pad;
    for (int i = 0; i < n; ++i) {
        const int difference = widest - decimalDigits(i + 1);
        // Any other difference keeps the pad of the line before.
        if (difference >= 0 && difference <= 3)
            pad = pads[difference];
        lines << pad + QString::number(i + 1) + suffix + items[i];
    }
    return lines;
}

void MakeSpineImage(const QString &text, TBigBitmap &picture)
{
    // A screen bitmap: 96 pixels per inch, white, black text.
    QImage measure(1, 1, QImage::Format_RGB888);
    measure.setDotsPerMeterX(3780);
    measure.setDotsPerMeterY(3780);
    TCanvas canvas(&measure);
    canvas.SetFontSize(kSpineRenderSize);
    const int width = qMax(1, canvas.TextWidth(text));
    const int height = qMax(1, canvas.TextHeight(text));

    QImage source(width, height, QImage::Format_RGB888);
    source.setDotsPerMeterX(3780);
    source.setDotsPerMeterY(3780);
    source.fill(Qt::white);
    {
        QPainter painter(&source);
        canvas.setDevice(&source);
        canvas.setPainter(&painter);
        canvas.TextOut(0, 0, text);
        canvas.setPainter(nullptr);
    }
    // Turned 90° clockwise: the pixel at (x, y) goes to (height − 1 − y, x).
    QImage turned(height, width, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        const uchar *from = source.constScanLine(y);
        const int column = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            uchar *to = turned.scanLine(x) + column * 3;
            to[0] = from[x * 3];
            to[1] = from[x * 3 + 1];
            to[2] = from[x * 3 + 2];
        }
    }
    picture.Assign(turned);
}

LayoutOutcome LayOutJacket(TJacketLayout &L, const LayoutRequest &request, const PageInfo &page, TCanvas &canvas,
                           TBigBitmap &spinePicture)
{
    LayoutOutcome outcome{false, false, request.titleSizeText, request.itemSizeText};
    const QString &title = request.title;
    const QStringList &items = request.items;
    const int n = int(items.size());
    const int offX = page.offset.x();
    const int offY = page.offset.y();
    auto lineHeight = [&] { return canvas.TextHeight(request.lineHeightSample); };

    // 1–4: reset, scale, face.
    L.WidestItemIndex = 0;
    L.TooSmallToPrint = false;
    int widestWidth = 1;
    ReadPageScale(L, page);
    L.SpineFontSize = Scaled(kSpineFontSize, L.ScaleX);
    const FaceKind &face = FaceKinds::row(request.face);
    const int spine = face.spineStrip;
    L.OuterWidth = Scaled(face.outerWidth, L.ScaleX);
    L.InnerWidth = Scaled(face.innerWidth, L.ScaleX);
    L.PanelLeft = Scaled(face.boxLeft, L.ScaleX);
    L.OuterHeight = Scaled(face.outerHeight, L.ScaleY);
    L.InnerHeight = Scaled(face.innerHeight, L.ScaleY);
    L.Margin = (L.OuterWidth - L.InnerWidth) / 2;

    // 6–10: the title.
    L.TitleGap = title.isEmpty() ? 0 : Scaled(kTitleGap, L.ScaleY);
    canvas.SetFontSize(Scaled(TypedFontSize(request.titleSizeText, kDefaultTitleSize, outcome.titleSizeText), L.ScaleX));
    if (!title.isEmpty() && canvas.TextWidth(title) > L.InnerWidth) {
        outcome.titleShrunk = shrinkUntil(
            canvas, canvas.FontSize(), [&] { return canvas.TextWidth(title) < L.InnerWidth; },
            [&] { return double(canvas.TextWidth(title)) / qMax(1, L.InnerWidth); });
    }
    L.TitleFontSize = canvas.FontSize();
    L.TitleHeight = canvas.TextHeight(title);
    L.TitleIndent = (L.InnerWidth - canvas.TextWidth(title)) / 2;
    if (!title.isEmpty())
        L.TitleOrigin = QPoint(L.PanelLeft + L.Margin + L.TitleIndent - offX, L.Margin - offY);

    // 11–17: the items.
    canvas.SetFontSize(Scaled(TypedFontSize(request.itemSizeText, kDefaultItemSize, outcome.itemSizeText), L.ScaleX));
    const QString numberSample = request.numbering ? QString::number(n - 1) + request.numberSuffix : QString();
    for (int i = 0; i < n; ++i) {
        const int width = canvas.TextWidth(items[i]);
        if (width > widestWidth) {
            widestWidth = width;
            L.WidestItemIndex = i;
        }
    }
    const QString widest = n > 0 ? items[L.WidestItemIndex] : QString();
    const int textHeightAbove = L.TitleGap + L.TitleHeight;
    const bool fits = canvas.TextWidth(numberSample) + widestWidth <= L.InnerWidth
        && lineHeight() * n + textHeightAbove <= L.InnerHeight;
    if (!fits) {
        outcome.itemsShrunk = shrinkUntil(
            canvas, canvas.FontSize(),
            [&] {
                return canvas.TextWidth(widest) + canvas.TextWidth(numberSample) < L.InnerWidth
                    && lineHeight() * n + textHeightAbove < L.InnerHeight;
            },
            [&] {
                const double across = double(canvas.TextWidth(widest) + canvas.TextWidth(numberSample)) / qMax(1, L.InnerWidth);
                const int room = L.InnerHeight - textHeightAbove;
                // No room at all: no size can fit.
                const double down = room > 0 ? double(lineHeight() * n) / room : 1e9;
                return qMax(across, down);
            });
    }
    L.ItemFontSize = canvas.FontSize();
    if (n == 0)
        L.ItemIndent = 0;
    else if (request.numbering)
        L.ItemIndent = (L.InnerWidth - canvas.TextWidth(widest) - canvas.TextWidth(numberSample)) / 2;
    else
        L.ItemIndent = (L.InnerWidth - canvas.TextWidth(widest)) / 2;
    L.ItemsOrigin = QPoint(L.PanelLeft + L.Margin + L.ItemIndent - offX, L.Margin - offY + L.TitleGap + L.TitleHeight);

    // 18: guide lines: the cut along the face's edges but the sheet's own
    // (its top, and its left when the face begins at the origin), which need
    // none; a face with spines gets a fold at each spine's inner edge. Line
    // ends on an edge lie one offset inside the printable area.
    const int left = L.PanelLeft - offX;
    const int right = L.PanelLeft + L.OuterWidth - offX;
    const int bottom = L.OuterHeight - offY;
    const QPolygon cut = L.PanelLeft == 0 ? QPolygon({QPoint(right, offY), QPoint(right, bottom), QPoint(offX, bottom)})
                                          : QPolygon({QPoint(left, offY), QPoint(left, bottom), QPoint(right, bottom), QPoint(right, offY)});
    const SpineStrips strips = spine == 0 ? SpineStrips() : spineStrips(L, request.label, spine, QLine(left, offY, right, bottom));
    if (spine == 0) {
        L.FrontCutLine = cut;
    } else {
        L.LeftFoldLine = QPolygon({QPoint(strips.leftFold, strips.top), QPoint(strips.leftFold, strips.bottom)});
        L.RightFoldLine = QPolygon({QPoint(strips.rightFold, strips.top), QPoint(strips.rightFold, strips.bottom)});
        L.BackCutLine = cut;
    }
    // The spine titles are as wide as the narrower spine allows, with the
    // gap a spine of the face's own width leaves them.
    const int leftSpine = strips.leftFold - strips.leftEdge;
    const int rightSpine = strips.rightEdge - strips.rightFold;
    const int spineTextWidth = std::min(kSpineTextWidth, std::min(leftSpine, rightSpine) - (spine - kSpineTextWidth));

    // 19: the title on the two spines.
    if (spine > 0 && !title.isEmpty()) {
        if (!request.verticalSpine) {
            MakeSpineImage(title, spinePicture);
            // Whole widths of the title along the spine: a title shorter
            // than it is high gets none, and so an empty rectangle.
            const int ratio = spinePicture.Width() > 0 ? spinePicture.Height() / spinePicture.Width() : 0;
            int w = spineTextWidth;
            int len = w * ratio;
            // The width only shrinks with the length: a tenth a step, each
            // step cut to a whole pixel.
            while (len > kSpineTextLength) {
                w = (w / 10) * 9;
                len = (len / 10) * 9;
            }
            L.SpineRectLeft.Left = strips.leftEdge + (leftSpine - w) / 2;
            L.SpineRectLeft.Top = (L.OuterHeight - len) / 2 - offY;
            L.SpineRectLeft.Right = L.SpineRectLeft.Left + w;
            L.SpineRectLeft.Bottom = L.SpineRectLeft.Top + len;
            const int rightLeft = strips.rightFold + (rightSpine - w) / 2;
            L.SpineRectRight = {rightLeft, L.SpineRectLeft.Top, rightLeft + w, L.SpineRectLeft.Bottom};
        } else {
            canvas.SetFontSize(Scaled(kVerticalSpineFontSize, L.ScaleY));
            const QStringList characters = UserCharacters(title);
            const int k = int(characters.size());
            QString widestCharacter = QStringLiteral("a");
            for (const QString &c : characters) {
                if (canvas.TextWidth(c) > canvas.TextWidth(widestCharacter))
                    widestCharacter = c;
            }
            L.SpineColumnHeight = canvas.TextHeight(title) * k;
            if (L.SpineColumnHeight > kSpineTextLength || canvas.TextWidth(widestCharacter) > spineTextWidth) {
                shrinkUntil(
                    canvas, canvas.FontSize(),
                    [&] {
                        L.SpineColumnHeight = canvas.TextHeight(title) * k;
                        return L.SpineColumnHeight < kSpineTextLength && canvas.TextWidth(widestCharacter) < spineTextWidth;
                    },
                    [&] {
                        return qMax(double(canvas.TextHeight(title) * k) / kSpineTextLength,
                                    double(canvas.TextWidth(widestCharacter)) / qMax(1, spineTextWidth));
                    });
            }
            L.SpineFontSize = canvas.FontSize();
            const int characterWidth = canvas.TextWidth(widestCharacter);
            const int y = (L.OuterHeight - lineHeight() * k) / 2 - offY;
            L.SpineTextOriginLeft = QPoint(strips.leftEdge + (leftSpine - characterWidth) / 2, y);
            L.SpineTextOriginRight = QPoint(strips.rightFold + (rightSpine - characterWidth) / 2, y);
        }
    }

    // 20: the final check.
    if (L.TitleFontSize == 0 || L.ItemFontSize == 0 || L.SpineFontSize == 0) {
        L.TooSmallToPrint = true;
        outcome.titleSizeText = QString::number(kDefaultTitleSize);
        outcome.itemSizeText = QString::number(kDefaultItemSize);
    }
    return outcome;
}

QList<FacePart> FaceParts(const TJacketLayout &L, const JacketContent &content)
{
    QList<FacePart> parts;
    if (!content.title.isEmpty())
        parts << FacePart{FacePart::Title, L.TitleOrigin, 0, content.title, QRect()};
    for (int i = 0; i < content.lines.size(); ++i)
        parts << FacePart{FacePart::ItemLine, L.ItemsOrigin, i, content.lines[i], QRect()};
    if (FaceKinds::row(content.face).spineStrip == 0 || content.title.isEmpty())
        return parts;
    if (content.verticalSpine) {
        const QStringList characters = UserCharacters(content.title);
        for (int c = 0; c < characters.size(); ++c) {
            parts << FacePart{FacePart::SpineCharacter, L.SpineTextOriginLeft, c, characters[c], QRect()}
                  << FacePart{FacePart::SpineCharacter, L.SpineTextOriginRight, c, characters[c], QRect()};
        }
    } else {
        parts << FacePart{FacePart::SpinePicture, QPoint(), 0, QString(), L.SpineRectLeft.toRect()}
              << FacePart{FacePart::SpinePicture, QPoint(), 0, QString(), L.SpineRectRight.toRect()};
    }
    return parts;
}

namespace {

// The face's parts at the layout's places on `canvas`: `text` gets each
// text's origin with the canvas's font already at its size, `picture` the
// spine picture's rectangle.
template<typename Text, typename Picture>
void forEachPart(TCanvas &canvas, const TJacketLayout &L, const JacketContent &content, Text text, Picture picture)
{
    const int sizes[] = {L.TitleFontSize, L.ItemFontSize, L.SpineFontSize, 0};
    int lineHeight = 0;
    std::optional<FacePart::Kind> fontFor;
    for (const FacePart &part : FaceParts(L, content)) {
        if (part.kind == FacePart::SpinePicture) {
            picture(part.rect);
            continue;
        }
        if (part.kind != fontFor) {
            canvas.SetFontSize(sizes[part.kind]);
            lineHeight = canvas.TextHeight(content.lineHeightSample);
            fontFor = part.kind;
        }
        text(part.anchor + QPoint(0, part.line * lineHeight), part.text);
    }
    // A face without item lines still leaves the item size set.
    if (!fontFor || *fontFor == FacePart::Title)
        canvas.SetFontSize(L.ItemFontSize);
}

}  // namespace

QRect FaceBox(const TJacketLayout &L, const JacketContent &content)
{
    return QRect(QPoint(L.PanelLeft, 0) - content.pageOffset, QSize(L.OuterWidth, L.OuterHeight));
}

QList<QPolygon> GuideLines(const TJacketLayout &L, const JacketContent &content)
{
    QList<QPolygon> lines;
    if (content.marks == FaceMarks::CropMarks || content.marks == FaceMarks::None)
        return lines;
    const bool spines = FaceKinds::row(content.face).spineStrip > 0;
    if (spines)
        lines << L.LeftFoldLine << L.RightFoldLine;
    if (content.marks == FaceMarks::FoldLinesOnly)
        return lines;
    if (content.cutAllRound) {
        const QRect box = FaceBox(L, content);
        const int left = box.x();
        const int top = box.y();
        const int right = left + box.width();
        const int bottom = top + box.height();
        lines << QPolygon({QPoint(left, top), QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom), QPoint(left, top)});
    } else {
        lines << (spines ? L.BackCutLine : L.FrontCutLine);
    }
    return lines;
}

QList<QLine> CornerCropMarks(QSize box, double scaleX, double scaleY)
{
    TJacketLayout square;
    square.ScaleX = scaleX;
    square.ScaleY = scaleY;
    square.OuterWidth = box.width();
    square.OuterHeight = box.height();
    JacketContent content;
    content.marks = FaceMarks::CropMarks;
    return CropMarks(square, content);
}

QList<QLine> CropMarks(const TJacketLayout &L, const JacketContent &content)
{
    QList<QLine> marks;
    if (content.marks != FaceMarks::CropMarks)
        return marks;
    // Japanese corner marks: each edge carried on outside the face, from
    // 3 mm off the corner for 10 mm, so the cut lines meet between them.
    const auto units = [](double mm, double scale) { return Units::scaledPixels(mm, scale); };
    const int gapX = units(kCropMarkGapMm, L.ScaleX);
    const int gapY = units(kCropMarkGapMm, L.ScaleY);
    const int endX = gapX + units(kCropMarkLengthMm, L.ScaleX);
    const int endY = gapY + units(kCropMarkLengthMm, L.ScaleY);
    const QRect box = FaceBox(L, content);
    const int left = box.x();
    const int top = box.y();
    const int right = left + box.width();
    const int bottom = top + box.height();
    for (const int y : {top, bottom}) {
        marks << QLine(left - endX, y, left - gapX, y) << QLine(right + gapX, y, right + endX, y);
    }
    for (const int x : {left, right}) {
        marks << QLine(x, top - endY, x, top - gapY) << QLine(x, bottom + gapY, x, bottom + endY);
    }
    if (FaceKinds::row(content.face).spineStrip > 0) {
        for (const QPolygon &fold : {L.LeftFoldLine, L.RightFoldLine}) {
            const int x = fold.isEmpty() ? 0 : fold.first().x();
            marks << QLine(x, top - endY, x, top - gapY) << QLine(x, bottom + gapY, x, bottom + endY);
        }
    }
    return marks;
}

QRect CoverBox(const TJacketLayout &L, const JacketContent &content)
{
    const QRect box = FaceBox(L, content);
    return box.adjusted(-content.bleed.x(), -content.bleed.y(), content.bleed.x(), content.bleed.y());
}

bool HasCover(const JacketContent &content)
{
    return FaceKinds::row(content.face).cover == FaceKind::Cover::InsteadOfText && !content.cover.isNull();
}

void DrawJacketPage(TCanvas &canvas, const TJacketLayout &L, const JacketContent &content, const TBigBitmap &spinePicture)
{
    if (HasCover(content)) {
        // Decoded at the size it takes on the page, in device pixels.
        const QRect box = CoverBox(L, content);
        const double scale = canvas.painter() ? canvas.painter()->worldTransform().m11() : 1.0;
        canvas.DrawImage(box, content.cover.covering(QSize(int(std::ceil(box.width() * scale)), int(std::ceil(box.height() * scale)))));
    }
    canvas.SetPenStyle(Qt::DashLine);
    for (const QPolygon &line : GuideLines(L, content))
        canvas.Polyline(line);
    const QList<QLine> marks = CropMarks(L, content);
    if (!marks.isEmpty()) {
        canvas.SetPenStyle(Qt::SolidLine);
        for (const QLine &mark : marks)
            canvas.Polyline(QPolygon({mark.p1(), mark.p2()}));
        canvas.SetPenStyle(Qt::DashLine);
    }
    forEachPart(
        canvas, L, content, [&](const QPoint &at, const QString &text) { canvas.TextOut(at.x(), at.y(), text); },
        [&](const QRect &rect) { spinePicture.Draw(canvas, rect); });
}

QList<QRect> DrawnAreas(TCanvas &canvas, const TJacketLayout &L, const JacketContent &content)
{
    QList<QRect> areas;
    if (HasCover(content))
        areas << CoverBox(L, content);
    forEachPart(
        canvas, L, content,
        [&](const QPoint &at, const QString &text) {
            if (!text.isEmpty())
                areas << QRect(at, QSize(canvas.TextWidth(text), canvas.TextHeight(text)));
        },
        [&](const QRect &rect) { areas << rect; });
    return areas;
}

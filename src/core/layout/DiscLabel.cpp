// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/DiscLabel.h"

#include "core/layout/FontFitting.h"
#include "core/layout/Canvas.h"
#include "core/layout/Units.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <utility>

namespace {

using namespace JacketGeometry;
using FontFitting::shrinkUntil;

constexpr double kMarginMm = 2;     // texts keep this far from both circles
constexpr double kColumnGapMm = 4;  // between two columns of lines
constexpr int kBandAlpha = 191;     // the title's band on a cover: white at 75 %

double pixels(double mm, double scale) { return Units::layoutUnits(mm) * scale; }

// An ellipse by its centre and half-axes: a circle unless the page's two
// resolutions differ.
struct Oval
{
    double cx, cy, a, b;

    // Half its width at height y; negative where it has none.
    double halfWidthAt(double y) const
    {
        const double t = (y - cy) / b;
        return t * t < 1 ? a * std::sqrt(1 - t * t) : -1;
    }
};

Oval ovalIn(const QRect &box, double growX, double growY)
{
    const QRectF r(box);
    return {r.center().x(), r.center().y(), r.width() / 2 + growX, r.height() / 2 + growY};
}

enum class Side { Middle, Left, Right };
using Span = std::pair<double, double>;  // left and right edge; empty when right < left
constexpr Span kNoSpan{0, -1};

// Where text may go: inside the outer circle and outside the hole, each
// narrowed by the margin.
struct Room
{
    Oval outer, hole;
    double halfGap;  // half the gap between two columns

    // The span a text cell from `top` to `bottom` may take on `side`. Every
    // corner must lie inside the outer circle, so the chord at the edge
    // farther from the centre limits it; and the cell must miss the hole,
    // whose widest chord across the cell is at the height nearest its centre.
    Span span(double top, double bottom, Side side) const
    {
        const double far = std::abs(top - outer.cy) > std::abs(bottom - outer.cy) ? top : bottom;
        const double out = outer.halfWidthAt(far);
        const double in = hole.halfWidthAt(std::clamp(hole.cy, top, bottom));
        if (out < 0)
            return kNoSpan;
        switch (side) {
        case Side::Middle:
            // Centred texts are placed above or below the hole, never level with it.
            return {outer.cx - out, outer.cx + out};
        case Side::Left:
            return {outer.cx - out, hole.cx - std::max(in, halfGap)};
        case Side::Right:
            return {hole.cx + std::max(in, halfGap), outer.cx + out};
        }
        return kNoSpan;
    }
};

// Texts measured at the canvas's current font size.
struct Measured
{
    QList<QSize> cells;
    int pitch = 0;  // from one line's top to the next
};

Measured measure(const TCanvas &canvas, const QStringList &texts, const QString &pitchSample)
{
    Measured m;
    m.pitch = canvas.TextHeight(pitchSample);
    m.cells.reserve(texts.size());
    for (const QString &text : texts)
        m.cells << QSize(canvas.TextWidth(text), canvas.TextHeight(text));
    return m;
}

int rowsOf(const Measured &m, int columns) { return int(m.cells.size() + columns - 1) / columns; }

// The origin of every line when the rows start at `top`; nothing when one
// does not fit. The first half of the lines makes the left column. Each
// line is centred on its column's axis, the disc's own for one column; two
// columns stand midway in the room their lines leave them, so they run
// straight down instead of following the curve.
std::optional<QList<QPoint>> placeRows(const Room &room, const Measured &m, int columns, int top)
{
    const int n = int(m.cells.size());
    const int rows = rowsOf(m, columns);
    QList<QPoint> origins(n);
    for (int column = 0; column < columns; ++column) {
        const Side side = columns == 1 ? Side::Middle : (column == 0 ? Side::Left : Side::Right);
        const int end = qMin(n, (column + 1) * rows);
        // Where the axis may stand for every line of the column.
        double least = -std::numeric_limits<double>::infinity();
        double most = std::numeric_limits<double>::infinity();
        for (int i = column * rows; i < end; ++i) {
            const int y = top + (i % rows) * m.pitch;
            const auto [left, right] = room.span(y, y + m.cells[i].height(), side);
            least = std::max(least, left + m.cells[i].width() / 2.0);
            most = std::min(most, right - m.cells[i].width() / 2.0);
        }
        const double axis = columns == 1 ? room.outer.cx : (least + most) / 2;
        if (axis < least || axis > most)
            return std::nullopt;
        for (int i = column * rows; i < end; ++i)
            origins[i] = QPoint(qRound(axis - m.cells[i].width() / 2.0), top + (i % rows) * m.pitch);
    }
    return origins;
}

// Of the tops from `first` towards `last`, the middle of the first run at
// which every line fits: the text sits midway in the room it has instead
// of against the hole.
std::optional<QList<QPoint>> placeMidway(const Room &room, const Measured &m, int columns, int first, int last)
{
    const int step = (last >= first ? 1 : -1) * qMax(1, m.pitch / 8);
    std::optional<int> from;
    int to = first;
    for (int top = first; step > 0 ? top <= last : top >= last; top += step) {
        if (placeRows(room, m, columns, top)) {
            if (!from)
                from = top;
            to = top;
        } else if (from) {
            break;
        }
    }
    if (!from)
        return std::nullopt;
    return placeRows(room, m, columns, *from + (to - *from) / step / 2 * step);
}

struct Fitted
{
    int size = 0;
    QList<QPoint> origins;
    bool shrunk = false;
};

// Lines laid out at the largest font size from `start` down at which they
// fit in `columns`: the title above the hole, the item lines below its centre.
std::optional<Fitted> fitLines(TCanvas &canvas, int start, const Room &room, const QStringList &texts,
                               const QString &pitchSample, int columns, bool aboveHole)
{
    const Oval &out = room.outer;
    const Oval &hole = room.hole;
    Measured m;
    double roomHeight = 0;
    const auto place = [&]() -> std::optional<QList<QPoint>> {
        m = measure(canvas, texts, pitchSample);
        if (aboveHole) {
            const int first = int(std::floor(hole.cy - hole.b)) - m.cells.first().height();
            roomHeight = (hole.cy - hole.b) - (out.cy - out.b);
            return placeMidway(room, m, columns, first, int(std::ceil(out.cy - out.b)));
        }
        // One centred column cannot pass the hole; two can flank it.
        const int first = int(std::ceil(columns == 1 ? hole.cy + hole.b : hole.cy));
        roomHeight = out.cy + out.b - first;
        const int last = int(std::floor(out.cy + out.b)) - (rowsOf(m, columns) - 1) * m.pitch;
        return placeMidway(room, m, columns, first, last);
    };
    const auto overshoot = [&] {
        int widest = 0;
        for (const QSize &cell : std::as_const(m.cells))
            widest = qMax(widest, cell.width());
        const double across = widest / qMax(1.0, columns == 1 ? 2 * out.a : out.a - room.halfGap);
        const double down = roomHeight > 0 ? double(rowsOf(m, columns) * m.pitch) / roomHeight : 1e9;
        return qMax(across, down);
    };

    canvas.SetFontSize(start);
    std::optional<QList<QPoint>> placed = place();
    if (placed)
        return Fitted{start, *placed, false};
    if (!shrinkUntil(canvas, start, [&] { return (placed = place()).has_value(); }, overshoot))
        return std::nullopt;
    return Fitted{canvas.FontSize(), *placed, true};
}

bool covered(const DiscRequest &request) { return !request.cover.isNull(); }

QRect coverBox(const DiscLayout &L, const DiscRequest &request)
{
    const int x = qRound(pixels(request.bleedMm, L.scaleX));
    const int y = qRound(pixels(request.bleedMm, L.scaleY));
    return L.outer.adjusted(-x, -y, x, y);
}

// The cover's clip: the outer circle with its bleed, less the hole.
QPainterPath ringPath(const DiscLayout &L, const DiscRequest &request)
{
    QPainterPath path;
    path.addEllipse(QRectF(coverBox(L, request)));
    path.addEllipse(QRectF(L.inner));
    return path;  // odd-even fill: the hole is left out
}

// Each text of the label at its place, with the canvas's font at its size.
template<typename Text>
void forEachText(TCanvas &canvas, const DiscLayout &L, const DiscRequest &request, Text text)
{
    // A size of 0 is text that fitted nowhere: it has no place.
    if (!request.title.isEmpty() && L.titleFontSize != 0) {
        canvas.SetFontSize(L.titleFontSize);
        text(L.titleOrigin, request.title);
    }
    if (L.lineOrigins.isEmpty())
        return;
    canvas.SetFontSize(L.itemFontSize);
    for (int i = 0; i < L.lineOrigins.size() && i < request.lines.size(); ++i)
        text(L.lineOrigins[i], request.lines[i]);
}

}  // namespace

DiscOutcome LayOutDisc(DiscLayout &L, const DiscRequest &request, const PageInfo &page, TCanvas &canvas)
{
    DiscOutcome outcome{false, false, request.titleSizeText, request.itemSizeText};
    L = DiscLayout();
    TJacketLayout scale;
    ReadPageScale(scale, page);
    L.scaleX = scale.ScaleX;
    L.scaleY = scale.ScaleY;

    const DiscRing &ring = request.ring;
    L.box = QSize(qRound(pixels(ring.outerMm, L.scaleX)), qRound(pixels(ring.outerMm, L.scaleY)));
    L.outer = QRect(QPoint(), L.box);
    const QSize hole(qRound(pixels(ring.innerMm, L.scaleX)), qRound(pixels(ring.innerMm, L.scaleY)));
    L.inner = QRect(QPoint((L.box.width() - hole.width()) / 2, (L.box.height() - hole.height()) / 2), hole);
    const double marginX = pixels(kMarginMm, L.scaleX);
    const double marginY = pixels(kMarginMm, L.scaleY);
    const Room room{ovalIn(L.outer, -marginX, -marginY), ovalIn(L.inner, marginX, marginY),
                    pixels(kColumnGapMm, L.scaleX) / 2};

    L.titleFontSize = Scaled(TypedFontSize(request.titleSizeText, kDefaultTitleSize, outcome.titleSizeText), L.scaleX);
    L.itemFontSize = Scaled(TypedFontSize(request.itemSizeText, kDefaultItemSize, outcome.itemSizeText), L.scaleX);

    if (!request.title.isEmpty()) {
        const auto title = fitLines(canvas, L.titleFontSize, room, {request.title}, request.title, 1, true);
        L.titleFontSize = title ? title->size : 0;
        if (title) {
            outcome.titleShrunk = title->shrunk;
            L.titleOrigin = title->origins.first();
            if (covered(request)) {
                // Across the whole cover, a margin's width taller than the
                // title: it stays clear of the hole, and the clip keeps it
                // inside the ring.
                const QRect across = coverBox(L, request);
                const int pad = qRound(marginY / 2);
                L.titleBand = QRect(across.left(), L.titleOrigin.y() - pad, across.width(),
                                    canvas.TextHeight(request.title) + 2 * pad);
            }
        }
    }

    // A covered label shows its picture instead of the lines.
    if (!request.lines.isEmpty() && !covered(request)) {
        const int start = L.itemFontSize;
        auto best = fitLines(canvas, start, room, request.lines, request.lineHeightSample, 1, false);
        // Two columns only when one needs a smaller font; they win with a larger one.
        if (request.lines.size() > 1 && (!best || best->shrunk)) {
            const auto two = fitLines(canvas, start, room, request.lines, request.lineHeightSample, 2, false);
            if (two && (!best || two->size > best->size)) {
                best = two;
                L.columns = 2;
            }
        }
        L.itemFontSize = best ? best->size : 0;
        if (best) {
            outcome.itemsShrunk = best->shrunk;
            L.lineOrigins = best->origins;
        }
    }

    if (L.titleFontSize == 0 || L.itemFontSize == 0) {
        L.tooSmallToPrint = true;
        outcome.titleSizeText = QString::number(kDefaultTitleSize);
        outcome.itemSizeText = QString::number(kDefaultItemSize);
    }
    return outcome;
}

void DrawDisc(TCanvas &canvas, const DiscLayout &L, const DiscRequest &request)
{
    QPainter *painter = canvas.painter();
    if (!painter)
        return;
    if (covered(request)) {
        // Decoded at the size it takes on the page, in device pixels.
        const QRect box = coverBox(L, request);
        const double scale = painter->worldTransform().m11();
        const QImage picture =
            request.cover.covering(QSize(int(std::ceil(box.width() * scale)), int(std::ceil(box.height() * scale))));
        painter->save();
        painter->setClipPath(ringPath(L, request), Qt::IntersectClip);
        canvas.DrawImage(box, picture);
        if (!L.titleBand.isEmpty())
            painter->fillRect(L.titleBand, QColor(255, 255, 255, kBandAlpha));
        painter->restore();
    }
    forEachText(canvas, L, request, [&](const QPoint &at, const QString &text) { canvas.TextOut(at.x(), at.y(), text); });
    if (request.cutLines) {
        canvas.SetPenStyle(Qt::DashLine);
        canvas.Ellipse(L.outer);
        canvas.Ellipse(L.inner);
    }
}

QList<QRect> DiscDrawnAreas(TCanvas &canvas, const DiscLayout &L, const DiscRequest &request)
{
    QList<QRect> areas;
    if (covered(request))
        areas << coverBox(L, request);
    forEachText(canvas, L, request, [&](const QPoint &at, const QString &text) {
        if (!text.isEmpty())
            areas << QRect(at, QSize(canvas.TextWidth(text), canvas.TextHeight(text)));
    });
    return areas;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/CalibrationPage.h"

#include "core/layout/Canvas.h"
#include "core/layout/Units.h"

#include <QColor>
#include <QCoreApplication>
#include <QList>
#include <QRect>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {


// Sizes in millimetres.
constexpr double kLine = 0.12;  // thin, yet printed by any printer
constexpr double kTick = 1.5, kTick5 = 2.5, kTick10 = 4.0;
constexpr double kNumberGap = 0.5;
// How far a ruler reaches in from its edge, numbers included.
constexpr double kRulerDepth = 9.0;
constexpr double kArm = 5.0;
constexpr double kLabelGap = 1.0;
constexpr int kCrossInset = 30;
constexpr double kMostTextWidth = 130.0;

// Points.
constexpr int kRulerFontSize = 6;
constexpr int kLabelFontSize = 7;
constexpr int kLargestBodySize = 12, kSmallestBodySize = 4;

const QColor kInk = Qt::black;

struct Paragraph
{
    QString text;
    bool heading = false;
    QString hanging;  // the numbering its following lines are indented by
};

struct TextLine
{
    QString text;
    int indent = 0;
    bool heading = false;
};

// The pieces a line may be broken between, by the Unicode line-breaking
// rules: none inside a number or a word, none before 、。」 or after 「.
// Spaces stay at the end of the piece before them.
QStringList breakablePieces(const QString &text)
{
    QStringList pieces;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype start = 0;
    while (breaks.toNextBoundary() != -1) {
        if (breaks.position() > start)
            pieces << text.mid(start, breaks.position() - start);
        start = breaks.position();
    }
    return pieces;
}

class CalibrationDrawing
{
public:
    CalibrationDrawing(TCanvas &canvas, const SheetGeometry &sheet)
        : m_canvas(canvas)
        , m_sheet(sheet)
        , m_perMmX(Units::pixelsPerMm(sheet.pixelsPerInch.x()))
        , m_perMmY(Units::pixelsPerMm(sheet.pixelsPerInch.y()))
        , m_line(std::max(1, int(std::lround(kLine * m_perMmY))) | 1)
    {
    }

    void rulers();
    void cross(int xMm, int yMm, bool labelRight, bool labelBelow);
    void instructions(const CalibrationCrosses &crosses, const PrintCorrection &correction, const QString &printerName);

private:
    int x(double mm) const { return int(std::lround(mm * m_perMmX)); }
    int y(double mm) const { return int(std::lround(mm * m_perMmY)); }
    // A line m_line wide, centred on the given millimetre.
    QRect verticalBar(double xMm, int top, int bottom) const
    {
        return QRect(int(std::lround(xMm * m_perMmX - m_line / 2.0)), top, m_line, bottom - top);
    }
    QRect horizontalBar(double yMm, int left, int right) const
    {
        return QRect(left, int(std::lround(yMm * m_perMmY - m_line / 2.0)), right - left, m_line);
    }
    static double tickLength(int mm) { return mm % 10 == 0 ? kTick10 : mm % 5 == 0 ? kTick5 : kTick; }
    QList<TextLine> wrap(const QList<Paragraph> &paragraphs, int bodySize, int width);
    int height(const QList<TextLine> &lines, int bodySize);

    TCanvas &m_canvas;
    const SheetGeometry &m_sheet;
    const double m_perMmX;
    const double m_perMmY;
    const int m_line;
};

void CalibrationDrawing::rulers()
{
    const QRect printable = m_sheet.printable;
    m_canvas.SetFontSize(kRulerFontSize);
    const int textHeight = m_canvas.TextHeight(QStringLiteral("0"));

    // Along the top edge, hanging down from the printable area's top.
    const int top = printable.top();
    int first = INT_MAX, last = INT_MIN;
    for (int mm = 0; mm * m_perMmX < m_sheet.sheet.width(); ++mm) {
        const QRect tick = verticalBar(mm, top, top + y(tickLength(mm)));
        if (!printable.contains(tick))
            continue;
        m_canvas.FillRect(tick, kInk);
        first = std::min(first, tick.left());
        last = std::max(last, tick.right());
        if (mm % 10 == 0) {
            const QString number = QString::number(mm);
            const int width = m_canvas.TextWidth(number);
            const QRect box(x(mm) - width / 2, tick.bottom() + y(kNumberGap), width, textHeight);
            if (printable.contains(box))
                m_canvas.TextOut(box.left(), box.top(), number);
        }
    }
    if (first < last)
        m_canvas.FillRect(QRect(first, top, last - first + 1, m_line), kInk);

    // Along the left edge, below the top ruler's numbers.
    const int left = printable.left();
    const int below = top + y(kTick10 + kNumberGap + 1) + textHeight;
    first = INT_MAX, last = INT_MIN;
    for (int mm = 0; mm * m_perMmY < m_sheet.sheet.height(); ++mm) {
        const QRect tick = horizontalBar(mm, left, left + x(tickLength(mm)));
        if (tick.top() < below || !printable.contains(tick))
            continue;
        m_canvas.FillRect(tick, kInk);
        first = std::min(first, tick.top());
        last = std::max(last, tick.bottom());
        if (mm % 10 == 0) {
            const QString number = QString::number(mm);
            const QRect box(tick.right() + x(kNumberGap), y(mm) - textHeight / 2, m_canvas.TextWidth(number), textHeight);
            if (printable.contains(box))
                m_canvas.TextOut(box.left(), box.top(), number);
        }
    }
    if (first < last)
        m_canvas.FillRect(QRect(left, first, m_line, last - first + 1), kInk);
}

void CalibrationDrawing::cross(int xMm, int yMm, bool labelRight, bool labelBelow)
{
    m_canvas.FillRect(horizontalBar(yMm, x(xMm - kArm), x(xMm + kArm)), kInk);
    m_canvas.FillRect(verticalBar(xMm, y(yMm - kArm), y(yMm + kArm)), kInk);
    // The label in the quadrant that faces the middle of the sheet.
    m_canvas.SetFontSize(kLabelFontSize);
    const QString label = QStringLiteral("(%1, %2)").arg(xMm).arg(yMm);
    const int width = m_canvas.TextWidth(label);
    const int height = m_canvas.TextHeight(label);
    m_canvas.TextOut(labelRight ? x(xMm + kLabelGap) : x(xMm - kLabelGap) - width,
                     labelBelow ? y(yMm + kLabelGap) : y(yMm - kLabelGap) - height, label);
}

QList<TextLine> CalibrationDrawing::wrap(const QList<Paragraph> &paragraphs, int bodySize, int width)
{
    QList<TextLine> lines;
    for (const Paragraph &paragraph : paragraphs) {
        m_canvas.SetFontSize(paragraph.heading ? bodySize * 8 / 5 : bodySize);
        const int indent = m_canvas.TextWidth(paragraph.hanging);
        TextLine line{QString(), 0, paragraph.heading};
        QStringList pieces = breakablePieces(paragraph.text);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            const QString piece = pieces[i];
            if (m_canvas.TextWidth((line.text + piece).trimmed()) > width - line.indent) {
                if (!line.text.isEmpty()) {
                    lines << line;
                    line = TextLine{QString(), indent, paragraph.heading};
                    if (piece.trimmed().isEmpty())
                        continue;
                }
                // A piece wider than a whole line is broken between any characters.
                if (const QStringList characters = UserCharacters(piece);
                    characters.size() > 1 && m_canvas.TextWidth(piece) > width - line.indent) {
                    pieces.remove(i);
                    for (qsizetype k = 0; k < characters.size(); ++k)
                        pieces.insert(i + k, characters[k]);
                    --i;
                    continue;
                }
            }
            line.text += piece;
        }
        lines << line;
    }
    return lines;
}

int CalibrationDrawing::height(const QList<TextLine> &lines, int bodySize)
{
    int total = 0;
    for (const TextLine &line : lines) {
        m_canvas.SetFontSize(line.heading ? bodySize * 8 / 5 : bodySize);
        total += m_canvas.TextHeight(line.text);
    }
    return total;
}

void CalibrationDrawing::instructions(const CalibrationCrosses &crosses, const PrintCorrection &correction,
                                      const QString &printerName)
{
    const auto signedMm = [](double value) {
        return (value > 0 ? QStringLiteral("+") : QString()) + QString::number(value, 'f', 1);
    };
    const QString span = QString::number(crosses.right - crosses.left);
    const QList<Paragraph> paragraphs = {
        {QCoreApplication::translate("CalibrationPage", "印刷位置の調整用ページ"), true, {}},
        {QString(), false, {}},
        {QCoreApplication::translate("CalibrationPage", "プリンタ: ") + printerName, false, {}},
        {QCoreApplication::translate("CalibrationPage", "このページの補正: 横 %1 mm　縦 %2 mm　倍率 %3 %")
             .arg(signedMm(correction.offsetXMm), signedMm(correction.offsetYMm),
                  QString::number(correction.scalePercent, 'f', 1)),
         false, {}},
        {QString(), false, {}},
        {QCoreApplication::translate("CalibrationPage", "定規で長さを mm で測り、倍率を先に、位置をその後に合わせます。"), false, {}},
        {QCoreApplication::translate("CalibrationPage", "1. 倍率：左右の十字の中心の間を測り、倍率を「%1 × %2 ÷ 測った長さ」にします。")
             .arg(QString::number(correction.scalePercent, 'f', 1), span),
         false, QStringLiteral("1. ")},
        {QCoreApplication::translate("CalibrationPage", "2. 倍率を変えたときは、このページを印刷し直してから位置を測ります。"), false, QStringLiteral("2. ")},
        {QCoreApplication::translate("CalibrationPage", "3. 横の位置：用紙の左端から左上の十字の中心までを測り、横の位置に「%1.0 − 測った長さ」を足します。")
             .arg(crosses.left),
         false, QStringLiteral("3. ")},
        {QCoreApplication::translate("CalibrationPage", "4. 縦の位置：用紙の上端から左上の十字の中心までを測り、縦の位置に「%1.0 − 測った長さ」を足します。")
             .arg(crosses.top),
         false, QStringLiteral("4. ")},
        {QString(), false, {}},
        {QCoreApplication::translate("CalibrationPage", "＋の値で右・下へ動きます。目盛りと十字の横の数字は、用紙の左端・上端からの距離（mm）です。"), false, {}},
    };

    // Between the left ruler and the printable area's right edge, centred on
    // the sheet where there is room; down the sheet, between the crosses.
    const QRect printable = m_sheet.printable;
    const int least = printable.left() + x(kRulerDepth + 2);
    const int most = printable.left() + printable.width() - x(2);
    const int width = std::max(1, std::min(x(kMostTextWidth), most - least));
    const int left = std::clamp(m_sheet.sheet.width() / 2 - width / 2, least, std::max(least, most - width));
    const int top = y(crosses.top + kArm + 3);
    const int room = y(crosses.bottom - kArm - 3) - top;

    int bodySize = kLargestBodySize;
    QList<TextLine> lines = wrap(paragraphs, bodySize, width);
    while (bodySize > kSmallestBodySize && height(lines, bodySize) > room)
        lines = wrap(paragraphs, --bodySize, width);

    int lineTop = top + std::max(0, (room - height(lines, bodySize)) / 2);
    for (const TextLine &line : lines) {
        m_canvas.SetFontSize(line.heading ? bodySize * 8 / 5 : bodySize);
        const int lineLeft = line.heading ? left + (width - m_canvas.TextWidth(line.text)) / 2 : left + line.indent;
        m_canvas.TextOut(lineLeft, lineTop, line.text);
        lineTop += m_canvas.TextHeight(line.text);
    }
}

int roundedUp(double mm) { return int(std::ceil(mm / 10 - 1e-9)) * 10; }
int roundedDown(double mm) { return int(std::floor(mm / 10 + 1e-9)) * 10; }

}  // namespace

CalibrationCrosses CalibrationCrossesOn(const SheetGeometry &sheet)
{
    const double perMmX = Units::pixelsPerMm(sheet.pixelsPerInch.x());
    const double perMmY = Units::pixelsPerMm(sheet.pixelsPerInch.y());
    const QRect &printable = sheet.printable;
    // Clear of the rulers along the top and left, inside the printable area
    // with their arms and labels along the right and bottom.
    const double clearance = kRulerDepth + kArm + kLabelGap;
    CalibrationCrosses crosses;
    crosses.left = roundedUp(std::max<double>(kCrossInset, printable.left() / perMmX + clearance));
    crosses.top = roundedUp(std::max<double>(kCrossInset, printable.top() / perMmY + clearance));
    // The sheet's size as the paper's name gives it, not a pixel short.
    const double width = std::round(sheet.sheet.width() / perMmX);
    const double height = std::round(sheet.sheet.height() / perMmY);
    crosses.right = std::max(crosses.left, roundedDown(std::min(width - kCrossInset,
                                                                (printable.left() + printable.width()) / perMmX - kArm - kLabelGap)));
    crosses.bottom = std::max(crosses.top, roundedDown(std::min(height - kCrossInset,
                                                                (printable.top() + printable.height()) / perMmY - kArm - kLabelGap)));
    return crosses;
}

void DrawCalibrationPage(TCanvas &canvas, const SheetGeometry &sheet, const PrintCorrection &correction,
                         const QString &printerName)
{
    const int fontSize = canvas.FontSize();
    canvas.SetTransform(SheetPlacement::SheetTransform(sheet, correction));

    CalibrationDrawing drawing(canvas, sheet);
    drawing.rulers();
    const CalibrationCrosses crosses = CalibrationCrossesOn(sheet);
    drawing.cross(crosses.left, crosses.top, true, true);
    drawing.cross(crosses.right, crosses.top, false, true);
    drawing.cross(crosses.left, crosses.bottom, true, false);
    drawing.cross(crosses.right, crosses.bottom, false, false);
    drawing.instructions(crosses, correction, printerName);

    canvas.SetTransform(QTransform());
    canvas.SetFontSize(fontSize);
}

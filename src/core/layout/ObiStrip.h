// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/Jacket.h"
#include "core/layout/JacketLayout.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QStringList>

class TCanvas;

// The obi (帯): a paper strip wrapped round the jewel case's left edge.
// Laid flat and seen from outside it is, left to right, the back flap, the
// spine and the front flap; it folds between them. The title runs down the
// spine and down the front flap in a column of upright characters (larger
// on the flap); the back flap holds the first item lines.
namespace ObiGeometry {

// Layout units (1/600 inch); the sizes and their sources are in the
// obi's row of the face-kind table.
inline constexpr int kFlapWidth = 712;
inline constexpr int kSpineWidth = 246;
inline constexpr int kHeight = 2850;
inline constexpr int kWidth = 2 * kFlapWidth + kSpineWidth;
// The faces' margin ((2850 − 2550) ÷ 2) above and below every column and
// the back flap's lines; the flaps' texts keep half of it from the flaps'
// sides, the spine's title about 1 mm from the folds.
inline constexpr int kMargin = 150;
inline constexpr int kSpineGap = 24;
// The front flap's title is twice the title's size.
inline constexpr int kFrontTitleFactor = 2;

}  // namespace ObiGeometry

// What goes on the strip.
struct ObiRequest
{
    QString title;
    QStringList lines;  // the item lines as printed, numbers included
    QString titleSizeText;
    QString itemSizeText;
    QString lineHeightSample;
    FaceMarks marks = FaceMarks::CutLines;
};

// A column of upright characters, one under the other, each centred on `centreX`.
struct ObiColumn
{
    int centreX = 0;
    int top = 0;
    int pitch = 0;
    int fontSize = 0;
};

// The strip laid out, in device pixels from its own top-left corner.
struct ObiLayout
{
    double scaleX = 0, scaleY = 0;
    QRect box;
    int backFold = 0;   // between the back flap and the spine
    int frontFold = 0;  // between the spine and the front flap
    QStringList characters;
    ObiColumn spine;
    ObiColumn front;
    QStringList backLines;  // the first item lines that fit the back flap
    QPoint backOrigin;
    int itemFontSize = 0;
    int itemPitch = 0;
    bool tooSmallToPrint = false;
    // Where its guide lines begin, top and left: at the sheet's corner, as
    // a face alone, the printable area's corner; else its own.
    QPoint linesFrom;
};

struct ObiOutcome
{
    bool titleShrunk = false;
    QString titleSizeText;
    QString itemSizeText;
};

// Lays the strip out, measuring on `canvas` (the page's own surface).
ObiOutcome LayOutObi(ObiLayout &obi, const ObiRequest &request, const PageInfo &page, TCanvas &canvas);

// Its dashed guide lines (folds, and the cut along its right and bottom
// edges: without crop marks the strip stands at the sheet's corner) and
// its crop marks (the corners' and the folds'), by the marks asked for.
QList<QPolygon> ObiGuideLines(const ObiLayout &obi, FaceMarks marks);
QList<QLine> ObiCropMarks(const ObiLayout &obi, FaceMarks marks);

// Draws the laid-out strip; where it puts ink.
void DrawObi(TCanvas &canvas, const ObiLayout &obi, const ObiRequest &request);
QList<QRect> ObiDrawnAreas(TCanvas &canvas, const ObiLayout &obi);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/JacketLayout.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class TCanvas;

// The disc's own face (レーベル): a ring with the jacket's title, its item
// lines and its cover picture. Laid out and drawn in device pixels with the
// ring's bounding square's top-left corner at 0, 0, at the page's scale
// (ReadPageScale), font sizes as the faces take them.

// The printable ring, by its diameters.
struct DiscRing
{
    static constexpr double kStickerOuterMm = 117;  // round label sheets
    static constexpr double kStickerInnerMm = 41;
    static constexpr double kLeastOuterMm = 110, kMostOuterMm = 120;  // printable discs
    static constexpr double kLeastInnerMm = 18, kMostInnerMm = 46;

    double outerMm = kStickerOuterMm;
    double innerMm = kStickerInnerMm;

    bool operator==(const DiscRing &) const = default;
};

struct DiscRequest
{
    QString title;
    QStringList lines;  // the item lines as printed, numbers included
    QString titleSizeText;
    QString itemSizeText;
    QString lineHeightSample;  // the text whose height is the line height
    CoverPicture cover;        // covers the ring, the title over it on a band
    DiscRing ring;
    bool cutLines = true;      // the outer and inner circles, dashed
    double bleedMm = 0;        // how far a cover reaches beyond the outer circle
};

// Where everything of the label goes.
struct DiscLayout
{
    double scaleX = 0, scaleY = 0;
    QSize box;              // the ring's bounding square (an ellipse when ppi differ)
    QRect outer;            // the outer circle's box
    QRect inner;            // the hole's box
    int titleFontSize = 0;
    int itemFontSize = 0;
    QPoint titleOrigin;     // TextOut's origin of the title
    QRect titleBand;        // with a cover: the light band behind the title
    QList<QPoint> lineOrigins;  // TextOut's origin of each item line drawn
    int columns = 1;
    bool tooSmallToPrint = false;
};

struct DiscOutcome
{
    bool titleShrunk = false;
    bool itemsShrunk = false;
    QString titleSizeText;  // the size boxes' texts afterwards, as LayOutJacket gives them
    QString itemSizeText;
};

// Lays the label out, measuring on `canvas` (the page's own surface).
DiscOutcome LayOutDisc(DiscLayout &layout, const DiscRequest &request, const PageInfo &page, TCanvas &canvas);

// Draws it: the cover clipped to the ring (and its bleed), the band and the
// title, the item lines, and the circles when asked.
void DrawDisc(TCanvas &canvas, const DiscLayout &layout, const DiscRequest &request);

// Where DrawDisc puts ink, circles left out.
QList<QRect> DiscDrawnAreas(TCanvas &canvas, const DiscLayout &layout, const DiscRequest &request);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/FaceKinds.h"

#include "core/layout/Canvas.h"
#include "core/layout/PagePlanner.h"
#include "core/layout/SheetPlacement.h"
#include "core/layout/Units.h"

#include <QPainter>

namespace {

void drawJacketFace(TCanvas &canvas, const PlacedFace &face, const TBigBitmap &spine)
{
    DrawJacketPage(canvas, face.layout, face.content, spine);
}

QList<QRect> jacketFaceAreas(TCanvas &canvas, const PlacedFace &face) { return DrawnAreas(canvas, face.layout, face.content); }

void drawDisc(TCanvas &canvas, const PlacedFace &face, const TBigBitmap &)
{
    DrawDisc(canvas, face.disc->layout, face.disc->request);
    canvas.SetPenStyle(Qt::SolidLine);
    for (const QLine &mark : face.disc->cropMarks)
        canvas.Polyline(QPolygon({mark.p1(), mark.p2()}));
}

QList<QRect> discAreas(TCanvas &canvas, const PlacedFace &face) { return DiscDrawnAreas(canvas, face.disc->layout, face.disc->request); }

QRect jacketFaceBox(const PlacedFace &face) { return FaceBox(face.layout, face.content); }

QRect discBox(const PlacedFace &face) { return QRect(QPoint(), face.disc->layout.box); }

void drawDiscEdge(QPainter &painter, const PlacedFace &face)
{
    if (face.disc->request.cutLines)
        return;
    painter.setPen(QPen(QColor(200, 200, 200), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(face.disc->layout.outer);
    painter.drawEllipse(face.disc->layout.inner);
}

void drawObi(TCanvas &canvas, const PlacedFace &face, const TBigBitmap &) { DrawObi(canvas, face.obi->layout, face.obi->request); }

QList<QRect> obiAreas(TCanvas &canvas, const PlacedFace &face) { return ObiDrawnAreas(canvas, face.obi->layout); }

QRect obiBox(const PlacedFace &face) { return face.obi->layout.box; }

// The jewel case's front insert, its tray card with the two spines, and the
// disc's own label. The inserts' sizes are the case's (120.7 × 120.7 mm and
// 150.1 × 117.3 mm, spines included); the disc's is the usual round label
// sheet's (117 mm, a 41 mm hole). Products: square labels of 118 to 124 mm
// for the front (a booklet's right panel counts), tray cards within 3 mm,
// round labels of 110 to 125 mm for the disc.
//
// The obi strip wraps the case's left edge: as tall as the front insert
// (2850 units, 120.7 mm), a flap on each side a quarter of the front
// insert's width (712 units, 30.1 mm), and between them the case's own
// thickness (246 units, 10.4 mm: a jewel case is 142 × 125 × 10.4 mm);
// 70.7 mm across in all. Its own layout places its texts (ObiStrip.h),
// within the faces' margin of 150 units above and below. It is drawn as
// printed in the preview and goes on plain paper only.
const std::array<FaceKind, FaceKinds::kCount> kRows{{
    {FaceKindId::Front, "front", 2850, 2850, 2550, 2550, 0, 0, FaceKind::Cover::InsteadOfText, false, 0, 0,
     FaceKind::Preview::TextsAtScreenSizes, ProductPlace{ProductPlace::Square, 118, 124, QSizeF(), 1}, drawJacketFace,
     jacketFaceAreas, jacketFaceBox, nullptr},
    {FaceKindId::Back, "back", 3546, 2770, 3046, 2360, 150, 150, FaceKind::Cover::None, false, 0, 0,
     FaceKind::Preview::TextsAtScreenSizes, ProductPlace{ProductPlace::Rectangle, 0, 0, QSizeF(150.1, 117.3), 3},
     drawJacketFace, jacketFaceAreas, jacketFaceBox, nullptr},
    {FaceKindId::Disc, "label", Units::toLayoutUnits(DiscRing::kStickerOuterMm), Units::toLayoutUnits(DiscRing::kStickerOuterMm), 0,
     0, 0, 0, FaceKind::Cover::UnderText, true, DiscRing::kStickerOuterMm, DiscRing::kStickerInnerMm,
     FaceKind::Preview::PrintMadeSmall, ProductPlace{ProductPlace::Round, 110, 125, QSizeF(), 0}, drawDisc, discAreas, discBox, drawDiscEdge},
    {FaceKindId::Obi, "obi", ObiGeometry::kWidth, ObiGeometry::kHeight, ObiGeometry::kWidth - 2 * ObiGeometry::kMargin,
     ObiGeometry::kHeight - 2 * ObiGeometry::kMargin, 0, 0, FaceKind::Cover::None, false, 0, 0, FaceKind::Preview::PrintMadeSmall,
     ProductPlace{ProductPlace::Nowhere, 0, 0, QSizeF(), 0}, drawObi, obiAreas, obiBox, nullptr},
}};

}  // namespace

QSizeF FaceKind::millimetres() const { return QSizeF(Units::toMillimetres(outerWidth), Units::toMillimetres(outerHeight)); }

namespace FaceKinds {

const FaceKind &row(FaceKindId id) { return kRows[std::size_t(id)]; }

const std::array<FaceKind, kCount> &all() { return kRows; }

QList<FaceKindId> onPage(PageFaces faces)
{
    switch (faces) {
    case PageFaces::Front:
        return {FaceKindId::Front};
    case PageFaces::Back:
        return {FaceKindId::Back};
    case PageFaces::BothOnOneSheet:
        return {FaceKindId::Front, FaceKindId::Back};
    case PageFaces::Label:
        return {FaceKindId::Disc};
    case PageFaces::Obi:
        return {FaceKindId::Obi};
    }
    return {};
}

}  // namespace FaceKinds

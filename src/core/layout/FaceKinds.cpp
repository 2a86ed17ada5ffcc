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

// The jewel case's front insert, its tray card with the two spines, and the
// disc's own label. The inserts' sizes are the case's (120.7 × 120.7 mm and
// 150.1 × 117.3 mm, spines included); the disc's is the usual round label
// sheet's (117 mm, a 41 mm hole). Products: square labels of 118 to 124 mm
// for the front (a booklet's right panel counts), tray cards within 3 mm,
// round labels of 110 to 125 mm for the disc.
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
    }
    return {};
}

}  // namespace FaceKinds

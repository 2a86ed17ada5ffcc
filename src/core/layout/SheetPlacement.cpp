// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/SheetPlacement.h"

#include "core/layout/Canvas.h"

#include <QCoreApplication>
#include <QRectF>

#include <cmath>

namespace {

using namespace JacketGeometry;

// Room left between the two faces on one sheet, for the scissors.
constexpr int kFaceGap = 240;  // layout units, about 10 mm
// With crop marks, room for the marks of both faces.
constexpr int kCropMarkedFaceGap = int(2 * (kCropMarkGapMm + kCropMarkLengthMm) / kMillimetresPerInch * kLayoutUnitsPerInch + 0.5);

TJacketLayout scaleOf(const SheetGeometry &sheet)
{
    TJacketLayout scale;
    ReadPageScale(scale, PageInfo{sheet.pixelsPerInch, 100, QPoint()});
    return scale;
}

std::optional<double> tenthsWithin(double value, double least, double most)
{
    if (!std::isfinite(value) || value < least || value > most)
        return std::nullopt;
    // Steps of 0.1, and never a negative zero in the file.
    return std::round(value * 10) / 10 + 0.0;
}

}  // namespace

std::optional<double> PrintCorrection::offsetFrom(double millimetres)
{
    return tenthsWithin(millimetres, -kMostOffsetMm, kMostOffsetMm);
}

std::optional<double> PrintCorrection::scaleFrom(double percent)
{
    return tenthsWithin(percent, kLeastScalePercent, kMostScalePercent);
}

namespace SheetPlacement {

QSize FaceSize(const SheetGeometry &sheet, bool backFace)
{
    const TJacketLayout scale = scaleOf(sheet);
    const Face &face = backFace ? kBack : kFront;
    return QSize(Scaled(face.outerWidth, scale.ScaleX), Scaled(face.outerHeight, scale.ScaleY));
}

std::optional<QList<FaceSpot>> BothOnOneSheet(const SheetGeometry &sheet, FaceMarks marks)
{
    const int gap = marks == FaceMarks::CropMarks ? kCropMarkedFaceGap : kFaceGap;
    const TJacketLayout scale = scaleOf(sheet);
    const QSize front = FaceSize(sheet, false);
    const QSize back = FaceSize(sheet, true);
    // The back's box begins this far right of its layout's origin.
    const int backLeft = Scaled(kBack.panelLeft, scale.ScaleX);
    const int width = sheet.sheet.width();
    const int height = sheet.sheet.height();

    const int gapDown = Scaled(gap, scale.ScaleY);
    if (qMax(front.width(), back.width()) <= width && front.height() + gapDown + back.height() <= height) {
        const int top = (height - front.height() - gapDown - back.height()) / 2;
        return QList<FaceSpot>{{false, true, QPoint((width - front.width()) / 2, top)},
                               {true, true, QPoint((width - back.width()) / 2 - backLeft, top + front.height() + gapDown)}};
    }
    const int gapAcross = Scaled(gap, scale.ScaleX);
    if (front.width() + gapAcross + back.width() <= width && qMax(front.height(), back.height()) <= height) {
        const int left = (width - front.width() - gapAcross - back.width()) / 2;
        return QList<FaceSpot>{{false, true, QPoint(left, (height - front.height()) / 2)},
                               {true, true, QPoint(left + front.width() + gapAcross - backLeft, (height - back.height()) / 2)}};
    }
    return std::nullopt;
}

std::optional<FaceSpot> CentredAlone(const SheetGeometry &sheet, bool backFace)
{
    const QSize face = FaceSize(sheet, backFace);
    if (face.width() > sheet.sheet.width() || face.height() > sheet.sheet.height())
        return std::nullopt;
    return CentredOn(sheet, backFace, QPoint(sheet.sheet.width() / 2, sheet.sheet.height() / 2));
}

FaceSpot CentredOn(const SheetGeometry &sheet, bool backFace, const QPoint &centre)
{
    const QSize face = FaceSize(sheet, backFace);
    // The back's box begins this far right of its layout's origin.
    const int backLeft = backFace ? Scaled(kBack.panelLeft, scaleOf(sheet).ScaleX) : 0;
    return FaceSpot{backFace, true, centre - QPoint(face.width() / 2 + backLeft, face.height() / 2)};
}

QTransform SheetTransform(const SheetGeometry &sheet, const PrintCorrection &correction)
{
    const double s = correction.scalePercent / 100;
    const QPointF move(correction.offsetXMm * sheet.pixelsPerInch.x() / kMillimetresPerInch,
                       correction.offsetYMm * sheet.pixelsPerInch.y() / kMillimetresPerInch);
    const QPointF corner = move - QPointF(sheet.printable.topLeft());
    return QTransform(s, 0, 0, s, corner.x(), corner.y());
}

bool ReachesBeyond(const QList<QRect> &areas, const QTransform &transform, const SheetGeometry &sheet)
{
    // Half a pixel of slack for the arithmetic of a scaled page.
    const QRectF reachable = QRectF(QPointF(), QSizeF(sheet.printable.size())).adjusted(-0.5, -0.5, 0.5, 0.5);
    for (const QRect &area : areas) {
        if (!area.isEmpty() && !reachable.contains(transform.mapRect(QRectF(area))))
            return true;
    }
    return false;
}

bool ReachesBeyond(TCanvas &canvas, const QList<PlacedFace> &faces, const SheetGeometry &sheet)
{
    for (const PlacedFace &face : faces) {
        const QList<QRect> areas = face.disc ? DiscDrawnAreas(canvas, face.disc->layout, face.disc->request)
                                             : DrawnAreas(canvas, face.layout, face.content);
        if (ReachesBeyond(areas, face.transform, sheet))
            return true;
    }
    return false;
}

QString BeyondReachNotice()
{
    return QCoreApplication::translate("TForm1", "文字や背表紙、表紙の画像の一部が、このプリンタの印刷できる範囲の外にかかっています。"
                                                 "その部分は印刷されません。")
        + u'\r'
        + QCoreApplication::translate("TForm1", "「クイックオプション」の「印刷位置の調整」で位置をずらすか、"
                                                "「表と裏を1枚に印刷」をお使いください。");
}

void DrawFaces(TCanvas &canvas, const QList<PlacedFace> &faces, const TBigBitmap &spinePicture)
{
    for (const PlacedFace &face : faces) {
        canvas.SetTransform(face.transform);
        if (face.disc) {
            DrawDisc(canvas, face.disc->layout, face.disc->request);
            canvas.SetPenStyle(Qt::SolidLine);
            for (const QLine &mark : face.disc->cropMarks)
                canvas.Polyline(QPolygon({mark.p1(), mark.p2()}));
        } else {
            DrawJacketPage(canvas, face.layout, face.content, spinePicture);
        }
    }
    canvas.SetTransform(QTransform());
}

}  // namespace SheetPlacement

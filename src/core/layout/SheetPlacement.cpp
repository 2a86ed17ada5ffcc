// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/SheetPlacement.h"

#include "core/layout/Canvas.h"
#include "core/layout/Units.h"

#include <QCoreApplication>
#include <QRectF>

#include <cmath>

namespace {

using namespace JacketGeometry;

// Room left between the two faces on one sheet, for the scissors.
constexpr int kFaceGap = 240;  // layout units, about 10 mm
// With crop marks, room for the marks of both faces.
constexpr int kCropMarkedFaceGap = Units::toLayoutUnits(2 * (kCropMarkGapMm + kCropMarkLengthMm));

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

QSize FaceSize(const SheetGeometry &sheet, FaceKindId kind)
{
    const TJacketLayout scale = scaleOf(sheet);
    const FaceKind &face = FaceKinds::row(kind);
    return QSize(Scaled(face.outerWidth, scale.ScaleX), Scaled(face.outerHeight, scale.ScaleY));
}

std::optional<QList<FaceSpot>> OnOneSheet(const SheetGeometry &sheet, const QList<FaceKindId> &kinds, FaceMarks marks)
{
    const int gap = marks == FaceMarks::CropMarks ? kCropMarkedFaceGap : kFaceGap;
    const TJacketLayout scale = scaleOf(sheet);
    const int width = sheet.sheet.width();
    const int height = sheet.sheet.height();
    QList<QSize> sizes;
    int widest = 0, highest = 0, across = 0, down = 0;
    for (const FaceKindId kind : kinds) {
        const QSize size = FaceSize(sheet, kind);
        sizes << size;
        widest = qMax(widest, size.width());
        highest = qMax(highest, size.height());
        across += size.width();
        down += size.height();
    }
    const int gaps = int(kinds.size()) - 1;
    // Each face's box begins this far right of its layout's origin.
    const auto boxLeft = [&](FaceKindId kind) { return Scaled(FaceKinds::row(kind).boxLeft, scale.ScaleX); };

    const int gapDown = Scaled(gap, scale.ScaleY);
    if (widest <= width && down + gaps * gapDown <= height) {
        QList<FaceSpot> spots;
        int top = (height - down - gaps * gapDown) / 2;
        for (qsizetype i = 0; i < kinds.size(); ++i) {
            spots << FaceSpot{kinds[i], true, QPoint((width - sizes[i].width()) / 2 - boxLeft(kinds[i]), top)};
            top += sizes[i].height() + gapDown;
        }
        return spots;
    }
    const int gapAcross = Scaled(gap, scale.ScaleX);
    if (across + gaps * gapAcross <= width && highest <= height) {
        QList<FaceSpot> spots;
        int left = (width - across - gaps * gapAcross) / 2;
        for (qsizetype i = 0; i < kinds.size(); ++i) {
            spots << FaceSpot{kinds[i], true, QPoint(left - boxLeft(kinds[i]), (height - sizes[i].height()) / 2)};
            left += sizes[i].width() + gapAcross;
        }
        return spots;
    }
    return std::nullopt;
}

std::optional<FaceSpot> CentredAlone(const SheetGeometry &sheet, FaceKindId kind)
{
    const QSize face = FaceSize(sheet, kind);
    if (face.width() > sheet.sheet.width() || face.height() > sheet.sheet.height())
        return std::nullopt;
    return CentredOn(sheet, kind, QPoint(sheet.sheet.width() / 2, sheet.sheet.height() / 2));
}

FaceSpot CentredOn(const SheetGeometry &sheet, FaceKindId kind, const QPoint &centre)
{
    const QSize face = FaceSize(sheet, kind);
    // The box begins this far right of its layout's origin.
    const int boxLeft = Scaled(FaceKinds::row(kind).boxLeft, scaleOf(sheet).ScaleX);
    return FaceSpot{kind, true, centre - QPoint(face.width() / 2 + boxLeft, face.height() / 2)};
}

QTransform SheetTransform(const SheetGeometry &sheet, const PrintCorrection &correction)
{
    const double s = correction.scalePercent / 100;
    const QPointF move(Units::mmToPixels(correction.offsetXMm, sheet.pixelsPerInch.x()),
                       Units::mmToPixels(correction.offsetYMm, sheet.pixelsPerInch.y()));
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
        if (ReachesBeyond(FaceKinds::row(face.kind).drawnAreas(canvas, face), face.transform, sheet))
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
        FaceKinds::row(face.kind).draw(canvas, face, spinePicture);
    }
    canvas.SetTransform(QTransform());
}

}  // namespace SheetPlacement

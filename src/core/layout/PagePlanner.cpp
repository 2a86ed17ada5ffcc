// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/PagePlanner.h"

#include "core/common/AppName.h"
#include "core/layout/Units.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kUprightMm = 0.01;  // a fold mark this close to upright is upright

// The page offset a face's layout takes: a face sharing its sheet is laid
// out from its own corner, a face alone from the printable area's.
QPoint layoutOffset(const SheetGeometry &sheet, const FaceSpot &spot)
{
    return spot.shared ? QPoint() : sheet.printable.topLeft();
}

// The jacket's request for one face: a front covered by its picture carries no text.
LayoutRequest faceRequest(const Jacket &jacket, const FaceSpot &spot)
{
    LayoutRequest request{spot.face,            jacket.title,     jacket.items,          jacket.titleSizeText, jacket.itemSizeText,
                          jacket.numbering,     jacket.numberSuffix, jacket.verticalSpine, LineHeightSample};
    if (FaceKinds::row(spot.face).cover == FaceKind::Cover::InsteadOfText && !jacket.cover.isNull()) {
        request.title.clear();
        request.items.clear();
    }
    return request;
}

// Millimetres at the sheet's resolution, across and down.
QPoint sheetPixels(const SheetGeometry &sheet, double mm)
{
    return QPoint(Units::wholePixels(mm, sheet.pixelsPerInch.x()), Units::wholePixels(mm, sheet.pixelsPerInch.y()));
}

// A face's place on the page and how it is marked.
struct PlannedSpot
{
    FaceSpot spot;
    FaceMarks marks;
    // How far a cover picture reaches beyond the face, across and down;
    // less than nothing where the face is larger than its label.
    QPointF bleedMm;
    std::optional<LabelGuides> label;  // the pre-cut label it is printed on
};

// What is printed on the face once it is laid out with faceRequest.
JacketContent faceContent(const LayoutRequest &request, const PlannedSpot &planned, const PageRequest &page)
{
    const FaceSpot &spot = planned.spot;
    const SheetGeometry &sheet = page.sheet;
    const CoverPicture &cover = page.jacket.cover;
    return JacketContent{spot.face,
                         request.title,
                         NumberedLines(request.items, request.numbering, request.numberSuffix),
                         request.verticalSpine,
                         request.lineHeightSample,
                         spot.shared,
                         layoutOffset(sheet, spot),
                         cover,
                         planned.marks,
                         QPoint(sheetPixels(sheet, planned.bleedMm.x()).x(), sheetPixels(sheet, planned.bleedMm.y()).y())};
}

// From the face's layout coordinates to the page's painter coordinates.
QTransform faceTransform(const SheetGeometry &sheet, const PrintCorrection &correction, const FaceSpot &spot)
{
    const QPoint onSheet = layoutOffset(sheet, spot) + spot.corner;
    return QTransform::fromTranslate(onSheet.x(), onSheet.y()) * SheetPlacement::SheetTransform(sheet, correction);
}

// A rectangle of the sheet in millimetres, in the layout's coordinates of a
// face laid out from its own corner at `corner` (sheet pixels).
QRect layoutRect(const SheetGeometry &sheet, const QRectF &mm, const QPoint &corner)
{
    const auto at = [&](const QPointF &point) {
        return QPoint(sheetPixels(sheet, point.x()).x(), sheetPixels(sheet, point.y()).y()) - corner;
    };
    return QRect(at(mm.topLeft()), at(mm.bottomRight()) - QPoint(1, 1));
}

// On pre-cut paper each face is centred in its label (or booklet panel),
// with nothing to cut along; a face the product has no place for cannot be
// printed. A face keeps its size on a label a little smaller than it: the
// label's edge cuts it, as scissors would.
std::optional<QList<PlannedSpot>> productSpots(const PageRequest &request)
{
    const ProductFit &product = *request.product;
    const SheetGeometry &sheet = request.sheet;
    QList<PlannedSpot> spots;
    for (const FaceKindId kind : FaceKinds::onPage(request.faces)) {
        const QList<LabelSlot> &places = product.places(kind);
        if (places.isEmpty())
            return std::nullopt;
        const LabelSlot &slot = places[qMax(0, request.position(kind)) % places.size()];
        const QPointF centreMm = slot.area.center();
        const QPoint centre(sheetPixels(sheet, centreMm.x()).x(), sheetPixels(sheet, centreMm.y()).y());
        // A picture reaches no further than the label and its waste, on
        // each side: labels side by side, or a booklet's other page, stay
        // clean, and a face larger than its label is cut back to it.
        const QSizeF size = FaceKinds::row(kind).millimetres();
        const QRectF face(centreMm - QPointF(size.width(), size.height()) / 2, size);
        const QRectF &reach = slot.reach;
        const QPointF bleed(std::min({slot.bleedMm, face.left() - reach.left(), reach.right() - face.right()}),
                            std::min({slot.bleedMm, face.top() - reach.top(), reach.bottom() - face.bottom()}));
        const FaceSpot spot = SheetPlacement::CentredOn(sheet, kind, centre);
        LabelGuides label{layoutRect(sheet, slot.area, spot.corner), {}};
        for (const QLineF &line : slot.foldLines) {
            if (std::abs(line.dx()) < kUprightMm)
                label.folds << sheetPixels(sheet, line.x1()).x() - spot.corner.x();
        }
        spots << PlannedSpot{spot, FaceMarks::FoldLinesOnly, bleed, label};
    }
    return spots;
}

std::optional<QList<PlannedSpot>> spotsFor(const PageRequest &request)
{
    if (request.product)
        return productSpots(request);
    // Cut at the crop marks, a picture reaches beyond them.
    const FaceMarks marks = request.jacket.marks;
    const double bleedMm = marks == FaceMarks::CropMarks ? JacketGeometry::kBleedMm : 0;
    const auto planned = [&](const FaceSpot &spot) { return PlannedSpot{spot, marks, QPointF(bleedMm, bleedMm), std::nullopt}; };
    const QList<FaceKindId> kinds = FaceKinds::onPage(request.faces);
    if (kinds.size() > 1) {
        const std::optional<QList<FaceSpot>> all = SheetPlacement::OnOneSheet(request.sheet, kinds, marks);
        if (!all)
            return std::nullopt;
        QList<PlannedSpot> spots;
        for (const FaceSpot &spot : *all)
            spots << planned(spot);
        return spots;
    }
    // Crop marks need room all round the face.
    if (marks == FaceMarks::CropMarks) {
        if (const std::optional<FaceSpot> centred = SheetPlacement::CentredAlone(request.sheet, kinds.first()))
            return QList<PlannedSpot>{planned(*centred)};
    }
    // One face alone lies at the sheet's corner.
    return QList<PlannedSpot>{planned(FaceSpot{kinds.first(), false, QPoint()})};
}

// The disc label, where it goes: on a product, in its next round label; in a
// disc tray, at the page's centre; on plain paper, centred across at the top
// of the printable area (lower by its crop marks' room when it has them).
struct DiscSpot
{
    QPoint centre;  // sheet pixels
    DiscRing ring;
    bool cutLines = false;
    double bleedMm = 0;
    bool cropMarks = false;
};

std::optional<DiscSpot> discSpot(const PageRequest &request)
{
    const SheetGeometry &sheet = request.sheet;
    const auto centreOf = [&](const QPointF &mm) {
        return QPoint(sheetPixels(sheet, mm.x()).x(), sheetPixels(sheet, mm.y()).y());
    };
    if (request.product) {
        const QList<LabelSlot> &places = request.product->places(FaceKindId::Disc);
        if (places.isEmpty())
            return std::nullopt;
        const LabelSlot &slot = places[qMax(0, request.position(FaceKindId::Disc)) % places.size()];
        const double hole = slot.holeMm > 0 ? slot.holeMm : DiscRing::kStickerInnerMm;
        return DiscSpot{centreOf(slot.area.center()), DiscRing{slot.area.width(), hole}, false, slot.wasteMm, false};
    }
    if (request.discTray)
        return DiscSpot{QPoint(sheet.sheet.width() / 2, sheet.sheet.height() / 2), request.discRing, false, 0, false};
    const FaceKind &label = FaceKinds::row(FaceKindId::Disc);
    const DiscRing sticker{label.ringOuterMm, label.ringInnerMm};
    const bool crop = request.jacket.marks == FaceMarks::CropMarks;
    const double top = Units::pixelsToMm(sheet.printable.top(), sheet.pixelsPerInch.y())
        + (crop ? JacketGeometry::kCropMarkGapMm + JacketGeometry::kCropMarkLengthMm : 0);
    const int centreX = sheet.sheet.width() / 2;
    return DiscSpot{QPoint(centreX, centreOf(QPointF(0, top + sticker.outerMm / 2)).y()), sticker,
                    request.jacket.marks == FaceMarks::CutLines, crop ? JacketGeometry::kBleedMm : 0, crop};
}

// Corner marks round the label's square, as a face's.
QList<QLine> discCropMarks(const DiscLayout &disc) { return CornerCropMarks(disc.box, disc.scaleX, disc.scaleY); }

PlannedPage planDisc(const PageRequest &request, TCanvas &canvas, TJacketLayout &layout)
{
    PlannedPage page;
    const std::optional<DiscSpot> spot = discSpot(request);
    if (!spot) {
        page.status = PlannedPage::NoPlaceOnProduct;
        return page;
    }
    const Jacket &jacket = request.jacket;
    const DiscRequest label{jacket.title,
                            NumberedLines(jacket.items, jacket.numbering, jacket.numberSuffix),
                            jacket.titleSizeText,
                            jacket.itemSizeText,
                            LineHeightSample,
                            jacket.cover,
                            spot->ring,
                            spot->cutLines,
                            spot->bleedMm};
    DiscLayout disc;
    const DiscOutcome outcome = LayOutDisc(disc, label, PageInfo{request.sheet.pixelsPerInch, request.scalePercent, QPoint()}, canvas);
    page.titleSizeText = outcome.titleSizeText;
    page.itemSizeText = outcome.itemSizeText;
    // The window reads the working record for both kinds of page.
    layout.TooSmallToPrint = disc.tooSmallToPrint;
    layout.TitleFontSize = disc.titleFontSize;
    layout.ItemFontSize = disc.itemFontSize;
    if (disc.tooSmallToPrint) {
        page.status = PlannedPage::TooSmallToPrint;
        return page;
    }
    page.shrunk = outcome.titleShrunk || outcome.itemsShrunk;
    const QPoint corner = spot->centre - QPoint(disc.box.width() / 2, disc.box.height() / 2);
    PlacedFace placed;
    placed.kind = FaceKindId::Disc;
    placed.transform = QTransform::fromTranslate(corner.x(), corner.y()) * SheetPlacement::SheetTransform(request.sheet, request.correction);
    placed.disc = PlacedDisc{disc, label, spot->cropMarks ? discCropMarks(disc) : QList<QLine>()};
    page.faces << placed;
    return page;
}

// The obi strip goes on plain paper as a face alone: at the sheet's
// corner, its lines beginning at the printable area's, or in the middle of
// the sheet where crop marks need room all round. No product has a place
// for it.
PlannedPage planObi(const PageRequest &request, TCanvas &canvas, TJacketLayout &layout)
{
    PlannedPage page;
    page.titleSizeText = request.jacket.titleSizeText;
    page.itemSizeText = request.jacket.itemSizeText;
    if (request.product) {
        page.status = PlannedPage::NoPlaceOnProduct;
        return page;
    }
    const SheetGeometry &sheet = request.sheet;
    const Jacket &jacket = request.jacket;
    const ObiRequest strip{jacket.title,       NumberedLines(jacket.items, jacket.numbering, jacket.numberSuffix),
                           jacket.titleSizeText, jacket.itemSizeText, LineHeightSample, jacket.marks};
    ObiLayout obi;
    const ObiOutcome outcome = LayOutObi(obi, strip, PageInfo{sheet.pixelsPerInch, request.scalePercent, QPoint()}, canvas);
    page.titleSizeText = outcome.titleSizeText;
    page.itemSizeText = outcome.itemSizeText;
    layout.TooSmallToPrint = obi.tooSmallToPrint;
    layout.TitleFontSize = obi.front.fontSize;
    layout.ItemFontSize = obi.itemFontSize;
    layout.SpineFontSize = obi.spine.fontSize;
    if (obi.tooSmallToPrint) {
        page.status = PlannedPage::TooSmallToPrint;
        return page;
    }
    page.shrunk = outcome.titleShrunk;
    QPoint corner;
    if (jacket.marks == FaceMarks::CropMarks) {
        if (obi.box.width() > sheet.sheet.width() || obi.box.height() > sheet.sheet.height()) {
            page.status = PlannedPage::SheetTooSmall;
            return page;
        }
        corner = QPoint((sheet.sheet.width() - obi.box.width()) / 2, (sheet.sheet.height() - obi.box.height()) / 2);
    } else {
        obi.linesFrom = sheet.printable.topLeft();
        page.pastTheSheet = obi.box.width() > sheet.sheet.width() || obi.box.height() > sheet.sheet.height();
    }
    PlacedFace placed;
    placed.kind = FaceKindId::Obi;
    placed.layout.ScaleX = obi.scaleX;
    placed.layout.ScaleY = obi.scaleY;
    placed.transform = QTransform::fromTranslate(corner.x(), corner.y()) * SheetPlacement::SheetTransform(sheet, request.correction);
    placed.obi = PlacedObi{obi, strip};
    page.faces << placed;
    return page;
}

}  // namespace

PlannedPage PlanPage(const PageRequest &request, TCanvas &canvas, TJacketLayout &layout, TBigBitmap &spine)
{
    if (request.faces == PageFaces::Label)
        return planDisc(request, canvas, layout);
    if (request.faces == PageFaces::Obi)
        return planObi(request, canvas, layout);
    PlannedPage page;
    page.titleSizeText = request.jacket.titleSizeText;
    page.itemSizeText = request.jacket.itemSizeText;
    const std::optional<QList<PlannedSpot>> spots = spotsFor(request);
    if (!spots) {
        page.status = request.product ? PlannedPage::NoPlaceOnProduct : PlannedPage::SheetTooSmall;
        return page;
    }
    const SheetGeometry &sheet = request.sheet;
    for (const PlannedSpot &planned : *spots) {
        const FaceSpot &spot = planned.spot;
        LayoutRequest face = faceRequest(request.jacket, spot);
        face.label = planned.label;
        face.titleSizeText = page.titleSizeText;
        face.itemSizeText = page.itemSizeText;
        const PageInfo info{sheet.pixelsPerInch, request.scalePercent, layoutOffset(sheet, spot)};
        const LayoutOutcome outcome = LayOutJacket(layout, face, info, canvas, spine);
        page.titleSizeText = outcome.titleSizeText;
        page.itemSizeText = outcome.itemSizeText;
        if (layout.TooSmallToPrint) {
            page.status = PlannedPage::TooSmallToPrint;
            page.faces.clear();
            return page;
        }
        page.shrunk = page.shrunk || outcome.titleShrunk || outcome.itemsShrunk;
        // A face alone starts at the sheet's corner and must end on it.
        page.pastTheSheet = page.pastTheSheet
            || (!spot.shared
                && (layout.PanelLeft + layout.OuterWidth > sheet.sheet.width() || layout.OuterHeight > sheet.sheet.height()));
        page.faces << PlacedFace{spot.face, layout, faceContent(face, planned, request), faceTransform(sheet, request.correction, spot)};
    }
    return page;
}

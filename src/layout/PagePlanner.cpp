#include "PagePlanner.h"

#include <cmath>

namespace {

// The page offset a face's layout takes: a face sharing its sheet is laid
// out from its own corner, a face alone from the printable area's.
QPoint layoutOffset(const SheetGeometry &sheet, const FaceSpot &spot)
{
    return spot.shared ? QPoint() : sheet.printable.topLeft();
}

// The jacket's request for one face: a front covered by its picture carries no text.
LayoutRequest faceRequest(const LayoutRequest &jacket, const FaceSpot &spot, const CoverPicture &cover)
{
    LayoutRequest request = jacket;
    request.backFace = spot.backFace;
    if (!spot.backFace && !cover.isNull()) {
        request.title.clear();
        request.items.clear();
    }
    return request;
}

// Millimetres at the sheet's resolution, across and down.
QPoint sheetPixels(const SheetGeometry &sheet, double mm)
{
    return QPoint(int(std::lround(mm * sheet.pixelsPerInch.x() / JacketGeometry::kMillimetresPerInch)),
                  int(std::lround(mm * sheet.pixelsPerInch.y() / JacketGeometry::kMillimetresPerInch)));
}

// What is printed on the face once it is laid out with faceRequest.
JacketContent faceContent(const LayoutRequest &request, const FaceSpot &spot, const PageRequest &page)
{
    const SheetGeometry &sheet = page.sheet;
    const CoverPicture &cover = page.cover;
    // Cut at the crop marks, a picture reaches beyond them.
    const QPoint bleed = page.marks == FaceMarks::CropMarks ? sheetPixels(sheet, JacketGeometry::kBleedMm) : QPoint();
    return JacketContent{spot.backFace,
                         request.title,
                         NumberedLines(request.items, request.numbering, request.numberSuffix),
                         request.verticalSpine,
                         request.lineHeightSample,
                         spot.shared,
                         layoutOffset(sheet, spot),
                         cover,
                         page.marks,
                         bleed};
}

// From the face's layout coordinates to the page's painter coordinates.
QTransform faceTransform(const SheetGeometry &sheet, const PrintCorrection &correction, const FaceSpot &spot)
{
    const QPoint onSheet = layoutOffset(sheet, spot) + spot.corner;
    return QTransform::fromTranslate(onSheet.x(), onSheet.y()) * SheetPlacement::SheetTransform(sheet, correction);
}

std::optional<QList<FaceSpot>> spotsFor(const PageRequest &request)
{
    if (request.faces == PageFaces::BothOnOneSheet)
        return SheetPlacement::BothOnOneSheet(request.sheet, request.marks);
    const bool backFace = request.faces == PageFaces::Back;
    // Crop marks need room all round the face.
    if (request.marks == FaceMarks::CropMarks) {
        if (const std::optional<FaceSpot> centred = SheetPlacement::CentredAlone(request.sheet, backFace))
            return QList<FaceSpot>{*centred};
    }
    // One face alone lies at the sheet's corner.
    return QList<FaceSpot>{FaceSpot{backFace, false, QPoint()}};
}

}  // namespace

PlannedPage PlanPage(const PageRequest &request, TCanvas &canvas, TJacketLayout &layout, TBigBitmap &spine)
{
    PlannedPage page;
    page.titleSizeText = request.jacket.titleSizeText;
    page.itemSizeText = request.jacket.itemSizeText;
    const std::optional<QList<FaceSpot>> spots = spotsFor(request);
    if (!spots) {
        page.status = PlannedPage::SheetTooSmall;
        return page;
    }
    const SheetGeometry &sheet = request.sheet;
    for (const FaceSpot &spot : *spots) {
        LayoutRequest face = faceRequest(request.jacket, spot, request.cover);
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
        page.faces << PlacedFace{layout, faceContent(face, spot, request), faceTransform(sheet, request.correction, spot)};
    }
    return page;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/DiscLabel.h"
#include "core/layout/JacketLayout.h"
#include "core/layout/ObiStrip.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTransform>

#include <optional>

// Where the faces of the jacket go on the sheet, and the correction a user
// measured for a printer that does not put the page quite where it should.
// Every page (print job, PDF export, preview, calibration page) is drawn
// through the one transform made here.

// A printer's print-position correction: the page is scaled about the
// sheet's top-left corner, then moved.
struct PrintCorrection
{
    static constexpr double kMostOffsetMm = 20.0;
    static constexpr double kLeastScalePercent = 95.0;
    static constexpr double kMostScalePercent = 105.0;

    double offsetXMm = 0;  // positive: to the right
    double offsetYMm = 0;  // positive: down
    double scalePercent = 100;

    bool operator==(const PrintCorrection &) const = default;

    // Within the ranges the user can enter, in steps of 0.1: otherwise nothing.
    static std::optional<double> offsetFrom(double millimetres);
    static std::optional<double> scaleFrom(double percent);
};

// The sheet as the printer sees it, in device pixels.
struct SheetGeometry
{
    QPoint pixelsPerInch{600, 600};
    QSize sheet;      // the whole sheet
    QRect printable;  // the printable area, from the sheet's top-left corner
};

// One face on the page.
struct FaceSpot
{
    FaceKindId face = FaceKindId::Front;
    // Both faces on one sheet: the face is laid out from its own corner
    // (page offset 0) and gets its cut line all round, since it no longer
    // lies against the sheet's edges.
    bool shared = false;
    // Where the layout's origin goes on the sheet, in sheet pixels. A face
    // alone is laid out from the printable area's corner, as always.
    QPoint corner;
};

// A disc label ready to go onto its page, with the marks that show where
// to cut it out of plain paper when its circles are not drawn.
struct PlacedDisc
{
    DiscLayout layout;
    DiscRequest request;
    QList<QLine> cropMarks;
};

// The obi strip ready to go onto its page.
struct PlacedObi
{
    ObiLayout layout;
    ObiRequest request;
};

// A piece ready to go onto its page, drawn by its kind's row: a face of
// the jacket (its layout and content), its disc label (`disc`) or its obi
// strip (`obi`).
struct PlacedFace
{
    FaceKindId kind = FaceKindId::Front;
    TJacketLayout layout;
    JacketContent content;
    QTransform transform;  // from the layout's coordinates to the painter's
    std::optional<PlacedDisc> disc;
    std::optional<PlacedObi> obi;
};

class TBigBitmap;

namespace SheetPlacement {

// The face's outer size at the sheet's resolution, as the layout makes it.
QSize FaceSize(const SheetGeometry &sheet, FaceKindId face);

// The faces one above the other, each centred across the sheet and all
// centred down it (the jacket's front above its back); on a sheet wider than
// high and too low for that, side by side, left to right. Crop marks take
// more room between the faces. Nothing when the sheet holds neither
// arrangement.
std::optional<QList<FaceSpot>> OnOneSheet(const SheetGeometry &sheet, const QList<FaceKindId> &faces,
                                          FaceMarks marks = FaceMarks::CutLines);

// A face alone in the middle of the sheet, where its crop marks have room;
// nothing when the sheet is smaller than the face.
std::optional<FaceSpot> CentredAlone(const SheetGeometry &sheet, FaceKindId face);

// A face whose box is centred on `centre` (sheet pixels), laid out from its own corner.
FaceSpot CentredOn(const SheetGeometry &sheet, FaceKindId face, const QPoint &centre);

// From sheet pixels to painter coordinates (the printable area's corner at
// 0, 0), with the correction applied.
QTransform SheetTransform(const SheetGeometry &sheet, const PrintCorrection &correction);

// Whether any of `areas` (layout coordinates), once placed by `transform`,
// leaves the printable area.
bool ReachesBeyond(const QList<QRect> &areas, const QTransform &transform, const SheetGeometry &sheet);

// Whether any text or spine picture of the faces leaves the printable area;
// measures on `canvas` (the page's own surface).
bool ReachesBeyond(TCanvas &canvas, const QList<PlacedFace> &faces, const SheetGeometry &sheet);

// What the user is told when ReachesBeyond: what is lost, and the remedies.
QString BeyondReachNotice();

// Draws the faces, each through its transform. The back face's spine is
// `spinePicture` (a page holds one back face at most).
void DrawFaces(TCanvas &canvas, const QList<PlacedFace> &faces, const TBigBitmap &spinePicture);

}  // namespace SheetPlacement

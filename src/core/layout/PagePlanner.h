// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/SheetPlacement.h"
#include "core/labels/LabelProducts.h"

#include <QList>
#include <QString>

class TBigBitmap;
class TCanvas;

// The one place that decides what goes where on a page of the jacket, for
// every output: the print job and the preview of the window (and so
// --print), and the PDF export. A new kind of face or of paper is planned
// here; the outputs only draw what they get.

// The faces a page holds.
enum class PageFaces { Front, Back, BothOnOneSheet, Label, Obi };

struct PageRequest
{
    Jacket jacket;
    PageFaces faces = PageFaces::Front;
    SheetGeometry sheet;
    PrintCorrection correction;
    int scalePercent = 100;
    // Pre-cut paper: where its faces go; nothing for plain paper.
    std::optional<ProductFit> product;
    // The position each face takes on it, from 0 (counted round its
    // positions for that face), so that a sheet used in part can be used up.
    int frontPosition = 0;
    int backPosition = 0;
    int discPosition = 0;
    int position(FaceKindId kind) const
    {
        return kind == FaceKindId::Front ? frontPosition : kind == FaceKindId::Back ? backPosition : discPosition;
    }
    // The disc label's ring on plain paper (the stickers') or on a printable
    // disc; a product's comes from the product.
    DiscRing discRing;
    // The sheet is a disc tray's page: the disc lies at its centre.
    bool discTray = false;
};

struct PlannedPage
{
    enum Status { Planned, SheetTooSmall, TooSmallToPrint, NoPlaceOnProduct };
    Status status = Planned;
    QList<PlacedFace> faces;  // Planned: in drawing order
    bool shrunk = false;      // some face's fonts were made smaller to fit
    // A face alone that ends past the sheet's right or bottom edge.
    bool pastTheSheet = false;
    // The font-size texts as the layout leaves them (a text that is no
    // number becomes the default), for the size boxes.
    QString titleSizeText;
    QString itemSizeText;
};

// Lays out every face of the page, measuring on `canvas` (the page's own
// surface). `layout` is the working record of the layout, the last face's
// afterwards; the back face's spine picture goes into `spine`. A face
// begins with the size texts the face before it left.
PlannedPage PlanPage(const PageRequest &request, TCanvas &canvas, TJacketLayout &layout, TBigBitmap &spine);

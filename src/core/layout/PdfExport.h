// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/PagePlanner.h"

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

// The sheet a jacket is exported on: what the printer would print on.
struct ExportSheet
{
    // Paper size and orientation, with the printable area as margins.
    QPageLayout pageLayout;
    int scalePercent = 100;
    // The queue the sheet came from; empty for the stand-in A4 sheet.
    QString printerName;
    // The queue's print-position correction.
    PrintCorrection correction;
};

// A whole A4 sheet, for when there is no printer or the spooler does not answer.
ExportSheet FallbackSheet();
// A pre-cut product's own sheet, without margins, with the printer's scale
// and correction.
ExportSheet ProductSheet(const LabelProduct &product, const ExportSheet &printerSheet);

// What goes into the PDF: the jacket as the print command hands it to the
// layout, and the faces of each page, one PDF page each.
struct JacketExport
{
    Jacket jacket;
    QList<PageFaces> pages;
    std::optional<ProductFit> product;  // pre-cut paper, each face at its first position
    // A disc label on a disc tray's page (the sheet), within this ring.
    bool discTray = false;
    DiscRing discRing;
};

struct ExportOutcome
{
    enum Status { Written, TooSmallToPrint, SheetTooSmall, CannotWrite };
    Status status = Written;
    QString error;  // CannotWrite: why
    // Written, but some text or spine picture lies where the printer cannot print.
    bool beyondReach = false;
    QByteArray pdf;  // Written: the whole file
};

// Lays every face out and draws it on a 600-dpi PDF page of the sheet,
// with the layout engine and the drawing of the print job, so that the page
// is the one the printer would get. The PDF comes back whole, or not at all.
ExportOutcome ExportJacketPdf(const JacketExport &jacket, const ExportSheet &sheet);
